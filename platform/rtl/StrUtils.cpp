#include "StrUtils.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Exceptions.h"
#include "FloatText_p.h"
#include "FormatSettings.h"
#include "Variant.h"

namespace Kel {

namespace {

QChar AsciiUpper(QChar c) { return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c; }
QChar AsciiLower(QChar c) { return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c; }

int Sign(int value) { return (value > 0) - (value < 0); }

// A collator for the current default locale, rebuilt when that locale changes. Building one
// is costly and comparisons come in bulk (sorting), so it is kept.
QCollator& LocaleCollator(Qt::CaseSensitivity sensitivity) {
  static QCollator sensitive;
  static QCollator insensitive;
  static QString localeName;
  const QLocale locale;
  if (localeName.isEmpty() || locale.name() != localeName) {
    localeName = locale.name();
    sensitive = QCollator(locale);
    insensitive = QCollator(locale);
    insensitive.setCaseSensitivity(Qt::CaseInsensitive);
  }
  return sensitivity == Qt::CaseSensitive ? sensitive : insensitive;
}

bool IsPathDelimiter(QChar c) { return c == u'/' || c == QDir::separator(); }

// Index of the last path delimiter in a file name, -1 when there is none.
qsizetype LastDelimiter(const QString& fileName) {
  for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
    if (IsPathDelimiter(fileName[i])) return i;
  }
  return -1;
}

// Index of the extension's dot, -1 when the name part has none.
qsizetype ExtensionDot(const QString& fileName) {
  for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
    if (fileName[i] == u'.') return i;
    if (IsPathDelimiter(fileName[i])) return -1;
  }
  return -1;
}

// ---- Format ---------------------------------------------------------------------------------

constexpr const char* InvalidFormatText = "Format '%1' invalid or incompatible with argument";
constexpr const char* ArgumentMissingText = "No argument for format '%1'";
// Widths and precisions beyond this are refused rather than allocated.
constexpr int MaxFormatWidth = 65536;

class Formatter {
 public:
  Formatter(const QString& format, std::initializer_list<Variant> args)
      : format_(format), args_(args) {}

  QString Run();

 private:
  struct Spec {
    bool leftAlign = false;
    int width = -1;
    int precision = -1;
    QChar type;
  };

  [[noreturn]] void InvalidFormat() const {
    throw EConvertError(RtlMessage(InvalidFormatText, format_));
  }
  const Variant& NextArg() {
    if (argIndex_ >= args_.size()) throw EConvertError(RtlMessage(ArgumentMissingText, format_));
    return args_[argIndex_++];
  }
  int ReadNumberOrStar();
  Spec ReadSpec();
  QString Convert(const Spec& spec, const Variant& arg);
  QString IntegerText(const Spec& spec, const Variant& arg);
  QString FloatArgText(const Spec& spec, const Variant& arg);
  QString MoneyText(double value, int decimals) const;

  const QString& format_;
  std::vector<Variant> args_;
  size_t argIndex_ = 0;
  qsizetype at_ = 0;
};

QString Formatter::Run() {
  QString out;
  while (at_ < format_.size()) {
    const QChar c = format_[at_++];
    if (c != u'%') {
      out += c;
      continue;
    }
    if (at_ < format_.size() && format_[at_] == u'%') {
      out += u'%';
      ++at_;
      continue;
    }
    const Spec spec = ReadSpec();
    QString text = Convert(spec, NextArg());
    if (spec.width > text.size()) {
      const QString padding(spec.width - text.size(), u' ');
      text = spec.leftAlign ? text + padding : padding + text;
    }
    out += text;
  }
  return out;
}

// A number or "*" (taken from the next argument, which must be an integer); -1 when absent.
int Formatter::ReadNumberOrStar() {
  if (at_ < format_.size() && format_[at_] == u'*') {
    ++at_;
    const Variant& arg = NextArg();
    if (!arg.IsOrdinal() || arg.VarType() == varBoolean) InvalidFormat();
    const int64_t value = arg.AsInt64();
    if (value > MaxFormatWidth) InvalidFormat();
    return value < 0 ? -1 : static_cast<int>(value);
  }
  int value = -1;
  while (at_ < format_.size() && format_[at_] >= u'0' && format_[at_] <= u'9') {
    value = (value < 0 ? 0 : value * 10) + (format_[at_].unicode() - u'0');
    if (value > MaxFormatWidth) InvalidFormat();
    ++at_;
  }
  return value;
}

Formatter::Spec Formatter::ReadSpec() {
  Spec spec;
  // "%index:" chooses the argument; the following ones continue after it.
  qsizetype end = at_;
  while (end < format_.size() && format_[end] >= u'0' && format_[end] <= u'9') ++end;
  if (end > at_ && end < format_.size() && format_[end] == u':') {
    argIndex_ = static_cast<size_t>(ReadNumberOrStar());
    ++at_;
  }
  if (at_ < format_.size() && format_[at_] == u'-') {
    spec.leftAlign = true;
    ++at_;
  }
  spec.width = ReadNumberOrStar();
  if (at_ < format_.size() && format_[at_] == u'.') {
    ++at_;
    spec.precision = ReadNumberOrStar();
  }
  if (at_ >= format_.size()) InvalidFormat();
  spec.type = AsciiUpper(format_[at_++]);
  return spec;
}

QString Formatter::Convert(const Spec& spec, const Variant& arg) {
  switch (spec.type.unicode()) {
    case u'D':
    case u'U':
    case u'X':
      return IntegerText(spec, arg);
    case u'E':
    case u'F':
    case u'G':
    case u'N':
    case u'M':
      return FloatArgText(spec, arg);
    case u'S': {
      if (!arg.IsString()) InvalidFormat();
      const QString& text = arg.StringRef();
      return spec.precision >= 0 ? text.left(spec.precision) : text;
    }
    default:
      InvalidFormat();
  }
}

QString Formatter::IntegerText(const Spec& spec, const Variant& arg) {
  if (!arg.IsOrdinal() || arg.VarType() == varBoolean) InvalidFormat();
  const int64_t value = arg.AsInt64();
  const bool wide = arg.VarType() == varInt64;
  QString digits;
  bool negative = false;
  if (spec.type == u'X') {
    const uint64_t bits =
        wide ? static_cast<uint64_t>(value) : static_cast<uint32_t>(static_cast<int32_t>(value));
    digits = QString::number(bits, 16).toUpper();
  } else if (spec.type == u'U') {
    digits = wide ? QString::number(static_cast<uint64_t>(value))
                  : QString::number(static_cast<uint32_t>(static_cast<int32_t>(value)));
  } else {
    negative = value < 0;
    digits = QString::number(value);
    if (negative) digits.remove(0, 1);
  }
  if (spec.precision > digits.size()) digits.prepend(QString(spec.precision - digits.size(), u'0'));
  return negative ? u'-' + digits : digits;
}

QString Formatter::FloatArgText(const Spec& spec, const Variant& arg) {
  const TVarType type = arg.VarType();
  if (type != varSingle && type != varDouble && type != varCurrency && type != varDate)
    InvalidFormat();
  const double value = arg.AsDouble();
  const TFormatSettings& s = FormatSettings();
  switch (spec.type.unicode()) {
    case u'E':
      return FloatText::Exponent(value, spec.precision < 0 ? 15 : spec.precision, 3,
                                 s.DecimalSeparator);
    case u'F':
      return FloatText::Fixed(value, spec.precision < 0 ? 2 : spec.precision, s.DecimalSeparator,
                              QChar());
    case u'G':
      return FloatText::General(value, spec.precision < 0 ? 15 : spec.precision, 0,
                                s.DecimalSeparator);
    case u'N':
      return FloatText::Fixed(value, spec.precision < 0 ? 2 : spec.precision, s.DecimalSeparator,
                              s.ThousandSeparator);
    default:
      return MoneyText(value, spec.precision < 0 ? s.CurrencyDecimals : spec.precision);
  }
}

// An amount with the currency string placed as the settings say.
QString Formatter::MoneyText(double value, int decimals) const {
  const TFormatSettings& s = FormatSettings();
  if (!std::isfinite(value)) return FloatText::SpecialText(value);
  const QString amount =
      FloatText::Fixed(std::fabs(value), decimals, s.DecimalSeparator, s.ThousandSeparator);
  const QString& c = s.CurrencyString;
  // An amount that rounds to zero is not shown as negative.
  const bool negative = value < 0 && std::any_of(amount.begin(), amount.end(),
                                                 [](QChar ch) { return ch >= u'1' && ch <= u'9'; });
  if (!negative) {
    switch (s.CurrencyFormat) {
      case 1:
        return amount + c;
      case 2:
        return c + u' ' + amount;
      case 3:
        return amount + u' ' + c;
      default:
        return c + amount;
    }
  }
  switch (s.NegCurrFormat) {
    case 1:
      return u'-' + c + amount;
    case 2:
      return c + u'-' + amount;
    case 3:
      return c + amount + u'-';
    case 4:
      return u'(' + amount + c + u')';
    case 5:
      return u'-' + amount + c;
    case 6:
      return amount + u'-' + c;
    case 7:
      return amount + c + u'-';
    case 8:
      return u'-' + amount + u' ' + c;
    case 9:
      return u'-' + c + u' ' + amount;
    case 10:
      return amount + u' ' + c + u'-';
    case 11:
      return c + u' ' + amount + u'-';
    case 12:
      return c + u' ' + u'-' + amount;
    case 13:
      return amount + u'-' + u' ' + c;
    case 14:
      return u'(' + c + u' ' + amount + u')';
    case 15:
      return u'(' + amount + u' ' + c + u')';
    default:
      return u'(' + c + amount + u')';
  }
}

}  // namespace

int CompareStr(const QString& a, const QString& b) { return Sign(QString::compare(a, b)); }

int CompareText(const QString& a, const QString& b) {
  const qsizetype n = qMin(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const QChar x = AsciiUpper(a[i]);
    const QChar y = AsciiUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const QString& a, const QString& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int AnsiCompareStr(const QString& a, const QString& b) {
  return Sign(LocaleCollator(Qt::CaseSensitive).compare(a, b));
}

int AnsiCompareText(const QString& a, const QString& b) {
  return Sign(LocaleCollator(Qt::CaseInsensitive).compare(a, b));
}

bool AnsiSameText(const QString& a, const QString& b) { return AnsiCompareText(a, b) == 0; }

QString UpperCase(const QString& s) {
  QString out = s;
  for (QChar& c : out) c = AsciiUpper(c);
  return out;
}

QString LowerCase(const QString& s) {
  QString out = s;
  for (QChar& c : out) c = AsciiLower(c);
  return out;
}

QString AnsiUpperCase(const QString& s) { return s.toUpper(); }
QString AnsiLowerCase(const QString& s) { return s.toLower(); }

QString Trim(const QString& s) {
  qsizetype first = 0;
  qsizetype last = s.size();
  while (first < last && s[first].unicode() <= 32) ++first;
  while (last > first && s[last - 1].unicode() <= 32) --last;
  return s.mid(first, last - first);
}

QString TrimLeft(const QString& s) {
  qsizetype first = 0;
  while (first < s.size() && s[first].unicode() <= 32) ++first;
  return s.mid(first);
}

QString TrimRight(const QString& s) {
  qsizetype last = s.size();
  while (last > 0 && s[last - 1].unicode() <= 32) --last;
  return s.left(last);
}

QString QuotedStr(const QString& s) { return AnsiQuotedStr(s, u'\''); }

QString AnsiQuotedStr(const QString& s, QChar quote) {
  QString doubled = s;
  doubled.replace(quote, QString(2, quote));
  return quote + doubled + quote;
}

QString AnsiDequotedStr(const QString& s, QChar quote) {
  if (s.isEmpty() || s[0] != quote) return s;
  QString out;
  for (qsizetype i = 1; i < s.size(); ++i) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        out += quote;
        ++i;
        continue;
      }
      break;  // the closing quote
    }
    out += s[i];
  }
  return out;
}

int Pos(const QString& sub, const QString& s) {
  if (sub.isEmpty()) return 0;
  return static_cast<int>(s.indexOf(sub)) + 1;
}

QString Copy(const QString& s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || index > s.size()) return QString();
  return s.mid(index - 1, count);
}

void Delete(QString& s, int index, int count) {
  if (index < 1 || index > s.size() || count <= 0) return;
  s.remove(index - 1, qMin<qsizetype>(count, s.size() - index + 1));
}

void Insert(const QString& sub, QString& s, int index) {
  const qsizetype at = std::clamp<qsizetype>(index - 1, 0, s.size());
  s.insert(at, sub);
}

QString StringOfChar(QChar c, int count) { return count <= 0 ? QString() : QString(count, c); }

QString StringReplace(const QString& s, const QString& oldPattern, const QString& newPattern,
                      int flags) {
  if (oldPattern.isEmpty()) return s;
  const Qt::CaseSensitivity cs =
      (flags & static_cast<int>(ReplaceFlag::IgnoreCase)) ? Qt::CaseInsensitive : Qt::CaseSensitive;
  const bool all = flags & static_cast<int>(ReplaceFlag::All);
  QString out;
  qsizetype from = 0;
  while (true) {
    const qsizetype found = s.indexOf(oldPattern, from, cs);
    if (found < 0) break;
    out += QStringView(s).mid(from, found - from);
    out += newPattern;
    from = found + oldPattern.size();
    if (!all) break;
  }
  out += QStringView(s).mid(from);
  return out;
}

QString Format(const QString& format, std::initializer_list<Variant> args) {
  return Formatter(format, args).Run();
}

QString DecodeAnsiBytes(const QByteArray& bytes) {
  // Windows-1252 characters of bytes 0x80..0x9F; the five bytes the code page leaves undefined
  // keep their own value, as Windows maps them.
  static constexpr char16_t kCp1252High[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    const auto code = static_cast<uint8_t>(byte);
    *out++ = (code >= 0x80 && code <= 0x9F) ? QChar(kCp1252High[code - 0x80]) : QChar(code);
  }
  return text;
}

QString DecodeTextBytes(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                        : QStringConverter::Utf16BE);
    return decoder.decode(bytes.mid(2));
  }
  return DecodeUtf8OrAnsiBytes(bytes);
}

QString DecodeUtf8OrAnsiBytes(const QByteArray& bytes) {
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return DecodeAnsiBytes(bytes);
}

QString IncludeTrailingPathDelimiter(const QString& path) {
  if (!path.isEmpty() && IsPathDelimiter(path.back())) return path;
  return path + QDir::separator();
}

QString ExcludeTrailingPathDelimiter(const QString& path) {
  if (!path.isEmpty() && IsPathDelimiter(path.back())) return path.left(path.size() - 1);
  return path;
}

QString ExtractFilePath(const QString& fileName) {
  return fileName.left(LastDelimiter(fileName) + 1);
}

QString ExtractFileDir(const QString& fileName) {
  qsizetype end = LastDelimiter(fileName);
  // Keep the delimiter of the root folder ("/" stays "/").
  if (end > 0) return fileName.left(end);
  return fileName.left(end + 1);
}

QString ExtractFileName(const QString& fileName) {
  return fileName.mid(LastDelimiter(fileName) + 1);
}

QString ExtractFileExt(const QString& fileName) {
  const qsizetype dot = ExtensionDot(fileName);
  return dot < 0 ? QString() : fileName.mid(dot);
}

QString ChangeFileExt(const QString& fileName, const QString& extension) {
  const qsizetype dot = ExtensionDot(fileName);
  return (dot < 0 ? fileName : fileName.left(dot)) + extension;
}

bool FileExists(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  const QFileInfo info(fileName);
  return info.exists() && !info.isDir();
}

bool DirectoryExists(const QString& path) {
  if (path.isEmpty()) return false;
  return QFileInfo(path).isDir();
}

}  // namespace Kel
