#pragma once
// TKelColorDelegate: grid colours in any Qt item view. Part of unit KelModels.
//
// With GridColors set, each cell is coloured by the rules (TKelGridColors: condition, fields,
// background colour, font) evaluated on the cell's row of whatever model the view shows: the
// conditions name the model's columns as TKelModelFields names them (Fields() takes type hints).
// Without, a cell takes the background, foreground and font the model gives (as
// TKelDataSetModel does for the rules of a dataset). The font keeps the view's family and size
// and takes the rule's bold, italic, underline and strike-out.
//
// A coloured cell keeps its colours in a selected row, a dotted frame in the highlight colour
// marking the selection: otherwise the colouring would vanish under the cursor. A rule that
// fails on a row switches itself off; ColorRuleFailed says why, once, after the painting.

#include <QPointer>
#include <QStyledItemDelegate>
#include <memory>

#include "KelExport.h"

namespace Kel {

class TKelGridColors;
class TKelModelFields;

class KEL_EXPORT TKelColorDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TKelColorDelegate(QObject* parent = nullptr);
  ~TKelColorDelegate() override;

  TKelGridColors* GridColors() const;
  // The rules read the view's model; they must have no dataset of their own.
  void SetGridColors(TKelGridColors* colors);
  // The columns of the model last painted, as the rules name them.
  TKelModelFields* Fields() const { return fields_.get(); }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 signals:
  void ColorRuleFailed(const QString& message);

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  // Whether a rule colours the cell: its colours and font styles go into option.
  bool ApplyRules(QStyleOptionViewItem* option, const QModelIndex& index) const;

  QPointer<TKelGridColors> gridColors_;
  std::unique_ptr<TKelModelFields> fields_;
};

}  // namespace Kel
