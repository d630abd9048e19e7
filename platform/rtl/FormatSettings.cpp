#include "FormatSettings.h"

#include <algorithm>
#include <vector>

namespace Kel {

namespace {

bool IsPatternLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

int RunLength(const QString& text, qsizetype at) {
  int count = 1;
  while (at + count < text.size() && text[at + count] == text[at]) ++count;
  return count;
}

// Appends literal text so that the classic pattern reader copies it unchanged: runs without a
// double quote go between double quotes, a double quote itself between single quotes.
void AppendLiteral(QString& out, const QString& literal) {
  QString run;
  auto flush = [&] {
    if (run.isEmpty()) return;
    out += u'"' + run + u'"';
    run.clear();
  };
  for (QChar c : literal) {
    if (c == u'"') {
      flush();
      out += QStringLiteral("'\"'");
    } else {
      run += c;
    }
  }
  flush();
}

// Reads a Qt quoted section starting at the opening quote; '' inside or outside quotes is one
// quote character. Returns the literal text and moves `at` past the section.
QString ReadQtQuoted(const QString& pattern, qsizetype& at) {
  QString literal;
  ++at;                                               // opening quote
  if (at < pattern.size() && pattern[at] == u'\'') {  // '' outside quotes
    ++at;
    return QStringLiteral("'");
  }
  while (at < pattern.size()) {
    if (pattern[at] == u'\'') {
      if (at + 1 < pattern.size() && pattern[at + 1] == u'\'') {
        literal += u'\'';
        at += 2;
        continue;
      }
      ++at;  // closing quote
      break;
    }
    literal += pattern[at++];
  }
  return literal;
}

// The classic specifier for one Qt specifier run, or an empty string when the run is not one.
QString TranslateQtRun(QChar letter, int count) {
  switch (letter.unicode()) {
    case u'd':
      return QString(qMin(count, 4), u'd');
    case u'M':
      return QString(qMin(count, 4), u'm');
    case u'y':
      return count >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy");
    case u'h':
    case u'H':
      return QString(qMin(count, 2), u'h');
    case u'm':
      return QString(qMin(count, 2), u'n');
    case u's':
      return QString(qMin(count, 2), u's');
    case u'z':
      return count >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
    default:
      return QString();
  }
}

// The first character of a classic pattern that is neither a letter, a blank nor quoted: the
// separator the pattern uses between its fields.
QChar FindSeparator(const QString& pattern, QChar fallback) {
  QChar quote;
  for (QChar c : pattern) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
      continue;
    }
    if (!IsPatternLetter(c) && !c.isSpace() && !c.isDigit()) return c;
  }
  return fallback;
}

// Marks that only steer the direction of display (some locales put them around separators):
// nothing a reader could expect to find in typed text.
bool IsBidiMark(QChar c) {
  const char16_t code = c.unicode();
  return code == 0x200E || code == 0x200F || code == 0x061C || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
}

// A Qt short date pattern split into its day, month and year fields and the text around them.
struct DatePatternParts {
  QString Fields;               // the field letters in order: "dMy", "yMd", ...
  std::array<int, 3> Counts{};  // the run length of each field
  std::array<QString, 4> Gaps;  // before the first field, between them, after the last
  bool LiteralAtEnd = false;    // the end holds quoted or lettered text (a word such as "г.")
};

DatePatternParts SplitDatePattern(const QString& qtPattern) {
  DatePatternParts parts;
  qsizetype at = 0;
  while (at < qtPattern.size()) {
    const QChar c = qtPattern[at];
    const qsizetype gap = parts.Fields.size();
    if (c == u'\'') {
      ReadQtQuoted(qtPattern, at);  // literal words are left out
      if (gap == 3) parts.LiteralAtEnd = true;
      continue;
    }
    const int count = RunLength(qtPattern, at);
    at += count;
    if ((c == u'd' || c == u'M' || c == u'y') && parts.Fields.size() < 3) {
      parts.Counts[static_cast<size_t>(gap)] = count;
      parts.Fields += c;
    } else if (IsPatternLetter(c)) {
      if (gap == 3) parts.LiteralAtEnd = true;
      if (c == u'd' || c == u'M' || c == u'y') parts.Fields += c;  // a fourth field spoils it
    } else if (!IsBidiMark(c)) {
      parts.Gaps[static_cast<size_t>(std::min<qsizetype>(gap, 3))] += QString(count, c);
    }
  }
  return parts;
}

// The short date format in the classic language, made so that what it writes reads back: the
// locale's order of day, month and year and its separators, but always a numeric month, a
// four-digit year and the date separator between the fields (as "/"), without literal words
// or direction marks. Empty when the pattern has no single day, month and year field.
QString ReadableShortDateFormat(const QString& qtPattern, QChar& separator) {
  const DatePatternParts parts = SplitDatePattern(qtPattern);
  QString sorted = parts.Fields;
  std::sort(sorted.begin(), sorted.end());
  if (sorted != QStringLiteral("Mdy") || parts.Counts[parts.Fields.indexOf(u'd')] > 2) return {};
  separator = FindSeparator(parts.Gaps[1] + parts.Gaps[2], u'/');
  if (separator == u'"') return {};  // the classic reader would take it for a quote
  QString out;
  for (int i = 0; i < 3; ++i) {
    QString gap = parts.Gaps[static_cast<size_t>(i)];
    if (i > 0) out += gap.contains(separator) ? gap.replace(separator, u'/') : QStringLiteral("/");
    const int count = parts.Counts[static_cast<size_t>(i)];
    switch (parts.Fields[i].unicode()) {
      case u'd':
        out += QString(count, u'd');
        break;
      case u'M':
        out += count == 2 ? QStringLiteral("mm") : QStringLiteral("m");
        break;
      default:
        out += QStringLiteral("yyyy");
        break;
    }
  }
  // A closing separator ("d. M. yyyy.") stays; a closing word does not.
  if (!parts.LiteralAtEnd && parts.Gaps[3].trimmed() == QString(separator)) out += u'/';
  return out;
}

// A Qt time pattern split into its hour, minute and second fields, the text between them (quoted
// and lettered words left out) and where its AM/PM designator stands.
struct TimePatternParts {
  QString Fields;               // "hms", "hm", ...: the field letters in order, hours as 'h'
  std::vector<int> Counts;      // the run length of each field
  std::vector<QString> Gaps;    // after each field: its unquoted text up to the next field
  bool TwelveHour = false;      // an AM/PM designator: 'h' counts 1..12
  bool AmPmFirst = false;       // the designator stands before the hour
  bool AmPmBlank = true;        // a blank between the designator and the time
};

TimePatternParts SplitTimePattern(const QString& qtPattern) {
  TimePatternParts parts;
  qsizetype at = 0;
  qsizetype amPmAt = -1;
  while (at < qtPattern.size()) {
    const QChar c = qtPattern[at];
    if (c == u'\'') {
      ReadQtQuoted(qtPattern, at);  // literal words are left out
      continue;
    }
    if (c == u'A' || c == u'a') {  // A, AP, a, ap
      parts.TwelveHour = true;
      parts.AmPmFirst = parts.Fields.isEmpty();
      at += (at + 1 < qtPattern.size() && qtPattern[at + 1].toLower() == u'p') ? 2 : 1;
      amPmAt = at;
      continue;
    }
    const int count = RunLength(qtPattern, at);
    at += count;
    const QChar field = c == u'H' ? QChar(u'h') : c;
    if ((field == u'h' || field == u'm' || field == u's') && !parts.Fields.contains(field)) {
      parts.Fields += field;
      parts.Counts.push_back(count);
      parts.Gaps.emplace_back();
      // Between the designator and the hour nothing but blanks: is there one?
      if (field == u'h' && parts.AmPmFirst && amPmAt >= 0)
        parts.AmPmBlank = qtPattern.mid(amPmAt, at - count - amPmAt).contains(u' ');
    } else if (!IsBidiMark(c) && !parts.Gaps.empty()) {
      parts.Gaps.back() += QString(count, c);
    }
  }
  return parts;
}

// The time separator of a Qt time pattern: what stands between its hour and its minutes when
// that is one character other than a letter or a digit (quoted words and blanks aside), else
// ":". A word there ("H 'h' mm", or unquoted letters) is no separator a reader could expect.
QChar TimeSeparatorOf(const QString& qtPattern) {
  const TimePatternParts parts = SplitTimePattern(qtPattern);
  if (!parts.Fields.startsWith(QStringLiteral("hm"))) return u':';
  const QString gap = parts.Gaps[0].trimmed();
  const bool single = gap.size() == 1 && !gap[0].isLetterOrNumber() && !gap[0].isMark();
  return single && gap[0] != u'"' && gap[0] != u'\'' ? gap[0] : QChar(u':');
}

// A time format in the classic language, made so that what it writes reads back: the locale's
// fields in its order with the time separator (as ":") between them and its AM/PM designator
// before or after the time, but without the time zone, literal words or direction marks. Empty
// when the pattern does not start with the hour.
QString ReadableTimeFormat(const QString& qtPattern) {
  const TimePatternParts parts = SplitTimePattern(qtPattern);
  if (!parts.Fields.startsWith(u'h')) return {};
  QString time;
  for (qsizetype i = 0; i < parts.Fields.size(); ++i) {
    if (i > 0) time += u':';
    const int count = std::min(parts.Counts[static_cast<size_t>(i)], 2);
    const QChar field = parts.Fields[i];
    time += QString(count, field == u'm' ? QChar(u'n') : field);
  }
  if (!parts.TwelveHour) return time;
  if (parts.AmPmFirst) return (parts.AmPmBlank ? QStringLiteral("AMPM ") : QStringLiteral("AMPM")) + time;
  return time + QStringLiteral(" AMPM");
}

// Currency placement from how the locale writes one unit: symbol before or after the number,
// with or without a blank.
void ReadCurrencyPlacement(const QLocale& locale, TFormatSettings& s) {
  const QString symbol = locale.currencySymbol();
  const QString sample = locale.toCurrencyString(1.0, symbol, 0);
  const qsizetype symbolAt = symbol.isEmpty() ? -1 : sample.indexOf(symbol);
  const qsizetype digitAt = sample.indexOf(locale.toString(1));
  if (symbolAt < 0 || digitAt < 0) return;
  const bool before = symbolAt < digitAt;
  const bool blank = before ? symbolAt + symbol.size() < digitAt : digitAt + 1 < symbolAt;
  s.CurrencyFormat = (before ? 0 : 1) + (blank ? 2 : 0);
  static constexpr int NegativeForms[4] = {1, 5, 9, 8};  // the "-" form of each placement
  s.NegCurrFormat = NegativeForms[s.CurrencyFormat];
  s.CurrencyString = symbol;
}

}  // namespace

QString QtPatternToClassic(const QString& qtPattern) {
  QString out;
  qsizetype at = 0;
  while (at < qtPattern.size()) {
    const QChar c = qtPattern[at];
    if (c == u'\'') {
      AppendLiteral(out, ReadQtQuoted(qtPattern, at));
      continue;
    }
    if (c == u'A' || c == u'a') {  // A, AP, a, ap: the AM/PM designator
      const bool upper = c == u'A';
      at += (at + 1 < qtPattern.size() && qtPattern[at + 1].toLower() == u'p') ? 2 : 1;
      out += upper ? QStringLiteral("AMPM") : QStringLiteral("ampm");
      continue;
    }
    const int count = RunLength(qtPattern, at);
    if (c == u't') {  // time zone: the classic patterns have none
      at += count;
      continue;
    }
    const QString specifier = TranslateQtRun(c, count);
    if (!specifier.isEmpty()) {
      out += specifier;
    } else if (IsPatternLetter(c) || c == u'"') {
      AppendLiteral(out, QString(count, c));  // letters the classic reader would take as codes
    } else {
      out += QString(count, c);
    }
    at += count;
  }
  return out.trimmed();
}

TFormatSettings TFormatSettings::Invariant() {
  TFormatSettings s;
  s.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                      "July",    "August",   "September", "October", "November", "December"};
  s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  s.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return s;
}

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale) {
  TFormatSettings s;
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = locale.monthName(i + 1, QLocale::ShortFormat);
    s.LongMonthNames[i] = locale.monthName(i + 1, QLocale::LongFormat);
  }
  for (int i = 0; i < 7; ++i) {
    const int qtDay = i == 0 ? 7 : i;  // Qt counts from Monday = 1 to Sunday = 7
    s.ShortDayNames[i] = locale.dayName(qtDay, QLocale::ShortFormat);
    s.LongDayNames[i] = locale.dayName(qtDay, QLocale::LongFormat);
  }
  const QString decimal = locale.decimalPoint();
  if (!decimal.isEmpty()) s.DecimalSeparator = decimal[0];
  const QString group = locale.groupSeparator();
  s.ThousandSeparator = group.isEmpty() ? QChar() : group[0];

  // The C locale's "d MMM yyyy" would not read back: it keeps the classic m/d/yyyy.
  if (locale.language() != QLocale::C) {
    QChar separator;
    const QString shortDate =
        ReadableShortDateFormat(locale.dateFormat(QLocale::ShortFormat), separator);
    if (!shortDate.isEmpty()) {
      s.ShortDateFormat = shortDate;
      s.DateSeparator = separator;
    }
  }
  s.LongDateFormat = QtPatternToClassic(locale.dateFormat(QLocale::LongFormat));
  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  s.TimeSeparator = TimeSeparatorOf(shortTime);
  s.ShortTimeFormat = ReadableTimeFormat(shortTime);
  s.LongTimeFormat = ReadableTimeFormat(locale.timeFormat(QLocale::LongFormat));
  if (s.ShortTimeFormat.isEmpty()) s.ShortTimeFormat = TFormatSettings().ShortTimeFormat;
  if (s.LongTimeFormat.isEmpty()) s.LongTimeFormat = TFormatSettings().LongTimeFormat;
  s.TimeAMString = locale.amText();
  s.TimePMString = locale.pmText();
  ReadCurrencyPlacement(locale, s);
  return s;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = TFormatSettings::FromLocale(QLocale::system());
  return settings;
}

void SetFormatSettings(const TFormatSettings& settings) { FormatSettings() = settings; }

}  // namespace Kel
