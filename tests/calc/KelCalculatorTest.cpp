// The calculator control: its grid from the font, clicks with press tracking, the keys and
// characters, greyed memory buttons, the events and the associated display, and many random
// keys through the real key path.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <random>

#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelDrawing.h"
#include "MessageBeep.h"

namespace Kel {
namespace {

class KelCalculatorTest : public ::testing::Test {
 protected:
  KelCalculatorTest() {
    calc_.SetAssociate(&display_);
    calc_.OnResult = [this](QObject* sender) {
      EXPECT_EQ(sender, &calc_);
      ++results_;
    };
    calc_.OnCalcError = [this](QObject*) { ++errors_; };
    calc_.OnButtonClick = [this](QObject*, TKelCalcButtonKind& kind) { clicked_.push_back(kind); };
    previousBeep_ = SetMessageBeepHook([this] { ++beeps_; });
    calc_.show();
  }
  ~KelCalculatorTest() override { SetMessageBeepHook(previousBeep_); }

  QPoint Centre(TKelCalcButtonKind kind) const {
    const int border = calc_.BorderWidth();
    return calc_.ButtonRect(kind).ToQRect().center() + QPoint(border, border);
  }
  void Click(TKelCalcButtonKind kind) {
    QTest::mouseClick(&calc_, Qt::LeftButton, {}, Centre(kind));
  }
  void Type(const char* text) { QTest::keyClicks(&calc_, text); }

  TKelCalculator calc_;
  TKelCalcDisplay display_;
  int results_ = 0;
  int errors_ = 0;
  int beeps_ = 0;
  std::vector<TKelCalcButtonKind> clicked_;
  TMessageBeepHook previousBeep_;
};

TEST_F(KelCalculatorTest, TheGridFollowsTheFontAndTheSizeIsFixed) {
  const QFontMetrics metrics(calc_.font());
  const int bw = metrics.horizontalAdvance("00000");
  EXPECT_EQ(calc_.ButtonWidth(), bw);
  EXPECT_EQ(calc_.ButtonHeight(), qRound(1.8 * metrics.height()));
  const int bh = calc_.ButtonHeight();
  const QSize client(30 + 6 * bw + 20, 20 + 5 * bh + 20);
  EXPECT_EQ(calc_.size(), client);
  // The memory column a full margin apart, the keypad in steps of a button and a spacing.
  EXPECT_EQ(calc_.ButtonRect(ckMemClear), Bounds(10, bh + 15, bw, bh));
  EXPECT_EQ(calc_.ButtonRect(ck7).Left, bw + 5 + 20 - 5);
  EXPECT_EQ(calc_.ButtonRect(ckEquals), Bounds(5 * (bw + 5) + 15, 4 * (bh + 5) + 10, bw, bh));
  EXPECT_EQ(calc_.ButtonRect(ckEquals).Right, client.width() - 10);
  // The top row ends at the right margin, its three buttons sharing the keypad's width.
  const int w = (5 * bw + 20) / 3 - 5;
  EXPECT_EQ(calc_.ButtonRect(ckClear), Bounds(client.width() - 10 - w, 10, w, bh));
  EXPECT_EQ(calc_.ButtonRect(ckBack).Right + 5, calc_.ButtonRect(ckClearEntry).Left);
  // Every button is found at its centre; the gaps between them hold none.
  for (int k = ckBack; k <= ckEquals; ++k) {
    const auto kind = static_cast<TKelCalcButtonKind>(k);
    const QPoint c = calc_.ButtonRect(kind).ToQRect().center();
    EXPECT_EQ(calc_.ButtonAt(c.x(), c.y()), kind);
  }
  EXPECT_EQ(calc_.ButtonAt(calc_.ButtonRect(ck7).Right + 2, calc_.ButtonRect(ck7).Top + 2), ckNone);
  EXPECT_EQ(calc_.ButtonAt(5, 5), ckNone);
  // A resize is refused; a bigger font makes a bigger calculator.
  calc_.resize(50, 50);
  EXPECT_EQ(calc_.size(), client);
  QFont font = calc_.font();
  font.setPixelSize(QFontInfo(font).pixelSize() * 2);
  calc_.setFont(font);
  EXPECT_GT(calc_.width(), client.width() + 6 * bw / 2);
  // A border adds to the size, the grid stays.
  const QSize big = calc_.size();
  calc_.SetBorderStyle(bsSingle);
  EXPECT_EQ(calc_.size(), big + QSize(2 * calc_.BorderWidth(), 2 * calc_.BorderWidth()));
}

TEST_F(KelCalculatorTest, ClicksExecuteOnReleaseOverTheButton) {
  Click(ck2);
  Click(ckAdd);
  Click(ck3);
  Click(ckEquals);
  EXPECT_EQ(display_.Text(), "5");
  EXPECT_EQ(results_, 1);
  EXPECT_EQ(clicked_, (std::vector<TKelCalcButtonKind>{ck2, ckAdd, ck3, ckEquals}));
  // Pressed on 7, dragged off: shown up, and releasing there does nothing.
  QTest::mousePress(&calc_, Qt::LeftButton, {}, Centre(ck7));
  EXPECT_TRUE(calc_.ButtonShownDown());
  QTest::mouseMove(&calc_, Centre(ck8));
  EXPECT_FALSE(calc_.ButtonShownDown());
  QTest::mouseMove(&calc_, Centre(ck7));
  EXPECT_TRUE(calc_.ButtonShownDown());
  QTest::mouseMove(&calc_, Centre(ck9));
  QTest::mouseRelease(&calc_, Qt::LeftButton, {}, Centre(ck9));
  EXPECT_EQ(display_.Text(), "5");
  EXPECT_EQ(calc_.PressedButton(), ckNone);
  // What a handler writes into the kind does not change the button executed.
  calc_.OnButtonClick = [](QObject*, TKelCalcButtonKind& kind) { kind = ckClear; };
  Click(ck9);
  EXPECT_EQ(display_.Text(), "9");
}

TEST_F(KelCalculatorTest, MemoryButtonsAreGreyedAndInertAtZero) {
  EXPECT_FALSE(calc_.ButtonEnabled(ckMemRecall));
  EXPECT_FALSE(calc_.ButtonEnabled(ckMemClear));
  Type("42");
  clicked_.clear();
  Click(ckMemRecall);
  Click(ckMemClear);
  QTest::keyClick(&calc_, Qt::Key_R, Qt::ControlModifier);
  QTest::keyClick(&calc_, Qt::Key_L, Qt::ControlModifier);
  EXPECT_TRUE(clicked_.empty());
  EXPECT_EQ(display_.Text(), "42");
  EXPECT_EQ(calc_.EntryState(), esEntering);
  QTest::keyClick(&calc_, Qt::Key_M, Qt::ControlModifier);  // MS
  EXPECT_EQ(calc_.MemoryValue(), 42);
  EXPECT_TRUE(calc_.ButtonEnabled(ckMemRecall));
  Type("8");
  QTest::keyClick(&calc_, Qt::Key_P, Qt::ControlModifier);  // M+
  EXPECT_EQ(calc_.MemoryValue(), 50);
  QTest::keyClick(&calc_, Qt::Key_Escape);
  QTest::keyClick(&calc_, Qt::Key_R, Qt::ControlModifier);  // MR
  EXPECT_EQ(display_.Text(), "50");
  Click(ckMemClear);
  EXPECT_FALSE(calc_.ButtonEnabled(ckMemRecall));
  // A disabled calculator takes no clicks at all.
  calc_.setEnabled(false);
  Click(ck1);
  calc_.PressButton(ck1);
  EXPECT_EQ(display_.Text(), "50");
}

TEST_F(KelCalculatorTest, KeysAndCharactersPressTheirButtons) {
  struct Case {
    const char* typed;
    QString shown;
  } cases[] = {
      {"12*3=", "36"}, {"50+10%", "55"}, {"81@", "9"},    {"123\b", "12"},
      {"4/8=", "0.5"}, {"7-9=", "-2"},   {"2.5*2=", "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QTest::keyClick(&calc_, Qt::Key_Escape);
    Type(c.typed);
    EXPECT_EQ(display_.Text(), c.shown);
  }
  Type("8");
  QTest::keyClick(&calc_, Qt::Key_F9);
  EXPECT_EQ(display_.Text(), "-8");
  QTest::keyClick(&calc_, Qt::Key_R);
  EXPECT_EQ(display_.Text(), "-0.125");
  QTest::keyClick(&calc_, Qt::Key_C);
  EXPECT_EQ(display_.Text(), "0");
  Type("5+4");
  QTest::keyClick(&calc_, Qt::Key_Delete);
  // CE, like C, also drops the pending operator.
  Type("1");
  QTest::keyClick(&calc_, Qt::Key_Return);
  EXPECT_EQ(display_.Text(), "1");
  // Letters and Ctrl combinations without a button go on.
  QKeyEvent other(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(&calc_, &other);
  EXPECT_FALSE(other.isAccepted());
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(&calc_, &enter);
  EXPECT_TRUE(enter.isAccepted());
}

TEST_F(KelCalculatorTest, AKeyShowsItsButtonDownForAMoment) {
  Type("7");
  EXPECT_EQ(calc_.PressedButton(), ck7);
  EXPECT_TRUE(calc_.ButtonShownDown());
  Type("8");  // the 7 is released first
  EXPECT_EQ(calc_.PressedButton(), ck8);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !calc_.ButtonShownDown(); }, 1000));
  EXPECT_EQ(calc_.PressedButton(), ckNone);
}

TEST_F(KelCalculatorTest, ErrorsFireEveryTimeAndBeepOnlyWhenAsked) {
  Type("0");
  QTest::keyClick(&calc_, Qt::Key_R);
  EXPECT_EQ(display_.Text(), "ERROR");
  EXPECT_EQ(errors_, 1);
  Type("5+=");
  EXPECT_EQ(display_.Text(), "ERROR");
  EXPECT_EQ(errors_, 4);
  EXPECT_EQ(results_, 0);
  EXPECT_EQ(beeps_, 0);
  calc_.SetBeepOnError(true);
  Type("1");
  EXPECT_EQ(beeps_, 1);
  QTest::keyClick(&calc_, Qt::Key_Delete);
  EXPECT_EQ(display_.Text(), "0");
  Type("12345678901234");  // the fourteenth digit is refused with a beep
  EXPECT_EQ(display_.Text(), "1234567890123");
  EXPECT_EQ(beeps_, 2);
}

TEST_F(KelCalculatorTest, TheAssociateGetsTheTextAndMayGoAway) {
  auto* edit = new QLineEdit;
  Type("12");
  calc_.SetAssociate(edit);
  EXPECT_EQ(edit->text(), "12");  // at once
  Type("3");
  EXPECT_EQ(edit->text(), "123");
  EXPECT_EQ(display_.Text(), "12");  // no longer associated
  delete edit;
  EXPECT_EQ(calc_.Associate(), nullptr);
  Type("4");
  EXPECT_EQ(calc_.DisplayText(), "1234");
}

// Thousands of random keys through the key path: no crash, and the display always a number or
// exactly the error text.
TEST_F(KelCalculatorTest, RandomKeysKeepTheDisplayANumberOrTheErrorText) {
  calc_.SetAssociate(nullptr);
  const QString chars = QStringLiteral("0123456789+-*/%=@.\bcr");
  const Qt::Key specials[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_F9};
  const Qt::Key memory[] = {Qt::Key_L, Qt::Key_M, Qt::Key_P, Qt::Key_R};
  std::mt19937 random(4711);
  for (int i = 0; i < 4000; ++i) {
    const int pick = int(random() % 30);
    if (pick < chars.size())
      QTest::keyClicks(&calc_, QString(chars[pick]));
    else if (pick < chars.size() + 4)
      QTest::keyClick(&calc_, specials[random() % 4]);
    else
      QTest::keyClick(&calc_, memory[random() % 4], Qt::ControlModifier);
    const QString text = calc_.DisplayText();
    if (calc_.EntryState() == esError) {
      ASSERT_EQ(text, "ERROR");
    } else {
      bool ok = false;
      text.toDouble(&ok);
      ASSERT_TRUE(ok) << "after key " << i << ": " << text.toStdString();
    }
  }
}

}  // namespace
}  // namespace Kel

namespace Kel {
namespace {

// The darkest pixels of the display's inside (its border left out): where the text is.
QRect TextPixels(const QImage& image, int border, int darkerThan) {
  QRect found;
  for (int y = border; y < image.height() - border; ++y)
    for (int x = border; x < image.width() - border; ++x)
      if (image.pixelColor(x, y).lightness() < darkerThan) found |= QRect(x, y, 1, 1);
  return found;
}

TEST(KelCalcDisplay, EditHeightRightAlignedTextGreyWhenDisabled) {
  TKelCalcDisplay display;
  EXPECT_EQ(display.Text(), "0");
  EXPECT_EQ(display.width(), 100);
  EXPECT_EQ(display.height(), EditHeightForFont(display.font(), true));
  display.resize(160, 80);
  EXPECT_EQ(display.size(), QSize(160, EditHeightForFont(display.font(), true)));
  QFont font = display.font();
  font.setPixelSize(QFontInfo(font).pixelSize() * 2);
  display.setFont(font);
  EXPECT_EQ(display.height(), EditHeightForFont(font, true));

  display.SetText("12&5");
  const QRect text = TextPixels(display.grab().toImage(), 3, 110);
  ASSERT_FALSE(text.isEmpty());
  EXPECT_GT(text.left(), display.width() / 2);
  EXPECT_GT(text.right(), display.width() - 12);
  display.setEnabled(false);
  EXPECT_TRUE(TextPixels(display.grab().toImage(), 3, 110).isEmpty());
}

}  // namespace
}  // namespace Kel
