// The date field: the popup calendar opens on its value, a day clicked there fills the field,
// None empties it, Esc changes nothing, and a read-only field opens nothing.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "Buttons.h"
#include "CalendarTestSupport.h"
#include "KelCalendarEdit.h"

namespace Kel {
namespace {
using namespace Testing;

TEST(CalendarEdit, APickedDayFillsTheFieldNoneEmptiesItEscLeavesIt) {
  QWidget owner;
  owner.resize(300, 100);
  TKelCalendarEdit edit(&owner);
  edit.setGeometry(10, 10, 160, 24);
  owner.show();
  edit.SetNoneButton(true);
  int changes = 0;
  edit.OnChange = [&changes](TKelDropDownEdit*) { ++changes; };
  edit.SetValue(Variant::FromDate(D(2004, 2, 10) + 0.5));
  EXPECT_EQ(edit.DateTime(), D(2004, 2, 10));  // a date field keeps the date
  EXPECT_EQ(edit.Editor()->text(), "2/10/2004");

  QTest::keyClick(edit.Editor(), Qt::Key_Down, Qt::AltModifier);
  auto* popup = qobject_cast<TKelPopupCalendar*>(edit.Popup());
  ASSERT_TRUE(popup && popup->isVisible());
  EXPECT_EQ(popup->PopupDate(), D(2004, 2, 10));
  EXPECT_TRUE(popup->NoneButton());
  Click(popup->Calendar(), DayPoint(*popup->Calendar(), D(2004, 2, 12)));
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(edit.DateTime(), D(2004, 2, 12));
  EXPECT_EQ(edit.Editor()->text(), "2/12/2004");
  EXPECT_EQ(changes, 1);

  edit.DropDown();
  QTest::keyClick(popup, Qt::Key_Escape);
  EXPECT_EQ(edit.DateTime(), D(2004, 2, 12));
  edit.DropDown();
  popup->NoneSpeedButton()->click();
  EXPECT_TRUE(edit.IsEmpty());
  EXPECT_TRUE(edit.Editor()->text().isEmpty());
  EXPECT_EQ(changes, 2);

  edit.SetReadOnly(true);
  edit.DropDown();
  EXPECT_FALSE(popup->isVisible());
}

}  // namespace
}  // namespace Kel
