// Pictures of the calculator (enabled, disabled, dark palette, with a display) and of the open
// popup calculator, at scale 1 and 2 (build/gallery/calc_*.png). Each picture is also checked
// for the caption colours that must, or must not, be in it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "Gallery.h"
#include "KelBtPan.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelPopupCalc.h"

namespace Kel {
namespace {

using Testing::RenderParts;
using Testing::SaveGalleryPictures;

// Pixels close to the colour, counted.
int CountNear(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) <
          40)
        ++count;
    }
  return count;
}

// A calculator under its display, with memory in use so that every button is enabled.
struct TCalcSample {
  QWidget frame;
  TKelCalcDisplay* display = new TKelCalcDisplay(&frame);
  TKelCalculator* calc = new TKelCalculator(&frame);

  TCalcSample() {
    calc->SetAssociate(display);
    calc->SetBorderStyle(bsSingle);
    QTest::keyClicks(calc, "1234.5");
    calc->PressButton(ckMemStore);
    QTest::keyClicks(calc, "*2");
    display->setGeometry(8, 8, calc->width(), display->height());
    calc->move(8, display->geometry().bottom() + 5);
    frame.resize(calc->width() + 16, calc->geometry().bottom() + 9);
  }
};

TEST(CalcGallery, CalculatorEnabledDisabledAndDark) {
  TCalcSample sample;
  QImage enabled = RenderParts({{&sample.frame, {}}}, 1);
  EXPECT_GT(CountNear(enabled, QColor(255, 0, 0)), 50);
  EXPECT_GT(CountNear(enabled, QColor(0, 0, 255)), 50);
  EXPECT_EQ(SaveGalleryPictures("calc_calculator", {{&sample.frame, {}}}).size(), 2);

  sample.frame.setEnabled(false);
  const QImage disabled = RenderParts({{&sample.frame, {}}}, 1);
  EXPECT_EQ(CountNear(disabled, QColor(255, 0, 0)), 0);
  EXPECT_EQ(CountNear(disabled, QColor(0, 0, 255)), 0);
  EXPECT_EQ(SaveGalleryPictures("calc_calculator_disabled", {{&sample.frame, {}}}).size(), 2);

  sample.frame.setEnabled(true);
  sample.frame.setPalette(Testing::DarkPalette());
  const QImage dark = RenderParts({{&sample.frame, {}}}, 1);
  EXPECT_LT(dark.pixelColor(4, 4).lightness(), 100);
  EXPECT_EQ(SaveGalleryPictures("calc_calculator_dark", {{&sample.frame, {}}}).size(), 2);
}

TEST(CalcGallery, MemoryButtonsEngravedAtZero) {
  TKelCalculator calc;
  calc.show();
  QTest::keyClicks(&calc, "3.75");
  EXPECT_EQ(SaveGalleryPictures("calc_calculator_memory_empty", {{&calc, {}}}).size(), 2);
}

TEST(CalcGallery, PopupCalculator) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* edit = new QLineEdit(QStringLiteral("36"), &form);
  layout->addWidget(edit);
  layout->addStretch();
  form.setGeometry(50, 50, 280, 320);
  form.show();
  QApplication::setActiveWindow(&form);
  TKelPopupCalcEdit popup(&form);
  popup.SetValue(Variant(36.0));
  popup.PopupAtRect(edit, TRect::FromQRect(edit->rect()), nullptr);
  ASSERT_TRUE(popup.isVisible());
  QTest::keyClicks(popup.Calculator(), "+6");
  const QPoint offset = popup.pos() - form.mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(SaveGalleryPictures("calc_popup", {{&form, {}}, {&popup, offset}}).size(), 2);
  EXPECT_GT(CountNear(RenderParts({{&popup, {}}}, 1), QColor(0, 0, 255)), 50);
  popup.HidePopup();
}

}  // namespace
}  // namespace Kel

namespace Kel {
namespace {

// Nine panels, one for each pair of alignments, in one direction.
struct TPanelGrid {
  QWidget frame;
  std::vector<TKelBtnPanel*> panels;

  explicit TPanelGrid(TKelDirection direction) {
    frame.resize(3 * 288 + 8, 3 * 158 + 8);
    for (int v = 0; v < 3; ++v)
      for (int h = 0; h < 3; ++h) {
        auto* panel = new TKelBtnPanel(&frame);
        panel->move(8 + h * 288, 8 + v * 158);
        panel->SetDefButtons(pbOkCancelHelp);
        panel->SetDirection(direction);
        panel->SetHorzAlign(static_cast<TKelHorzAlign>(h));
        panel->SetVertAlign(static_cast<TKelVertAlign>(v));
        panels.push_back(panel);
      }
  }
};

TEST(CalcGallery, ButtonPanelsInEveryAlignmentAndDirection) {
  for (TKelDirection direction : {diHorizontal, diVertical}) {
    TPanelGrid grid(direction);
    grid.frame.show();
    // Every button lies inside its panel.
    for (TKelBtnPanel* panel : grid.panels)
      for (int i = 0; i < panel->ButtonList()->Count(); ++i)
        EXPECT_TRUE(panel->rect().contains(panel->ButtonList()->Items(i)->Control()->geometry()));
    const QString name =
        direction == diHorizontal ? "calc_btnpanel_horizontal" : "calc_btnpanel_vertical";
    EXPECT_EQ(SaveGalleryPictures(name, {{&grid.frame, {}}}).size(), 2);
    if (direction == diHorizontal) {
      grid.frame.setPalette(Testing::DarkPalette());
      EXPECT_EQ(SaveGalleryPictures(name + "_dark", {{&grid.frame, {}}}).size(), 2);
    }
  }
}

}  // namespace
}  // namespace Kel
