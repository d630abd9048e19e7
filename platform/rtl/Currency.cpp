#include "Currency.h"

#include <cmath>
#include <limits>

#include "Exceptions.h"

namespace Kel {

namespace {

constexpr const char* OverflowText = "Floating point overflow";

[[noreturn]] void ThrowCurrencyOverflow() { throw EOverflow(QString::fromUtf8(OverflowText)); }

int64_t CheckedScaled(__int128 value) {
  if (value < std::numeric_limits<int64_t>::min() || value > std::numeric_limits<int64_t>::max())
    ThrowCurrencyOverflow();
  return static_cast<int64_t>(value);
}

// numerator / denominator rounded to the nearest integer, halves to even.
__int128 DivideRounded(__int128 numerator, __int128 denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  __int128 quotient = numerator / denominator;
  const __int128 remainder = numerator % denominator;
  const __int128 twice = remainder < 0 ? -remainder * 2 : remainder * 2;
  if (twice > denominator || (twice == denominator && (quotient & 1) != 0))
    quotient += numerator < 0 ? -1 : 1;
  return quotient;
}

}  // namespace

Currency Currency::FromDouble(double value) {
  const double scaled = std::nearbyint(value * Scale);  // halves to even
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) ThrowCurrencyOverflow();
  return Currency{static_cast<int64_t>(scaled)};
}

Currency operator+(Currency a, Currency b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a.Scaled, b.Scaled, &sum)) ThrowCurrencyOverflow();
  return Currency::FromScaled(sum);
}

Currency operator-(Currency a, Currency b) {
  int64_t difference = 0;
  if (__builtin_sub_overflow(a.Scaled, b.Scaled, &difference)) ThrowCurrencyOverflow();
  return Currency::FromScaled(difference);
}

Currency operator*(Currency a, Currency b) {
  const __int128 product = static_cast<__int128>(a.Scaled) * b.Scaled;
  return Currency::FromScaled(CheckedScaled(DivideRounded(product, Currency::Scale)));
}

Currency operator/(Currency a, Currency b) {
  if (b.Scaled == 0) throw EZeroDivide(RtlMessage(RtlText::ZeroDivide));
  const __int128 numerator = static_cast<__int128>(a.Scaled) * Currency::Scale;
  return Currency::FromScaled(CheckedScaled(DivideRounded(numerator, b.Scaled)));
}

}  // namespace Kel
