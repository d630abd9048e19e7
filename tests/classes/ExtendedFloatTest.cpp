// The 80-bit extended float of component streams: exact from double, rounded to double, exact to
// currency, parsed from decimal text and written back as short text.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "ExtendedFloat.h"

using namespace Kel;

namespace {

TExtended80 Ext(uint64_t mantissa, uint16_t signExponent) {
  return TExtended80::FromParts(mantissa, signExponent);
}

constexpr uint64_t kOne = uint64_t(1) << 63;

TExtended80 Parse(const char* text) {
  TExtended80 value;
  EXPECT_TRUE(DecimalToExtended(text, value)) << text;
  return value;
}

}  // namespace

TEST(ExtendedFloat, KnownEncodingsOfDoubles) {
  EXPECT_EQ(DoubleToExtended(1.0), Ext(kOne, 0x3FFF));
  EXPECT_EQ(DoubleToExtended(-2.5), Ext(0xA000000000000000u, 0xC000));
  EXPECT_EQ(DoubleToExtended(0.0), Ext(0, 0));
  EXPECT_EQ(DoubleToExtended(-0.0), Ext(0, 0x8000));
  EXPECT_EQ(DoubleToExtended(std::numeric_limits<double>::infinity()), Ext(kOne, 0x7FFF));
  // The smallest double denormal, 2^-1074, is a normal extended.
  EXPECT_EQ(DoubleToExtended(std::numeric_limits<double>::denorm_min()), Ext(kOne, 16383 - 1074));
  const TExtended80 one = DoubleToExtended(1.0);
  EXPECT_EQ(one.Bytes[7], 0x80);
  EXPECT_EQ(one.Bytes[8], 0xFF);
  EXPECT_EQ(one.Bytes[9], 0x3F);
}

TEST(ExtendedFloat, EveryDoubleSurvivesTheRoundTrip) {
  std::mt19937_64 random(12345);
  for (int i = 0; i < 200000; ++i) {
    const double value = std::bit_cast<double>(random());
    const double back = ExtendedToDouble(DoubleToExtended(value));
    if (std::isnan(value)) {
      EXPECT_TRUE(std::isnan(back));
    } else {
      ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value)) << value;
    }
    EXPECT_TRUE(IsExactDouble(DoubleToExtended(value)));
  }
  for (double value : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                       std::numeric_limits<double>::denorm_min(), -0.0}) {
    EXPECT_EQ(std::bit_cast<uint64_t>(ExtendedToDouble(DoubleToExtended(value))),
              std::bit_cast<uint64_t>(value));
  }
}

TEST(ExtendedFloat, RoundsToNearestDoubleTiesToEven) {
  // 1 + 2^-53 lies halfway between 1 and the next double: the even neighbour 1 wins.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne | (uint64_t(1) << 10), 0x3FFF)), 1.0);
  // A hair above halfway rounds up.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne | (uint64_t(1) << 10) | 1, 0x3FFF)), 1.0 + 0x1p-52);
  // Halfway above an odd mantissa rounds up to the even one.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne | (uint64_t(1) << 11) | (uint64_t(1) << 10), 0x3FFF)),
            1.0 + 0x1p-51);
  // All ones round up into the next power of two.
  EXPECT_EQ(ExtendedToDouble(Ext(~uint64_t(0), 0x3FFF)), 2.0);
  EXPECT_FALSE(IsExactDouble(Ext(kOne | 1, 0x3FFF)));
}

TEST(ExtendedFloat, OutOfDoubleRange) {
  EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x3FFF + 1024)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0xBFFF + 1024)), -std::numeric_limits<double>::infinity());
  // The largest extended below 2^1024 still rounds up to infinity.
  EXPECT_EQ(ExtendedToDouble(Ext(~uint64_t(0), 0x3FFF + 1023)),
            std::numeric_limits<double>::infinity());
  // 2^-1075 is exactly half the smallest denormal: ties to the even 0.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne, 16383 - 1075)), 0.0);
  // 1.5 x 2^-1075 rounds up to the smallest denormal.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne | (kOne >> 1), 16383 - 1075)),
            std::numeric_limits<double>::denorm_min());
  // A denormal double made from a denormal-range extended keeps its bits.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne | (kOne >> 1), 16383 - 1073)), 3 * 0x1p-1074);
  // Rounding up at the top of the denormal range gives the smallest normal.
  EXPECT_EQ(ExtendedToDouble(Ext(~uint64_t(0), 16383 - 1023)), std::numeric_limits<double>::min());
  // Extended denormals are far below the double range.
  EXPECT_EQ(ExtendedToDouble(Ext(1, 0x8000)), -0.0);
  EXPECT_TRUE(std::signbit(ExtendedToDouble(Ext(1, 0x8000))));
}

TEST(ExtendedFloat, SpecialEncodings) {
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Ext(0xC000000000000000u, 0x7FFF))));
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Ext(1, 0xFFFF))));
  EXPECT_TRUE(Ext(0xC000000000000000u, 0x7FFF).IsNaN());
  EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));
  // Pseudo-infinity (no integer bit) is still an infinity.
  EXPECT_EQ(ExtendedToDouble(Ext(0, 0x7FFF)), std::numeric_limits<double>::infinity());
  // An unnormal (integer bit clear, exponent set) has its plain value: 0.5 x 2^0.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne >> 1, 0x3FFF)), 0.5);
  EXPECT_TRUE(IsExactDouble(Ext(kOne >> 1, 0x3FFF)));
  // A pseudo-denormal (exponent 0 with the integer bit) scales like exponent 1.
  EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0)), 0.0);
}

TEST(ExtendedFloat, CurrencyIsExactWithoutPassingThroughDouble) {
  int64_t scaled = 0;
  ASSERT_TRUE(ExtendedToCurrencyScaled(Parse("1234.5678"), scaled));
  EXPECT_EQ(scaled, 12345678);
  ASSERT_TRUE(ExtendedToCurrencyScaled(Parse("922337203685477.5807"), scaled));
  EXPECT_EQ(scaled, std::numeric_limits<int64_t>::max());
  ASSERT_TRUE(ExtendedToCurrencyScaled(Parse("-922337203685477.5807"), scaled));
  EXPECT_EQ(scaled, -std::numeric_limits<int64_t>::max());
  ASSERT_TRUE(ExtendedToCurrencyScaled(Parse("-0.00004"), scaled));
  EXPECT_EQ(scaled, 0);
  ASSERT_TRUE(ExtendedToCurrencyScaled(Parse("0.00006"), scaled));
  EXPECT_EQ(scaled, 1);
  ASSERT_TRUE(ExtendedToCurrencyScaled(DoubleToExtended(0.1), scaled));
  EXPECT_EQ(scaled, 1000);
  EXPECT_FALSE(ExtendedToCurrencyScaled(Parse("1e15"), scaled));
  EXPECT_FALSE(ExtendedToCurrencyScaled(Ext(kOne, 0x7FFF), scaled));
  EXPECT_FALSE(ExtendedToCurrencyScaled(Ext(0xC000000000000000u, 0x7FFF), scaled));
  ASSERT_TRUE(ExtendedToCurrencyScaled(Ext(0, 0x8000), scaled));
  EXPECT_EQ(scaled, 0);
}

TEST(ExtendedFloat, RoundingToIntegerTiesToEven) {
  int64_t value = 0;
  ASSERT_TRUE(ExtendedToInt64Rounded(DoubleToExtended(2.5), value));
  EXPECT_EQ(value, 2);
  ASSERT_TRUE(ExtendedToInt64Rounded(DoubleToExtended(3.5), value));
  EXPECT_EQ(value, 4);
  ASSERT_TRUE(ExtendedToInt64Rounded(DoubleToExtended(-2.5), value));
  EXPECT_EQ(value, -2);
  ASSERT_TRUE(ExtendedToInt64Rounded(DoubleToExtended(1e-300), value));
  EXPECT_EQ(value, 0);
  ASSERT_TRUE(ExtendedToInt64Rounded(Parse("12345678901234567"), value));
  EXPECT_EQ(value, 12345678901234567);
  EXPECT_FALSE(ExtendedToInt64Rounded(DoubleToExtended(1e19), value));
}

TEST(ExtendedFloat, DecimalTextToExtended) {
  EXPECT_EQ(ExtendedToDouble(Parse("2.50000000000000000000E+0000")), 2.5);
  EXPECT_EQ(ExtendedToDouble(Parse("-12.5")), -12.5);
  EXPECT_EQ(ExtendedToDouble(Parse("+7")), 7.0);
  EXPECT_EQ(ExtendedToDouble(Parse("1e300")), 1e300);
  // 0.1 to the full 64-bit precision of an extended, as other writers of the format store it.
  EXPECT_EQ(Parse("0.1"), Ext(0xCCCCCCCCCCCCCCCDu, 0x3FFB));
  EXPECT_EQ(ExtendedToDouble(Parse("0.1")), 0.1);
  EXPECT_TRUE(Parse("1e5000").IsInfinite());
  EXPECT_EQ(ExtendedToDouble(Parse("-1e-5000")), 0.0);
  EXPECT_TRUE(std::signbit(ExtendedToDouble(Parse("-1e-5000"))));
  TExtended80 value;
  for (const char* bad : {"", "-", "abc", "1e", "1e+", ".5", "inf", "nan", "0x10", "1 ", " 1",
                          "1,5", "--1", "1e5x"}) {
    EXPECT_FALSE(DecimalToExtended(bad, value)) << bad;
  }
}

TEST(ExtendedFloat, ShortTextThatReadsBack) {
  EXPECT_EQ(FloatToStreamText(3.0), "3.0");
  EXPECT_EQ(FloatToStreamText(3.0, false), "3");
  EXPECT_EQ(FloatToStreamText(0.1), "0.1");
  EXPECT_EQ(FloatToStreamText(-2.5e-7), "-2.5E-7");
  EXPECT_EQ(FloatToStreamText(1e300), "1E300");
  EXPECT_EQ(FloatToStreamText(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStreamText(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FloatToStreamText(std::nan("")), "NAN");
  EXPECT_EQ(SingleToStreamText(0.1f, false), "0.1");
  EXPECT_EQ(ExtendedToStreamText(DoubleToExtended(0.1)), "0.1");
  EXPECT_EQ(ExtendedToStreamText(Parse("0.1")), "0.1");
  // Text -> extended -> text -> extended keeps the extended for values that are no double.
  for (const char* text : {"0.1", "1234.5678", "3.14159265358979323846", "1E-4000", "-7.25E4000"}) {
    const TExtended80 first = Parse(text);
    const std::string written = ExtendedToStreamText(first);
    EXPECT_EQ(Parse(written.c_str()), first) << text << " -> " << written;
  }
  std::mt19937_64 random(99);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    // The path of binary -> text -> binary -> double.
    const std::string text = ExtendedToStreamText(DoubleToExtended(value));
    ASSERT_EQ(ExtendedToDouble(Parse(text.c_str())), value) << text;
    // Dates and singles read their text straight into their own type.
    double asDouble = 0;
    ASSERT_TRUE(DecimalToDouble(FloatToStreamText(value, false), asDouble));
    ASSERT_EQ(asDouble, value);
    const auto single = static_cast<float>(value);
    float asSingle = 0;
    if (std::isfinite(single)) {
      ASSERT_TRUE(DecimalToSingle(SingleToStreamText(single, false), asSingle));
      ASSERT_EQ(asSingle, single);
    }
  }
  // A double whose shortest text lands elsewhere through an extended gets a longer text.
  EXPECT_EQ(ExtendedToDouble(
                Parse(ExtendedToStreamText(DoubleToExtended(2.199979642673687E-186)).c_str())),
            2.199979642673687E-186);
}
