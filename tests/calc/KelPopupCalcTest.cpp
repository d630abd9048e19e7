// The popup calculator: its layout, the preset, closing with a result by keys, cancelling
// without one, and staying open on an error.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <limits>

#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelPopupCalc.h"

namespace Kel {
namespace {

class KelPopupCalcTest : public ::testing::Test {
 protected:
  KelPopupCalcTest() : popup_(&form_) {
    auto* layout = new QVBoxLayout(&form_);
    editor_ = new QLineEdit(QStringLiteral("7"), &form_);
    layout->addWidget(editor_);
    form_.setGeometry(50, 50, 300, 200);
    form_.show();
    QApplication::setActiveWindow(&form_);
    editor_->setFocus();
  }
  // Opens like an editor does: preset from the edit, the value back into it on acceptance.
  void Open() {
    popup_.SetValue(Variant(editor_->text().toDouble()));
    popup_.PopupAtRect(editor_, TRect::FromQRect(editor_->rect()),
                       [this](TKelPopupForm*, bool canceled) {
                         closes_.push_back(canceled);
                         if (!canceled) editor_->setText(QString::number(popup_.Value()));
                       });
    ASSERT_TRUE(popup_.isVisible());
  }
  QWidget* Focus() const { return QApplication::focusWidget(); }

  QWidget form_;
  QLineEdit* editor_;
  TKelPopupCalcEdit popup_;
  std::vector<bool> closes_;
};

TEST_F(KelPopupCalcTest, TheDisplaySitsAboveTheCalculator) {
  Open();
  TKelCalculator* calc = popup_.Calculator();
  TKelCalcDisplay* display = popup_.Display();
  EXPECT_EQ(display->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(display->width(), calc->width() - 1);
  EXPECT_EQ(calc->y(), display->height() + 1);
  EXPECT_EQ(popup_.ClientRect().size(), QSize(calc->width(), calc->y() + calc->height()));
  EXPECT_EQ(display->BorderStyle(), bsNone);
  EXPECT_EQ(display->Text(), "7");
  EXPECT_EQ(Focus(), calc);
  // A larger font at the next opening gives a larger layout.
  const int width = calc->width();
  QFont font = editor_->font();
  font.setPixelSize(QFontInfo(font).pixelSize() * 2);
  editor_->setFont(font);
  popup_.HidePopup();
  Open();
  EXPECT_GT(calc->width(), width);
  EXPECT_EQ(display->width(), calc->width() - 1);
  EXPECT_EQ(popup_.ClientRect().size(), QSize(calc->width(), calc->y() + calc->height()));
}

TEST_F(KelPopupCalcTest, EnterClosesOnceWithTheResult) {
  Open();
  QTest::keyClicks(Focus(), "12*3");
  EXPECT_EQ(popup_.Display()->Text(), "3");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_FALSE(popup_.isVisible());
  EXPECT_EQ(closes_, std::vector<bool>{false});
  EXPECT_EQ(editor_->text(), "36");
  // "=" and "%" close on their own.
  Open();
  EXPECT_EQ(popup_.Display()->Text(), "36");
  QTest::keyClicks(Focus(), "+4=");
  EXPECT_EQ(editor_->text(), "40");
  Open();
  QTest::keyClicks(Focus(), "+50%");
  EXPECT_EQ(editor_->text(), "60");
  EXPECT_EQ(closes_, (std::vector<bool>{false, false, false}));
}

TEST_F(KelPopupCalcTest, EscAndAltArrowsCancelAndLeaveTheValue) {
  Open();
  QTest::keyClicks(Focus(), "99");
  QTest::keyClick(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(popup_.isVisible());
  EXPECT_EQ(editor_->text(), "7");
  Open();
  EXPECT_EQ(popup_.Display()->Text(), "7");  // a fresh preset, nothing of the cancelled typing
  QTest::keyClicks(Focus(), "5+");
  QTest::keyClick(Focus(), Qt::Key_Down, Qt::AltModifier);
  Open();
  QTest::keyClick(Focus(), Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(closes_, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(editor_->text(), "7");
  // The cancelled "5 +" left nothing pending for the next opening.
  Open();
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(editor_->text(), "7");
}

TEST_F(KelPopupCalcTest, AnErrorKeepsThePopupOpenUntilCleared) {
  Open();
  QTest::keyClicks(Focus(), "0r");
  EXPECT_EQ(popup_.Display()->Text(), "ERROR");
  EXPECT_TRUE(popup_.isVisible());
  // Neither "=" nor Enter accepts the error as a value.
  QTest::keyClicks(Focus(), "=");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_TRUE(popup_.isVisible());
  EXPECT_TRUE(closes_.empty());
  QTest::keyClicks(Focus(), "c");
  EXPECT_EQ(popup_.Display()->Text(), "0");
  QTest::keyClicks(Focus(), "8/0=");
  EXPECT_TRUE(popup_.isVisible());
  QTest::keyClicks(Focus(), "c2*4");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(editor_->text(), "8");
}

// What the popup hands over is a double: a result beyond the double range (the largest double
// times ten, or shown rounded above it) is the error state, never an infinity or a 0.
TEST_F(KelPopupCalcTest, AResultBeyondTheDoubleRangeIsAnError) {
  editor_->setText(QStringLiteral("1e308"));
  Open();
  QTest::keyClicks(Focus(), "*10=");
  EXPECT_EQ(popup_.Display()->Text(), "ERROR");
  EXPECT_TRUE(popup_.isVisible());
  popup_.Calculator()->SetPrecision(16);
  QTest::keyClicks(Focus(), "c");
  popup_.Calculator()->SetValue(std::numeric_limits<double>::max());
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(popup_.Display()->Text(), "ERROR");
  EXPECT_TRUE(closes_.empty());
  // Within the range, the nearest double: 18 digits shown, 17 handed over.
  popup_.Calculator()->SetPrecision(18);
  QTest::keyClicks(Focus(), "c2/3");
  QTest::keyClick(Focus(), Qt::Key_Return);
  EXPECT_EQ(closes_, std::vector<bool>{false});
  EXPECT_EQ(popup_.Value(), 2.0 / 3);
}

TEST_F(KelPopupCalcTest, AnEmptyPresetShowsZero) {
  popup_.SetValue(Variant(2.5));
  EXPECT_EQ(popup_.Display()->Text(), "2.5");
  popup_.SetValue(Variant());
  EXPECT_EQ(popup_.Display()->Text(), "0");
  EXPECT_EQ(popup_.Value(), 0);
}

}  // namespace
}  // namespace Kel
