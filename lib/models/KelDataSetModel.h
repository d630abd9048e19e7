#pragma once
// TKelDataSetModel: a dataset in Qt's item views. One row per record the dataset shows, one
// column per visible field, reached through a data source, so that the rows follow the dataset
// (open, close, filter, edits, another table) and its current record is reported as it moves.
// Part of unit KelModels.
//
// Roles: display is the field's display text (its number and date formats; blobs as "(MEMO)",
// "(GRAPHIC)", "(BLOB)"); edit is the value in Qt's own type (int, double, bool, QDate, QTime,
// QDateTime, QString); alignment right for numbers; background, foreground and font from the
// colour rules of GridColors for the record and the field (a rule that fails is switched off
// and ColorRuleFailed says why, once, after the painting). Header titles are display labels.
//
// Editing posts each value to the dataset at once (text typed into an editor goes through the
// field's own text reading); a refused value leaves the record as it was and EditFailed says why.
//
// A dataset that reads its records as they are needed (tables and queries over Qt SQL) is shown
// as far as it was read: the view reads on with canFetchMore/fetchMore, FetchBatch records at
// a time, and records the dataset read on its own (a search, a move to the end) are added.

#include <QAbstractTableModel>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "KelExport.h"

namespace Kel {

class TDataSet;
class TDataSource;
class TField;
class TFunctionDataLink;
class TKelGridColors;
struct TKelCellStyle;

class KEL_EXPORT TKelDataSetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TKelDataSetModel(QObject* parent = nullptr);
  ~TKelDataSetModel() override;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);
  // The dataset of the data source while it is open, else nullptr.
  TDataSet* ActiveDataSet() const;
  // The field shown in a column, or nullptr.
  TField* FieldOfColumn(int column) const;
  int ColumnOfField(const TField* field) const;
  // The row of the dataset's current record (-1 without one).
  int CurrentRow() const;

  TKelGridColors* GridColors() const;
  // The rules must read this model's dataset.
  void SetGridColors(TKelGridColors* colors);

  int FetchBatch() const { return fetchBatch_; }
  void SetFetchBatch(int records) { fetchBatch_ = std::max(1, records); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 signals:
  // The dataset's current record moved to `row` (or the rows were rebuilt).
  void CurrentRowChanged(int row);
  void EditFailed(const QModelIndex& index, const QString& message);
  void ColorRuleFailed(const QString& message);

 protected:
  // The fields shown as columns: the visible fields of the active dataset, in order.
  virtual std::vector<TField*> VisibleFields() const;
  // Another dataset or other fields: descendants forget what they kept per column.
  virtual void ColumnsRebuilt() {}

 private:
  // The colours of a cell when a rule holds for it.
  std::optional<TKelCellStyle> StyleOf(const QModelIndex& index) const;
  void Rebuild();
  void Rebuild(std::vector<TField*> fields);
  void Refresh();
  void RecordChanged();
  void FollowFetching();

  TDataSource* dataSource_ = nullptr;
  std::unique_ptr<TFunctionDataLink> link_;
  std::vector<TField*> fields_;
  int rows_ = 0;
  int fetchBatch_ = 100;
  QPointer<TKelGridColors> gridColors_;
};

}  // namespace Kel
