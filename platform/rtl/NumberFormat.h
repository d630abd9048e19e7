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

QString CurrToStr(Currency value);
bool TryStrToCurr(const QString& text, Currency& result);
Currency StrToCurr(const QString& text);

// Classic rounding: halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(double value);
int64_t Trunc(double value);

}  // namespace Kel
