#pragma once
// keldemo's data grid: a table view over a dataset (TDBGridModel) whose selected row is the
// dataset's current record both ways, its cells coloured by the model's colour rules, with two
// hooks for its window: clicks on column titles and on cells, and an ellipsis button in the
// current cell of the columns that ask for one.

#include <QTableView>
#include <functional>
#include <vector>

class QToolButton;

namespace Kel {

class TDataSource;
class TDBGridModel;
class TField;

class TDBGrid : public QTableView {
  Q_OBJECT
 public:
  explicit TDBGrid(QWidget* parent = nullptr);
  ~TDBGrid() override;

  TDBGridModel* GridModel() const { return model_; }
  void SetDataSource(TDataSource* dataSource);
  // The field of the selected column, or nullptr.
  TField* SelectedField() const;

  // Columns whose current cell shows an ellipsis button; any new layout removes them all.
  void SetEllipsisColumns(const std::vector<bool>& columns);
  bool HasEllipsis(int column) const;
  QToolButton* EllipsisButton() const { return ellipsis_; }
  // The visual rectangle of the current cell (viewport coordinates).
  QRect CurrentCellRect() const;

  std::function<void(int column)> OnTitleClick;
  std::function<void(int row, int column)> OnCellClick;
  std::function<void(int column)> OnEditButtonClick;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void FollowDataSet(int row);
  void PlaceEllipsis();
  void ModelReset();

  TDBGridModel* model_;
  QToolButton* ellipsis_;
  std::vector<bool> ellipsisColumns_;
  bool following_ = false;
};

}  // namespace Kel
