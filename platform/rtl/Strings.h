#pragma once
// String lists: TStrings, the abstract list of strings with an associated object per entry, and
// TStringList, the list held in memory with sorting, duplicate handling and change events.
//
// API summary
//   Count(), Strings(i) / SetStrings(i, s), Objects(i) / SetObjects(i, p)   (indexes from 0;
//     a bad index raises EStringListError "List index out of bounds (i)")
//   Add, AddObject, AddStrings, Insert, InsertObject, Delete, Clear, Exchange, Move
//   IndexOf, IndexOfName, IndexOfObject
//   "name=value" entries: Names(i), Values(name) / SetValues(name, v), ValueFromIndex(i),
//     NameValueSeparator ('=' by default)
//   Text() / SetText(): the getter ends every line with CR LF; the setter splits at CR LF, LF
//     or CR (a final line break does not add an empty line)
//   CommaText / DelimitedText (Delimiter ',', QuoteChar '"'): entries holding blanks, quotes or
//     the delimiter are quoted; reading splits at the delimiter and at blanks outside quotes
//   BeginUpdate / EndUpdate: nested; changes inside the bracket are reported once, after the
//     outermost EndUpdate, and only when something changed
//   Equals, Assign, LoadFromFile / SaveToFile (atomic), LoadFromStream / SaveToStream
//   ToStringList() / FromStringList(): to and from QStringList
//
// TStrings derives from QObject (not TPersistent: the runtime sits below the object model), so a
// string list can be a published object property; the component-stream writer recognises it and
// writes its entries as the "Strings" list.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "PlatformExport.h"

namespace Kel {

class TStream;

class KEL_PLATFORM_EXPORT TStrings : public QObject {
  Q_OBJECT

 public:
  explicit TStrings(QObject* parent = nullptr);
  ~TStrings() override;

  // --- the core every descendant provides
  virtual int Count() const = 0;
  QString Strings(int index) const { return Get(index); }
  virtual void SetStrings(int index, const QString& s);
  void* Objects(int index) const { return GetObject(index); }
  virtual void SetObjects(int index, void* object);
  virtual void InsertObject(int index, const QString& s, void* object) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // --- built on the core
  virtual int Add(const QString& s);
  virtual int AddObject(const QString& s, void* object);
  void AddStrings(const TStrings& strings);
  void AddStrings(const QStringList& strings);
  void Insert(int index, const QString& s) { InsertObject(index, s, nullptr); }
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  virtual int IndexOf(const QString& s) const;
  virtual int IndexOfName(const QString& name) const;
  int IndexOfObject(const void* object) const;

  // The part before the first NameValueSeparator ('' when there is none).
  QString Names(int index) const;
  // The value of the first entry "name=..." (names compared like IndexOf), '' when absent.
  QString Values(const QString& name) const;
  // Sets the value of the entry "name=..." (adding one when absent); an empty value deletes it.
  void SetValues(const QString& name, const QString& value);
  // The part after the first NameValueSeparator ('' when the entry has none).
  QString ValueFromIndex(int index) const;
  QChar NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(QChar separator) { nameValueSeparator_ = separator; }

  virtual QString Text() const;
  virtual void SetText(const QString& text);
  QString CommaText() const;
  void SetCommaText(const QString& text);
  QString DelimitedText() const;
  void SetDelimitedText(const QString& text);
  QChar Delimiter() const { return delimiter_; }
  void SetDelimiter(QChar delimiter) { delimiter_ = delimiter; }
  QChar QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(QChar quoteChar) { quoteChar_ = quoteChar; }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Same strings in the same order (case-sensitive); objects are not compared.
  bool Equals(const TStrings& other) const;
  // Replaces the contents (strings and objects) with those of source.
  virtual void Assign(const TStrings& source);

  // Text files: read as UTF-8 (a byte-order mark for UTF-8 or UTF-16 is honoured) and, when the
  // bytes are not valid UTF-8, as Windows-1252; written as UTF-8 through a temporary file, so a
  // failed save keeps the old file.
  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;
  // Reads from the stream's position to its end; writes at the stream's position.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  QStringList ToStringList() const;
  void FromStringList(const QStringList& strings);

 protected:
  virtual QString Get(int index) const = 0;
  virtual void* GetObject(int index) const { return nullptr; }
  // Compares two entries the way IndexOf and IndexOfName do (case-insensitive by default).
  virtual int CompareStrings(const QString& a, const QString& b) const;

  // Descendants call Changing before and Changed after every modification. Outside an update
  // bracket they report at once; inside, the first Changing is reported and Changed is held
  // back until the outermost EndUpdate.
  void Changing();
  void Changed();
  virtual void NotifyChanging() {}
  virtual void NotifyChanged() {}
  // Called with true when the outermost BeginUpdate starts and false when it ends (a visual
  // list may stop and resume painting).
  virtual void SetUpdateState(bool updating) {}

  [[noreturn]] static void IndexError(int index);
  void CheckIndex(int index) const;

 private:
  QString JoinDelimited(QChar delimiter, QChar quote) const;
  void SplitDelimited(const QString& text, QChar delimiter, QChar quote);

  QChar nameValueSeparator_ = u'=';
  QChar delimiter_ = u',';
  QChar quoteChar_ = u'"';
  int updateCount_ = 0;
  bool changingReported_ = false;
  bool changedInUpdate_ = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The list of strings held in memory. A sorted list keeps its entries ordered by the list's
// comparison (case-insensitive unless CaseSensitive) and refuses Insert, SetStrings, Exchange
// and Move ("Operation not allowed on sorted string list"); adding to it honours Duplicates.
// When OwnsObjects is set, the associated objects must be QObjects: the list deletes them when
// their entry goes (Delete, Clear, replacement by SetObjects, destruction).
class KEL_PLATFORM_EXPORT TStringList : public TStrings {
  Q_OBJECT

 public:
  using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

  Q_INVOKABLE explicit TStringList(QObject* parent = nullptr);
  ~TStringList() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  void SetStrings(int index, const QString& s) override;
  void SetObjects(int index, void* object) override;
  int AddObject(const QString& s, void* object) override;
  void InsertObject(int index, const QString& s, void* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const QString& s) const override;
  void Assign(const TStrings& source) override;

  // Binary search of a sorted list: true when found, index = the first equal entry; otherwise
  // index = where s would be inserted. On an unsorted list the result is meaningless.
  bool Find(const QString& s, int& index) const;
  virtual void Sort();
  // Sorts with a comparison of two entries given by index (stable: equal entries keep order).
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool value) { ownsObjects_ = value; }

  std::function<void(TStringList* sender)> OnChange;
  std::function<void(TStringList* sender)> OnChanging;

 protected:
  QString Get(int index) const override;
  void* GetObject(int index) const override;
  int CompareStrings(const QString& a, const QString& b) const override;
  void NotifyChanging() override;
  void NotifyChanged() override;

 private:
  struct Entry {
    QString string;
    void* object = nullptr;
  };
  void InsertItem(int index, const QString& s, void* object);
  void FreeObject(void* object);
  void CheckNotSorted() const;

  std::vector<Entry> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
};

}  // namespace Kel
