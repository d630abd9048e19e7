// Date-time format objects: fallbacks to the settings, four-digit years, separators and AM/PM
// symbols used for one conversion without touching the process-wide ones, change notification,
// Assign, published properties with their defaults, and date-range conditions.
#include <gtest/gtest.h>

#include <vector>

#include "DateTimeFormat.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelDateTimeFormat.h"
#include "KelFltDateTimeFormat.h"
#include "TypInfo.h"

namespace Kel {
namespace {

class KelDateTimeFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TFormatSettings s = TFormatSettings::Invariant();
    s.ShortDateFormat = "d/m/yy";
    s.DateSeparator = u'.';
    SetFormatSettings(s);
  }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }

  const TDateTime march7 = EncodeDate(2001, 3, 7);
  TKelFltDateTimeFormat format;
};

TEST_F(KelDateTimeFormatTest, EmptyObjectFallsBackToTheSettings) {
  EXPECT_EQ(format.FormatDate(march7), "7.3.01");
  EXPECT_EQ(format.GetDateTimeFormat(), "d/m/yy h:nn AMPM");
  EXPECT_EQ(format.GetLongDateTimeFormat(), "dddd, mmmm d, yyyy h:nn:ss AMPM");
  format.SetAlwaysY2k(true);
  EXPECT_EQ(format.FormatDate(march7), "7.3.2001");
  EXPECT_EQ(format.GetDateFormat(), "d/m/yyyy");
}

TEST_F(KelDateTimeFormatTest, AlwaysY2kLeavesFourDigitPatternsAlone) {
  format.SetAlwaysY2k(true);
  format.SetDateFormat("yyyy-mm-dd");
  EXPECT_EQ(format.FormatDate(march7), "2001-03-07");
  format.SetDateFormat("DD.MM.YY");
  EXPECT_EQ(format.FormatDate(march7), "07.03.2001");
  FormatSettings().LongDateFormat = "d mmmm yy";
  EXPECT_EQ(format.GetLongDateFormat(), "d mmmm yyyy");
}

TEST_F(KelDateTimeFormatTest, OwnSeparatorOnlyForTheConversion) {
  format.SetDateSeparator(u'/');
  format.SetDateFormat("MM/DD/YYYY");
  EXPECT_EQ(format.FormatDate(march7), "03/07/2001");
  EXPECT_EQ(FormatSettings().DateSeparator, u'.');
  EXPECT_EQ(DateToStr(march7), "7.3.01");
}

TEST_F(KelDateTimeFormatTest, TimeWithOwnSymbolsAndSeparator) {
  format.SetTimeFormat("hh:mm:ss AM/PM");
  format.SetAMSymbol("AM");
  EXPECT_EQ(format.FormatTime(EncodeTime(9, 5, 0, 0)), "09:05:00 AM");
  format.SetTimeFormat("h:nn ampm");
  format.SetAMSymbol("vorm.");
  format.SetPMSymbol("nachm.");
  format.SetTimeSeparator(u'.');
  EXPECT_EQ(format.FormatTime(EncodeTime(14, 5, 0, 0)), "2.05 nachm.");
  EXPECT_EQ(FormatSettings().TimeAMString, "AM");
  EXPECT_EQ(FormatSettings().TimePMString, "PM");
  EXPECT_EQ(FormatSettings().TimeSeparator, u':');
}

TEST_F(KelDateTimeFormatTest, DateAndTimeTogether) {
  format.SetDateFormat("yyyy/mm/dd");
  format.SetTimeFormat("hh:nn");
  format.SetDateSeparator(u'-');
  format.SetTimeSeparator(u'h');
  EXPECT_EQ(format.FormatDateTime(march7 + EncodeTime(14, 5, 0, 0)), "2001-03-07 14h05");
  EXPECT_EQ(FormatSettings().DateSeparator, u'.');
}

// A format object whose patterns fail, to see the settings come back on the error path.
class FailingFormat : public TKelFltDateTimeFormat {
 public:
  QString GetDateFormat() const override { throw EConvertError("pattern unavailable"); }
  QString GetDateTimeFormat() const override { throw EConvertError("pattern unavailable"); }
};

TEST_F(KelDateTimeFormatTest, SettingsComeBackWhenFormattingThrows) {
  FailingFormat failing;
  failing.SetDateSeparator(u'-');
  failing.SetTimeSeparator(u'h');
  failing.SetAMSymbol("am");
  EXPECT_THROW(failing.FormatDate(march7), EConvertError);
  EXPECT_EQ(FormatSettings().DateSeparator, u'.');
  EXPECT_THROW(failing.FormatDateTime(march7), EConvertError);
  EXPECT_EQ(FormatSettings().DateSeparator, u'.');
  EXPECT_EQ(FormatSettings().TimeSeparator, u':');
  EXPECT_EQ(FormatSettings().TimeAMString, "AM");
}

// What runs during a conversion (here a descendant's pattern) sees the user's settings: the
// object's own separators go into that conversion only.
class ObservingFormat : public TKelFltDateTimeFormat {
 public:
  QString GetDateTimeFormat() const override {
    seen = QString(FormatSettings().DateSeparator) + FormatSettings().TimeSeparator;
    return TKelFltDateTimeFormat::GetDateTimeFormat();
  }
  mutable QString seen;
};

TEST_F(KelDateTimeFormatTest, TheProcessWideSettingsStayAsTheyAreDuringAConversion) {
  ObservingFormat observing;
  observing.SetDateFormat("yyyy/mm/dd");
  observing.SetTimeFormat("hh:nn");
  observing.SetDateSeparator(u'-');
  observing.SetTimeSeparator(u'h');
  EXPECT_EQ(observing.FormatDateTime(march7 + 0.5), "2001-03-07 12h00");
  EXPECT_EQ(observing.seen, ".:");
}

TEST_F(KelDateTimeFormatTest, SettersNotifyOnlyRealChanges) {
  int changes = 0;
  QObject* sender = nullptr;
  format.OnChange = [&](QObject* s) {
    ++changes;
    sender = s;
  };
  format.SetDateFormat("dd/mm/yyyy");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(sender, &format);
  format.SetDateFormat("dd/mm/yyyy");
  EXPECT_EQ(changes, 1);
  format.SetDateFormat("DD/MM/YYYY");  // compared exactly
  EXPECT_EQ(changes, 2);
  format.SetTimeFormat("hh:nn");
  format.SetDateSeparator(u'-');
  format.SetTimeSeparator(u'.');
  format.SetAMSymbol("a");
  format.SetPMSymbol("p");
  EXPECT_EQ(changes, 7);
  format.SetDateSeparator(u'-');
  format.SetAlwaysY2k(true);  // stored silently
  EXPECT_EQ(changes, 7);
  EXPECT_TRUE(format.AlwaysY2k());
}

TEST_F(KelDateTimeFormatTest, AssignCopiesThePublishedValues) {
  TKelFltDateTimeFormat source;
  source.SetDateSeparator(u'-');
  source.SetTimeSeparator(u'.');
  source.SetAMSymbol("a");
  source.SetPMSymbol("p");
  source.SetDateFormat("yyyy/mm/dd");
  source.SetTimeFormat("hh:nn");
  source.SetAlwaysY2k(true);
  int changes = 0;
  format.OnChange = [&](QObject*) { ++changes; };
  format.Assign(&source);
  EXPECT_EQ(format.DateSeparator(), u'-');
  EXPECT_EQ(format.TimeSeparator(), u'.');
  EXPECT_EQ(format.AMSymbol(), "a");
  EXPECT_EQ(format.PMSymbol(), "p");
  EXPECT_EQ(format.DateFormat(), "yyyy/mm/dd");
  EXPECT_EQ(format.TimeFormat(), "hh:nn");
  EXPECT_TRUE(format.AlwaysY2k());
  EXPECT_EQ(changes, 6);
  TKelChangePersistent other;
  EXPECT_THROW(format.Assign(&other), EConvertError);
}

TEST_F(KelDateTimeFormatTest, PublishedPropertiesInOrderWithDefaults) {
  const TypInfo::TPropList props = TypInfo::GetPropList(&format);
  QStringList names;
  for (const auto& prop : props) names << QString::fromLatin1(prop.Name());
  EXPECT_EQ(names, QStringList({"DateSeparator", "TimeSeparator", "AMSymbol", "PMSymbol",
                                "DateFormat", "TimeFormat", "AlwaysY2k"}));
  for (const auto& prop : props) EXPECT_FALSE(TypInfo::IsStoredProp(&format, prop)) << prop.Name();
  format.SetDateSeparator(u'/');
  format.SetAlwaysY2k(true);
  format.SetAMSymbol("am");
  EXPECT_TRUE(TypInfo::IsStoredProp(&format, QStringLiteral("DateSeparator")));
  EXPECT_TRUE(TypInfo::IsStoredProp(&format, QStringLiteral("AlwaysY2k")));
  EXPECT_TRUE(TypInfo::IsStoredProp(&format, QStringLiteral("AMSymbol")));
  EXPECT_FALSE(TypInfo::IsStoredProp(&format, QStringLiteral("TimeSeparator")));
}

TEST_F(KelDateTimeFormatTest, DefaultDateTextHasFourDigits) {
  EXPECT_EQ(FormatDateDefault(march7), "7.3.2001");
}

class KelDateRangeConditionTest : public KelDateTimeFormatTest {
 protected:
  void SetUp() override {
    KelDateTimeFormatTest::SetUp();
    FormatSettings().ShortDateFormat = "d/m/yyyy";
    FormatSettings().DateSeparator = u'/';
  }
  static TDateTime March(int day) { return EncodeDate(2001, 3, day); }
};

TEST_F(KelDateRangeConditionTest, RunsOfDaysAndSingleDays) {
  QString result;
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, March(5), March(3));
  EXPECT_EQ(result, "(('3/3/2001'<=Date) and (Date<'6/3/2001'))");
  auto skip6And7 = [](void*, TDateTime day) { return day != March(6) && day != March(7); };
  DateRangeCondition("Date", "", "", result, nullptr, skip6And7, nullptr, March(8), March(3));
  EXPECT_EQ(result, "(('3/3/2001'<=Date) and (Date<'6/3/2001')) or (Date='8/3/2001')");
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, March(9), March(9));
  EXPECT_EQ(result, "(Date='9/3/2001')");
}

TEST_F(KelDateRangeConditionTest, DaysAcrossDayZeroAreVisitedOnceEach) {
  std::vector<TDateTime> visited;
  auto record = [](void* list, TDateTime day) {
    static_cast<std::vector<TDateTime>*>(list)->push_back(day);
    return true;
  };
  QString result;
  DateRangeCondition("Date", "", "", result, nullptr, record, &visited, EncodeDate(1900, 1, 1),
                     EncodeDateTime(1899, 12, 29, 6, 0, 0, 0));
  EXPECT_EQ(visited, (std::vector<TDateTime>{-1, 0, 1, 2}));
  EXPECT_EQ(result, "(('29/12/1899'<=Date) and (Date<'2/1/1900'))");
}

TEST_F(KelDateRangeConditionTest, OwnWordsFormatAndData) {
  TKelFltDateTimeFormat sqlFormat;
  sqlFormat.SetDateFormat("mm/dd/yyyy");
  int data = 0;
  auto everyOtherDay = [](void* d, TDateTime day) {
    ++*static_cast<int*>(d);
    return static_cast<int>(day) % 2 == 0;
  };
  QString result;
  DateRangeCondition("D", "oder", "und", result, &sqlFormat, everyOtherDay, &data, March(6),
                     March(1));
  EXPECT_EQ(data, 6);
  // 1 March 2001 is day 36951: the even days are 2, 4 and 6 March.
  EXPECT_EQ(result, "(D='03/02/2001') oder (D='03/04/2001') oder (D='03/06/2001')");
  DateRangeCondition("D", "oder", "und", result, &sqlFormat, nullptr, nullptr, March(2), March(1));
  EXPECT_EQ(result, "(('03/01/2001'<=D) und (D<'03/03/2001'))");
}

TEST_F(KelDateRangeConditionTest, NothingSelectedAndUnusableRanges) {
  QString result = "old";
  DateRangeCondition(
      "Date", "", "", result, nullptr, [](void*, TDateTime) { return false; }, nullptr, March(9),
      March(1));
  EXPECT_EQ(result, "");
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, March(1), March(9));
  EXPECT_EQ(result, "");
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, std::nan(""), March(1));
  EXPECT_EQ(result, "");
  // A last day far beyond the calendar ends at the calendar's end instead of running forever.
  int visited = 0;
  DateRangeCondition(
      "Date", "", "", result, nullptr,
      [&](void*, TDateTime day) {
        ++visited;
        return day < EncodeDate(9999, 12, 2);
      },
      nullptr, 1e300, EncodeDate(9999, 11, 30));
  EXPECT_EQ(visited, 32);
  EXPECT_EQ(result, "(('30/11/9999'<=Date) and (Date<'2/12/9999'))");
  // A run up to the calendar's last day has no day after it: only its start bounds it.
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, 1e300,
                     EncodeDate(9999, 12, 30));
  EXPECT_EQ(result, "('30/12/9999'<=Date)");
  DateRangeCondition("Date", "", "", result, nullptr, nullptr, nullptr, EncodeDate(9999, 12, 31),
                     EncodeDate(9999, 12, 31));
  EXPECT_EQ(result, "(Date='31/12/9999')");
}

}  // namespace
}  // namespace Kel
