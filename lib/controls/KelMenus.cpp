#include "KelMenus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "Menus.h"

namespace Kel {

namespace {

QAction* CopyItem(QAction* source, QMenu* into) {
  auto* copy = new QAction(into);
  copy->setSeparator(source->isSeparator());
  copy->setText(source->text());
  copy->setIcon(source->icon());
  copy->setIconVisibleInMenu(source->isIconVisibleInMenu());
  copy->setShortcuts(source->shortcuts());
  copy->setCheckable(source->isCheckable());
  copy->setChecked(source->isChecked());
  copy->setEnabled(source->isEnabled());
  copy->setVisible(source->isVisible());
  copy->setToolTip(source->toolTip());
  copy->setStatusTip(source->statusTip());
  copy->setFont(source->font());
  copy->setData(source->data());
  SetMenuGroupIndex(copy, MenuGroupIndex(source));
  if (QMenu* sub = source->menu()) {
    auto* subCopy = new QMenu(source->text(), into);
    for (QAction* item : sub->actions()) subCopy->addAction(CopyItem(item, subCopy));
    copy->setMenu(subCopy);
  }
  if (!source->isSeparator() && !source->menu())
    QObject::connect(copy, &QAction::triggered, source, [source] { source->trigger(); });
  return copy;
}

void RemoveItem(QMenu* menu, QAction* item) {
  menu->removeAction(item);
  if (item->parent() == menu) delete item;
}

}  // namespace

QMenu* MergeMenus(QMenu* a, QMenu* b, QWidget* owner) {
  std::vector<QAction*> sources;
  for (QMenu* menu : {a, b})
    if (menu)
      for (QAction* item : menu->actions()) sources.push_back(item);
  if (sources.empty()) return nullptr;
  std::stable_sort(sources.begin(), sources.end(), [](const QAction* x, const QAction* y) {
    return MenuGroupIndex(x) < MenuGroupIndex(y);
  });
  if (!owner) owner = a ? a->parentWidget() : b->parentWidget();
  auto* merged = new QMenu(owner);
  for (QAction* source : sources) merged->addAction(CopyItem(source, merged));
  return merged;
}

void TidySeparators(QMenu* menu, int mode) {
  if (!menu) return;
  const QList<QAction*> all = menu->actions();
  if (mode == 2)
    for (QAction* item : all)
      if (IsMenuSeparator(item)) item->setVisible(true);
  std::vector<QAction*> visible;
  for (QAction* item : all)
    if (item->isVisible()) visible.push_back(item);
  std::vector<QAction*> removed;
  const auto drop = [&](std::size_t index) {
    removed.push_back(visible[index]);
    visible.erase(visible.begin() + static_cast<std::ptrdiff_t>(index));
  };
  while (!visible.empty() && IsMenuSeparator(visible.front())) drop(0);
  while (!visible.empty() && IsMenuSeparator(visible.back())) drop(visible.size() - 1);
  for (std::size_t i = visible.size() >= 2 ? visible.size() - 1 : 0; i-- > 0;)
    if (IsMenuSeparator(visible[i]) && IsMenuSeparator(visible[i + 1])) drop(i);
  for (QAction* item : removed) {
    if (mode == 0)
      RemoveItem(menu, item);
    else
      item->setVisible(false);
  }
}

void RemoveInvisibleItems(QMenu* menu) {
  if (!menu) return;
  for (QAction* item : menu->actions())
    if (!item->isVisible()) RemoveItem(menu, item);
}

}  // namespace Kel
