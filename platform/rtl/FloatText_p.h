#pragma once
// Decimal text of floating-point numbers, shared by FloatToStr and Format. The digits are taken
// from the value's 18-digit decimal expansion and rounded half away from zero, so that 0.125
// with two decimals is "0.13" and 0.1 + 0.2 with fifteen digits is "0.3".

#include <QChar>
#include <QString>

namespace Kel::FloatText {

// A finite value as 0.d1d2d3... x 10^Exponent; Digits holds no trailing zeros and is empty for
// zero.
struct Decimal {
  bool Negative = false;
  QString Digits;
  int Exponent = 0;
};

// Rounded to at most `significant` digits (1..18).
Decimal ToSignificant(double value, int significant);
// Rounded to `decimals` digits after the decimal point.
Decimal ToDecimals(double value, int decimals);

// "NAN", "INF", "-INF" for values that are not finite; empty for finite ones.
QString SpecialText(double value);

// General format: fixed notation while the number of integer digits is at most `precision` and
// the value is at least 0.0001, else scientific ("1.5E-5", the exponent with at least
// `exponentDigits` digits and a sign only when negative).
QString General(double value, int precision, int exponentDigits, QChar decimalSeparator);
// The same for the extended type, its 18 digits taken from the long double itself.
QString General(long double value, int precision, int exponentDigits, QChar decimalSeparator);
// Scientific with `precision` significant digits: "1.50000000000000E+000".
QString Exponent(double value, int precision, int exponentDigits, QChar decimalSeparator);
// Fixed notation with `decimals` decimals; thousands grouped when the separator is not null.
QString Fixed(double value, int decimals, QChar decimalSeparator, QChar thousandSeparator);

}  // namespace Kel::FloatText
