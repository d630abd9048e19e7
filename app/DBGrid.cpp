#include "DBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

#include "DBGridModel.h"
#include "DataSet.h"

namespace Kel {

namespace {

// Paints a cell the grid's own way, after the window had its say about colours and font.
class TStyledCellDelegate : public QStyledItemDelegate {
 public:
  explicit TStyledCellDelegate(TDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& cellOption,
             const QModelIndex& index) const override {
    // The ellipsis button covers the right end of the current cell: the text keeps clear of it.
    QStyleOptionViewItem option(cellOption);
    if (index == grid_->currentIndex() && grid_->HasEllipsis(index.column())) {
      painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
      option.rect.setRight(option.rect.right() - option.rect.height());
    }
    TDBGridCellStyle style;
    style.Font = option.font;
    if (grid_->OnDrawCell) grid_->OnDrawCell(index.row(), grid_->GridModel()->FieldOfColumn(index.column()), style);
    if (!style.Styled) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem styled(option);
    initStyleOption(&styled, index);
    styled.font = style.Font;
    styled.fontMetrics = QFontMetrics(style.Font);
    styled.backgroundBrush = style.Background;
    styled.palette.setColor(QPalette::Text, style.Text);
    // A styled cell keeps its colours in the selected row too, or the colouring would vanish
    // under the cursor; a dotted frame marks the selection instead.
    const bool selected = styled.state & QStyle::State_Selected;
    styled.state &= ~QStyle::State_Selected;
    const QWidget* widget = option.widget;
    QStyle* qstyle = widget ? widget->style() : QApplication::style();
    qstyle->drawControl(QStyle::CE_ItemViewItem, &styled, painter, widget);
    if (selected) {
      painter->save();
      painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
      painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
      painter->restore();
    }
  }

 private:
  TDBGrid* grid_;
};

}  // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent), model_(new TDBGridModel(this)), ellipsis_(new QToolButton(viewport())) {
  setModel(model_);
  setItemDelegate(new TStyledCellDelegate(this));
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
