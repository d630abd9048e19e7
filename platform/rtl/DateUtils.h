#pragma once
// Date-time numbers: whole days since 30 December 1899 plus the fraction of the day, as the
// classic toolkit keeps them. A negative value counts days backwards while its fraction still
// runs forwards (-1.25 is 29 December 1899, 06:00). Weekdays are 1 = Sunday ... 7 = Saturday.

#include <QtGlobal>
#include <cstdint>

#include "PlatformExport.h"

namespace Kel {

using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = HoursPerDay * 60;
inline constexpr int SecsPerDay = MinsPerDay * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days between 1 January 0001 and 30 December 1899: time-stamp dates count from the former.
inline constexpr int DateDelta = 693594;

// A date-time split into a day number counted from 1 January 0001 (that day is 1) and the
// milliseconds since midnight: the form that datasets exchange.
struct TTimeStamp {
  int Time = 0;  // milliseconds since midnight
  int Date = 0;  // day number, 1 = 1 January 0001
};

KEL_PLATFORM_EXPORT bool IsLeapYear(int year);
KEL_PLATFORM_EXPORT int DaysInAMonth(int year, int month);  // 28..31; 0 for a month outside 1..12

KEL_PLATFORM_EXPORT bool TryEncodeDate(int year, int month, int day, TDateTime& result);
KEL_PLATFORM_EXPORT bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
KEL_PLATFORM_EXPORT TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError
KEL_PLATFORM_EXPORT TDateTime EncodeTime(int hour, int min, int sec,
                                         int msec);  // raises EConvertError
KEL_PLATFORM_EXPORT TDateTime EncodeDateTime(int year, int month, int day, int hour, int min,
                                             int sec, int msec);
KEL_PLATFORM_EXPORT void DecodeDate(TDateTime value, int& year, int& month, int& day);
KEL_PLATFORM_EXPORT void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
// Like DecodeDate, also giving the weekday (1 = Sunday). Returns whether the year is a leap year.
KEL_PLATFORM_EXPORT bool DecodeDateFully(TDateTime value, int& year, int& month, int& day,
                                         int& dayOfWeek);

KEL_PLATFORM_EXPORT int DayOfWeek(TDateTime value);  // 1 = Sunday ... 7 = Saturday
KEL_PLATFORM_EXPORT int YearOf(TDateTime value);
KEL_PLATFORM_EXPORT int MonthOf(TDateTime value);
KEL_PLATFORM_EXPORT int DayOf(TDateTime value);

// The month moved by a number of months; a day beyond the new month's end becomes its last day.
KEL_PLATFORM_EXPORT TDateTime IncMonth(TDateTime value, int numberOfMonths = 1);
KEL_PLATFORM_EXPORT void IncAMonth(int& year, int& month, int& day, int numberOfMonths = 1);

KEL_PLATFORM_EXPORT TDateTime DateOf(TDateTime value);  // the date part (time 00:00)
KEL_PLATFORM_EXPORT TDateTime TimeOf(TDateTime value);  // the time of day, 0 <= t < 1

// A number that orders date-times by day and then by time of day. The date-time numbers
// themselves do not, before 30 December 1899: -1.75 (29 December, 18:00) is below -1.25 (the
// same day, 06:00). The key is the day plus the time of day, so compare keys wherever
// date-times are ordered. It is exact, equals the value from 30 December 1899 on, and keeps NaN.
KEL_PLATFORM_EXPORT double DateTimeOrderKey(TDateTime value);

KEL_PLATFORM_EXPORT TDateTime Now();
KEL_PLATFORM_EXPORT TDateTime Date();
KEL_PLATFORM_EXPORT TDateTime Time();

KEL_PLATFORM_EXPORT TTimeStamp DateTimeToTimeStamp(TDateTime value);
KEL_PLATFORM_EXPORT TDateTime
TimeStampToDateTime(const TTimeStamp& stamp);  // raises EConvertError for bad stamps
KEL_PLATFORM_EXPORT double TimeStampToMSecs(const TTimeStamp& stamp);
KEL_PLATFORM_EXPORT TTimeStamp MSecsToTimeStamp(double msecs);

}  // namespace Kel
