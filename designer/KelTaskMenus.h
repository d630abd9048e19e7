#pragma once
// The task menus (context menu entries) of the library's controls in Designer, and the one-time
// preparation of a form editor for the library:
//   button panel   Edit Buttons...: the standard set, the set of kinds and the custom captions;
//   filter box     Edit Conditions...: the conditions, edited on a sample table;
//   list boxes     Save to Memory Slot... / Load from Memory Slot...: the box's memory slots
//                  (slots saved here are system slots, which a running program cannot overwrite).
// Every change goes through the form's command history, so it can be undone and is written into
// the .ui file. The items and slots of the list boxes are properties the property editor does
// not show (they are long texts in the .ui file); only the task menus change them.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <functional>

class QAction;
class QDesignerFormEditorInterface;

namespace Kel::Designer {

// Registers the task menus with core, once per form editor.
void PrepareFormEditor(QDesignerFormEditorInterface* core);

class TKelTaskMenu : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  TKelTaskMenu(QWidget* widget, QObject* parent);

  QAction* preferredEditAction() const override;
  QList<QAction*> taskActions() const override { return actions_; }
  bool IsEmpty() const { return actions_.isEmpty(); }

 private:
  void Add(const QString& text, std::function<void()> handler);

  QPointer<QWidget> widget_;
  QList<QAction*> actions_;
};

class TKelTaskMenuFactory : public QExtensionFactory {
  Q_OBJECT

 public:
  explicit TKelTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace Kel::Designer
