// The calendar window: its switches reach the calendar, the selection is reported as it changes,
// the limits take only dates, and the range picked in the popup is refused while restricted.
#include <gtest/gtest.h>

#include "ClickCheckBox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "../calendar/CalendarTestSupport.h"
#include "DateTimeFormat.h"
#include "KelCalPopup.h"
#include "KelCalendar.h"
#include "MessageBeep.h"
#include "calendunit.h"

namespace Kel {
namespace {

using Testing::D;
using Testing::DayPoint;

class CalendFormTest : public ::testing::Test {
 protected:
  CalendFormTest() {
    previousBeep_ = SetMessageBeepHook([this] { ++beeps; });
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  ~CalendFormTest() override { SetMessageBeepHook(previousBeep_); }

  template <class T>
  T* Child(const char* name) {
    T* child = form.findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  // A control of the option pages, with its page brought forward as a user would.
  template <class T>
  T* Option(const char* name) {
    T* control = Child<T>(name);
    auto* options = Child<QTabWidget>("PageControl2");
    for (int index = 0; control && index < options->count(); ++index)
      if (options->widget(index)->isAncestorOf(control)) options->setCurrentIndex(index);
    QCoreApplication::processEvents();  // the page shown lays its controls out
    return control;
  }
  TKelCalendar* Calendar() { return Child<TKelCalendar>("Calendar"); }
  void ClickDay(TDateTime date) { Testing::Click(Calendar(), DayPoint(*Calendar(), date)); }
  void LeaveEdit(const char* name, const QString& text) {
    auto* edit = Option<QLineEdit>(name);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  TCalendForm form;
  int beeps = 0;

 private:
  TMessageBeepHook previousBeep_;
};

TEST_F(CalendFormTest, StartsWithTheStoredCalendar) {
  EXPECT_EQ(form.windowTitle().toStdString(), "Calendar Demo");
  EXPECT_EQ(Calendar()->StartDate(), D(1999, 10, 1));
  EXPECT_TRUE(Calendar()->MultiSelect()) << "taken from the checked \"Multiselect\"";
  EXPECT_EQ(Calendar()->MaxSelDates(), 42);
  EXPECT_EQ(Child<QLineEdit>("MaxSelEdit")->text().toStdString(), "42");
  EXPECT_EQ(Calendar()->Colors()->WeekEndText(), clMaroon);
  EXPECT_EQ(Calendar()->Colors()->WeekDaysFont()->Name().toStdString(), "Tahoma");
  auto* options = Child<QTabWidget>("PageControl2");
  ASSERT_EQ(options->count(), 4);
  EXPECT_EQ(options->tabText(options->currentIndex()).toStdString(), "O1");
  EXPECT_EQ(options->tabText(3).toStdString(), "Colors");
}

TEST_F(CalendFormTest, DateChangesAreReportedAsLabelsCountAndCondition) {
  ClickDay(D(1999, 10, 12));
  EXPECT_EQ(Child<QLabel>("DateLabel")->text(), DateToStr(D(1999, 10, 12)));
  ASSERT_GE(form.ChangeCount(), 1);
  // The label shows the count from before the call: the first report says 0.
  EXPECT_EQ(Child<QLabel>("CountLabel")->text(),
            QStringLiteral("OnChange called %1 times").arg(form.ChangeCount() - 1));
  const int afterFirst = form.ChangeCount();
  const QString single = Child<QPlainTextEdit>("StatusMemo")->toPlainText();
  EXPECT_TRUE(single.startsWith(QStringLiteral("(Date='"))) << single.toStdString();

  // A Shift+click extends the selection to a range: one condition with both ends.
  Testing::Click(Calendar(), DayPoint(*Calendar(), D(1999, 10, 14)), Qt::ShiftModifier);
  EXPECT_EQ(Calendar()->SelCount(), 3);
  EXPECT_GT(form.ChangeCount(), afterFirst);
  EXPECT_EQ(Child<QLabel>("CountLabel")->text(),
            QStringLiteral("OnChange called %1 times").arg(form.ChangeCount() - 1));
  EXPECT_FALSE(Child<QLabel>("ShiftLabel")->text().isEmpty());
  const QString range = Child<QPlainTextEdit>("StatusMemo")->toPlainText();
  EXPECT_TRUE(range.contains(QStringLiteral("<=Date) and (Date<'"))) << range.toStdString();
}

TEST_F(CalendFormTest, RangeRestrictionRefusesThePickedDatesWithABeep) {
  TKelCustomCalendar* range = form.RangeCalendar()->Calendar();
  range->SetMultiSelect(true);
  range->SetStartDate(D(1999, 10, 1));
  for (int day : {10, 11, 12}) range->SelectDate(true, D(1999, 10, day));

  Testing::ClickCheckBox(Option<QCheckBox>("CanSelectRangeCheck"));
  ASSERT_TRUE(form.RangeRestricted());
  ClickDay(D(1999, 10, 11));
  EXPECT_FALSE(Calendar()->IsDateSelected(D(1999, 10, 11)));
  EXPECT_EQ(beeps, 1);
  ClickDay(D(1999, 10, 13));
  EXPECT_TRUE(Calendar()->IsDateSelected(D(1999, 10, 13))) << "other dates stay selectable";

  // Checking the box again lifts the restriction and clears the selection.
  Testing::ClickCheckBox(Option<QCheckBox>("CanSelectRangeCheck"));
  EXPECT_FALSE(form.RangeRestricted());
  EXPECT_EQ(Calendar()->SelCount(), 0);
  ClickDay(D(1999, 10, 11));
  EXPECT_TRUE(Calendar()->IsDateSelected(D(1999, 10, 11)));
  EXPECT_EQ(beeps, 1);
}

TEST_F(CalendFormTest, SpecifyRangeOpensAMultiSelectPopupAndClearsOnClose) {
  ClickDay(D(1999, 10, 5));
  ASSERT_EQ(Calendar()->SelCount(), 1);
  QTest::mouseClick(Option<QPushButton>("SpecifyRangeButton"), Qt::LeftButton);
  TKelPopupCalendar* popup = form.RangeCalendar();
  ASSERT_TRUE(popup->IsPopupVisible());
  EXPECT_TRUE(popup->Calendar()->MultiSelect());
  EXPECT_TRUE(popup->TodayButton());
  EXPECT_GE(popup->Calendar()->StartDate(), D(1999, 1, 1)) << "not the calendar's day zero";
  popup->ClosePopup(true);
  EXPECT_FALSE(popup->IsPopupVisible());
  EXPECT_EQ(Calendar()->SelCount(), 0);
}

TEST_F(CalendFormTest, LimitEditsTakeDatesAndIgnoreOtherText) {
  LeaveEdit("MinDateEdit", DateToStr(D(1999, 10, 5)));
  EXPECT_TRUE(Calendar()->MinDateLimit());
  EXPECT_EQ(Calendar()->MinDate(), D(1999, 10, 5));

  LeaveEdit("MinDateEdit", QStringLiteral("not a date"));
  EXPECT_TRUE(Calendar()->MinDateLimit()) << "an invalid text leaves the limit as it was";
  EXPECT_EQ(Calendar()->MinDate(), D(1999, 10, 5));
  ClickDay(D(1999, 10, 3));
  EXPECT_FALSE(Calendar()->IsDateSelected(D(1999, 10, 3))) << "the limit still holds";

  LeaveEdit("MinDateEdit", QString());
  EXPECT_FALSE(Calendar()->MinDateLimit());

  QTest::mouseClick(Option<QPushButton>("PickLimitsButton"), Qt::LeftButton);
  EXPECT_TRUE(Calendar()->MinDateLimit());
  EXPECT_TRUE(Calendar()->MaxDateLimit());
  EXPECT_EQ(Calendar()->MaxDate() - Calendar()->MinDate(), 15);
}

TEST_F(CalendFormTest, OptionControlsReachTheCalendar) {
  Testing::ClickCheckBox(Option<QCheckBox>("WeekNumbersCheck"));
  EXPECT_TRUE(Calendar()->ShowWeekNumbers());
  Testing::ClickCheckBox(Option<QCheckBox>("LongDayNamesCheck"));
  EXPECT_EQ(Calendar()->WeekDayNames(), wdlTwo);
  Testing::ClickCheckBox(Option<QCheckBox>("EdgeTop"));
  EXPECT_FALSE(Calendar()->BorderEdges().Contains(beTop));
  EXPECT_TRUE(Calendar()->BorderEdges().Contains(beLeft));
  Testing::ClickCheckBox(Option<QCheckBox>("WorkDaySat"));
  EXPECT_TRUE(Calendar()->WorkDays().Contains(dwSaturday));
  EXPECT_TRUE(Calendar()->WorkDays().Contains(dwMonday));

  LeaveEdit("MaxSelEdit", QStringLiteral("7"));
  EXPECT_EQ(Calendar()->MaxSelDates(), 7);
}

}  // namespace
}  // namespace Kel
