#pragma once
// TKelFilterProxyModel: a sort/filter proxy whose rows are chosen by a condition of the filter
// language (what a filter box writes, what a dataset's Filter takes), over any source model.
// Part of unit KelModels.
//
// The source's columns are the condition's fields (Fields(): names from the headers, types from
// hints or the values). The values of a column are read from the source once, the first time a
// condition needs them, into a typed column buffer (a later operand of AND / OR is read only for
// the rows the earlier ones leave undecided); the condition runs compiled over the buffers.
// After that the proxy reads the source again only for rows the source reports added or
// changed, so a new condition re-filters without asking the source for its data. Sorting is
// the base class's.
//
// A condition that does not parse (or that raises on a row when it is set) is refused with the
// parser's or evaluator's exception and the filter stays as it was. A row on which the condition
// raises later (its values changed) is left out and FilterFailed says why.
//
// Bound to a filter box (SetFilterBox), the proxy offers the source's columns in the box and
// filters again after every change of its conditions.

#include <QSortFilterProxyModel>
#include <memory>
#include <vector>

#include "DBTypes.h"
#include "KelExport.h"

namespace Kel {

class TKelBoxLink;
class TKelFltBox;
class TKelModelColumns;
class TKelModelCondition;
class TKelModelFields;

class KEL_EXPORT TKelFilterProxyModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit TKelFilterProxyModel(QObject* parent = nullptr);
  ~TKelFilterProxyModel() override;

  void setSourceModel(QAbstractItemModel* model) override;

  // The source's columns as fields (hints and the value role are set there).
  TKelModelFields* Fields() const { return fields_.get(); }

  QString FilterText() const;
  // Filters by a condition; an empty text shows every row.
  void SetFilterText(const QString& text);
  TFilterOptions FilterOptions() const { return options_; }
  void SetFilterOptions(TFilterOptions options);

  TKelFltBox* FilterBox() const;
  // The box offers the source's columns and drives the filter; nullptr lets go of it.
  void SetFilterBox(TKelFltBox* box);

  // How many source values the proxy has read so far.
  int64_t SourceValuesRead() const;

 signals:
  // The condition failed on a row whose values changed (the row is left out), or the box's
  // condition was refused.
  void FilterFailed(const QString& message);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  // Works out which rows the condition accepts (all rows, or the rows first..last).
  std::vector<uint8_t> Selected(TKelModelCondition& condition, int first, int last) const;
  void EnsureAccepted() const;
  void ApplyCondition(std::unique_ptr<TKelModelCondition> condition);
  void Refilter(const std::vector<uint8_t>& before);
  void RowsInserted(int first, int last);
  void RowsRemoved(int first, int last);
  void RowsChanged(int first, int last);
  void ColumnsDropped();
  void FieldsChanged();
  void FollowBox();
  void Fail(const QString& message) const;

  std::unique_ptr<TKelModelFields> fields_;
  std::unique_ptr<TKelModelColumns> columns_;
  std::unique_ptr<TKelModelCondition> condition_;
  TFilterOptions options_;
  // Per source row: 1 when the condition accepts it; worked out on first need.
  mutable std::vector<uint8_t> accepted_;
  mutable bool acceptedValid_ = false;
  std::unique_ptr<TKelBoxLink> box_;
  std::vector<QMetaObject::Connection> sourceConnections_;
  bool switchingSource_ = false;
  bool sourceResetting_ = false;  // between the source's two reset signals
};

}  // namespace Kel
