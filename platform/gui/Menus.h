#pragma once
// The classic menu traits on Qt's menus and actions:
//  - PopupMenu: the context menu of a widget (any QWidget, a form included), found by the
//    library's controls up the parent chain;
//  - GroupIndex: the order key by which merged menus sort their items;
//  - PopupComponent: the control that opened a context menu, for the handlers of its items;
//  - separators: an action that is a Qt separator or whose text is "-".

#include <QPointer>

#include "PlatformExport.h"

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace Kel {

KEL_PLATFORM_EXPORT void SetPopupMenu(QWidget* widget, QMenu* menu);
KEL_PLATFORM_EXPORT QMenu* PopupMenuOf(const QWidget* widget);

KEL_PLATFORM_EXPORT void SetMenuGroupIndex(QAction* action, int groupIndex);
KEL_PLATFORM_EXPORT int MenuGroupIndex(const QAction* action);  // 0 when never set

KEL_PLATFORM_EXPORT void SetPopupComponent(QMenu* menu, QObject* component);
KEL_PLATFORM_EXPORT QObject* PopupComponentOf(const QMenu* menu);

KEL_PLATFORM_EXPORT bool IsMenuSeparator(const QAction* action);

}  // namespace Kel
