#include "DBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "DBGridModel.h"
#include "KelColorDelegate.h"
#include "DataSet.h"

namespace Kel {

namespace {

// Paints a cell as the library's colour delegate does (the model's colour rules), keeping the
// text clear of the ellipsis button in the current cell.
class TGridCellDelegate : public TKelColorDelegate {
 public:
  explicit TGridCellDelegate(TDBGrid* grid) : TKelColorDelegate(grid), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& cellOption,
             const QModelIndex& index) const override {
    // The ellipsis button covers the right end of the current cell: the text keeps clear of it.
    QStyleOptionViewItem option(cellOption);
    if (index == grid_->currentIndex() && grid_->HasEllipsis(index.column())) {
      painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
      option.rect.setRight(option.rect.right() - option.rect.height());
    }
    TKelColorDelegate::paint(painter, option, index);
  }

 private:
  TDBGrid* grid_;
};

}  // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent), model_(new TDBGridModel(this)), ellipsis_(new QToolButton(viewport())) {
  setModel(model_);
  setItemDelegate(new TGridCellDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setFixedWidth(12);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);

  ellipsis_->setObjectName(QStringLiteral("EllipsisButton"));
  ellipsis_->setText(QStringLiteral("..."));
  ellipsis_->setFocusPolicy(Qt::NoFocus);
  ellipsis_->hide();
  connect(ellipsis_, &QToolButton::clicked, this, [this] {
    if (OnEditButtonClick && currentIndex().isValid()) OnEditButtonClick(currentIndex().column());
  });
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (OnTitleClick) OnTitleClick(column);
  });
  connect(model_, &TDBGridModel::CurrentRowChanged, this, &TDBGrid::FollowDataSet);
  connect(model_, &QAbstractItemModel::modelReset, this, &TDBGrid::ModelReset);
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetDataSource(TDataSource* dataSource) { model_->SetDataSource(dataSource); }

TField* TDBGrid::SelectedField() const {
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  return model_->FieldOfColumn(column);
}

void TDBGrid::SetEllipsisColumns(const std::vector<bool>& columns) {
  ellipsisColumns_ = columns;
  PlaceEllipsis();
}

bool TDBGrid::HasEllipsis(int column) const {
  return column >= 0 && column < static_cast<int>(ellipsisColumns_.size()) &&
         ellipsisColumns_[static_cast<size_t>(column)];
}

QRect TDBGrid::CurrentCellRect() const { return visualRect(currentIndex()); }

void TDBGrid::ModelReset() {
  if (static_cast<int>(ellipsisColumns_.size()) != model_->columnCount()) ellipsisColumns_.clear();
  FollowDataSet(model_->CurrentRow());
}

// The dataset moved: the grid selects its record's row, keeping the column.
void TDBGrid::FollowDataSet(int row) {
  if (following_) return;
  following_ = true;
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  if (row >= 0 && model_->columnCount() > 0) {
    const QModelIndex target = model_->index(row, qMin(column, model_->columnCount() - 1));
    setCurrentIndex(target);
    scrollTo(target);
  } else {
    setCurrentIndex(QModelIndex());
  }
  following_ = false;
  PlaceEllipsis();
}

// The user moved: the dataset follows to the row's record.
void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!following_ && current.isValid() && current.row() != previous.row()) {
    if (TDataSet* dataSet = model_->ActiveDataSet()) {
      following_ = true;
      dataSet->SetRecNo(current.row() + 1);
      following_ = false;
    }
  }
  PlaceEllipsis();
}

void TDBGrid::PlaceEllipsis() {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || !HasEllipsis(current.column())) {
    ellipsis_->hide();
    return;
  }
  const QRect cell = visualRect(current);
  if (!cell.isValid() || !viewport()->rect().intersects(cell)) {
    ellipsis_->hide();
    return;
  }
  const int side = cell.height();
  ellipsis_->setGeometry(cell.right() - side + 1, cell.top(), side, side);
  ellipsis_->show();
  ellipsis_->raise();
}

void TDBGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceEllipsis();
}

void TDBGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  PlaceEllipsis();
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
  QTableView::mousePressEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && OnCellClick) OnCellClick(index.row(), index.column());
}

}  // namespace Kel
