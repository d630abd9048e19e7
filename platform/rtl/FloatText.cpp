#include <charconv>
#include <cmath>
#include <cstdlib>

#include "FloatText_p.h"

namespace Kel::FloatText {

namespace {

constexpr int ExpansionDigits = 18;

// The value's decimal expansion to 18 significant digits (correctly rounded, independent of
// the C locale): digits without the point, and the exponent of the first digit plus one.
template <typename Float>
Decimal Expand(Float value) {
  Decimal d;
  d.Negative = std::signbit(value);
  if (value == 0) return d;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, ExpansionDigits - 1);
  const char* end = result.ptr;
  const char* e = buffer;
  while (e < end && *e != 'e') ++e;
  for (const char* p = buffer; p < e; ++p) {
    if (*p != '.') d.Digits += QChar::fromLatin1(*p);
  }
  d.Exponent = std::atoi(std::string(e + 1, end).c_str()) + 1;
  return d;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
void RoundDigits(Decimal& d, int keep) {
  if (keep >= d.Digits.size()) return;
  if (keep < 0) {
    d.Digits.clear();
    return;
  }
  const bool up = d.Digits[keep] >= u'5';
  d.Digits.truncate(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.Digits[i] == u'9') {
      d.Digits[i] = u'0';
      --i;
    }
    if (i >= 0) {
      d.Digits[i] = QChar(d.Digits[i].unicode() + 1);
    } else {
      d.Digits.prepend(u'1');  // 999.. became 1000..
      ++d.Exponent;
    }
  }
}

void StripTrailingZeros(Decimal& d) {
  qsizetype n = d.Digits.size();
  while (n > 0 && d.Digits[n - 1] == u'0') --n;
  d.Digits.truncate(n);
}

QString ExponentText(int exponent, int minDigits, bool plusSign) {
  QString text = exponent < 0 ? QStringLiteral("-") : (plusSign ? QStringLiteral("+") : QString());
  return text + QStringLiteral("%1").arg(std::abs(exponent), minDigits, 10, QChar(u'0'));
}

// Integer digits of a decimal (value = 0.Digits x 10^Exponent), "0" when there are none.
QString IntegerPart(const Decimal& d) {
  if (d.Exponent <= 0 || d.Digits.isEmpty()) return QStringLiteral("0");
  QString part = d.Digits.left(d.Exponent);
  if (part.size() < d.Exponent) part += QString(d.Exponent - part.size(), u'0');
  return part;
}

QString GroupThousands(const QString& integer, QChar separator) {
  if (separator.isNull()) return integer;
  QString out;
  const qsizetype n = integer.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += integer[i];
  }
  return out;
}

template <typename Float>
Decimal ToSignificantOf(Float value, int significant) {
  Decimal d = Expand(value);
  RoundDigits(d, significant);
  StripTrailingZeros(d);
  return d;
}

template <typename Float>
QString GeneralOf(Float value, int precision, int exponentDigits, QChar decimalSeparator) {
  if (!std::isfinite(value)) return SpecialText(static_cast<double>(value));
  precision = qBound(1, precision, ExpansionDigits);
  const Decimal d = ToSignificantOf(value, precision);
  if (d.Digits.isEmpty()) return QStringLiteral("0");
  QString text = d.Negative ? QStringLiteral("-") : QString();
  if (d.Exponent > precision || d.Exponent < -3) {
    text += d.Digits[0];
    if (d.Digits.size() > 1) text += decimalSeparator + d.Digits.mid(1);
    return text + u'E' + ExponentText(d.Exponent - 1, exponentDigits, false);
  }
  if (d.Exponent <= 0)
    return text + u'0' + decimalSeparator + QString(-d.Exponent, u'0') + d.Digits;
  text += IntegerPart(d);
  if (d.Digits.size() > d.Exponent) text += decimalSeparator + d.Digits.mid(d.Exponent);
  return text;
}

}  // namespace

Decimal ToSignificant(double value, int significant) {
  return ToSignificantOf(value, significant);
}

Decimal ToDecimals(double value, int decimals) {
  Decimal d = Expand(value);
  const int keep = d.Exponent + decimals;
  if (keep == 0 && !d.Digits.isEmpty() && d.Digits[0] >= u'5') {
    d.Digits = QStringLiteral("1");  // rounds up into the last kept place
    ++d.Exponent;
  } else if (keep <= 0) {
    d.Digits.clear();
  } else {
    RoundDigits(d, keep);
  }
  StripTrailingZeros(d);
  return d;
}

QString SpecialText(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  return QString();
}

QString General(double value, int precision, int exponentDigits, QChar decimalSeparator) {
  return GeneralOf(value, precision, exponentDigits, decimalSeparator);
}

QString General(long double value, int precision, int exponentDigits, QChar decimalSeparator) {
  return GeneralOf(value, precision, exponentDigits, decimalSeparator);
}

QString Exponent(double value, int precision, int exponentDigits, QChar decimalSeparator) {
  if (!std::isfinite(value)) return SpecialText(value);
  precision = qBound(1, precision, ExpansionDigits);
  Decimal d = ToSignificant(value, precision);
  QString digits = d.Digits;
  if (digits.isEmpty()) d.Exponent = 1;  // zero: 0.000E+000
  digits += QString(precision - digits.size(), u'0');
  QString text = d.Negative && !d.Digits.isEmpty() ? QStringLiteral("-") : QString();
  text += digits[0];
  if (precision > 1) text += decimalSeparator + digits.mid(1);
  return text + u'E' + ExponentText(d.Exponent - 1, exponentDigits, true);
}

QString Fixed(double value, int decimals, QChar decimalSeparator, QChar thousandSeparator) {
  if (!std::isfinite(value)) return SpecialText(value);
  decimals = qBound(0, decimals, ExpansionDigits);
  const Decimal d = ToDecimals(value, decimals);
  QString text = d.Negative && !d.Digits.isEmpty() ? QStringLiteral("-") : QString();
  text += GroupThousands(IntegerPart(d), thousandSeparator);
  if (decimals == 0) return text;
  QString fraction;
  if (d.Exponent < 0) fraction = QString(-d.Exponent, u'0');
  fraction += d.Digits.mid(qMax(d.Exponent, 0));
  fraction = fraction.left(decimals);
  fraction += QString(decimals - fraction.size(), u'0');
  return text + decimalSeparator + fraction;
}

}  // namespace Kel::FloatText
