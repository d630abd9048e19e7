// The calendar as a screen reader meets it: navigation buttons and one group per month, each a
// header button and a table of days named by their long dates; selection, focus and "today";
// the actions of buttons, headers and days; parts renewed when the months shown change; the
// month list found under its header; the reports of cursor moves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "AccessTestSupport.h"
#include "DateTimeFormat.h"
#include "DateUtils.h"
#include "KelAccessible.h"
#include "KelCalPopup.h"
#include "KelCalendar.h"

namespace Kel {
namespace {

using namespace Testing;

constexpr TDateTime kOct1999 = 36434;  // Friday, 1 October 1999

class AccessibleCalendarTest : public ::testing::Test {
 protected:
  AccessibleCalendarTest() {
    calendar_.SetMultiSelect(false);
    calendar_.SetFirstDayOfWeek(dwMonday);
    calendar_.resize(2 * calendar_.MonthWidth() + 2 * calendar_.FrameWidth() + 1,
                     calendar_.MonthHeight() + 2 * calendar_.FrameWidth() + 1);
    calendar_.SetStartDate(kOct1999);
    calendar_.SetDate(kOct1999 + 4);
    calendar_.show();
    QApplication::setActiveWindow(&calendar_);
    calendar_.setFocus();
  }
  QAccessibleInterface* Root() { return Accessible(&calendar_); }
  QAccessibleInterface* Month(int m) { return Root()->child(2 + m); }
  QAccessibleInterface* Table(int m) { return Month(m)->child(1); }
  QAccessibleInterface* DayOf(TDateTime date) {
    QAccessibleInterface* table = Table(0);
    for (int i = 0; i < table->childCount(); ++i)
      if (table->child(i)->text(QAccessible::Name) == FormatDateTime("dddddd", date))
        return table->child(i);
    return nullptr;
  }

  TKelCalendar calendar_;
};

TEST_F(AccessibleCalendarTest, MonthsAreGroupsOfAHeaderAndATableOfDays) {
  ASSERT_GE(calendar_.MonthCount(), 2);
  EXPECT_EQ(Root()->childCount(), 2 + calendar_.MonthCount());
  EXPECT_EQ(Root()->child(0)->text(QAccessible::Name), "Previous month");
  EXPECT_EQ(Root()->child(1)->text(QAccessible::Name), "Next month");
  EXPECT_EQ(Month(0)->role(), QAccessible::Grouping);
  EXPECT_EQ(Month(0)->text(QAccessible::Name), "October 1999");
  EXPECT_EQ(Month(1)->text(QAccessible::Name), "November 1999");
  QAccessibleInterface* header = Month(0)->child(0);
  EXPECT_EQ(header->role(), QAccessible::Button);
  EXPECT_EQ(header->text(QAccessible::Name), "October 1999");
  QAccessibleTableInterface* table = Table(0)->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 6);
  EXPECT_EQ(table->columnCount(), 7);
  EXPECT_EQ(table->columnDescription(0), "Monday");
  EXPECT_EQ(table->columnDescription(6), "Sunday");
  // Every part says where it is and finds its way back up.
  for (int i = 0; i < Root()->childCount(); ++i) EXPECT_EQ(Root()->indexOfChild(Root()->child(i)), i);
  QAccessibleInterface* cell = table->cellAt(0, 4);
  EXPECT_EQ(cell->parent(), Table(0));
  EXPECT_EQ(Table(0)->indexOfChild(cell), 4);
  EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 4);
}

TEST_F(AccessibleCalendarTest, DaysAreNamedByTheirLongDateWithTheirStates) {
  // October 1999 starts on a Friday: the grid's first four days are September's.
  QAccessibleTableInterface* october = Table(0)->tableInterface();
  EXPECT_EQ(october->cellAt(0, 4)->text(QAccessible::Name), "Friday, October 1, 1999");
  EXPECT_EQ(october->cellAt(0, 0)->text(QAccessible::Name), "Monday, September 27, 1999");
  EXPECT_EQ(october->cellAt(0, 0)->text(QAccessible::Description), "other month");
  // Inside the months shown, the days of a neighbouring month are blank: nameless, invisible.
  QAccessibleInterface* blank = october->cellAt(5, 6);  // 7 November
  EXPECT_TRUE(blank->text(QAccessible::Name).isEmpty());
  EXPECT_TRUE(blank->state().invisible);
  QAccessibleInterface* chosen = DayOf(kOct1999 + 4);
  ASSERT_NE(chosen, nullptr);
  EXPECT_TRUE(chosen->state().selected);
  EXPECT_TRUE(chosen->state().focused);
  EXPECT_FALSE(DayOf(kOct1999)->state().selected);
  calendar_.SetMinDateLimit(true);
  calendar_.SetMinDate(kOct1999 + 2);
  EXPECT_TRUE(DayOf(kOct1999)->state().disabled);
  EXPECT_TRUE(Actions(DayOf(kOct1999)).isEmpty());

  calendar_.SetMinDateLimit(false);
  calendar_.SetStartDate(Date());
  QAccessibleInterface* today = nullptr;
  for (int i = 0; i < Table(0)->childCount() && !today; ++i)
    if (Table(0)->child(i)->text(QAccessible::Name) == FormatDateTime("dddddd", Date()))
      today = Table(0)->child(i);
  ASSERT_NE(today, nullptr);
  EXPECT_TRUE(today->text(QAccessible::Description).contains("today"));
}

TEST_F(AccessibleCalendarTest, ActionsSelectDaysMoveMonthsAndOpenTheMonthList) {
  Do(DayOf(kOct1999 + 9), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(calendar_.Date(), kOct1999 + 9);
  Do(Root()->child(1), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(calendar_.StartDate(), EncodeDate(1999, 11, 1));
  // The parts were made anew for the months now shown.
  EXPECT_EQ(Month(0)->text(QAccessible::Name), "November 1999");
  Do(Month(1)->child(0), QAccessibleActionInterface::pressAction());
  TKelPopupMonthListBox* list = calendar_.MonthPopup();
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->isVisible());
  QAccessibleInterface* popup = Accessible(list);
  EXPECT_EQ(popup->text(QAccessible::Name), "Month list");
  EXPECT_EQ(popup->parent(), Month(1)->child(0));
  list->HidePopup();
  calendar_.SetShowNavButtons(false);
  EXPECT_TRUE(Root()->child(0)->state().invisible);
  Do(Root()->child(0), QAccessibleActionInterface::pressAction());
  EXPECT_EQ(calendar_.StartDate(), EncodeDate(1999, 11, 1));
}

TEST_F(AccessibleCalendarTest, TheFocusFollowsTheCursor) {
  TReportLog log;
  QTest::keyClick(&calendar_, Qt::Key_Right);
  const QVariant moved(double(kOct1999 + 5));
  EXPECT_TRUE(log.Has(&calendar_, TKelAccessibleChange::Focus, moved));
  EXPECT_TRUE(log.Has(&calendar_, TKelAccessibleChange::Selection, moved));
  auto events = AccessibleEventsFor(&calendar_, TKelAccessibleChange::Focus, moved);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]->accessibleInterface()->text(QAccessible::Name), "Wednesday, October 6, 1999");
  EXPECT_TRUE(events[0]->accessibleInterface()->state().focused);
  // Moving past the months shown scrolls them: the structure changes.
  log.Clear();
  calendar_.SetDate(EncodeDate(2000, 3, 1));
  EXPECT_TRUE(log.Has(&calendar_, TKelAccessibleChange::Structure));
}

}  // namespace
}  // namespace Kel
