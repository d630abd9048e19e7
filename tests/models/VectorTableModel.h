#pragma once
// A plain editable table model over one vector of values per column, as an application writes
// one: what the proxy, the catalogue and the search are tried on (and measured on in bench/).
// It counts the values asked of it. Beside it, what the tests read back from any model.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>
#include <set>
#include <vector>

namespace Kel::Testing {

class TVectorTableModel : public QAbstractTableModel {
 public:
  explicit TVectorTableModel(QStringList headers, QObject* parent = nullptr)
      : QAbstractTableModel(parent), headers_(std::move(headers)), columns_(headers_.size()) {}

  // Setup without signals, before any view or proxy looks.
  void AppendRow(const std::vector<QVariant>& values) {
    for (size_t c = 0; c < columns_.size(); ++c)
      columns_[c].push_back(c < values.size() ? values[c] : QVariant());
  }
  void Reserve(int rows) {
    for (auto& column : columns_) column.reserve(static_cast<size_t>(rows));
  }
  // Rows inserted at row, as a model tells its views.
  void InsertRowValues(int row, const std::vector<std::vector<QVariant>>& rows) {
    beginInsertRows(QModelIndex(), row, row + static_cast<int>(rows.size()) - 1);
    for (size_t c = 0; c < columns_.size(); ++c)
      for (size_t i = 0; i < rows.size(); ++i)
        columns_[c].insert(columns_[c].begin() + row + static_cast<int>(i), rows[i][c]);
    endInsertRows();
  }
  void ReplaceAll(const std::vector<std::vector<QVariant>>& rows) {
    beginResetModel();
    for (auto& column : columns_) column.clear();
    for (const auto& values : rows) AppendRow(values);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || columns_.empty() ? 0 : static_cast<int>(columns_[0].size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    ++DataCalls;
    return columns_[static_cast<size_t>(index.column())][static_cast<size_t>(index.row())];
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return headers_.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole || !index.isValid()) return false;
    columns_[static_cast<size_t>(index.column())][static_cast<size_t>(index.row())] = value;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
  }
  bool removeRows(int row, int count, const QModelIndex& parent) override {
    if (parent.isValid() || count <= 0 || row < 0 || row + count > rowCount()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (auto& column : columns_) column.erase(column.begin() + row, column.begin() + row + count);
    endRemoveRows();
    return true;
  }

  mutable int64_t DataCalls = 0;

 private:
  QStringList headers_;
  std::vector<std::vector<QVariant>> columns_;
};

// The numbers in column 0 of the rows a model shows, once it has read on as far as it goes.
inline std::set<int> IdsShown(QAbstractItemModel& model) {
  while (model.canFetchMore(QModelIndex())) model.fetchMore(QModelIndex());
  std::set<int> ids;
  for (int row = 0; row < model.rowCount(); ++row) ids.insert(model.index(row, 0).data().toInt());
  return ids;
}

}  // namespace Kel::Testing
