#pragma once
// TRecordStore: the records of a dataset, held in memory column by column. Each column keeps
// its values in one typed vector (64-bit integers, doubles, scaled currency, Booleans) or, for
// texts and bytes, in one character buffer with dictionary codes or places per row
// (TextColumn.h), plus a null flag per row, so that a filter can read a value where it lies,
// without building a Variant or a string. Every row has a stable id that survives inserts and
// deletes elsewhere; bookmarks are row ids.
//
// Values enter through ConvertToFieldType, which brings any Variant into the kind a field type
// stores (raising EConvertError / variant errors when it cannot) and come out as Variants of
// the field type's kind:
//   string kinds -> string; small integer -> Smallint; integer, word, auto-inc -> Integer;
//   large integer -> Int64; float -> Double; currency, BCD -> Currency; date, time, date-time ->
//   Date (a date field keeps the date part, a time field the time of day); Boolean -> Boolean;
//   bytes and blobs -> string of the bytes (one character per byte); other types -> as given.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "DBTypes.h"
#include "PlatformExport.h"
#include "TextColumn.h"
#include "Variant.h"

namespace Kel {

enum class TColumnKind : uint8_t { Int, Float, Currency, DateTime, Bool, String, Bytes, Variant };

KEL_PLATFORM_EXPORT TColumnKind ColumnKindOf(TFieldType type);

// The value as a field of this type stores it: Null for Null and empty values.
KEL_PLATFORM_EXPORT Variant ConvertToFieldType(const Variant& value, TFieldType type);

// One column: the values of one field for every row.
class KEL_PLATFORM_EXPORT TColumn {
 public:
  explicit TColumn(TFieldType type);

  TFieldType FieldType() const { return type_; }
  TColumnKind Kind() const { return kind_; }
  int Size() const { return static_cast<int>(nulls_.size()); }

  bool IsNull(int row) const { return nulls_[static_cast<size_t>(row)] != 0; }
  // Direct access for the kind of the column; meaningful only when the row is not null.
  int64_t IntAt(int row) const {
    return ints_[static_cast<size_t>(row)];
  }  // Int, Currency (scaled)
  double DoubleAt(int row) const { return doubles_[static_cast<size_t>(row)]; }  // Float, DateTime
  bool BoolAt(int row) const { return bools_[static_cast<size_t>(row)] != 0; }
  // String columns: a view of the stored text, valid until the column changes.
  QStringView StringAt(int row) const {
    const auto text = strings_.At(row);
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
  }
  QByteArrayView BytesAt(int row) const {  // Bytes columns
    const auto bytes = bytes_.At(row);
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  // String columns kept as dictionary codes (TextColumn.h): the code of a row (0 for the empty
  // text and for Null), the codes of all rows, and the text of a code.
  bool IsDictionary() const { return strings_.IsDictionary(); }
  uint32_t CodeAt(int row) const { return strings_.CodeAt(row); }
  const uint32_t* Codes() const { return strings_.Codes(); }
  int EntryCount() const { return strings_.EntryCount(); }
  QStringView Entry(uint32_t code) const {
    const auto text = strings_.Entry(code);
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
  }
  // Changes when codes change their meaning: results worked out per code hold while it stays.
  uint64_t DictionaryGeneration() const { return strings_.Generation(); }

  Variant Value(int row) const;
  // Stores a value already converted by ConvertToFieldType (or Null).
  void SetValue(int row, const Variant& value);
  void SetBytes(int row, const QByteArray& bytes);  // Bytes columns
  void Insert(int row, const Variant& value);
  // The same without a Variant on the way, for readers that copy values in row by row: a text
  // into a String column, a whole number into an Int column, a number into a Float column
  // (each stored as Insert would store a Variant of it: never Null, the empty text as text),
  // and Null into any column.
  void InsertString(int row, QStringView text);
  void InsertInt(int row, int64_t value);
  void InsertDouble(int row, double value);
  void InsertNull(int row) { InsertSlot(row); }
  void Erase(int row);
  void Reserve(int rows);
  void Clear();

 private:
  void InsertSlot(int row);
  QString StringValue(int row) const;

  TFieldType type_;
  TColumnKind kind_;
  std::vector<uint8_t> nulls_;
  std::vector<int64_t> ints_;
  std::vector<double> doubles_;
  std::vector<uint8_t> bools_;
  TTextColumn<char16_t> strings_;
  TTextColumn<char> bytes_;
  std::vector<Variant> variants_;
  // The strings handed out for dictionary codes, made on first use and shared after it, so
  // that reading a value of a column with few distinct values allocates nothing.
  mutable std::vector<QString> entryValues_;
  mutable uint64_t entryValuesGeneration_ = 0;
};

class KEL_PLATFORM_EXPORT TRecordStore {
 public:
  TRecordStore() = default;
  explicit TRecordStore(const std::vector<TFieldType>& columnTypes);

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int RowCount() const { return static_cast<int>(ids_.size()); }
  const TColumn& Column(int index) const { return columns_[static_cast<size_t>(index)]; }
  TColumn& Column(int index) { return columns_[static_cast<size_t>(index)]; }

  // Rows take values in column order; missing values are Null. Values are converted to the
  // column types first, so a value that does not convert leaves the store unchanged.
  int AppendRow(const std::vector<Variant>& values);
  int InsertRow(int row, const std::vector<Variant>& values);
  void DeleteRow(int row);
  void Clear();
  void Reserve(int rows);

  Variant Value(int row, int column) const { return Column(column).Value(row); }
  void SetValue(int row, int column, const Variant& value);
  // Replaces a whole row at once (converted first: all or nothing).
  void SetRow(int row, const std::vector<Variant>& values);
  std::vector<Variant> Row(int row) const;

  // Changes with every change of the rows (added, inserted, deleted, written, cleared), to a
  // number no store had before: results worked out for the rows of a version stay true while it
  // stays (a copy shares the version only while it is unchanged). Values written through
  // Column(i) directly are not counted.
  uint64_t Version() const { return version_; }

  int64_t RowId(int row) const { return ids_[static_cast<size_t>(row)]; }
  // The row holding an id, or -1.
  int RowOfId(int64_t id) const;

 private:
  std::vector<Variant> Converted(const std::vector<Variant>& values) const;
  void CheckRow(int row) const;
  void Changed() { version_ = NextVersion(); }
  static uint64_t NextVersion();

  std::vector<TColumn> columns_;
  std::vector<int64_t> ids_;
  int64_t nextId_ = 1;
  bool idsAscending_ = true;             // only appends and deletes so far: ids rise with rows
  mutable QHash<int64_t, int> rowOfId_;  // built on demand once ids are out of order
  mutable bool rowOfIdValid_ = false;
  uint64_t version_ = NextVersion();
};

}  // namespace Kel
