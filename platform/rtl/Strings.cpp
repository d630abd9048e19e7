#include "Strings.h"

#include <algorithm>
#include <numeric>

#include "Exceptions.h"
#include "StrUtils.h"
#include "Streams.h"
#include "UpdateBracket.h"

namespace Kel {

namespace {

bool IsBlank(QChar c) { return c.unicode() <= u' '; }

// Reads a quoted entry starting at text[pos] == quote: doubled quotes stand for one, the entry
// ends at the closing quote (or at the end of the text when it is missing). pos ends after it.
QString ExtractQuoted(const QString& text, qsizetype& pos, QChar quote) {
  QString result;
  ++pos;
  while (pos < text.size()) {
    const QChar c = text[pos];
    if (c == quote) {
      if (pos + 1 < text.size() && text[pos + 1] == quote) {
        result += quote;
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    result += c;
    ++pos;
  }
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TStrings

TStrings::TStrings(QObject* parent) : QObject(parent) {}

TStrings::~TStrings() = default;

void TStrings::IndexError(int index) {
  throw EStringListError(RtlMessage(RtlText::ListIndexError, index));
}

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

void TStrings::SetStrings(int index, const QString& s) {
  // Generic form for lists that only know insert and delete.
  void* object = GetObject(index);
  WithinUpdate(*this, [&] {
    Delete(index);
    InsertObject(index, s, object);
  });
}

void TStrings::SetObjects(int, void*) {}

int TStrings::Add(const QString& s) { return AddObject(s, nullptr); }

int TStrings::AddObject(const QString& s, void* object) {
  const int index = Count();
  InsertObject(index, s, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  if (&strings == this) {
    AddStrings(strings.ToStringList());
    return;
  }
  WithinUpdate(*this, [&] {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  });
}

void TStrings::AddStrings(const QStringList& strings) {
  WithinUpdate(*this, [&] {
    for (const QString& s : strings) Add(s);
  });
}

void TStrings::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  if (index1 == index2) return;
  const QString s1 = Get(index1);
  void* o1 = GetObject(index1);
  WithinUpdate(*this, [&] {
    SetStrings(index1, Get(index2));
    SetObjects(index1, GetObject(index2));
    SetStrings(index2, s1);
    SetObjects(index2, o1);
  });
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  const QString s = Get(curIndex);
  void* object = GetObject(curIndex);
  WithinUpdate(*this, [&] {
    Delete(curIndex);
    InsertObject(newIndex, s, object);
  });
}

int TStrings::IndexOf(const QString& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i) {
    const QString s = Get(i);
    const qsizetype p = s.indexOf(nameValueSeparator_);
    if (p >= 0 && CompareStrings(s.left(p), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const void* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

QString TStrings::Names(int index) const {
  const QString s = Get(index);
  const qsizetype p = s.indexOf(nameValueSeparator_);
  return p >= 0 ? s.left(p) : QString();
}

QString TStrings::Values(const QString& name) const {
  const int index = IndexOfName(name);
  return index >= 0 ? ValueFromIndex(index) : QString();
}

void TStrings::SetValues(const QString& name, const QString& value) {
  int index = IndexOfName(name);
  if (!value.isEmpty()) {
    const QString entry = name + nameValueSeparator_ + value;
    if (index < 0) {
      Add(entry);
    } else {
      SetStrings(index, entry);
    }
  } else if (index >= 0) {
    Delete(index);
  }
}

QString TStrings::ValueFromIndex(int index) const {
  if (index < 0) return QString();
  const QString s = Get(index);
  const qsizetype p = s.indexOf(nameValueSeparator_);
  return p >= 0 ? s.mid(p + 1) : QString();
}

QString TStrings::Text() const {
  QString text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += QLatin1String("\r\n");
  }
  return text;
}

void TStrings::SetText(const QString& text) {
  WithinUpdate(*this, [&] {
    Clear();
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
      qsizetype end = start;
      while (end < n && text[end] != u'\r' && text[end] != u'\n') ++end;
      Add(text.mid(start, end - start));
      // CR LF, LF and CR each end one line.
      if (end < n && text[end] == u'\r') ++end;
      if (end < n && text[end] == u'\n') ++end;
      start = end;
    }
  });
}

QString TStrings::DelimitedText() const { return JoinDelimited(delimiter_, quoteChar_); }

void TStrings::SetDelimitedText(const QString& text) {
  SplitDelimited(text, delimiter_, quoteChar_);
}

// The comma form always uses ',' and '"', whatever the list's own delimiter settings.
QString TStrings::CommaText() const { return JoinDelimited(u',', u'"'); }

void TStrings::SetCommaText(const QString& text) { SplitDelimited(text, u',', u'"'); }

QString TStrings::JoinDelimited(QChar delimiter, QChar quote) const {
  const int count = Count();
  if (count == 1 && Get(0).isEmpty()) return QString(quote) + quote;
  QString result;
  for (int i = 0; i < count; ++i) {
    QString s = Get(i);
    const bool needsQuotes = std::any_of(
        s.cbegin(), s.cend(), [&](QChar c) { return IsBlank(c) || c == quote || c == delimiter; });
    if (needsQuotes) s = AnsiQuotedStr(s, quote);
    if (i > 0) result += delimiter;
    result += s;
  }
  return result;
}

void TStrings::SplitDelimited(const QString& text, QChar delimiter, QChar quote) {
  WithinUpdate(*this, [&] {
    Clear();
    qsizetype p = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
      while (p < n && IsBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
      QString s;
      if (text[p] == quote) {
        s = ExtractQuoted(text, p, quote);
      } else {
        const qsizetype start = p;
        while (p < n && !IsBlank(text[p]) && text[p] != delimiter) ++p;
        s = text.mid(start, p - start);
      }
      Add(s);
      skipBlanks();
      if (p < n && text[p] == delimiter) {
        // A delimiter at the very end stands for one more, empty entry.
        if (p + 1 == n) Add(QString());
        ++p;
        skipBlanks();
      }
    }
  });
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ > 0) return;
  SetUpdateState(false);
  const bool changed = changedInUpdate_;
  changedInUpdate_ = false;
  changingReported_ = false;
  if (changed) NotifyChanged();
}

void TStrings::Changing() {
  if (updateCount_ == 0) {
    NotifyChanging();
    return;
  }
  if (!changingReported_) {
    changingReported_ = true;
    NotifyChanging();
  }
}

void TStrings::Changed() {
  if (updateCount_ == 0) {
    NotifyChanged();
    return;
  }
  changedInUpdate_ = true;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  WithinUpdate(*this, [&] {
    Clear();
    AddStrings(source);
  });
}

void TStrings::LoadFromFile(const QString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const QString& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
  stream.Commit();
}

void TStrings::LoadFromStream(TStream& stream) { SetText(DecodeTextBytes(stream.ReadRemaining())); }

void TStrings::SaveToStream(TStream& stream) const { stream.WriteBytes(Text().toUtf8()); }

QStringList TStrings::ToStringList() const {
  QStringList list;
  list.reserve(Count());
  for (int i = 0; i < Count(); ++i) list.append(Get(i));
  return list;
}

void TStrings::FromStringList(const QStringList& strings) {
  WithinUpdate(*this, [&] {
    Clear();
    AddStrings(strings);
  });
}

int TStrings::CompareStrings(const QString& a, const QString& b) const {
  return AnsiCompareText(a, b);
}

// ---------------------------------------------------------------------------------------------
// TStringList

TStringList::TStringList(QObject* parent) : TStrings(parent) {}

TStringList::~TStringList() {
  // No events from a list that is going away.
  OnChange = nullptr;
  OnChanging = nullptr;
  if (ownsObjects_)
    for (Entry& e : items_) FreeObject(e.object);
}

QString TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].string;
}

void* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::FreeObject(void* object) {
  if (ownsObjects_ && object) delete static_cast<QObject*>(object);
}

void TStringList::CheckNotSorted() const {
  if (sorted_) throw EStringListError(RtlMessage(RtlText::SortedListError));
}

void TStringList::SetStrings(int index, const QString& s) {
  CheckNotSorted();
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].string = s;
  Changed();
}

void TStringList::SetObjects(int index, void* object) {
  CheckIndex(index);
  Entry& entry = items_[static_cast<size_t>(index)];
  if (entry.object == object) return;
  Changing();
  void* old = entry.object;
  entry.object = object;
  FreeObject(old);
  Changed();
}

int TStringList::AddObject(const QString& s, void* object) {
  int index = Count();
  if (sorted_) {
    if (Find(s, index)) {
      switch (duplicates_) {
        case dupIgnore:
          return index;
        case dupError:
          throw EStringListError(RtlMessage(RtlText::DuplicateString));
        case dupAccept:
          // After the equal entries, so that equal strings keep the order they came in.
          while (index < Count() &&
                 CompareStrings(items_[static_cast<size_t>(index)].string, s) == 0)
            ++index;
          break;
      }
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::InsertObject(int index, const QString& s, void* object) {
  CheckNotSorted();
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const QString& s, void* object) {
  Changing();
  items_.insert(items_.begin() + index, Entry{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  void* object = items_[static_cast<size_t>(index)].object;
  items_.erase(items_.begin() + index);
  FreeObject(object);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Entry> old;
  old.swap(items_);
  for (Entry& e : old) FreeObject(e.object);
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  // Swapping entries would break the order that Find relies on.
  CheckNotSorted();
  CheckIndex(index1);
  CheckIndex(index2);
  if (index1 == index2) return;
  Changing();
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  // Refused before anything is removed, so a sorted list never loses the entry.
  CheckNotSorted();
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  Changing();
  Entry entry = std::move(items_[static_cast<size_t>(curIndex)]);
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, std::move(entry));
  Changed();
}

int TStringList::IndexOf(const QString& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = -1;
  return Find(s, index) ? index : -1;
}

void TStringList::Assign(const TStrings& source) {
  if (&source == this) return;
  if (!ownsObjects_) {
    TStrings::Assign(source);
    return;
  }
  // A list that owns its objects does not take over another list's objects: two owners would
  // delete them twice.
  WithinUpdate(*this, [&] {
    Clear();
    for (int i = 0; i < source.Count(); ++i) Add(source.Strings(i));
  });
}

bool TStringList::Find(const QString& s, int& index) const {
  int low = 0;
  int high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const int c = CompareStrings(items_[static_cast<size_t>(mid)].string, s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) found = true;
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int i, int j) {
    return list.CompareStrings(list.items_[static_cast<size_t>(i)].string,
                               list.items_[static_cast<size_t>(j)].string);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (Count() < 2 || !compare) return;
  // The comparison sees the entries in their places while a permutation is sorted; the entries
  // are rearranged once at the end, so a throwing comparison leaves the list as it was.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  Changing();
  std::vector<Entry> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
  items_.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

int TStringList::CompareStrings(const QString& a, const QString& b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::NotifyChanging() {
  if (OnChanging) OnChanging(this);
}

void TStringList::NotifyChanged() {
  if (OnChange) OnChange(this);
}

}  // namespace Kel
