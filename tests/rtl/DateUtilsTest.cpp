// Date-time numbers: encoding and decoding against Qt's calendar, days before 1899 with their
// forward-running time, month arithmetic, time stamps and values that are not dates at all.
#include <gtest/gtest.h>

#include <QDate>
#include <cmath>
#include <limits>

#include "DateUtils.h"
#include "Exceptions.h"

namespace Kel {
namespace {

// Qt's Julian day of 30 December 1899, the day numbered 0.
constexpr qint64 JulianDayOfZero = 2415019;

TEST(DateUtils, EncodeAndDecodeAgreeWithQtCalendarOverTheWholeRange) {
  for (int day = -693593; day <= 2958465; day += 997) {
    const QDate expected = QDate::fromJulianDay(JulianDayOfZero + day);
    int y, m, d;
    DecodeDate(day, y, m, d);
    ASSERT_EQ(QDate(y, m, d), expected) << "day " << day;
    ASSERT_EQ(EncodeDate(y, m, d), day);
    ASSERT_EQ(DayOfWeek(day), expected.dayOfWeek() % 7 + 1) << "day " << day;
  }
  int y, m, d;
  DecodeDate(2958465, y, m, d);
  EXPECT_EQ(QDate(y, m, d), QDate(9999, 12, 31));
  DecodeDate(-693593, y, m, d);
  EXPECT_EQ(QDate(y, m, d), QDate(1, 1, 1));
}

TEST(DateUtils, KnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2001, 3, 7), 36957);
  EXPECT_EQ(DayOfWeek(EncodeDate(2000, 3, 5)), 1);  // a Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(2001, 3, 7)), 4);  // a Wednesday
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2001, 13), 0);
}

TEST(DateUtils, InvalidPartsRaiseWithTheEncodeMessages) {
  TDateTime value = 0;
  EXPECT_FALSE(TryEncodeDate(2001, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(2001, 13, 1, value));
  EXPECT_FALSE(TryEncodeDate(2001, 1, 0, value));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, value));
  try {
    EncodeDate(1900, 2, 29);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to time encode");
  }
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
}

TEST(DateUtils, DaysBefore1899CountBackwardsWithTheTimeRunningForwards) {
  int y, m, d, h, n, s, z;
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, z);
  EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 29));
  EXPECT_EQ(h, 6);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_EQ(TimeOf(36957.75), 0.75);
}

// Moving a date-time by days, taking its day, or putting a day and a time together must not
// add the time the wrong way round where the day counts backwards, nor step over day zero.
TEST(DateUtils, DaysAndTimesOfDaysOnBothSidesOfDayZero) {
  struct Case {
    int y, m, d;
  };
  const Case days[] = {{100, 1, 1},    {1752, 9, 14},  {1800, 1, 1},  {1899, 12, 28},
                       {1899, 12, 29}, {1899, 12, 30}, {1899, 12, 31}, {2024, 2, 29}};
  for (const Case& c : days) {
    SCOPED_TRACE(QDate(c.y, c.m, c.d).toString(Qt::ISODate).toStdString());
    const TDateTime day = EncodeDate(c.y, c.m, c.d);
    const TDateTime six = EncodeDateTime(c.y, c.m, c.d, 6, 0, 0, 0);
    EXPECT_EQ(CalendarDayOf(day), day);
    EXPECT_EQ(CalendarDayOf(six), day);
    EXPECT_EQ(CombineDateTime(day, 0.25), six);
    // 23:59:59.9996 decodes as the next midnight.
    const TTimeStamp stamp = DateTimeToTimeStamp(CombineDateTime(day, 1 - 4e-9));
    EXPECT_EQ(stamp.Date, DateTimeToTimeStamp(day + 1).Date);
    EXPECT_EQ(stamp.Time, 0);
    for (const int n : {-3, -1, 1, 2, 40}) {
      int y, m, d, h, min, s, ms;
      const TDateTime moved = IncDay(six, n);
      DecodeDate(moved, y, m, d);
      DecodeTime(moved, h, min, s, ms);
      EXPECT_EQ(QDate(y, m, d), QDate(c.y, c.m, c.d).addDays(n)) << n;
      EXPECT_EQ(h, 6) << n;
    }
  }
}

TEST(DateUtils, OrderKeysFollowTheCalendarAndTheClock) {
  // Moments in time order, on both sides of 30 December 1899, with and without times.
  const TDateTime moments[] = {EncodeDateTime(1, 1, 1, 0, 0, 0, 1),
                               EncodeDateTime(1850, 6, 1, 23, 59, 59, 999),
                               EncodeDate(1899, 12, 28),
                               EncodeDateTime(1899, 12, 28, 23, 0, 0, 0),
                               EncodeDate(1899, 12, 29),
                               EncodeDateTime(1899, 12, 29, 0, 0, 0, 1),
                               EncodeDateTime(1899, 12, 29, 6, 0, 0, 0),
                               EncodeDateTime(1899, 12, 29, 18, 0, 0, 0),
                               EncodeDateTime(1899, 12, 29, 23, 59, 59, 999),
                               EncodeDate(1899, 12, 30),
                               EncodeDateTime(1899, 12, 30, 6, 0, 0, 0),
                               EncodeDate(1899, 12, 31),
                               EncodeDateTime(2024, 2, 29, 12, 0, 0, 0)};
  for (size_t i = 1; i < std::size(moments); ++i)
    EXPECT_LT(DateTimeOrderKey(moments[i - 1]), DateTimeOrderKey(moments[i])) << "moment " << i;
  // From 30 December 1899 on the key is the value itself; NaN stays unordered.
  EXPECT_EQ(DateTimeOrderKey(45000.75), 45000.75);
  EXPECT_EQ(DateTimeOrderKey(0), 0);
  EXPECT_TRUE(std::isnan(DateTimeOrderKey(std::nan(""))));
}

TEST(DateUtils, IncMonthClampsTheDayAndKeepsTheTime) {
  EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 31), 1), EncodeDate(2001, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2000, 1, 31), 1), EncodeDate(2000, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 3, 31), -1), EncodeDate(2001, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 15), -1), EncodeDate(2000, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 5, 15), -13), EncodeDate(2000, 4, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 5, 15), -24), EncodeDate(1999, 5, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2001, 5, 15) + 0.25, 1), EncodeDate(2001, 6, 15) + 0.25);
  EXPECT_EQ(IncMonth(EncodeDateTime(1899, 11, 29, 6, 0, 0, 0), 1), -1.25);
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST(DateUtils, TimeStampsRoundTripAndRefuseBadStamps) {
  const TTimeStamp zero = DateTimeToTimeStamp(0);
  EXPECT_EQ(zero.Date, DateDelta);
  EXPECT_EQ(zero.Time, 0);
  const TDateTime value = EncodeDateTime(2001, 3, 7, 14, 5, 9, 45);
  const TTimeStamp stamp = DateTimeToTimeStamp(value);
  EXPECT_EQ(stamp.Time, ((14 * 60 + 5) * 60 + 9) * 1000 + 45);
  EXPECT_DOUBLE_EQ(TimeStampToDateTime(stamp), value);
  const TTimeStamp back = MSecsToTimeStamp(TimeStampToMSecs(stamp));
  EXPECT_EQ(back.Date, stamp.Date);
  EXPECT_EQ(back.Time, stamp.Time);
  EXPECT_DOUBLE_EQ(TimeStampToDateTime(DateTimeToTimeStamp(-1.25)), -1.25);
  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{-1, 1}), EConvertError);
  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{MSecsPerDay, 1}), EConvertError);
  try {
    TimeStampToDateTime(TTimeStamp{0, 0});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'0.0' is not a valid timestamp");
  }
}

TEST(DateUtils, ValuesOutsideTheCalendarDecodeToZeros) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        1e300,
                        -1e300,
                        2958466.0,
                        -693594.0};
  for (double value : bad) {
    int y = -1, m = -1, d = -1, h = -1, n = -1, s = -1, z = -1;
    DecodeDate(value, y, m, d);
    DecodeTime(value, h, n, s, z);
    EXPECT_EQ(y + m + d + h + n + s + z, 0) << value;
    EXPECT_EQ(DayOfWeek(value), 0);
  }
  EXPECT_THROW(IncMonth(std::nan(""), 1), EConvertError);
}

}  // namespace
}  // namespace Kel
