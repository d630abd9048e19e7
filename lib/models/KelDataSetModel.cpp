#include "KelDataSetModel.h"

#include <QColor>
#include <QFont>
#include <QTimer>
#include <optional>

#include "DBTypes.h"
#include "DataSet.h"
#include "DataSource.h"
#include "Exceptions.h"
#include "Fields.h"
#include "KelCellStyle_p.h"
#include "KelGridColors.h"
#include "QtValues.h"

namespace Kel {

namespace {

bool IsNumericType(TFieldType type) {
  return IsIntegerFieldType(type) || IsFloatFieldType(type) || IsCurrencyFieldType(type);
}

// What a cell of a blob column shows instead of its bytes.
QString BlobCaption(const TField* field) {
  switch (field->DataType()) {
    case ftMemo:
    case ftFmtMemo:
      return QStringLiteral("(MEMO)");
    case ftGraphic:
      return QStringLiteral("(GRAPHIC)");
    default:
      return QStringLiteral("(BLOB)");
  }
}

}  // namespace

TKelDataSetModel::TKelDataSetModel(QObject* parent)
    : QAbstractTableModel(parent), link_(std::make_unique<TFunctionDataLink>()) {
  // Anything that may change which records or fields there are rebuilds the rows; a scroll
  // only moves the current row, and a change of one record repaints that row.
  link_->OnActiveChanged = [this] { Rebuild(); };
  link_->OnDataSetChanged = [this] { Refresh(); };
  link_->OnLayoutChanged = [this] { Rebuild(); };
  link_->OnDataSetScrolled = [this](int) {
    FollowFetching();
    emit CurrentRowChanged(CurrentRow());
  };
  link_->OnRecordChanged = [this](TField*) { RecordChanged(); };
  link_->OnEditingChanged = [this] { RecordChanged(); };
}

TKelDataSetModel::~TKelDataSetModel() {
  // Going, the object hears nothing more of the data source it lets go of.
  link_.reset();
}

void TKelDataSetModel::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  dataSource_ = dataSource;
  link_->SetDataSource(dataSource);
  Rebuild();
}

TKelGridColors* TKelDataSetModel::GridColors() const { return gridColors_; }

void TKelDataSetModel::SetGridColors(TKelGridColors* colors) {
  if (colors == gridColors_) return;
  gridColors_ = colors;
  if (rows_ > 0 && !fields_.empty())
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1),
                     {Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole});
}

TDataSet* TKelDataSetModel::ActiveDataSet() const {
  TDataSet* dataSet = link_->DataSet();
  return link_->Active() && dataSet ? dataSet : nullptr;
}

TField* TKelDataSetModel::FieldOfColumn(int column) const {
  return column >= 0 && column < static_cast<int>(fields_.size())
             ? fields_[static_cast<size_t>(column)]
             : nullptr;
}

int TKelDataSetModel::ColumnOfField(const TField* field) const {
  for (size_t column = 0; column < fields_.size(); ++column)
    if (fields_[column] == field) return static_cast<int>(column);
  return -1;
}

int TKelDataSetModel::CurrentRow() const {
  const TDataSet* dataSet = ActiveDataSet();
  return dataSet ? dataSet->ActiveRecordIndex() : -1;
}

std::vector<TField*> TKelDataSetModel::VisibleFields() const {
  std::vector<TField*> fields;
  if (const TDataSet* dataSet = ActiveDataSet()) {
    for (TField* field : dataSet->Fields())
      if (field->Visible()) fields.push_back(field);
  }
  return fields;
}

// ---------------------------------------------------------------------------------------------
// Following the dataset

void TKelDataSetModel::Rebuild() { Rebuild(VisibleFields()); }

void TKelDataSetModel::Rebuild(std::vector<TField*> fields) {
  beginResetModel();
  const TDataSet* dataSet = ActiveDataSet();
  rows_ = dataSet ? dataSet->FetchedViewCount() : 0;
  const bool otherColumns = fields != fields_;
  fields_ = std::move(fields);
  if (otherColumns) ColumnsRebuilt();
  endResetModel();
  emit CurrentRowChanged(CurrentRow());
}

// Records the dataset read on its own (a move towards the end, a search) join the rows.
void TKelDataSetModel::FollowFetching() {
  const TDataSet* dataSet = ActiveDataSet();
  const int shown = dataSet ? dataSet->FetchedViewCount() : 0;
  if (shown <= rows_) return;
  beginInsertRows(QModelIndex(), rows_, shown - 1);
  rows_ = shown;
  endInsertRows();
}

// The dataset reports a move of its cursor, a new filter and a refresh alike, as a change of
// everything: while the fields stay and no record went, the cells are repainted (records read
// on are added) and the view keeps its place.
void TKelDataSetModel::Refresh() {
  const TDataSet* dataSet = ActiveDataSet();
  if (!dataSet || dataSet->FetchedViewCount() < rows_) return Rebuild();
  std::vector<TField*> fields = VisibleFields();
  if (fields != fields_) return Rebuild(std::move(fields));
  if (rows_ > 0 && !fields_.empty())
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(fields_.size()) - 1));
  FollowFetching();
  emit CurrentRowChanged(CurrentRow());
}

void TKelDataSetModel::RecordChanged() {
  const TDataSet* dataSet = ActiveDataSet();
  // An insert or delete changes the count: the rows are rebuilt instead.
  if (!dataSet || dataSet->FetchedViewCount() != rows_) {
    if (dataSet && dataSet->State() == dsBrowse) Rebuild();
    return;
  }
  const int row = CurrentRow();
  if (row >= 0 && row < rows_ && !fields_.empty())
    emit dataChanged(index(row, 0), index(row, static_cast<int>(fields_.size()) - 1));
}

bool TKelDataSetModel::canFetchMore(const QModelIndex& parent) const {
  const TDataSet* dataSet = ActiveDataSet();
  return !parent.isValid() && dataSet &&
         (!dataSet->AllRecordsFetched() || dataSet->FetchedViewCount() > rows_);
}

void TKelDataSetModel::fetchMore(const QModelIndex& parent) {
  TDataSet* dataSet = ActiveDataSet();
  if (parent.isValid() || !dataSet) return;
  try {
    dataSet->FetchMoreRecords(fetchBatch_);
  } catch (const Exception&) {
    // A source that fails while reading on keeps what it read; the next fetch says why.
  }
  FollowFetching();
}

// ---------------------------------------------------------------------------------------------
// Cells

int TKelDataSetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TKelDataSetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

std::optional<TKelCellStyle> TKelDataSetModel::StyleOf(const QModelIndex& index) const {
  TDataSet* dataSet = ActiveDataSet();
  const TField* field = FieldOfColumn(index.column());
  if (!gridColors_ || !field || !dataSet || gridColors_->DataSet() != dataSet ||
      gridColors_->RecordsInfo()->Count() == 0)
    return std::nullopt;
  bool found = false;
  TColor color = clWindow;
  TFont* font = nullptr;
  try {
    const TDataSet::TRecordViewScope record(*dataSet, index.row());
    gridColors_->GetCellStyle(field->FieldName(), found, color, font);
  } catch (const Exception& error) {
    // The rule switched itself off; the user hears of it once, after the painting.
    const QString message = error.Message();
    auto* self = const_cast<TKelDataSetModel*>(this);
    QTimer::singleShot(0, self, [self, message] { emit self->ColorRuleFailed(message); });
    return std::nullopt;
  }
  if (!found) return std::nullopt;
  return CellStyleOfRule(color, font, nullptr);
}

QVariant TKelDataSetModel::data(const QModelIndex& index, int role) const {
  const TField* field = FieldOfColumn(index.column());
  if (!field || !ActiveDataSet() || index.row() < 0 || index.row() >= rows_) return {};
  switch (role) {
    case Qt::DisplayRole:
      if (field->IsBlob()) return BlobCaption(field);
      // The row being edited shows what the fields hold now.
      return index.row() == CurrentRow() ? field->DisplayText() : field->DisplayTextAt(index.row());
    case Qt::EditRole:
      if (field->IsBlob()) return {};
      return VariantToQt(index.row() == CurrentRow() ? field->Value() : field->ValueAt(index.row()),
                         field->DataType());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (IsNumericType(field->DataType()) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::FontRole: {
      QModelRoleData one(role);
      multiData(index, QModelRoleDataSpan(one));
      return one.data();
    }
    default:
      return {};
  }
}

// A view asks every role of a cell at once: the colour rules are evaluated once for all three.
void TKelDataSetModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const {
  std::optional<std::optional<TKelCellStyle>> style;  // worked out once, on first need
  for (QModelRoleData& roleData : roleDataSpan) {
    const int role = roleData.role();
    if (role != Qt::BackgroundRole && role != Qt::ForegroundRole && role != Qt::FontRole) {
      roleData.setData(data(index, role));
      continue;
    }
    if (!style) style = StyleOf(index);
    if (!*style)
      roleData.clearData();
    else if (role == Qt::BackgroundRole)
      roleData.setData((*style)->Background);
    else if (role == Qt::ForegroundRole)
      roleData.setData((*style)->Text);
    else
      roleData.setData((*style)->Font);
  }
}

QVariant TKelDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
    const TField* field = FieldOfColumn(section);
    return field ? QVariant(field->DisplayName()) : QVariant();
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TKelDataSetModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  const TDataSet* dataSet = ActiveDataSet();
  const TField* field = FieldOfColumn(index.column());
  if (dataSet && field && dataSet->CanModify() && !field->ReadOnly() &&
      field->FieldKind() == fkData && !field->IsBlob())
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool TKelDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TDataSet* dataSet = ActiveDataSet();
  TField* field = FieldOfColumn(index.column());
  if (role != Qt::EditRole || !dataSet || !field || index.row() < 0 || index.row() >= rows_)
    return false;
  try {
    if (dataSet->RecNo() != index.row() + 1) dataSet->SetRecNo(index.row() + 1);
    dataSet->Edit();
    // Typed text goes through the field's own reading, so "12,5" or a date in the local
    // format is read as the user means it, and text that is no value is refused.
    if (value.isNull())
      field->Clear();
    else if (value.typeId() == QMetaType::QString)
      field->SetText(value.toString());
    else
      field->SetValue(VariantFromQt(value, field->DataType()));
    dataSet->Post();
  } catch (const Exception& error) {
    if (dataSet->State() == dsEdit || dataSet->State() == dsInsert) dataSet->Cancel();
    emit EditFailed(index, error.Message());
    return false;
  }
  return true;
}

}  // namespace Kel
