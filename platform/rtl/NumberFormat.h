#pragma once
// Numbers to text and back with the current decimal separator (FormatSettings).

#include "Currency.h"

#include <QString>

#include <cstdint>

namespace Kel {

QString IntToStr(int64_t value);
QString IntToHex(int64_t value, int digits);
bool TryStrToInt(const QString& text, int& result);      // decimal or "$"-prefixed hexadecimal
bool TryStrToInt64(const QString& text, int64_t& result);
int StrToInt(const QString& text);                        // raises EConvertError
int64_t StrToInt64(const QString& text);
int StrToIntDef(const QString& text, int defaultValue);

// General format with 15 significant digits: "1.5", "100", "1E15", "1.5E-5".
QString FloatToStr(double value);
QString FloatToStr(double value, QChar decimalSeparator);
// Blanks around the number are allowed; the decimal separator is the current one.
bool TryStrToFloat(const QString& text, double& result);
bool TryStrToFloat(const QString& text, double& result, QChar decimalSeparator);
double StrToFloat(const QString& text);  // raises EConvertError

// The extended type is long double: the 80-bit extended float on x86-64 with GCC and Clang (64
// significant bits, about 19 digits, up to 1.19E4932); a compiler whose long double is a
// double gives double precision and range. General format with `precision` (1..18)
// significant digits, and reading back as TryStrToFloat does (false beyond the range).
QString ExtendedToStr(long double value, int precision, QChar decimalSeparator);
bool TryStrToExtended(const QString& text, long double& result, QChar decimalSeparator);

QString CurrToStr(Currency value);
bool TryStrToCurr(const QString& text, Currency& result);
Currency StrToCurr(const QString& text);

// Classic rounding: halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(double value);
int64_t Trunc(double value);

}  // namespace Kel
