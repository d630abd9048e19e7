// Components: ownership and destruction order, free notification (each party told once, nobody
// left with a dangling pointer), component state and the global-loading bracket.
#include <gtest/gtest.h>

#include <QPointer>
#include <algorithm>
#include <memory>

#include "ClassesConsts.h"
#include "Component.h"
#include "Exceptions.h"
#include "TestClasses.h"

namespace Kel {
namespace {

using KelTest::TTestComponent;

int CountNotifications(const TTestComponent& c, TComponent* subject, TOperation operation) {
  return static_cast<int>(std::count(c.notifications.begin(), c.notifications.end(),
                                     std::make_pair(subject, operation)));
}

// A named component whose final destruction (after everything it owns) is logged.
TComponent* NewLogged(TComponent* owner, const QString& name, std::vector<QString>* log) {
  auto* c = new TComponent(owner);
  c->SetName(name);
  QObject::connect(c, &QObject::destroyed, [log, name] { log->push_back(name); });
  return c;
}

TEST(ComponentOwnership, OwnerFreesOwnedComponentsLastInsertedFirst) {
  std::vector<QString> log;
  {
    TComponent owner;
    NewLogged(&owner, "A", &log);
    TComponent* b = NewLogged(&owner, "B", &log);
    NewLogged(b, "B1", &log);
    NewLogged(&owner, "C", &log);
    EXPECT_EQ(owner.ComponentCount(), 3);
    EXPECT_EQ(owner.Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
  }
  EXPECT_EQ(log, (std::vector<QString>{"C", "B1", "B", "A"}));
}

TEST(ComponentOwnership, ComponentsIndexErrorNamesTheIndex) {
  TComponent owner;
  try {
    owner.Components(0);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (0)");
  }
}

TEST(ComponentOwnership, DeletingOwnedComponentTakesItOutOfTheList) {
  TComponent owner;
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
}

TEST(ComponentOwnership, InsertMovesBetweenOwnersAndTellsBoth) {
  TTestComponent first, second;
  auto* child = new TTestComponent(&first);
  first.notifications.clear();
  second.InsertComponent(child);
  EXPECT_EQ(child->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(CountNotifications(first, child, opRemove), 1);
  EXPECT_EQ(CountNotifications(second, child, opInsert), 1);
  second.RemoveComponent(child);
  EXPECT_EQ(child->Owner(), nullptr);
  EXPECT_EQ(CountNotifications(second, child, opRemove), 1);
  delete child;  // alive without owner until freed by hand
}

TEST(ComponentOwnership, OwnershipCyclesAreRefused) {
  TComponent root;
  auto* child = new TComponent(&root);
  auto* grandChild = new TComponent(child);
  grandChild->SetName("Grand");
  EXPECT_THROW(root.InsertComponent(&root), EComponentError);
  TComponent* rootPtr = &root;
  try {
    grandChild->InsertComponent(rootPtr);
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component cannot own itself or its owner: TComponent");
  }
  EXPECT_EQ(root.Owner(), nullptr);
  EXPECT_EQ(grandChild->ComponentCount(), 0);
}

TEST(ComponentFreeNotification, DestroyingTellsOwnerTreeAndPartnersExactlyOnce) {
  TTestComponent form;
  auto* dataset = new TTestComponent(&form);
  auto* grid = new TTestComponent(&form);
  auto* column = new TTestComponent(grid);  // in the owner's tree, one level down
  TTestComponent outside;                   // owned elsewhere, linked by free notification
  outside.SetLink(dataset);
  grid->SetLink(dataset);  // a sibling that also asked: still told only once
  delete dataset;
  EXPECT_EQ(CountNotifications(form, dataset, opRemove), 1);
  EXPECT_EQ(CountNotifications(*grid, dataset, opRemove), 1);
  EXPECT_EQ(CountNotifications(*column, dataset, opRemove), 1);
  EXPECT_EQ(CountNotifications(outside, dataset, opRemove), 1);
  EXPECT_EQ(outside.Link(), nullptr);
  EXPECT_EQ(grid->Link(), nullptr);
}

TEST(ComponentFreeNotification, DestroyingASubtreeTellsEachLevelsOwnerOnly) {
  TTestComponent form;
  auto* panel = new TTestComponent(&form);
  auto* sibling = new TTestComponent(&form);
  auto* button = new TTestComponent(panel);
  TTestComponent watcher;
  watcher.SetLink(button);
  QPointer<TTestComponent> watch(button);
  form.notifications.clear();
  sibling->notifications.clear();
  delete panel;
  EXPECT_TRUE(watch.isNull());
  // The panel's owner tree hears of the panel; the button's removal concerns the panel's tree
  // and the button's partners, not the components above the panel.
  EXPECT_EQ(CountNotifications(form, panel, opRemove), 1);
  EXPECT_EQ(CountNotifications(*sibling, panel, opRemove), 1);
  EXPECT_EQ(CountNotifications(form, button, opRemove), 0);
  EXPECT_EQ(CountNotifications(watcher, button, opRemove), 1);
  EXPECT_EQ(watcher.Link(), nullptr);
}

TEST(ComponentFreeNotification, DeadWatcherIsNeverCalled) {
  // The link works both ways: a watcher that dies first leaves nothing behind in the target,
  // so the target's later destruction calls nobody (ASan would report a use after free).
  auto target = std::make_unique<TTestComponent>();
  {
    TTestComponent watcher;
    watcher.SetLink(target.get());
  }
  target.reset();
}

TEST(ComponentFreeNotification, RemoveFreeNotificationUnlinksBothWays) {
  TTestComponent a, b;
  a.FreeNotification(&b);
  a.FreeNotification(&b);  // once is enough
  a.RemoveFreeNotification(&b);
  auto c = std::make_unique<TTestComponent>();
  c->FreeNotification(&a);
  c.reset();
  EXPECT_TRUE(b.notifications.empty());
  EXPECT_EQ(a.notifications.size(), 1u);
}

// Frees another component from its Notification handler.
class TFreeingComponent : public TComponent {
 public:
  using TComponent::TComponent;
  TComponent* victim = nullptr;
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && victim) {
      TComponent* v = victim;
      victim = nullptr;
      delete v;
    }
  }
};

TEST(ComponentFreeNotification, TargetFreedByAnotherHandlerIsSkipped) {
  auto* subject = new TComponent;
  TFreeingComponent first;
  auto* second = new TTestComponent;
  first.victim = second;
  subject->FreeNotification(second);
  subject->FreeNotification(&first);  // told first (partners are told last linked first)
  delete subject;                     // must not call the freed second component
  EXPECT_EQ(first.victim, nullptr);
}

// Remembers the component state it sees when told about a sibling's removal.
class TStateProbe : public TComponent {
 public:
  TStateProbe(TComponent* owner, bool* sawDestroying) : TComponent(owner), saw_(sawDestroying) {}
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) *saw_ = ComponentState().Contains(csDestroying);
  }

 private:
  bool* saw_;
};

TEST(ComponentState, OwnedComponentsAreMarkedDestroyingBeforeAnyIsFreed) {
  bool sawDestroying = false;
  {
    TComponent owner;
    new TStateProbe(&owner, &sawDestroying);
    new TComponent(&owner);  // freed first; the probe hears of it while waiting for its turn
  }
  EXPECT_TRUE(sawDestroying);
}

TEST(ComponentState, DesigningSpreadsToOwnedAndInsertedComponents) {
  TComponent form;
  auto* child = new TComponent(&form);
  form.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* late = new TComponent(&form);
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
  form.SetDesigning(false, /*setChildren=*/false);
  EXPECT_FALSE(form.ComponentState().Contains(csDesigning));
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

TEST(ComponentState, LoadedClearsLoading) {
  TTestComponent c;
  c.SetLoading(true);
  c.SetReading(true);
  EXPECT_TRUE(c.ComponentState().Contains(csLoading));
  c.Loaded();
  EXPECT_FALSE(c.ComponentState().Contains(csLoading));
  EXPECT_TRUE(c.ComponentState().Contains(csReading));
  EXPECT_EQ(c.loadedCount, 1);
}

TEST(GlobalLoading, NotifyCallsLoadedOnceForEveryLiveCollectedComponent) {
  EXPECT_FALSE(IsGlobalLoading());
  TTestComponent a;
  auto* gone = new TTestComponent;
  EXPECT_FALSE(AddGlobalLoaded(&a));  // no bracket: the reader calls Loaded itself
  {
    TGlobalLoadingScope scope;
    EXPECT_TRUE(IsGlobalLoading());
    EXPECT_TRUE(AddGlobalLoaded(&a));
    EXPECT_TRUE(AddGlobalLoaded(&a));
    EXPECT_TRUE(AddGlobalLoaded(gone));
    delete gone;
    NotifyGlobalLoading();
  }
  EXPECT_FALSE(IsGlobalLoading());
  EXPECT_EQ(a.loadedCount, 1);
}

TEST(GlobalLoading, BracketsNestWithTheirOwnLists) {
  TTestComponent outer, inner;
  BeginGlobalLoading();
  AddGlobalLoaded(&outer);
  BeginGlobalLoading();
  AddGlobalLoaded(&inner);
  NotifyGlobalLoading();
  EndGlobalLoading();
  EXPECT_EQ(outer.loadedCount, 0);
  EXPECT_EQ(inner.loadedCount, 1);
  NotifyGlobalLoading();
  EndGlobalLoading();
  EXPECT_EQ(outer.loadedCount, 1);
  EXPECT_EQ(inner.loadedCount, 1);
  EndGlobalLoading();  // unbalanced: harmless
  EXPECT_FALSE(IsGlobalLoading());
}

}  // namespace
}  // namespace Kel
