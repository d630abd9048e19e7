#include "DateTimeFormat.h"

#include "Exceptions.h"

namespace Kel {

namespace {

// How deep formats may expand into other formats ("c", "ddddd", "t", ...): one level below the
// caller's pattern. A settings pattern that names itself therefore stops instead of recursing.
constexpr int MaxFormatNesting = 2;

QChar UpperAscii(QChar c) { return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c; }

bool IsAsciiLetter(QChar c) {
  const QChar u = UpperAscii(c);
  return u >= u'A' && u <= u'Z';
}

// Whether `text` continues at `at` with `word`, ASCII letters compared without case.
bool MatchesAt(const QString& text, qsizetype at, QLatin1StringView word) {
  if (at < 0 || at + word.size() > text.size()) return false;
  for (qsizetype i = 0; i < word.size(); ++i) {
    if (UpperAscii(text[at + i]) != UpperAscii(QChar(word[i]))) return false;
  }
  return true;
}

QString Number(int value, int digits) {
  return QStringLiteral("%1").arg(value, digits, 10, QChar(u'0'));
}

template <size_t N>
QString NameAt(const std::array<QString, N>& names, int oneBased) {
  return oneBased >= 1 && oneBased <= static_cast<int>(N) ? names[oneBased - 1] : QString();
}

// Writes one date-time value by a pattern. One writer serves a whole call, nested formats
// included; each pattern level keeps its own "last letter" and 12-hour state, as they belong
// to the pattern being read.
class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& settings)
      : value_(value), settings_(settings) {}

  QString Write(const QString& format) {
    Append(format.isEmpty() ? QStringLiteral("c") : format);
    return out_;
  }

 private:
  void Append(const QString& format);
  void AppendHour(const QString& format, qsizetype after, int count, bool& use12Hour);
  // Returns how many pattern characters the a-specifier took (at least 1).
  int AppendAmPm(const QString& format, qsizetype at, bool& use12Hour);

  void NeedDate() {
    if (dateDecoded_) return;
    DecodeDateFully(value_, year_, month_, day_, dayOfWeek_);
    dateDecoded_ = true;
  }
  void NeedTime() {
    if (timeDecoded_) return;
    DecodeTime(value_, hour_, min_, sec_, msec_);
    timeDecoded_ = true;
  }

  TDateTime value_;
  const TFormatSettings& settings_;
  QString out_;
  int level_ = 0;
  bool dateDecoded_ = false;
  bool timeDecoded_ = false;
  int year_ = 0, month_ = 0, day_ = 0, dayOfWeek_ = 0;
  int hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
};

void DateTimeWriter::Append(const QString& format) {
  if (level_ >= MaxFormatNesting) return;
  ++level_;
  QChar lastToken = u' ';
  bool use12Hour = false;
  qsizetype at = 0;
  while (at < format.size()) {
    const QChar starter = format[at];
    int count = 1;
    while (at + count < format.size() && format[at + count] == starter) ++count;
    QChar token = UpperAscii(starter);
    if (IsAsciiLetter(token)) {
      if (token == u'M' && lastToken == u'H') token = u'N';
      lastToken = token;
    }
    switch (token.unicode()) {
      case u'Y':
        NeedDate();
        out_ += count <= 2 ? Number(year_ % 100, 2) : Number(year_, 4);
        break;
      case u'M':
        NeedDate();
        if (count <= 2)
          out_ += Number(month_, count);
        else
          out_ += NameAt(count == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames, month_);
        break;
      case u'D':
        NeedDate();
        if (count <= 2)
          out_ += Number(day_, count);
        else if (count == 3)
          out_ += NameAt(settings_.ShortDayNames, dayOfWeek_);
        else if (count == 4)
          out_ += NameAt(settings_.LongDayNames, dayOfWeek_);
        else
          Append(count == 5 ? settings_.ShortDateFormat : settings_.LongDateFormat);
        break;
      case u'H':
        AppendHour(format, at + count, count, use12Hour);
        break;
      case u'N':
        NeedTime();
        out_ += Number(min_, qMin(count, 2));
        break;
      case u'S':
        NeedTime();
        out_ += Number(sec_, qMin(count, 2));
        break;
      case u'Z':
        NeedTime();
        out_ += Number(msec_, qMin(count, 3));
        break;
      case u'T':
        Append(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat);
        break;
      case u'C':
        Append(settings_.ShortDateFormat);
        NeedTime();
        if (hour_ != 0 || min_ != 0 || sec_ != 0) {
          out_ += u' ';
          Append(settings_.LongTimeFormat);
        }
        break;
      case u'A':
        count = AppendAmPm(format, at, use12Hour);
        break;
      case u'/':
        count = 1;
        if (!settings_.DateSeparator.isNull()) out_ += settings_.DateSeparator;
        break;
      case u':':
        count = 1;
        if (!settings_.TimeSeparator.isNull()) out_ += settings_.TimeSeparator;
        break;
      case u'\'':
      case u'"': {
        qsizetype end = format.indexOf(starter, at + 1);
        if (end < 0) end = format.size();
        out_ += format.mid(at + 1, end - at - 1);
        count = static_cast<int>(qMin(end + 1, format.size()) - at);
        break;
      }
      default:
        count = 1;
        out_ += starter;
        break;
    }
    at += count;
  }
  --level_;
}

void DateTimeWriter::AppendHour(const QString& format, qsizetype after, int count,
                                bool& use12Hour) {
  NeedTime();
  // The 12-hour clock is chosen by an AM/PM designator later in the pattern, before the next
  // hour specifier; designators in quotes do not count.
  bool betweenQuotes = false;
  for (qsizetype p = after; p < format.size(); ++p) {
    const QChar c = format[p];
    if (c == u'a' || c == u'A') {
      if (betweenQuotes) continue;
      if (MatchesAt(format, p, QLatin1StringView("am/pm")) ||
          MatchesAt(format, p, QLatin1StringView("a/p")) ||
          MatchesAt(format, p, QLatin1StringView("ampm")))
        use12Hour = true;
      break;
    }
    if (c == u'h' || c == u'H') break;
    if (c == u'\'' || c == u'"') betweenQuotes = !betweenQuotes;
  }
  int hour = hour_;
  if (use12Hour) {
    if (hour == 0)
      hour = 12;
    else if (hour > 12)
      hour -= 12;
  }
  out_ += Number(hour, qMin(count, 2));
}

int DateTimeWriter::AppendAmPm(const QString& format, qsizetype at, bool& use12Hour) {
  if (MatchesAt(format, at, QLatin1StringView("am/pm"))) {
    NeedTime();
    out_ += format.mid(hour_ >= 12 ? at + 3 : at, 2);  // the letters as the pattern has them
    use12Hour = true;
    return 5;
  }
  if (MatchesAt(format, at, QLatin1StringView("a/p"))) {
    NeedTime();
    out_ += format[hour_ >= 12 ? at + 2 : at];
    use12Hour = true;
    return 3;
  }
  if (MatchesAt(format, at, QLatin1StringView("ampm"))) {
    NeedTime();
    out_ += hour_ < 12 ? settings_.TimeAMString : settings_.TimePMString;
    use12Hour = true;
    return 4;
  }
  if (MatchesAt(format, at, QLatin1StringView("aaaa"))) {
    NeedDate();
    out_ += NameAt(settings_.LongDayNames, dayOfWeek_);
    return 4;
  }
  if (MatchesAt(format, at, QLatin1StringView("aaa"))) {
    NeedDate();
    out_ += NameAt(settings_.ShortDayNames, dayOfWeek_);
    return 3;
  }
  out_ += format[at];
  return 1;
}

// ---- Reading dates and times back ------------------------------------------------------------

enum class DateOrder { MDY, DMY, YMD };

// The order of the fields in a date pattern: decided by the first of d, m, y met.
DateOrder DateOrderOf(const QString& pattern) {
  for (QChar c : pattern) {
    switch (UpperAscii(c).unicode()) {
      case u'Y':
        return DateOrder::YMD;
      case u'M':
        return DateOrder::MDY;
      case u'D':
        return DateOrder::DMY;
      default:
        break;
    }
  }
  return DateOrder::MDY;
}

// A cursor over the text being read, with the scanning steps of the classic reader.
class TextScanner {
 public:
  explicit TextScanner(const QString& text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  qsizetype Position() const { return pos_; }
  void SetPosition(qsizetype pos) { pos_ = pos; }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == u' ') ++pos_;
  }

  // Up to four digits (a fifth stays unread and spoils the text).
  bool Number(int& value, int& digits) {
    SkipBlanks();
    qsizetype i = pos_;
    int n = 0;
    while (i < text_.size() && text_[i] >= u'0' && text_[i] <= u'9' && n < 1000) {
      n = n * 10 + (text_[i].unicode() - u'0');
      ++i;
    }
    if (i == pos_) return false;
    digits = static_cast<int>(i - pos_);
    pos_ = i;
    value = n;
    return true;
  }

  bool Char(QChar c) {
    SkipBlanks();
    if (c.isNull() || pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool Word(const QString& word) {
    if (word.isEmpty()) return false;
    SkipBlanks();
    if (text_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
    pos_ += word.size();
    return true;
  }

 private:
  const QString& text_;
  qsizetype pos_ = 0;
};

int CurrentYear() {
  int year, month, day;
  DecodeDate(Date(), year, month, day);
  return year;
}

bool ScanDate(TextScanner& scan, const TFormatSettings& s, TDateTime& result) {
  int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
  if (!scan.Number(n1, l1) || !scan.Char(s.DateSeparator) || !scan.Number(n2, l2)) return false;
  const DateOrder order = DateOrderOf(s.ShortDateFormat);
  int year = 0, month = 0, day = 0;
  if (scan.Char(s.DateSeparator)) {
    if (!scan.Number(n3, l3)) return false;
    int yearDigits = l3;
    switch (order) {
      case DateOrder::MDY:
        year = n3, month = n1, day = n2;
        break;
      case DateOrder::DMY:
        year = n3, month = n2, day = n1;
        break;
      case DateOrder::YMD:
        year = n1, month = n2, day = n3, yearDigits = l1;
        break;
    }
    if (yearDigits <= 2) {
      // Two-digit years land in the hundred years that start TwoDigitYearCenturyWindow years
      // before the current one (0: the current century).
      const int centuryBase = CurrentYear() - s.TwoDigitYearCenturyWindow;
      year += centuryBase / 100 * 100;
      if (s.TwoDigitYearCenturyWindow > 0 && year < centuryBase) year += 100;
    }
  } else {
    year = CurrentYear();
    if (order == DateOrder::DMY)
      day = n1, month = n2;
    else
      month = n1, day = n2;
  }
  scan.Char(s.DateSeparator);
  scan.SkipBlanks();
  return TryEncodeDate(year, month, day, result);
}

bool ScanAmPm(TextScanner& scan, const TFormatSettings& s, int& baseHour) {
  if (scan.Word(s.TimeAMString) || scan.Word(QStringLiteral("AM"))) {
    baseHour = 0;
    return true;
  }
  if (scan.Word(s.TimePMString) || scan.Word(QStringLiteral("PM"))) {
    baseHour = 12;
    return true;
  }
  return false;
}

// Fractions of a second: one to three digits, read as the decimals they are (".5" is 500 ms).
bool ScanMilliseconds(TextScanner& scan, int& msec) {
  int value, digits;
  if (!scan.Number(value, digits) || digits > 3) return false;
  msec = digits == 1 ? value * 100 : digits == 2 ? value * 10 : value;
  return true;
}

bool ScanTime(TextScanner& scan, const TFormatSettings& s, TDateTime& result) {
  int baseHour = -1;
  if (ScanAmPm(scan, s, baseHour)) scan.SkipBlanks();
  int hour, min = 0, sec = 0, msec = 0, digits;
  if (!scan.Number(hour, digits)) return false;
  if (scan.Char(s.TimeSeparator)) {
    if (!scan.Number(min, digits)) return false;
    if (scan.Char(s.TimeSeparator)) {
      if (!scan.Number(sec, digits)) return false;
      if (scan.Char(s.DecimalSeparator) && !ScanMilliseconds(scan, msec)) return false;
    }
  }
  if (baseHour < 0) ScanAmPm(scan, s, baseHour);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  scan.SkipBlanks();
  return TryEncodeTime(hour, min, sec, msec, result);
}

bool TryStrToTimeWith(const QString& text, const TFormatSettings& s, TDateTime& result) {
  TextScanner scan(text);
  TDateTime value = 0;
  if (!ScanTime(scan, s, value) || !scan.AtEnd()) return false;
  result = value;
  return true;
}

}  // namespace

QString FormatDateTime(const QString& format, TDateTime value, const TFormatSettings& settings) {
  return DateTimeWriter(value, settings).Write(format);
}

QString FormatDateTime(const QString& format, TDateTime value) {
  return FormatDateTime(format, value, FormatSettings());
}

QString DateToStr(TDateTime value) {
  const TFormatSettings& s = FormatSettings();
  return FormatDateTime(s.ShortDateFormat, value, s);
}

QString TimeToStr(TDateTime value) {
  const TFormatSettings& s = FormatSettings();
  return FormatDateTime(s.LongTimeFormat, value, s);
}

QString DateTimeToStr(TDateTime value) { return FormatDateTime(QStringLiteral("c"), value); }

bool TryStrToDate(const QString& text, TDateTime& result, const TFormatSettings& settings) {
  TextScanner scan(text);
  TDateTime value = 0;
  if (!ScanDate(scan, settings, value) || !scan.AtEnd()) return false;
  result = value;
  return true;
}

bool TryStrToTime(const QString& text, TDateTime& result, const TFormatSettings& settings) {
  return TryStrToTimeWith(text, settings, result);
}

bool TryStrToDateTime(const QString& text, TDateTime& result, const TFormatSettings& settings) {
  TextScanner scan(text);
  TDateTime date = 0;
  TDateTime time = 0;
  if (!ScanDate(scan, settings, date)) return TryStrToTimeWith(text, settings, result);
  if (!scan.AtEnd()) {
    // Text after the time spoils the value, as it does after a lone date or time.
    if (!ScanTime(scan, settings, time) || !scan.AtEnd())
      return TryStrToTimeWith(text, settings, result);
  }
  result = CombineDateTime(date, time);
  return true;
}

bool TryStrToDate(const QString& text, TDateTime& result) {
  return TryStrToDate(text, result, FormatSettings());
}

bool TryStrToTime(const QString& text, TDateTime& result) {
  return TryStrToTime(text, result, FormatSettings());
}

bool TryStrToDateTime(const QString& text, TDateTime& result) {
  return TryStrToDateTime(text, result, FormatSettings());
}

TDateTime StrToDate(const QString& text) {
  TDateTime result = 0;
  if (!TryStrToDate(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidDate, text));
  return result;
}

TDateTime StrToTime(const QString& text) {
  TDateTime result = 0;
  if (!TryStrToTime(text, result)) throw EConvertError(RtlMessage(RtlText::InvalidTime, text));
  return result;
}

TDateTime StrToDateTime(const QString& text) {
  TDateTime result = 0;
  if (!TryStrToDateTime(text, result))
    throw EConvertError(RtlMessage(RtlText::InvalidDateTime, text));
  return result;
}

}  // namespace Kel
