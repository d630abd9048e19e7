#include "Menus.h"

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace Kel {

namespace {

// The traits travel as dynamic properties; object references as QPointers, so a menu or a
// component that is destroyed is never handed out.
constexpr const char* kPopupMenu = "_kel_PopupMenu";
constexpr const char* kGroupIndex = "_kel_GroupIndex";
constexpr const char* kPopupComponent = "_kel_PopupComponent";

void SetObjectTrait(QObject* holder, const char* name, QObject* value) {
  holder->setProperty(name, QVariant::fromValue(QPointer<QObject>(value)));
}

QObject* ObjectTrait(const QObject* holder, const char* name) {
  return holder->property(name).value<QPointer<QObject>>().data();
}

}  // namespace

void SetPopupMenu(QWidget* widget, QMenu* menu) {
  if (widget) SetObjectTrait(widget, kPopupMenu, menu);
}

QMenu* PopupMenuOf(const QWidget* widget) {
  return widget ? qobject_cast<QMenu*>(ObjectTrait(widget, kPopupMenu)) : nullptr;
}

void SetMenuGroupIndex(QAction* action, int groupIndex) {
  if (action) action->setProperty(kGroupIndex, groupIndex);
}

int MenuGroupIndex(const QAction* action) {
  return action ? action->property(kGroupIndex).toInt() : 0;
}

void SetPopupComponent(QMenu* menu, QObject* component) {
  if (menu) SetObjectTrait(menu, kPopupComponent, component);
}

QObject* PopupComponentOf(const QMenu* menu) {
  return menu ? ObjectTrait(menu, kPopupComponent) : nullptr;
}

bool IsMenuSeparator(const QAction* action) {
  return action && (action->isSeparator() || action->text() == QLatin1String("-"));
}

}  // namespace Kel
