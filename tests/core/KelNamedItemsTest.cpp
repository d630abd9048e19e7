// Named items and collections: finding by name, display names, change events, Assign through
// published properties, design state, and linked items watching components.
#include <gtest/gtest.h>

#include <QPointer>
#include <memory>
#include <vector>

#include "Exceptions.h"
#include "KelClasses.h"

namespace Kel {
namespace {

// A named item that publishes its name and two more properties.
class TColorItem : public TKelNamedItem {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(bool Bold READ Bold WRITE SetBold)

 public:
  Q_INVOKABLE explicit TColorItem(TCollection* collection) : TKelNamedItem(collection) {}
  int Color() const { return color_; }
  void SetColor(int value) { color_ = value; }
  bool Bold() const { return bold_; }
  void SetBold(bool value) { bold_ = value; }

 private:
  int color_ = 0;
  bool bold_ = false;
};

// Another named-item class sharing Name and Color, with Width instead of Bold.
class TSizeItem : public TKelNamedItem {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)

 public:
  Q_INVOKABLE explicit TSizeItem(TCollection* collection) : TKelNamedItem(collection) {}
  int Color() const { return color_; }
  void SetColor(int value) { color_ = value; }
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }

 private:
  int color_ = 0;
  int width_ = 5;
};

// A linked item that counts what it hears and drops its reference.
class TWatchingItem : public TKelLinkedItem {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TWatchingItem(TCollection* collection) : TKelLinkedItem(collection) {}
  TComponent* watched = nullptr;
  std::vector<std::pair<TComponent*, TOperation>> heard;

 protected:
  void ComponentRemoved(TComponent* component, TOperation operation) override {
    heard.emplace_back(component, operation);
    if (component == watched) watched = nullptr;
  }
};

TEST(KelNamedItems, IndexOfNameIgnoresCaseAndFirstMatchWins) {
  TKelNamedItems items(nullptr, TKelNamedItem::staticMetaObject);
  items.Add()->SetName("other");
  items.Add()->SetName("NAME");
  items.Add()->SetName("Name");
  EXPECT_EQ(items.IndexOfName("name"), 1);
  EXPECT_EQ(items.ItemByName("nAmE"), items.Items(1));
  EXPECT_EQ(items.IndexOfName("missing"), -1);
  EXPECT_EQ(items.ItemByName("missing"), nullptr);
  // Only ASCII letters are folded, as the classic comparison does.
  items.Add()->SetName(QStringLiteral("\u00C4rger"));
  EXPECT_EQ(items.IndexOfName(QStringLiteral("\u00E4rger")), -1);
  EXPECT_EQ(items.IndexOfName(QStringLiteral("\u00C4RGER")), 3);
}

TEST(KelNamedItems, CollectionNeedsNamedItemClass) {
  EXPECT_THROW(TKelNamedItems(nullptr, TCollectionItem::staticMetaObject), EInvalidCast);
}

TEST(KelNamedItems, DisplayNameFallsBackToClassName) {
  TKelNamedItems items(nullptr, TColorItem::staticMetaObject);
  TKelNamedItem* item = items.Add();
  EXPECT_EQ(item->DisplayName(), "TColorItem");
  item->SetName("Warning");
  EXPECT_EQ(item->DisplayName(), "Warning");
  items.OnGetItemDisplayName = [](TKelCustomNamedItems* sender, TKelNamedItem* i, QString& name) {
    name = name.isEmpty() ? QString() : "[" + name + "]";
  };
  EXPECT_EQ(item->DisplayName(), "[Warning]");
  item->SetName("");
  EXPECT_EQ(item->DisplayName(), "TColorItem");  // the handler left it empty
}

TEST(KelNamedItems, SetDisplayNameSetsNameWithoutChangeReport) {
  TKelNamedItems items(nullptr, TKelNamedItem::staticMetaObject);
  TKelNamedItem* item = items.Add();
  int updates = 0;
  items.OnCollectionChange = [&](TKelCustomNamedItems*) { ++updates; };
  item->SetDisplayName("Quiet");
  EXPECT_EQ(item->Name(), "Quiet");
  EXPECT_EQ(updates, 0);
}

TEST(KelNamedItems, UpdateFiresCollectionChangeThenItemUpdate) {
  TKelNamedItems items(nullptr, TKelNamedItem::staticMetaObject);
  std::vector<QString> log;
  items.OnCollectionChange = [&](TKelCustomNamedItems* sender) {
    EXPECT_EQ(sender, &items);
    log.push_back("change");
  };
  items.OnItemUpdate = [&](TKelCustomNamedItems* sender, TCollectionItem* item) {
    log.push_back(item ? QStringLiteral("item %1").arg(item->Index()) : QStringLiteral("all"));
  };
  TKelNamedItem* item = items.Add();
  EXPECT_EQ(log, (std::vector<QString>{"change", "all"}));
  log.clear();
  item->Changed();
  EXPECT_EQ(log, (std::vector<QString>{"change", "item 0"}));
  log.clear();
  items.BeginUpdate();
  item->Changed();
  items.Add();
  items.EndUpdate();
  EXPECT_EQ(log, (std::vector<QString>{"change", "all"}));
}

TEST(KelNamedItems, ItemChangedCanDriveAnotherCollection) {
  // An owning item binds its change report to the collection it holds.
  TKelNamedItems outer(nullptr, TKelNamedItem::staticMetaObject);
  TKelNamedItem* owner = outer.Add();
  TKelNamedItems inner(owner, TKelNamedItem::staticMetaObject);
  inner.OnCollectionChange = [owner](TKelCustomNamedItems*) { owner->Changed(); };
  std::vector<TCollectionItem*> updated;
  outer.OnItemUpdate = [&](TKelCustomNamedItems*, TCollectionItem* item) {
    updated.push_back(item);
  };
  inner.Add();
  EXPECT_EQ(updated, std::vector<TCollectionItem*>{owner});
}

TEST(KelNamedItems, AssignCopiesExactlyTheSharedPublishedProperties) {
  TKelNamedItems colors(nullptr, TColorItem::staticMetaObject);
  TKelNamedItems sizes(nullptr, TSizeItem::staticMetaObject);
  auto* color = colors.Add<TColorItem>();
  color->SetName("Accent");
  color->SetColor(0xFF);
  color->SetBold(true);
  auto* size = sizes.Add<TSizeItem>();
  size->SetWidth(9);
  size->Assign(color);
  EXPECT_EQ(size->Name(), "Accent");
  EXPECT_EQ(size->Color(), 0xFF);
  EXPECT_EQ(size->Width(), 9);  // not in the source: untouched
}

TEST(KelNamedItems, AssignFromUnrelatedClassRaisesAssignError) {
  TKelNamedItems items(nullptr, TColorItem::staticMetaObject);
  TKelNamedItem* item = items.Add();
  TStringList notAnItem;
  TKelNamedItems other(nullptr, TKelNamedItem::staticMetaObject);
  try {
    item->Assign(&other);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TKelNamedItems to a TColorItem");
  }
}

TEST(KelNamedItems, IsDesigningFollowsOwnersToAComponent) {
  TComponent form;
  TKelNamedItems outer(&form, TKelNamedItem::staticMetaObject);
  TKelNamedItem* owner = outer.Add();
  TKelNamedItems inner(owner, TKelNamedItem::staticMetaObject);
  TKelNamedItem* item = inner.Add();
  EXPECT_FALSE(item->IsDesigning());
  form.SetDesigning(true);
  EXPECT_TRUE(item->IsDesigning());
  TKelNamedItems ownerless(nullptr, TKelNamedItem::staticMetaObject);
  EXPECT_FALSE(ownerless.Add()->IsDesigning());
  QObject plainOwner;  // a chain that ends without a component
  TKelNamedItems underPlain(&plainOwner, TKelNamedItem::staticMetaObject);
  EXPECT_FALSE(underPlain.Add()->IsDesigning());
}

TEST(KelLinkedItem, DestroyedComponentIsReportedOnce) {
  TKelNamedItems items(nullptr, TWatchingItem::staticMetaObject);
  auto* item = items.Add<TWatchingItem>();
  auto* dataset = new TComponent;
  EXPECT_FALSE(item->HasLinkComp());
  item->watched = dataset;
  item->LinkComponent(dataset);
  item->LinkComponent(dataset);  // linking twice still reports once
  item->LinkComponent(nullptr);
  EXPECT_TRUE(item->HasLinkComp());
  delete dataset;
  ASSERT_EQ(item->heard.size(), 1u);
  EXPECT_EQ(item->heard[0].first, dataset);
  EXPECT_EQ(item->heard[0].second, opRemove);
  EXPECT_EQ(item->watched, nullptr);
}

TEST(KelLinkedItem, OneWatcherServesSeveralComponents) {
  TKelNamedItems items(nullptr, TWatchingItem::staticMetaObject);
  auto* item = items.Add<TWatchingItem>();
  auto a = std::make_unique<TComponent>();
  auto b = std::make_unique<TComponent>();
  item->LinkComponent(a.get());
  TKelLinkedComp* watcher = item->LinkComp();
  item->LinkComponent(b.get());
  EXPECT_EQ(item->LinkComp(), watcher);
  b.reset();
  a.reset();
  EXPECT_EQ(item->heard.size(), 2u);
}

TEST(KelLinkedItem, ItemGoingFirstLeavesNothingInTheWatchedComponent) {
  auto dataset = std::make_unique<TComponent>();
  {
    TKelNamedItems items(nullptr, TWatchingItem::staticMetaObject);
    items.Add<TWatchingItem>()->LinkComponent(dataset.get());
  }
  dataset.reset();  // must not reach the freed watcher or item (checked under ASan)
}

}  // namespace
}  // namespace Kel

#include "KelNamedItemsTest.moc"
