// KelUtils: process-wide locale values and the date functions.
#include "KelUtils.h"

#include <QLocale>
#include <cmath>
#include <cstdint>

#include "DateTimeFormat.h"
#include "FormatSettings.h"

namespace Kel {

namespace {

int& LocaleFirstDayOfWeekValue() {
  static int value = LocaleFirstDayOfWeekOf(QLocale::system());
  return value;
}

QChar ReadLocaleDecimalChar() {
  const QString decimal = QLocale::system().decimalPoint();
  return decimal.isEmpty() ? QChar(u'.') : decimal[0];
}

QChar& LocaleDecimalCharValue() {
  static QChar value = ReadLocaleDecimalChar();
  return value;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

int FloorMod(int a, int b) { return static_cast<int>(a - FloorDiv(a, b) * b); }

// 1 January of a year as a date-time number. Computed directly, so the years just outside
// 1..9999 (needed for the weeks around the calendar's ends) work as well.
TDateTime JanFirst(int year) {
  // In 64 bits: a caller may ask for any int year, and y * 365 soon leaves the int range.
  const int64_t y = int64_t(year) - 1;
  return y * 365 + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) + 1 - DateDelta;
}

// Weekday of any date-time number, 1 = Sunday; agrees with DayOfWeek inside the calendar and
// goes on outside it. 30 December 1899 (day 0) was a Saturday. The day number is reduced in
// floating point first: a value read from outside may lie far beyond the int range. NaN and the
// infinities are no day at all: 0.
int WeekdayOf(TDateTime d) {
  if (!std::isfinite(d)) return 0;
  const int dayInWeek = static_cast<int>(std::fmod(DateOnly(d), 7.0));  // -6 .. 6, exact
  return FloorMod(dayInWeek + 6, 7) + 1;
}

int EffectiveFirstDay(TKelFirstDayOfWeek fdw) {
  const int day = static_cast<int>(fdw);
  return day >= dwSunday && day <= dwSaturday ? day : LocaleFirstDayOfWeek();
}

}  // namespace

// ---- Process-wide values ---------------------------------------------------------------------

int WeekdayOfLocaleValue(int localeValue) {
  if (localeValue < 0 || localeValue > 6) localeValue = 0;
  return localeValue == 6 ? dwSunday : localeValue + 2;
}

int LocaleFirstDayOfWeekOf(const QLocale& locale) {
  // Qt counts Monday = 1 ... Sunday = 7, the locale value Monday = 0 ... Sunday = 6.
  return WeekdayOfLocaleValue(static_cast<int>(locale.firstDayOfWeek()) - 1);
}

int LocaleFirstDayOfWeek() { return LocaleFirstDayOfWeekValue(); }

void SetLocaleFirstDayOfWeek(int weekday) {
  if (weekday >= dwSunday && weekday <= dwSaturday) LocaleFirstDayOfWeekValue() = weekday;
}

QChar LocaleDecimalChar() { return LocaleDecimalCharValue(); }

void SetLocaleDecimalChar(QChar decimal) {
  if (!decimal.isNull()) LocaleDecimalCharValue() = decimal;
}

// ---- Dates -----------------------------------------------------------------------------------

int MonthLength(int year, int month) { return DaysInAMonth(year, month); }

int DatePartOf(int kind, TDateTime d) {
  int year, month, day;
  DecodeDate(d, year, month, day);
  switch (kind) {
    case 1:
      return year;
    case 2:
      return month;
    case 3:
      return day;
    default:
      return -1;
  }
}

int TimePartOf(int kind, TDateTime d) {
  int hour, min, sec, msec;
  DecodeTime(d, hour, min, sec, msec);
  switch (kind) {
    case 1:
      return hour;
    case 2:
      return min;
    case 3:
      return sec;
    case 4:
      return msec;
    default:
      return -1;
  }
}

TDateTime DateOnly(TDateTime d) { return CalendarDayOf(d); }

TDateTime TimeOnly(TDateTime d) {
  int hour, min, sec, msec;
  DecodeTime(d, hour, min, sec, msec);
  return EncodeTime(hour, min, sec, msec);
}

TDateTime DayOfMonthDate(int day, TDateTime d) { return IncDay(d, day - DatePartOf(3, d)); }

TDateTime FirstDayOfMonth(TDateTime d) { return DayOfMonthDate(1, d); }

TDateTime LastDayOfMonth(TDateTime d) {
  int year, month, day;
  DecodeDate(d, year, month, day);
  return DayOfMonthDate(MonthLength(year, month), d);
}

TDateTime FirstDayOfWeek(TKelFirstDayOfWeek fdw, TDateTime d) {
  return IncDay(d, -FloorMod(WeekdayOf(d) - EffectiveFirstDay(fdw) + 7, 7));
}

TDateTime LastDayOfWeek(TKelFirstDayOfWeek fdw, TDateTime d) {
  return IncDay(FirstDayOfWeek(fdw, d), 6);
}

TDateTime FirstWeekStart(int year, TKelFirstDayOfWeek fdw, TKelFirstWeekOfYear fwy) {
  const TDateTime janFirst = JanFirst(year);
  TDateTime start = FirstDayOfWeek(fdw, janFirst);
  if (fwy == fwFirstFourthDayOfWeek && janFirst - start > 3) start += 7;
  if (fwy == fwFirstFullWeek && janFirst != start) start += 7;
  return start;
}

int WeekOfYear(TKelFirstDayOfWeek fdw, TKelFirstWeekOfYear fwy, TDateTime d) {
  // Whole days compare and subtract alike on both sides of day zero; a date-time before 1899
  // lies below its own midnight (-1.25 < -1).
  d = DateOnly(d);
  int year, month, day;
  DecodeDate(d, year, month, day);
  if (year == 0) return 0;  // not a calendar day
  TDateTime start = FirstWeekStart(year, fdw, fwy);
  const TDateTime nextStart = FirstWeekStart(year + 1, fdw, fwy);
  if (d >= start && d >= nextStart) start = nextStart;
  if (d < start) start = FirstWeekStart(year - 1, fdw, fwy);
  return static_cast<int>(d - start) / 7 + 1;
}

bool DayInSet(TKelWeekDays days, TDateTime d) {
  const int weekday = WeekdayOf(d);
  return weekday != 0 && days.Contains(static_cast<TKelFirstDayOfWeek>(weekday));
}

QString FourDigitYearFormat(const QString& format) {
  const QString upper = format.toUpper();
  if (upper.contains(QLatin1String("YYYY"))) return format;
  const qsizetype at = upper.indexOf(QLatin1String("YY"));
  if (at < 0) return format;
  // The year is widened in the letter of its first "y": the pattern reader counts a run of the
  // very same character, so "YY" must become "YYYY", not "yyYY" (two two-digit years).
  QString result = format;
  result.replace(at, 2, QString(4, format[at]));
  return result;
}

QString DateToStrY2k(TDateTime d) {
  return FormatDateTime(FourDigitYearFormat(FormatSettings().ShortDateFormat), d);
}

}  // namespace Kel
