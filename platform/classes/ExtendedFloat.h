#pragma once
// The 80-bit extended float that component streams carry (value kind Extended): 64-bit
// mantissa with an explicit integer bit, 15-bit exponent biased by 16383, sign bit; stored
// little-endian as 8 mantissa bytes then 2 sign-and-exponent bytes.
//
// The library computes in double, so these functions convert between the two without relying on
// the machine's long double: a double converts exactly, an extended rounds to the nearest double
// (ties to even) with infinities, NaNs, denormals, pseudo-denormals and unnormals handled.
// Currency and decimal text convert directly, so neither loses the extra precision on the way.

#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "PlatformExport.h"

namespace Kel {

struct KEL_PLATFORM_EXPORT TExtended80 {
  std::array<uint8_t, 10> Bytes{};

  uint64_t Mantissa() const;
  uint16_t SignExponent() const;  // sign in bit 15, biased exponent in bits 0..14
  static TExtended80 FromParts(uint64_t mantissa, uint16_t signExponent);

  bool IsNaN() const;
  bool IsInfinite() const;
  friend bool operator==(const TExtended80&, const TExtended80&) = default;
};

// Exact: every double has an extended of the same value.
KEL_PLATFORM_EXPORT TExtended80 DoubleToExtended(double value);
// Nearest double, ties to even; values beyond the double range become infinite, tiny values
// become denormals or zero.
KEL_PLATFORM_EXPORT double ExtendedToDouble(const TExtended80& value);
// True when the extended holds exactly the value of some double (NaNs count as representable).
KEL_PLATFORM_EXPORT bool IsExactDouble(const TExtended80& value);

// The currency scaled integer (value x 10000) nearest to the extended, ties to even. False for
// NaN, infinities and values outside the 64-bit range.
KEL_PLATFORM_EXPORT bool ExtendedToCurrencyScaled(const TExtended80& value, int64_t& scaled);
// The integer nearest to the extended, ties to even; false when it does not fit 64 bits.
KEL_PLATFORM_EXPORT bool ExtendedToInt64Rounded(const TExtended80& value, int64_t& result);

// Decimal text ("-12.5", "2.50000000000000000000E+0000", "1e300") to the nearest extended, as
// precise as the machine's long double allows (exact on x86). Accepts an optional sign, digits
// with an optional "." fraction and an optional exponent; nothing else. False for anything else.
KEL_PLATFORM_EXPORT bool DecimalToExtended(std::string_view text, TExtended80& result);
// The same shape of text straight to the nearest double or single (one rounding only).
KEL_PLATFORM_EXPORT bool DecimalToDouble(std::string_view text, double& result);
KEL_PLATFORM_EXPORT bool DecimalToSingle(std::string_view text, float& result);

// Shortest decimal text that reads back to the same double, with "." decimal point ("0.1",
// "1E300", "-2.5E-7"). With floatMark a whole number gets ".0" so that it reads back as a float
// ("3.0"), not as an integer. Non-finite values give "INF", "-INF" and "NAN".
KEL_PLATFORM_EXPORT std::string FloatToStreamText(double value, bool floatMark = true);
// Same for a single: the shortest text that reads back to the same float.
KEL_PLATFORM_EXPORT std::string SingleToStreamText(float value, bool floatMark = true);
// Same for an extended: text that DecimalToExtended reads back to the same value. For a value
// that is exactly a double this is the double's shortest text whenever that reads back to the
// same double through an extended; otherwise (and for other extendeds) the extended's own
// shortest text, exact on machines whose long double holds an extended.
KEL_PLATFORM_EXPORT std::string ExtendedToStreamText(const TExtended80& value);

}  // namespace Kel
