#include "RecordStore.h"

#include <algorithm>
#include <limits>

#include "DBConsts.h"
#include "DateUtils.h"

namespace Kel {

TColumnKind ColumnKindOf(TFieldType type) {
  if (IsStringFieldType(type)) return TColumnKind::String;
  if (IsIntegerFieldType(type)) return TColumnKind::Int;
  if (IsFloatFieldType(type)) return TColumnKind::Float;
  if (IsCurrencyFieldType(type)) return TColumnKind::Currency;
  if (IsDateTimeFieldType(type)) return TColumnKind::DateTime;
  if (type == ftBoolean) return TColumnKind::Bool;
  if (IsBinaryFieldType(type)) return TColumnKind::Bytes;
  return TColumnKind::Variant;
}

namespace {

int64_t CheckedInteger(const Variant& value, int64_t low, int64_t high, TVarType target) {
  const int64_t number = value.AsInt64();
  if (number < low || number > high)
    throw EVariantOverflowError(RtlMessage(RtlText::VariantOverflow, VarTypeAsText(value.VarType()),
                                           VarTypeAsText(target)));
  return number;
}

}  // namespace

Variant ConvertToFieldType(const Variant& value, TFieldType type) {
  if (value.IsEmptyOrNull()) return Variant::Null();
  switch (ColumnKindOf(type)) {
    case TColumnKind::String:
    case TColumnKind::Bytes:
      return value.IsString() ? Variant(value.StringRef()) : Variant(value.AsString());
    case TColumnKind::Int:
      switch (type) {
        case ftSmallint:
          return Variant::FromSmallint(
              static_cast<int16_t>(CheckedInteger(value, -32768, 32767, varSmallint)));
        case ftWord:
          return Variant(static_cast<int>(CheckedInteger(value, 0, 65535, varInteger)));
        case ftLargeint:
          return Variant(value.AsInt64());
        default:
          return Variant(value.AsInteger());
      }
    case TColumnKind::Float:
      return Variant(value.AsDouble());
    case TColumnKind::Currency:
      return Variant(value.AsCurrency());
    case TColumnKind::DateTime: {
      const TDateTime moment = value.AsDate();
      if (type == ftDate) return Variant::FromDate(DateOf(moment));
      if (type == ftTime) return Variant::FromDate(TimeOf(moment));
      return Variant::FromDate(moment);
    }
    case TColumnKind::Bool:
      return Variant(value.AsBoolean());
    case TColumnKind::Variant:
      return value;
  }
  return value;
}

// ---------------------------------------------------------------------------------------------

TColumn::TColumn(TFieldType type) : type_(type), kind_(ColumnKindOf(type)) {}

Variant TColumn::Value(int row) const {
  const size_t r = static_cast<size_t>(row);
  if (nulls_[r]) return Variant::Null();
  switch (kind_) {
    case TColumnKind::Int:
      switch (type_) {
        case ftSmallint:
          return Variant::FromSmallint(static_cast<int16_t>(ints_[r]));
        case ftLargeint:
          return Variant(ints_[r]);
        default:
          return Variant(static_cast<int>(ints_[r]));
      }
    case TColumnKind::Float:
      return Variant(doubles_[r]);
    case TColumnKind::Currency:
      return Variant(Currency::FromScaled(ints_[r]));
    case TColumnKind::DateTime:
      return Variant::FromDate(doubles_[r]);
    case TColumnKind::Bool:
      return Variant(bools_[r] != 0);
    case TColumnKind::String:
      return Variant(StringValue(row));
    case TColumnKind::Bytes: {
      const QByteArrayView bytes = BytesAt(row);
      return Variant(bytes.isEmpty() ? QStringLiteral("") : QString::fromLatin1(bytes));
    }
    case TColumnKind::Variant:
      return variants_[r];
  }
  return Variant::Null();
}

// An empty text comes out as an empty string, never as a null one: written to a database, a
// null string would become Null.
QString TColumn::StringValue(int row) const {
  const QStringView text = StringAt(row);
  if (text.isEmpty()) return QStringLiteral("");
  if (!strings_.IsDictionary()) return text.toString();
  if (entryValuesGeneration_ != strings_.Generation()) {
    entryValues_.clear();
    entryValuesGeneration_ = strings_.Generation();
  }
  const uint32_t code = strings_.CodeAt(row);
  if (code >= entryValues_.size()) entryValues_.resize(static_cast<size_t>(EntryCount()));
  QString& value = entryValues_[code];
  if (value.isNull()) value = text.toString();
  return value;
}

void TColumn::SetValue(int row, const Variant& value) {
  const size_t r = static_cast<size_t>(row);
  const bool isNull = value.IsEmptyOrNull();
  nulls_[r] = isNull ? 1 : 0;
  switch (kind_) {
    case TColumnKind::Int:
      ints_[r] = isNull ? 0 : value.AsInt64();
      break;
    case TColumnKind::Currency:
      ints_[r] = isNull ? 0 : value.AsCurrency().Scaled;
      break;
    case TColumnKind::Float:
    case TColumnKind::DateTime:
      doubles_[r] =
          isNull ? 0 : (kind_ == TColumnKind::DateTime ? value.AsDate() : value.AsDouble());
      break;
    case TColumnKind::Bool:
      bools_[r] = !isNull && value.AsBoolean() ? 1 : 0;
      break;
    case TColumnKind::String: {
      const QString text = isNull ? QString() : value.AsString();
      const QStringView view(text);
      strings_.Set(row, std::u16string_view(view.utf16(), static_cast<size_t>(view.size())));
      break;
    }
    case TColumnKind::Bytes: {
      const QByteArray bytes = isNull ? QByteArray() : value.AsString().toLatin1();
      bytes_.Set(row, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
      break;
    }
    case TColumnKind::Variant:
      variants_[r] = isNull ? Variant::Null() : value;
      break;
  }
}

void TColumn::SetBytes(int row, const QByteArray& bytes) {
  const size_t r = static_cast<size_t>(row);
  if (kind_ != TColumnKind::Bytes) {
    SetValue(row, Variant(QString::fromLatin1(bytes)));
    return;
  }
  nulls_[r] = bytes.isNull() ? 1 : 0;
  bytes_.Set(row, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void TColumn::InsertSlot(int row) {
  const auto at = [row](auto& vector) { return vector.begin() + row; };
  nulls_.insert(at(nulls_), 1);
  switch (kind_) {
    case TColumnKind::Int:
    case TColumnKind::Currency:
      ints_.insert(at(ints_), 0);
      break;
    case TColumnKind::Float:
    case TColumnKind::DateTime:
      doubles_.insert(at(doubles_), 0.0);
      break;
    case TColumnKind::Bool:
      bools_.insert(at(bools_), 0);
      break;
    case TColumnKind::String:
      strings_.InsertSlot(row);
      break;
    case TColumnKind::Bytes:
      bytes_.InsertSlot(row);
      break;
    case TColumnKind::Variant:
      variants_.insert(at(variants_), Variant::Null());
      break;
  }
}

void TColumn::Insert(int row, const Variant& value) {
  InsertSlot(row);
  SetValue(row, value);
}

void TColumn::InsertString(int row, QStringView text) {
  Q_ASSERT(kind_ == TColumnKind::String);
  InsertSlot(row);
  nulls_[static_cast<size_t>(row)] = 0;
  strings_.Set(row, std::u16string_view(text.utf16(), static_cast<size_t>(text.size())));
}

void TColumn::InsertInt(int row, int64_t value) {
  Q_ASSERT(kind_ == TColumnKind::Int);
  InsertSlot(row);
  nulls_[static_cast<size_t>(row)] = 0;
  ints_[static_cast<size_t>(row)] = value;
}

void TColumn::InsertDouble(int row, double value) {
  Q_ASSERT(kind_ == TColumnKind::Float);
  InsertSlot(row);
  nulls_[static_cast<size_t>(row)] = 0;
  doubles_[static_cast<size_t>(row)] = value;
}

void TColumn::Erase(int row) {
  const auto erase = [row](auto& vector) {
    if (!vector.empty()) vector.erase(vector.begin() + row);
  };
  erase(nulls_);
  erase(ints_);
  erase(doubles_);
  erase(bools_);
  erase(variants_);
  if (kind_ == TColumnKind::String) strings_.Erase(row);
  if (kind_ == TColumnKind::Bytes) bytes_.Erase(row);
}

void TColumn::Reserve(int rows) {
  const size_t n = static_cast<size_t>(rows);
  nulls_.reserve(n);
  switch (kind_) {
    case TColumnKind::Int:
    case TColumnKind::Currency:
      ints_.reserve(n);
      break;
    case TColumnKind::Float:
    case TColumnKind::DateTime:
      doubles_.reserve(n);
      break;
    case TColumnKind::Bool:
      bools_.reserve(n);
      break;
    case TColumnKind::String:
      strings_.Reserve(rows);
      break;
    case TColumnKind::Bytes:
      bytes_.Reserve(rows);
      break;
    case TColumnKind::Variant:
      variants_.reserve(n);
      break;
  }
}

void TColumn::Clear() {
  nulls_.clear();
  ints_.clear();
  doubles_.clear();
  bools_.clear();
  strings_.Clear();
  bytes_.Clear();
  variants_.clear();
  entryValues_.clear();
}

// ---------------------------------------------------------------------------------------------

TRecordStore::TRecordStore(const std::vector<TFieldType>& columnTypes) {
  columns_.reserve(columnTypes.size());
  for (TFieldType type : columnTypes) columns_.emplace_back(type);
}

std::vector<Variant> TRecordStore::Converted(const std::vector<Variant>& values) const {
  std::vector<Variant> converted(columns_.size(), Variant::Null());
  const size_t n = std::min(values.size(), columns_.size());
  for (size_t i = 0; i < n; ++i)
    converted[i] = ConvertToFieldType(values[i], columns_[i].FieldType());
  return converted;
}

uint64_t TRecordStore::NextVersion() {
  static uint64_t last = 0;  // the dataset layer runs in one thread
  return ++last;
}

void TRecordStore::CheckRow(int row) const {
  if (row < 0 || row >= RowCount()) throw EListError(RtlMessage(RtlText::ListIndexError, row));
}

int TRecordStore::AppendRow(const std::vector<Variant>& values) {
  return InsertRow(RowCount(), values);
}

int TRecordStore::InsertRow(int row, const std::vector<Variant>& values) {
  if (row < 0 || row > RowCount()) throw EListError(RtlMessage(RtlText::ListIndexError, row));
  const std::vector<Variant> converted = Converted(values);
  for (size_t i = 0; i < columns_.size(); ++i) columns_[i].Insert(row, converted[i]);
  ids_.insert(ids_.begin() + row, nextId_++);
  if (row != RowCount() - 1) idsAscending_ = false;
  rowOfIdValid_ = false;
  Changed();
  return row;
}

void TRecordStore::DeleteRow(int row) {
  CheckRow(row);
  for (TColumn& column : columns_) column.Erase(row);
  ids_.erase(ids_.begin() + row);
  rowOfIdValid_ = false;
  Changed();
}

void TRecordStore::Clear() {
  for (TColumn& column : columns_) column.Clear();
  ids_.clear();
  idsAscending_ = true;
  rowOfIdValid_ = false;
  Changed();
}

void TRecordStore::Reserve(int rows) {
  for (TColumn& column : columns_) column.Reserve(rows);
  ids_.reserve(static_cast<size_t>(rows));
}

void TRecordStore::SetValue(int row, int column, const Variant& value) {
  CheckRow(row);
  TColumn& target = Column(column);
  target.SetValue(row, ConvertToFieldType(value, target.FieldType()));
  Changed();
}

void TRecordStore::SetRow(int row, const std::vector<Variant>& values) {
  CheckRow(row);
  const std::vector<Variant> converted = Converted(values);
  for (size_t i = 0; i < columns_.size(); ++i) columns_[i].SetValue(row, converted[i]);
  Changed();
}

std::vector<Variant> TRecordStore::Row(int row) const {
  CheckRow(row);
  std::vector<Variant> values;
  values.reserve(columns_.size());
  for (const TColumn& column : columns_) values.push_back(column.Value(row));
  return values;
}

int TRecordStore::RowOfId(int64_t id) const {
  if (idsAscending_) {
    const auto it = std::lower_bound(ids_.begin(), ids_.end(), id);
    return it != ids_.end() && *it == id ? static_cast<int>(it - ids_.begin()) : -1;
  }
  if (!rowOfIdValid_) {
    rowOfId_.clear();
    rowOfId_.reserve(static_cast<qsizetype>(ids_.size()));
    for (size_t i = 0; i < ids_.size(); ++i) rowOfId_.insert(ids_[i], static_cast<int>(i));
    rowOfIdValid_ = true;
  }
  return rowOfId_.value(id, -1);
}

}  // namespace Kel
