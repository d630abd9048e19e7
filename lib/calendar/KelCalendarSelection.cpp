// The calendar's selection: the month blocks of a multi-selection, the single date or week,
// the operations built on SelectDate, and the property rules that act on the selection.
#include <algorithm>
#include <bit>
#include <vector>

#include "KelAccessibleReport.h"
#include "KelCalendar.h"

namespace Kel {

// Batches the change event for the scope's life, exceptions included.
class TKelCustomCalendar::UpdateScope {
 public:
  explicit UpdateScope(TKelCustomCalendar& calendar) : calendar_(calendar) { calendar_.BeginUpdate(); }
  ~UpdateScope() { calendar_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TKelCustomCalendar& calendar_;
};

namespace {

template <typename Blocks>
auto FindBlock(Blocks& blocks, TDateTime monthStart) {
  return std::lower_bound(blocks.begin(), blocks.end(), monthStart,
                          [](const TKelCalendarMonthBlock& b, TDateTime m) { return b.MonthStart < m; });
}

TDateTime LowestDate(const TKelCalendarMonthBlock& block) {
  return block.MonthStart + std::countr_zero(block.Mask);
}

TDateTime HighestDate(const TKelCalendarMonthBlock& block) {
  return block.MonthStart + (31 - std::countl_zero(block.Mask));
}

}  // namespace

void TKelCustomCalendar::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changed_) {
    changed_ = false;
    DateChanged();
  }
}

void TKelCustomCalendar::MarkChanged() {
  changed_ = true;
  if (updateCount_ == 0) {
    changed_ = false;
    DateChanged();
  }
}

bool TKelCustomCalendar::CanSelectDate(TDateTime date) {
  bool canChange = true;
  if (OnCanSelectDate) OnCanSelectDate(this, date, canChange);
  return canChange;
}

void TKelCustomCalendar::DateChanged() {
  // The focus frame moves with the cursor.
  if (focusDrawnDate_ != 0 && focusDrawnDate_ != cursorDate_) {
    InvalidateDate(focusDrawnDate_);
    InvalidateDate(cursorDate_);
  }
  ReportAccessible(this, TKelAccessibleChange::Selection, cursorDate_);
  ReportAccessible(this, TKelAccessibleChange::Focus, cursorDate_);
  if (OnDateChanged) OnDateChanged(this);
}

bool TKelCustomCalendar::IsDateSelected(TDateTime date) const {
  date = DateOnly(date);
  if (selCount_ == 0 || date < selStart_ || date > selFinish_) return false;
  if (!multiSelect_) return true;
  const TDateTime month = FirstDayOfMonth(date);
  const auto it = FindBlock(blocks_, month);
  return it != blocks_.end() && it->MonthStart == month && (it->Mask >> int(date - month) & 1u);
}

bool TKelCustomCalendar::SelectDate(bool select, TDateTime date) {
  date = DateOnly(date);
  if (!multiSelect_) {
    if (!select) return !IsDateSelected(date);
    SetDate(date);
    return IsDateSelected(date);
  }
  return SelectMulti(select, date);
}

bool TKelCustomCalendar::SelectMulti(bool select, TDateTime date) {
  if (IsDateSelected(date) == select) return true;
  if (select && ((maxSelDates_ > 0 && selCount_ >= maxSelDates_) || !InsideLimits(date))) return false;
  if (!CanSelectDate(date)) return false;
  SetBit(date, select);
  MarkChanged();
  InvalidateDate(date);
  return true;
}

void TKelCustomCalendar::SetBit(TDateTime date, bool on) {
  const TDateTime month = FirstDayOfMonth(date);
  const quint32 bit = 1u << int(date - month);
  auto it = FindBlock(blocks_, month);
  if (on) {
    if (it == blocks_.end() || it->MonthStart != month) it = blocks_.insert(it, TKelCalendarMonthBlock{month, 0});
    it->Mask |= bit;
    ++selCount_;
    if (selCount_ == 1) {
      selStart_ = selFinish_ = date;
    } else {
      selStart_ = std::min(selStart_, date);
      selFinish_ = std::max(selFinish_, date);
    }
    return;
  }
  it->Mask &= ~bit;
  if (it->Mask == 0) blocks_.erase(it);
  --selCount_;
  RecomputeBounds();
}

void TKelCustomCalendar::RecomputeBounds() {
  if (blocks_.empty()) {
    selCount_ = 0;
    selStart_ = selFinish_ = 0;
    return;
  }
  selStart_ = LowestDate(blocks_.front());
  selFinish_ = HighestDate(blocks_.back());
}

void TKelCustomCalendar::SetDate(TDateTime date) {
  date = DateOnly(date);
  if (selCount_ > 0 && date == cursorDate_) return;
  if (multiSelect_) {
    UpdateScope batch(*this);
    SelectMulti(false, cursorDate_);
    cursorDate_ = anchorDate_ = date;
    SelectMulti(true, date);
    return;
  }
  SetSingle(date);
}

bool TKelCustomCalendar::SetSingle(TDateTime date, bool scroll) {
  if (!InsideLimits(date)) return false;
  // Only a date outside the months shown brings its month into view.
  if (scroll && (date < startDate_ || date >= IncMonthSafe(startDate_, MonthCount()))) SetStartDate(date);
  if (!CanSelectDate(date)) return false;
  if (selCount_ > 0) InvalidateRange(selStart_, selFinish_);
  if (selectKind_ == skWeekSel) {
    selStart_ = WeekStart(date);
    selFinish_ = selStart_ + 6;
    selCount_ = 7;
  } else {
    selStart_ = selFinish_ = date;
    selCount_ = 1;
  }
  SetWeekModeValue(selectKind_ == skWeekSel);
  cursorDate_ = anchorDate_ = selStart_;
  InvalidateRange(selStart_, selFinish_);
  MarkChanged();
  return true;
}

bool TKelCustomCalendar::ClearSelection() {
  SetWeekModeValue(false);
  if (multiSelect_) {
    UpdateScope batch(*this);
    while (selCount_ > 0)
      if (!SelectMulti(false, selStart_)) return false;
    return true;
  }
  if (selCount_ == 0) return true;
  if (!CanSelectDate(cursorDate_)) return false;
  InvalidateRange(selStart_, selFinish_);
  selStart_ = selFinish_ = 0;
  selCount_ = 0;
  MarkChanged();
  return true;
}

bool TKelCustomCalendar::SelectRun(TDateTime from, TDateTime to, bool select) {
  bool all = true;
  for (TDateTime d = from; d <= to; d += 1) all = SelectMulti(select, d) && all;
  return all;
}

bool TKelCustomCalendar::SelectWeek(bool clearFirst, TDateTime date) {
  if (!multiSelect_) return false;
  UpdateScope batch(*this);
  if (clearFirst && !ClearSelection()) return false;
  const TDateTime week = WeekStart(date);
  if (!extendedSelect_ && selCount_ > 0) {
    const bool touches = (selStart_ >= week && selStart_ <= week + 7) ||
                         (selFinish_ >= week - 1 && selFinish_ <= week + 6);
    if (!touches) return false;
  }
  anchorDate_ = week;
  cursorDate_ = week + 6;
  bool allSelected = true;
  for (int i = 0; i < 7 && allSelected; ++i) allSelected = IsDateSelected(week + i);
  const bool result = SelectRun(week, week + 6, !allSelected);
  // Seven dates left need not be a week (a toggled week beside loose dates): ask the rule.
  if (selCount_ == 7) UpdateWeekMode();
  return result;
}

bool TKelCustomCalendar::SelectMonth(bool clearFirst, TDateTime date) {
  if (!multiSelect_) return false;
  UpdateScope batch(*this);
  if (clearFirst && !ClearSelection()) return false;
  const TDateTime month = FirstDayOfMonth(DateOnly(date));
  const TDateTime from = WeekStart(month);
  const TDateTime to = WeekEnd(LastDayOfMonth(month));
  if (!extendedSelect_ && selCount_ > 0 && (selStart_ > to || selFinish_ < from)) return false;
  anchorDate_ = to;
  cursorDate_ = from;
  const bool result = SelectRun(from, to, true);
  if (!IsDateSelected(cursorDate_)) cursorDate_ = selStart_;
  if (!IsDateSelected(anchorDate_)) anchorDate_ = selFinish_;
  return result;
}

void TKelCustomCalendar::SetSelStart(TDateTime date) { SetSelEnd(true, date); }

void TKelCustomCalendar::SetSelFinish(TDateTime date) { SetSelEnd(false, date); }

void TKelCustomCalendar::SetSelEnd(bool start, TDateTime date) {
  date = DateOnly(date);
  // An end moved past the other end moves the other end instead.
  if (selCount_ > 0 && (start ? date > selFinish_ : date < selStart_)) start = !start;
  date = ClampToLimits(date);
  if (!multiSelect_) {
    SetDate(date);
  } else if (selCount_ == 0) {
    cursorDate_ = anchorDate_ = date;
    SelectMulti(true, date);
  } else {
    StepEnd(start, date);
  }
}

bool TKelCustomCalendar::StepEnd(bool start, TDateTime target) {
  UpdateScope batch(*this);
  while (selCount_ > 0) {
    const TDateTime end = start ? selStart_ : selFinish_;
    if (end == target) return true;
    const bool grow = start ? target < end : target > end;
    const bool ok = grow ? SelectMulti(true, start ? end - 1 : end + 1) : SelectMulti(false, end);
    if (!ok || (start ? selStart_ : selFinish_) == end) return false;
  }
  return false;
}

bool TKelCustomCalendar::MoveSelection(int days) {
  if (selCount_ == 0) return false;
  if (!multiSelect_) {
    SetSelStart(selStart_ + days);
    return true;
  }
  if (days <= 0 && ((minDateLimit_ && selStart_ + days < minDate_) || selStart_ + days < MinValidDate()))
    return false;
  if (days > 0 && ((maxDateLimit_ && selFinish_ + days > maxDate_) || selFinish_ + days > MaxValidDate()))
    return false;
  std::vector<TDateTime> dates;
  dates.reserve(selCount_);
  for (const TKelCalendarMonthBlock& block : blocks_)
    for (quint32 mask = block.Mask; mask != 0; mask &= mask - 1)
      dates.push_back(block.MonthStart + std::countr_zero(mask));
  if (days > 0) std::reverse(dates.begin(), dates.end());
  {
    UpdateScope batch(*this);
    for (TDateTime date : dates) {
      if (!SelectMulti(false, date)) continue;
      // A refused target must not lose the date: it stays where it was.
      if (!SelectMulti(true, date + days)) SelectMulti(true, date);
    }
    cursorDate_ += days;
  }
  if (days <= 0 && selStart_ < startDate_) SetStartDate(selStart_);
  if (days > 0 && selFinish_ >= IncMonthSafe(startDate_, MonthCount())) SetStartDate(selStart_);
  return true;
}

// ---- week mode ------------------------------------------------------------------------------

void TKelCustomCalendar::UpdateWeekMode() {
  bool on = false;
  if (selCount_ > 0) {
    const int span = int(selFinish_ - selStart_) + 1;
    on = selStart_ == WeekStart(selStart_) && span % 7 == 0 && selCount_ == span;
  }
  SetWeekModeValue(on);
}

void TKelCustomCalendar::SetWeekModeValue(bool value) {
  if (weekMode_ == value) return;
  weekMode_ = value;
  InvalidateSideStrips();
}

// ---- property rules -------------------------------------------------------------------------

void TKelCustomCalendar::SetMultiSelect(bool value) {
  if (multiSelect_ == value) return;
  const bool had = selCount_ > 0;
  const TDateTime old = selStart_;
  if (had && !ClearSelection()) return;
  multiSelect_ = value;
  blocks_.clear();
  selCount_ = 0;
  selStart_ = selFinish_ = 0;
  if (!had) return;
  if (value) {
    cursorDate_ = anchorDate_ = old;
    SelectMulti(true, old);
  } else {
    SetSingle(old);
  }
}

void TKelCustomCalendar::SetSelectKind(TKelCalSelectKind value) {
  if (selectKind_ == value) return;
  selectKind_ = value;
  if (!multiSelect_ || selCount_ == 0) return;
  UpdateScope batch(*this);
  if (value == skWeekSel) {
    const TDateTime week = WeekStart(selStart_);
    SetSelStart(week);
    SetSelFinish(week + 6);
  } else {
    SetSelFinish(selStart_);
  }
  UpdateWeekMode();
}

void TKelCustomCalendar::SetExtendedSelect(bool value) {
  if (extendedSelect_ == value) return;
  extendedSelect_ = value;
  if (!value && multiSelect_ && selCount_ > 0) {
    SetSelFinish(selStart_);
    UpdateWeekMode();
  }
}

void TKelCustomCalendar::SetMaxSelDates(int value) {
  value = std::max(value, 0);
  if (maxSelDates_ == value) return;
  maxSelDates_ = value;
  if (value == 0 || !multiSelect_) return;
  {
    UpdateScope batch(*this);
    while (selCount_ > value && selStart_ != selFinish_)
      if (!SelectMulti(false, selFinish_)) break;
  }
  UpdateWeekMode();
}

void TKelCustomCalendar::ApplyLimitsToSelection() {
  update();
  if (IsLoading()) return;
  SetStartDate(startDate_);
  if (selCount_ == 0) return;
  if ((minDateLimit_ && selFinish_ < minDate_) || (maxDateLimit_ && selStart_ > maxDate_)) {
    ClearSelection();
    return;
  }
  UpdateScope batch(*this);
  if (minDateLimit_ && selStart_ < minDate_) SetSelStart(minDate_);
  if (maxDateLimit_ && selFinish_ > maxDate_) SetSelFinish(maxDate_);
}

// ---- invalidation ---------------------------------------------------------------------------

void TKelCustomCalendar::InvalidateDate(TDateTime date) {
  const TRect day = DayRect(date);
  if (day.IsEmpty()) return;
  // The row with its side strips: a strip shows whether its week is selected.
  const int cellLeft = day.Left - day.Left % MonthWidth();
  update(QRect(ClientRect().left() + cellLeft, ClientRect().top() + day.Top, MonthWidth(), day.Height()));
}

void TKelCustomCalendar::InvalidateRange(TDateTime from, TDateTime to) {
  if (to - from > 84) {
    update();
    return;
  }
  for (TDateTime d = from; d <= to; d += 1) InvalidateDate(d);
}

void TKelCustomCalendar::InvalidateSideStrips() { update(); }

}  // namespace Kel
