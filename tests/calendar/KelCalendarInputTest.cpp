// Mouse and keyboard on a real calendar widget, offscreen: presses, drags, releases, the held
// navigation button (its timer ticked by hand) and the key table.
#include <gtest/gtest.h>

#include <QTest>

#include "CalendarTestSupport.h"
#include "MessageBeep.h"

using namespace Kel;
using namespace Kel::Testing;

namespace {

// Counts error beeps for its life.
class BeepCounter {
 public:
  BeepCounter() { previous_ = SetMessageBeepHook([this] { ++count; }); }
  ~BeepCounter() { SetMessageBeepHook(previous_); }
  int count = 0;

 private:
  TMessageBeepHook previous_;
};

QPoint StripPoint(const TKelCustomCalendar& c, TDateTime date) {
  return QPoint(c.ClientRect().left() + 2, DayPoint(c, date).y());
}

}  // namespace

TEST(CalendarMouse, ReadOnlyIgnoresDaysButScrollsAndHonoursOnlyEnterKeys) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  c->ClearSelection();
  c->SetReadOnly(true);
  Click(c.get(), DayPoint(*c, D(2004, 2, 10)));
  Click(c.get(), StripPoint(*c, D(2004, 2, 10)));
  EXPECT_EQ(c->SelCount(), 0);
  Click(c.get(), c->ClientRect().topLeft() + QPoint(c->MonthWidth() - 3, 3));
  EXPECT_EQ(c->StartDate(), D(2004, 3, 1));
  QTest::keyClick(c.get(), Qt::Key_Right);
  EXPECT_EQ(c->StartDate(), D(2004, 3, 1));
  QTest::keyClick(c.get(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(c->StartDate(), FirstDayOfMonth(Date()));
  EXPECT_EQ(c->SelCount(), 0);
}

TEST(CalendarMouse, WeekKindSelectsWholeWeeksInSingleMode) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  c->SetMultiSelect(false);  // keeps today, which brings today's month
  c->SetStartDate(D(2004, 2, 1));
  c->SetSelectKind(skWeekSel);
  Click(c.get(), DayPoint(*c, D(2004, 2, 12)));
  EXPECT_EQ(c->SelCount(), 7);
  EXPECT_EQ(c->SelStart(), D(2004, 2, 9));
  EXPECT_EQ(c->StartDate(), D(2004, 2, 1));
}

TEST(CalendarMouse, ProgressiveDragFromWednesdayToNextThursdayTakesBothWeeks) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  Press(c.get(), DayPoint(*c, D(2004, 2, 11)));  // a Wednesday
  for (TDateTime d = D(2004, 2, 12); d <= D(2004, 2, 19); d += 1) DragTo(c.get(), DayPoint(*c, d));
  Release(c.get(), DayPoint(*c, D(2004, 2, 19)));
  EXPECT_EQ(c->SelStart(), D(2004, 2, 9));
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 22));
  EXPECT_EQ(c->SelCount(), 14);
  EXPECT_TRUE(c->WeekMode());
  // A short free drag stays a day range.
  Press(c.get(), DayPoint(*c, D(2004, 2, 3)));
  DragTo(c.get(), DayPoint(*c, D(2004, 2, 5)));
  DragTo(c.get(), DayPoint(*c, D(2004, 2, 4)));
  Release(c.get(), DayPoint(*c, D(2004, 2, 4)));
  EXPECT_EQ(c->SelCount(), 2);
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 4));
}

TEST(CalendarMouse, HeldNextButtonRepeatsUntilMaxDateMonthIsShown) {
  auto c = MakeCalendar(2, 1, D(2004, 1, 1));
  c->SetMaxDate(D(2004, 6, 10));
  c->SetMaxDateLimit(true);
  const QPoint next = c->ClientRect().topLeft() + QPoint(2 * c->MonthWidth() - 3, 3);
  Press(c.get(), next);
  EXPECT_EQ(c->StartDate(), D(2004, 2, 1));
  ASSERT_TRUE(c->RepeatTimer()->isActive());
  EXPECT_EQ(c->RepeatTimer()->interval(), 170);
  int ticks = 0;
  while (c->RepeatTimer()->isActive() && ticks < 20) {
    c->RepeatTick();  // what the timer does when it fires
    ++ticks;
  }
  EXPECT_FALSE(c->RepeatTimer()->isActive());
  EXPECT_EQ(c->StartDate(), D(2004, 5, 1));  // June, the month of MaxDate, is the last one shown
  Release(c.get(), next);
  // Leaving the button stops the repeat too.
  c->SetMaxDateLimit(false);
  Press(c.get(), next);
  DragTo(c.get(), DayPoint(*c, D(2004, 6, 10)));
  c->RepeatTick();  // what the timer does when it fires
  EXPECT_FALSE(c->RepeatTimer()->isActive());
}

TEST(CalendarMouse, CtrlClickTogglesAndWithoutExtendedSelectOnlyAtTheEnds) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  Click(c.get(), DayPoint(*c, D(2004, 2, 10)));
  Click(c.get(), DayPoint(*c, D(2004, 2, 12)), Qt::ControlModifier);
  EXPECT_EQ(c->SelCount(), 2);
  Click(c.get(), DayPoint(*c, D(2004, 2, 12)), Qt::ControlModifier);
  EXPECT_FALSE(c->IsDateSelected(D(2004, 2, 12)));
  c->SetExtendedSelect(false);
  c->SetSelFinish(D(2004, 2, 14));
  ASSERT_EQ(c->SelCount(), 5);
  Click(c.get(), DayPoint(*c, D(2004, 2, 12)), Qt::ControlModifier);  // inside: refused
  EXPECT_TRUE(c->IsDateSelected(D(2004, 2, 12)));
  Click(c.get(), DayPoint(*c, D(2004, 2, 17)), Qt::ControlModifier);  // not adjacent: refused
  EXPECT_FALSE(c->IsDateSelected(D(2004, 2, 17)));
  Click(c.get(), DayPoint(*c, D(2004, 2, 14)), Qt::ControlModifier);
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 13));
  Click(c.get(), DayPoint(*c, D(2004, 2, 14)), Qt::ControlModifier);
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 14));
}

TEST(CalendarMouse, RefusedClicksBeep) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  BeepCounter beeps;
  c->SetMaxSelDates(3);
  Click(c.get(), DayPoint(*c, D(2004, 2, 2)));
  Click(c.get(), DayPoint(*c, D(2004, 2, 4)), Qt::ControlModifier);
  Click(c.get(), DayPoint(*c, D(2004, 2, 6)), Qt::ControlModifier);
  EXPECT_EQ(beeps.count, 0);
  Click(c.get(), DayPoint(*c, D(2004, 2, 8)), Qt::ControlModifier);
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(c->SelCount(), 3);
  c->OnCanSelectDate = [](TKelCustomCalendar*, TDateTime date, bool& can) { can = date != D(2004, 2, 20); };
  Click(c.get(), DayPoint(*c, D(2004, 2, 20)));
  EXPECT_EQ(beeps.count, 2);
}

TEST(CalendarMouse, StripsDayNamesAndGrayedDays) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  c->SetMaxSelDates(0);
  Click(c.get(), StripPoint(*c, D(2004, 2, 10)));
  EXPECT_EQ(c->SelStart(), D(2004, 2, 9));
  EXPECT_EQ(c->SelCount(), 7);
  Click(c.get(), StripPoint(*c, D(2004, 2, 17)), Qt::ControlModifier);
  EXPECT_EQ(c->SelCount(), 14);
  // Dragging down the strip grows by whole weeks.
  Press(c.get(), StripPoint(*c, D(2004, 2, 2)));
  DragTo(c.get(), StripPoint(*c, D(2004, 2, 16)));
  Release(c.get(), StripPoint(*c, D(2004, 2, 16)));
  EXPECT_EQ(c->SelStart(), D(2004, 2, 2));
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 22));
  // The day names select the month's weeks.
  Click(c.get(), c->ClientRect().topLeft() + QPoint(c->MonthWidth() / 2, c->HeaderHeight() + 2));
  EXPECT_EQ(c->SelStart(), D(2004, 1, 26));
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 29));
  EXPECT_TRUE(c->WeekMode());
  // Releasing on a trailing day brings its month in.
  Click(c.get(), DayPoint(*c, D(2004, 3, 3)));
  EXPECT_EQ(c->StartDate(), D(2004, 3, 1));
  EXPECT_TRUE(c->IsDateSelected(D(2004, 3, 3)));
}

TEST(CalendarKeys, ShiftArrowsExtendAndShrinkAtTheCursor) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  Click(c.get(), DayPoint(*c, D(2004, 2, 10)));
  QTest::keyClick(c.get(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(c->SelCount(), 2);
  EXPECT_EQ(c->CursorDate(), D(2004, 2, 11));
  QTest::keyClick(c.get(), Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(c->SelCount(), 1);
  EXPECT_EQ(c->CursorDate(), D(2004, 2, 10));
  QTest::keyClick(c.get(), Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(c->SelFinish(), D(2004, 2, 15));
  EXPECT_EQ(c->CursorDate(), D(2004, 2, 15));
}

TEST(CalendarKeys, MovingKeysAndClearOnKeyMoving) {
  auto c = MakeCalendar(1, 1, D(2004, 2, 1));
  Click(c.get(), DayPoint(*c, D(2004, 2, 10)));
  QTest::keyClick(c.get(), Qt::Key_Right);
  EXPECT_EQ(c->SelStart(), D(2004, 2, 11));
  QTest::keyClick(c.get(), Qt::Key_Down);
  EXPECT_EQ(c->SelStart(), D(2004, 2, 18));
  QTest::keyClick(c.get(), Qt::Key_Home);
  EXPECT_EQ(c->SelStart(), D(2004, 2, 16));
  QTest::keyClick(c.get(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(c->SelStart(), D(2004, 2, 29));
  QTest::keyClick(c.get(), Qt::Key_Down);
  EXPECT_EQ(c->StartDate(), D(2004, 3, 1));  // the view follows
  QTest::keyClick(c.get(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(c.get(), Qt::Key_Right);
  EXPECT_EQ(c->SelCount(), 2);  // a range moves whole
  c->SetClearOnKeyMoving(true);
  QTest::keyClick(c.get(), Qt::Key_Right);
  EXPECT_EQ(c->SelCount(), 1);
  QTest::keyClick(c.get(), Qt::Key_Escape);
  EXPECT_EQ(c->SelCount(), 0);
}

// In week selection, ClearOnKeyMoving first collapses two loose dates to the week of the first,
// and the arrow then steps by that week: WeekMode never stands for anything but whole weeks.
TEST(CalendarKeys, ClearOnKeyMovingInWeekSelectionStepsByTheCollapsedWeek) {
  auto c = MakeCalendar(2, 1, D(2002, 7, 1));
  c->SetSelectKind(skWeekSel);
  c->ClearSelection();
  c->SetClearOnKeyMoving(true);
  c->SetDate(D(2002, 7, 10));
  c->SelectDate(true, D(2002, 7, 12));
  ASSERT_FALSE(c->WeekMode());
  QTest::keyClick(c.get(), Qt::Key_Right);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 15));
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 21));
  EXPECT_TRUE(c->WeekMode());
  // A date added beside the week ends week mode.
  c->SelectDate(true, D(2002, 7, 23));
  EXPECT_FALSE(c->WeekMode());
}

// The keys walk the days before 30 December 1899 one by one, across it, and by weeks.
TEST(CalendarKeys, KeysWalkTheDaysAroundDayZero) {
  auto c = MakeCalendar(1, 1, D(1899, 12, 1));
  Click(c.get(), DayPoint(*c, D(1899, 12, 28)));
  ASSERT_EQ(c->SelStart(), D(1899, 12, 28));
  for (const TDateTime next : {D(1899, 12, 29), D(1899, 12, 30), D(1899, 12, 31), D(1900, 1, 1)}) {
    QTest::keyClick(c.get(), Qt::Key_Right);
    EXPECT_EQ(c->SelStart(), next);
  }
  QTest::keyClick(c.get(), Qt::Key_Up);
  EXPECT_EQ(c->SelStart(), D(1899, 12, 25));
  QTest::keyClick(c.get(), Qt::Key_End);  // Monday first: to Sunday
  EXPECT_EQ(c->SelStart(), D(1899, 12, 31));
  // A date-time before 1899 selects its own day (18:00 on 1 January 1800).
  c->SetDate(EncodeDateTime(1800, 1, 1, 18, 0, 0, 0));
  EXPECT_EQ(c->SelStart(), D(1800, 1, 1));
  EXPECT_EQ(c->SelCount(), 1);
}
