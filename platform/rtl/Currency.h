#pragma once
// Currency: a 64-bit fixed-point number with four decimals (the value times 10000), exact for
// money; conversions from floating point round halves to even.

#include <QMetaType>
#include <compare>
#include <cstdint>

#include "PlatformExport.h"

namespace Kel {

struct KEL_PLATFORM_EXPORT Currency {
  int64_t Scaled = 0;  // value x 10000

  static constexpr int64_t Scale = 10000;
  static constexpr Currency FromScaled(int64_t scaled) { return Currency{scaled}; }
  static Currency FromDouble(double value);  // raises EOverflow when out of range
  static constexpr Currency FromInt(int64_t value) { return Currency{value * Scale}; }
  double ToDouble() const { return static_cast<double>(Scaled) / Scale; }

  friend constexpr auto operator<=>(Currency, Currency) = default;
  Currency operator-() const { return Currency{-Scaled}; }
};

KEL_PLATFORM_EXPORT Currency operator+(Currency a, Currency b);
KEL_PLATFORM_EXPORT Currency operator-(Currency a, Currency b);
KEL_PLATFORM_EXPORT Currency operator*(Currency a, Currency b);
KEL_PLATFORM_EXPORT Currency operator/(Currency a, Currency b);  // raises EZeroDivide

}  // namespace Kel

Q_DECLARE_METATYPE(Kel::Currency)
