// Format settings: settings read from a locale (patterns in the
// classic language, separators, names), the Qt-pattern translation and the restoring guard.
#include <gtest/gtest.h>

#include <QDateTime>
#include <stdexcept>

#include "DateTimeFormat.h"
#include "FormatSettings.h"

namespace Kel {
namespace {

TEST(FormatSettings, QtPatternsBecomeClassicPatterns) {
  EXPECT_EQ(QtPatternToClassic("dd.MM.yyyy HH:mm"), "dd.mm.yyyy hh:nn");
  EXPECT_EQ(QtPatternToClassic("M/d/yy h:mm AP"), "m/d/yy h:nn AMPM");
  EXPECT_EQ(QtPatternToClassic("h:mm:ss ap"), "h:nn:ss ampm");
  EXPECT_EQ(QtPatternToClassic("h:mm A"), "h:nn AMPM");
  EXPECT_EQ(QtPatternToClassic("dddd, MMMM d, yyyy"), "dddd, mmmm d, yyyy");
  EXPECT_EQ(QtPatternToClassic("HH:mm:ss.zzz t"), "hh:nn:ss.zzz");
  // Quoted text stays literal, also letters the classic reader would take as codes.
  EXPECT_EQ(QtPatternToClassic("d 'de' MMMM"), "d \"de\" mmmm");
  EXPECT_EQ(QtPatternToClassic("h 'o''clock'"), "h \"o'clock\"");
  EXPECT_EQ(QtPatternToClassic("''yy"), "\"'\"yy");
  EXPECT_EQ(QtPatternToClassic("'say \"hi\"'"), "\"say \"'\"'\"hi\"'\"'");
  EXPECT_EQ(QtPatternToClassic("d c"), "d \"c\"");
  EXPECT_EQ(QtPatternToClassic("'unterminated"), "\"unterminated\"");
}

TEST(FormatSettings, TranslatedPatternsFormatLikeQt) {
  const QLocale locales[] = {
      QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
      QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Japanese, QLocale::Japan)};
  const QDateTime moment(QDate(2001, 3, 7), QTime(14, 5, 9));
  const TDateTime value = EncodeDateTime(2001, 3, 7, 14, 5, 9, 0);
  for (const QLocale& locale : locales) {
    const TFormatSettings s = TFormatSettings::FromLocale(locale);
    EXPECT_EQ(FormatDateTime(s.ShortDateFormat, value, s),
              locale.toString(moment.date(), QLocale::ShortFormat))
        << locale.name().toStdString();
    EXPECT_EQ(FormatDateTime(s.LongDateFormat, value, s),
              locale.toString(moment.date(), QLocale::LongFormat))
        << locale.name().toStdString();
    EXPECT_EQ(FormatDateTime(s.ShortTimeFormat, value, s),
              locale.toString(moment.time(), QLocale::ShortFormat))
        << locale.name().toStdString();
  }
}

TEST(FormatSettings, GermanLocale) {
  const TFormatSettings s = TFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(s.DecimalSeparator, u',');
  EXPECT_EQ(s.ThousandSeparator, u'.');
  EXPECT_EQ(s.DateSeparator, u'.');
  EXPECT_EQ(s.TimeSeparator, u':');
  // The locale's separator is written as "/" so that the pattern follows the separator in force.
  EXPECT_EQ(s.ShortDateFormat, "dd/mm/yy");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.LongDayNames[0], "Sonntag");
  EXPECT_EQ(s.LongMonthNames[2], QString::fromUtf8("M\xC3\xA4rz"));
  EXPECT_EQ(s.CurrencyString, QString::fromUtf8("\xE2\x82\xAC"));
  EXPECT_EQ(s.CurrencyFormat, 3);  // "1 €"
  TDateTime value = 0;
  ASSERT_TRUE(TryStrToDate("7.3.2001", value, s));
  EXPECT_EQ(value, EncodeDate(2001, 3, 7));
}

TEST(FormatSettings, TimeSeparatorOtherThanColon) {
  const TFormatSettings s =
      TFormatSettings::FromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
  EXPECT_EQ(s.TimeSeparator, u'.');
  EXPECT_EQ(s.ShortTimeFormat, "h:nn");
  EXPECT_EQ(FormatDateTime(s.ShortTimeFormat, EncodeTime(9, 5, 0, 0), s), "9.05");
}

TEST(FormatSettings, GuardRestoresAlsoWhenAnExceptionPasses) {
  SetFormatSettings(TFormatSettings::Invariant());
  try {
    FormatSettingsGuard guard;
    FormatSettings().DecimalSeparator = u',';
    FormatSettings().ShortDateFormat = "yyyy";
    throw std::runtime_error("conversion failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, u'.');
  EXPECT_EQ(FormatSettings().ShortDateFormat, "m/d/yyyy");
}

}  // namespace
}  // namespace Kel
