// Collections: items made through the item class, ids, order, change reports and update
// brackets, assignment, moving items between collections, name paths.
#include <gtest/gtest.h>

#include <QPointer>

#include "ClassesConsts.h"
#include "Collection.h"
#include "Exceptions.h"
#include "TestClasses.h"

namespace Kel {
namespace {

using KelTest::TTestCollection;
using KelTest::TTestComponent;
using KelTest::TTestFont;
using KelTest::TTestItem;
using KelTest::TTestSubItem;
using Log = std::vector<QString>;

// An item class without an invokable constructor: the collection cannot make one.
class TPlainItem : public TCollectionItem {
  Q_OBJECT
 public:
  explicit TPlainItem(TCollection* collection) : TCollectionItem(collection) {}
};

// An item whose constructor fails after the base part is built.
class TFailingItem : public TCollectionItem {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TFailingItem(TCollection* collection) : TCollectionItem(collection) {
    throw EAbort("no item today");
  }
};

TEST(Collection, AddMakesItemsOfTheItemClassWithFreshIds) {
  TTestCollection items;
  TTestItem* a = items.Add();
  TTestItem* b = items.Add();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(items.Count(), 2);
  EXPECT_EQ(a->Collection(), &items);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(b->ID(), 1);
  items.Delete(0);
  EXPECT_EQ(items.Add()->ID(), 2);  // ids are never reused
  EXPECT_EQ(items.FindItemID(1), b);
  EXPECT_EQ(items.FindItemID(0), nullptr);
  EXPECT_EQ(&items.ItemClass(), &TTestItem::staticMetaObject);
}

TEST(Collection, AddAnnouncesTheFullyConstructedItem) {
  TTestCollection items;
  items.TCollection::Add(TTestSubItem::staticMetaObject);
  EXPECT_EQ(items.log, (Log{"N:added:TTestSubItem", "U:-1"}));
  EXPECT_EQ(items.Items(0)->Count(), 3);
}

TEST(Collection, ItemClassMustFitTheCollection) {
  TTestCollection items;
  try {
    items.TCollection::Add(TCollectionItem::staticMetaObject);
    FAIL() << "no exception";
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "A TCollectionItem cannot be an item of a collection of TTestItem");
  }
  // (void): without it clang reads the line as the declaration of a variable.
  EXPECT_THROW((void)TCollection(TTestFont::staticMetaObject), EInvalidCast);
  TCollection plain(TPlainItem::staticMetaObject);
  try {
    plain.Add();
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "Cannot create an instance of TPlainItem");
  }
  EXPECT_EQ(plain.Count(), 0);
}

TEST(Collection, FailingItemConstructorLeavesCollectionUnchanged) {
  TCollection items(TFailingItem::staticMetaObject);
  EXPECT_THROW(items.Add(), EAbort);
  EXPECT_EQ(items.Count(), 0);
  // The collection still works afterwards.
  TCollection other(TCollectionItem::staticMetaObject);
  EXPECT_NE(other.Add(), nullptr);
  new TCollectionItem(&other);  // made directly: joins at once
  EXPECT_EQ(other.Count(), 2);
}

TEST(Collection, IndexErrorsNameTheIndex) {
  TTestCollection items;
  items.Add();
  try {
    items.TCollection::Items(1);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(items.Delete(-1), EListError);
  EXPECT_THROW(items.Insert(2), EListError);
  EXPECT_THROW(items.Items(0)->SetIndex(1), EListError);
  EXPECT_EQ(items.Count(), 1);
}

TEST(Collection, InsertAndSetIndexReorder) {
  TTestCollection items;
  items.Add()->SetName("a");
  items.Add()->SetName("b");
  TTestItem* c = static_cast<TTestItem*>(items.Insert(0));
  c->SetName("c");
  EXPECT_EQ(c->Index(), 0);
  EXPECT_EQ(items.Items(1)->Name(), "a");
  items.log.clear();
  c->SetIndex(2);
  EXPECT_EQ(items.Items(2), c);
  EXPECT_EQ(items.Items(0)->Name(), "a");
  EXPECT_EQ(items.log, (Log{"U:-1"}));  // a move changes the whole collection
  c->SetIndex(2);                       // no move, no report
  EXPECT_EQ(items.log.size(), 1u);
}

TEST(Collection, ItemChangeReportsTheItemOutsideUpdates) {
  TTestCollection items;
  items.Add();
  TTestItem* second = items.Add();
  items.log.clear();
  second->SetName("x");
  second->Touch();
  EXPECT_EQ(items.log, (Log{"U:1", "U:1"}));
}

TEST(Collection, NestedUpdateReportsOnceAtTheOutermostEnd) {
  TTestCollection items;
  items.Add();
  items.log.clear();
  items.BeginUpdate();
  items.Items(0)->SetName("x");
  items.BeginUpdate();
  items.Add();
  items.EndUpdate();
  EXPECT_EQ(items.log, (Log{"N:added:TTestItem"}));
  items.EndUpdate();
  EXPECT_EQ(items.log, (Log{"N:added:TTestItem", "U:-1"}));
  items.EndUpdate();  // unbalanced: reports again but never leaves the count below zero
  EXPECT_EQ(items.UpdateCount(), 0);
}

TEST(Collection, DeleteAndClearReportEveryItemAndOneUpdate) {
  TTestCollection items;
  items.Add()->SetName("a");
  items.Add()->SetName("b");
  items.Add()->SetName("c");
  items.log.clear();
  items.Delete(1);
  EXPECT_EQ(items.log, (Log{"N:deleting:b", "N:extracting:b", "U:-1"}));
  items.log.clear();
  items.Clear();
  // Last first, each taken out while still whole, one report at the end.
  EXPECT_EQ(items.log, (Log{"N:extracting:c", "N:extracting:a", "U:-1"}));
  EXPECT_EQ(items.Count(), 0);
  items.log.clear();
  items.Clear();  // already empty: nothing to report
  EXPECT_TRUE(items.log.empty());
}

TEST(Collection, FreeingAnItemTakesItOut) {
  TTestCollection items;
  TTestItem* a = items.Add();
  TTestItem* b = items.Add();
  delete a;
  ASSERT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Items(0), b);
  EXPECT_EQ(b->Index(), 0);
}

TEST(Collection, DestroyingTheCollectionFreesItsItems) {
  QPointer<TTestItem> item;
  {
    TTestCollection items;
    item = items.Add();
  }
  EXPECT_TRUE(item.isNull());
}

TEST(Collection, ItemsMoveBetweenCollectionsOfFittingClass) {
  TTestCollection from, to;
  TTestItem* item = from.Add();
  item->SetName("moving");
  item->SetCollection(&to);
  EXPECT_EQ(from.Count(), 0);
  EXPECT_EQ(to.Count(), 1);
  EXPECT_EQ(item->Collection(), &to);
  TCollection fonts(TPlainItem::staticMetaObject);
  try {
    item->SetCollection(&fonts);
    FAIL() << "no exception";
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "A TTestItem cannot be an item of a collection of TPlainItem");
  }
  EXPECT_EQ(item->Collection(), &to);  // a refused move leaves the item where it was
  item->SetCollection(nullptr);
  std::unique_ptr<TTestItem> orphan(item);
  EXPECT_EQ(to.Count(), 0);
  EXPECT_EQ(orphan->Index(), -1);
  EXPECT_EQ(orphan->GetNamePath(), "TTestItem");
}

TEST(Collection, AssignCopiesItemsInOneUpdate) {
  TTestCollection source, target;
  source.Add()->SetName("a");
  TTestItem* b = source.Add();
  b->SetName("b");
  b->SetCount(5);
  b->Lines()->Add("line");
  target.Add()->SetName("old");
  target.log.clear();
  target.Assign(&source);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Items(1)->Name(), "b");
  EXPECT_EQ(target.Items(1)->Count(), 5);
  EXPECT_TRUE(target.Items(1)->Lines()->Equals(*b->Lines()));
  EXPECT_NE(target.Items(1)->Lines(), b->Lines());
  EXPECT_EQ(std::count(target.log.begin(), target.log.end(), "U:-1"), 1);
  EXPECT_EQ(target.log.back(), "U:-1");
}

TEST(Collection, AssignToItselfKeepsTheItems) {
  TTestCollection items;
  items.Add()->SetName("keep");
  items.Assign(&items);
  ASSERT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Items(0)->Name(), "keep");
}

TEST(Collection, AssignFromUnrelatedClassRaisesAssignError) {
  TTestCollection items;
  TTestFont font;
  try {
    items.Assign(&font);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TTestFont to a TTestCollection");
  }
  try {
    items.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TTestCollection");
  }
}

TEST(Collection, NamePathsFollowOwnerAndProperty) {
  TTestComponent component;
  component.SetName("Box1");
  component.Items()->Add();
  TTestItem* item = component.Items()->Add();
  EXPECT_EQ(component.Items()->GetOwner(), &component);
  EXPECT_EQ(component.Items()->PropName(), "Items");
  EXPECT_EQ(component.Items()->GetNamePath(), "Box1.Items");
  EXPECT_EQ(item->GetNamePath(), "Box1.Items[1]");
  EXPECT_EQ(item->Children()->GetNamePath(), "Box1.Items[1].Children");
  TTestCollection ownerless;
  EXPECT_EQ(ownerless.GetNamePath(), "TTestCollection");
}

TEST(Collection, OwnerGoingFirstLeavesNoDanglingOwner) {
  auto owner = std::make_unique<TTestComponent>();
  TTestCollection items(owner.get());
  owner.reset();
  EXPECT_EQ(items.GetOwner(), nullptr);
  EXPECT_EQ(items.GetNamePath(), "TTestCollection");
}

TEST(Collection, DisplayNameDefaultsToClassNameAndSettingReportsChange) {
  TTestCollection items;
  TTestItem* item = items.Add();
  EXPECT_EQ(item->DisplayName(), "TTestItem");
  items.log.clear();
  item->SetDisplayName("ignored");
  EXPECT_EQ(items.log, (Log{"U:0"}));
}

}  // namespace
}  // namespace Kel

#include "CollectionTest.moc"
