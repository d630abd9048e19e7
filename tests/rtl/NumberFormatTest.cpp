// Numbers to text and back: general float format with its switch to exponents, strict float and
// integer syntax, exact currency text with halves to even, currency arithmetic and rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "FormatSettings.h"
#include "NumberFormat.h"

namespace Kel {
namespace {

class NumberFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }

  static bool Float(const QString& text, double& value, QChar separator = u'.') {
    return TryStrToFloat(text, value, separator);
  }
  static QString Curr(const QString& text) {
    Currency value;
    return TryStrToCurr(text, value) ? CurrToStr(value) : QStringLiteral("<refused>");
  }
};

TEST_F(NumberFormatTest, FloatToStrUsesFifteenSignificantDigits) {
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(-2.5), "-2.5");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
}

TEST_F(NumberFormatTest, FloatToStrSwitchesToExponents) {
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1e14), "100000000000000");
  EXPECT_EQ(FloatToStr(1.5e-5), "1.5E-5");
  EXPECT_EQ(FloatToStr(1e-5), "1E-5");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00012), "0.00012");
  EXPECT_EQ(FloatToStr(-1.25e20), "-1.25E20");
  EXPECT_EQ(FloatToStr(1.7976931348623157e308), "1.79769313486232E308");
  EXPECT_EQ(FloatToStr(5e-324), "4.94065645841247E-324");
}

TEST_F(NumberFormatTest, FloatToStrOfSpecialValuesAndOtherSeparators) {
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FloatToStr(1.5, u','), "1,5");
  TFormatSettings s = TFormatSettings::Invariant();
  s.DecimalSeparator = u',';
  SetFormatSettings(s);
  EXPECT_EQ(FloatToStr(-0.25), "-0,25");
  EXPECT_EQ(FloatToStr(1.5e-7), "1,5E-7");
}

TEST_F(NumberFormatTest, TryStrToFloatAcceptsPlainNumbersOnly) {
  double v = 0;
  ASSERT_TRUE(Float(" 1.5 ", v));
  EXPECT_EQ(v, 1.5);
  ASSERT_TRUE(Float("-1.5e3", v));
  EXPECT_EQ(v, -1500);
  ASSERT_TRUE(Float("+2E-2", v));
  EXPECT_EQ(v, 0.02);
  ASSERT_TRUE(Float(".5", v));
  EXPECT_EQ(v, 0.5);
  ASSERT_TRUE(Float("5.", v));
  EXPECT_EQ(v, 5);
  ASSERT_TRUE(Float("1e-400", v));
  EXPECT_EQ(v, 0);
  for (const char* text : {"", " ", ".", "-", "1,000", "1.5.2", "1e", "1e+", "inf", "nan", "0x10",
                           "1 2", "1e400", "--1", "1.5x", "$1"}) {
    EXPECT_FALSE(Float(text, v)) << text;
  }
  ASSERT_TRUE(Float("1,5", v, u','));
  EXPECT_EQ(v, 1.5);
  EXPECT_FALSE(Float("1.5", v, u','));
}

TEST_F(NumberFormatTest, FloatTextRoundTrips) {
  for (double value : {1.5, -0.1, 3.14159265358979, 1e-10, 6.02214076e23, 123456.789}) {
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(FloatToStr(value), back));
    EXPECT_NEAR(back, value, std::fabs(value) * 1e-14);
  }
}

TEST_F(NumberFormatTest, StrToFloatRaisesWithTheValue) {
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
  try {
    StrToFloat("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
}

TEST_F(NumberFormatTest, IntegerTextDecimalAndHexadecimal) {
  int v = 0;
  ASSERT_TRUE(TryStrToInt("  -7", v));
  EXPECT_EQ(v, -7);
  ASSERT_TRUE(TryStrToInt("$ff", v));
  EXPECT_EQ(v, 255);
  ASSERT_TRUE(TryStrToInt("0x10", v));
  EXPECT_EQ(v, 16);
  ASSERT_TRUE(TryStrToInt("$FFFFFFFF", v));
  EXPECT_EQ(v, -1);
  ASSERT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_EQ(v, std::numeric_limits<int>::min());
  for (const char* text : {"", "-", "$", "2147483648", "-2147483649", "12 ", "1.0", "1e3",
                           "$100000000", "0x", "abc"}) {
    EXPECT_FALSE(TryStrToInt(text, v)) << text;
  }
  int64_t w = 0;
  ASSERT_TRUE(TryStrToInt64("9223372036854775807", w));
  EXPECT_EQ(w, std::numeric_limits<int64_t>::max());
  ASSERT_TRUE(TryStrToInt64("-9223372036854775808", w));
  EXPECT_EQ(w, std::numeric_limits<int64_t>::min());
  ASSERT_TRUE(TryStrToInt64("$FFFFFFFFFFFFFFFF", w));
  EXPECT_EQ(w, -1);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", w));
  EXPECT_FALSE(TryStrToInt64("99999999999999999999", w));
  EXPECT_EQ(StrToIntDef("x", 42), 42);
  try {
    StrToInt("12a");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
  }
}

TEST_F(NumberFormatTest, CurrencyTextKeepsUpToFourDecimals) {
  EXPECT_EQ(CurrToStr(Currency::FromScaled(15000)), "1.5");
  EXPECT_EQ(CurrToStr(Currency::FromInt(100)), "100");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(1)), "0.0001");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(-12500)), "-1.25");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(std::numeric_limits<int64_t>::min())),
            "-922337203685477.5808");
  TFormatSettings s = TFormatSettings::Invariant();
  s.DecimalSeparator = u',';
  SetFormatSettings(s);
  EXPECT_EQ(CurrToStr(Currency::FromScaled(15000)), "1,5");
  EXPECT_EQ(Curr("2,25"), "2,25");
}

TEST_F(NumberFormatTest, CurrencyTextReadsExactlyWithHalvesToEven) {
  EXPECT_EQ(Curr("1.23456"), "1.2346");
  EXPECT_EQ(Curr("0.00005"), "0");
  EXPECT_EQ(Curr("0.00015"), "0.0002");
  EXPECT_EQ(Curr("0.000050001"), "0.0001");
  EXPECT_EQ(Curr("-0.00015"), "-0.0002");
  EXPECT_EQ(Curr("0.1"), "0.1");  // exact, unlike the double 0.1
  EXPECT_EQ(Curr("1e3"), "1000");
  EXPECT_EQ(Curr("1.5E-2"), "0.015");
  EXPECT_EQ(Curr("922337203685477.5807"), "922337203685477.5807");
  EXPECT_EQ(Curr("-922337203685477.5808"), "-922337203685477.5808");
  EXPECT_EQ(Curr("922337203685477.5808"), "<refused>");
  EXPECT_EQ(Curr("1e15"), "<refused>");
  EXPECT_EQ(Curr("1e-99999999999"), "0");
  EXPECT_EQ(Curr("0e99999999999"), "0");
  EXPECT_EQ(Curr("abc"), "<refused>");
  // Far more digits than 64 bits hold, with fraction digits that are dropped: refused, not
  // wrapped around to some other amount.
  EXPECT_EQ(Curr("1" + QString(40, u'0') + ".00000"), "<refused>");
  EXPECT_EQ(Curr("1" + QString(1000, u'0') + ".00000"), "<refused>");
  EXPECT_EQ(Curr("0." + QString(1000, u'0')), "0");
  EXPECT_THROW(StrToCurr("1,5"), EConvertError);
}

TEST_F(NumberFormatTest, CurrencyArithmeticRoundsAndChecks) {
  const Currency a = Currency::FromScaled(15000);  // 1.5
  const Currency b = Currency::FromScaled(3);      // 0.0003
  EXPECT_EQ((a * b).Scaled, 4);                    // 0.00045 -> 0.0004
  EXPECT_EQ((Currency::FromScaled(5) * Currency::FromScaled(15000)).Scaled, 8);  // 0.00075
  EXPECT_EQ((Currency::FromInt(1) / Currency::FromInt(3)).Scaled, 3333);
  EXPECT_EQ((Currency::FromInt(2) / Currency::FromInt(3)).Scaled, 6667);
  EXPECT_EQ((a + a).Scaled, 30000);
  EXPECT_EQ((a - a - a).Scaled, -15000);
  EXPECT_THROW(a / Currency::FromScaled(0), EZeroDivide);
  const Currency big = Currency::FromScaled(std::numeric_limits<int64_t>::max());
  EXPECT_THROW(big + a, EOverflow);
  EXPECT_THROW(-big - a - a, EOverflow);
  EXPECT_THROW(big * Currency::FromInt(2), EOverflow);
  EXPECT_EQ(Currency::FromDouble(-1.25).Scaled, -12500);
  EXPECT_THROW(Currency::FromDouble(1e300), EOverflow);
  EXPECT_THROW(Currency::FromDouble(std::nan("")), EOverflow);
}

TEST_F(NumberFormatTest, RoundingHalvesToEven) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.51), 3);
  EXPECT_THROW(Round(1e300), EInvalidOp);
  EXPECT_THROW(Trunc(std::nan("")), EInvalidOp);
}

}  // namespace
}  // namespace Kel
