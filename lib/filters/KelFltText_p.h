#pragma once
// Shared by the builder's text writer and its reader.

#include <QString>
#include <vector>

#include "KelDateTimeFormat.h"
#include "KelFields.h"

namespace Kel {

// A template's Filter with ":Field" replaced by fieldRef, each ":" + parameter name (the
// longest that fits) by the parameter's value text, and each date macro by its date written
// with dateFormat, in single quotes; one pass, so inserted text is never searched again.
// quoteMoney: numbers in single quotes too, for a money field (TSqlTextRules::QuoteMoneyValues).
// bound: where a value would be written, a "?" is written instead and the value that its text
// stands for is appended to bound.
QString FillTemplate(const QString& filter, const QString& fieldRef, const TKelFields* params,
                     TKelCustomDateTimeFormat* dateFormat, bool quoteMoney = false,
                     std::vector<Variant>* bound = nullptr);

}  // namespace Kel
