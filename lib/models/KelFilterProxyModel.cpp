#include "KelFilterProxyModel.h"

#include "Exceptions.h"
#include "KelBoxLink_p.h"
#include "KelModelColumns_p.h"
#include "KelModelFields.h"

namespace Kel {

namespace {

// Rows are read and judged in blocks of this many: the values read stay in the cache until the
// compiled condition has judged them.
constexpr int kBlockRows = 1 << 12;
// A new condition that changes the rows in more runs than this lays the proxy out anew (one pass
// over the rows); fewer runs are removed and inserted where they are, which keeps the views'
// selection. The base class moves every later row for each run, which grows with runs × rows.
constexpr int kRunsRemovedInPlace = 32;

}  // namespace

TKelFilterProxyModel::TKelFilterProxyModel(QObject* parent)
    : QSortFilterProxyModel(parent),
      fields_(std::make_unique<TKelModelFields>()),
      columns_(std::make_unique<TKelModelColumns>(*fields_)),
      box_(std::make_unique<TKelBoxLink>(this, *fields_, [this] { FollowBox(); })) {
  columns_->OnRowsInserted = [this](int first, int last) { RowsInserted(first, last); };
  columns_->OnRowsRemoved = [this](int first, int last) { RowsRemoved(first, last); };
  columns_->OnRowsChanged = [this](int first, int last) { RowsChanged(first, last); };
  columns_->OnReset = [this] { ColumnsDropped(); };
  // After the columns' own handler (made with them): they are dropped when this runs.
  connect(fields_.get(), &TKelModelFields::Changed, this, &TKelFilterProxyModel::FieldsChanged);
}

// The members that follow the source go before the base class lets go of it, and say nothing
// on their way (a box keeps its catalogue).
TKelFilterProxyModel::~TKelFilterProxyModel() = default;

void TKelFilterProxyModel::setSourceModel(QAbstractItemModel* model) {
  if (model == sourceModel()) return;
  // The columns follow the source before the base class hears of a change: when it asks which
  // rows pass, the buffers and the answers are those of the changed source.
  for (const QMetaObject::Connection& connection : sourceConnections_) disconnect(connection);
  sourceConnections_.clear();
  switchingSource_ = true;
  if (model) {
    sourceConnections_ = {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                [this] { sourceResetting_ = true; }),
    };
  }
  fields_->SetModel(model);
  columns_->SetModel(model);
  if (model) {
    sourceConnections_.push_back(
        connect(model, &QAbstractItemModel::modelReset, this, [this] { sourceResetting_ = false; }));
  }
  switchingSource_ = false;
  QSortFilterProxyModel::setSourceModel(model);
}

QString TKelFilterProxyModel::FilterText() const {
  return condition_ ? condition_->Text() : QString();
}

void TKelFilterProxyModel::SetFilterText(const QString& text) {
  if (text == FilterText()) return;
  if (text.trimmed().isEmpty()) return ApplyCondition(nullptr);
  ApplyCondition(
      std::make_unique<TKelModelCondition>(*fields_, *columns_, text, options_, ccrFilter));
}

void TKelFilterProxyModel::SetFilterOptions(TFilterOptions options) {
  if (options == options_) return;
  const TFilterOptions before = options_;
  options_ = options;
  if (!condition_) return;
  try {
    ApplyCondition(std::make_unique<TKelModelCondition>(*fields_, *columns_, condition_->Text(),
                                                        options_, ccrFilter));
  } catch (...) {
    options_ = before;
    throw;
  }
}

std::vector<uint8_t> TKelFilterProxyModel::Selected(TKelModelCondition& condition, int first,
                                                    int last) const {
  std::vector<uint8_t> selected(static_cast<size_t>(std::max(0, last - first + 1)));
  for (int begin = first; begin <= last; begin += kBlockRows) {
    const int count = std::min(kBlockRows, last - begin + 1);
    condition.Select(begin, count, selected.data() + (begin - first));
  }
  return selected;
}

void TKelFilterProxyModel::Fail(const QString& message) const {
  emit const_cast<TKelFilterProxyModel*>(this)->FilterFailed(message);
}

void TKelFilterProxyModel::EnsureAccepted() const {
  if (acceptedValid_) return;
  acceptedValid_ = true;
  const int rows = columns_->RowCount();
  try {
    accepted_ = Selected(*condition_, 0, rows - 1);
  } catch (const Exception& error) {
    accepted_.assign(static_cast<size_t>(rows), 0);
    Fail(error.Message());
  }
}

bool TKelFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  if (!condition_ || sourceParent.isValid()) return true;
  EnsureAccepted();
  return sourceRow >= 0 && static_cast<size_t>(sourceRow) < accepted_.size() &&
         accepted_[static_cast<size_t>(sourceRow)] != 0;
}

// The new answers are worked out first: a condition that raises on a row changes nothing.
void TKelFilterProxyModel::ApplyCondition(std::unique_ptr<TKelModelCondition> condition) {
  const int rows = columns_->RowCount();
  std::vector<uint8_t> after = condition ? Selected(*condition, 0, rows - 1)
                                         : std::vector<uint8_t>(static_cast<size_t>(rows), 1);
  std::vector<uint8_t> before;
  if (!condition_)
    before.assign(static_cast<size_t>(rows), 1);
  else if (acceptedValid_)
    before = std::move(accepted_);
  condition_ = std::move(condition);
  accepted_ = std::move(after);
  acceptedValid_ = condition_ != nullptr;
  Refilter(before);
}

void TKelFilterProxyModel::Refilter(const std::vector<uint8_t>& before) {
  const std::vector<uint8_t> all(condition_ ? 0 : static_cast<size_t>(columns_->RowCount()), 1);
  const std::vector<uint8_t>& after = condition_ ? accepted_ : all;
  if (before.size() != after.size()) return invalidateRowsFilter();
  int runs = 0;
  bool inRun = false;
  for (size_t row = 0; row < after.size(); ++row) {
    const bool changed = before[row] != after[row];
    if (changed && !inRun) ++runs;
    inRun = changed;
  }
  if (runs == 0) return;
  if (runs <= kRunsRemovedInPlace)
    invalidateRowsFilter();
  else
    invalidate();
}

void TKelFilterProxyModel::RowsInserted(int first, int last) {
  if (!condition_ || !acceptedValid_) return;
  std::vector<uint8_t> added;
  try {
    added = Selected(*condition_, first, last);
  } catch (const Exception& error) {
    added.assign(static_cast<size_t>(last - first + 1), 0);
    Fail(error.Message());
  }
  accepted_.insert(accepted_.begin() + first, added.begin(), added.end());
}

void TKelFilterProxyModel::RowsRemoved(int first, int last) {
  if (!condition_ || !acceptedValid_) return;
  accepted_.erase(accepted_.begin() + first, accepted_.begin() + last + 1);
}

void TKelFilterProxyModel::RowsChanged(int first, int last) {
  if (!condition_ || !acceptedValid_) return;
  for (int row = first; row <= last; ++row) {
    try {
      accepted_[static_cast<size_t>(row)] = condition_->Matches(row) ? 1 : 0;
    } catch (const Exception& error) {
      accepted_[static_cast<size_t>(row)] = 0;
      Fail(error.Message());
    }
  }
}

void TKelFilterProxyModel::ColumnsDropped() {
  if (condition_) condition_->Uncompile();
  acceptedValid_ = false;
}

// Other columns or types: the condition is read again against them; one that no longer reads
// (its column is gone) is dropped, and every row shows.
void TKelFilterProxyModel::FieldsChanged() {
  if (condition_) {
    try {
      condition_ = std::make_unique<TKelModelCondition>(*fields_, *columns_, condition_->Text(),
                                                        options_, ccrFilter);
    } catch (const Exception& error) {
      condition_.reset();
      Fail(error.Message());
    }
  }
  acceptedValid_ = false;
  box_->FieldsChanged();
  if (!switchingSource_ && !sourceResetting_) invalidateRowsFilter();
}

TKelFltBox* TKelFilterProxyModel::FilterBox() const { return box_->Box(); }

void TKelFilterProxyModel::SetFilterBox(TKelFltBox* box) { box_->SetBox(box); }

void TKelFilterProxyModel::FollowBox() {
  try {
    SetFilterText(box_->Box()->FilterStr());
  } catch (const Exception& error) {
    Fail(error.Message());
  }
}

int64_t TKelFilterProxyModel::SourceValuesRead() const { return columns_->ValuesRead(); }

}  // namespace Kel
