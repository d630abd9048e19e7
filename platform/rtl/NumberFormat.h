#pragma once
// Numbers to text and back with the current decimal separator (FormatSettings).

#include <QString>
#include <cstdint>

#include "Currency.h"
#include "PlatformExport.h"

namespace Kel {

KEL_PLATFORM_EXPORT QString IntToStr(int64_t value);
KEL_PLATFORM_EXPORT QString IntToHex(int64_t value, int digits);
KEL_PLATFORM_EXPORT bool TryStrToInt(const QString& text,
                                     int& result);  // decimal or "$"-prefixed hexadecimal
KEL_PLATFORM_EXPORT bool TryStrToInt64(const QString& text, int64_t& result);
KEL_PLATFORM_EXPORT int StrToInt(const QString& text);  // raises EConvertError
KEL_PLATFORM_EXPORT int64_t StrToInt64(const QString& text);
KEL_PLATFORM_EXPORT int StrToIntDef(const QString& text, int defaultValue);

// General format with 15 significant digits: "1.5", "100", "1E15", "1.5E-5".
KEL_PLATFORM_EXPORT QString FloatToStr(double value);
KEL_PLATFORM_EXPORT QString FloatToStr(double value, QChar decimalSeparator);
// Blanks around the number are allowed; the decimal separator is the current one.
KEL_PLATFORM_EXPORT bool TryStrToFloat(const QString& text, double& result);
KEL_PLATFORM_EXPORT bool TryStrToFloat(const QString& text, double& result, QChar decimalSeparator);
KEL_PLATFORM_EXPORT double StrToFloat(const QString& text);  // raises EConvertError

KEL_PLATFORM_EXPORT QString CurrToStr(Currency value);
KEL_PLATFORM_EXPORT bool TryStrToCurr(const QString& text, Currency& result);
KEL_PLATFORM_EXPORT Currency StrToCurr(const QString& text);

// Classic rounding: halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
KEL_PLATFORM_EXPORT int64_t Round(double value);
KEL_PLATFORM_EXPORT int64_t Trunc(double value);

}  // namespace Kel
