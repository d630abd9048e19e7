#pragma once
// Shared pieces of the calendar tests: a calendar of a given number of month cells with a pinned
// font and first day of the week, dates by year, month and day, and real mouse events.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "DateUtils.h"
#include "KelCalendar.h"
#include "KelUtils.h"

namespace Kel::Testing {

inline TDateTime D(int year, int month, int day) { return EncodeDate(year, month, day); }

// A calendar cols x rows months large, Monday first, starting at startMonth.
inline std::unique_ptr<TKelCalendar> MakeCalendar(int cols, int rows, TDateTime startMonth,
                                                  TKelFirstDayOfWeek firstDay = dwMonday) {
  auto calendar = std::make_unique<TKelCalendar>();
  calendar->setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  calendar->SetFirstDayOfWeek(firstDay);
  const int frame = 2 * calendar->FrameWidth();
  calendar->resize(frame + cols * calendar->MonthWidth(), frame + rows * calendar->MonthHeight());
  calendar->SetStartDate(startMonth);
  return calendar;
}

// The centre of date's day cell in widget coordinates.
inline QPoint DayPoint(const TKelCustomCalendar& calendar, TDateTime date) {
  const TRect r = calendar.DayRect(date);
  return calendar.ClientRect().topLeft() + QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {}) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, modifiers);
  QApplication::sendEvent(widget, &event);
}

inline void Press(QWidget* w, QPoint pos, Qt::KeyboardModifiers modifiers = {}) {
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, modifiers);
}
inline void DragTo(QWidget* w, QPoint pos, Qt::KeyboardModifiers modifiers = {}) {
  SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, modifiers);
}
inline void Release(QWidget* w, QPoint pos, Qt::KeyboardModifiers modifiers = {}) {
  SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, modifiers);
}
inline void Click(QWidget* w, QPoint pos, Qt::KeyboardModifiers modifiers = {}) {
  Press(w, pos, modifiers);
  Release(w, pos, modifiers);
}

}  // namespace Kel::Testing
