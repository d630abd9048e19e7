#pragma once
// The classic menu traits on Qt's menus and actions:
//  - PopupMenu: the context menu of a widget (any QWidget, a form included), found by the
//    library's controls up the parent chain;
//  - GroupIndex: the order key by which merged menus sort their items;
//  - PopupComponent: the control that opened a context menu, for the handlers of its items;
//  - separators: an action that is a Qt separator or whose text is "-".

#include <QPointer>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace Kel {

void SetPopupMenu(QWidget* widget, QMenu* menu);
QMenu* PopupMenuOf(const QWidget* widget);

void SetMenuGroupIndex(QAction* action, int groupIndex);
int MenuGroupIndex(const QAction* action);  // 0 when never set

void SetPopupComponent(QMenu* menu, QObject* component);
QObject* PopupComponentOf(const QMenu* menu);

bool IsMenuSeparator(const QAction* action);

}  // namespace Kel
