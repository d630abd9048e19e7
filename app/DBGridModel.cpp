#include "DBGridModel.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "DataSet.h"
#include "DBTypes.h"
#include "DataSource.h"
#include "Fields.h"

namespace Kel {

namespace {

bool IsNumericType(TFieldType type) {
  return IsIntegerFieldType(type) || IsFloatFieldType(type) || IsCurrencyFieldType(type);
}

// What a cell of a blob column shows instead of its bytes.
QString BlobCaption(const TField* field) {
  switch (field->DataType()) {
    case ftMemo: case ftFmtMemo: return QStringLiteral("(MEMO)");
    case ftGraphic: return QStringLiteral("(GRAPHIC)");
    default: return QStringLiteral("(BLOB)");
  }
}

}  // namespace

TDBGridModel::TDBGridModel(QObject* parent)
    : QAbstractTableModel(parent), link_(std::make_unique<TFunctionDataLink>()) {
  // Anything that may change which records or fields there are rebuilds the rows; a scroll
  // only moves the current row, and a change of one record repaints that row.
  link_->OnActiveChanged = [this] { Rebuild(); };
  link_->OnDataSetChanged = [this] { Refresh(); };
  link_->OnLayoutChanged = [this] { Rebuild(); };
  link_->OnDataSetScrolled = [this](int) { emit CurrentRowChanged(CurrentRow()); };
  connect(this, &TDBGridModel::CurrentRowChanged, this, [this] {
    if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
  });
  link_->OnRecordChanged = [this](TField*) { RecordChanged(); };
  link_->OnEditingChanged = [this] { RecordChanged(); };
}

TDBGridModel::~TDBGridModel() {
  // Going, the object hears nothing more of the data source it lets go of.
  link_.reset();
}

void TDBGridModel::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  dataSource_ = dataSource;
  link_->SetDataSource(dataSource);
  Rebuild();
}

TDataSet* TDBGridModel::ActiveDataSet() const {
  TDataSet* dataSet = link_->DataSet();
  return link_->Active() && dataSet ? dataSet : nullptr;
}

TField* TDBGridModel::FieldOfColumn(int column) const {
  return column >= 0 && column < static_cast<int>(fields_.size())
             ? fields_[static_cast<size_t>(column)]
             : nullptr;
}

int TDBGridModel::ColumnOfField(const TField* field) const {
  for (size_t column = 0; column < fields_.size(); ++column)
    if (fields_[column] == field) return static_cast<int>(column);
  return -1;
}

int TDBGridModel::CurrentRow() const {
  const TDataSet* dataSet = ActiveDataSet();
  return dataSet ? dataSet->ActiveRecordIndex() : -1;
}

bool TDBGridModel::TitleHighlighted(int column) const {
  return column >= 0 && column < static_cast<int>(highlighted_.size()) &&
         highlighted_[static_cast<size_t>(column)] != 0;
}

void TDBGridModel::SetTitleHighlighted(int column, bool highlighted) {
  if (column < 0 || column >= static_cast<int>(highlighted_.size()) ||
      TitleHighlighted(column) == highlighted)
    return;
  highlighted_[static_cast<size_t>(column)] = highlighted ? ++highlightCount_ : 0;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

std::vector<int> TDBGridModel::HighlightedColumns() const {
  std::vector<int> columns;
  for (size_t column = 0; column < highlighted_.size(); ++column)
    if (highlighted_[column] != 0) columns.push_back(static_cast<int>(column));
  std::sort(columns.begin(), columns.end(), [this](int a, int b) {
    return highlighted_[static_cast<size_t>(a)] < highlighted_[static_cast<size_t>(b)];
  });
  return columns;
}

std::vector<TField*> TDBGridModel::VisibleFields() const {
  std::vector<TField*> fields;
  if (const TDataSet* dataSet = ActiveDataSet()) {
    for (TField* field : dataSet->Fields())
      if (field->Visible()) fields.push_back(field);
  }
  return fields;
}

void TDBGridModel::Rebuild() { Rebuild(VisibleFields()); }

void TDBGridModel::Rebuild(std::vector<TField*> fields) {
  beginResetModel();
  const TDataSet* dataSet = ActiveDataSet();
  rows_ = dataSet ? dataSet->RecordCount() : 0;
  if (fields != fields_) highlighted_.assign(fields.size(), 0);
  fields_ = std::move(fields);
  endResetModel();
  emit CurrentRowChanged(CurrentRow());
}

// The dataset reports a move of its cursor as a change of everything: while the records and
// fields stay the same in number, the cells are repainted and the view keeps its place.
void TDBGridModel::Refresh() {
  const TDataSet* dataSet = ActiveDataSet();
  if (!dataSet || dataSet->RecordCount() != rows_) {
    Rebuild();
    return;
  }
  std::vector<TField*> fields = VisibleFields();
  if (fields != fields_) {
    Rebuild(std::move(fields));
    return;
  }
  if (rows_ > 0 && !fields_.empty())
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(fields_.size()) - 1));
  emit CurrentRowChanged(CurrentRow());
}

void TDBGridModel::RecordChanged() {
  const TDataSet* dataSet = ActiveDataSet();
  // An insert or delete changes the count: the rows are rebuilt instead.
  if (!dataSet || dataSet->RecordCount() != rows_) {
    if (dataSet && dataSet->State() == dsBrowse) Rebuild();
    return;
  }
  const int row = CurrentRow();
  if (row >= 0 && !fields_.empty())
    emit dataChanged(index(row, 0), index(row, static_cast<int>(fields_.size()) - 1));
}

int TDBGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TDBGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
  const TField* field = FieldOfColumn(index.column());
  if (!field || !ActiveDataSet() || index.row() >= rows_) return {};
  switch (role) {
    case Qt::DisplayRole:
      // The row being edited shows what the fields hold now.
      if (index.row() == CurrentRow()) return field->IsBlob() ? BlobCaption(field) : field->DisplayText();
      return field->IsBlob() ? BlobCaption(field) : field->DisplayTextAt(index.row());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (IsNumericType(field->DataType()) ? Qt::AlignRight : Qt::AlignLeft));
    default:
      return {};
  }
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The row headers are the record indicator: a mark beside the current record only.
    if (role == Qt::DisplayRole) return section == CurrentRow() ? QStringLiteral("\u25B8") : QString();
    return {};
  }
  const TField* field = FieldOfColumn(section);
  if (!field) return {};
  switch (role) {
    case Qt::DisplayRole:
      return field->DisplayName();
    case Qt::BackgroundRole:
      if (TitleHighlighted(section)) return QApplication::palette().brush(QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (TitleHighlighted(section)) return QApplication::palette().brush(QPalette::HighlightedText);
      return {};
    default:
      return {};
  }
}

}  // namespace Kel
