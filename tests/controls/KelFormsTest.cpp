// The popup window: placement near every edge of a (fake) work area, the closing keys and
// their Canceled, hiding without callback when a click lands outside, the owner window keeping
// its activation, the band and the user's resizing.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include "Forms.h"
#include "KelForms.h"
#include "VirtualKeys.h"

namespace Kel {
namespace {

// A popup placed against a fake screen: 1000 x 700 at (100, 50), task bar 40 pixels at the
// bottom.
class TFakeScreenPopup : public TKelPopupForm {
 public:
  using TKelPopupForm::TKelPopupForm;
  static constexpr TRect kScreen{100, 50, 1100, 750};
  static constexpr TRect kWorkArea{100, 50, 1100, 710};

 protected:
  TRect WorkAreaFor(const TRect&) const override { return kWorkArea; }
  TRect ScreenRectFor(const TRect&) const override { return kScreen; }
};

TEST(KelPopupPlacement, BelowAboveAndShiftedAtTheEdges) {
  TFakeScreenPopup popup;
  popup.resize(200, 150);
  const auto placed = [&](TRect r) {
    popup.PlacePopup(r);
    return TPoint{popup.x(), popup.y()};
  };
  // Room below: under the rectangle, left edges aligned.
  EXPECT_EQ(placed(Rect(300, 200, 400, 220)), Point(300, 220));
  // No room above the task bar: above the rectangle, overlapping its top line by one pixel.
  EXPECT_EQ(placed(Rect(300, 600, 400, 620)), Point(300, 600 - 150 + 1));
  // Right edge: shifted left to end at the work area's right edge.
  EXPECT_EQ(placed(Rect(1050, 200, 1090, 220)), Point(1100 - 200, 220));
  // Left of the work area: moved onto it.
  EXPECT_EQ(placed(Rect(20, 200, 120, 220)), Point(100, 220));
  // Neither below nor above: kept on the screen, at its top.
  popup.resize(200, 690);
  EXPECT_EQ(placed(Rect(300, 300, 400, 320)), Point(300, 50));
  // Wider than the screen: at the screen's left edge.
  popup.resize(1200, 100);
  EXPECT_EQ(placed(Rect(300, 200, 400, 220)).X, 100);
}

TEST(KelPopupPlacement, SetBoundsKeepsThePopupOnTheScreen) {
  const TRect screen = Rect(0, 0, 800, 600);
  EXPECT_EQ(TKelPopupForm::KeepOnScreen(Bounds(700, 550, 200, 100), screen), Bounds(600, 500, 200, 100));
  EXPECT_EQ(TKelPopupForm::KeepOnScreen(Bounds(-20, -5, 200, 100), screen), Bounds(0, 0, 200, 100));
  // A second screen to the right of the first keeps popups on itself.
  EXPECT_EQ(TKelPopupForm::KeepOnScreen(Bounds(790, 10, 100, 100), Rect(800, 0, 1600, 600)),
            Bounds(800, 10, 100, 100));
}

class KelPopupTest : public ::testing::Test {
 protected:
  KelPopupTest() {
    auto* layout = new QVBoxLayout(&form_);
    opener_ = new QLineEdit(&form_);
    layout->addWidget(opener_);
    form_.setGeometry(50, 50, 300, 200);
    form_.show();
    QApplication::setActiveWindow(&form_);
    opener_->setFocus();
    inner_ = new QLineEdit(&popup_);
    popup_.SetClientControl(inner_);
    popup_.SetClientSize(QSize(150, 60));
  }
  void Open() {
    popup_.PopupAtRect(opener_, TRect::FromQRect(opener_->rect()), [this](TKelPopupForm* sender, bool canceled) {
      EXPECT_EQ(sender, &popup_);
      results_.push_back(canceled);
    });
    ASSERT_TRUE(popup_.isVisible());
  }

  QWidget form_;
  QLineEdit* opener_;
  TKelPopupForm popup_;
  QLineEdit* inner_;
  std::vector<bool> results_;
};

TEST_F(KelPopupTest, OpensUnderTheControlWithItsFontAndTheFocusInside) {
  QFont font = opener_->font();
  font.setPixelSize(17);
  opener_->setFont(font);
  Open();
  const QPoint below = opener_->mapToGlobal(QPoint(0, opener_->height()));
  EXPECT_EQ(popup_.pos(), below);
  EXPECT_EQ(popup_.font().pixelSize(), 17);
  EXPECT_EQ(popup_.OwnerForm(), &form_);
  EXPECT_EQ(QApplication::focusWidget(), inner_);
  EXPECT_EQ(QApplication::activeWindow(), &form_);  // the owner keeps its active look
  EXPECT_EQ(QApplication::activePopupWidget(), &popup_);
  EXPECT_EQ(popup_.ClientRect().size(), QSize(150, 60));
}

TEST_F(KelPopupTest, EnterAcceptsAfterTheFormsOwnKeyHandling) {
  QStringList seen;
  popup_.OnKeyDown = [&](TKelPopupForm*, int& key, TShiftState) {
    seen.append(QString::number(key));
    EXPECT_TRUE(results_.empty());  // not yet closed
  };
  Open();
  QTest::keyClick(inner_, Qt::Key_Return);
  EXPECT_EQ(seen, QStringList{QString::number(VK_RETURN)});
  EXPECT_EQ(results_, std::vector<bool>{false});
  EXPECT_FALSE(popup_.isVisible());
  // A handler that takes the key keeps the popup open.
  popup_.OnKeyDown = [](TKelPopupForm*, int& key, TShiftState) { key = 0; };
  Open();
  QTest::keyClick(inner_, Qt::Key_Return);
  EXPECT_TRUE(popup_.isVisible());
  EXPECT_EQ(results_.size(), 1u);
}

TEST_F(KelPopupTest, EscAndAltArrowsCancelOtherKeysReachTheControl) {
  Open();
  QTest::keyClicks(inner_, "ab");
  EXPECT_EQ(inner_->text(), "ab");
  QTest::keyClick(inner_, Qt::Key_Escape);
  Open();
  QTest::keyClick(inner_, Qt::Key_Down, Qt::AltModifier);
  Open();
  QTest::keyClick(inner_, Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(results_, (std::vector<bool>{true, true, true}));
  Open();
  QTest::keyClick(inner_, Qt::Key_Down);  // without Alt: the control's key
  EXPECT_TRUE(popup_.isVisible());
}

TEST_F(KelPopupTest, AClickOutsideHidesWithoutCallback) {
  Open();
  QWindow* window = form_.windowHandle();
  ASSERT_NE(window, nullptr);
  QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(280, 190));
  QTRY_VERIFY(!popup_.isVisible());
  EXPECT_TRUE(results_.empty());
  // Opened again, it works as before.
  Open();
  QTest::keyClick(inner_, Qt::Key_Return);
  EXPECT_EQ(results_, std::vector<bool>{false});
}

TEST_F(KelPopupTest, PopupAtPointTakesTheControlsBackground) {
  QPalette palette = opener_->palette();
  opener_->setBackgroundRole(QPalette::Button);
  popup_.PopupAtPoint(opener_, nullptr, 10, 5);
  EXPECT_EQ(popup_.pos(), opener_->mapToGlobal(QPoint(10, 5)));
  EXPECT_EQ(popup_.Color(), clBtnFace);
  popup_.ClosePopup(false);  // without callback: nothing to call
  EXPECT_FALSE(popup_.isVisible());
}

TEST_F(KelPopupTest, BandTakesItsScaledHeightFromTheClientArea) {
  const QSize client = popup_.ClientRect().size();
  popup_.SetBandOptions({boSizeGrip});
  EXPECT_EQ(popup_.ScaledBandHeight(), ScaleByFont(26, popup_.font()));
  EXPECT_EQ(popup_.ClientRect().size(), client);  // the window grew by the band
  EXPECT_EQ(popup_.height(), client.height() + 2 * popup_.FrameWidth() + popup_.ScaledBandHeight());
  QFont larger = popup_.font();
  larger.setPixelSize(QFontInfo(larger).pixelSize() * 2);
  popup_.setFont(larger);
  EXPECT_GT(popup_.ScaledBandHeight(), ScaleByFont(26, QApplication::font()));
}

// Sizes snap to multiples of 10 pixels of height.
class TSnappingPopup : public TKelPopupForm {
 public:
  using TKelPopupForm::TKelPopupForm;

 protected:
  void AdjustSizing(QSize& size) override { size.setHeight(size.height() / 10 * 10); }
};

TEST(KelPopupSizing, TheUserResizesAtTheEdgesThroughAdjustSizing) {
  QWidget form;
  form.setGeometry(20, 20, 200, 100);
  form.show();
  TSnappingPopup popup(&form);
  popup.SetBorderStyle(bsSizeable);
  popup.resize(200, 150);
  popup.PopupAtRect(&form, Rect(0, 0, 10, 10), nullptr);
  const QPoint edge(100, popup.height() - 2);
  QTest::mousePress(&popup, Qt::LeftButton, {}, edge);
  QTest::mouseMove(&popup, edge + QPoint(0, 37));
  QTest::mouseRelease(&popup, Qt::LeftButton, {}, edge + QPoint(0, 37));
  EXPECT_EQ(popup.height(), 180);  // 150 + 37, snapped
  EXPECT_EQ(popup.width(), 200);
  popup.resize(200, 123);  // a program's resize snaps too
  EXPECT_EQ(popup.height(), 120);
  popup.HidePopup();
}

TEST(KelMainFormFont, OnlyControlsWithoutAFontOfTheirOwn) {
  QWidget mainForm;
  QFont font = mainForm.font();
  font.setPixelSize(31);
  mainForm.setFont(font);
  QWidget plain, own;
  QFont ownFont = own.font();
  ownFont.setPixelSize(9);
  own.setFont(ownFont);
  ApplyMainFormFont(&plain);  // no main form yet
  EXPECT_NE(plain.font().pixelSize(), 31);
  SetApplicationMainForm(&mainForm);
  ApplyMainFormFont(&own);
  EXPECT_EQ(own.font().pixelSize(), 9);
  SetUseMainFormFont(false);
  ApplyMainFormFont(&plain);
  EXPECT_NE(plain.font().pixelSize(), 31);
  SetUseMainFormFont(true);
  ApplyMainFormFont(&plain);
  EXPECT_EQ(plain.font().pixelSize(), 31);
  SetApplicationMainForm(nullptr);
}

}  // namespace
}  // namespace Kel
