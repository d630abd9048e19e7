#pragma once
// Shared by the builder's text writer and its reader.

#include <QString>

#include "KelDateTimeFormat.h"
#include "KelFields.h"

namespace Kel {

// A template's Filter with ":Field" replaced by fieldRef, each ":" + parameter name (the
// longest that fits) by the parameter's value text, and each date macro by its date written
// with dateFormat, in single quotes; one pass, so inserted text is never searched again.
// quoteMoney: numbers in single quotes too, for a money field (TSqlTextRules::QuoteMoneyValues).
QString FillTemplate(const QString& filter, const QString& fieldRef, const TKelFields* params,
                     TKelCustomDateTimeFormat* dateFormat, bool quoteMoney = false);

// A connector as filter text writes it ("and", "or"), from that form or from the display form in
// the language of the moment; another text stays as it is.
QString ConnectorOutput(const QString& text);
// A connector as the user reads it in the language of the moment.
QString ConnectorDisplay(const QString& text);

}  // namespace Kel
