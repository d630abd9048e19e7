#pragma once
// What a screen reader meets in a parameter list box (and so in a filter box):
//   the box         a list; child i is line i, and with ShowAddItem the add line comes last;
//   a line          a list item named by its plain text (tags and "~" removed), checkable with
//                   the box's check boxes, selected and focused with the box's current line, its
//                   indent level in its description; its children are its clickable parameters;
//   a parameter     a link named by its text and described by what it edits; its default action
//                   opens its editor, which is then its one child (the open popup);
//   the add line    a button whose action adds a line.
// Lines and parameters stand for their TKelListItem and TKelListParam objects, so Qt's cache
// keeps one interface per object, made only when asked for and gone with the object: a box of
// ten thousand lines makes only the lines a reader visits.

#include <QAccessibleWidget>
#include <QPointer>

#include "KelAccessibleChildren_p.h"

namespace Kel {

class TKelPrmListBox;
class TKelListItem;
class TKelListParam;

class TKelAccessibleListBox : public QAccessibleWidget {
 public:
  explicit TKelAccessibleListBox(QWidget* widget);

  TKelPrmListBox* Box() const;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  // The add line (nullptr when the box shows none).
  QAccessibleInterface* AddLine() const;

 private:
  mutable TKelAccessibleChildren<int> addLine_;
};

class TKelAccessibleLine : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  explicit TKelAccessibleLine(TKelListItem* item);

  TKelListItem* Item() const { return item_; }
  TKelPrmListBox* Box() const;

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<TKelListItem> item_;
};

class TKelAccessibleParam : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  explicit TKelAccessibleParam(TKelListParam* param);

  TKelListParam* Param() const { return param_; }
  TKelListItem* Item() const;
  TKelPrmListBox* Box() const;
  // The parameter's editor while it is open.
  QWidget* OpenEditor() const;

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Link; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;

 private:
  // Makes the parameter the current one of the box's selected line.
  void MakeCurrent() const;

  QPointer<TKelListParam> param_;
};

// The row on the screen that shows item (0 = the top row), -1 when none does. It looks through
// the rows shown instead of asking the item for its index, which walks the whole list.
int ShownRow(const TKelPrmListBox* box, const TKelListItem* item);
// The box whose items hold item (nullptr for an item of a memory slot or a spare list).
TKelPrmListBox* BoxOfItem(const TKelListItem* item);
// The item a parameter belongs to.
TKelListItem* ItemOfParam(const TKelListParam* param);
// What a parameter edits, as its description says it (the filter box's field, operation,
// connector or value; a plain list box's parameter name).
QString ParamPurpose(const TKelListItem* item, const TKelListParam* param);

}  // namespace Kel
