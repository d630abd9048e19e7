// Format settings: settings read from a locale (patterns in the
// classic language, separators, names), the Qt-pattern translation and the restoring guard.
#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>
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
    // The short date with its year in four digits, so that it reads back.
    QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    if (!shortDate.contains(QStringLiteral("yyyy"))) shortDate.replace("yy", "yyyy");
    EXPECT_EQ(FormatDateTime(s.ShortDateFormat, value, s),
              locale.toString(moment.date(), shortDate))
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
  EXPECT_EQ(s.ShortDateFormat, "dd/mm/yyyy");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.LongDayNames[0], "Sonntag");
  EXPECT_EQ(s.LongMonthNames[2], QString::fromUtf8("M\xC3\xA4rz"));
  EXPECT_EQ(s.CurrencyString, QString::fromUtf8("\xE2\x82\xAC"));
  EXPECT_EQ(s.CurrencyFormat, 3);  // "1 €"
  TDateTime value = 0;
  ASSERT_TRUE(TryStrToDate("7.3.2001", value, s));
  EXPECT_EQ(value, EncodeDate(2001, 3, 7));
}

TEST(FormatSettings, ShortDateFormatsKeepOrderAndSeparatorsButReadBack) {
  struct Case {
    QLocale locale;
    const char* format;
    char16_t separator;
  };
  const Case cases[] = {
      // The C locale's "d MMM yyyy": the classic defaults.
      {QLocale::c(), "m/d/yyyy", u'/'},
      {QLocale(QLocale::English, QLocale::UnitedStates), "m/d/yyyy", u'/'},
      {QLocale(QLocale::Korean, QLocale::SouthKorea), "yyyy/ m/ d/", u'.'},
      // Right-to-left marks around the separators are left out.
      {QLocale(QLocale::Arabic, QLocale::Egypt), "d/m/yyyy", u'/'},
      // "d.MM.yy 'г'.": the closing word goes, a closing separator stays.
      {QLocale(QLocale::Bulgarian, QLocale::Bulgaria), "d/mm/yyyy", u'.'},
      {QLocale(QLocale::Croatian, QLocale::Croatia), "dd/ mm/ yyyy/", u'.'},
      // "dd/MM yyyy": the separator also where the locale has a blank.
      {QLocale(QLocale::Kako, QLocale::Cameroon), "dd/mm/yyyy", u'/'},
  };
  for (const Case& c : cases) {
    const TFormatSettings s = TFormatSettings::FromLocale(c.locale);
    EXPECT_EQ(s.ShortDateFormat, c.format) << c.locale.name().toStdString();
    EXPECT_EQ(s.DateSeparator, QChar(c.separator)) << c.locale.name().toStdString();
  }
}

// Whatever locale a user runs under, a date the library writes must read back as that date.
TEST(FormatSettings, DatesReadBackInEveryLocale) {
  FormatSettingsGuard guard;
  const TDateTime dates[] = {
      EncodeDate(1925, 12, 31), EncodeDate(1926, 1, 1),  EncodeDate(1999, 12, 31),
      EncodeDate(2000, 1, 1),   EncodeDate(2000, 2, 29), EncodeDate(2100, 3, 1),
      EncodeDate(1900, 2, 28),  EncodeDate(1900, 3, 1),  EncodeDate(1899, 12, 29),
      EncodeDate(1, 1, 1),      EncodeDate(9999, 12, 31)};
  const QList<QLocale> locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(locales.size(), 100);
  QStringList failures;
  for (const QLocale& locale : locales) {
    SetFormatSettings(TFormatSettings::FromLocale(locale));
    for (const TDateTime date : dates) {
      const QString text = DateToStr(date);
      TDateTime back = 0;
      if (!TryStrToDate(text, back) || back != date)
        failures << locale.name() + u' ' + FormatSettings().ShortDateFormat + u' ' + text;
    }
  }
  EXPECT_TRUE(failures.isEmpty()) << failures.size() << " failures, for example "
                                  << failures.mid(0, 5).join(u'|').toStdString();
}

// Likewise times, in the long format (with seconds) and the short one (without), whatever
// words, zones or AM/PM placement the locale's own patterns have.
TEST(FormatSettings, TimesReadBackInEveryLocale) {
  FormatSettingsGuard guard;
  const TDateTime times[] = {EncodeTime(0, 0, 0, 0),    EncodeTime(0, 5, 9, 0),
                             EncodeTime(9, 5, 7, 0),    EncodeTime(11, 59, 59, 0),
                             EncodeTime(12, 0, 0, 0),   EncodeTime(12, 30, 45, 0),
                             EncodeTime(13, 0, 1, 0),   EncodeTime(23, 59, 59, 0)};
  QStringList failures;
  for (const QLocale& locale :
       QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    SetFormatSettings(TFormatSettings::FromLocale(locale));
    const TFormatSettings& s = FormatSettings();
    for (const TDateTime time : times) {
      for (const QString& format : {s.LongTimeFormat, s.ShortTimeFormat}) {
        const QString text = FormatDateTime(format, time);
        TDateTime back = -1;
        if (!TryStrToTime(text, back) || FormatDateTime(format, back) != text)
          failures << locale.name() + u' ' + format + u' ' + text;
      }
    }
    TDateTime back = -1;
    if (!TryStrToTime(TimeToStr(times[5]), back) || std::abs(back - times[5]) > 1e-9)
      failures << locale.name() + u' ' + TimeToStr(times[5]);
  }
  EXPECT_TRUE(failures.isEmpty()) << failures.size() << " failures, for example "
                                  << failures.mid(0, 5).join(u'|').toStdString();
}

TEST(FormatSettings, TimeFormatsKeepOrderSeparatorAndAmPmButNoWords) {
  struct Case {
    QLocale locale;
    const char* longFormat;
    const char* shortFormat;
    char16_t separator;
  };
  const Case cases[] = {
      {QLocale(QLocale::Basque, QLocale::Spain), "hh:nn:ss", "hh:nn", u':'},  // "HH:mm:ss (t)"
      {QLocale(QLocale::Finnish, QLocale::Finland), "h:nn:ss", "h:nn", u'.'},
      {QLocale(QLocale::Korean, QLocale::SouthKorea), "AMPM h:n:s", "AMPM h:nn", u':'},
      {QLocale(QLocale::Chinese, QLocale::HongKong), "AMPMh:nn:ss", "AMPMh:nn", u':'},
      {QLocale(QLocale::English, QLocale::UnitedStates), "h:nn:ss AMPM", "h:nn AMPM", u':'},
      {QLocale(QLocale::French, QLocale::Canada), "hh:nn:ss", "hh:nn", u':'},  // "HH 'h' mm"
  };
  for (const Case& c : cases) {
    const TFormatSettings s = TFormatSettings::FromLocale(c.locale);
    EXPECT_EQ(s.LongTimeFormat, c.longFormat) << c.locale.name().toStdString();
    EXPECT_EQ(s.ShortTimeFormat, c.shortFormat) << c.locale.name().toStdString();
    EXPECT_EQ(s.TimeSeparator, QChar(c.separator)) << c.locale.name().toStdString();
  }
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
