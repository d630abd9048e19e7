#pragma once
// The table model of keldemo's data grid: one row per record that a dataset shows, one column
// per visible field, reached through a data source so that the rows follow the dataset (open,
// close, filter, edits, another table) and the dataset's current record is reported as it moves.

#include <QAbstractTableModel>
#include <memory>

class QColor;

namespace Kel {

class TDataSet;
class TDataSource;
class TField;
class TFunctionDataLink;

class TDBGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TDBGridModel(QObject* parent = nullptr);
  ~TDBGridModel() override;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);
  // The dataset of the data source while it is open, else nullptr.
  TDataSet* ActiveDataSet() const;
  // The field shown in a column, or nullptr.
  TField* FieldOfColumn(int column) const;
  int ColumnOfField(const TField* field) const;
  // The row of the dataset's current record (-1 without one).
  int CurrentRow() const;

  // A title is either highlighted or plain; the view paints a highlighted one in the highlight
  // colour. A new layout (another dataset, other fields) makes every title plain.
  bool TitleHighlighted(int column) const;
  void SetTitleHighlighted(int column, bool highlighted);
  // The highlighted columns in the order they were highlighted.
  std::vector<int> HighlightedColumns() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // The dataset's current record moved to `row` (or the rows were rebuilt).
  void CurrentRowChanged(int row);

 private:
  // The fields shown as columns: the visible fields of the active dataset, in order.
  std::vector<TField*> VisibleFields() const;
  void Rebuild();
  void Rebuild(std::vector<TField*> fields);
  void Refresh();
  void RecordChanged();

  TDataSource* dataSource_ = nullptr;
  std::unique_ptr<TFunctionDataLink> link_;
  std::vector<TField*> fields_;
  std::vector<int> highlighted_;  // per column: 0 plain, else the order of highlighting
  int highlightCount_ = 0;
  int rows_ = 0;
};

}  // namespace Kel
