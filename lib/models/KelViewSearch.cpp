#include "KelViewSearch.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include "KelModelColumns_p.h"
#include "KelModelFields.h"

namespace Kel {

TKelViewSearch::TKelViewSearch(QAbstractItemView* view, QObject* parent)
    : QObject(parent),
      view_(view),
      fields_(std::make_unique<TKelModelFields>()),
      columns_(std::make_unique<TKelModelColumns>(*fields_)) {
  // Dropped columns need the condition compiled again; other fields need it parsed again.
  columns_->OnReset = [this] {
    if (condition_) condition_->Uncompile();
  };
  connect(fields_.get(), &TKelModelFields::Changed, this, [this] { condition_.reset(); });
}

TKelViewSearch::~TKelViewSearch() = default;

QAbstractItemView* TKelViewSearch::View() const { return view_; }

void TKelViewSearch::SetExpression(const QString& text) {
  if (text == expression_) return;
  expression_ = text;
  condition_.reset();
}

void TKelViewSearch::SetOptions(TFilterOptions options) {
  if (options == options_) return;
  options_ = options;
  condition_.reset();
}

void TKelViewSearch::FollowModel() {
  QAbstractItemModel* model = view_ ? view_->model() : nullptr;
  if (model == fields_->Model()) return;
  fields_->SetModel(model);
  columns_->SetModel(model);
  condition_.reset();
}

TKelModelCondition& TKelViewSearch::Condition() {
  if (!condition_)
    condition_ = std::make_unique<TKelModelCondition>(*fields_, *columns_, expression_, options_,
                                                      ccrFilter);
  return *condition_;
}

int TKelViewSearch::Scan(int from, int step) {
  TKelModelCondition& condition = Condition();
  for (int row = from; row >= 0 && row < columns_->RowCount(); row += step)
    if (condition.Matches(row)) return row;
  return -1;
}

bool TKelViewSearch::Find(int from, int step, bool loop) {
  FollowModel();
  if (!view_ || !fields_->Model()) return false;
  int row = Scan(from, step);
  if (row < 0 && loop) row = Scan(step > 0 ? 0 : columns_->RowCount() - 1, step);
  if (row < 0) return false;
  Select(row);
  return true;
}

void TKelViewSearch::Select(int row) {
  QAbstractItemModel* model = fields_->Model();
  const QModelIndex current = view_->currentIndex();
  const QModelIndex target = model->index(row, current.isValid() ? current.column() : 0);
  if (QItemSelectionModel* selection = view_->selectionModel()) {
    const auto rows = view_->selectionBehavior() == QAbstractItemView::SelectItems
                          ? QItemSelectionModel::NoUpdate
                          : QItemSelectionModel::Rows;
    selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | rows);
  }
  view_->scrollTo(target);
}

bool TKelViewSearch::FindFirst() { return Find(0, 1, false); }

bool TKelViewSearch::FindLast() {
  FollowModel();
  return Find(columns_->RowCount() - 1, -1, false);
}

bool TKelViewSearch::FindNext() {
  const QModelIndex current = view_ ? view_->currentIndex() : QModelIndex();
  return Find(current.isValid() ? current.row() + 1 : 0, 1, searchInLoop_);
}

bool TKelViewSearch::FindPrior() {
  FollowModel();
  const QModelIndex current = view_ ? view_->currentIndex() : QModelIndex();
  return Find(current.isValid() ? current.row() - 1 : columns_->RowCount() - 1, -1, searchInLoop_);
}

}  // namespace Kel
