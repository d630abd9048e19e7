// The class registry: registering and finding classes by name, and creating components,
// collection items and other objects by class.
#include <gtest/gtest.h>

#include <memory>

#include "ClassRegistry.h"
#include "ClassesConsts.h"
#include "Exceptions.h"
#include "TestClasses.h"

namespace KelOther {
// Same short name as a test class, different namespace: a clash in the registry.
class TTestFont : public Kel::TPersistent {
  Q_OBJECT
};
}  // namespace KelOther

namespace Kel {
namespace {

using KelTest::TTestComponent;
using KelTest::TTestItem;
using KelTest::TTestSubItem;

// A component with only a default constructor: created, then inserted into its owner.
class TDefaultOnly : public TComponent {
  Q_OBJECT
 public:
  Q_INVOKABLE TDefaultOnly() = default;
};

// A component without invokable constructor.
class TNotCreatable : public TComponent {
  Q_OBJECT
 public:
  explicit TNotCreatable(TComponent* owner) : TComponent(owner) {}
};

class ClassRegistry : public ::testing::Test {
 protected:
  void SetUp() override { KelTest::RegisterTestClasses(); }
};

TEST_F(ClassRegistry, FindsRegisteredClassesIgnoringCase) {
  EXPECT_EQ(GetClass("TTestComponent"), &TTestComponent::staticMetaObject);
  EXPECT_EQ(GetClass("ttestitem"), &TTestItem::staticMetaObject);
  EXPECT_EQ(&FindClass("TTESTSUBITEM"), &TTestSubItem::staticMetaObject);
  EXPECT_EQ(GetClass("KelTest::TTestItem"), nullptr);  // registered by the short name
  try {
    FindClass("TNope");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNope not found");
  }
}

TEST_F(ClassRegistry, RegisteringAgainIsHarmlessButAClashIsAnError) {
  RegisterClass(TTestItem::staticMetaObject);
  try {
    RegisterClass(KelOther::TTestFont::staticMetaObject);
    FAIL() << "no exception";
  } catch (const EFilerError& e) {
    EXPECT_EQ(e.Message(), "A class named TTestFont already exists");
  }
  EXPECT_EQ(GetClass("TTestFont"), &KelTest::TTestFont::staticMetaObject);
}

TEST_F(ClassRegistry, UnRegisterForgetsOnlyThatClass) {
  RegisterClass(TDefaultOnly::staticMetaObject);
  UnRegisterClass(KelOther::TTestFont::staticMetaObject);  // not the registered one
  EXPECT_NE(GetClass("TTestFont"), nullptr);
  UnRegisterClass(TDefaultOnly::staticMetaObject);
  EXPECT_EQ(GetClass("TDefaultOnly"), nullptr);
}

TEST_F(ClassRegistry, InheritsFromFollowsTheClassChain) {
  EXPECT_TRUE(InheritsFrom(&TTestSubItem::staticMetaObject, &TTestItem::staticMetaObject));
  EXPECT_TRUE(InheritsFrom(&TTestItem::staticMetaObject, &TTestItem::staticMetaObject));
  EXPECT_TRUE(InheritsFrom(&TTestComponent::staticMetaObject, &TPersistent::staticMetaObject));
  EXPECT_FALSE(InheritsFrom(&TTestItem::staticMetaObject, &TTestSubItem::staticMetaObject));
  EXPECT_FALSE(InheritsFrom(nullptr, &TPersistent::staticMetaObject));
}

TEST_F(ClassRegistry, CreatesComponentsWithTheirOwner) {
  TComponent owner;
  TComponent* made = CreateComponent("TTestComponent", &owner);
  ASSERT_NE(qobject_cast<TTestComponent*>(made), nullptr);
  EXPECT_EQ(made->Owner(), &owner);
  TComponent* plain = CreateComponent(TDefaultOnly::staticMetaObject, &owner);
  EXPECT_EQ(plain->Owner(), &owner);
  EXPECT_EQ(owner.ComponentCount(), 2);
  std::unique_ptr<TComponent> free(CreateComponent(TTestComponent::staticMetaObject, nullptr));
  EXPECT_EQ(free->Owner(), nullptr);
}

TEST_F(ClassRegistry, RefusesWhatItCannotCreate) {
  TComponent owner;
  try {
    CreateComponent(TNotCreatable::staticMetaObject, &owner);
    FAIL() << "no exception";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "Cannot create an instance of TNotCreatable");
  }
  EXPECT_THROW(CreateComponent("TTestItem", &owner), EInvalidCast);
  EXPECT_THROW(CreateComponent("TNope", &owner), EClassNotFound);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(ClassRegistry, CreatesCollectionItemsInTheirCollection) {
  KelTest::TTestCollection items;
  TCollectionItem* item = CreateCollectionItem(TTestSubItem::staticMetaObject, &items);
  EXPECT_EQ(item->Collection(), &items);
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(items.log.front(), "N:added:TTestSubItem");
  EXPECT_THROW(CreateCollectionItem(TTestComponent::staticMetaObject, &items), EInvalidCast);
  std::unique_ptr<TCollectionItem> loose(
      CreateCollectionItem(TTestItem::staticMetaObject, nullptr));
  EXPECT_EQ(loose->Collection(), nullptr);
}

TEST_F(ClassRegistry, CreatesOtherPersistentObjectsWithParent) {
  QObject parent;
  QObject* font = CreatePersistent("TTestFont", &parent);
  ASSERT_NE(qobject_cast<KelTest::TTestFont*>(font), nullptr);
  EXPECT_EQ(font->parent(), &parent);
  QObject* list = CreatePersistent(TStringList::staticMetaObject, &parent);
  EXPECT_NE(qobject_cast<TStringList*>(list), nullptr);
  EXPECT_THROW(CreatePersistent(KelOther::TTestFont::staticMetaObject), EComponentError);
}

}  // namespace
}  // namespace Kel

#include "ClassRegistryTest.moc"
