// Variant kinds, conversions, comparison and arithmetic of mixed kinds.

#include "Exceptions.h"
#include "FormatSettings.h"
#include "TestPrinters.h"
#include "Variant.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Kel;

namespace {

class VariantTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  FormatSettingsGuard guard_;
};

TEST_F(VariantTest, EmptyAndNullAreDifferentKinds) {
  const Variant empty;
  const Variant null = Variant::Null();
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_FALSE(empty.IsNull());
  EXPECT_TRUE(null.IsNull());
  EXPECT_FALSE(null.IsEmpty());
  EXPECT_FALSE(empty == null);
  EXPECT_TRUE(null == Variant::Null());
  EXPECT_TRUE(empty == Variant());
}

TEST_F(VariantTest, EmptyTakesPartAsZeroOrEmptyText) {
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant().AsString(), QString());
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_TRUE(Variant() == Variant(0));
  EXPECT_TRUE(Variant() == Variant(""));
  EXPECT_TRUE(Variant() < Variant(1));
  EXPECT_EQ((Variant() + Variant(5)).AsInteger(), 5);
  EXPECT_EQ((Variant() + Variant("ab")).AsString(), "ab");
}

TEST_F(VariantTest, NullRefusesConversionButVarToStrGivesEmptyText) {
  EXPECT_THROW(Variant::Null().AsString(), EVariantTypeCastError);
  EXPECT_THROW(Variant::Null().AsInteger(), EVariantTypeCastError);
  EXPECT_THROW(Variant::Null().AsDouble(), EVariantTypeCastError);
  EXPECT_EQ(VarToStr(Variant::Null()), QString());
  try {
    Variant::Null().AsInteger();
  } catch (const EVariantTypeCastError& e) {
    EXPECT_EQ(e.Message(), "Could not convert variant of type (Null) into type (Int64)");
  }
}

TEST_F(VariantTest, NullInComparisonsAndArithmetic) {
  const Variant null = Variant::Null();
  EXPECT_FALSE(null == Variant(1));
  EXPECT_TRUE(null != Variant(1));
  EXPECT_FALSE(null != Variant::Null());
  // Ordering with an unknown value never holds, in either direction.
  EXPECT_FALSE(null < Variant(150));
  EXPECT_FALSE(null > Variant(150));
  EXPECT_FALSE(null <= Variant(150));
  EXPECT_FALSE(null >= Variant(150));
  EXPECT_FALSE(Variant(150) <= null);
  EXPECT_TRUE((null + Variant(1)).IsNull());
  EXPECT_TRUE((Variant("a") + null).IsNull());
  EXPECT_TRUE((-null).IsNull());
}

TEST_F(VariantTest, ThreeValuedLogicWithNull) {
  const Variant null = Variant::Null();
  EXPECT_TRUE(VarAnd(Variant(false), null).Same(Variant(false)));
  EXPECT_TRUE(VarAnd(null, Variant(true)).IsNull());
  EXPECT_TRUE(VarOr(null, Variant(true)).Same(Variant(true)));
  EXPECT_TRUE(VarOr(Variant(false), null).IsNull());
  EXPECT_TRUE(VarNot(null).IsNull());
  EXPECT_TRUE(VarXor(Variant(true), null).IsNull());
}

TEST_F(VariantTest, LogicOnBooleansBitwiseOnIntegers) {
  EXPECT_TRUE(VarAnd(Variant(true), Variant(false)).Same(Variant(false)));
  EXPECT_TRUE(VarOr(Variant(true), Variant(false)).Same(Variant(true)));
  EXPECT_TRUE(VarNot(Variant(true)).Same(Variant(false)));
  EXPECT_TRUE(VarAnd(Variant(12), Variant(10)).Same(Variant(8)));
  EXPECT_TRUE(VarOr(Variant(12), Variant(3)).Same(Variant(15)));
  EXPECT_TRUE(VarXor(Variant(6), Variant(3)).Same(Variant(5)));
  EXPECT_TRUE(VarNot(Variant(0)).Same(Variant(-1)));
  EXPECT_TRUE(VarAnd(Variant("true"), Variant("FALSE")).Same(Variant(false)));
}

TEST_F(VariantTest, FloatToIntegerRoundsHalvesToEven) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(2.6).AsInteger(), 3);
  EXPECT_EQ(Variant(Currency::FromScaled(25000)).AsInteger(), 2);   // 2.5
  EXPECT_EQ(Variant(Currency::FromScaled(35000)).AsInteger(), 4);   // 3.5
  EXPECT_EQ(Variant(Currency::FromScaled(-25001)).AsInteger(), -3); // -2.5001
  EXPECT_EQ(Variant("2.5").AsInteger(), 2);
}

TEST_F(VariantTest, OutOfRangeConversionsRaiseOverflow) {
  EXPECT_THROW(Variant(1e20).AsInt64(), EVariantOverflowError);
  EXPECT_THROW(Variant(int64_t(1) << 40).AsInteger(), EVariantOverflowError);
  EXPECT_THROW(Variant(300).AsType(varByte), EVariantOverflowError);
  EXPECT_THROW(Variant(40000).AsType(varSmallint), EVariantOverflowError);
  EXPECT_THROW(Variant(std::numeric_limits<double>::quiet_NaN()).AsInteger(),
               EVariantOverflowError);
  EXPECT_THROW(Variant(1e30).AsCurrency(), EVariantOverflowError);
}

TEST_F(VariantTest, StringsConvertToNumbersWithTheCurrentSeparator) {
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_DOUBLE_EQ(Variant("1.25").AsDouble(), 1.25);
  EXPECT_EQ(Variant("1.2345").AsCurrency(), Currency::FromScaled(12345));
  EXPECT_THROW(Variant("abc").AsInteger(), EVariantTypeCastError);
  EXPECT_THROW(Variant("1,5").AsDouble(), EVariantTypeCastError);
  FormatSettings().DecimalSeparator = u',';
  EXPECT_DOUBLE_EQ(Variant("1,5").AsDouble(), 1.5);
  EXPECT_EQ(Variant(1.5).AsString(), "1,5");
}

TEST_F(VariantTest, BooleansAsNumbersAndText) {
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsInteger(), 0);
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_THROW(Variant("maybe").AsBoolean(), EVariantTypeCastError);
  EXPECT_TRUE(Variant(true) == Variant("True"));
  EXPECT_TRUE(Variant(false) < Variant(true));
}

TEST_F(VariantTest, NumbersToText) {
  EXPECT_EQ(Variant(42).AsString(), "42");
  EXPECT_EQ(Variant(int64_t(1) << 40).AsString(), "1099511627776");
  EXPECT_EQ(Variant(1.5).AsString(), "1.5");
  EXPECT_EQ(Variant(0.1f).AsString(), "0.1");
  EXPECT_EQ(Variant(Currency::FromScaled(12345000)).AsString(), "1234.5");
  EXPECT_EQ(Variant::FromDate(36892.0).AsString(), "1/1/2001");
  EXPECT_EQ(Variant::FromDate(36892.5).AsString(), "1/1/2001 12:00:00 PM");
}

TEST_F(VariantTest, MixedComparisons) {
  EXPECT_TRUE(Variant(1) == Variant(1.0));
  EXPECT_TRUE(Variant(2) < Variant(2.5));
  EXPECT_TRUE(Variant("10") == Variant(10));
  EXPECT_TRUE(Variant("9") < Variant(10));       // a number against text compares as numbers
  EXPECT_TRUE(Variant("9") > Variant("10"));     // two texts compare as texts
  EXPECT_TRUE(Variant("abc") < Variant("abd"));
  EXPECT_FALSE(Variant("abc") == Variant("ABC"));  // case counts
  EXPECT_TRUE(Variant(Currency::FromScaled(15000)) == Variant(1.5));
  EXPECT_TRUE(Variant(Currency::FromScaled(20000)) == Variant(2));
  EXPECT_TRUE(Variant(int64_t(9007199254740993)) > Variant(int64_t(9007199254740992)));
  EXPECT_TRUE(Variant::FromDate(36892.0) == Variant("1/1/2001"));
  EXPECT_TRUE(Variant::FromDate(36892.0) < Variant(36893));
  // Before 30 December 1899 by day, then by the time of day: 29 December 18:00 is -1.75.
  EXPECT_TRUE(Variant::FromDate(-1.75) > Variant::FromDate(-1.25));
  EXPECT_TRUE(Variant::FromDate(-1.75) > Variant("12/29/1899 12:00"));
  EXPECT_TRUE(Variant("12/29/1899") <= Variant::FromDate(-1.25));
  EXPECT_TRUE(Variant::FromDate(-2.5) < Variant(-1));
  EXPECT_TRUE(Variant(-1.5) < Variant::FromDate(-1.75)) << "a number against a date is a date";
  EXPECT_TRUE(Variant(-1.75) < Variant(-1.25)) << "two numbers stay numbers";
  EXPECT_THROW((void)(Variant("abc") < Variant(1)), EVariantTypeCastError);
}

TEST_F(VariantTest, NaNIsUnordered) {
  const Variant nan(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(nan == nan);
  EXPECT_FALSE(nan < Variant(1));
  EXPECT_FALSE(nan >= Variant(1));
  EXPECT_TRUE(nan != Variant(1));
}

TEST_F(VariantTest, ArithmeticKeepsTheWidestKind) {
  EXPECT_TRUE((Variant(2) + Variant(3)).Same(Variant(5)));
  EXPECT_TRUE((Variant(2) * Variant(1.5)).Same(Variant(3.0)));
  EXPECT_TRUE((Variant(7) / Variant(2)).Same(Variant(3.5)));  // real division
  EXPECT_EQ((Variant(Currency::FromScaled(10000)) + Variant(2)).VarType(), varCurrency);
  EXPECT_EQ((Variant(Currency::FromScaled(10000)) * Variant(1.5)).AsCurrency(),
            Currency::FromScaled(15000));
  // Integer overflow widens instead of wrapping.
  EXPECT_TRUE((Variant(std::numeric_limits<int>::max()) + Variant(1))
                  .Same(Variant(int64_t(std::numeric_limits<int>::max()) + 1)));
  EXPECT_EQ((Variant(std::numeric_limits<int64_t>::max()) + Variant(1)).VarType(), varDouble);
}

TEST_F(VariantTest, TextConcatenatesButMeetsNumbersAsNumbers) {
  EXPECT_TRUE((Variant("ab") + Variant("cd")).Same(Variant("abcd")));
  EXPECT_TRUE((Variant("1") + Variant(2)).Same(Variant(3)));
  EXPECT_TRUE((Variant("1.5") + Variant(2)).Same(Variant(3.5)));
  EXPECT_THROW(Variant("x") + Variant(2), EVariantTypeCastError);
  EXPECT_TRUE((Variant("3") - Variant("1")).Same(Variant(2)));
}

TEST_F(VariantTest, DateArithmetic) {
  const Variant day = Variant::FromDate(36892.25);
  EXPECT_TRUE((day + Variant(1)).Same(Variant::FromDate(36893.25)));
  EXPECT_TRUE((day - Variant(0.25)).Same(Variant::FromDate(36892.0)));
  EXPECT_TRUE((Variant::FromDate(36900.0) - Variant::FromDate(36892.0)).Same(Variant(8.0)));
}

TEST_F(VariantTest, DivisionByZeroRaises) {
  EXPECT_THROW(Variant(1) / Variant(0), EZeroDivide);
  EXPECT_THROW(Variant(0.0) / Variant(0), EInvalidOp);
  EXPECT_THROW(VarMod(Variant(5), Variant(0)), EDivByZero);
  EXPECT_THROW(VarIntDiv(Variant(5), Variant(0)), EDivByZero);
  EXPECT_THROW(Variant(Currency::FromInt(1)) / Variant(Currency{}), EZeroDivide);
  EXPECT_TRUE(VarMod(Variant(7), Variant(3)).Same(Variant(1)));
  EXPECT_EQ(VarIntDiv(Variant(std::numeric_limits<int64_t>::min()), Variant(-1)).VarType(),
            varDouble);
}

TEST_F(VariantTest, Negation) {
  EXPECT_TRUE((-Variant(5)).Same(Variant(-5)));
  EXPECT_TRUE((-Variant(std::numeric_limits<int>::min()))
                  .Same(Variant(-int64_t(std::numeric_limits<int>::min()))));
  EXPECT_EQ((-Variant(std::numeric_limits<int64_t>::min())).VarType(), varDouble);
  EXPECT_TRUE((-Variant("2")).Same(Variant(-2)));
}

TEST_F(VariantTest, ArraysHoldElementsFromTheirLowBound) {
  const Variant list = Variant::FromArray({Variant(1), Variant("b"), Variant::Null()});
  EXPECT_TRUE(list.IsArray());
  EXPECT_EQ(list.ArrayLowBound(), 1);
  EXPECT_EQ(list.ArrayHighBound(), 3);
  EXPECT_TRUE(list.ArrayItem(2).Same(Variant("b")));
  EXPECT_THROW(list.ArrayItem(0), EVariantBadIndexError);
  EXPECT_THROW(list.ArrayItem(4), EVariantBadIndexError);
  EXPECT_THROW((void)(list == Variant(1)), EVariantInvalidOpError);
  EXPECT_THROW(list + Variant(1), EVariantInvalidOpError);
  EXPECT_THROW(list.AsString(), EVariantTypeCastError);
  const Variant empty = Variant::FromArray({}, 0);
  EXPECT_EQ(empty.ArrayHighBound(), -1);
}

TEST_F(VariantTest, AsTypeProducesTheRequestedKind) {
  EXPECT_EQ(Variant(3).AsType(varSmallint).VarType(), varSmallint);
  EXPECT_EQ(Variant(3).AsType(varByte).VarType(), varByte);
  EXPECT_EQ(Variant("1.5").AsType(varDouble).AsDouble(), 1.5);
  EXPECT_EQ(Variant(1.5).AsType(varString).AsString(), "1.5");
  EXPECT_EQ(Variant("x").AsType(varOleStr).VarType(), varOleStr);
  EXPECT_TRUE(Variant(36892).AsType(varDate).Same(Variant::FromDate(36892)));
  EXPECT_TRUE(Variant("1/2/2001").AsType(varDate).Same(Variant::FromDate(36893)));
  EXPECT_THROW(Variant("not a date").AsType(varDate), EVariantTypeCastError);
}

TEST_F(VariantTest, SameIsIdentityOfKindAndValue) {
  EXPECT_TRUE(Variant(1).Same(Variant(1)));
  EXPECT_FALSE(Variant(1).Same(Variant(1.0)));
  EXPECT_TRUE(Variant::Null().Same(Variant::Null()));
  EXPECT_FALSE(Variant().Same(Variant::Null()));
  EXPECT_TRUE(Variant::FromArray({Variant(1)}).Same(Variant::FromArray({Variant(1)})));
  EXPECT_FALSE(Variant::FromArray({Variant(1)}).Same(Variant::FromArray({Variant(1)}, 0)));
}

}  // namespace
