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

// Texts and numbers of the kinds a column keeps are stored without a Variant on the way, as
// the Variant would have stored them; false for anything else.
bool InsertedDirectly(TColumn& column, int row, const QVariant& value) {
  if (value.isNull()) return false;
  const int type = value.typeId();
  switch (column.Kind()) {
    case TColumnKind::String:
      if (type != QMetaType::QString || column.FieldType() != ftString) return false;
      column.InsertString(row, *static_cast<const QString*>(value.constData()));
      return true;
    case TColumnKind::Int:
      if (type != QMetaType::Int && type != QMetaType::LongLong) return false;
      column.InsertInt(row, value.toLongLong());
      return true;
    case TColumnKind::Float:
      if (type != QMetaType::Double) return false;
      column.InsertDouble(row, *static_cast<const double*>(value.constData()));
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TKelUnreadRows::AnyNeeded(int begin, int end, const uint8_t* need) const {
  if (count_ == 0) return false;
  // Most runs of a re-filter find nothing to read: a pass without branches says so.
  uint8_t wanted = 0;
  for (int row = std::max(begin, 0); row < end; ++row)
    wanted |= flags_[static_cast<size_t>(row)] & (need ? need[row - begin] : uint8_t{1});
  return wanted != 0;
}

void TKelUnreadRows::Grew(int rows) {
  if (count_ > 0) flags_.resize(static_cast<size_t>(rows), 0);
}

void TKelUnreadRows::Appended(int row, bool read) {
  if (read) return Grew(row + 1);
  if (count_ == 0) flags_.assign(static_cast<size_t>(row), 0);
  flags_.push_back(1);
  ++count_;
}

void TKelUnreadRows::Inserted(int first, int count) {
  if (count_ > 0) flags_.insert(flags_.begin() + first, static_cast<size_t>(count), 0);
}

void TKelUnreadRows::Erased(int first, int end) {
  if (count_ == 0 || end <= first) return;
  const auto from = flags_.begin() + first, to = flags_.begin() + end;
  count_ -= static_cast<int>(std::count(from, to, uint8_t{1}));
  flags_.erase(from, to);
  if (count_ == 0) flags_.clear();
}

void TKelUnreadRows::MarkRead(int row) {
  if (!Has(row)) return;
  flags_[static_cast<size_t>(row)] = 0;
  if (--count_ == 0) flags_.clear();
}

void TKelUnreadRows::Clear() {
  flags_.clear();
  count_ = 0;
}

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
  unread_.clear();
  rows_ = model_ ? model_->rowCount() : 0;
  if (OnReset) OnReset();
}

TColumn* TKelModelColumns::Column(int column) const {
  if (column < 0 || column >= fields_.Count() || !model_) return nullptr;
  if (columns_.size() < static_cast<size_t>(fields_.Count())) {
    columns_.resize(static_cast<size_t>(fields_.Count()));
    unread_.resize(columns_.size());
  }
  std::unique_ptr<TColumn>& slot = columns_[static_cast<size_t>(column)];
  if (!slot) {
    slot = std::make_unique<TColumn>(fields_.DataType(column));
    slot->Reserve(rows_);
  }
  return slot.get();
}

int TKelModelColumns::IndexOf(const TColumn& column) const {
  for (size_t c = 0; c < columns_.size(); ++c)
    if (columns_[c].get() == &column) return static_cast<int>(c);
  return -1;
}

Variant TKelModelColumns::Read(int row, int c) const {
  const QModelIndex index = model_->index(row, c);
  return Converted(model_->data(index, fields_.ValueRole()), index, c);
}

Variant TKelModelColumns::Converted(QVariant value, const QModelIndex& index, int c) const {
  ++valuesRead_;
  if (!value.isValid() && fields_.ValueRole() != Qt::DisplayRole)
    value = model_->data(index, Qt::DisplayRole);
  return VariantFromQt(value, columns_[static_cast<size_t>(c)]->FieldType());
}

// The hot path of a first filter: no more per value than the model's own index and data.
void TKelModelColumns::InsertRead(TColumn& column, int row, int c) const {
  const QModelIndex index = model_->index(row, c);
  const QVariant value = model_->data(index, fields_.ValueRole());
  if (InsertedDirectly(column, row, value))
    ++valuesRead_;
  else
    column.Insert(row, Converted(value, index, c));
}

void TKelModelColumns::ReadOn(int c, int end) const {
  TColumn& column = *columns_[static_cast<size_t>(c)];
  for (int row = column.Size(); row < end; ++row) InsertRead(column, row, c);
  unread_[static_cast<size_t>(c)].Grew(column.Size());
}

void TKelModelColumns::ReadSkipped(int c, int begin, int end, const uint8_t* need) const {
  TKelUnreadRows& unread = unread_[static_cast<size_t>(c)];
  TColumn& column = *columns_[static_cast<size_t>(c)];
  end = std::min(end, column.Size());
  if (!unread.AnyNeeded(begin, end, need)) return;
  for (int row = std::max(begin, 0); row < end; ++row) {
    if ((need && !need[row - begin]) || !unread.Has(row)) continue;
    column.SetValue(row, Read(row, c));
    unread.MarkRead(row);
  }
}

void TKelModelColumns::ReadRows(int c, int begin, int end) const {
  ReadSkipped(c, begin, end, nullptr);
  if (columns_[static_cast<size_t>(c)]->Size() < end) ReadOn(c, end);
}

void TKelModelColumns::EnsureRows(int begin, int end) const {
  end = std::min(end, rows_);
  for (size_t c = 0; c < columns_.size(); ++c)
    if (columns_[c]) ReadRows(static_cast<int>(c), begin, end);
}

// Rows beyond the column's end that nobody needs get a Null and are noted as unread.
void TKelModelColumns::EnsureValues(const TColumn& target, int begin, int count,
                                    const uint8_t* need) const {
  const int c = IndexOf(target);
  if (c < 0) return;
  const int end = std::min(begin + count, rows_);
  if (!need) return ReadRows(c, begin, end);
  ReadSkipped(c, begin, end, need);
  TColumn& column = *columns_[static_cast<size_t>(c)];
  TKelUnreadRows& unread = unread_[static_cast<size_t>(c)];
  for (int row = column.Size(); row < end; ++row) {
    const bool read = row >= begin && need[row - begin];
    if (read)
      InsertRead(column, row, c);
    else
      column.InsertNull(row);
    unread.Appended(row, read);
  }
}

const TColumn* TKelModelColumns::ColumnOf(int fieldNo) const { return Column(fieldNo - 1); }

Variant TKelModelColumns::ValueAt(int fieldNo, const QString& fieldName, int row) const {
  const int c = fieldNo > 0 ? fieldNo - 1 : fields_.ColumnOf(fieldName);
  TColumn* column = Column(c);
  if (!column || row < 0 || row >= rows_) return Variant::Null();
  ReadRows(c, row, row + 1);
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
    unread_[c].Inserted(first, count);
  }
  rows_ += count;
  if (OnRowsInserted) OnRowsInserted(first, last);
}

void TKelModelColumns::RowsRemoved(int first, int last) {
  const int count = last - first + 1;
  if (rows_ - count != model_->rowCount() || (last != rows_ - 1 && count > kRowsFollowedOneByOne))
    return Reset();
  for (size_t c = 0; c < columns_.size(); ++c) {
    TColumn* column = columns_[c].get();
    if (!column) continue;
    const int end = std::min(last, column->Size() - 1);
    for (int row = end; row >= first; --row) column->Erase(row);
    unread_[c].Erased(first, end + 1);
  }
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
    TKelUnreadRows& unread = unread_[static_cast<size_t>(c)];
    for (int row = topLeft.row(); row <= read; ++row) unread.MarkRead(row);
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
  columns_.EnsureRows(row, row + 1);
  return compiled.Matches(row);
}

void TKelModelCondition::Select(int begin, int count, uint8_t* out) {
  const TCompiledFilter& compiled = Compiled();
  if (!compiled.Batchable()) {
    columns_.EnsureRows(begin, begin + count);
    for (int i = 0; i < count; ++i) out[i] = compiled.Matches(begin + i) ? 1 : 0;
    return;
  }
  // The compiled filter asks the columns for what it needs (EnsureValues).
  compiled.Outcomes(begin, count, out);
  for (int i = 0; i < count; ++i) out[i] = out[i] == 1 ? 1 : 0;
}

}  // namespace Kel
