#pragma once
// What a screen reader meets in a calendar:
//   the calendar      a grouping: the two navigation buttons, then one group per month shown;
//   a month group     named by its month: the month header (a button that opens the month
//                     list) and the month's table of days;
//   a month table     six weeks of seven days (column descriptions: the day names);
//   a day             a cell named by its full date in the long date format, selected with
//                     the selection, focused where the cursor is while the calendar has the
//                     focus, described as "today" or as a day of the neighbouring month;
//                     blank days of the grid are invisible and nameless.
// The parts are positional (month group m, day i of its grid) and made when first asked for;
// when the months shown change they are dropped, so a reader fetches them anew.

#include <QAccessibleWidget>
#include <QPointer>

#include "DateUtils.h"
#include "KelAccessibleChildren_p.h"

namespace Kel {

class TKelCustomCalendar;

class TKelAccessibleCalendar : public QAccessibleWidget {
 public:
  explicit TKelAccessibleCalendar(QWidget* widget);

  TKelCustomCalendar* Calendar() const;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  // The parts, made on first use (nullptr for a month or day that is not shown).
  QAccessibleInterface* NavButton(int direction) const;  // -1 previous, +1 next
  QAccessibleInterface* Month(int month) const;
  QAccessibleInterface* Header(int month) const;
  QAccessibleInterface* Table(int month) const;
  QAccessibleInterface* Day(int month, int cell) const;
  // The day that shows date (nullptr when no month shows it).
  QAccessibleInterface* DayOfDate(TDateTime date) const;
  // Drops every part: the months shown changed.
  void ForgetParts() { parts_.Clear(); }

 private:
  mutable TKelAccessibleChildren<quint64> parts_;
};

}  // namespace Kel
