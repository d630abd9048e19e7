// The popup calendar (kinds, closing, sizing) and the month list (choice, auto-scroll).
#include <gtest/gtest.h>

#include <QTimeEdit>

#include "Buttons.h"
#include "CalendarTestSupport.h"
#include "Gallery.h"
#include "KelCalPopup.h"

using namespace Kel;
using namespace Kel::Testing;

TEST(PopupCalendar, KindsShowTheirParts) {
  TKelPopupCalendar popup;
  popup.SetNoneButton(true);
  EXPECT_TRUE(popup.Calendar()->isVisibleTo(&popup));
  EXPECT_FALSE(popup.TimeEdit()->isVisibleTo(&popup));
  EXPECT_TRUE(popup.Bevel()->isVisibleTo(&popup));
  popup.SetPopupKind(cpkTime);
  EXPECT_FALSE(popup.Calendar()->isVisibleTo(&popup));
  EXPECT_FALSE(popup.NoneSpeedButton()->isVisibleTo(&popup));
  EXPECT_FALSE(popup.TodaySpeedButton()->isVisibleTo(&popup));
  EXPECT_TRUE(popup.TimeEdit()->isVisibleTo(&popup));
  popup.SetPopupKind(cpkDateTime);
  EXPECT_TRUE(popup.Calendar()->isVisibleTo(&popup));
  EXPECT_TRUE(popup.TimeEdit()->isVisibleTo(&popup));
  EXPECT_FALSE(popup.Bevel()->isVisibleTo(&popup));
  EXPECT_FALSE(popup.Calendar()->MultiSelect());
}

TEST(PopupCalendar, ValuesRoundTripAndTheEditShowsTheDate) {
  TKelPopupCalendar popup;
  popup.SetPopupKind(cpkDateTime);
  popup.SetPopupDateTime(D(2004, 2, 10) + 0.75);
  EXPECT_EQ(popup.PopupDate(), D(2004, 2, 10));
  EXPECT_NEAR(popup.PopupTime(), 0.75, 1e-6);
  EXPECT_NEAR(popup.PopupDateTime(), D(2004, 2, 10) + 0.75, 1e-6);
  EXPECT_EQ(popup.Calendar()->StartDate(), D(2004, 2, 1));
  EXPECT_EQ(popup.DateEdit()->Text(), QStringLiteral("2/10/2004"));
}

TEST(PopupCalendar, DayClickAcceptsNoneCancelsTodayAccepts) {
  QWidget owner;
  owner.resize(300, 300);
  owner.show();
  TKelPopupCalendar popup(&owner);
  popup.SetNoneButton(true);
  popup.SetPopupDate(D(2004, 2, 10));
  int closes = 0;
  bool canceled = true;
  const auto open = [&] {
    popup.PopupAtRect(&owner, TRect{0, 0, 100, 20}, [&](TKelPopupForm*, bool c) {
      ++closes;
      canceled = c;
    });
  };
  open();
  TKelCustomCalendar* c = popup.Calendar();
  Click(c, DayPoint(*c, D(2004, 2, 12)));
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(canceled);
  EXPECT_EQ(popup.PopupDate(), D(2004, 2, 12));
  open();
  popup.NoneSpeedButton()->click();
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(canceled);
  EXPECT_EQ(c->SelCount(), 0);
  EXPECT_TRUE(popup.DateEdit()->Text().isEmpty());
  open();
  popup.TodaySpeedButton()->click();
  EXPECT_EQ(closes, 3);
  EXPECT_FALSE(canceled);
  EXPECT_EQ(popup.PopupDate(), Date());
}

TEST(PopupCalendar, IntegralSizeSettlesOnWholeMonths) {
  TKelPopupCalendar popup;
  popup.SetIntegralSize(true);
  popup.show();  // sizes are adjusted as the window is resized
  const int mw = popup.Calendar()->MonthWidth();
  const int fixed = popup.width() - mw;  // laid out for one month
  popup.resize(fixed + int(2.4 * mw), popup.height());
  EXPECT_EQ(popup.width(), fixed + 2 * mw);
  EXPECT_EQ(popup.Calendar()->MonthCols(), 2);
  popup.resize(fixed + int(2.5 * mw) + 1, popup.height());
  EXPECT_EQ(popup.width(), fixed + 3 * mw);
  popup.resize(10, popup.height());
  EXPECT_EQ(popup.width(), fixed + mw);
}

TEST(MonthList, ChoosingAMonthKeepsItInTheClickedCell) {
  auto c = MakeCalendar(2, 2, D(2004, 2, 1));
  c->show();
  ASSERT_EQ(c->MonthCount(), 4);
  const TRect header = c->HeaderRect(0, 1);
  const QPoint headerPoint = c->ClientRect().topLeft() + QPoint(header.Left + 30, header.Top + 2);
  Press(c.get(), headerPoint);
  TKelPopupMonthListBox* popup = c->MonthPopup();
  ASSERT_NE(popup, nullptr);
  TKelMonthListBox* list = popup->MonthList();
  EXPECT_EQ(list->MonthListBase(), D(2004, 4, 1));
  EXPECT_EQ(list->MonthOfLine(2), D(2004, 3, 1));
  list->TrackPointer(QPoint(5, 2 * list->LineHeight() + 1));
  EXPECT_EQ(list->Highlighted(), 2);
  popup->ClosePopup(false);
  EXPECT_EQ(c->StartDate(), D(2004, 1, 1));
  EXPECT_EQ(c->MonthOfCell(0, 1), D(2004, 3, 1));
}

TEST(MonthList, AutoScrollSpeedGrowsWithTheDistance) {
  TKelMonthListBox list;
  list.resize(150, TKelMonthListBox::LineCount * list.LineHeight() + 2 * list.frameWidth());
  list.show();
  list.SetMonthListBase(D(2004, 6, 1));
  const int h = list.LineHeight();
  const int bottom = list.viewport()->height();
  list.TrackPointer(QPoint(5, bottom + 2 * h + h / 2));
  EXPECT_EQ(list.ScrollStep(), 3);
  EXPECT_EQ(list.ScrollTimer()->interval(), 100);
  EXPECT_EQ(list.Highlighted(), -1);
  list.ScrollTick();  // what the timer does when it fires
  EXPECT_EQ(list.MonthListBase(), D(2004, 7, 1));
  list.TrackPointer(QPoint(5, -1));
  EXPECT_EQ(list.ScrollStep(), -1);
  EXPECT_EQ(list.ScrollTimer()->interval(), 500);
  list.ScrollTick();  // what the timer does when it fires
  EXPECT_EQ(list.MonthListBase(), D(2004, 6, 1));
  list.TrackPointer(QPoint(5, -20 * h));
  EXPECT_EQ(list.ScrollStep(), -4);
  EXPECT_EQ(list.ScrollTimer()->interval(), 50);
  list.TrackPointer(QPoint(5, h + 1));
  EXPECT_EQ(list.ScrollStep(), 0);
  EXPECT_FALSE(list.ScrollTimer()->isActive());
  EXPECT_EQ(list.Highlighted(), 1);
}

TEST(PopupGallery, DateTimeAndDateTimePopupsAndTheMonthList) {
  SetLocaleFirstDayOfWeek(dwMonday);
  for (TKelCalendarPopupKind kind : {cpkDate, cpkTime, cpkDateTime}) {
    TKelPopupCalendar popup;
    popup.SetNoneButton(true);
    popup.SetPopupKind(kind);
    popup.SetPopupDateTime(D(2004, 2, 10) + 0.5);
    popup.show();
    static const char* const names[] = {"popup-calendar-date", "popup-calendar-time", "popup-calendar-datetime"};
    EXPECT_EQ(SaveGalleryPictures(QString::fromLatin1(names[kind]), {{&popup, {}}}).size(), 2);
  }
  TKelMonthListBox list;
  list.SetMonthListBase(D(2004, 6, 1));
  list.resize(list.NeededWidth() + 2 * list.frameWidth(),
              TKelMonthListBox::LineCount * list.LineHeight() + 2 * list.frameWidth());
  list.show();
  list.TrackPointer(QPoint(5, 3 * list.LineHeight() + 2));
  EXPECT_EQ(SaveGalleryPictures(QStringLiteral("calendar-month-list"), {{&list, {}}}).size(), 2);
}
