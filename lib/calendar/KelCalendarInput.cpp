// Mouse and keyboard of the calendar: presses, drags and releases on every area, the repeat of
// a held navigation button, and the key table, all made of the selection operations.
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>

#include "KelCalendar.h"
#include "MessageBeep.h"
#include "VirtualKeys.h"

namespace Kel {

namespace {

bool IsDayArea(TKelCalendarHitTest area) {
  return area == htDay || area == htLeadingDay || area == htTrailingDay;
}

int Sign(double value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

}  // namespace

// Batches the change event; the same as the selection's, for the gestures.
class TKelCustomCalendarInputBatch {
 public:
  explicit TKelCustomCalendarInputBatch(TKelCustomCalendar& c) : c_(c) { c_.BeginUpdate(); }
  ~TKelCustomCalendarInputBatch() { c_.EndUpdate(); }
  TKelCustomCalendarInputBatch(const TKelCustomCalendarInputBatch&) = delete;
  TKelCustomCalendarInputBatch& operator=(const TKelCustomCalendarInputBatch&) = delete;

 private:
  TKelCustomCalendar& c_;
};

TPoint TKelCustomCalendar::ToClient(const QPoint& widgetPoint) const {
  return TPoint::FromQPoint(widgetPoint - ClientRect().topLeft());
}

bool TKelCustomCalendar::InLeftStrip(int x) const {
  const int inCell = x % MonthWidth();
  return inCell < DayColumnsLeft();
}

// ---- mouse ----------------------------------------------------------------------------------

void TKelCustomCalendar::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TKelCustomCalendar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    TKelCustomControl::mousePressEvent(event);
    return;
  }
  if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  const TPoint p = ToClient(event->position().toPoint());
  lastMousePos_ = p;
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  const bool ctrl = shift.Contains(ssCtrl);
  TDateTime date = 0;
  TKelCalendarHitTest area = HitTest(p.X, p.Y, date);
  if (area == htWeekLeft && !sideWeekSelect_) return;
  if (readOnly_ && area != htPrevButton && area != htNextButton && area != htMonthHeader) return;
  bool leftStripPress = area == htWeekLeft && InLeftStrip(p.X);
  if (selectKind_ == skWeekSel && IsDayArea(area)) {
    area = htWeekLeft;
    date = WeekStart(date);
    leftStripPress = true;
  }
  switch (area) {
    case htPrevButton:
    case htNextButton: {
      if (!showNavButtons_) break;
      const int months = (area == htPrevButton ? -1 : 1) * (ctrl ? 12 : 1);
      if (Scroll(months)) StartRepeat(area, months);
      break;
    }
    case htMonthHeader:
      ShowMonthList(p.X / MonthWidth(), p.Y / MonthHeight());
      break;
    case htDayNames:
      if (multiSelect_ && SelectMonth(!ctrl, date) && !(ctrl && selectKind_ != skWeekSel))
        SetWeekModeValue(true);
      break;
    case htWeekLeft:
      if (!leftStripPress) break;
      pressShiftState_ = shift;
      if (multiSelect_) {
        SelectWeek(!ctrl, date);
        pressing_ = true;
        pressTarget_ = true;
      } else if (selectKind_ == skWeekSel) {
        SetSingle(date, false);
        pressing_ = true;
      }
      break;
    case htDay:
    case htLeadingDay:
    case htTrailingDay:
      PressOnDay(date, shift);
      break;
    default:
      break;
  }
}

void TKelCustomCalendar::PressOnDay(TDateTime date, TShiftState shift) {
  pressShiftState_ = shift;
  pressing_ = true;
  weekDrag_ = false;
  altBlockActive_ = false;
  if (!multiSelect_) {
    SetSingle(date, false);
    return;
  }
  TKelCustomCalendarInputBatch batch(*this);
  const bool ctrl = shift.Contains(ssCtrl);
  if (shift.Contains(ssShift) && selCount_ > 0) {
    if (!ctrl) {
      ClearSelection();
      SelectMulti(true, anchorDate_);
    }
    cursorDate_ = anchorDate_;
    pressTarget_ = true;
    DayMove(date);
    return;
  }
  const bool target = ctrl ? !IsDateSelected(date) : true;
  if (!ctrl) ClearSelection();
  pressTarget_ = target;
  anchorDate_ = cursorDate_ = date;
  if (!extendedSelect_ && selCount_ > 0) {
    bool allowed = false;
    if (!target && date == selStart_) {
      anchorDate_ = selFinish_;
      allowed = true;
    } else if (!target && date == selFinish_) {
      anchorDate_ = selStart_;
      allowed = true;
    } else if (target) {
      allowed = date == selStart_ - 1 || date == selFinish_ + 1;
    }
    if (!allowed) {
      releaseMouse();
      pressing_ = false;
      return;
    }
  }
  if (IsDateSelected(date) == target) return;
  if (target && ((maxSelDates_ > 0 && selCount_ >= maxSelDates_) || !InsideLimits(date))) {
    MessageBeep();
    return;
  }
  if (!CanSelectDate(date)) {
    MessageBeep();
    return;
  }
  SetWeekModeValue(false);
  SelectMulti(target, date);
}

void TKelCustomCalendar::mouseMoveEvent(QMouseEvent* event) {
  const TPoint p = ToClient(event->position().toPoint());
  lastMousePos_ = p;
  TDateTime date = 0;
  const TKelCalendarHitTest area = HitTest(p.X, p.Y, date);
  MouseArea(area);
  const bool weekCursor = area == htWeekLeft && InLeftStrip(p.X) && sideWeekSelect_ && multiSelect_ &&
                          !readOnly_ && !IsDesigning();
  if (weekCursor) setCursor(ScreenCursor(weekCursor_));
  else unsetCursor();
  if (!(event->buttons() & Qt::LeftButton) || !pressing_ || readOnly_) return;
  DragTo(area, date, p.X);
}

void TKelCustomCalendar::DragTo(TKelCalendarHitTest area, TDateTime date, int x) {
  TKelCustomCalendarInputBatch batch(*this);
  if (area == htWeekLeft && sideWeekSelect_ && InLeftStrip(x) && multiSelect_) {
    if (std::abs(cursorDate_ - anchorDate_) < 6) SelectWeek(false, anchorDate_);
    if (date != WeekStart(cursorDate_)) WeekMove(date);
    return;
  }
  if (!IsDayArea(area) && area != htHiddenDay) return;
  if (!multiSelect_) {
    SetSingle(date, false);
    return;
  }
  if (selectKind_ == skWeekSel || weekMode_ || weekDrag_) {
    WeekMove(WeekStart(date));
    return;
  }
  const bool plain = !pressShiftState_.Contains(ssShift) && !pressShiftState_.Contains(ssCtrl);
  if (selectKind_ == skProgressive && plain) {
    const double span = std::abs(date - anchorDate_);
    const TDateTime first = std::min(date, anchorDate_);
    if (span > 7 || (span >= 6 && first == WeekStart(first))) {
      WeekMove(WeekStart(date));
      UpdateWeekMode();
      return;
    }
  }
  if (selCount_ > 0 && date != cursorDate_) DayMove(date);
}

void TKelCustomCalendar::WeekMove(TDateTime rowStart) {
  if (!multiSelect_) return;
  weekDrag_ = true;
  const bool state = pressShiftState_.Contains(ssCtrl) ? pressTarget_ : true;
  const TDateTime anchorWeek = WeekStart(anchorDate_);
  const bool forward = rowStart >= anchorWeek;
  // The anchor's week is always part of a week drag, the anchor at its far side.
  for (int i = 0; i < 7; ++i) SelectMulti(state, anchorWeek + i);
  anchorDate_ = forward ? anchorWeek : anchorWeek + 6;
  // The span the drag covered before, and the one it covers now.
  const TDateTime oldFrom = std::min(anchorWeek, cursorDate_), oldTo = std::max(anchorWeek + 6, cursorDate_);
  const TDateTime newFrom = std::min(anchorWeek, rowStart), newTo = std::max(anchorWeek + 6, rowStart + 6);
  for (TDateTime d = oldFrom; d <= oldTo; d += 1)
    if ((d < newFrom || d > newTo) && (d < anchorWeek || d > anchorWeek + 6)) SelectMulti(!state, d);
  for (TDateTime d = newFrom; d <= newTo; d += 1)
    if (d < oldFrom || d > oldTo) SelectMulti(state, d);
  cursorDate_ = forward ? rowStart + 6 : rowStart;
}

void TKelCustomCalendar::DayMove(TDateTime date) {
  if (extendedSelect_ && selectKind_ == skFree && pressShiftState_.Contains(ssAlt)) {
    AltBlockMove(date);
    return;
  }
  const bool toggle = extendedSelect_ && pressShiftState_.Contains(ssCtrl);
  const bool state = pressShiftState_.Contains(ssCtrl) ? pressTarget_ : true;
  while (cursorDate_ != date) {
    const int step = date > cursorDate_ ? 1 : -1;
    const TDateTime next = cursorDate_ + step;
    if (toggle) {
      if (!SelectMulti(!IsDateSelected(next), next)) break;
    } else if ((next - anchorDate_) * step > 0) {
      if (!SelectMulti(state, next)) break;  // moving away from the anchor: the range grows
    } else if (!SelectMulti(!state, cursorDate_)) {
      break;  // moving back towards the anchor: the date left behind drops out
    }
    cursorDate_ = next;
  }
}

void TKelCustomCalendar::AltBlockMove(TDateTime date) {
  const auto block = [this](TDateTime corner, bool select) {
    const TDateTime from = std::min(anchorDate_, corner), to = std::max(anchorDate_, corner);
    const int c1 = int(std::min(anchorDate_ - WeekStart(anchorDate_), corner - WeekStart(corner)));
    const int c2 = int(std::max(anchorDate_ - WeekStart(anchorDate_), corner - WeekStart(corner)));
    for (TDateTime week = WeekStart(from); week <= WeekStart(to); week += 7)
      for (int c = c1; c <= c2; ++c) SelectMulti(select, week + c);
  };
  if (altBlockActive_) block(altBlockEnd_, false);
  block(date, true);
  altBlockEnd_ = date;
  altBlockActive_ = true;
  cursorDate_ = date;
}

void TKelCustomCalendar::mouseReleaseEvent(QMouseEvent* event) {
  StopRepeat();
  const bool wasPressing = pressing_;
  pressing_ = false;
  weekDrag_ = false;
  const TPoint p = ToClient(event->position().toPoint());
  if (event->button() == Qt::LeftButton && !readOnly_ && wasPressing) {
    TDateTime date = 0;
    const TKelCalendarHitTest area = HitTest(p.X, p.Y, date);
    if (area == htLeadingDay && LastDayOfMonth(date) >= selFinish_) Scroll(-1);
    else if (area == htTrailingDay && FirstDayOfMonth(date) <= selStart_) Scroll(1);
  }
  if (OnMouseUp) {
    const TMouseButton button = event->button() == Qt::RightButton ? mbRight
                                : event->button() == Qt::MiddleButton ? mbMiddle
                                                                       : mbLeft;
    OnMouseUp(this, button, ShiftStateFromQt(event->modifiers(), event->buttons()), p.X, p.Y);
  }
}

// ---- navigation repeat ----------------------------------------------------------------------

void TKelCustomCalendar::StartRepeat(TKelCalendarHitTest button, int months) {
  (void)months;
  repeatButton_ = button;
  repeatTimer_->start();
}

void TKelCustomCalendar::StopRepeat() {
  repeatTimer_->stop();
  repeatButton_ = htNowhere;
}

void TKelCustomCalendar::RepeatTick() {
  TDateTime date = 0;
  if (repeatButton_ == htNowhere || HitTest(lastMousePos_.X, lastMousePos_.Y, date) != repeatButton_) {
    StopRepeat();
    return;
  }
  const int months = KeyboardShiftState().Contains(ssCtrl) ? 12 : 1;
  if (!Scroll(repeatButton_ == htPrevButton ? -months : months)) StopRepeat();
}

// ---- keyboard -------------------------------------------------------------------------------

void TKelCustomCalendar::InitDefaultKeys() {
  const TShiftState none{}, shift{ssShift}, ctrl{ssCtrl}, ctrlShift{ssCtrl, ssShift};
  AddKey(VK_RETURN, ctrl, [this] { KeyEnter(::Kel::Date()); });
  AddKey(VK_RETURN, ctrlShift, [this] { KeyEnter(startDate_); });
  AddKey(VK_RETURN, shift, [this] {
    if (multiSelect_ && selCount_ > 0) SetStartDate(selStart_);
  });
  AddKey(VK_ESCAPE, none, [this] {
    if (!readOnly_) ClearSelection();
  });
  AddKey(VK_LEFT, none, [this] { KeyMove(weekMode_ ? -7 : -1, false); });
  AddKey(VK_RIGHT, none, [this] { KeyMove(weekMode_ ? 7 : 1, false); });
  AddKey(VK_UP, none, [this] { KeyMove(-7, false); });
  AddKey(VK_DOWN, none, [this] { KeyMove(7, false); });
  AddKey(VK_HOME, none, [this] { KeyMoveTo(WeekStart(cursorDate_), false); });
  AddKey(VK_END, none, [this] { KeyMoveTo(WeekEnd(cursorDate_), false); });
  AddKey(VK_HOME, ctrl, [this] { KeyMoveTo(FirstDayOfMonth(cursorDate_), false); });
  AddKey(VK_END, ctrl, [this] { KeyMoveTo(LastDayOfMonth(cursorDate_), false); });
  AddKey(VK_PRIOR, ctrl, [this] { KeyMoveTo(WeekStart(FirstDayOfMonth(cursorDate_)), false); });
  AddKey(VK_NEXT, ctrl, [this] { KeyMoveTo(WeekStart(FirstDayOfMonth(cursorDate_)) + 41, false); });
  AddKey(VK_LEFT, shift, [this] { ShiftExtend(-1); });
  AddKey(VK_RIGHT, shift, [this] { ShiftExtend(1); });
  AddKey(VK_UP, shift, [this] { ShiftExtend(-7); });
  AddKey(VK_DOWN, shift, [this] { ShiftExtend(7); });
  AddKey(VK_HOME, shift, [this] { KeyMoveTo(WeekStart(cursorDate_), true); });
  AddKey(VK_END, shift, [this] { KeyMoveTo(WeekEnd(cursorDate_), true); });
  AddKey(VK_HOME, ctrlShift, [this] { KeyMoveTo(FirstDayOfMonth(cursorDate_), true); });
  AddKey(VK_END, ctrlShift, [this] { KeyMoveTo(LastDayOfMonth(cursorDate_), true); });
  AddKey(VK_PRIOR, ctrlShift, [this] { KeyMoveTo(WeekStart(FirstDayOfMonth(cursorDate_)), true); });
  AddKey(VK_NEXT, ctrlShift, [this] { KeyMoveTo(WeekStart(FirstDayOfMonth(cursorDate_)) + 41, true); });
}

void TKelCustomCalendar::KeyEnter(TDateTime target) {
  SetStartDate(target);
  if (readOnly_ || (multiSelect_ && selCount_ > 0)) return;
  SetDate(CanSelectDate(target) ? target : startDate_);
}

void TKelCustomCalendar::CollapseForKeyMove() {
  if (!clearOnKeyMoving_ || !multiSelect_ || selCount_ <= 1) return;
  TKelCustomCalendarInputBatch batch(*this);
  SetSelFinish(selStart_);
  if (selectKind_ == skWeekSel) {
    const TDateTime week = WeekStart(selStart_);
    SetSelStart(week);
    SetSelFinish(week + 6);
    UpdateWeekMode();
  } else {
    UpdateWeekMode();
  }
}

void TKelCustomCalendar::KeyMove(int days, bool shift) {
  (void)shift;
  if (readOnly_ || days == 0) return;
  CollapseForKeyMove();
  MoveSelection(days);
}

void TKelCustomCalendar::KeyMoveTo(TDateTime target, bool shift) {
  if (readOnly_) return;
  if (shift) {
    ShiftSelectTowards(target);
    return;
  }
  const int days = int(target - cursorDate_);
  if (days != 0) KeyMove(days, false);
}

void TKelCustomCalendar::ShiftExtend(int step) {
  if (readOnly_ || !multiSelect_ || !IsDateSelected(cursorDate_)) return;
  TKelCustomCalendarInputBatch batch(*this);
  const int dir = Sign(step);
  if (IsDateSelected(cursorDate_ - 1) && IsDateSelected(cursorDate_ + 1))
    while (IsDateSelected(cursorDate_ + dir)) cursorDate_ += dir;
  const bool grow = IsDateSelected(cursorDate_ - dir) || !IsDateSelected(cursorDate_ + dir);
  for (int i = 0; i < std::abs(step); ++i) {
    if (grow) {
      if (!SelectMulti(true, cursorDate_ + dir)) break;
    } else if (selCount_ <= 1 || !SelectMulti(false, cursorDate_)) {
      break;
    }
    cursorDate_ += dir;
  }
  AfterShiftExtension();
}

void TKelCustomCalendar::ShiftSelectTowards(TDateTime target) {
  if (!multiSelect_ || !IsDateSelected(cursorDate_)) return;
  TKelCustomCalendarInputBatch batch(*this);
  const int dir = Sign(target - cursorDate_);
  for (TDateTime d = cursorDate_ + dir; dir != 0 && Sign(target - d) != -dir; d += dir)
    if (SelectMulti(true, d)) cursorDate_ = d;
  AfterShiftExtension();
}

void TKelCustomCalendar::AfterShiftExtension() {
  UpdateWeekMode();
  if (cursorDate_ < startDate_ || cursorDate_ >= IncMonthSafe(startDate_, MonthCount() - 1))
    SetStartDate(cursorDate_);
}

}  // namespace Kel
