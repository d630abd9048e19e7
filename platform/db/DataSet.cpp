#include "DataSet.h"

#include <QtEndian>
#include <algorithm>
#include <numeric>

#include "CompiledFilter.h"
#include "DBConsts.h"
#include "DataSource.h"
#include "ExprEvaluator.h"
#include "ExprParser.h"
#include "Fields.h"
#include "RestoreOnExit.h"
#include "StrUtils.h"

namespace Kel {

namespace {

// The record a value is read from: a row of the store, or the record being edited.
constexpr int kEditRecord = -3;

// How many records a partly read source hands over at least when more are wanted.
constexpr int kFetchBatch = 100;

QStringList SplitFieldNames(const QString& names) {
  QStringList result;
  for (const QString& part : names.split(u';')) {
    const QString name = part.trimmed();
    if (!name.isEmpty()) result << name;
  }
  return result;
}

}  // namespace

// Reads values for the dataset's filters: the stored columns of data fields, and any field
// through the dataset.
class TDataSetRowSource : public TFilterRowSource {
 public:
  explicit TDataSetRowSource(const TDataSet& dataSet) : dataSet_(dataSet) {}

  const TColumn* ColumnOf(int fieldNo) const override {
    const TField* field = FieldOf(fieldNo, QString());
    if (!field || field->FieldKind() != fkData || field->column_ < 0) return nullptr;
    return &dataSet_.store_.Column(field->column_);
  }

  Variant ValueAt(int fieldNo, const QString& fieldName, int row) const override {
    const TField* field = FieldOf(fieldNo, fieldName);
    if (!field) DatabaseError(DBText::FieldNotFound, fieldName);
    return dataSet_.FieldValueAtRow(field, row);
  }

 private:
  // The field a reference means: by number when the name agrees, else by name.
  const TField* FieldOf(int fieldNo, const QString& fieldName) const {
    const TFields& fields = dataSet_.Fields();
    if (fieldNo >= 1 && fieldNo <= fields.Count()) {
      const TField* field = fields.Fields(fieldNo - 1);
      if (fieldName.isEmpty() || field->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
        return field;
    }
    return fieldName.isEmpty() ? nullptr : fields.FindField(fieldName);
  }

  const TDataSet& dataSet_;
};

// ---------------------------------------------------------------------------------------------
// TFields

TField* TFields::Fields(int index) const {
  if (index < 0 || index >= Count()) throw EListError(RtlMessage(RtlText::ListIndexError, index));
  return fields_[static_cast<size_t>(index)];
}

TField* TFields::FindField(const QString& name) const {
  for (TField* field : fields_)
    if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0) return field;
  return nullptr;
}

TField* TFields::FieldByName(const QString& name) const {
  TField* field = FindField(name);
  if (!field) DatabaseError(DBText::FieldNotFound, name);
  return field;
}

int TFields::IndexOf(const TField* field) const {
  const auto it = std::find(fields_.begin(), fields_.end(), field);
  return it == fields_.end() ? -1 : static_cast<int>(it - fields_.begin());
}

void TFields::Remove(TField* field) {
  fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
}

// ---------------------------------------------------------------------------------------------
// Construction

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner), fields_(this), rowSource_(std::make_unique<TDataSetRowSource>(*this)) {}

TDataSet::~TDataSet() {
  // No events while going away: observers hear of the destruction by notification.
  state_ = dsInactive;
  filterProgram_.reset();
  filterEvaluator_.reset();
  // Each source is taken out before it is told: its handlers may delete other sources (which
  // then leave the list themselves) or this one's neighbours, never one still being walked.
  while (!dataSources_.empty()) {
    TDataSource* source = dataSources_.front();
    dataSources_.erase(dataSources_.begin());
    source->dataSet_ = nullptr;
    source->StateChanged();
  }
  for (TField* field : fields_) {
    field->dataSet_ = nullptr;
    field->column_ = -1;
  }
  fields_.fields_.clear();
}

const TFilterRowSource& TDataSet::RowSource() const { return *rowSource_; }

void TDataSet::RaiseClosed() { DatabaseError(DBText::DataSetClosed); }

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(DBText::DataSetOpen);
}

// ---------------------------------------------------------------------------------------------
// Fields

void TDataSet::AddField(TField* field) {
  CheckInactive();
  if (!field->FieldName().isEmpty() && FindField(field->FieldName()))
    DatabaseError(DBText::DuplicateFieldName, field->FieldName());
  fields_.Add(field);
  field->dataSet_ = this;
  ++layoutGeneration_;
}

void TDataSet::RemoveField(TField* field) {
  fields_.Remove(field);
  defaultFields_.erase(std::remove(defaultFields_.begin(), defaultFields_.end(), field),
                       defaultFields_.end());
  field->dataSet_ = nullptr;
  field->column_ = -1;
  calcRow_ = -2;
  ++layoutGeneration_;
  // Grids and other controls may hold the field (a column): they must let go of it now, as it
  // is being destroyed.
  if (Active()) DataEvent(deLayoutChange);
}

std::vector<TField*> TDataSet::GetFieldList(const QString& fieldNames) const {
  std::vector<TField*> list;
  for (const QString& name : SplitFieldNames(fieldNames)) list.push_back(FieldByName(name));
  return list;
}

Variant TDataSet::FieldValues(const QString& fieldNames) const {
  const std::vector<TField*> list = GetFieldList(fieldNames);
  if (list.size() == 1) return list.front()->Value();
  std::vector<Variant> values;
  for (const TField* field : list) values.push_back(field->Value());
  return Variant::FromArray(std::move(values), 0);
}

void TDataSet::SetFieldValues(const QString& fieldNames, const Variant& values) {
  const std::vector<TField*> list = GetFieldList(fieldNames);
  if (list.size() == 1 && !values.IsArray()) {
    list.front()->SetValue(values);
    return;
  }
  const std::vector<Variant>& elements = values.ArrayElements();
  if (elements.size() != list.size()) DatabaseError(DBText::KeyValueCountMismatch);
  for (size_t i = 0; i < list.size(); ++i) list[i]->SetValue(elements[i]);
}

void TDataSet::InternalInitFieldDefs() {
  fieldDefs_.clear();
  for (const TField* field : fields_) {
    if (field->FieldKind() != fkData) continue;
    fieldDefs_.push_back({field->FieldName(), field->DataType(), field->Size(), field->Required()});
  }
}

void TDataSet::InternalLoad(TRecordStore&) {}

void TDataSet::CreateDefaultFields() {
  for (const TFieldDef& def : fieldDefs_) {
    if (def.Hidden) continue;
    TField* field = CreateField(this, def.Name, def.DataType, def.Size, this);
    field->SetRequired(def.Required);
    defaultFields_.push_back(field);
  }
}

void TDataSet::DestroyDefaultFields() {
  // Deleting a field takes it out of the lists (TField's destructor calls RemoveField).
  while (!defaultFields_.empty()) delete defaultFields_.back();
}

void TDataSet::BindFields() {
  for (TField* field : fields_) {
    field->column_ = -1;
    if (field->FieldKind() != fkData) continue;
    for (size_t i = 0; i < fieldDefs_.size(); ++i) {
      if (fieldDefs_[i].Name.compare(field->FieldName(), Qt::CaseInsensitive) == 0) {
        field->column_ = static_cast<int>(i);
        break;
      }
    }
    if (field->column_ < 0) DatabaseError(DBText::FieldNotFound, field->FieldName());
  }
}

// ---------------------------------------------------------------------------------------------
// Values

int TDataSet::ContextRow() const {
  if (rowOverride_ != -1) return rowOverride_;
  if (state_ == dsEdit || state_ == dsInsert) return kEditRecord;
  return CurrentStoreRow();
}

Variant TDataSet::FieldValue(const TField* field) const {
  if (!Active()) return Variant::Null();
  return FieldValueAtRow(field, ContextRow());
}

Variant TDataSet::FieldValueAtRow(const TField* field, int row) const {
  switch (field->FieldKind()) {
    case fkData:
      if (field->column_ < 0) return Variant::Null();
      if (row == kEditRecord) return editValues_[static_cast<size_t>(field->column_)];
      if (row < 0 || row >= store_.RowCount()) return Variant::Null();
      return store_.Value(row, field->column_);
    case fkLookup:
      return LookupFieldValue(field, row);
    default:
      return CalcFieldValue(field, row);
  }
}

Variant TDataSet::CalcFieldValue(const TField* field, int row) const {
  const int index = fields_.IndexOf(field);
  if (index < 0) return Variant::Null();
  if (calculating_)
    return index < static_cast<int>(calcValues_.size()) ? calcValues_[static_cast<size_t>(index)]
                                                        : Variant::Null();
  if (row == -1) return Variant::Null();
  if (calcRow_ != row || calcValues_.size() != static_cast<size_t>(fields_.Count())) {
    calcValues_.assign(static_cast<size_t>(fields_.Count()), Variant::Null());
    calcRow_ = -2;
    if (OnCalcFields) {
      // The handler reads this record's fields and sets the calculated ones.
      TDataSet* self = const_cast<TDataSet*>(this);
      RestoreOnExit<int> row_(self->rowOverride_, row);
      RestoreOnExit<bool> calculating(self->calculating_, true);
      RestoreOnExit<TDataSetState> state(self->state_, dsCalcFields);
      self->OnCalcFields(self);
    }
    calcRow_ = row;
  }
  return calcValues_[static_cast<size_t>(index)];
}

Variant TDataSet::LookupFieldValue(const TField* field, int row) const {
  TDataSet* lookup = field->LookupDataSet();
  if (!lookup || !lookup->Active() || lookup == this || field->KeyFields().isEmpty() ||
      field->LookupKeyFields().isEmpty() || field->LookupResultField().isEmpty())
    return Variant::Null();
  // Lookup fields that reach one another through their datasets would recurse without end.
  const std::pair<const TField*, int> running{field, row};
  if (std::find(lookupsRunning_.begin(), lookupsRunning_.end(), running) != lookupsRunning_.end())
    DatabaseError(DBText::CircularDataLink);
  lookupsRunning_.push_back(running);
  struct PopOnExit {
    std::vector<std::pair<const TField*, int>>& stack;
    ~PopOnExit() { stack.pop_back(); }
  } pop{lookupsRunning_};
  std::vector<Variant> keys;
  for (const TField* key : GetFieldList(field->KeyFields())) {
    Variant value = FieldValueAtRow(key, row);
    if (value.IsEmptyOrNull()) return Variant::Null();
    keys.push_back(std::move(value));
  }
  const Variant keyValues = keys.size() == 1 ? keys.front() : Variant::FromArray(keys, 0);
  return lookup->Lookup(field->LookupKeyFields(), keyValues, field->LookupResultField());
}

void TDataSet::SetFieldValue(TField* field, const Variant& value) {
  CheckActive();
  if (field->ReadOnly() || field->FieldKind() == fkLookup)
    DatabaseError(DBText::FieldReadOnly, field->DisplayName());
  if (field->FieldKind() != fkData) {
    if (state_ != dsCalcFields) DatabaseError(DBText::NotEditing);
    const int index = fields_.IndexOf(field);
    if (index >= 0 && index < static_cast<int>(calcValues_.size()))
      calcValues_[static_cast<size_t>(index)] = ConvertToFieldType(value, field->DataType());
    return;
  }
  if (state_ != dsEdit && state_ != dsInsert) DatabaseError(DBText::NotEditing);
  const size_t column = static_cast<size_t>(field->column_);
  Variant converted = ConvertToFieldType(value, store_.Column(field->column_).FieldType());
  std::swap(editValues_[column], converted);
  if (field->OnValidate) {
    try {
      field->OnValidate(field);
    } catch (...) {
      editValues_[column] = converted;  // the old value
      throw;
    }
  }
  modified_ = true;
  calcRow_ = -2;
  if (field->OnChange) field->OnChange(field);
  DataEvent(deFieldChange, field);
}

Variant TDataSet::RecordValue(int recordIndex, const TField* field) const {
  if (!Active() || !field || field->DataSet() != this) return Variant::Null();
  if (recordIndex == cursor_ && (state_ == dsEdit)) return FieldValue(field);
  if (recordIndex >= 0) FetchThrough(recordIndex);
  if (recordIndex < 0 || recordIndex >= static_cast<int>(view_.size())) return Variant::Null();
  return FieldValueAtRow(field, view_[static_cast<size_t>(recordIndex)]);
}

TDataSet::TRecordViewScope::TRecordViewScope(const TDataSet& dataSet, int recordIndex)
    : dataSet_(dataSet), previous_(dataSet.rowOverride_) {
  if (!dataSet.Active() || dataSet.state_ != dsBrowse || recordIndex < 0 ||
      recordIndex == dataSet.cursor_)
    return;
  dataSet.FetchThrough(recordIndex);
  if (recordIndex >= static_cast<int>(dataSet.view_.size())) return;
  dataSet.rowOverride_ = dataSet.view_[static_cast<size_t>(recordIndex)];
}

TDataSet::TRecordViewScope::~TRecordViewScope() { dataSet_.rowOverride_ = previous_; }

// ---------------------------------------------------------------------------------------------
// Opening and closing

void TDataSet::SetActive(bool active) {
  if (active == Active() || opening_) return;
  if (active)
    DoOpen();
  else
    DoClose();
}

void TDataSet::SetState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  DataEvent(deUpdateState);
}

void TDataSet::DoOpen() {
  if (!CanOpen()) return;
  Call(BeforeOpen);
  RestoreOnExit<bool> opening(opening_, true);
  try {
    InternalInitFieldDefs();
    const bool hasDataFields = std::any_of(
        fields_.begin(), fields_.end(), [](const TField* f) { return f->FieldKind() == fkData; });
    if (!hasDataFields) CreateDefaultFields();
    BindFields();
    std::vector<TFieldType> types;
    for (const TFieldDef& def : fieldDefs_) types.push_back(def.DataType);
    bool keep = KeepsRecordsWhenClosed() && store_.ColumnCount() == static_cast<int>(types.size());
    for (size_t i = 0; keep && i < types.size(); ++i)
      keep = store_.Column(static_cast<int>(i)).FieldType() == types[i];
    if (!keep) store_ = TRecordStore(types);
    InternalLoad(store_);
    state_ = dsBrowse;
    calcRow_ = -2;
    if (filtered_) {
      // A filter judges every record.
      FetchAllRecords();
      PrepareFilter(filterText_, filterOptions_, filterEvaluator_, filterProgram_);
    }
    RebuildView();
  } catch (...) {
    state_ = dsInactive;
    filterProgram_.reset();
    filterEvaluator_.reset();
    view_.clear();
    InternalClose();
    if (!KeepsRecordsWhenClosed()) store_ = TRecordStore();
    for (TField* field : fields_) field->column_ = -1;
    DestroyDefaultFields();
    throw;
  }
  cursor_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  ++layoutGeneration_;
  state_ = dsInactive;
  SetState(dsBrowse);
  Call(AfterOpen);
  DoAfterScroll();
}

void TDataSet::DoClose() {
  Call(BeforeClose);
  ClearEditState();
  state_ = dsBrowse;
  SetState(dsInactive);
  InternalClose();
  filterProgram_.reset();
  filterEvaluator_.reset();
  view_.clear();
  spareView_ = {};
  cursor_ = -1;
  bof_ = eof_ = true;
  if (!KeepsRecordsWhenClosed()) store_ = TRecordStore();
  for (TField* field : fields_) field->column_ = -1;
  DestroyDefaultFields();
  calcRow_ = -2;
  ++layoutGeneration_;
  Call(AfterClose);
}

bool TDataSet::IsEmpty() const { return !Active() || (view_.empty() && state_ != dsInsert); }

// ---------------------------------------------------------------------------------------------
// Fetching

bool TDataSet::FetchRecords(int count) const {
  if (!Active() || InternalFetchedAll()) return false;
  // Reading on changes what the dataset holds, not what it is: callers may be const.
  TDataSet* self = const_cast<TDataSet*>(this);
  const int before = store_.RowCount();
  const auto show = [self, before] {
    for (int row = before; row < self->store_.RowCount(); ++row)
      if (self->RowPassesFilter(row)) self->view_.push_back(row);
  };
  try {
    self->InternalFetch(self->store_, count);
  } catch (...) {
    show();  // the records read before the failure are there
    throw;
  }
  show();
  return store_.RowCount() > before;
}

bool TDataSet::FetchIntoView() const {
  const size_t shown = view_.size();
  while (view_.size() == shown)
    if (!FetchRecords(kFetchBatch)) return false;
  return true;
}

void TDataSet::FetchThrough(int64_t viewIndex) const {
  while (static_cast<int64_t>(view_.size()) <= viewIndex) {
    const int64_t wanted = viewIndex + 1 - static_cast<int64_t>(view_.size());
    if (!FetchRecords(static_cast<int>(std::clamp<int64_t>(wanted, kFetchBatch, INT32_MAX))))
      return;
  }
}

int TDataSet::FetchMoreRecords(int count) {
  const int64_t before = static_cast<int64_t>(view_.size());
  if (count > 0) FetchThrough(before + count - 1);
  return static_cast<int>(static_cast<int64_t>(view_.size()) - before);
}

void TDataSet::FetchAllRecords() const {
  while (FetchRecords(-1)) {
  }
}

// ---------------------------------------------------------------------------------------------
// Navigation

void TDataSet::ScrollTo(int index) {
  DoBeforeScroll();
  cursor_ = index;
  bof_ = eof_ = false;
  calcRow_ = -2;
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

void TDataSet::ResetCursorToFirst() {
  cursor_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  calcRow_ = -2;
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  DoBeforeScroll();
  ResetCursorToFirst();
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  FetchAllRecords();
  DoBeforeScroll();
  cursor_ = static_cast<int>(view_.size()) - 1;
  eof_ = true;
  bof_ = view_.empty();
  calcRow_ = -2;
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();  // raises for a closed dataset
  const int64_t target = static_cast<int64_t>(cursor_) + distance;
  if (distance > 0 && !eof_ && target >= static_cast<int64_t>(view_.size())) FetchThrough(target);
  DoBeforeScroll();
  int moved = 0;
  if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
    bof_ = eof_ = false;
    const int count = static_cast<int>(view_.size());
    if (count == 0) {
      bof_ = eof_ = true;
    } else if (distance > 0) {
      const int room = count - 1 - cursor_;
      moved = std::min(distance, room);
      if (distance > room) eof_ = true;
    } else {
      const int room = cursor_;
      moved = -std::min(-static_cast<int64_t>(distance), static_cast<int64_t>(room));
      if (-static_cast<int64_t>(distance) > room) bof_ = true;
    }
    cursor_ += moved;
    calcRow_ = -2;
    if (moved != 0) DataEvent(deDataSetScroll, nullptr, moved);
  }
  DoAfterScroll();
  return moved;
}

int TDataSet::RecordCount() const {
  CheckActive();
  FetchAllRecords();
  return static_cast<int>(view_.size());
}

int TDataSet::RecNo() const {
  if (!Active() || state_ == dsInsert || cursor_ < 0) return -1;
  return cursor_ + 1;
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  CheckBrowseMode();
  if (recNo >= 1) FetchThrough(recNo - 1);
  if (recNo < 1 || recNo > static_cast<int>(view_.size()) || recNo == cursor_ + 1) return;
  ScrollTo(recNo - 1);
}

// ---------------------------------------------------------------------------------------------
// Bookmarks

TBookmark TDataSet::GetBookmark() const {
  const int row = Active() && state_ != dsInsert ? CurrentStoreRow() : -1;
  if (row < 0) return TBookmark();
  TBookmark bookmark(sizeof(int64_t), '\0');
  qToLittleEndian<int64_t>(store_.RowId(row), bookmark.data());
  return bookmark;
}

int TDataSet::StoreRowOfBookmark(const TBookmark& bookmark) const {
  if (bookmark.size() != static_cast<qsizetype>(sizeof(int64_t))) return -1;
  const int64_t id = qFromLittleEndian<int64_t>(bookmark.constData());
  int row = store_.RowOfId(id);
  // A bookmark kept over a reopening may point past the records read so far.
  if (row < 0 && id > 0 && !InternalFetchedAll()) {
    FetchAllRecords();
    row = store_.RowOfId(id);
  }
  return row;
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  if (!Active()) return false;
  const int row = StoreRowOfBookmark(bookmark);
  return row >= 0 && std::binary_search(view_.begin(), view_.end(), row);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  CheckActive();
  CheckBrowseMode();
  const int row = StoreRowOfBookmark(bookmark);
  const auto it = std::lower_bound(view_.begin(), view_.end(), row);
  if (row < 0 || it == view_.end() || *it != row) DatabaseError(DBText::RecordNotFound);
  ScrollTo(static_cast<int>(it - view_.begin()));
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
  if (a.isEmpty() || b.isEmpty()) return a.isEmpty() == b.isEmpty() ? 0 : (a.isEmpty() ? -1 : 1);
  const int x = StoreRowOfBookmark(a);
  const int y = StoreRowOfBookmark(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Searching

bool TDataSet::RecordMatchesKeys(int row, const std::vector<TField*>& fields,
                                 const std::vector<Variant>& keys, TLocateOptions options) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    const Variant value = FieldValueAtRow(fields[i], row);
    const Variant& key = keys[i];
    if (key.IsEmptyOrNull() || value.IsEmptyOrNull()) {
      if (key.IsEmptyOrNull() != value.IsEmptyOrNull()) return false;
      continue;
    }
    const bool textual = IsStringFieldType(fields[i]->DataType());
    if (textual && (options.Contains(loCaseInsensitive) || options.Contains(loPartialKey))) {
      QString text = value.AsString();
      QString wanted = key.AsString();
      if (options.Contains(loCaseInsensitive)) {
        text = AnsiUpperCase(text);
        wanted = AnsiUpperCase(wanted);
      }
      if (!(options.Contains(loPartialKey) ? text.startsWith(wanted) : text == wanted))
        return false;
    } else if (!VarEquals(value, key)) {
      return false;
    }
  }
  return true;
}

namespace {

std::vector<Variant> KeyList(const Variant& keyValues, size_t fieldCount) {
  std::vector<Variant> keys;
  if (fieldCount == 1 && !keyValues.IsArray())
    keys.push_back(keyValues);
  else
    keys = keyValues.ArrayElements();
  if (keys.size() != fieldCount) DatabaseError(DBText::KeyValueCountMismatch);
  return keys;
}

}  // namespace

bool TDataSet::Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options) {
  CheckActive();
  CheckBrowseMode();
  const std::vector<TField*> fields = GetFieldList(keyFields);
  const std::vector<Variant> keys = KeyList(keyValues, fields.size());
  for (size_t i = 0; i < view_.size() || FetchIntoView(); ++i) {
    if (!RecordMatchesKeys(view_[i], fields, keys, options)) continue;
    ScrollTo(static_cast<int>(i));
    return true;
  }
  return false;
}

Variant TDataSet::Lookup(const QString& keyFields, const Variant& keyValues,
                         const QString& resultFields) const {
  if (!Active()) return Variant::Null();
  const std::vector<TField*> fields = GetFieldList(keyFields);
  const std::vector<Variant> keys = KeyList(keyValues, fields.size());
  const std::vector<TField*> results = GetFieldList(resultFields);
  for (size_t i = 0; i < view_.size() || FetchIntoView(); ++i) {
    const int row = view_[i];
    if (!RecordMatchesKeys(row, fields, keys, {})) continue;
    if (results.size() == 1) return FieldValueAtRow(results.front(), row);
    std::vector<Variant> values;
    for (const TField* field : results) values.push_back(FieldValueAtRow(field, row));
    return Variant::FromArray(std::move(values), 0);
  }
  return Variant::Null();
}

// ---------------------------------------------------------------------------------------------
// Editing

void TDataSet::ClearEditState() {
  editValues_.clear();
  editStoreRow_ = insertStoreRow_ = insertViewIndex_ = -1;
  modified_ = false;
  calcRow_ = -2;
}

void TDataSet::FinishEditing() {
  DataEvent(deUpdateRecord);
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) return;
  CheckActive();
  if (view_.empty()) {
    Insert();
    return;
  }
  CheckCanModify();
  Call(BeforeEdit);
  editStoreRow_ = CurrentStoreRow();
  editValues_ = store_.Row(editStoreRow_);
  modified_ = false;
  calcRow_ = -2;
  SetState(dsEdit);
  Call(AfterEdit);
}

void TDataSet::Insert() { BeginInsert(false); }
void TDataSet::Append() { BeginInsert(true); }

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError(DBText::DataSetReadOnly);
}

void TDataSet::BeginInsert(bool append) {
  CheckActive();
  CheckBrowseMode();
  CheckCanModify();
  // An appended record goes after the last one.
  if (append) FetchAllRecords();
  Call(BeforeInsert);
  DoBeforeScroll();
  if (append || cursor_ < 0) {
    insertStoreRow_ = store_.RowCount();
    insertViewIndex_ = static_cast<int>(view_.size());
  } else {
    insertStoreRow_ = view_[static_cast<size_t>(cursor_)];
    insertViewIndex_ = cursor_;
  }
  editValues_.assign(static_cast<size_t>(store_.ColumnCount()), Variant::Null());
  calcRow_ = -2;
  SetState(dsInsert);
  if (OnNewRecord) {
    try {
      OnNewRecord(this);
    } catch (...) {
      ClearEditState();
      SetState(dsBrowse);
      throw;
    }
  }
  modified_ = false;
  Call(AfterInsert);
  DoAfterScroll();
}

bool TDataSet::RowPassesFilter(int storeRow) const {
  if (!filtered_) return true;
  try {
    if (filterProgram_) {
      if (!filterProgram_->Matches(storeRow)) return false;
    } else if (filterEvaluator_) {
      const TFieldValueLookup lookup = [&](int fieldNo, const QString& name) {
        return rowSource_->ValueAt(fieldNo, name, storeRow);
      };
      if (!filterEvaluator_->Matches(lookup)) return false;
    }
    if (OnFilterRecord) {
      bool accept = true;
      TDataSet* self = const_cast<TDataSet*>(this);
      RestoreOnExit<int> row(self->rowOverride_, storeRow);
      RestoreOnExit<TDataSetState> state(self->state_, dsFilter);
      self->OnFilterRecord(self, accept);
      return accept;
    }
  } catch (const Exception&) {
    // A record that the filter cannot judge stays in sight rather than vanishing after a post.
    return true;
  }
  return true;
}

void TDataSet::PositionOnStoreRow(int storeRow, int fallbackIndex) {
  const auto it = std::lower_bound(view_.begin(), view_.end(), storeRow);
  if (it != view_.end() && *it == storeRow)
    cursor_ = static_cast<int>(it - view_.begin());
  else
    cursor_ = std::min(fallbackIndex, static_cast<int>(view_.size()) - 1);
  if (view_.empty()) cursor_ = -1;
  bof_ = eof_ = view_.empty();
}

void TDataSet::Post() {
  CheckActive();
  if (state_ != dsEdit && state_ != dsInsert) DatabaseError(DBText::NotEditing);
  DataEvent(deUpdateRecord);
  Call(BeforePost);
  for (const TField* field : fields_) {
    if (field->FieldKind() == fkData && field->Required() && field->column_ >= 0 &&
        editValues_[static_cast<size_t>(field->column_)].IsEmptyOrNull())
      DatabaseError(DBText::FieldRequired, field->DisplayName());
  }
  std::vector<Variant> values = editValues_;
  int row = -1;
  int fallback = cursor_;
  if (state_ == dsEdit) {
    row = editStoreRow_;
    InternalPost(row, values);
    store_.SetRow(row, values);
    if (!RowPassesFilter(row)) {
      view_.erase(std::remove(view_.begin(), view_.end(), row), view_.end());
    }
  } else {
    InternalPost(-1, values);
    row = insertStoreRow_;
    const bool atEnd = row >= store_.RowCount();
    row = store_.InsertRow(std::min(row, store_.RowCount()), values);
    if (!atEnd)
      for (int& shown : view_)
        if (shown >= row) ++shown;
    if (RowPassesFilter(row)) view_.insert(std::lower_bound(view_.begin(), view_.end(), row), row);
    fallback = insertViewIndex_;
  }
  ClearEditState();
  PositionOnStoreRow(row, fallback);
  SetState(dsBrowse);
  Call(AfterPost);
  DataEvent(deDataSetChange);
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  const bool inserting = state_ == dsInsert;
  Call(BeforeCancel);
  ClearEditState();
  SetState(dsBrowse);
  Call(AfterCancel);
  DataEvent(deDataSetChange);
  if (inserting) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  if (view_.empty()) DatabaseError(DBText::DataSetEmpty);
  CheckCanModify();
  Call(BeforeDelete);
  DoBeforeScroll();
  const int row = view_[static_cast<size_t>(cursor_)];
  InternalDelete(row);
  if (state_ == dsEdit) {
    ClearEditState();
    state_ = dsBrowse;
    DataEvent(deUpdateState);
  }
  store_.DeleteRow(row);
  view_.erase(view_.begin() + cursor_);
  for (int& shown : view_)
    if (shown > row) --shown;
  if (cursor_ >= static_cast<int>(view_.size())) cursor_ = static_cast<int>(view_.size()) - 1;
  bof_ = eof_ = view_.empty();
  calcRow_ = -2;
  Call(AfterDelete);
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

void TDataSet::AppendRecord(const std::vector<Variant>& values) {
  Append();
  PostNewRecord(values);
}

void TDataSet::InsertRecord(const std::vector<Variant>& values) {
  Insert();
  PostNewRecord(values);
}

// Fills the data fields of the record just appended or inserted in field order (an empty value
// leaves its field alone) and posts it; a failure cancels the new record.
void TDataSet::PostNewRecord(const std::vector<Variant>& values) {
  try {
    size_t i = 0;
    for (TField* field : fields_) {
      if (i >= values.size()) break;
      const Variant& value = values[i++];
      if (field->FieldKind() == fkData && !value.IsEmpty()) field->SetValue(value);
    }
    Post();
  } catch (...) {
    Cancel();
    throw;
  }
}

void TDataSet::AppendStoredRows(const std::vector<std::vector<Variant>>& rows) {
  if (!Active()) {
    for (const std::vector<Variant>& values : rows) store_.AppendRow(values);
    return;
  }
  CheckBrowseMode();
  FetchAllRecords();
  const auto show = [this] {
    if (cursor_ < 0 && !view_.empty()) {
      cursor_ = 0;
      bof_ = true;
    }
    eof_ = view_.empty();
    calcRow_ = -2;
    DataEvent(deDataSetChange);
  };
  try {
    for (const std::vector<Variant>& values : rows) {
      const int row = store_.AppendRow(values);
      if (RowPassesFilter(row)) view_.push_back(row);
    }
  } catch (...) {
    // The records before the one that did not convert stay: the cursor and the data sources
    // must know them too.
    show();
    throw;
  }
  show();
}

void TDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  const int index = cursor_;
  const int currentRow = CurrentStoreRow();
  const std::vector<Variant> current =
      currentRow >= 0 ? store_.Row(currentRow) : std::vector<Variant>();
  // Records that live here only have nothing to read again, but the filter runs anew.
  if (!KeepsRecordsWhenClosed()) {
    TRecordStore fresh = store_;
    fresh.Clear();
    InternalLoad(fresh);
    // A failed load leaves the records as they were; a compiled filter is bound to the columns
    // it was compiled for, so it is compiled again.
    std::swap(store_, fresh);
    ++layoutGeneration_;
    if (filtered_) {
      FetchAllRecords();
      PrepareFilter(filterText_, filterOptions_, filterEvaluator_, filterProgram_);
    }
  }
  RebuildView();
  if (KeepsRecordsWhenClosed()) {
    PositionOnStoreRow(currentRow, index);
  } else {
    cursor_ = IndexOfRecord(current);
    if (cursor_ < 0) {
      // The record is gone (or filtered out now): the one that took its place.
      FetchThrough(index);
      cursor_ = view_.empty() ? -1 : std::clamp(index, 0, static_cast<int>(view_.size()) - 1);
    }
  }
  bof_ = eof_ = view_.empty();
  calcRow_ = -2;
  DataEvent(deDataSetChange);
}

int TDataSet::IndexOfRecord(const std::vector<Variant>& values) const {
  if (values.empty()) return -1;
  std::vector<int> columns = RecordKeyColumns();
  if (columns.empty()) {
    columns.resize(values.size());
    std::iota(columns.begin(), columns.end(), 0);
  }
  const auto same = [&](int row) {
    return std::all_of(columns.begin(), columns.end(), [&](int column) {
      return column < store_.ColumnCount() &&
             store_.Value(row, column).Same(values[static_cast<size_t>(column)]);
    });
  };
  for (size_t i = 0; i < view_.size() || FetchIntoView(); ++i)
    if (same(view_[i])) return static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Filtering

void TDataSet::PrepareFilter(const QString& text, TFilterOptions options,
                             std::unique_ptr<TExprEvaluator>& evaluator,
                             std::unique_ptr<TCompiledFilter>& program) const {
  program.reset();
  evaluator.reset();
  if (Trim(text).isEmpty()) return;
  const TExprParser parser(this, text, options, TParserOptions{poExtSyntax});
  evaluator = std::make_unique<TExprEvaluator>(parser.FilterData(), ccrFilter);
  if (compiledFiltering_ && (Active() || opening_))
    program = std::make_unique<TCompiledFilter>(*evaluator, *rowSource_);
}

std::vector<int> TDataSet::ComputeView(bool filtered, TExprEvaluator* evaluator,
                                       TCompiledFilter* program) const {
  const int count = store_.RowCount();
  // Written over the buffer of the view replaced last: a fresh one of a million rows costs a
  // page fault for every thousand rows and copies as it grows.
  std::vector<int> rows = std::move(spareView_);
  rows.clear();
  if (!filtered) {
    rows.resize(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
  }
  if (program) {
    program->Select(count, rows);
  } else if (evaluator) {
    int current = -1;
    const TFieldValueLookup lookup = [&](int fieldNo, const QString& name) {
      return rowSource_->ValueAt(fieldNo, name, current);
    };
    for (current = 0; current < count; ++current)
      if (evaluator->Matches(lookup)) rows.push_back(current);
  } else {
    rows.resize(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
  }
  if (OnFilterRecord) {
    TDataSet* self = const_cast<TDataSet*>(this);
    RestoreOnExit<TDataSetState> state(self->state_, dsFilter);
    std::vector<int> accepted;
    for (const int row : rows) {
      RestoreOnExit<int> current(self->rowOverride_, row);
      bool accept = true;
      self->OnFilterRecord(self, accept);
      if (accept) accepted.push_back(row);
    }
    rows = std::move(accepted);
  }
  return rows;
}

void TDataSet::RebuildView() {
  ReplaceView(ComputeView(filtered_, filterEvaluator_.get(), filterProgram_.get()));
}

void TDataSet::ReplaceView(std::vector<int> view) {
  view_.swap(view);
  spareView_ = std::move(view);
}

void TDataSet::ApplyFilterChange(const QString& text, bool filtered, TFilterOptions options) {
  const bool needsParse = !Trim(text).isEmpty() && (filtered || Active() || FieldCount() > 0);
  if (!Active()) {
    // Checked now when the fields are known, so a bad text never gets in.
    if (needsParse && FieldCount() > 0)
      TExprParser check(this, text, options, TParserOptions{poExtSyntax});
    filterText_ = text;
    filtered_ = filtered;
    filterOptions_ = options;
    return;
  }
  CheckBrowseMode();
  std::unique_ptr<TExprEvaluator> evaluator;
  std::unique_ptr<TCompiledFilter> program;
  if (needsParse) PrepareFilter(text, options, evaluator, program);
  if (filtered) FetchAllRecords();
  if (!filtered && !filtered_) {
    filterText_ = text;
    filterOptions_ = options;
    return;
  }
  std::vector<int> view = ComputeView(filtered, evaluator.get(), program.get());
  // Nothing failed: the new filter takes over.
  filterText_ = text;
  filtered_ = filtered;
  filterOptions_ = options;
  filterEvaluator_ = std::move(evaluator);
  filterProgram_ = std::move(program);
  ReplaceView(std::move(view));
  DoBeforeScroll();
  ResetCursorToFirst();
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

void TDataSet::SetFilter(const QString& text) {
  if (text == filterText_) return;
  ApplyFilterChange(text, filtered_, filterOptions_);
}

void TDataSet::SetFiltered(bool filtered) {
  if (filtered == filtered_) return;
  ApplyFilterChange(filterText_, filtered, filterOptions_);
}

void TDataSet::SetFilterOptions(TFilterOptions options) {
  if (options == filterOptions_) return;
  ApplyFilterChange(filterText_, filtered_, options);
}

void TDataSet::SetCompiledFiltering(bool compiled) {
  if (compiled == compiledFiltering_) return;
  compiledFiltering_ = compiled;
  if (Active() && filtered_) {
    std::unique_ptr<TExprEvaluator> evaluator;
    std::unique_ptr<TCompiledFilter> program;
    PrepareFilter(filterText_, filterOptions_, evaluator, program);
    filterEvaluator_ = std::move(evaluator);
    filterProgram_ = std::move(program);
  }
}

// ---------------------------------------------------------------------------------------------
// Controls

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) {
    disabledState_ = state_;
    pendingChange_ = pendingLayoutChange_ = false;
  }
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  const bool changed = pendingChange_;
  const bool layoutChanged = pendingLayoutChange_;
  pendingChange_ = pendingLayoutChange_ = false;
  if (state_ != disabledState_) DataEvent(deUpdateState);
  if (layoutChanged && Active()) DataEvent(deLayoutChange);
  if (changed && Active()) DataEvent(deDataSetChange);
}

void TDataSet::NotifyDataSources(TDataEvent event, TField* field, int info) {
  // A data source may go away while it is told: work on a copy, skip the departed.
  const std::vector<TDataSource*> sources = dataSources_;
  for (TDataSource* source : sources)
    if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
      source->DataEvent(event, field, info);
}

}  // namespace Kel
