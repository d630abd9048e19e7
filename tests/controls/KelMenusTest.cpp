// Context menus: merging ordered by group index with working copies, separator tidying, what
// the context menu of a control shows, and the other window helpers (deferred messages, shell
// open).
#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>

#include "KelControls.h"
#include "Menus.h"

namespace Kel {
namespace {

QStringList Texts(const QMenu* menu, bool visibleOnly = false) {
  QStringList texts;
  for (const QAction* action : menu->actions())
    if (!visibleOnly || action->isVisible()) texts.append(action->isSeparator() ? "-" : action->text());
  return texts;
}

QAction* AddItem(QMenu& menu, const QString& text, int groupIndex) {
  QAction* action = text == "-" ? menu.addSeparator() : menu.addAction(text);
  SetMenuGroupIndex(action, groupIndex);
  return action;
}

TEST(KelMergeMenus, CopiesAreOrderedByGroupIndexAndTriggerTheOriginals) {
  QWidget owner;
  QMenu own(&owner), app;
  QAction* add = AddItem(own, "Add", 0);
  AddItem(own, "-", 20);
  AddItem(own, "Open", 40);
  AddItem(app, "Zoom", 30);
  AddItem(app, "First", 0);  // ties keep their order: own's items come first
  QMenu sub("Sub");
  sub.addAction("Inner");
  app.addMenu(&sub);
  int added = 0;
  QObject::connect(add, &QAction::triggered, [&] { ++added; });
  add->setShortcut(QKeySequence("Ctrl+N"));
  std::unique_ptr<QMenu> merged(MergeMenus(&own, &app, &owner));
  ASSERT_TRUE(merged);
  EXPECT_EQ(Texts(merged.get()), (QStringList{"Add", "First", "Sub", "-", "Zoom", "Open"}));
  EXPECT_EQ(merged->parentWidget(), &owner);
  QAction* copy = merged->actions().front();
  EXPECT_EQ(copy->shortcut(), QKeySequence("Ctrl+N"));
  copy->trigger();
  EXPECT_EQ(added, 1);
  ASSERT_TRUE(merged->actions()[2]->menu());
  EXPECT_EQ(Texts(merged->actions()[2]->menu()), QStringList{"Inner"});
  QMenu empty;
  EXPECT_EQ(MergeMenus(&empty, nullptr, &owner), nullptr);
}

TEST(KelTidySeparators, EndsAndDoublesGoVisibleItemsDecide) {
  QMenu menu;
  for (const char* text : {"-", "A", "-", "-", "B", "-", "Hidden", "-"}) AddItem(menu, text, 0);
  menu.actions()[6]->setVisible(false);
  TidySeparators(&menu, 1);  // hides
  EXPECT_EQ(Texts(&menu, true), (QStringList{"A", "-", "B"}));
  EXPECT_EQ(menu.actions().size(), 8);
  TidySeparators(&menu, 2);  // shows every separator again, then tidies
  EXPECT_EQ(Texts(&menu, true), (QStringList{"A", "-", "B"}));
  RemoveInvisibleItems(&menu);
  TidySeparators(&menu, 0);  // removes
  EXPECT_EQ(Texts(&menu), (QStringList{"A", "-", "B"}));
  QMenu dashes;
  AddItem(dashes, "-", 0);
  dashes.addAction("-");  // an item captioned "-" is a separator too
  TidySeparators(&dashes, 0);
  EXPECT_TRUE(dashes.actions().isEmpty());
}

class TMenuControl : public TKelCustomControl {
 public:
  using TKelCustomControl::TKelCustomControl;

 protected:
  void InitDefaultKeys() override {}
};

class KelContextMenuTest : public ::testing::Test {
 protected:
  KelContextMenuTest() : control_(&form_), own_(&control_), app_(&form_) {
    form_.resize(200, 200);
    control_.resize(100, 100);
    AddItem(own_, "Own", 10);
    AddItem(own_, "-", 20);
    AddItem(app_, "App", 5);
    SetPopupMenu(&form_, &app_);  // found up the parent chain
    control_.SetDefaultPopupMenu(&own_);
    form_.show();
  }
  QWidget form_;
  TMenuControl control_;
  QMenu own_, app_;
};

TEST_F(KelContextMenuTest, DefaultMenuAloneOrMergedWithTheApplicationsMenu) {
  EXPECT_EQ(control_.FindPopupMenu(), &app_);
  int ownUpdates = 0;
  QObject::connect(&own_, &QMenu::aboutToShow, [&] { ++ownUpdates; });
  QMenu* shown = control_.ShowContextMenu(5, 5);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(Texts(shown), QStringList{"Own"});  // the trailing separator went
  EXPECT_EQ(PopupComponentOf(shown), &control_);
  EXPECT_EQ(ownUpdates, 1);
  shown->hide();
  control_.SetMergePopupMenus(true);
  shown = control_.ShowContextMenu(5, 5);
  EXPECT_EQ(Texts(shown), (QStringList{"App", "Own"}));
  shown->hide();
  control_.SetShowDefaultPopup(false);
  control_.SetMergePopupMenus(false);
  shown = control_.ShowContextMenu(5, 5);
  EXPECT_EQ(shown, &app_);
  shown->hide();
}

TEST_F(KelContextMenuTest, NothingOpensWhenEveryItemIsHiddenOrASeparator) {
  own_.actions().front()->setVisible(false);
  SetPopupMenu(&form_, nullptr);
  EXPECT_EQ(control_.ShowContextMenu(5, 5), nullptr);
  QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), control_.mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&control_, &event);
  EXPECT_FALSE(event.isAccepted());
}

TEST(KelHandleObject, MessagesArriveLaterAndDieWithTheObject) {
  QList<int> received;
  auto handle = std::make_unique<TKelHandleObject>([&](int message) { received.append(message); });
  handle->PostMessage(7);
  handle->PostMessage(8);
  EXPECT_TRUE(received.isEmpty());
  EXPECT_TRUE(handle->IsPending(7));
  QCoreApplication::processEvents();
  EXPECT_EQ(received, (QList<int>{7, 8}));
  EXPECT_EQ(handle->PendingCount(), 0);
  handle->PostMessage(9);
  handle.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(received, (QList<int>{7, 8}));
}

class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

TEST(KelShellOpen, AddressesAndFilesGoToTheDesktop) {
  TUrlCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "Open");
  QDesktopServices::setUrlHandler("http", &catcher, "Open");
  EXPECT_TRUE(ShellOpen("https://example.org/page"));
  EXPECT_TRUE(ShellOpen("  www.example.org  "));  // completed like a browser does
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("http");
  ASSERT_EQ(catcher.opened.size(), 2);
  EXPECT_EQ(catcher.opened[0], QUrl("https://example.org/page"));
  EXPECT_EQ(catcher.opened[1].host(), "www.example.org");
  EXPECT_FALSE(ShellOpen("   "));
}

}  // namespace
}  // namespace Kel

#include "KelMenusTest.moc"
