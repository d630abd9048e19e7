// The controls under a high-contrast palette (white on black, the way such desktop themes set
// it), each with the keyboard focus, in the gallery (build/gallery/highcontrast-*.png): the
// focus must be visible and the text readable. Each picture is also checked for that: the
// selected line keeps its text apart from its background, links are not navy on black, and a
// focus frame is drawn in the focused calendar and calculator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QVBoxLayout>

#include "DataSource.h"
#include "Gallery.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelCalendar.h"
#include "KelDBListBox.h"
#include "KelDrawing.h"
#include "KelFltBox.h"
#include "MemDataSet.h"

namespace Kel {
namespace {

using namespace Testing;

QPalette HighContrastPalette() {
  QPalette p;
  const QColor black(0, 0, 0), white(255, 255, 255), cyan(26, 235, 255), green(63, 242, 63);
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
                    QPalette::Shadow, QPalette::ToolTipBase})
    p.setColor(role, black);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                    QPalette::BrightText, QPalette::ToolTipText, QPalette::Light})
    p.setColor(role, white);
  p.setColor(QPalette::Midlight, QColor(160, 160, 160));
  p.setColor(QPalette::Mid, QColor(128, 128, 128));
  p.setColor(QPalette::Dark, QColor(192, 192, 192));
  p.setColor(QPalette::Highlight, cyan);
  p.setColor(QPalette::HighlightedText, black);
  p.setColor(QPalette::Link, QColor(255, 255, 0));
  p.setColor(QPalette::PlaceholderText, green);
  for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, green);
  return p;
}

// How many pixels of the picture within rect have a colour near colour.
int CountNear(const QImage& image, const QRect& rect, const QColor& colour) {
  int count = 0;
  for (int y = std::max(0, rect.top()); y <= std::min(image.height() - 1, rect.bottom()); ++y)
    for (int x = std::max(0, rect.left()); x <= std::min(image.width() - 1, rect.right()); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) < 60)
        ++count;
    }
  return count;
}

int CountDifferent(const QImage& a, const QImage& b, const QRect& rect) {
  int count = 0;
  for (int y = std::max(0, rect.top()); y <= std::min(a.height() - 1, rect.bottom()); ++y)
    for (int x = std::max(0, rect.left()); x <= std::min(a.width() - 1, rect.right()); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++count;
  return count;
}

class HighContrastGalleryTest : public ::testing::Test {
 protected:
  HighContrastGalleryTest() {
    window_.setPalette(HighContrastPalette());
    layout_ = new QVBoxLayout(&window_);
  }
  void Show(QWidget* focused) {
    window_.show();
    QApplication::setActiveWindow(&window_);
    focused->setFocus();
    QApplication::processEvents();
  }
  QImage Grab(QWidget* widget) { return RenderParts({{widget, QPoint()}}, 1); }

  QWidget window_;
  QVBoxLayout* layout_;
};

TEST_F(HighContrastGalleryTest, FilterBoxKeepsItsLinesAndFocusReadable) {
  TMemDataSet data;
  data.AddField("Category", ftString, 20);
  data.AddField("Length", ftFloat);
  data.Open();
  auto* box = new TKelFltBox(&window_);
  layout_->addWidget(box);
  box->SetDataSet(&data);
  box->SetHideFocus(false);
  TKelFltItem* shark = box->FltItems()->Add();
  shark->SetDataField("Category");
  shark->SetTemplate("is (exactly)");
  shark->SetValue(Variant(QStringLiteral("Shark")));
  TKelFltItem* length = box->FltItems()->Add();
  length->SetIndentLev(1);
  length->SetDataField("Length");
  length->SetTemplate("less than");
  length->SetValue(Variant(150.0));
  window_.resize(420, 160);
  Show(box);
  box->SetItemIndex(0);
  const QImage picture = Grab(box);
  EXPECT_EQ(SaveGalleryPictures("highcontrast-fltbox", {{box, QPoint()}}).size(), 2);
  // White text stays apart from the selection it is drawn on.
  const TRect line = box->ItemRect(0);
  const QRect selected = QRect(line.Left, line.Top, line.Width(), line.Height())
                             .translated(box->ClientOrigin()).adjusted(2, 2, -2, -2);
  const QColor background = picture.pixelColor(selected.right() - 2, selected.center().y());
  EXPECT_GE(std::abs(ColorLuminance(background) - 255), 96) << "selection " << background.name().toStdString();
  // The links are in the palette's link colour, not navy on black.
  EXPECT_GT(CountNear(picture, selected, QColor(255, 255, 0)), 5);
  EXPECT_EQ(CountNear(picture, picture.rect(), QColor(0, 0, 128)), 0);
}

TEST_F(HighContrastGalleryTest, CalendarAndCalculatorShowWhereTheFocusIs) {
  auto* calendar = new TKelCalendar(&window_);
  auto* display = new TKelCalcDisplay(&window_);
  auto* calculator = new TKelCalculator(&window_);
  calculator->SetAssociate(display);
  layout_->addWidget(calendar);
  layout_->addWidget(display);
  layout_->addWidget(calculator);
  calendar->SetMultiSelect(false);
  calendar->SetStartDate(36434);
  calendar->SetDate(36434 + 10);
  calendar->setMinimumSize(2 * calendar->MonthWidth() + 8, calendar->MonthHeight() + 8);
  Show(calendar);
  EXPECT_EQ(SaveGalleryPictures("highcontrast-calendar", {{calendar, QPoint()}}).size(), 2);
  const QImage calendarFocused = Grab(calendar);
  const QImage calculatorUnfocused = Grab(calculator);
  calculator->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(SaveGalleryPictures("highcontrast-calculator", {{display, QPoint()},
                                                            {calculator, QPoint(0, display->height() + 4)}})
                .size(),
            2);
  // The focus shows: the picture of each differs where the focus frame goes.
  const TRect day = calendar->DayRect(calendar->CursorDate());
  const QRect cursor = QRect(day.Left, day.Top, day.Width(), day.Height())
                           .translated(calendar->ClientRect().topLeft()).adjusted(-1, -1, 1, 1);
  EXPECT_GT(CountDifferent(calendarFocused, Grab(calendar), cursor), 8) << "no focus frame at the cursor";
  const QImage calculatorFocused = Grab(calculator);
  EXPECT_GT(CountDifferent(calculatorFocused, calculatorUnfocused, calculatorFocused.rect()), 40)
      << "the focused calculator looks like an unfocused one";
}

TEST_F(HighContrastGalleryTest, LookupListShowsItsPick) {
  TMemDataSet data;
  data.AddField("Name", ftString, 20);
  data.AppendRecords({{"Angelfish"}, {"Barracuda"}, {"Cod"}});
  data.Open();
  TDataSource source;
  source.SetDataSet(&data);
  auto* list = new TKelLookupListBox(&window_);
  layout_->addWidget(list);
  list->SetListSource(&source);
  list->SetListField("Name");
  window_.resize(200, 120);
  Show(list);
  list->SelectRecord(1);
  EXPECT_EQ(SaveGalleryPictures("highcontrast-lookup", {{list, QPoint()}}).size(), 2);
  const QImage picture = Grab(list);
  EXPECT_GT(CountNear(picture, picture.rect(), HighContrastPalette().color(QPalette::Highlight)), 50);
}

}  // namespace
}  // namespace Kel
