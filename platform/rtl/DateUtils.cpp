#include "DateUtils.h"

#include <QDateTime>
#include <cmath>

#include "Exceptions.h"

namespace Kel {

namespace {

// The first and last date-time numbers that decode to a real calendar day (1 January 0001 and
// the end of 31 December 9999). Values outside decode to zeros instead of garbage.
constexpr double MinDateTime = -693594.0;  // exclusive: the fraction of 1 January 0001 counts
constexpr double MaxDateTime = 2958466.0;  // exclusive

constexpr const char* InvalidTimeStampText = "'%1.%2' is not a valid timestamp";

// Days of the year before the first of each month, for ordinary and leap years.
constexpr int CumulativeDays[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// Day number (1 = 1 January 0001) of a valid date.
int DayNumber(int year, int month, int day) {
  const int y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + CumulativeDays[IsLeapYear(year)][month - 1] + day;
}

// Splits a day number (>= 1) into year, month and day.
void SplitDayNumber(int dayNumber, int& year, int& month, int& day) {
  constexpr int D1 = 365;
  constexpr int D4 = D1 * 4 + 1;
  constexpr int D100 = D4 * 25 - 1;
  constexpr int D400 = D100 * 4 + 1;
  int t = dayNumber - 1;
  int y = 1;
  y += (t / D400) * 400;
  t %= D400;
  int i = t / D100;
  int d = t % D100;
  if (i == 4) {  // the last day of a 400-year cycle
    --i;
    d += D100;
  }
  y += i * 100;
  i = d / D4;
  d %= D4;
  y += i * 4;
  i = d / D1;
  d %= D1;
  if (i == 4) {  // the last day of a 4-year cycle
    --i;
    d += D1;
  }
  y += i;
  const bool leap = IsLeapYear(y);
  int m = 1;
  while (d >= CumulativeDays[leap][m]) ++m;
  year = y;
  month = m;
  day = d - CumulativeDays[leap][m - 1] + 1;
}

bool InDateRange(TDateTime value) {
  return std::isfinite(value) && value > MinDateTime && value < MaxDateTime;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return CumulativeDays[IsLeapYear(year)][month] - CumulativeDays[IsLeapYear(year)][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInAMonth(year, month))
    return false;
  result = DayNumber(year, month, day) - DateDelta;
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) {
  if (hour < 0 || hour >= HoursPerDay || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 ||
      msec >= 1000)
    return false;
  const int ms = ((hour * 60 + min) * 60 + sec) * 1000 + msec;
  result = static_cast<double>(ms) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result = 0;
  if (!TryEncodeDate(year, month, day, result))
    throw EConvertError(RtlMessage(RtlText::DateEncodeError));
  return result;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime result = 0;
  if (!TryEncodeTime(hour, min, sec, msec, result))
    throw EConvertError(RtlMessage(RtlText::TimeEncodeError));
  return result;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  const TDateTime date = EncodeDate(year, month, day);
  const TDateTime time = EncodeTime(hour, min, sec, msec);
  return CombineDateTime(date, time);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int dayOfWeek = 0;
  DecodeDateFully(value, year, month, day, dayOfWeek);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  int ms = DateTimeToTimeStamp(value).Time;
  msec = ms % 1000;
  ms /= 1000;
  sec = ms % 60;
  ms /= 60;
  min = ms % 60;
  hour = ms / 60;
}

bool DecodeDateFully(TDateTime value, int& year, int& month, int& day, int& dayOfWeek) {
  const int dayNumber = DateTimeToTimeStamp(value).Date;
  if (dayNumber <= 0) {
    year = month = day = dayOfWeek = 0;
    return false;
  }
  dayOfWeek = dayNumber % 7 + 1;
  SplitDayNumber(dayNumber, year, month, day);
  return IsLeapYear(year);
}

int DayOfWeek(TDateTime value) {
  const int dayNumber = DateTimeToTimeStamp(value).Date;
  return dayNumber <= 0 ? 0 : dayNumber % 7 + 1;
}

int YearOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return y;
}

int MonthOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return m;
}

int DayOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return d;
}

void IncAMonth(int& year, int& month, int& day, int numberOfMonths) {
  const int sign = numberOfMonths >= 0 ? 1 : -1;
  year += numberOfMonths / 12;
  month += numberOfMonths % 12;
  if (month < 1 || month > 12) {
    year += sign;
    month -= 12 * sign;
  }
  const int length = DaysInAMonth(year, month);
  if (day > length) day = length;
}

TDateTime IncMonth(TDateTime value, int numberOfMonths) {
  int year, month, day;
  DecodeDate(value, year, month, day);
  IncAMonth(year, month, day, numberOfMonths);
  return CombineDateTime(EncodeDate(year, month, day), TimeOf(value));
}

TDateTime DateOf(TDateTime value) { return std::trunc(value); }

TDateTime TimeOf(TDateTime value) { return std::fabs(value - std::trunc(value)); }

TDateTime CombineDateTime(TDateTime date, TDateTime time) {
  return date >= 0 ? date + time : date - time;
}

TDateTime CalendarDayOf(TDateTime value) {
  constexpr double Hair = 1e-11;
  const TDateTime day = std::trunc(value);
  // The next day is day + 1 on both sides of day zero: the day number itself always counts
  // forwards, only the time inside a negative day is written backwards. "+ 0.0" turns the
  // day of -0.25 into 0, not -0.
  return std::fabs(value - day) >= 1 - Hair ? day + 1 : day + 0.0;
}

TDateTime IncDay(TDateTime value, double days) {
  return CombineDateTime(DateOf(value) + days, TimeOf(value));
}

double DateTimeOrderKey(TDateTime value) {
  if (!(value < 0)) return value;
  const double day = std::trunc(value);
  return day + (day - value);  // the day plus its time of day, which counts forwards
}

TDateTime Now() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return EncodeDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                        time.second(), time.msec());
}

TDateTime Date() {
  const QDate today = QDate::currentDate();
  return EncodeDate(today.year(), today.month(), today.day());
}

TDateTime Time() {
  const QTime now = QTime::currentTime();
  return EncodeTime(now.hour(), now.minute(), now.second(), now.msec());
}

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  TTimeStamp stamp;
  if (!InDateRange(value)) return stamp;  // Date 0: "no valid day"
  // The day and its time of day apart, the time in whole milliseconds (halves to even). A time
  // that rounds up to midnight is the next day's midnight on both sides of day zero; rounding
  // the whole value would carry a negative one into the day before instead.
  const double day = std::trunc(value);
  int ms = static_cast<int>(std::nearbyint(std::fabs(value - day) * MSecsPerDay));
  int date = DateDelta + static_cast<int>(day);
  if (ms >= MSecsPerDay) {
    ms -= MSecsPerDay;
    ++date;
  }
  stamp.Date = date;
  stamp.Time = ms;
  return stamp;
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp) {
  if (stamp.Time < 0 || stamp.Time >= MSecsPerDay || stamp.Date <= 0)
    throw EConvertError(RtlMessage(InvalidTimeStampText, stamp.Date, stamp.Time));
  const double date = stamp.Date - DateDelta;
  return CombineDateTime(date, static_cast<double>(stamp.Time) / MSecsPerDay);
}

double TimeStampToMSecs(const TTimeStamp& stamp) {
  return static_cast<double>(stamp.Date) * MSecsPerDay + stamp.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs) {
  TTimeStamp stamp;
  // Beyond 31 December 9999 (or not a number) there is no day to give.
  if (!std::isfinite(msecs) || msecs < 0 || msecs >= 3652060.0 * MSecsPerDay) return stamp;
  const double days = std::floor(msecs / MSecsPerDay);
  stamp.Date = static_cast<int>(days);
  stamp.Time = static_cast<int>(msecs - days * MSecsPerDay);
  return stamp;
}

}  // namespace Kel
