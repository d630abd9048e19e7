// Keys: opening, creating, listing and deleting, with the path and letter-case rules of the
// Windows registry.
#include "Exceptions.h"
#include "RegistryTestSupport.h"

using namespace Kel;
using Kel::Testing::RegistryTest;

namespace {

class RegistryKeys : public RegistryTest {};

TEST_F(RegistryKeys, RelativePathsGoBelowTheCurrentKeyAbsoluteOnesFromTheRoot) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(reg.OpenKey("Child", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Child");
  EXPECT_FALSE(reg.OpenKey("\\Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Child");  // a failed open keeps the current key
  ASSERT_TRUE(reg.OpenKey("\\Other", true));
  EXPECT_EQ(reg.CurrentPath(), "Other");
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists("Software\\Child"));
  EXPECT_FALSE(reg.KeyExists("Child"));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.KeyExists("Software"));  // each root is a tree of its own
}

TEST_F(RegistryKeys, KeysCompareIgnoringCaseAndKeepTheCaseTheyWereCreatedWith) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey(QString::fromUtf8("Software\\MixedCase\u00c4")));
  EXPECT_TRUE(reg.KeyExists(QString::fromUtf8("SOFTWARE\\mixedcase\u00e4")));
  ASSERT_TRUE(reg.OpenKey(QString::fromUtf8("software\\MIXEDCASE\u00c4"), true));  // no twin
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.GetKeyNames(), QStringList{QString::fromUtf8("MixedCase\u00c4")});
}

TEST_F(RegistryKeys, DeleteKeyRemovesTheWholeSubtreeAndOnlyIt) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Root\\Doomed\\Deep\\Deeper", true));
  reg.WriteString("v", "x");
  ASSERT_TRUE(reg.OpenKey("\\Root\\Kept", true));
  reg.WriteString("v", "y");
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey("root\\doomed"));
  EXPECT_FALSE(reg.KeyExists("Root\\Doomed\\Deep"));
  EXPECT_FALSE(reg.DeleteKey("Root\\Doomed"));
  EXPECT_FALSE(reg.DeleteKey("\\"));  // a root cannot go
  ASSERT_TRUE(reg.OpenKey("Root", false));
  EXPECT_EQ(reg.GetKeyNames(), QStringList{"Kept"});
  // A key made again after deletion starts empty: no value of the old one comes back.
  ASSERT_TRUE(reg.OpenKey("\\Root\\Doomed\\Deep\\Deeper", true));
  EXPECT_TRUE(reg.GetValueNames().isEmpty());
  EXPECT_FALSE(reg.HasSubKeys());
}

TEST_F(RegistryKeys, AKeyOpenedReadOnlyRefusesChangesAndOpeningNeverCreates) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Ro"));
  EXPECT_FALSE(reg.KeyExists("Software"));
  ASSERT_TRUE(reg.OpenKey("Software\\Ro", true));
  reg.WriteString("v", "old");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Ro"));
  EXPECT_THROW(reg.WriteString("v", "new"), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue("v"));
  EXPECT_FALSE(reg.OpenKey("NewChild", true));
  try {
    reg.CreateKey("NewChild");
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to create key NewChild");
  }
  EXPECT_EQ(reg.ReadString("v"), "old");
  EXPECT_FALSE(reg.KeyExists("NewChild"));
}

}  // namespace
