// The selection model: month blocks, the operations built on SelectDate, the property rules and
// the batching of the change event; and a random comparison against a plain set of dates.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>

#include "CalendarTestSupport.h"

using namespace Kel;
using namespace Kel::Testing;

namespace {

std::unique_ptr<TKelCalendar> EmptyMulti(TDateTime start = D(2002, 7, 1)) {
  auto c = MakeCalendar(3, 2, start);
  c->ClearSelection();
  return c;
}

}  // namespace

TEST(CalendarSelection, MaxSelDatesRefusesAndTrims) {
  auto c = EmptyMulti();
  c->SetMaxSelDates(3);
  for (int d : {3, 5, 9}) EXPECT_TRUE(c->SelectDate(true, D(2002, 7, d)));
  EXPECT_FALSE(c->SelectDate(true, D(2002, 7, 12)));
  EXPECT_TRUE(c->SelectDate(true, D(2002, 7, 5)));  // already selected: nothing to refuse
  EXPECT_EQ(c->SelCount(), 3);
  c->SetMaxSelDates(1);
  EXPECT_EQ(c->SelCount(), 1);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 3));
  c->SetMaxSelDates(-5);
  EXPECT_EQ(c->MaxSelDates(), 0);
}

TEST(CalendarSelection, DeselectingTheLastDateOfAMonthRemovesItsBlock) {
  auto c = EmptyMulti();
  c->SelectDate(true, D(2002, 7, 20));
  c->SelectDate(true, D(2002, 7, 4));
  c->SelectDate(true, D(2002, 8, 2));
  ASSERT_EQ(c->MonthBlocks().size(), 2u);
  EXPECT_EQ(c->SelFinish(), D(2002, 8, 2));
  c->SelectDate(false, D(2002, 8, 2));
  EXPECT_EQ(c->MonthBlocks().size(), 1u);
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 20));
  c->SelectDate(false, D(2002, 7, 4));
  EXPECT_EQ(c->SelStart(), D(2002, 7, 20));
  c->SelectDate(false, D(2002, 7, 20));
  EXPECT_TRUE(c->MonthBlocks().empty());
  EXPECT_EQ(c->SelCount(), 0);
  EXPECT_FALSE(c->IsDateSelected(0));
}

TEST(CalendarSelection, SwitchingToWeekKindSelectsTheWeekOfSelStart) {
  auto c = EmptyMulti();
  c->SetDate(D(2002, 7, 10));
  c->SetSelectKind(skWeekSel);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 8));
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 14));
  EXPECT_EQ(c->SelCount(), 7);
  EXPECT_TRUE(c->WeekMode());
  c->SetSelectKind(skFree);
  EXPECT_EQ(c->SelCount(), 1);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 8));
  EXPECT_FALSE(c->WeekMode());
}

TEST(CalendarSelection, AVetoStopsClearingWithTheLaterDatesKept) {
  auto c = EmptyMulti();
  for (int d = 1; d <= 6; ++d) c->SelectDate(true, D(2002, 7, d));
  c->OnCanSelectDate = [](TKelCustomCalendar*, TDateTime date, bool& can) { can = date != D(2002, 7, 4); };
  EXPECT_FALSE(c->ClearSelection());
  EXPECT_EQ(c->SelCount(), 3);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 4));
}

TEST(CalendarSelection, OneChangeEventPerBatchAndBatchesCloseOnExceptions) {
  auto c = EmptyMulti();
  int changes = 0;
  c->OnDateChanged = [&](QObject*) { ++changes; };
  c->BeginUpdate();
  for (int d = 1; d <= 10; ++d) c->SelectDate(true, D(2002, 7, d));
  EXPECT_EQ(changes, 0);
  c->EndUpdate();
  EXPECT_EQ(changes, 1);
  c->SelectDate(true, D(2002, 7, 20));
  EXPECT_EQ(changes, 2);
  c->OnCanSelectDate = [](TKelCustomCalendar*, TDateTime, bool&) { throw std::runtime_error("veto"); };
  EXPECT_THROW(c->ClearSelection(), std::runtime_error);
  EXPECT_EQ(c->UpdateCount(), 0);
}

TEST(CalendarSelection, WeeksMonthsAndContiguousRanges) {
  auto c = EmptyMulti();
  EXPECT_TRUE(c->SelectWeek(true, D(2002, 7, 10)));
  EXPECT_EQ(c->SelStart(), D(2002, 7, 8));
  EXPECT_EQ(c->CursorDate(), D(2002, 7, 14));
  EXPECT_TRUE(c->WeekMode());
  EXPECT_TRUE(c->SelectWeek(false, D(2002, 7, 9)));  // all selected: the week toggles off
  EXPECT_EQ(c->SelCount(), 0);
  c->SetMaxSelDates(0);
  EXPECT_TRUE(c->SelectMonth(true, D(2002, 7, 15)));
  EXPECT_EQ(c->SelStart(), D(2002, 7, 1));   // July 2002 starts on a Monday
  EXPECT_EQ(c->SelFinish(), D(2002, 8, 4));  // and ends on a Wednesday
  EXPECT_EQ(c->SelCount(), 35);
  // Without extended selection a week or month must touch the selection.
  c->SetExtendedSelect(false);
  EXPECT_EQ(c->SelCount(), 1);
  EXPECT_FALSE(c->SelectWeek(false, D(2002, 9, 10)));
  EXPECT_TRUE(c->SelectWeek(false, D(2002, 7, 2)));
  c->SetSelFinish(D(2002, 7, 20));
  EXPECT_EQ(c->SelCount(), 20);
  c->SetSelStart(D(2002, 7, 15));
  EXPECT_EQ(c->SelStart(), D(2002, 7, 15));
  EXPECT_EQ(c->SelCount(), 6);
  c->SetSelStart(D(2002, 7, 25));  // after SelFinish: moves the finish instead
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 25));
}

TEST(CalendarSelection, SingleModeHoldsOneDateOrOneWeek) {
  auto c = MakeCalendar(1, 1, D(2002, 7, 1));
  int changes = 0;
  c->OnDateChanged = [&](QObject*) { ++changes; };
  c->SetMultiSelect(false);
  EXPECT_EQ(c->SelCount(), 1);
  c->SetDate(D(2002, 9, 3));
  EXPECT_EQ(c->StartDate(), D(2002, 9, 1));  // a date out of view brings its month
  EXPECT_TRUE(c->IsDateSelected(D(2002, 9, 3)));
  c->SetSelectKind(skWeekSel);
  c->SetDate(D(2002, 9, 12));
  EXPECT_EQ(c->SelCount(), 7);
  EXPECT_EQ(c->SelStart(), D(2002, 9, 9));
  EXPECT_TRUE(c->WeekMode());
  EXPECT_TRUE(c->IsDateSelected(D(2002, 9, 15)));
  c->SetMinDate(D(2002, 9, 1));
  c->SetMinDateLimit(true);
  const TDateTime before = c->SelStart();
  c->SetDate(D(2002, 8, 1));  // outside the limit: refused
  EXPECT_EQ(c->SelStart(), before);
  EXPECT_TRUE(c->ClearSelection());
  EXPECT_EQ(c->SelCount(), 0);
  EXPECT_FALSE(c->MoveSelection(1));  // nothing to move
  EXPECT_GT(changes, 0);
}

TEST(CalendarSelection, ModeSwitchKeepsSelStartAndAVetoKeepsTheMode) {
  auto c = EmptyMulti();
  c->SelectDate(true, D(2002, 7, 5));
  c->SelectDate(true, D(2002, 7, 9));
  c->SetMultiSelect(false);
  EXPECT_FALSE(c->MultiSelect());
  EXPECT_EQ(c->SelCount(), 1);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 5));
  c->OnCanSelectDate = [](TKelCustomCalendar*, TDateTime, bool& can) { can = false; };
  c->SetMultiSelect(true);
  EXPECT_FALSE(c->MultiSelect());
  c->OnCanSelectDate = nullptr;
  c->SetMultiSelect(true);
  EXPECT_TRUE(c->MultiSelect());
  EXPECT_TRUE(c->IsDateSelected(D(2002, 7, 5)));
  EXPECT_EQ(c->MonthBlocks().size(), 1u);
}

TEST(CalendarSelection, LimitsTrimClearAndStopMoves) {
  auto c = EmptyMulti();
  for (int d = 10; d <= 20; ++d) c->SelectDate(true, D(2002, 7, d));
  c->SetMinDate(D(2002, 7, 15));
  c->SetMinDateLimit(true);
  EXPECT_EQ(c->SelStart(), D(2002, 7, 15));
  EXPECT_EQ(c->SelCount(), 6);
  EXPECT_FALSE(c->SelectDate(true, D(2002, 7, 14)));
  c->SetMaxDate(D(2002, 7, 22));
  c->SetMaxDateLimit(true);
  EXPECT_TRUE(c->MoveSelection(2));
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 22));
  EXPECT_FALSE(c->MoveSelection(1));  // the leading end would cross MaxDate
  EXPECT_EQ(c->SelFinish(), D(2002, 7, 22));
  c->SetMaxDate(D(2002, 7, 10));  // wholly outside now
  EXPECT_EQ(c->SelCount(), 0);
}

TEST(CalendarSelection, MovingKeepsDatesThatCannotMove) {
  auto c = EmptyMulti();
  c->SelectDate(true, D(2002, 7, 3));
  c->SelectDate(true, D(2002, 7, 6));
  c->OnCanSelectDate = [](TKelCustomCalendar*, TDateTime date, bool& can) { can = date != D(2002, 7, 7); };
  EXPECT_TRUE(c->MoveSelection(1));
  EXPECT_TRUE(c->IsDateSelected(D(2002, 7, 4)));
  EXPECT_TRUE(c->IsDateSelected(D(2002, 7, 6)));  // its target was vetoed: not lost
  EXPECT_EQ(c->SelCount(), 2);
}

// Random operations on the calendar and on a plain set of dates give the same selection.
TEST(CalendarSelectionProperty, RandomOperationsMatchAPlainSetOfDates) {
  auto c = EmptyMulti(D(2003, 1, 1));
  c->SetMaxSelDates(0);
  std::set<int> model;
  int cursor = int(c->CursorDate());
  const int base = int(D(2003, 1, 1));
  std::mt19937 random(20260101);
  std::uniform_int_distribution<int> pickDay(0, 420), pickOp(0, 9), pickMove(-40, 40);
  const auto weekStart = [&](int d) { return int(c->WeekStart(d)); };
  for (int step = 0; step < 3000; ++step) {
    const int d = base + pickDay(random);
    switch (pickOp(random)) {
      case 0:
      case 1:
      case 2:
        c->SelectDate(true, d);
        model.insert(d);
        break;
      case 3:
      case 4:
        c->SelectDate(false, d);
        model.erase(d);
        break;
      case 5: {
        const bool clear = step % 3 == 0;
        c->SelectWeek(clear, d);
        if (clear) model.clear();
        const int w = weekStart(d);
        bool all = true;
        for (int i = 0; i < 7; ++i) all = all && model.count(w + i);
        for (int i = 0; i < 7; ++i) all ? void(model.erase(w + i)) : void(model.insert(w + i));
        cursor = w + 6;
        break;
      }
      case 6: {
        c->SelectMonth(false, d);
        const int first = int(FirstDayOfMonth(d));
        const int from = weekStart(first), to = weekStart(int(LastDayOfMonth(d))) + 6;
        for (int x = from; x <= to; ++x) model.insert(x);
        cursor = from;
        break;
      }
      case 7: {
        const int n = pickMove(random);
        const bool moved = c->MoveSelection(n);
        EXPECT_EQ(moved, !model.empty());
        if (moved) {
          std::set<int> shifted;
          for (int x : model) shifted.insert(x + n);
          model.swap(shifted);
          cursor += n;
        }
        break;
      }
      case 8:
        if (step % 5 == 0) {
          c->ClearSelection();
          model.clear();
        }
        break;
      case 9:
        if (!(model.size() > 0 && d == cursor)) {
          c->SetDate(d);
          model.erase(cursor);
          model.insert(d);
          cursor = d;
        }
        break;
    }
    ASSERT_EQ(c->SelCount(), int(model.size())) << "step " << step;
    ASSERT_EQ(int(c->CursorDate()), cursor) << "step " << step;
    // Week mode stands for whole weeks only: from a week start, every day up to the end.
    if (c->WeekMode()) {
      ASSERT_FALSE(model.empty()) << "step " << step;
      const int first = *model.begin(), last = *model.rbegin();
      ASSERT_EQ(first, weekStart(first)) << "step " << step;
      ASSERT_EQ((last - first + 1) % 7, 0) << "step " << step;
      ASSERT_EQ(int(model.size()), last - first + 1) << "step " << step;
    }
    if (!model.empty()) {
      ASSERT_EQ(int(c->SelStart()), *model.begin()) << "step " << step;
      ASSERT_EQ(int(c->SelFinish()), *model.rbegin()) << "step " << step;
    }
    if (step % 50 == 0) {
      for (int x = base - 60; x <= base + 480; ++x)
        ASSERT_EQ(c->IsDateSelected(x), model.count(x) == 1) << "date " << x << " step " << step;
      const auto& blocks = c->MonthBlocks();
      for (size_t i = 0; i < blocks.size(); ++i) {
        ASSERT_NE(blocks[i].Mask, 0u);
        if (i > 0) {
          ASSERT_LT(blocks[i - 1].MonthStart, blocks[i].MonthStart);
        }
      }
    }
  }
}
