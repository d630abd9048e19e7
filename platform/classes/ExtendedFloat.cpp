#include "ExtendedFloat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace Kel {

namespace {

constexpr int kExtendedBias = 16383;
constexpr uint16_t kExtendedMaxExponent = 0x7FFF;
constexpr uint64_t kIntegerBit = uint64_t(1) << 63;
constexpr int kDoubleBias = 1023;

// Whether long double can hold every extended exactly (x87 80-bit or IEEE quad).
constexpr bool kLongDoubleHoldsExtended = std::numeric_limits<long double>::digits >= 64 &&
                                          std::numeric_limits<long double>::max_exponent >= 16384;

// Shifts the 128-bit value hi:lo right by `shift` bits and rounds to nearest, ties to even.
// Returns false when the result does not fit 64 bits.
bool ShiftRightRounded(uint64_t hi, uint64_t lo, int shift, uint64_t& result) {
  if (shift <= 0) {
    if (hi != 0) return false;
    result = lo;
    return true;
  }
  if (shift >= 128) {
    // Below 2^128 / 2^128 = 1 and not above one half unless the top bit is set, which can only
    // tie at exactly 2^127 (rounds to the even 0).
    const bool above = shift == 128 && (hi >> 63) != 0 && ((hi << 1) != 0 || lo != 0);
    result = above ? 1 : 0;
    return true;
  }
  uint64_t qHi = 0, qLo = 0;      // quotient
  uint64_t remHi = 0, remLo = 0;  // the bits shifted out
  uint64_t halfHi = 0, halfLo = 0;
  if (shift < 64) {
    qHi = hi >> shift;
    qLo = (lo >> shift) | (hi << (64 - shift));
    remLo = lo & ((uint64_t(1) << shift) - 1);
    halfLo = uint64_t(1) << (shift - 1);
  } else if (shift == 64) {
    qLo = hi;
    remLo = lo;
    halfLo = uint64_t(1) << 63;
  } else {
    qLo = hi >> (shift - 64);
    remHi = hi & ((uint64_t(1) << (shift - 64)) - 1);
    remLo = lo;
    halfHi = uint64_t(1) << (shift - 65);
  }
  const bool above = remHi > halfHi || (remHi == halfHi && remLo > halfLo);
  const bool tie = remHi == halfHi && remLo == halfLo;
  if (above || (tie && (qLo & 1) != 0)) {
    if (++qLo == 0) ++qHi;
  }
  if (qHi != 0) return false;
  result = qLo;
  return true;
}

// Full 64 x 64 -> 128-bit product.
void Multiply64(uint64_t a, uint64_t b, uint64_t& hi, uint64_t& lo) {
  const uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
  const uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
  const uint64_t p0 = aLo * bLo;
  const uint64_t p1 = aLo * bHi;
  const uint64_t p2 = aHi * bLo;
  const uint64_t p3 = aHi * bHi;
  const uint64_t middle = (p0 >> 32) + (p1 & 0xFFFFFFFFu) + (p2 & 0xFFFFFFFFu);
  lo = (p0 & 0xFFFFFFFFu) | (middle << 32);
  hi = p3 + (p1 >> 32) + (p2 >> 32) + (middle >> 32);
}

// The finite, non-zero extended as mantissa x 2^exponent with the mantissa's top bit set.
struct Normalized {
  uint64_t mantissa = 0;
  int exponent = 0;
};

Normalized Normalize(uint64_t mantissa, uint16_t biasedExponent) {
  // Denormals (exponent 0) scale like exponent 1; unnormals simply have a smaller mantissa.
  const int unbiased = (biasedExponent == 0 ? 1 : biasedExponent) - kExtendedBias;
  const int leadingZeros = std::countl_zero(mantissa);
  return {mantissa << leadingZeros, unbiased - 63 - leadingZeros};
}

// Replaces the exponent form of std::to_chars ("1e+300", "1.5e-07") with the stream's
// ("1E300", "1.5E-7") and makes sure the text reads back as a float.
std::string TidyFloatText(std::string text, bool needFloatMark) {
  const auto e = text.find('e');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    bool negative = false;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
      negative = exponent[0] == '-';
      exponent.erase(0, 1);
    }
    const auto firstNonZero = exponent.find_first_not_of('0');
    exponent = firstNonZero == std::string::npos ? "0" : exponent.substr(firstNonZero);
    return mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  if (needFloatMark && text.find('.') == std::string::npos) text += ".0";
  return text;
}

template <typename T>
std::string ShortestText(T value, bool floatMark = true) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return TidyFloatText(std::string(buffer, result.ptr), floatMark);
}

TExtended80 LongDoubleToExtended(long double value) {
  const uint16_t sign = std::signbit(value) ? 0x8000 : 0;
  if (std::isnan(value))
    return TExtended80::FromParts(0xC000000000000000u, sign | kExtendedMaxExponent);
  if (std::isinf(value)) return TExtended80::FromParts(kIntegerBit, sign | kExtendedMaxExponent);
  if (value == 0) return TExtended80::FromParts(0, sign);
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
  // Take 64 bits of the fraction, rounding when long double has more (IEEE quad).
  long double scaled = std::nearbyint(std::ldexp(fraction, 64));
  if (scaled >= std::ldexp(1.0L, 64)) {
    scaled = std::ldexp(1.0L, 63);
    ++exponent;
  }
  uint64_t mantissa = static_cast<uint64_t>(scaled);
  int biased = exponent - 1 + kExtendedBias;
  if (biased >= kExtendedMaxExponent)
    return TExtended80::FromParts(kIntegerBit, sign | kExtendedMaxExponent);
  if (biased <= 0) {
    // Extended denormal: exponent field 0 scales like 1.
    uint64_t shifted = 0;
    ShiftRightRounded(0, mantissa, 1 - biased, shifted);
    mantissa = shifted;
    biased = 0;
    if (mantissa & kIntegerBit) biased = 1;  // rounded up into the smallest normal
  }
  return TExtended80::FromParts(mantissa, static_cast<uint16_t>(sign | biased));
}

long double ExtendedToLongDouble(const TExtended80& value) {
  if (value.IsNaN()) return std::numeric_limits<long double>::quiet_NaN();
  const bool negative = (value.SignExponent() & 0x8000) != 0;
  if (value.IsInfinite()) {
    return negative ? -std::numeric_limits<long double>::infinity()
                    : std::numeric_limits<long double>::infinity();
  }
  const uint64_t mantissa = value.Mantissa();
  if (mantissa == 0) return negative ? -0.0L : 0.0L;
  const Normalized n = Normalize(mantissa, value.SignExponent() & kExtendedMaxExponent);
  const long double magnitude = std::ldexp(static_cast<long double>(n.mantissa), n.exponent);
  return negative ? -magnitude : magnitude;
}

}  // namespace

uint64_t TExtended80::Mantissa() const {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | Bytes[i];
  return mantissa;
}

uint16_t TExtended80::SignExponent() const {
  return static_cast<uint16_t>(Bytes[8] | (Bytes[9] << 8));
}

TExtended80 TExtended80::FromParts(uint64_t mantissa, uint16_t signExponent) {
  TExtended80 result;
  for (int i = 0; i < 8; ++i) result.Bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  result.Bytes[8] = static_cast<uint8_t>(signExponent);
  result.Bytes[9] = static_cast<uint8_t>(signExponent >> 8);
  return result;
}

bool TExtended80::IsNaN() const {
  return (SignExponent() & kExtendedMaxExponent) == kExtendedMaxExponent &&
         (Mantissa() & ~kIntegerBit) != 0;
}

bool TExtended80::IsInfinite() const {
  return (SignExponent() & kExtendedMaxExponent) == kExtendedMaxExponent &&
         (Mantissa() & ~kIntegerBit) == 0;
}

TExtended80 DoubleToExtended(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
  if (exponent == 0x7FF) {
    if (fraction == 0) return TExtended80::FromParts(kIntegerBit, sign | kExtendedMaxExponent);
    // A quiet NaN keeping the payload bits.
    return TExtended80::FromParts(0xC000000000000000u | (fraction << 11),
                                  sign | kExtendedMaxExponent);
  }
  if (exponent == 0) {
    if (fraction == 0) return TExtended80::FromParts(0, sign);
    // Double denormals are normal numbers in the wider exponent range.
    const int leadingZeros = std::countl_zero(fraction);
    const uint64_t mantissa = fraction << leadingZeros;
    const int unbiased = 63 - leadingZeros - 1074;
    return TExtended80::FromParts(mantissa,
                                  static_cast<uint16_t>(sign | (unbiased + kExtendedBias)));
  }
  const uint64_t mantissa = kIntegerBit | (fraction << 11);
  return TExtended80::FromParts(
      mantissa, static_cast<uint16_t>(sign | (exponent - kDoubleBias + kExtendedBias)));
}

double ExtendedToDouble(const TExtended80& value) {
  const uint16_t signExponent = value.SignExponent();
  const uint64_t signBit = (signExponent & 0x8000) ? uint64_t(1) << 63 : 0;
  const uint16_t biasedExponent = signExponent & kExtendedMaxExponent;
  const uint64_t mantissa = value.Mantissa();
  if (biasedExponent == kExtendedMaxExponent) {
    if ((mantissa & ~kIntegerBit) == 0) return std::bit_cast<double>(signBit | 0x7FF0000000000000u);
    return std::bit_cast<double>(signBit | 0x7FF8000000000000u |
                                 ((mantissa >> 11) & 0xFFFFFFFFFFFFFu));
  }
  if (mantissa == 0) return std::bit_cast<double>(signBit);
  const Normalized n = Normalize(mantissa, biasedExponent);
  // The value is mantissa x 2^exponent with mantissa in [2^63, 2^64): its binary exponent is
  // exponent + 63.
  const int binaryExponent = n.exponent + 63;
  if (binaryExponent > 1023) return std::bit_cast<double>(signBit | 0x7FF0000000000000u);
  if (binaryExponent >= -1022) {
    uint64_t rounded = 0;
    ShiftRightRounded(0, n.mantissa, 11, rounded);  // 53 significant bits
    int exponent = binaryExponent;
    if (rounded == (uint64_t(1) << 53)) {
      rounded >>= 1;
      ++exponent;
      if (exponent > 1023) return std::bit_cast<double>(signBit | 0x7FF0000000000000u);
    }
    const uint64_t bits = (static_cast<uint64_t>(exponent + kDoubleBias) << 52) |
                          (rounded & ((uint64_t(1) << 52) - 1));
    return std::bit_cast<double>(signBit | bits);
  }
  // Denormal result: fewer significant bits; rounding up into 2^52 gives the smallest normal,
  // which the bit pattern expresses by itself.
  const int shift = 11 + (-1022 - binaryExponent);
  uint64_t rounded = 0;
  ShiftRightRounded(0, n.mantissa, shift, rounded);
  return std::bit_cast<double>(signBit | rounded);
}

bool IsExactDouble(const TExtended80& value) {
  if (value.IsNaN() || value.IsInfinite()) return true;
  const TExtended80 back = DoubleToExtended(ExtendedToDouble(value));
  // Compare values, not encodings: unnormals and pseudo-denormals spell a value differently.
  const bool signsDiffer = ((value.SignExponent() ^ back.SignExponent()) & 0x8000) != 0;
  if (value.Mantissa() == 0 || back.Mantissa() == 0)
    return value.Mantissa() == back.Mantissa() && !signsDiffer;
  if (signsDiffer || back.IsInfinite()) return false;
  const Normalized a = Normalize(value.Mantissa(), value.SignExponent() & kExtendedMaxExponent);
  const Normalized b = Normalize(back.Mantissa(), back.SignExponent() & kExtendedMaxExponent);
  return a.mantissa == b.mantissa && a.exponent == b.exponent;
}

namespace {

// round(value x factor), ties to even, when it fits 64 bits signed.
bool ExtendedTimesFactorRounded(const TExtended80& value, uint64_t factor, int64_t& result) {
  const uint16_t signExponent = value.SignExponent();
  const uint16_t biasedExponent = signExponent & kExtendedMaxExponent;
  if (biasedExponent == kExtendedMaxExponent) return false;
  const bool negative = (signExponent & 0x8000) != 0;
  const uint64_t mantissa = value.Mantissa();
  if (mantissa == 0) {
    result = 0;
    return true;
  }
  const Normalized n = Normalize(mantissa, biasedExponent);
  // With the top mantissa bit set, a non-negative exponent means at least 2^63: out of range.
  if (n.exponent >= 0) return false;
  uint64_t hi = 0;
  uint64_t lo = 0;
  Multiply64(n.mantissa, factor, hi, lo);
  uint64_t magnitude = 0;
  if (!ShiftRightRounded(hi, lo, -n.exponent, magnitude)) return false;
  const uint64_t limit = negative ? kIntegerBit : kIntegerBit - 1;
  if (magnitude > limit) return false;
  result = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

bool ExtendedToCurrencyScaled(const TExtended80& value, int64_t& scaled) {
  return ExtendedTimesFactorRounded(value, 10000, scaled);
}

bool ExtendedToInt64Rounded(const TExtended80& value, int64_t& result) {
  return ExtendedTimesFactorRounded(value, 1, result);
}

namespace {

// For a number too large or too small for the float type: whether it is too large. The decimal
// exponent of the leading significant digit decides; text of a valid shape only.
bool DecimalOverflows(std::string_view digits) {
  int64_t leadExponent = 0;  // decimal exponent of the first significant digit, plus one
  bool seenSignificant = false;
  bool inFraction = false;
  size_t i = 0;
  for (; i < digits.size() && digits[i] != 'e' && digits[i] != 'E'; ++i) {
    const char c = digits[i];
    if (c == '.') {
      inFraction = true;
    } else if (!seenSignificant && c == '0') {
      if (inFraction) --leadExponent;
    } else if (!seenSignificant) {
      seenSignificant = true;
      if (!inFraction) ++leadExponent;
    } else if (!inFraction && leadExponent < 1000000) {
      ++leadExponent;
    }
  }
  if (!seenSignificant) return false;
  int64_t exponent = 0;
  bool negativeExponent = false;
  if (i < digits.size()) {
    ++i;
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
      negativeExponent = digits[i++] == '-';
    for (; i < digits.size(); ++i) {
      if (exponent < 100000000) exponent = exponent * 10 + (digits[i] - '0');
    }
  }
  return leadExponent + (negativeExponent ? -exponent : exponent) > 0;
}

template <typename T>
bool ParseUnsignedDecimal(std::string_view digits, T& value) {
  const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (parsed.ptr != digits.data() + digits.size()) return false;
  if (parsed.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: overflow gives infinity, underflow zero.
    value = DecimalOverflows(digits) ? std::numeric_limits<T>::infinity() : T(0);
  }
  return true;
}

// Whether the text is: optional sign, digits, optional "." and digits, optional exponent.
bool IsDecimalShape(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t digitsStart = i;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == digitsStart) return false;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t exponentStart = i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == exponentStart) return false;
  }
  return i == n;
}

}  // namespace

bool DecimalToExtended(std::string_view text, TExtended80& result) {
  // The shape is checked first: from_chars would also take "inf", "nan" and other forms.
  if (!IsDecimalShape(text)) return false;
  const bool negative = text[0] == '-';
  const std::string_view digits = text.substr(text[0] == '+' || text[0] == '-' ? 1 : 0);
  if constexpr (kLongDoubleHoldsExtended) {
    long double value = 0;
    if (!ParseUnsignedDecimal(digits, value)) return false;
    result = LongDoubleToExtended(negative ? -value : value);
  } else {
    double value = 0;
    if (!ParseUnsignedDecimal(digits, value)) return false;
    result = DoubleToExtended(negative ? -value : value);
  }
  return true;
}

template <typename T>
bool DecimalToFloat(std::string_view text, T& result) {
  if (!IsDecimalShape(text)) return false;
  const bool negative = text[0] == '-';
  const std::string_view digits = text.substr(text[0] == '+' || text[0] == '-' ? 1 : 0);
  T value = 0;
  if (!ParseUnsignedDecimal(digits, value)) return false;
  result = negative ? -value : value;
  return true;
}

bool DecimalToDouble(std::string_view text, double& result) { return DecimalToFloat(text, result); }

bool DecimalToSingle(std::string_view text, float& result) { return DecimalToFloat(text, result); }

std::string FloatToStreamText(double value, bool floatMark) {
  return ShortestText(value, floatMark);
}

std::string SingleToStreamText(float value, bool floatMark) {
  return ShortestText(value, floatMark);
}

std::string ExtendedToStreamText(const TExtended80& value) {
  if (IsExactDouble(value)) {
    // The double's shortest text is the friendliest, but read back as an extended and then
    // rounded to double it can land one step off (two roundings); then the extended's own
    // shortest text is used, which reads back exactly.
    const double asDouble = ExtendedToDouble(value);
    std::string text = ShortestText(asDouble);
    TExtended80 back;
    if (!std::isfinite(asDouble) || !kLongDoubleHoldsExtended ||
        (DecimalToExtended(text, back) && ExtendedToDouble(back) == asDouble)) {
      return text;
    }
  }
  if constexpr (kLongDoubleHoldsExtended) return ShortestText(ExtendedToLongDouble(value));
  return ShortestText(ExtendedToDouble(value));
}

}  // namespace Kel
