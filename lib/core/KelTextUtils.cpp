// KelUtils: the text helpers and small integer helpers.
#include <QGuiApplication>
#include <algorithm>

#include "KelUtils.h"
#include "StrUtils.h"

namespace Kel {

namespace {

// Replaces every occurrence of oldText left to right by what replacement() gives at that moment,
// going on after the inserted text.
template <typename Replacement>
void ReplaceEach(QString& s, const QString& oldText, Replacement replacement) {
  int from = 1;
  while (true) {
    const int at = PosFrom(oldText, s, from);
    if (at == 0) break;
    const QString newText = replacement();
    ReplaceAt(s, at, oldText, newText);
    from = at + static_cast<int>(newText.size());
  }
}

// The characters of s that are (listed true) or are not (false) among chars, in order.
QString CharsWhere(const QString& chars, const QString& s, bool listed) {
  QString result;
  result.reserve(s.size());
  for (QChar c : s)
    if (chars.contains(c) == listed) result += c;
  return result;
}

}  // namespace

int PosFrom(const QString& sub, const QString& s, int from) {
  if (sub.isEmpty() || sub.size() > s.size()) return 0;
  if (from < 1) from = 1;
  if (from > s.size()) return 0;
  return static_cast<int>(s.indexOf(sub, from - 1)) + 1;
}

void ReplaceAt(QString& s, int pos, const QString& oldText, const QString& newText) {
  Delete(s, pos, static_cast<int>(oldText.size()));
  Insert(newText, s, pos);
}

void ReplaceAll(QString& s, const QString& oldText, const QString& newText) {
  s = StringReplace(s, oldText, newText, static_cast<int>(ReplaceFlag::All));
}

QString ReplaceMacros(const QString& s, const TKelMacroTable& table) {
  QString result = s;
  // Not a structured binding: clang before 16 cannot capture one in a lambda.
  for (const TKelMacro& macro : table) {
    const auto& value = macro.second;
    ReplaceEach(result, macro.first, [&value] { return value ? value() : QString(); });
  }
  return result;
}

QString IncludeTrailingBackslash(const QString& s) {
  // An empty text stays empty: it names no folder, and a lone separator would name the root.
  return s.isEmpty() ? s : IncludeTrailingPathDelimiter(s);
}

QString RemoveTrailingBackslash(const QString& s) { return ExcludeTrailingPathDelimiter(s); }

QString EnsureLineBreak(const QString& s) {
  auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
  if (s.size() >= 2 && isBreak(s[s.size() - 1]) && isBreak(s[s.size() - 2])) return s;
  return s + QStringLiteral("\r\n");
}

QString RemoveChars(const QString& chars, const QString& s) { return CharsWhere(chars, s, false); }

QString KeepChars(const QString& chars, const QString& s) { return CharsWhere(chars, s, true); }

QString RemoveColons(const QString& s) { return RemoveChars(QStringLiteral(":"), s); }

QString RemoveTildes(const QString& s) { return RemoveChars(QStringLiteral("~"), s); }

QString ReplaceChar(QChar from, QChar to, const QString& s) {
  QString result = s;
  result.replace(from, to);
  return result;
}

QString NamePart(const QString& s) {
  const qsizetype at = s.indexOf(u'=');
  return at < 0 ? QString() : s.left(at);
}

QString ValuePart(const QString& s) {
  const qsizetype at = s.indexOf(u'=');
  return at < 0 ? QString() : s.mid(at + 1);
}

QString MakeFileFilter(const QString& category, const QString& extension) {
  QString filter =
      category + QStringLiteral(" (*.") + extension + QStringLiteral(")|*.") + extension;
  ReplaceAll(filter, QStringLiteral(".."), QStringLiteral("."));
  return filter;
}

QString Spaces(int count) { return StringOfChar(u' ', count); }

QString FileTitle(const QString& path) { return ChangeFileExt(ExtractFileName(path), QString()); }

bool FolderExists(const QString& path) { return DirectoryExists(path); }

bool AltDown() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

int Min(int a, int b) { return a < b ? a : b; }

int Max(int a, int b) { return a > b ? a : b; }

int Max(std::span<const int> values) {
  if (values.empty()) return 0;
  return *std::max_element(values.begin(), values.end());
}

void Swap(int& a, int& b) { std::swap(a, b); }

}  // namespace Kel
