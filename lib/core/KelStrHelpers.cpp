#include "KelStrHelpers.h"

#include <array>

#include "StrUtils.h"

namespace Kel {

namespace {

// Ends an update bracket on every path, also when an entry change raises.
class UpdateBracket {
 public:
  explicit UpdateBracket(TStrings& list) : list_(list) { list_.BeginUpdate(); }
  ~UpdateBracket() { list_.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TStrings& list_;
};

}  // namespace

void NameValuePart(TStrings& list, const QString& separator, bool after) {
  if (separator.isEmpty()) return;
  UpdateBracket bracket(list);
  for (int i = 0; i < list.Count(); ++i) {
    const QString entry = list.Strings(i);
    const qsizetype at = entry.indexOf(separator);
    if (at < 0) continue;
    const QString part = after ? entry.mid(at + separator.size()) : entry.left(at);
    if (!part.isEmpty()) list.SetStrings(i, part);
  }
}

void NameValuePart(TStrings& list, bool after) { NameValuePart(list, QStringLiteral("="), after); }

void RemoveListed(TStrings& list, const TStrings& other) {
  UpdateBracket bracket(list);
  for (int i = list.Count() - 1; i >= 0; --i)
    if (other.IndexOf(list.Strings(i)) >= 0) list.Delete(i);
}

void AssignStrings(TStrings& target, const TStrings* source) {
  if (source == &target) return;
  if (source)
    target.Assign(*source);
  else
    target.Clear();
}

void SetStrings(TStrings& list, const QStringList& texts) {
  UpdateBracket bracket(list);
  list.Clear();
  for (const QString& text : texts) list.Add(text);
}

void SplitText(const QString& text, QChar separator, TStrings& list) {
  UpdateBracket bracket(list);
  for (const QString& piece : text.split(separator)) list.Add(piece);
}

void SplitNameValue(const QString& s, QString& name, QString& value) {
  const qsizetype at = s.indexOf(QLatin1Char('='));
  if (at < 0) {
    name.clear();
    value = s;
    return;
  }
  name = s.left(at);
  value = s.mid(at + 1);
}

void ParseNameList(const QString& text, TStrings& list) {
  UpdateBracket bracket(list);
  list.Clear();
  if (text.isEmpty()) return;
  for (const QString& raw : text.split(QLatin1Char(','))) {
    QString piece = Trim(raw);
    if (piece.startsWith(QLatin1Char('[')))
      piece = piece.size() > 2 ? piece.mid(1, piece.size() - 2) : QString();
    list.Add(piece);
  }
}

QString FormatNameList(const TStrings& list) {
  QStringList names;
  for (int i = 0; i < list.Count(); ++i) {
    const QString name = list.Strings(i);
    names << (name.contains(QLatin1Char(' ')) ? QLatin1Char('[') + name + QLatin1Char(']') : name);
  }
  return names.join(QStringLiteral(", "));
}

QString ShiftStateText(TShiftState shift) {
  static const std::array<std::pair<TShiftStateElement, const char*>, 7> kNames{{
      {ssShift, "Shift"},
      {ssAlt, "Alt"},
      {ssCtrl, "Ctrl"},
      {ssLeft, "Left"},
      {ssRight, "Right"},
      {ssMiddle, "Middle"},
      {ssDouble, "Double"},
  }};
  QStringList members;
  for (const auto& [element, name] : kNames)
    if (shift.Contains(element)) members << QString::fromLatin1(name);
  return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
}

}  // namespace Kel
