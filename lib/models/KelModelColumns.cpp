#include "KelModelColumns_p.h"

#include <QAbstractItemModel>
#include <algorithm>

#include "ExprParser.h"
#include "KelModelFields.h"
#include "QtValues.h"

namespace Kel {

namespace {

// Rows added or removed one by one in the middle move every row after them; beyond this many
// at once, reading the columns again is cheaper.
constexpr int kRowsFollowedOneByOne = 16;

}  // namespace

TKelModelColumns::TKelModelColumns(const TKelModelFields& fields, QObject* parent)
    : QObject(parent), fields_(fields) {
  connect(&fields, &TKelModelFields::Changed, this, [this] { Reset(); });
}

TKelModelColumns::~TKelModelColumns() = default;

void TKelModelColumns::SetModel(QAbstractItemModel* model) {
  for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
  connections_.clear();
  model_ = model;
  if (model) {
    const auto reset = [this] { Reset(); };
    connections_ = {
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex& parent, int first, int last) {
                  if (!parent.isValid()) RowsInserted(first, last);
                }),
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex& parent, int first, int last) {
                  if (!parent.isValid()) RowsRemoved(first, last);
                }),
        connect(model, &QAbstractItemModel::dataChanged, this, &TKelModelColumns::DataChanged),
        connect(model, &QAbstractItemModel::modelReset, this, reset),
        connect(model, &QAbstractItemModel::layoutChanged, this, reset),
        connect(model, &QAbstractItemModel::rowsMoved, this, reset),
        connect(model, &QAbstractItemModel::columnsInserted, this, reset),
        connect(model, &QAbstractItemModel::columnsRemoved, this, reset),
        connect(model, &QAbstractItemModel::columnsMoved, this, reset),
    };
  }
  Reset();
}

void TKelModelColumns::Reset() {
  columns_.clear();
  rows_ = model_ ? model_->rowCount() : 0;
  if (OnReset) OnReset();
}

TColumn* TKelModelColumns::Column(int column) const {
  if (column < 0 || column >= fields_.Count() || !model_) return nullptr;
  if (columns_.size() < static_cast<size_t>(fields_.Count()))
    columns_.resize(static_cast<size_t>(fields_.Count()));
  std::unique_ptr<TColumn>& slot = columns_[static_cast<size_t>(column)];
  if (!slot) {
    slot = std::make_unique<TColumn>(fields_.DataType(column));
    slot->Reserve(rows_);
  }
  return slot.get();
}

// The hot loop of a first filter: no more per value than the model's own index and data.
void TKelModelColumns::ReadOn(TColumn& column, int c, int end) const {
  const TFieldType type = column.FieldType();
  const int role = fields_.ValueRole();
  const int begin = column.Size();
  for (int row = begin; row < end; ++row) {
    const QModelIndex index = model_->index(row, c);
    QVariant value = model_->data(index, role);
    if (type == ftString && value.typeId() == QMetaType::QString && !value.isNull()) {
      column.Insert(row, Variant(*static_cast<const QString*>(value.constData())));
      continue;
    }
    if (!value.isValid() && role != Qt::DisplayRole) value = model_->data(index, Qt::DisplayRole);
    column.Insert(row, VariantFromQt(value, type));
  }
  valuesRead_ += std::max(0, end - begin);
}

void TKelModelColumns::EnsureRows(int end) const {
  end = std::min(end, rows_);
  for (size_t c = 0; c < columns_.size(); ++c)
    if (TColumn* column = columns_[c].get(); column && column->Size() < end)
      ReadOn(*column, static_cast<int>(c), end);
}

const TColumn* TKelModelColumns::ColumnOf(int fieldNo) const { return Column(fieldNo - 1); }

Variant TKelModelColumns::ValueAt(int fieldNo, const QString& fieldName, int row) const {
  const int c = fieldNo > 0 ? fieldNo - 1 : fields_.ColumnOf(fieldName);
  TColumn* column = Column(c);
  if (!column || row < 0 || row >= rows_) return Variant::Null();
  if (column->Size() <= row) ReadOn(*column, c, row + 1);
  return column->Value(row);
}

// A count that does not add up (the columns were just dropped and counted the rows anew) is
// met by dropping them once more.
void TKelModelColumns::RowsInserted(int first, int last) {
  const int count = last - first + 1;
  if (rows_ + count != model_->rowCount() || (first != rows_ && count > kRowsFollowedOneByOne))
    return Reset();
  for (size_t c = 0; c < columns_.size(); ++c) {
    TColumn* column = columns_[c].get();
    // Rows beyond those read so far are read when they are needed.
    if (!column || first > column->Size()) continue;
    for (int row = first; row <= last; ++row)
      column->Insert(row, fields_.Value(row, static_cast<int>(c)));
    valuesRead_ += count;
  }
  rows_ += count;
  if (OnRowsInserted) OnRowsInserted(first, last);
}

void TKelModelColumns::RowsRemoved(int first, int last) {
  const int count = last - first + 1;
  if (rows_ - count != model_->rowCount() || (last != rows_ - 1 && count > kRowsFollowedOneByOne))
    return Reset();
  for (const std::unique_ptr<TColumn>& column : columns_)
    if (column)
      for (int row = std::min(last, column->Size() - 1); row >= first; --row) column->Erase(row);
  rows_ -= count;
  if (OnRowsRemoved) OnRowsRemoved(first, last);
}

void TKelModelColumns::DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                   const QList<int>& roles) {
  if (topLeft.parent().isValid()) return;
  if (!roles.isEmpty() && !roles.contains(fields_.ValueRole()) && !roles.contains(Qt::DisplayRole))
    return;
  const int last = std::min(bottomRight.row(), rows_ - 1);
  for (int c = topLeft.column(); c <= bottomRight.column(); ++c) {
    TColumn* column = c < static_cast<int>(columns_.size()) ? columns_[static_cast<size_t>(c)].get() : nullptr;
    if (!column) continue;
    const int read = std::min(last, column->Size() - 1);
    for (int row = topLeft.row(); row <= read; ++row) column->SetValue(row, fields_.Value(row, c));
    valuesRead_ += std::max(0, read - topLeft.row() + 1);
  }
  if (OnRowsChanged && topLeft.row() <= last) OnRowsChanged(topLeft.row(), last);
}

// ---------------------------------------------------------------------------------------------

TKelModelCondition::TKelModelCondition(const TKelModelFields& fields, TKelModelColumns& columns,
                                       const QString& text, TFilterOptions options,
                                       TCompareNodeRule rule)
    : columns_(columns),
      text_(text),
      parser_(std::make_unique<TExprParser>(fields.ExprFields(), text, options,
                                            TParserOptions{poExtSyntax})),
      evaluator_(std::make_unique<TExprEvaluator>(parser_->Expression(), rule)) {}

TKelModelCondition::~TKelModelCondition() = default;

const TCompiledFilter& TKelModelCondition::Compiled() {
  if (!compiled_) compiled_ = std::make_unique<TCompiledFilter>(*evaluator_, columns_);
  return *compiled_;
}

bool TKelModelCondition::Matches(int row) {
  const TCompiledFilter& compiled = Compiled();
  columns_.EnsureRows(row + 1);
  return compiled.Matches(row);
}

void TKelModelCondition::Select(int begin, int count, uint8_t* out) {
  const TCompiledFilter& compiled = Compiled();
  columns_.EnsureRows(begin + count);
  if (!compiled.Batchable()) {
    for (int i = 0; i < count; ++i) out[i] = compiled.Matches(begin + i) ? 1 : 0;
    return;
  }
  compiled.Outcomes(begin, count, out);
  for (int i = 0; i < count; ++i) out[i] = out[i] == 1 ? 1 : 0;
}

}  // namespace Kel
