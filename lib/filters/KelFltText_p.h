#pragma once
// Shared by the builder's text writer and its reader.

#include <QString>
#include <vector>

#include "KelDateTimeFormat.h"
#include "KelFields.h"

namespace Kel {

// Where a value that a template puts after LIKE goes: the dataset's filter, whose masks escape
// with "^", or SQL, written with the escape character "!" and an ESCAPE clause.
enum class TLikeTarget { Filter, Sql };

// A template's Filter with ":Field" replaced by fieldRef, each ":" + parameter name (the
// longest that fits) by the parameter's value text, and each date macro by its date written
// with dateFormat, in single quotes; one pass, so inserted text is never searched again.
// quoteMoney: numbers in single quotes too, for a money field (TSqlTextRules::QuoteMoneyValues).
// A value right after LIKE is text, not a mask: its wildcards are escaped for likeTarget, so
// that only the template's ValuePrefix and ValueSuffix match anything (unless the template
// writes an ESCAPE clause of its own after the value).
// bound: where a value would be written, a "?" is written instead and the value that its text
// stands for is appended to bound.
QString FillTemplate(const QString& filter, const QString& fieldRef, const TKelFields* params,
                     TKelCustomDateTimeFormat* dateFormat, bool quoteMoney = false,
                     TLikeTarget likeTarget = TLikeTarget::Filter,
                     std::vector<Variant>* bound = nullptr);

// Whether the template filter puts the parameter paramName right after LIKE (see FillTemplate).
bool IsLikeValue(const QString& filter, const QString& paramName);

// A connector as filter text writes it ("and", "or"), from that form or from the display form in
// the language of the moment; another text stays as it is.
QString ConnectorOutput(const QString& text);
// A connector as the user reads it in the language of the moment.
QString ConnectorDisplay(const QString& text);

}  // namespace Kel
