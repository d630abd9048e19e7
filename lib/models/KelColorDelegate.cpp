#include "KelColorDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

#include "KelCellStyle_p.h"
#include "Exceptions.h"
#include "KelGridColors.h"
#include "KelModelFields.h"
#include "RestoreOnExit.h"

namespace Kel {

TKelColorDelegate::TKelColorDelegate(QObject* parent)
    : QStyledItemDelegate(parent), fields_(std::make_unique<TKelModelFields>()) {
  connect(fields_.get(), &TKelModelFields::Changed, this, [this] {
    if (gridColors_) fields_->FillFields(gridColors_->Fields());
  });
}

TKelColorDelegate::~TKelColorDelegate() = default;

TKelGridColors* TKelColorDelegate::GridColors() const { return gridColors_; }

void TKelColorDelegate::SetGridColors(TKelGridColors* colors) {
  gridColors_ = colors;
  if (colors && fields_->Model()) fields_->FillFields(colors->Fields());
}

void TKelColorDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (gridColors_ && gridColors_->RecordsInfo()->Count() > 0) ApplyRules(option, index);
}

bool TKelColorDelegate::ApplyRules(QStyleOptionViewItem* option, const QModelIndex& index) const {
  auto* model = const_cast<QAbstractItemModel*>(index.model());
  // Another model's columns reach the rules' fields through Changed.
  if (fields_->Model() != model) fields_->SetModel(model);
  // The rules ask for the values of the row being painted by name.
  const int row = index.row();
  RestoreOnExit<TKelOnGetValue> values(
      gridColors_->OnGetFieldValue, [this, row](QObject*, const QString& name, Variant& value) {
        const int column = fields_->ColumnOf(name);
        if (column >= 0) value = fields_->Value(row, column);
      });
  bool found = false;
  TColor color = clWindow;
  TFont* font = nullptr;
  try {
    gridColors_->GetCellStyle(fields_->Name(index.column()), found, color, font);
  } catch (const Exception& error) {
    const QString message = error.Message();
    auto* self = const_cast<TKelColorDelegate*>(this);
    QTimer::singleShot(0, self, [self, message] { emit self->ColorRuleFailed(message); });
    return false;
  }
  if (!found) return false;
  const TKelCellStyle cell = CellStyleOfRule(color, font, option->widget);
  option->backgroundBrush = cell.Background;
  option->palette.setColor(QPalette::Text, cell.Text);
  option->font = cell.Font.resolve(option->font);
  option->fontMetrics = QFontMetrics(option->font);
  return true;
}

void TKelColorDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem styled(option);
  initStyleOption(&styled, index);
  if (styled.backgroundBrush.style() == Qt::NoBrush) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const bool selected = styled.state & QStyle::State_Selected;
  styled.state &= ~QStyle::State_Selected;
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &styled, painter, widget);
  if (selected) {
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
  }
}

}  // namespace Kel
