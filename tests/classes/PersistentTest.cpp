// Persistent objects: Assign and AssignTo, the assignment error, class names and name paths.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "Persistent.h"
#include "TestClasses.h"

namespace Kel {
namespace {

using KelTest::TTestFont;

// Knows how to fill a TTestFont, though TTestFont knows nothing about it.
class TFontSpec : public TPersistent {
  Q_OBJECT
 public:
  void AssignTo(TPersistent* dest) const override {
    if (auto* font = qobject_cast<TTestFont*>(dest)) {
      font->SetName("Spec");
      font->SetSize(12);
      return;
    }
    TPersistent::AssignTo(dest);
  }
};

// Belongs to another object in name paths.
class TOwned : public TPersistent {
  Q_OBJECT
 public:
  explicit TOwned(QObject* owner) : owner_(owner) {}
  QObject* GetOwner() const override { return owner_; }

 private:
  QObject* owner_;
};

QString AssignError(TPersistent& dest, TPersistent* source) {
  try {
    dest.Assign(source);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return QStringLiteral("<no exception>");
}

TEST(Persistent, AssignUsesTheSourcesAssignTo) {
  TTestFont font;
  TFontSpec spec;
  font.Assign(&spec);
  EXPECT_EQ(font.Name(), "Spec");
  EXPECT_EQ(font.Size(), 12);
}

TEST(Persistent, UnrelatedOrMissingSourceRaisesAssignError) {
  TTestFont font;
  TFontSpec spec;
  EXPECT_EQ(AssignError(font, nullptr), "Cannot assign a nil to a TTestFont");
  EXPECT_EQ(AssignError(spec, &font), "Cannot assign a TTestFont to a TFontSpec");
  TPersistent plain;
  EXPECT_EQ(AssignError(plain, &plain), "Cannot assign a TPersistent to a TPersistent");
}

TEST(Persistent, NamePathPrefixesTheOwnersPath) {
  TPersistent alone;
  EXPECT_EQ(alone.GetNamePath(), "TPersistent");
  QObject widgetLike;
  widgetLike.setObjectName("Panel1");  // any QObject can own: its name is its path
  TOwned owned(&widgetLike);
  EXPECT_EQ(owned.GetNamePath(), "Panel1.TOwned");
  QObject unnamed;
  TOwned ownedByUnnamed(&unnamed);
  EXPECT_EQ(ownedByUnnamed.GetNamePath(), "TOwned");
  EXPECT_EQ(TPersistent::NamePathOf(nullptr), "");
}

}  // namespace
}  // namespace Kel

#include "PersistentTest.moc"
