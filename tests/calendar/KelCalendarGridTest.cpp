// Date rules, metrics, the month grid, hit testing, the frame and the first month shown.
#include <gtest/gtest.h>

#include "CalendarTestSupport.h"

using namespace Kel;
using namespace Kel::Testing;

TEST(CalendarDateRules, WeekNumbersOfNewYearsDay2005UnderTheThreeRules) {
  auto c = MakeCalendar(1, 1, D(2005, 1, 1));
  c->SetFirstWeekOfYear(fwFirstFourthDayOfWeek);
  EXPECT_EQ(c->WeekNumber(D(2005, 1, 1)), 53);
  c->SetFirstWeekOfYear(fwFirstFullWeek);
  EXPECT_EQ(c->WeekNumber(D(2005, 1, 1)), 52);
  c->SetFirstWeekOfYear(fwJanFirst);
  EXPECT_EQ(c->WeekNumber(D(2005, 1, 1)), 1);
}

TEST(CalendarDateRules, LocaleDefaultFirstDayAndMonthArithmetic) {
  const int saved = LocaleFirstDayOfWeek();
  SetLocaleFirstDayOfWeek(dwSunday);
  auto c = MakeCalendar(1, 1, D(2004, 2, 1), dwLocaleDefault);
  EXPECT_EQ(c->EffectiveFirstDayOfWeek(), 1);
  EXPECT_EQ(c->WeekStart(D(2004, 2, 4)), D(2004, 2, 1));
  SetLocaleFirstDayOfWeek(saved);
  // The day is clamped to the target month; leaving the date range changes nothing.
  EXPECT_EQ(TKelCustomCalendar::IncMonthSafe(D(2004, 1, 31), 1), D(2004, 2, 29));
  EXPECT_EQ(TKelCustomCalendar::IncMonthSafe(D(9999, 12, 1), 1), D(9999, 12, 1));
  EXPECT_EQ(TKelCustomCalendar::IncMonthSafe(D(1, 1, 15), -1), D(1, 1, 15));
  EXPECT_TRUE(c->IsWorkDay(D(2004, 2, 6)));
  EXPECT_FALSE(c->IsWorkDay(D(2004, 2, 7)));
}

TEST(CalendarGrid, February2004ShowsAWeekOfJanuaryOnlyInTheFirstCell) {
  auto first = MakeCalendar(1, 1, D(2004, 2, 1), dwSunday);
  EXPECT_EQ(first->GridStart(0, 0), D(2004, 1, 25));
  auto later = MakeCalendar(2, 1, D(2004, 1, 1), dwSunday);
  ASSERT_EQ(later->MonthCols(), 2);
  EXPECT_EQ(later->MonthOfCell(1, 0), D(2004, 2, 1));
  EXPECT_EQ(later->GridStart(1, 0), D(2004, 2, 1));
  // Day rectangles follow the grid: 1 February is the first cell of week row 1 in the first calendar.
  const TRect r = first->DayRect(D(2004, 2, 1));
  EXPECT_EQ(r.Left, first->SideWidth());
  EXPECT_EQ(r.Top, first->HeaderHeight() + first->DayNamesHeight() + 2 + first->DayHeight());
}

TEST(CalendarGrid, CellOfDateCoversTheGrayedEdgesOnly) {
  auto c = MakeCalendar(2, 1, D(2004, 3, 1));
  int col = -1, row = -1;
  EXPECT_TRUE(c->CellOfDate(D(2004, 2, 28), col, row));  // leading days of the first cell
  EXPECT_EQ(col, 0);
  EXPECT_TRUE(c->CellOfDate(D(2004, 5, 2), col, row));  // trailing days of the last cell
  EXPECT_EQ(col, 1);
  EXPECT_FALSE(c->CellOfDate(D(2004, 5, 31), col, row));
  EXPECT_FALSE(c->CellOfDate(D(2004, 1, 20), col, row));
  EXPECT_TRUE(c->DayRect(D(2004, 1, 20)).IsEmpty());
}

TEST(CalendarGrid, MetricsFollowTheFontAndTheMeasureEvent) {
  TKelCalendar c;
  c.OnMeasureItem = [](TKelCustomCalendar*, TKelCalendarHitTest area, int& width, int& height) {
    if (area == htDay) {
      width = 30;
      height = 20;
    }
    if (area == htMonthHeader) height = 0;  // refused: a header keeps at least a pixel
  };
  c.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
  EXPECT_EQ(c.DayWidth(), 30);
  EXPECT_EQ(c.DayHeight(), 20);
  EXPECT_GE(c.HeaderHeight(), 1);
  EXPECT_EQ(c.MonthWidth(), 2 * c.SideWidth() + 7 * 30);
  EXPECT_EQ(c.MonthHeight(), c.HeaderHeight() + c.DayNamesHeight() + 6 * 20 + 2);
}

TEST(CalendarFrame, MarginsOfTwoAndAHalfMonthWidthsAndSnapping) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  const int frame = c->FrameWidth(), mw = c->MonthWidth(), mh = c->MonthHeight();
  c->resize(2 * frame + 2 * mw + mw / 2, 2 * frame + mh);
  EXPECT_EQ(c->MonthCols(), 2);
  EXPECT_EQ(c->ClientRect().width(), 2 * mw);
  EXPECT_EQ(c->ClientRect().left(), frame + (mw / 2) / 2);
  c->SetBorderEdges(TBevelEdges{beRight, beTop, beBottom});
  EXPECT_EQ(c->ClientRect().left(), frame);
  c->SetBorderEdges(TBevelEdges{beLeft, beTop, beBottom});
  EXPECT_EQ(c->ClientRect().left(), frame + mw / 2);
  // Without a side edge the window itself snaps to whole months (a child resizes at once).
  QWidget form;
  c->setParent(&form);
  form.show();
  c->show();
  c->SetBorderEdges(TBevelEdges{beTop, beBottom});
  c->resize(2 * frame + 2 * mw + mw / 2, 2 * frame + mh);
  EXPECT_EQ(c->width(), 2 * frame + 2 * mw);
  c->setParent(nullptr);
  // Narrower than a month: still one column, clipped.
  c->SetBorderEdges(AllBevelEdges);
  c->resize(mw / 2, mh);
  EXPECT_EQ(c->MonthCols(), 1);
}

TEST(CalendarView, StartDateKeepsTheLimitMonthsInView) {
  auto c = MakeCalendar(3, 1, D(2004, 1, 1));
  c->SetMaxDate(D(2004, 6, 15));
  c->SetMaxDateLimit(true);
  c->SetStartDate(D(2004, 8, 20));
  EXPECT_EQ(c->StartDate(), D(2004, 4, 1));
  EXPECT_FALSE(c->Scroll(1));
  c->SetMinDate(D(2004, 3, 10));
  c->SetMinDateLimit(true);
  c->SetStartDate(D(2003, 1, 1));
  EXPECT_EQ(c->StartDate(), D(2004, 3, 1));
  EXPECT_TRUE(c->Scroll(1));
  EXPECT_EQ(c->StartDate(), D(2004, 4, 1));
}

TEST(CalendarView, StartDateIsStoredAsGivenWhileLoading) {
  auto c = MakeCalendar(3, 1, D(2004, 1, 1));
  c->BeginLoading();
  c->SetStartDate(D(2004, 9, 9));
  c->SetMaxDate(D(2004, 6, 15));
  c->SetMaxDateLimit(true);
  EXPECT_EQ(c->StartDate(), D(2004, 9, 1));
  c->EndLoading();
  EXPECT_EQ(c->StartDate(), D(2004, 4, 1));
}

TEST(CalendarHitTest, EveryAreaOfATwoByOneCalendar) {
  auto c = MakeCalendar(2, 1, D(2004, 2, 1));
  const int mw = c->MonthWidth();
  TDateTime date = 0;
  const int namesY = c->HeaderHeight() + 1;
  EXPECT_EQ(c->HitTest(mw + mw / 2, namesY, date), htDayNames);
  EXPECT_EQ(date, D(2004, 3, 1));
  EXPECT_EQ(c->HitTest(mw / 2, 1, date), htMonthHeader);
  EXPECT_EQ(date, D(2004, 2, 1));
  EXPECT_EQ(c->HitTest(1, 1, date), htPrevButton);
  EXPECT_EQ(c->HitTest(2 * mw - 2, 1, date), htNextButton);
  c->SetShowNavButtons(false);
  EXPECT_EQ(c->HitTest(1, 1, date), htMonthHeader);
  const int row1 = c->HeaderHeight() + c->DayNamesHeight() + 2 + c->DayHeight() + 1;
  EXPECT_EQ(c->HitTest(1, row1, date), htWeekLeft);
  EXPECT_EQ(date, c->GridStart(0, 0) + 7);
  EXPECT_EQ(c->HitTest(mw - 1, row1, date), htWeekRight);
  EXPECT_EQ(date, c->GridStart(0, 0) + 7);
  const auto at = [&](TDateTime d) {
    const QPoint p = DayPoint(*c, d) - c->ClientRect().topLeft();
    TDateTime hit = 0;
    const TKelCalendarHitTest area = c->HitTest(p.x(), p.y(), hit);
    EXPECT_EQ(hit, d);
    return area;
  };
  EXPECT_EQ(at(D(2004, 2, 10)), htDay);
  EXPECT_EQ(at(D(2004, 1, 26)), htLeadingDay);
  EXPECT_EQ(at(D(2004, 4, 4)), htTrailingDay);
  // February's trailing days (March) are blank in the first cell, which is not the last.
  const int x = c->SideWidth() + c->DayWidth() / 2;
  const int y = c->HeaderHeight() + c->DayNamesHeight() + 2 + 5 * c->DayHeight() + 1;
  EXPECT_EQ(c->HitTest(x, y, date), htHiddenDay);
  EXPECT_EQ(date, D(2004, 3, 1));
  c->SetDate(D(2004, 2, 3));
  EXPECT_EQ(c->HitTest(-1, 5, date), htNowhere);
  EXPECT_EQ(date, c->CursorDate());
}

TEST(CalendarHitTest, WeekNumbersShiftTheDayColumns) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  const TRect before = c->DayRect(D(2004, 2, 10));
  c->SetShowWeekNumbers(true);
  EXPECT_EQ(c->DayRect(D(2004, 2, 10)).Left, before.Left + 4);
  TDateTime date = 0;
  EXPECT_EQ(c->HitTest(c->SideWidth() + 2, before.Top + 1, date), htWeekLeft);
}

TEST(CalendarCursor, TheWeekStripArrowIsRegistered) {
  TKelCalendar c;
  EXPECT_TRUE(HasScreenCursor(crKelLeftArrow));
  EXPECT_EQ(c.WeekCursor(), crKelLeftArrow);
  EXPECT_FALSE(ScreenCursor(crKelLeftArrow).pixmap().isNull());
}
