#include "KelModelColumns_p.h"

#include <QAbstractItemModel>
#include <algorithm>
#include <utility>

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
  unreadCount_.clear();
  rows_ = model_ ? model_->rowCount() : 0;
  if (OnReset) OnReset();
}

TColumn* TKelModelColumns::Column(int column) const {
  if (column < 0 || column >= fields_.Count() || !model_) return nullptr;
  if (columns_.size() < static_cast<size_t>(fields_.Count())) {
    columns_.resize(static_cast<size_t>(fields_.Count()));
    unread_.resize(columns_.size());
    unreadCount_.resize(columns_.size());
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
  std::vector<uint8_t>& unread = unread_[static_cast<size_t>(c)];
  if (!unread.empty()) unread.resize(static_cast<size_t>(column.Size()), 0);
}

void TKelModelColumns::NoteSkipped(int c, int row) const {
  std::vector<uint8_t>& unread = unread_[static_cast<size_t>(c)];
  if (unread.empty()) unread.assign(static_cast<size_t>(row), 0);
  unread.push_back(1);
  ++unreadCount_[static_cast<size_t>(c)];
}

void TKelModelColumns::ReadSkipped(int c, int begin, int end, const uint8_t* need) const {
  if (unreadCount_[static_cast<size_t>(c)] == 0) return;
  TColumn& column = *columns_[static_cast<size_t>(c)];
  std::vector<uint8_t>& unread = unread_[static_cast<size_t>(c)];
  end = std::min(end, column.Size());
  const int first = std::max(begin, 0);
  // Most runs of a re-filter find nothing to read: a pass without branches says so.
  uint8_t wanted = 0;
  for (int row = first; row < end; ++row)
    wanted |= unread[static_cast<size_t>(row)] & (need ? need[row - begin] : uint8_t{1});
  if (!wanted) return;
  for (int row = first; row < end; ++row) {
    if (!unread[static_cast<size_t>(row)] || (need && !need[row - begin])) continue;
    column.SetValue(row, Read(row, c));
    unread[static_cast<size_t>(row)] = 0;
    --unreadCount_[static_cast<size_t>(c)];
  }
  if (unreadCount_[static_cast<size_t>(c)] == 0) unread.clear();
}

void TKelModelColumns::EnsureRows(int begin, int end) const {
  end = std::min(end, rows_);
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (!columns_[c]) continue;
    ReadSkipped(static_cast<int>(c), begin, end, nullptr);
    if (columns_[c]->Size() < end) ReadOn(static_cast<int>(c), end);
  }
}

// Rows beyond the column's end that nobody needs get a Null and are noted as unread.
void TKelModelColumns::EnsureValues(const TColumn& target, int begin, int count,
                                    const uint8_t* need) const {
  const int c = IndexOf(target);
  if (c < 0) return;
  const int end = std::min(begin + count, rows_);
  if (!need) {
    ReadSkipped(c, begin, end, nullptr);
    if (target.Size() < end) ReadOn(c, end);
    return;
  }
  ReadSkipped(c, begin, end, need);
  TColumn& column = *columns_[static_cast<size_t>(c)];
  std::vector<uint8_t>& unread = unread_[static_cast<size_t>(c)];
  for (int row = column.Size(); row < end; ++row) {
    if (row >= begin && need[row - begin]) {
      InsertRead(column, row, c);
      if (!unread.empty()) unread.push_back(0);
    } else {
      column.Insert(row, Variant::Null());
      NoteSkipped(c, row);
    }
  }
}

const TColumn* TKelModelColumns::ColumnOf(int fieldNo) const { return Column(fieldNo - 1); }

Variant TKelModelColumns::ValueAt(int fieldNo, const QString& fieldName, int row) const {
  const int c = fieldNo > 0 ? fieldNo - 1 : fields_.ColumnOf(fieldName);
  TColumn* column = Column(c);
  if (!column || row < 0 || row >= rows_) return Variant::Null();
  ReadSkipped(c, row, row + 1, nullptr);
  if (column->Size() <= row) ReadOn(c, row + 1);
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
    if (std::vector<uint8_t>& unread = unread_[c]; !unread.empty())
      unread.insert(unread.begin() + first, static_cast<size_t>(count), 0);
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
    if (std::vector<uint8_t>& unread = unread_[c]; !unread.empty() && end >= first) {
      const auto from = unread.begin() + first, to = unread.begin() + end + 1;
      unreadCount_[c] -= static_cast<int>(std::count(from, to, uint8_t{1}));
      unread.erase(from, to);
      if (unreadCount_[c] == 0) unread.clear();
    }
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
    std::vector<uint8_t>& unread = unread_[static_cast<size_t>(c)];
    for (int row = topLeft.row(); row <= read && !unread.empty(); ++row)
      if (std::exchange(unread[static_cast<size_t>(row)], 0)) {
        if (--unreadCount_[static_cast<size_t>(c)] == 0) unread.clear();
      }
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
