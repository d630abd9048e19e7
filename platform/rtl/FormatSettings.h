#pragma once
// The process-wide format settings that every conversion between values and text reads: decimal
// separator, date and time separators and patterns (in the classic pattern language, see
// DateTimeFormat.h), AM/PM strings, day and month names. They start from QLocale::system().
// Code that changes a setting for one conversion restores it, also when the conversion throws:
// FormatSettingsGuard does that.

#include <QChar>
#include <QLocale>
#include <QString>
#include <array>

#include "PlatformExport.h"

namespace Kel {

struct KEL_PLATFORM_EXPORT TFormatSettings {
  QChar DecimalSeparator = u'.';
  QChar ThousandSeparator = u',';
  QChar DateSeparator = u'/';
  QChar TimeSeparator = u':';
  QString ShortDateFormat = QStringLiteral("m/d/yyyy");
  QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
  QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
  QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
  QString TimeAMString = QStringLiteral("AM");
  QString TimePMString = QStringLiteral("PM");
  QString CurrencyString = QStringLiteral("$");
  // Placement of the currency string: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int CurrencyFormat = 0;
  // Negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
  // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
  std::array<QString, 12> ShortMonthNames;  // index 0 = January
  std::array<QString, 12> LongMonthNames;
  std::array<QString, 7> ShortDayNames;  // index 0 = Sunday
  std::array<QString, 7> LongDayNames;
  // Two-digit years are placed in the hundred years that start this many years before the
  // current one (50 in 2025: 1975 ... 2074; 0: always the current century).
  int TwoDigitYearCenturyWindow = 50;

  // Whether every setting is the same: what a text written with them may be kept for.
  bool operator==(const TFormatSettings&) const = default;

  // English names, "." decimal separator, "/" and ":" separators, m/d/yyyy and h:nn:ss AMPM:
  // what tests pin so that nothing depends on the machine's locale.
  static TFormatSettings Invariant();
  // The settings of a locale, its patterns translated into the classic pattern language. The
  // short date format is made so that StrToDate reads back what DateToStr writes: the locale's
  // order of day, month and year and its separators, but a numeric month, a four-digit year,
  // the date separator between all fields and no literal words or direction marks; the C locale
  // keeps m/d/yyyy. Likewise the time formats read back by StrToTime: the locale's fields in
  // its order, its time separator between all of them and its AM/PM designator before or after
  // the time, but no time zone and no literal words.
  static TFormatSettings FromLocale(const QLocale& locale);
};

// The process-wide settings, initialised from QLocale::system() on first use.
KEL_PLATFORM_EXPORT TFormatSettings& FormatSettings();
// Replaces all process-wide settings at once (tests, and programs that want fixed formats).
KEL_PLATFORM_EXPORT void SetFormatSettings(const TFormatSettings& settings);

// Saves the process-wide settings on construction and puts them back on destruction, so a
// temporary change is undone on every path, exceptions included.
class FormatSettingsGuard {
 public:
  FormatSettingsGuard() : saved_(FormatSettings()) {}
  ~FormatSettingsGuard() { SetFormatSettings(saved_); }
  FormatSettingsGuard(const FormatSettingsGuard&) = delete;
  FormatSettingsGuard& operator=(const FormatSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;
};

// Translates a Qt date/time pattern ("dd.MM.yyyy HH:mm") into the classic pattern language
// ("dd.mm.yyyy hh:nn").
KEL_PLATFORM_EXPORT QString QtPatternToClassic(const QString& qtPattern);

}  // namespace Kel
