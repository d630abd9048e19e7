#pragma once
// What a screen reader meets in a calculator and its display:
//   the calculator  a grouping of its 27 buttons (child i is the button of kind i + 1), the
//                   controller of its display;
//   a button        named by what it does ("7", "plus", "memory recall", "square root"),
//                   described by its caption when that differs; its action presses it, a greyed
//                   button is disabled;
//   the display     read-only text whose text is what the display shows.

#include <QAccessibleWidget>

#include "KelAccessibleChildren_p.h"

namespace Kel {

class TKelCustomCalculator;
class TKelCalcDisplay;

class TKelAccessibleCalculator : public QAccessibleWidget {
 public:
  explicit TKelAccessibleCalculator(QWidget* widget);

  TKelCustomCalculator* Calculator() const;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match = QAccessible::AllRelations) const override;

 private:
  mutable TKelAccessibleChildren<int> buttons_;
};

class TKelAccessibleCalcDisplay : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TKelAccessibleCalcDisplay(QWidget* widget);

  TKelCalcDisplay* Display() const;
  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // ---- text (read-only, no selection, no caret)
  void selection(int, int* startOffset, int* endOffset) const override;
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* startOffset, int* endOffset) const override;
};

// The name a screen reader gives a calculator button.
QString CalcButtonAccessibleName(int kind);

}  // namespace Kel
