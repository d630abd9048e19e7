#include "DBGridModel.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

namespace Kel {

TDBGridModel::TDBGridModel(QObject* parent) : TKelDataSetModel(parent) {
  connect(this, &TKelDataSetModel::CurrentRowChanged, this, [this] {
    if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  });
}

TDBGridModel::~TDBGridModel() = default;

void TDBGridModel::ColumnsRebuilt() { highlighted_.assign(static_cast<size_t>(columnCount()), 0); }

bool TDBGridModel::TitleHighlighted(int column) const {
  return column >= 0 && column < static_cast<int>(highlighted_.size()) &&
         highlighted_[static_cast<size_t>(column)] != 0;
}

void TDBGridModel::SetTitleHighlighted(int column, bool highlighted) {
  if (column < 0 || column >= static_cast<int>(highlighted_.size()) ||
      TitleHighlighted(column) == highlighted)
    return;
  highlighted_[static_cast<size_t>(column)] = highlighted ? ++highlightCount_ : 0;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

std::vector<int> TDBGridModel::HighlightedColumns() const {
  std::vector<int> columns;
  for (size_t column = 0; column < highlighted_.size(); ++column)
    if (highlighted_[column] != 0) columns.push_back(static_cast<int>(column));
  std::sort(columns.begin(), columns.end(), [this](int a, int b) {
    return highlighted_[static_cast<size_t>(a)] < highlighted_[static_cast<size_t>(b)];
  });
  return columns;
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The row headers are the record indicator: a mark beside the current record only.
    if (role == Qt::DisplayRole) return section == CurrentRow() ? QStringLiteral("\u25B8") : QString();
    return {};
  }
  switch (role) {
    case Qt::BackgroundRole:
      if (TitleHighlighted(section)) return QApplication::palette().brush(QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (TitleHighlighted(section)) return QApplication::palette().brush(QPalette::HighlightedText);
      return {};
    default:
      return TKelDataSetModel::headerData(section, orientation, role);
  }
}

}  // namespace Kel
