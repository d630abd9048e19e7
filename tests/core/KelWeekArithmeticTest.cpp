// Week arithmetic and date parts of KelUtils: first day of the week (also the locale's), the
// three rules for week 1 (checked against ISO weeks over three decades), month ends, four-digit
// years and the shared enumerations' names.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QMetaEnum>
#include <cmath>
#include <limits>
#include <set>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "KelUtils.h"

namespace Kel {
namespace {

TDateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }

// Restores the process-wide first day of the week after a test changes it.
class LocaleDayGuard {
 public:
  LocaleDayGuard() : saved_(LocaleFirstDayOfWeek()) {}
  ~LocaleDayGuard() { SetLocaleFirstDayOfWeek(saved_); }

 private:
  int saved_;
};

TEST(KelWeekArithmetic, FirstAndLastDayOfWeek) {
  const TDateTime sunday = Day(2000, 3, 5);
  EXPECT_EQ(FirstDayOfWeek(dwMonday, sunday), Day(2000, 2, 28));
  EXPECT_EQ(FirstDayOfWeek(dwSunday, sunday), sunday);
  EXPECT_EQ(FirstDayOfWeek(dwSaturday, sunday), Day(2000, 3, 4));
  EXPECT_EQ(LastDayOfWeek(dwMonday, sunday), sunday);
  EXPECT_EQ(LastDayOfWeek(dwSunday, sunday), Day(2000, 3, 11));
  // The time of day stays.
  EXPECT_EQ(FirstDayOfWeek(dwMonday, sunday + 0.75), Day(2000, 2, 28) + 0.75);
}

TEST(KelWeekArithmetic, LocaleDefaultUsesTheLocaleFirstDay) {
  LocaleDayGuard guard;
  SetLocaleFirstDayOfWeek(dwMonday);
  EXPECT_EQ(FirstDayOfWeek(dwLocaleDefault, Day(2000, 3, 5)), Day(2000, 2, 28));
  SetLocaleFirstDayOfWeek(dwSunday);
  EXPECT_EQ(FirstDayOfWeek(dwLocaleDefault, Day(2000, 3, 5)), Day(2000, 3, 5));
  SetLocaleFirstDayOfWeek(9);  // not a weekday: ignored
  EXPECT_EQ(LocaleFirstDayOfWeek(), dwSunday);
}

TEST(KelWeekArithmetic, LocaleValuesBecomeWeekdayNumbers) {
  EXPECT_EQ(WeekdayOfLocaleValue(0), dwMonday);
  EXPECT_EQ(WeekdayOfLocaleValue(5), dwSaturday);
  EXPECT_EQ(WeekdayOfLocaleValue(6), dwSunday);
  EXPECT_EQ(WeekdayOfLocaleValue(-1), dwMonday);  // unreadable counts as 0
  EXPECT_EQ(WeekdayOfLocaleValue(7), dwMonday);
  EXPECT_EQ(LocaleFirstDayOfWeekOf(QLocale(QLocale::German, QLocale::Germany)), dwMonday);
  EXPECT_EQ(LocaleFirstDayOfWeekOf(QLocale(QLocale::English, QLocale::UnitedStates)), dwSunday);
  const int weekday = LocaleFirstDayOfWeek();
  EXPECT_TRUE(weekday >= dwSunday && weekday <= dwSaturday);
  EXPECT_FALSE(LocaleDecimalChar().isNull());
}

TEST(KelWeekArithmetic, FirstWeekStartByRule) {
  // 1 January 2000 was a Saturday.
  EXPECT_EQ(FirstWeekStart(2000, dwMonday, fwJanFirst), Day(1999, 12, 27));
  EXPECT_EQ(FirstWeekStart(2000, dwMonday, fwFirstFourthDayOfWeek), Day(2000, 1, 3));
  EXPECT_EQ(FirstWeekStart(2000, dwMonday, fwFirstFullWeek), Day(2000, 1, 3));
  EXPECT_EQ(FirstWeekStart(2000, dwSaturday, fwFirstFullWeek), Day(2000, 1, 1));
  // 1 January 2004 was a Thursday: four days in the new year make week 1.
  EXPECT_EQ(FirstWeekStart(2004, dwMonday, fwFirstFourthDayOfWeek), Day(2003, 12, 29));
  EXPECT_EQ(FirstWeekStart(2004, dwMonday, fwFirstFullWeek), Day(2004, 1, 5));
}

TEST(KelWeekArithmetic, WeekNumbersAroundTheTurnOfTheYear) {
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(2000, 1, 1)), 52);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(2000, 1, 3)), 1);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(2005, 1, 1)), 53);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFullWeek, Day(2005, 1, 1)), 52);
  EXPECT_EQ(WeekOfYear(dwMonday, fwJanFirst, Day(2005, 1, 1)), 1);
  // The December days that share a week with 1 January are in week 1 of the new year.
  for (int day = 27; day <= 31; ++day)
    EXPECT_EQ(WeekOfYear(dwMonday, fwJanFirst, Day(2004, 12, day)), 1) << day;
  EXPECT_EQ(WeekOfYear(dwMonday, fwJanFirst, Day(2004, 12, 26)), 52);
  // Under the four-day rule 29 December 2008 is already week 1 of 2009.
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(2008, 12, 29)), 1);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(2008, 12, 29) + 0.99), 1);
}

TEST(KelWeekArithmetic, MondayAndFourthDayAreIsoWeeks) {
  for (QDate date(1995, 1, 1); date.year() < 2026; date = date.addDays(1)) {
    ASSERT_EQ(
        WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(date.year(), date.month(), date.day())),
        date.weekNumber())
        << date.toString(Qt::ISODate).toStdString();
  }
}

TEST(KelWeekArithmetic, TheCalendarsEndsNeedNoYearsBeyondIt) {
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(9999, 12, 31)), 52);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, Day(1, 1, 1)), 1);
  // Year 0 (a leap year starting on a Saturday) has its week 1 from Sunday 2 January.
  EXPECT_EQ(WeekOfYear(dwSunday, fwFirstFullWeek, Day(1, 1, 1)), 53);
  EXPECT_EQ(WeekOfYear(dwMonday, fwJanFirst, 1e300), 0);
}

TEST(KelWeekArithmetic, WorkDaySets) {
  const TKelWeekDays workDays = TKelWeekDays::Range(dwMonday, dwFriday);
  EXPECT_EQ(workDays.Bits(), 124u);
  EXPECT_TRUE(DayInSet(workDays, Day(2000, 2, 28)));  // Monday
  EXPECT_TRUE(DayInSet(workDays, Day(2000, 3, 3)));   // Friday
  EXPECT_FALSE(DayInSet(workDays, Day(2000, 3, 4)));  // Saturday
  EXPECT_FALSE(DayInSet(workDays, Day(2000, 3, 5)));  // Sunday
  EXPECT_TRUE(DayInSet(TKelWeekDays{dwSunday}, Day(2000, 3, 5) + 0.5));
  EXPECT_NE(FindSetTypeInfo(QMetaType::fromType<TKelWeekDays>().id()), nullptr);
}

TEST(KelWeekArithmetic, ValuesFarOutsideTheCalendarStillHaveWeeks) {
  // Seven days in a row beyond the int range fall into at most two weeks.
  const TDateTime far = 1e15;
  std::set<TDateTime> weekStarts;
  for (int i = 0; i < 7; ++i) weekStarts.insert(FirstDayOfWeek(dwSunday, far + i));
  EXPECT_LE(weekStarts.size(), 2u);
  EXPECT_EQ(LastDayOfWeek(dwMonday, far) - FirstDayOfWeek(dwMonday, far), 6);
  // NaN and the infinities are on no weekday.
  const TKelWeekDays everyDay = TKelWeekDays::Range(dwSunday, dwSaturday);
  EXPECT_FALSE(DayInSet(everyDay, std::nan("")));
  EXPECT_FALSE(DayInSet(everyDay, std::numeric_limits<double>::infinity()));
  EXPECT_TRUE(std::isnan(FirstDayOfWeek(dwMonday, std::nan(""))));
  // Week 1 of any year starts 52 or 53 weeks after the one before, also for huge year numbers.
  for (int year : {-2000000000, 2000000000, std::numeric_limits<int>::max() - 1}) {
    const TDateTime weeks = FirstWeekStart(year + 1, dwMonday, fwFirstFourthDayOfWeek) -
                            FirstWeekStart(year, dwMonday, fwFirstFourthDayOfWeek);
    EXPECT_TRUE(weeks == 364 || weeks == 371) << year << ": " << weeks;
  }
}

TEST(KelDateParts, PartsByKind) {
  const TDateTime value = EncodeDateTime(2001, 3, 7, 14, 5, 9, 45);
  EXPECT_EQ(DatePartOf(2, value), 3);
  EXPECT_EQ(DatePartOf(4, value), -1);
  EXPECT_EQ(TimePartOf(4, value), 45);
  EXPECT_EQ(TimePartOf(5, value), -1);
}

TEST(KelDateParts, DateOnlyAndTimeOnly) {
  const TDateTime day = Day(2001, 3, 8);
  EXPECT_EQ(DateOnly(day + 0.75), day);
  EXPECT_EQ(DateOnly(day - 5e-12), day);  // a hair below midnight
  EXPECT_EQ(DateOnly(day - 1e-9), day - 1);
  EXPECT_EQ(TimeOnly(day + 0.5), 0.5);
  EXPECT_EQ(TimeOnly(day + EncodeTime(10, 20, 30, 400) + 1e-10), EncodeTime(10, 20, 30, 400));
}

// Before 30 December 1899 the day is the whole part and the time its fraction's magnitude: the
// day of a date, of a date-time, and the days counted from it stay on the calendar's days.
TEST(KelDateParts, DaysBeforeDayZero) {
  EXPECT_EQ(DateOnly(Day(1800, 1, 1)), Day(1800, 1, 1));
  EXPECT_EQ(DateOnly(-1.0), -1);
  EXPECT_EQ(DateOnly(-1.25), -1);
  EXPECT_EQ(DateOnly(-2 + 5e-12), 0);  // 29 December a hair before midnight
  EXPECT_EQ(DateOnly(-0.25), 0);
  EXPECT_EQ(TimeOnly(-1.25), 0.25);
  // 29 December 1899 06:00 (a Friday): its month's end and its Monday-first week keep 06:00.
  const TDateTime friday = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_EQ(LastDayOfMonth(friday), EncodeDateTime(1899, 12, 31, 6, 0, 0, 0));
  EXPECT_EQ(LastDayOfWeek(dwMonday, friday), EncodeDateTime(1899, 12, 31, 6, 0, 0, 0));
  EXPECT_EQ(FirstDayOfWeek(dwMonday, EncodeDateTime(1899, 12, 31, 6, 0, 0, 0)),
            EncodeDateTime(1899, 12, 25, 6, 0, 0, 0));
  // Mondays at 06:00 belong to the ISO weeks they start (6 January 1800 is in week 2).
  const TDateTime monday = EncodeDateTime(1800, 1, 6, 6, 0, 0, 0);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, monday), 2);
  EXPECT_EQ(WeekOfYear(dwMonday, fwFirstFourthDayOfWeek, EncodeDateTime(1899, 12, 25, 6, 0, 0, 0)),
            52);
}

TEST(KelDateParts, MonthEndsKeepTheTime) {
  const TDateTime value = Day(2000, 2, 14) + 0.25;
  EXPECT_EQ(DayOfMonthDate(20, value), Day(2000, 2, 20) + 0.25);
  EXPECT_EQ(FirstDayOfMonth(value), Day(2000, 2, 1) + 0.25);
  EXPECT_EQ(LastDayOfMonth(value), Day(2000, 2, 29) + 0.25);
  EXPECT_EQ(LastDayOfMonth(Day(2001, 2, 14)), Day(2001, 2, 28));
  EXPECT_EQ(LastDayOfMonth(Day(2001, 12, 1)), Day(2001, 12, 31));
}

TEST(KelDateParts, FourDigitYears) {
  EXPECT_EQ(FourDigitYearFormat("M/d/yy"), "M/d/yyyy");
  EXPECT_EQ(FourDigitYearFormat("yyyy-mm-dd"), "yyyy-mm-dd");
  // Widened in its own letter, so the pattern reader sees one run of four.
  EXPECT_EQ(FourDigitYearFormat("dd.MM.YY"), "dd.MM.YYYY");
  EXPECT_EQ(FourDigitYearFormat("d/m/Yy"), "d/m/YYYY");
  EXPECT_EQ(FormatDateTime(FourDigitYearFormat("DD.MM.YY"), Day(2001, 3, 7)), "07.03.2001");
  EXPECT_EQ(FourDigitYearFormat("YyYy/mm"), "YyYy/mm");
  EXPECT_EQ(FourDigitYearFormat("d/m"), "d/m");
  EXPECT_EQ(FourDigitYearFormat("yy/mm/yy"), "yyyy/mm/yy");
  EXPECT_EQ(FourDigitYearFormat("yyy"), "yyyyy");
  FormatSettingsGuard guard;
  FormatSettings().ShortDateFormat = "d/m/yy";
  EXPECT_EQ(DateToStrY2k(Day(2001, 3, 7)), "7/3/2001");
  FormatSettings().ShortDateFormat = "dd/mm/yyyy";
  EXPECT_EQ(DateToStrY2k(Day(2001, 3, 7)), "07/03/2001");
}

TEST(KelEnumerations, OrdinalsAndNames) {
  EXPECT_EQ(dwSaturday, 7);
  EXPECT_EQ(fwFirstFullWeek, 2);
  EXPECT_EQ(haRight, 2);
  EXPECT_EQ(diVertical, 1);
  EXPECT_EQ(vaBottom, 2);
  EXPECT_STREQ(QMetaEnum::fromType<TKelFirstDayOfWeek>().valueToKey(dwMonday), "dwMonday");
  EXPECT_STREQ(QMetaEnum::fromType<TKelFirstWeekOfYear>().valueToKey(1), "fwFirstFourthDayOfWeek");
  EXPECT_STREQ(QMetaEnum::fromType<TKelHorzAlign>().valueToKey(haCenter), "haCenter");
  EXPECT_STREQ(QMetaEnum::fromType<TKelDirection>().valueToKey(diHorizontal), "diHorizontal");
  EXPECT_STREQ(QMetaEnum::fromType<TKelVertAlign>().valueToKey(vaTop), "vaTop");
}

}  // namespace
}  // namespace Kel
