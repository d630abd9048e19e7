#include "KelTaskMenus.h"

#include <QAction>
#include <QPair>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVariant>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

#include "KelBtPan.h"
#include "KelBtnPanelDialog.h"
#include "KelConditionsDialog.h"
#include "KelFltBox.h"
#include "KelListBox.h"

namespace Kel::Designer {

namespace {

using TPropertyValues = QList<QPair<QString, QVariant>>;

// Sets a property that the property editor does not show (the stored texts of the list boxes)
// through the widget's property sheet, as a step of the form's history like the property
// editor's own changes: undone, the property has its old value and state again.
class TSetHiddenPropertyCommand : public QUndoCommand {
 public:
  TSetHiddenPropertyCommand(QDesignerFormWindowInterface* form, QWidget* widget, QString name,
                            QVariant value)
      : QUndoCommand(QStringLiteral("Set %1").arg(name)),
        form_(form),
        widget_(widget),
        name_(std::move(name)),
        newValue_(std::move(value)) {
    if (QDesignerPropertySheetExtension* sheet = Sheet()) {
      const int index = sheet->indexOf(name_);
      oldValue_ = sheet->property(index);
      oldChanged_ = sheet->isChanged(index);
    }
  }
  void redo() override { Apply(newValue_, true); }
  void undo() override { Apply(oldValue_, oldChanged_); }

 private:
  QDesignerPropertySheetExtension* Sheet() const {
    if (!form_ || !widget_) return nullptr;
    return qt_extension<QDesignerPropertySheetExtension*>(form_->core()->extensionManager(),
                                                          widget_);
  }
  void Apply(const QVariant& value, bool changed) {
    QDesignerPropertySheetExtension* sheet = Sheet();
    if (!sheet) return;
    const int index = sheet->indexOf(name_);
    sheet->setProperty(index, value);
    sheet->setChanged(index, changed);
  }

  QPointer<QDesignerFormWindowInterface> form_;
  QPointer<QWidget> widget_;
  QString name_;
  QVariant newValue_;
  QVariant oldValue_;
  bool oldChanged_ = false;
};

bool IsHiddenProperty(const QString& name) {
  return name == QLatin1String("ItemsText") || name == QLatin1String("MemorySlotsText");
}

// Sets the properties as one step of the form's history (or directly outside a form).
void SetProperties(QWidget* widget, const TPropertyValues& values, const QString& description) {
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget);
  if (!form) {
    for (const auto& [name, value] : values) widget->setProperty(name.toLatin1(), value);
    return;
  }
  form->beginCommand(description);
  for (const auto& [name, value] : values) {
    if (IsHiddenProperty(name))
      form->commandHistory()->push(new TSetHiddenPropertyCommand(form, widget, name, value));
    else
      form->cursor()->setWidgetProperty(widget, name, value);
  }
  form->endCommand();
}

void EditButtons(TKelCustomBtnPanel* panel) {
  TKelBtnPanelDialog dialog(panel, panel->window());
  if (dialog.exec() != QDialog::Accepted) return;
  SetProperties(panel,
                {{QStringLiteral("DefButtons"), QVariant::fromValue(dialog.DefButtons())},
                 {QStringLiteral("DefButtonSet"), QVariant::fromValue(dialog.DefButtonFlags())},
                 {QStringLiteral("Buttons"), dialog.Captions()}},
                QStringLiteral("Edit buttons of %1").arg(panel->objectName()));
}

void EditConditions(TKelFltBox* box) {
  TKelConditionsDialog dialog(box, box->window());
  if (dialog.exec() != QDialog::Accepted) return;
  SetProperties(box, {{QStringLiteral("ItemsText"), dialog.ItemsText()}},
                QStringLiteral("Edit conditions of %1").arg(box->objectName()));
}

// The library's own slot dialog on the designed box: it is in the design state, so a slot saved
// now is a system slot and any slot may be deleted. The box is put back afterwards and the change
// goes through the form's history.
void EditMemory(TKelPrmListBox* box, bool save) {
  const QByteArray oldSlots = box->MemorySlotsText();
  const QByteArray oldItems = box->ItemsText();
  if (!box->MemoryDialog(save)) return;
  const QByteArray newSlots = box->MemorySlotsText();
  const QByteArray newItems = box->ItemsText();
  box->SetMemorySlotsText(oldSlots);
  box->SetItemsText(oldItems);
  TPropertyValues changes;
  if (newSlots != oldSlots)
    changes << qMakePair(QStringLiteral("MemorySlotsText"), QVariant(newSlots));
  if (newItems != oldItems) changes << qMakePair(QStringLiteral("ItemsText"), QVariant(newItems));
  if (!changes.isEmpty())
    SetProperties(box, changes, QStringLiteral("Memory slots of %1").arg(box->objectName()));
}

}  // namespace

void PrepareFormEditor(QDesignerFormEditorInterface* core) {
  static QList<QPointer<QDesignerFormEditorInterface>> prepared;
  if (!core || prepared.contains(core)) return;
  prepared << core;
  QExtensionManager* manager = core->extensionManager();
  manager->registerExtensions(new TKelTaskMenuFactory(manager),
                              Q_TYPEID(QDesignerTaskMenuExtension));
}

TKelTaskMenu::TKelTaskMenu(QWidget* widget, QObject* parent) : QObject(parent), widget_(widget) {
  if (auto* panel = qobject_cast<TKelCustomBtnPanel*>(widget))
    Add(QStringLiteral("Edit Buttons..."), [panel] { EditButtons(panel); });
  if (auto* filterBox = qobject_cast<TKelFltBox*>(widget))
    Add(QStringLiteral("Edit Conditions..."), [filterBox] { EditConditions(filterBox); });
  if (auto* box = qobject_cast<TKelPrmListBox*>(widget)) {
    Add(QStringLiteral("Save to Memory Slot..."), [box] { EditMemory(box, true); });
    Add(QStringLiteral("Load from Memory Slot..."), [box] { EditMemory(box, false); });
  }
}

void TKelTaskMenu::Add(const QString& text, std::function<void()> handler) {
  auto* action = new QAction(text, this);
  connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
    if (widget_) handler();
  });
  actions_ << action;
}

QAction* TKelTaskMenu::preferredEditAction() const {
  return actions_.isEmpty() ? nullptr : actions_.front();
}

QObject* TKelTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                              QObject* parent) const {
  if (iid != Q_TYPEID(QDesignerTaskMenuExtension) || !object->isWidgetType()) return nullptr;
  auto* menu = new TKelTaskMenu(static_cast<QWidget*>(object), parent);
  if (!menu->IsEmpty()) return menu;
  delete menu;
  return nullptr;
}

}  // namespace Kel::Designer
