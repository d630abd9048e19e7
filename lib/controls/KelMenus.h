#pragma once
// Menu merging for context menus: a control's own menu and the application's menu become one,
// ordered by group index, with tidy separators.

#include <QList>

#include "KelExport.h"

class QAction;
class QMenu;
class QWidget;

namespace Kel {

// A new menu (child of owner, else of a's parent widget) with a copy of every top-level item of
// a, then of b (either may be null), ordered by group index (items of equal index keep their
// order). A copy takes the item's text, icon, shortcut, check and enabled states, visibility,
// group index and sub-items, and triggering it triggers the original. nullptr when there are no
// items at all.
KEL_EXPORT QMenu* MergeMenus(QMenu* a, QMenu* b, QWidget* owner = nullptr);

// Separators (Qt separators or items with the text "-") are tidied among the visible items:
// none at the start, none at the end, never two in a row. Mode 0 removes such separators (and
// frees those the menu owns); other modes hide them; mode 2 first shows every separator again.
KEL_EXPORT void TidySeparators(QMenu* menu, int mode);

// Removes (and frees, when the menu owns them) the items that are not visible.
KEL_EXPORT void RemoveInvisibleItems(QMenu* menu);

}  // namespace Kel
