// The list box's calendar and calculator editors driven by real key and mouse events: the
// editor chosen by pick type and data type, its preset, the value written back, nothing written
// on cancel, and a whole-number result too large for 64 bits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimeEdit>

#include "../calendar/CalendarTestSupport.h"
#include "KelCalPopup.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelPopupCalc.h"
#include "PrmListBoxWindow.h"

namespace Kel {
namespace {

using Testing::D;

class PrmListBoxPopupEditorsTest : public Testing::PrmListBoxWindow {
 protected:
  PrmListBoxPopupEditorsTest() {
    TKelListItem* item = box_->Items()->Add();
    item->SetCaption("Value :V");
    param_ = item->Param(0);
  }

  // Enter on the selected row opens the editor of its current parameter.
  void Edit() {
    box_->SetItemIndex(0);
    QTest::keyClick(box_, Qt::Key_Return);
  }
  TKelPopupCalcEdit* Calc() const { return qobject_cast<TKelPopupCalcEdit*>(box_->Popup()); }
  TKelPopupCalendar* Calendar() const { return qobject_cast<TKelPopupCalendar*>(box_->Popup()); }
  // Opens the calculator, types keys and presses Enter (the calculator's "=").
  void Calculate(const char* keys) {
    Edit();
    ASSERT_NE(Calc(), nullptr);
    QTest::keyClicks(Calc()->Calculator(), keys);
    QTest::keyClick(Calc()->Calculator(), Qt::Key_Return);
    EXPECT_FALSE(Calc()->isVisible());
  }
  void ClickDay(TDateTime day) {
    TKelCustomCalendar* calendar = Calendar()->Calendar();
    Testing::Click(calendar, Testing::DayPoint(*calendar, day));
  }

  TKelListParam* param_;
};

// ---- calculator

TEST_F(PrmListBoxPopupEditorsTest, WholeNumbersAreRoundedHalfToEvenAndStoredAsFloats) {
  param_->SetDataType(FT_INT);
  Edit();
  ASSERT_NE(Calc(), nullptr);
  EXPECT_EQ(Calc()->Display()->Text(), "0");  // null opens on 0
  QTest::keyClick(Calc()->Calculator(), Qt::Key_Escape);
  Calculate("2.6");
  EXPECT_EQ(param_->AsFloat(), 3.0);
  EXPECT_EQ(param_->DataType(), FT_FLOAT);

  for (auto [keys, expected] : {std::pair{"2.5", 2.0}, {"3.5", 4.0}, {"0-2.5", -2.0}}) {
    param_->SetAsInteger(7);
    Calculate(keys);
    EXPECT_EQ(param_->AsFloat(), expected) << keys;
  }
}

TEST_F(PrmListBoxPopupEditorsTest, FractionsStayForCurrencyAndFloatAndCancelWritesNothing) {
  param_->SetAsCurrency(Currency::FromDouble(1.5));
  ASSERT_EQ(param_->DataType(), FT_CURRENCY);
  Edit();
  ASSERT_NE(Calc(), nullptr);
  EXPECT_EQ(Calc()->Display()->Text(), "1.5");
  QTest::keyClick(Calc()->Calculator(), Qt::Key_Escape);
  Calculate("*3");
  EXPECT_EQ(param_->AsFloat(), 4.5);

  param_->SetAsFloat(0.25);
  Calculate("+1");
  EXPECT_EQ(param_->AsFloat(), 1.25);

  // Escape after typing: the calculation is dropped and the value stays.
  Edit();
  QTest::keyClicks(Calc()->Calculator(), "99");
  QTest::keyClick(Calc()->Calculator(), Qt::Key_Escape);
  EXPECT_FALSE(Calc()->isVisible());
  EXPECT_EQ(param_->AsFloat(), 1.25);
  EXPECT_EQ(beeps_, 0);
}

TEST_F(PrmListBoxPopupEditorsTest, AWholeNumberBeyond64BitsKeepsTheParameterAndBeeps) {
  param_->SetAsInteger(5);
  Calculate("99999999*99999999*9999");
  EXPECT_EQ(param_->AsInteger(), 5);
  EXPECT_EQ(param_->DataType(), FT_INT);
  EXPECT_EQ(beeps_, 1);
  Calculate("0-99999999*99999999*9999");
  EXPECT_EQ(param_->AsInteger(), 5);
  EXPECT_EQ(beeps_, 2);

  // A floating-point parameter has no such limit.
  param_->SetAsFloat(1.5);
  Calculate("99999999*99999999*9999");
  EXPECT_GT(param_->AsFloat(), 9.2e18 * 10);
  EXPECT_EQ(beeps_, 2);
}

TEST_F(PrmListBoxPopupEditorsTest, TheCalculatorPickTypeWinsOverTextAndAListAndOpensOnZeroForText) {
  param_->SetAsString("abc");
  param_->PickList()->SetText("One=1");
  param_->SetPickType(ptCalculator);
  Edit();
  ASSERT_NE(Calc(), nullptr);
  EXPECT_EQ(Calc()->Display()->Text(), "0");
  QTest::keyClick(Calc()->Calculator(), Qt::Key_Escape);
  EXPECT_EQ(param_->AsString(), "abc");
  Calculate("4");
  EXPECT_EQ(param_->AsFloat(), 4.0);
}

// ---- calendars

TEST_F(PrmListBoxPopupEditorsTest, TheDateCalendarKeepsOnlyTheChosenDay) {
  param_->SetAsDateTime(D(2004, 2, 10) + 0.75);
  param_->SetPickType(ptDate);
  Edit();
  ASSERT_NE(Calendar(), nullptr);
  EXPECT_EQ(Calendar()->PopupKind(), cpkDate);
  EXPECT_TRUE(Calendar()->TodayButton());
  EXPECT_TRUE(Calendar()->IntegralSize());
  EXPECT_EQ(Calendar()->PopupDate(), D(2004, 2, 10));
  EXPECT_EQ(Calendar()->Calendar()->StartDate(), D(2004, 2, 1));

  // Cancelled, nothing changes; a click on a day accepts the day alone.
  QTest::keyClick(Calendar()->Calendar(), Qt::Key_Escape);
  EXPECT_FALSE(Calendar()->isVisible());
  EXPECT_DOUBLE_EQ(param_->AsDateTime(), D(2004, 2, 10) + 0.75);
  Edit();
  ClickDay(D(2004, 2, 12));
  EXPECT_FALSE(Calendar()->isVisible());
  EXPECT_EQ(param_->AsDateTime(), D(2004, 2, 12));
  EXPECT_EQ(param_->DataType(), FT_DATE);

  // Null, or a text that is no date, opens on today.
  param_->Clear();
  Edit();
  EXPECT_EQ(Calendar()->PopupDate(), Date());
  QTest::keyClick(Calendar()->Calendar(), Qt::Key_Escape);
  EXPECT_TRUE(param_->IsNull());
  param_->SetAsString("not a date");
  param_->SetPickType(ptDate);
  Edit();
  ASSERT_NE(Calendar(), nullptr);
  EXPECT_EQ(Calendar()->PopupDate(), Date());
  QTest::keyClick(Calendar()->Calendar(), Qt::Key_Escape);
  EXPECT_EQ(param_->AsString(), "not a date");
}

// Accepting the calendar as it opened (Enter) gives the value back unchanged, on both sides of
// 30 December 1899: the day of a date, the day and time of a date-time.
TEST_F(PrmListBoxPopupEditorsTest, EnterKeepsDatesOnBothSidesOfDayZero) {
  for (const QDate& date : {QDate(100, 1, 1), QDate(1752, 9, 14), QDate(1800, 1, 1),
                            QDate(1899, 12, 29), QDate(1899, 12, 30), QDate(1899, 12, 31),
                            QDate(2024, 2, 29)}) {
    SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
    const TDateTime day = D(date.year(), date.month(), date.day());
    param_->SetAsDate(day);
    Edit();
    ASSERT_NE(Calendar(), nullptr);
    QTest::keyClick(Calendar()->Calendar(), Qt::Key_Return);
    EXPECT_EQ(param_->AsDateTime(), day);
    const TDateTime sixOClock = EncodeDateTime(date.year(), date.month(), date.day(), 6, 0, 0, 0);
    param_->SetDataType(FT_DATETIME);
    param_->SetAsDateTime(sixOClock);
    Edit();
    QTest::keyClick(Calendar()->Calendar(), Qt::Key_Return);
    EXPECT_EQ(param_->AsDateTime(), sixOClock);
  }
}

TEST_F(PrmListBoxPopupEditorsTest, TheDateAndTimeCalendarKeepsTheTimeOfTheValue) {
  param_->SetAsDateTime(D(2004, 2, 10) + 0.75);
  ASSERT_EQ(param_->DataType(), FT_DATETIME);
  Edit();  // automatic pick type: by data type
  ASSERT_NE(Calendar(), nullptr);
  EXPECT_EQ(Calendar()->PopupKind(), cpkDateTime);
  EXPECT_EQ(Calendar()->TimeEdit()->time(), QTime(18, 0));
  EXPECT_EQ(Calendar()->Calendar()->StartDate(), D(2004, 2, 1));
  ClickDay(D(2004, 2, 20));
  EXPECT_NEAR(param_->AsDateTime(), D(2004, 2, 20) + 0.75, 1e-8);
  EXPECT_EQ(param_->DataType(), FT_DATETIME);
}

TEST_F(PrmListBoxPopupEditorsTest, TheTimeCalendarWritesTheTimeAndEnterAccepts) {
  param_->SetAsTime(0.25);
  ASSERT_EQ(param_->DataType(), FT_TIME);
  Edit();
  ASSERT_NE(Calendar(), nullptr);
  EXPECT_EQ(Calendar()->PopupKind(), cpkTime);
  QTimeEdit* time = Calendar()->TimeEdit();
  EXPECT_EQ(time->time(), QTime(6, 0));
  time->setTime(QTime(7, 30, 15));
  QTest::keyClick(time, Qt::Key_Escape);
  EXPECT_DOUBLE_EQ(param_->AsDateTime(), 0.25);
  Edit();
  Calendar()->TimeEdit()->setTime(QTime(7, 30, 15));
  QTest::keyClick(Calendar()->TimeEdit(), Qt::Key_Return);
  EXPECT_FALSE(Calendar()->isVisible());
  EXPECT_NEAR(param_->AsDateTime(), (7 * 3600 + 30 * 60 + 15) / 86400.0, 1e-9);
  EXPECT_EQ(param_->DataType(), FT_TIME);

  // The explicit pick type overrides a date-time's own editor.
  param_->SetAsDateTime(D(2004, 2, 10) + 0.5);
  param_->SetPickType(ptTime);
  Edit();
  EXPECT_EQ(Calendar()->PopupKind(), cpkTime);
  EXPECT_EQ(Calendar()->TimeEdit()->time(), QTime(12, 0));
  QTest::keyClick(Calendar()->TimeEdit(), Qt::Key_Return);
  EXPECT_NEAR(param_->AsDateTime(), 0.5, 1e-9);
  EXPECT_EQ(param_->DataType(), FT_TIME);
}

}  // namespace
}  // namespace Kel
