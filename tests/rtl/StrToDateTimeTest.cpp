// Reading dates and times back: field order from the short date format, separators, missing
// and two-digit years, AM/PM, fractions of a second, and text that must be refused.
#include <gtest/gtest.h>

#include "DateTimeFormat.h"
#include "Exceptions.h"

namespace Kel {
namespace {

class StrToDateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }

  static TDateTime Date(const QString& text) {
    TDateTime value = -1e9;
    return TryStrToDate(text, value) ? value : -1e9;
  }
  static TDateTime Time(const QString& text) {
    TDateTime value = -1e9;
    return TryStrToTime(text, value) ? value : -1e9;
  }
  static TDateTime DateTime(const QString& text) {
    TDateTime value = -1e9;
    return TryStrToDateTime(text, value) ? value : -1e9;
  }
  static int ThisYear() { return YearOf(Kel::Date()); }

  static constexpr TDateTime Refused = -1e9;
};

TEST_F(StrToDateTimeTest, MonthDayYearOrderOfTheInvariantSettings) {
  EXPECT_EQ(Date("3/7/2001"), EncodeDate(2001, 3, 7));
  EXPECT_EQ(Date(" 3 / 7 / 2001 "), EncodeDate(2001, 3, 7));
  EXPECT_EQ(Date("03/07/2001/"), EncodeDate(2001, 3, 7));
  EXPECT_EQ(Date("3/7"), EncodeDate(ThisYear(), 3, 7));
}

TEST_F(StrToDateTimeTest, OrderFollowsTheShortDateFormat) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.ShortDateFormat = "dd/mm/yyyy";
  s.DateSeparator = u'.';
  SetFormatSettings(s);
  EXPECT_EQ(Date("7.3.2001"), EncodeDate(2001, 3, 7));
  EXPECT_EQ(Date("7.3"), EncodeDate(ThisYear(), 3, 7));
  EXPECT_EQ(Date("7/3/2001"), Refused);
  s.ShortDateFormat = "yyyy-mm-dd";
  s.DateSeparator = u'-';
  SetFormatSettings(s);
  EXPECT_EQ(Date("2001-03-07"), EncodeDate(2001, 3, 7));
  // Two numbers are month and day whenever the format does not start with the day.
  EXPECT_EQ(Date("3-7"), EncodeDate(ThisYear(), 3, 7));
}

TEST_F(StrToDateTimeTest, TwoDigitYearsFollowTheCenturyWindow) {
  const int base = ThisYear() - 50;
  for (int yy : {0, 1, 49, 50, 51, 99}) {
    int expected = base / 100 * 100 + yy;
    if (expected < base) expected += 100;
    EXPECT_EQ(YearOf(Date(QStringLiteral("1/1/%1").arg(yy, 2, 10, QChar(u'0')))), expected) << yy;
  }
  TFormatSettings s = TFormatSettings::Invariant();
  s.TwoDigitYearCenturyWindow = 0;
  SetFormatSettings(s);
  EXPECT_EQ(YearOf(Date("1/1/99")), ThisYear() / 100 * 100 + 99);
  // Three digits are a year of their own.
  EXPECT_EQ(YearOf(Date("1/1/999")), 999);
}

TEST_F(StrToDateTimeTest, BadDatesAreRefused) {
  for (const char* text : {"", "3", "3/", "13/1/2001", "2/29/2001", "0/1/2001", "3/7/2001x",
                           "3/7/20011", "a/b/c", "3//7"}) {
    EXPECT_EQ(Date(text), Refused) << text;
  }
  try {
    StrToDate("2/30/2001");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'2/30/2001' is not a valid date");
  }
}

TEST_F(StrToDateTimeTest, TimesWithOptionalPartsAndDesignators) {
  EXPECT_EQ(Time("14"), EncodeTime(14, 0, 0, 0));
  EXPECT_EQ(Time("14:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time(" 14 : 05 : 09 "), EncodeTime(14, 5, 9, 0));
  EXPECT_EQ(Time("14:05:09.045"), EncodeTime(14, 5, 9, 45));
  EXPECT_EQ(Time("2:05 PM"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time("2:05 pm"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time("PM 2:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time("12:00 AM"), 0);
  EXPECT_EQ(Time("12:00 PM"), 0.5);
}

TEST_F(StrToDateTimeTest, FractionsOfASecondAreDecimals) {
  EXPECT_EQ(Time("14:05:09.5"), EncodeTime(14, 5, 9, 500));
  EXPECT_EQ(Time("14:05:09.05"), EncodeTime(14, 5, 9, 50));
  EXPECT_EQ(Time("14:05:09.005"), EncodeTime(14, 5, 9, 5));
  EXPECT_EQ(Time("14:05:09.0005"), Refused);
}

TEST_F(StrToDateTimeTest, SettingsAmPmStringsAndSeparators) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.TimeAMString = "vorm.";
  s.TimePMString = "nachm.";
  s.TimeSeparator = u'.';
  s.DecimalSeparator = u',';
  SetFormatSettings(s);
  EXPECT_EQ(Time("2.05 nachm."), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time("2.05 PM"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(Time("14.05.09,5"), EncodeTime(14, 5, 9, 500));
  EXPECT_EQ(Time("14:05"), Refused);
}

TEST_F(StrToDateTimeTest, BadTimesAreRefused) {
  for (const char* text : {"", "24:00", "13:00 PM", "0:30 AM", "14:60",
                           "14:", "14:05:", "14:05:09.", "14:05 x", "PM", "x14"}) {
    EXPECT_EQ(Time(text), Refused) << text;
  }
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
}

TEST_F(StrToDateTimeTest, DateAndTimeTogether) {
  EXPECT_EQ(DateTime("3/7/2001 14:05:09"), EncodeDateTime(2001, 3, 7, 14, 5, 9, 0));
  EXPECT_EQ(DateTime("3/7/2001"), EncodeDate(2001, 3, 7));
  EXPECT_EQ(DateTime("14:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(DateTime("12/29/1899 6:00"), -1.25);
  // Text after a complete value is not ignored.
  EXPECT_EQ(DateTime("3/7/2001 14:05 junk"), Refused);
  EXPECT_EQ(DateTime("3/7/2001 junk"), Refused);
  try {
    StrToDateTime("3/7/2001 25:00");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'3/7/2001 25:00' is not a valid date and time");
  }
}

TEST_F(StrToDateTimeTest, WrittenValuesReadBack) {
  for (TDateTime value :
       {EncodeDateTime(2001, 3, 7, 14, 5, 9, 0), EncodeDate(1999, 12, 31),
        EncodeDateTime(2024, 2, 29, 0, 0, 1, 0), EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)}) {
    EXPECT_EQ(StrToDateTime(DateTimeToStr(value)), value) << DateTimeToStr(value).toStdString();
  }
  EXPECT_EQ(StrToTime(FormatDateTime("hh:nn:ss.zzz", EncodeTime(1, 2, 3, 4))),
            EncodeTime(1, 2, 3, 4));
}

}  // namespace
}  // namespace Kel
