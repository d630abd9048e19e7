// Date-time patterns: every specifier, the minutes-after-hours rule, the 12-hour clock and its
// designators, nested formats (bounded), separators and literal text.
#include <gtest/gtest.h>

#include "DateTimeFormat.h"

namespace Kel {
namespace {

class FormatDateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }

  // Wednesday 7 March 2001, 14:05:09.045
  const TDateTime afternoon = EncodeDateTime(2001, 3, 7, 14, 5, 9, 45);
  const TDateTime midnight = EncodeDate(2001, 3, 7);
};

TEST_F(FormatDateTimeTest, NumbersWithAndWithoutLeadingZeros) {
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", afternoon), "2001-03-07 14:05:09.045");
  EXPECT_EQ(FormatDateTime("d/m/yy", afternoon), "7/3/01");
  EXPECT_EQ(FormatDateTime("y yyy", afternoon), "01 2001");
  EXPECT_EQ(FormatDateTime("h n s", EncodeTime(4, 5, 6, 0)), "4 5 6");
  EXPECT_EQ(FormatDateTime("hhh nnn sss", EncodeTime(4, 5, 6, 0)), "04 05 06");
  EXPECT_EQ(FormatDateTime("z|zz|zzz|zzzz", EncodeTime(0, 0, 0, 5)), "5|05|005|005");
  EXPECT_EQ(FormatDateTime("zz", EncodeTime(0, 0, 0, 123)), "123");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", EncodeDate(5, 1, 2)), "0005/01/02");
}

TEST_F(FormatDateTimeTest, SpecifiersIgnoreCase) {
  EXPECT_EQ(FormatDateTime("YYYY-MM-DD HH:NN:SS", afternoon), "2001-03-07 14:05:09");
  EXPECT_EQ(FormatDateTime("MM/DD/YYYY", afternoon), "03/07/2001");
}

TEST_F(FormatDateTimeTest, NamesOfMonthsAndDays) {
  EXPECT_EQ(FormatDateTime("mmm mmmm mmmmm", afternoon), "Mar March March");
  EXPECT_EQ(FormatDateTime("ddd dddd", afternoon), "Wed Wednesday");
  EXPECT_EQ(FormatDateTime("aaa aaaa", afternoon), "Wed Wednesday");
}

TEST_F(FormatDateTimeTest, MAfterAnHourIsMinutes) {
  EXPECT_EQ(FormatDateTime("hh:mm", afternoon), "14:05");
  EXPECT_EQ(FormatDateTime("mm hh mm", afternoon), "03 14 05");
  // Quoted text and separators between them do not break the link.
  EXPECT_EQ(FormatDateTime("hh 'h' mm", afternoon), "14 h 05");
  EXPECT_EQ(FormatDateTime("h.m", afternoon), "14.5");
  // Another letter does.
  EXPECT_EQ(FormatDateTime("hh d mm", afternoon), "14 7 03");
}

TEST_F(FormatDateTimeTest, TwelveHourClockChosenByADesignatorAfterTheHour) {
  EXPECT_EQ(FormatDateTime("h:nn am/pm", afternoon), "2:05 pm");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", afternoon), "2:05 PM");
  EXPECT_EQ(FormatDateTime("h:nn Am/pM", afternoon), "2:05 pM");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(9, 5, 0, 0)), "9:05 am");
  EXPECT_EQ(FormatDateTime("h a/p", afternoon), "2 p");
  EXPECT_EQ(FormatDateTime("h A/P", EncodeTime(9, 0, 0, 0)), "9 A");
  EXPECT_EQ(FormatDateTime("h ampm", afternoon), "2 PM");
  EXPECT_EQ(FormatDateTime("hh:nn AMPM", EncodeTime(0, 30, 0, 0)), "12:30 AM");
  EXPECT_EQ(FormatDateTime("hh:nn AMPM", EncodeTime(12, 30, 0, 0)), "12:30 PM");
  // A designator in quotes, or after the next hour, does not switch the clock.
  EXPECT_EQ(FormatDateTime("hh 'am/pm'", afternoon), "14 am/pm");
  EXPECT_EQ(FormatDateTime("hh hh am/pm", afternoon), "14 02 pm");
  // An "a" that is no designator stops the search and is copied.
  EXPECT_EQ(FormatDateTime("hh a am/pm", afternoon), "14 a pm");
}

TEST_F(FormatDateTimeTest, AmPmStringsComeFromTheSettings) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.TimeAMString = "vorm.";
  s.TimePMString = "nachm.";
  EXPECT_EQ(FormatDateTime("h:nn ampm", afternoon, s), "2:05 nachm.");
  EXPECT_EQ(FormatDateTime("h:nn ampm", EncodeTime(9, 0, 0, 0), s), "9:00 vorm.");
}

TEST_F(FormatDateTimeTest, SeparatorsAreTheSettingsOnes) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.DateSeparator = u'.';
  s.TimeSeparator = u'-';
  EXPECT_EQ(FormatDateTime("d/m/yyyy h:nn", afternoon, s), "7.3.2001 14-05");
  s.DateSeparator = QChar();
  EXPECT_EQ(FormatDateTime("d/m", afternoon, s), "73");
}

TEST_F(FormatDateTimeTest, LiteralTextAndOtherCharacters) {
  EXPECT_EQ(FormatDateTime("'yyyy' \"mm\" yyyy", afternoon), "yyyy mm 2001");
  EXPECT_EQ(FormatDateTime("\"it's\" d", afternoon), "it's 7");
  EXPECT_EQ(FormatDateTime("d 'open", afternoon), "7 open");
  EXPECT_EQ(FormatDateTime("#[d]x!", afternoon), "#[7]x!");
  EXPECT_EQ(FormatDateTime("\xC3\xA9 d", afternoon), QString::fromUtf8("\xC3\xA9 7"));
}

TEST_F(FormatDateTimeTest, FormatsOfTheSettings) {
  EXPECT_EQ(FormatDateTime("ddddd", afternoon), "3/7/2001");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon), "Wednesday, March 7, 2001");
  EXPECT_EQ(FormatDateTime("t", afternoon), "2:05 PM");
  EXPECT_EQ(FormatDateTime("tt", afternoon), "2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", afternoon), "3/7/2001 2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", midnight), "3/7/2001");
  EXPECT_EQ(FormatDateTime("c", midnight + 0.5 / MSecsPerDay * 2), "3/7/2001");  // 1 ms only
  EXPECT_EQ(FormatDateTime("", afternoon), "3/7/2001 2:05:09 PM");
  EXPECT_EQ(DateTimeToStr(afternoon), "3/7/2001 2:05:09 PM");
  EXPECT_EQ(DateToStr(afternoon), "3/7/2001");
  EXPECT_EQ(TimeToStr(afternoon), "2:05:09 PM");
}

TEST_F(FormatDateTimeTest, NestingIsBoundedSoSelfReferencesEnd) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.ShortDateFormat = "[ddddd]";
  s.LongTimeFormat = "<c>";
  EXPECT_EQ(FormatDateTime("ddddd", afternoon, s), "[]");
  // The nested "c" still writes its blank before the (refused) time format.
  EXPECT_EQ(FormatDateTime("c", afternoon, s), "[] < >");
  s.ShortDateFormat = "d/m c";
  EXPECT_EQ(FormatDateTime("ddddd", midnight, s), "7/3 ");
  EXPECT_EQ(FormatDateTime("ddddd ddddd", midnight, s), "7/3  7/3 ");
}

TEST_F(FormatDateTimeTest, NestedFormatsHaveTheirOwnHourState) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.ShortTimeFormat = "hh:mm";
  EXPECT_EQ(FormatDateTime("mm t mm", afternoon, s), "03 14:05 03");
}

TEST_F(FormatDateTimeTest, DaysBefore1899AndValuesOutsideTheCalendar) {
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), "1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd ddd mmm", 1e300), "0000-00-00  ");
}

}  // namespace
}  // namespace Kel
