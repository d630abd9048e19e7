// The calculator's arithmetic without a widget: results, typing limits, percent, memory, the
// error state and its recovery, number formatting, and a long random key sequence.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "CalcKeys.h"
#include "FormatSettings.h"
#include "KelCalcEngine.h"
#include "KelTranslate.h"
#include "NumberFormat.h"

namespace Kel {
namespace {

using Testing::CalcButtonOfLetter;

class KelCalcEngineTest : public ::testing::Test {
 protected:
  KelCalcEngineTest() {
    engine_.OnResult = [this] { ++results_; };
    engine_.OnError = [this] { ++errors_; };
    engine_.OnRefused = [this] { ++refusals_; };
    engine_.OnTextChange = [this](const QString&) { ++textChanges_; };
  }
  // Presses the buttons as the user would: the memory buttons only while they are enabled.
  QString Press(const QString& keys) {
    for (QChar c : keys) {
      const TKelCalcButtonKind kind = CalcButtonOfLetter(c);
      if (kind != ckNone && engine_.ButtonEnabled(kind)) engine_.Execute(kind);
    }
    return engine_.Text();
  }

  TKelCalcEngine engine_;
  int results_ = 0;
  int errors_ = 0;
  int refusals_ = 0;
  int textChanges_ = 0;
};

TEST_F(KelCalcEngineTest, StartsAtZeroShowingAResult) {
  EXPECT_EQ(engine_.Text(), "0");
  EXPECT_EQ(engine_.EntryState(), esResult);
  EXPECT_EQ(engine_.PendingOperator(), ckNone);
  EXPECT_EQ(engine_.MemoryValue(), 0);
  EXPECT_EQ(engine_.Precision(), 13);
}

TEST_F(KelCalcEngineTest, LeftToRightArithmeticWithOnePendingOperator) {
  EXPECT_EQ(Press("2+3="), "5");
  EXPECT_EQ(results_, 1);
  // A second "=" has ckEquals pending, which applies nothing: the same result again.
  EXPECT_EQ(Press("="), "5");
  EXPECT_EQ(engine_.PendingOperator(), ckEquals);
  EXPECT_EQ(results_, 2);
  EXPECT_EQ(Press("c 2+3*4="), "20");
  EXPECT_EQ(Press("c 10-4/3="), "2");
  EXPECT_EQ(Press("c 7/2="), "3.5");
  // An operator right after another replaces it without calculating.
  EXPECT_EQ(Press("c 6+*2="), "12");
  // A result is the left operand of the next operator.
  EXPECT_EQ(Press("c 2+3=*4="), "20");
}

TEST_F(KelCalcEngineTest, PercentOfTheLeftOperand) {
  EXPECT_EQ(Press("50+10%"), "55");
  EXPECT_EQ(results_, 1);
  EXPECT_EQ(Press("c 50*10%"), "5");
  EXPECT_EQ(Press("c 50-10%"), "45");
  EXPECT_EQ(Press("c 50/10%"), "500");
  // Without a pending operator percent only ends the entry.
  EXPECT_EQ(Press("c 30%"), "30");
}

TEST_F(KelCalcEngineTest, SquareRootAndReciprocalAfterAnOperatorKeepEntering) {
  EXPECT_EQ(Press("9+s"), "3");
  EXPECT_EQ(engine_.EntryState(), esEntering);
  EXPECT_EQ(Press("5"), "35");
  EXPECT_EQ(Press("="), "44");
  // Alone, the function shows a result: the next digit starts a new number.
  EXPECT_EQ(Press("c 16s"), "4");
  EXPECT_EQ(engine_.EntryState(), esResult);
  EXPECT_EQ(Press("2"), "2");
  EXPECT_EQ(Press("c 4r"), "0.25");
  EXPECT_EQ(Press("c 2s"), "1.414213562373");
}

TEST_F(KelCalcEngineTest, TypingStopsAtThePrecisionAMinusSignAllowsOneMore) {
  EXPECT_EQ(Press("1234567890123"), "1234567890123");
  EXPECT_EQ(refusals_, 0);
  EXPECT_EQ(Press("4"), "1234567890123");
  EXPECT_EQ(refusals_, 1);
  EXPECT_EQ(Press("n"), "-1234567890123");
  EXPECT_EQ(Press("4"), "-1234567890123");
  EXPECT_EQ(refusals_, 2);
  EXPECT_EQ(Press("b"), "-123456789012");
  EXPECT_EQ(Press("9"), "-1234567890129");
  // The separator counts as a character; a leading zero is replaced, not kept.
  EXPECT_EQ(Press("c 0.1234567890"), "0.1234567890");
  EXPECT_EQ(Press("1"), "0.12345678901");
  EXPECT_EQ(Press("2"), "0.12345678901");
  EXPECT_EQ(Press("c 00007"), "7");
  // Below 2 the precision acts as 2.
  engine_.SetPrecision(0);
  EXPECT_EQ(Press("c 123"), "12");
  EXPECT_EQ(Press("c 2s"), "1.4");
}

TEST_F(KelCalcEngineTest, EditingTheEntry) {
  EXPECT_EQ(Press("12.5"), "12.5");
  EXPECT_EQ(Press("."), "12.5");  // one separator only
  EXPECT_EQ(engine_.Value(), 12.5);
  EXPECT_EQ(Press("bbb"), "1");
  EXPECT_EQ(Press("b"), "0");
  EXPECT_EQ(Press("5n"), "-5");
  EXPECT_EQ(Press("b"), "0");  // a lone minus sign is no number
  EXPECT_EQ(Press("3."), "3.");
  EXPECT_EQ(engine_.Value(), 3);
  // Back on a shown result starts a new entry.
  EXPECT_EQ(Press("c 2+3=b"), "0");
  EXPECT_EQ(engine_.EntryState(), esEntering);
  // The sign of zero stays plain.
  EXPECT_EQ(Press("c n"), "0");
}

TEST_F(KelCalcEngineTest, MemoryRegister) {
  int memoryChanges = 0;
  engine_.OnMemoryChange = [&] { ++memoryChanges; };
  EXPECT_FALSE(engine_.ButtonEnabled(ckMemRecall));
  EXPECT_FALSE(engine_.ButtonEnabled(ckMemClear));
  EXPECT_TRUE(engine_.ButtonEnabled(ckMemStore));
  Press("7S");
  EXPECT_EQ(engine_.MemoryValue(), 7);
  EXPECT_EQ(memoryChanges, 1);
  EXPECT_TRUE(engine_.ButtonEnabled(ckMemRecall));
  EXPECT_EQ(Press("3P"), "3");
  EXPECT_EQ(engine_.MemoryValue(), 10);
  EXPECT_EQ(Press("c R"), "10");
  EXPECT_EQ(engine_.EntryState(), esResult);
  EXPECT_EQ(Press("2"), "2");
  // C leaves the memory alone; MC empties it and the buttons grey again.
  Press("c");
  EXPECT_EQ(engine_.MemoryValue(), 10);
  Press("L");
  EXPECT_EQ(engine_.MemoryValue(), 0);
  EXPECT_FALSE(engine_.ButtonEnabled(ckMemRecall));
  EXPECT_EQ(memoryChanges, 3);
}

TEST_F(KelCalcEngineTest, CalculationsWithoutAResultAreTheErrorState) {
  for (const char* keys : {"5/0=", "4ns", "0r", "1/0%"}) {
    SCOPED_TRACE(keys);
    errors_ = 0;
    results_ = 0;
    EXPECT_EQ(Press(QStringLiteral("c") + keys), "ERROR");
    EXPECT_EQ(engine_.EntryState(), esError);
    EXPECT_EQ(engine_.Value(), 0);
    EXPECT_EQ(errors_, 1);
    // A failed "=" reports no result.
    EXPECT_EQ(results_, 0);
  }
  // Overflow beyond the extended range and 0/0 never show "inf" or "nan".
  const TKelCalcNumber largest = std::numeric_limits<TKelCalcNumber>::max() * 0.6L;
  engine_.SetValue(largest);
  EXPECT_EQ(Press("*10="), "ERROR");
  engine_.SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(engine_.Text(), "ERROR");
  engine_.SetValue(largest);
  Press("S");
  const TKelCalcNumber stored = engine_.MemoryValue();
  EXPECT_GT(stored, 0);
  EXPECT_EQ(Press("P"), "ERROR");
  EXPECT_EQ(engine_.MemoryValue(), stored);
}

// The accumulator and the memory hold the extended type: 18 digits come out right, and
// results beyond the double range are numbers like any other.
TEST_F(KelCalcEngineTest, ComputesInTheExtendedType) {
  if (std::numeric_limits<TKelCalcNumber>::digits < 64) GTEST_SKIP() << "long double is a double";
  struct Case {
    int precision;
    const char* keys;
    const char* shown;
  };
  const Case cases[] = {
      {17, "0.1+0.2=", "0.3"},
      {18, "2/3=", "0.666666666666666667"},
      {18, "123456789012345678+1=", "123456789012345679"},
      {18, "123456789012345678S c 1P R", "123456789012345679"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    engine_.SetPrecision(c.precision);
    EXPECT_EQ(Press(QStringLiteral("c ") + c.keys), c.shown);
  }
  engine_.SetPrecision(13);
  engine_.SetValue(1e300);
  EXPECT_EQ(Press("*10000000000="), "1E310");
  EXPECT_EQ(Press("/10000000000="), "1E300");
}

// Rounded to the digits shown, the largest numbers pass the end of the range: such a result is
// the error state, never a 0 that the next key would go on from.
TEST_F(KelCalcEngineTest, AResultWhoseTextDoesNotReadBackIsAnError) {
  engine_.SetPrecision(16);
  errors_ = 0;
  engine_.SetValue(std::numeric_limits<TKelCalcNumber>::max());
  EXPECT_EQ(engine_.Text(), "ERROR");
  EXPECT_EQ(errors_, 1);
  EXPECT_EQ(Press("+1="), "ERROR");
  EXPECT_EQ(engine_.Value(), 0);
  // The largest double, whose 16 digits lie beyond the double range, is a number now.
  engine_.SetValue(std::numeric_limits<double>::max());
  EXPECT_EQ(engine_.Text(), "1.797693134862316E308");
  EXPECT_EQ(Press("/2="), "8.98846567431158E307");
}

TEST_F(KelCalcEngineTest, InTheErrorStateOnlyClearAndClearEntryAct) {
  Press("9S 0r");
  ASSERT_EQ(engine_.Text(), "ERROR");
  errors_ = 0;
  for (const char* keys : {"5", "+", "=", "s", "n", ".", "b", "R", "S", "P", "L", "%"}) {
    SCOPED_TRACE(keys);
    EXPECT_EQ(Press(keys), "ERROR");
  }
  EXPECT_EQ(errors_, 12);
  EXPECT_EQ(engine_.MemoryValue(), 9);
  EXPECT_EQ(Press("e"), "0");
  EXPECT_EQ(engine_.EntryState(), esResult);
  EXPECT_EQ(engine_.PendingOperator(), ckEquals);
  EXPECT_EQ(Press("2+2="), "4");
  EXPECT_EQ(Press("0r c"), "0");
}

TEST_F(KelCalcEngineTest, FormatsWithThePrecisionAndTheDecimalSeparator) {
  engine_.SetValue(1.0 / 3);
  EXPECT_EQ(engine_.Text(), "0.3333333333333");
  engine_.SetPrecision(4);
  engine_.SetValue(2.0 / 3);
  EXPECT_EQ(engine_.Text(), "0.6667");
  engine_.SetValue(123456);
  EXPECT_EQ(engine_.Text(), "1.235E5");
  engine_.SetPrecision(13);
  engine_.SetValue(1e-7);
  EXPECT_EQ(engine_.Text(), "1E-7");
  // A result in scientific notation is not typed into: the next digit starts afresh, so the
  // display always stays a number.
  EXPECT_EQ(Press("+s"), "0.0003162277660168");
  engine_.SetValue(1e-20);
  EXPECT_EQ(Press("+s"), "1E-10");
  EXPECT_EQ(engine_.EntryState(), esEntering);
  EXPECT_EQ(Press("b"), "0");
  engine_.SetValue(1e-20);
  EXPECT_EQ(Press("+s."), "0.");
  engine_.SetValue(1e-20);
  EXPECT_EQ(Press("+s5"), "5");

  FormatSettingsGuard guard;
  TFormatSettings settings = FormatSettings();
  settings.DecimalSeparator = u',';
  SetFormatSettings(settings);
  EXPECT_EQ(Press("c 1.5"), "1,5");
  EXPECT_EQ(engine_.Value(), 1.5);
  EXPECT_EQ(Press("c 1.5*2="), "3");
  EXPECT_EQ(Press("c 1.5+1="), "2,5");
  EXPECT_EQ(engine_.Value(), 2.5);
}

TEST_F(KelCalcEngineTest, TheDisplayChangesOnlyWhenItsTextDiffers) {
  Press("12");
  textChanges_ = 0;
  Press("e");
  EXPECT_EQ(textChanges_, 1);
  Press("ec00");  // still "0"
  EXPECT_EQ(textChanges_, 1);
}

TEST_F(KelCalcEngineTest, TheErrorTextIsTranslated) {
  const TKelTranslateTextProc previous =
      SetTranslateTextProc([](const QString& text) { return text == "ERROR" ? "FEHLER" : text; });
  Press("0r");
  SetTranslateTextProc(previous);
  EXPECT_EQ(engine_.Text(), "FEHLER");
  EXPECT_EQ(engine_.Value(), 0);
}

// Thousands of random presses: the engine never crashes, and the display is always a number or
// exactly the error text, whatever the order of keys.
TEST_F(KelCalcEngineTest, RandomPressesAlwaysLeaveANumberOrTheErrorText) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> button(ckBack, ckEquals);
  std::uniform_int_distribution<int> precision(0, 20);
  for (int i = 0; i < 20000; ++i) {
    if (i % 2000 == 0) engine_.SetPrecision(precision(random));
    const auto kind = static_cast<TKelCalcButtonKind>(button(random));
    if (!engine_.ButtonEnabled(kind)) continue;
    engine_.Execute(kind);
    const QString text = engine_.Text();
    if (engine_.EntryState() == esError) {
      ASSERT_EQ(text, "ERROR") << "after press " << i;
      continue;
    }
    TKelCalcNumber value = 0;
    ASSERT_TRUE(TryStrToExtended(text, value, u'.'))
        << "after press " << i << ": " << text.toStdString();
    ASSERT_TRUE(std::isfinite(value)) << text.toStdString();
    ASSERT_LE(text.size(), std::max(2, engine_.Precision()) + 8) << text.toStdString();
  }
}

}  // namespace
}  // namespace Kel
