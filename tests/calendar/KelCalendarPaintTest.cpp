// Colours, their stored rules and painting: the day names, week strips, suppressed cells, the
// selection colours, and gallery pictures of a multi-month calendar.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "CalendarTestSupport.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "Gallery.h"

using namespace Kel;
using namespace Kel::Testing;

namespace {

// The calendar painted into an image that starts magenta, so unpainted pixels show.
QImage Paint(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_ARGB32);
  image.fill(Qt::magenta);
  widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

QPoint CellPixel(const TKelCustomCalendar& c, TDateTime date, int dx, int dy) {
  const TRect r = c.DayRect(date);
  return c.ClientRect().topLeft() + QPoint(r.Left + dx, r.Top + dy);
}

}  // namespace

TEST(CalendarColors, CalendarColorDrivesThreeColoursThatAreThenNotStored) {
  TKelCalendar c;
  TKelCalendarColors* colors = c.Colors();
  c.SetColor(clYellow);
  EXPECT_EQ(colors->WeekHeader(), clYellow);
  EXPECT_EQ(colors->Days(), clYellow);
  EXPECT_EQ(colors->WeekSide(), clYellow);
  EXPECT_FALSE(colors->IsPropertyStored("Days"));
  EXPECT_FALSE(colors->IsPropertyStored("WeekSide"));
  colors->SetDays(clAqua);
  EXPECT_TRUE(colors->IsPropertyStored("Days"));
  EXPECT_FALSE(colors->IsPropertyStored("HeaderFont"));
  EXPECT_FALSE(colors->IsPropertyStored("WeekDaysFont"));
  EXPECT_TRUE(colors->IsPropertyStored("Border"));
  c.SetParentColor(true);
  EXPECT_FALSE(colors->IsPropertyStored("Border"));
  colors->SetBorder(clRed);  // an own border colour leaves the parent's
  EXPECT_FALSE(c.ParentColor());
}

TEST(CalendarColors, DatesAreStoredOnlyWhereTheyMeanSomething) {
  TKelCalendar c;
  EXPECT_FALSE(c.IsPropertyStored("MinDate"));
  EXPECT_FALSE(c.IsPropertyStored("StartDate"));  // today's month
  c.SetMinDateLimit(true);
  c.SetStartDate(D(2004, 2, 1));
  EXPECT_TRUE(c.IsPropertyStored("MinDate"));
  EXPECT_TRUE(c.IsPropertyStored("StartDate"));
  EXPECT_FALSE(c.IsPropertyStored("MaxDate"));
}

TEST(CalendarColors, AssignCopiesAllButDaysAndLinesAndRefusesOtherClasses) {
  TKelCalendar a, b;
  a.Colors()->SetSelected(clRed);
  a.Colors()->SetDays(clAqua);
  a.Colors()->SetDayLines(clGreen);
  a.Colors()->HeaderFont()->SetStyle(TFontStyles{fsBold});
  b.SetColors(a.Colors());
  EXPECT_EQ(b.Colors()->Selected(), clRed);
  EXPECT_TRUE(b.Colors()->HeaderFont()->Style().Contains(fsBold));
  EXPECT_NE(b.Colors()->Days(), clAqua);
  EXPECT_NE(b.Colors()->DayLines(), clGreen);
  TFont font;
  try {
    b.Colors()->Assign(&font);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TFont to a TKelCalendarColors"));
  }
  EXPECT_THROW(b.Colors()->Assign(nullptr), EConvertError);
}

TEST(CalendarColors, HeaderFontOfItsOwnChangesTheHeaderHeight) {
  TKelCalendar c;
  const int before = c.HeaderHeight();
  c.Colors()->HeaderFont()->SetHeight(c.Colors()->HeaderFont()->Height() * 2);
  EXPECT_FALSE(c.Colors()->InheritHeaderFont());
  EXPECT_GT(c.HeaderHeight(), before);
  c.Colors()->SetInheritHeaderFont(true);
  EXPECT_EQ(c.HeaderHeight(), before);
}

TEST(CalendarPainting, DayNamesTakeTheirLettersByLength) {
  FormatSettingsGuard guard;
  FormatSettings().ShortDayNames[4] = QStringLiteral("Do");
  FormatSettings().LongDayNames[4] = QStringLiteral("Donnerstag");
  TKelCalendar c;
  c.SetWeekDayNames(wdlOne);
  EXPECT_EQ(c.DayName(5), QStringLiteral("D"));
  c.SetWeekDayNames(wdlTwo);
  EXPECT_EQ(c.DayName(5), QStringLiteral("Do"));
  c.SetWeekDayNames(wdlThree);
  EXPECT_EQ(c.DayName(5), QStringLiteral("Don"));
  c.SetWeekDayNames(wdlWhole);
  EXPECT_EQ(c.DayName(5), QStringLiteral("Donnerstag"));
}

TEST(CalendarPainting, ASuppressedCellIsNotTouchedAtAll) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  c->SetShowHorzLines(true);
  c->SetShowVertLines(true);
  const TDateTime own = D(2004, 2, 11);
  c->SetDate(own);
  c->OnDrawItem = [own](TKelCustomCalendar*, TDateTime date, TKelCalendarHitTest area, TKelCalendarDateType,
                        const TRect&, bool& defaultDrawing) {
    if (area == htDay && date == own) defaultDrawing = false;
  };
  const QImage image = Paint(*c);
  const TRect r = c->DayRect(own);
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      ASSERT_EQ(image.pixelColor(CellPixel(*c, own, x, y)), QColor(Qt::magenta)) << x << "," << y;
  // Its neighbour is painted as usual.
  EXPECT_NE(image.pixelColor(CellPixel(*c, own + 1, 3, 3)), QColor(Qt::magenta));
}

TEST(CalendarPainting, SelectedCellsUseTheSelectionColours) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  c->ClearSelection();
  c->Colors()->SetSelected(clNavy);
  c->Colors()->SetDays(clWhite);
  c->SelectDate(true, D(2004, 2, 12));
  c->OnGetPaintParams = [](TKelCustomCalendar*, TDateTime date, TColor&, TColor& bk, TFontStyles&,
                           TKelCalendarDateType) {
    if (date == D(2004, 2, 13)) bk = clGreen;
  };
  const QImage image = Paint(*c);
  EXPECT_EQ(image.pixelColor(CellPixel(*c, D(2004, 2, 12), 1, 1)), QColor(0, 0, 0x80));
  EXPECT_EQ(image.pixelColor(CellPixel(*c, D(2004, 2, 10), 1, 1)), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(CellPixel(*c, D(2004, 2, 13), 1, 1)), QColor(0, 0x80, 0));
}

TEST(CalendarPainting, SideStripsKnowHiddenRowsAndSelectedWeeks) {
  auto c = MakeCalendar(2, 1, D(2004, 1, 1));
  c->ClearSelection();
  c->SelectWeek(true, D(2004, 2, 10));
  ASSERT_TRUE(c->WeekMode());
  std::vector<std::pair<TDateTime, TKelCalendarDateType>> left;
  c->OnDrawItem = [&](TKelCustomCalendar*, TDateTime date, TKelCalendarHitTest area, TKelCalendarDateType type,
                      const TRect&, bool&) {
    if (area == htWeekLeft) left.emplace_back(date, type);
  };
  Paint(*c);
  const auto typeOf = [&](TDateTime rowStart) {
    for (const auto& [date, type] : left)
      if (date == rowStart && type != dtHidden) return type;
    return dtHidden;
  };
  EXPECT_EQ(typeOf(D(2004, 2, 9)), dtWeekSideSelected);
  EXPECT_EQ(typeOf(D(2004, 2, 16)), dtWeekSide);
  // The last row of January's cell is all February: blank there, an ordinary row in February's.
  const auto has = [&](TDateTime date, TKelCalendarDateType type) {
    for (const auto& entry : left)
      if (entry.first == date && entry.second == type) return true;
    return false;
  };
  EXPECT_EQ(c->GridStart(0, 0) + 35, D(2004, 2, 2));
  EXPECT_TRUE(has(D(2004, 2, 2), dtHidden));
  EXPECT_TRUE(has(D(2004, 2, 2), dtWeekSide));
  c->SetShowWeekNumbers(true);
  left.clear();
  Paint(*c);
  EXPECT_EQ(typeOf(D(2004, 2, 9)), dtWeekSide);  // numbers replace the selected look
}

TEST(CalendarGallery, ThreeByTwoWithSelectionWeekNumbersAndLines) {
  const int saved = LocaleFirstDayOfWeek();
  SetLocaleFirstDayOfWeek(dwMonday);
  for (bool dark : {false, true}) {
    auto c = MakeCalendar(3, 2, D(2004, 1, 1), dwLocaleDefault);
    if (dark) c->setPalette(DarkPalette());
    c->SetShowWeekNumbers(true);
    c->SetShowHorzLines(true);
    c->SetShowVertLines(true);
    c->SetFirstWeekOfYear(fwFirstFourthDayOfWeek);
    c->SetMaxSelDates(0);
    c->ClearSelection();
    c->SelectWeek(false, D(2004, 2, 10));
    for (int d = 3; d <= 6; ++d) c->SelectDate(true, D(2004, 3, d));
    c->SelectDate(true, D(2004, 5, 20));
    c->SelectDate(true, D(2004, 1, 1));
    const QStringList files =
        SaveGalleryPictures(dark ? QStringLiteral("calendar-3x2-dark") : QStringLiteral("calendar-3x2"), {{c.get(), {}}});
    EXPECT_EQ(files.size(), 2);
  }
  SetLocaleFirstDayOfWeek(saved);
}
