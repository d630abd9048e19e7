#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "AsciiChars_p.h"
#include "Exceptions.h"
#include "FloatText_p.h"
#include "FormatSettings.h"

namespace Kel {

namespace {

// Integer text: leading blanks, a sign, then decimal digits or "$"/"0x" and hexadecimal digits,
// nothing after. Decimal values must fit in [minimum, maximum]; hexadecimal ones may use the
// full unsigned width (so "$FFFFFFFF" is -1 for 32 bits), as they spell bit patterns.
bool ParseInteger(const QString& text, int64_t minimum, int64_t maximum, uint64_t hexMaximum,
                  int64_t& result) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool hex = false;
  if (i < n && text[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t magnitude = 0;
  const uint64_t base = hex ? 16 : 10;
  const uint64_t limit =
      hex ? hexMaximum : (negative ? uint64_t(-(minimum + 1)) + 1 : uint64_t(maximum));
  for (; i < n; ++i) {
    const int digit =
        hex ? AsciiHexValue(text[i]) : (IsAsciiDigit(text[i]) ? text[i].unicode() - u'0' : -1);
    if (digit < 0) return false;
    if (magnitude > (limit - digit) / base) return false;
    magnitude = magnitude * base + digit;
  }
  if (hex) {
    // The digits are a bit pattern of the target width; the sign applies to that pattern.
    const uint64_t bits = negative ? 0 - magnitude : magnitude;
    result = hexMaximum == std::numeric_limits<uint32_t>::max()
                 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(bits)))
                 : static_cast<int64_t>(bits);
    return true;
  }
  result = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

// The syntax of a floating-point text: blanks, sign, digits with at most one decimal separator
// (at least one digit), an optional exponent, blanks. Writes the number in C syntax to `c`.
bool NormaliseFloatText(const QString& text, QChar decimalSeparator, std::string& c,
                        bool& negativeExponent) {
  qsizetype i = 0;
  qsizetype n = text.size();
  while (i < n && IsBlankOrControl(text[i])) ++i;
  while (n > i && IsBlankOrControl(text[n - 1])) --n;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') c += '-';
    ++i;
  }
  int digits = 0;
  bool point = false;
  for (; i < n; ++i) {
    const QChar ch = text[i];
    if (IsAsciiDigit(ch)) {
      c += static_cast<char>(ch.unicode());
      ++digits;
    } else if (ch == decimalSeparator && !point) {
      c += '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  negativeExponent = false;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    c += 'e';
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
      negativeExponent = text[i] == u'-';
      c += static_cast<char>(text[i].unicode());
      ++i;
    }
    int exponentDigits = 0;
    for (; i < n && IsAsciiDigit(text[i]); ++i, ++exponentDigits)
      c += static_cast<char>(text[i].unicode());
    if (exponentDigits == 0) return false;
  }
  return i == n;
}

// A decimal number text read exactly into ten-thousandths, halves to even.
struct DecimalText {
  bool negative = false;
  QString digits;    // significant digits, no leading zeros
  int exponent = 0;  // value = digits x 10^exponent
};

bool ReadDecimalText(const std::string& c, DecimalText& d) {
  size_t i = 0;
  if (i < c.size() && c[i] == '-') {
    d.negative = true;
    ++i;
  }
  int fractionDigits = 0;
  bool point = false;
  for (; i < c.size() && c[i] != 'e'; ++i) {
    if (c[i] == '.') {
      point = true;
      continue;
    }
    if (point) ++fractionDigits;
    if (d.digits.isEmpty() && c[i] == '0') continue;
    d.digits += QChar::fromLatin1(c[i]);
  }
  long exponent = 0;
  if (i < c.size()) {
    const char* first = c.data() + i + 1;
    if (*first == '+') ++first;
    const auto r = std::from_chars(first, c.data() + c.size(), exponent);
    if (r.ec != std::errc()) exponent = (c[i + 1] == '-') ? -100000 : 100000;
  }
  exponent = qBound(-100000L, exponent, 100000L);
  d.exponent = static_cast<int>(exponent) - fractionDigits;
  return true;
}

bool HasNonZeroDigit(const QString& digits) {
  for (QChar ch : digits) {
    if (ch != u'0') return true;
  }
  return false;
}

bool DecimalToScaled(const DecimalText& d, int64_t& scaled) {
  if (d.digits.isEmpty()) {
    scaled = 0;
    return true;
  }
  const int shift = d.exponent + 4;  // scaled = digits x 10^shift
  QString kept = d.digits;
  bool roundUp = false;
  if (shift < 0) {
    const qsizetype keep = qMax<qsizetype>(kept.size() + shift, 0);
    const QString dropped = kept.size() + shift < 0 ? QString() : kept.mid(keep);
    kept.truncate(keep);
    if (!dropped.isEmpty()) {
      const bool lastOdd = !kept.isEmpty() && (kept.back().unicode() - u'0') % 2 == 1;
      const bool aboveHalf =
          dropped[0] > u'5' || (dropped[0] == u'5' && HasNonZeroDigit(dropped.mid(1)));
      const bool exactHalf = dropped[0] == u'5' && !aboveHalf;
      roundUp = aboveHalf || (exactHalf && lastOdd);
    }
  } else {
    kept += QString(qMin(shift, 21), u'0');
  }
  // Digits carry no leading zeros, so more than 20 of them are beyond 64 bits; checked before
  // the 128-bit accumulation below could wrap around.
  if (kept.size() > 20) return false;
  unsigned __int128 magnitude = 0;
  for (QChar ch : kept) magnitude = magnitude * 10 + (ch.unicode() - u'0');
  if (roundUp) ++magnitude;
  const unsigned __int128 limit =
      static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max()) + (d.negative ? 1 : 0);
  if (magnitude > limit) return false;
  const uint64_t bits = static_cast<uint64_t>(magnitude);
  scaled = static_cast<int64_t>(d.negative ? 0 - bits : bits);
  return true;
}

}  // namespace

QString IntToStr(int64_t value) { return QString::number(value); }

QString IntToHex(int64_t value, int digits) {
  return QStringLiteral("%1")
      .arg(static_cast<uint64_t>(value), qBound(0, digits, 64), 16, QChar(u'0'))
      .toUpper();
}

bool TryStrToInt(const QString& text, int& result) {
  int64_t value = 0;
  if (!ParseInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                    std::numeric_limits<uint32_t>::max(), value))
    return false;
  result = static_cast<int>(value);
  return true;
}

bool TryStrToInt64(const QString& text, int64_t& result) {
  return ParseInteger(text, std::numeric_limits<int64_t>::min(),
                      std::numeric_limits<int64_t>::max(), std::numeric_limits<uint64_t>::max(),
                      result);
}

int StrToInt(const QString& text) {
  int result = 0;
  if (!TryStrToInt(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidInteger, text));
  return result;
}

int64_t StrToInt64(const QString& text) {
  int64_t result = 0;
  if (!TryStrToInt64(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidInteger, text));
  return result;
}

int StrToIntDef(const QString& text, int defaultValue) {
  int result = 0;
  return TryStrToInt(text, result) ? result : defaultValue;
}

QString FloatToStr(double value, QChar decimalSeparator) {
  return FloatText::General(value, 15, 0, decimalSeparator);
}

QString FloatToStr(double value) { return FloatToStr(value, FormatSettings().DecimalSeparator); }

namespace {

template <typename Float>
bool ReadFloat(const QString& text, Float& result, QChar decimalSeparator) {
  std::string c;
  bool negativeExponent = false;
  if (!NormaliseFloatText(text, decimalSeparator, c, negativeExponent)) return false;
  Float value = 0;
  const auto r = std::from_chars(c.data(), c.data() + c.size(), value);
  if (r.ec == std::errc::result_out_of_range) {
    if (!negativeExponent) return false;  // too large
    value = 0;                            // too small to tell from zero
  } else if (r.ec != std::errc() || r.ptr != c.data() + c.size()) {
    return false;
  }
  result = value;
  return true;
}

}  // namespace

bool TryStrToFloat(const QString& text, double& result, QChar decimalSeparator) {
  return ReadFloat(text, result, decimalSeparator);
}

QString ExtendedToStr(long double value, int precision, QChar decimalSeparator) {
  return FloatText::General(value, precision, 0, decimalSeparator);
}

bool TryStrToExtended(const QString& text, long double& result, QChar decimalSeparator) {
  return ReadFloat(text, result, decimalSeparator);
}

bool TryStrToFloat(const QString& text, double& result) {
  return TryStrToFloat(text, result, FormatSettings().DecimalSeparator);
}

double StrToFloat(const QString& text) {
  double result = 0;
  if (!TryStrToFloat(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidFloat, text));
  return result;
}

QString CurrToStr(Currency value) {
  const bool negative = value.Scaled < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(value.Scaled) : static_cast<uint64_t>(value.Scaled);
  QString text = negative ? QStringLiteral("-") : QString();
  text += QString::number(magnitude / Currency::Scale);
  QString fraction = QStringLiteral("%1").arg(magnitude % Currency::Scale, 4, 10, QChar(u'0'));
  while (!fraction.isEmpty() && fraction.back() == u'0') fraction.chop(1);
  if (!fraction.isEmpty()) text += FormatSettings().DecimalSeparator + fraction;
  return text;
}

bool TryStrToCurr(const QString& text, Currency& result) {
  std::string c;
  bool negativeExponent = false;
  if (!NormaliseFloatText(text, FormatSettings().DecimalSeparator, c, negativeExponent))
    return false;
  DecimalText d;
  int64_t scaled = 0;
  if (!ReadDecimalText(c, d) || !DecimalToScaled(d, scaled)) return false;
  result = Currency::FromScaled(scaled);
  return true;
}

Currency StrToCurr(const QString& text) {
  Currency result;
  if (!TryStrToCurr(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidCurrency, text));
  return result;
}

int64_t Round(double value) {
  // The default floating-point rounding mode rounds halves to even.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
    throw EInvalidOp(RtlMessage(RtlText::InvalidOp));
  return static_cast<int64_t>(rounded);
}

int64_t Trunc(double value) {
  const double truncated = std::trunc(value);
  if (!(truncated >= -9223372036854775808.0 && truncated < 9223372036854775808.0))
    throw EInvalidOp(RtlMessage(RtlText::InvalidOp));
  return static_cast<int64_t>(truncated);
}

}  // namespace Kel
