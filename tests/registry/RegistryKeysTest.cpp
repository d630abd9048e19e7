// Keys: opening, creating, listing and deleting, with the path and letter-case rules of the
// Windows registry.
#include "Exceptions.h"
#include "RegistryTestSupport.h"

using namespace Kel;
using Kel::Testing::RegistryTest;

namespace {

class RegistryKeys : public RegistryTest {};

TEST_F(RegistryKeys, OpenKeyWithoutCreateFailsForMissingKeyAndKeepsCurrentKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\A", true));
  EXPECT_FALSE(reg.OpenKey("\\Software\\Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A");
  EXPECT_TRUE(reg.HasCurrentKey());
}

TEST_F(RegistryKeys, RelativePathsGoBelowTheCurrentKeyAbsoluteOnesFromTheRoot) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(reg.OpenKey("Child", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Child");
  ASSERT_TRUE(reg.OpenKey("\\Other", true));
  EXPECT_EQ(reg.CurrentPath(), "Other");
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists("Software\\Child"));
  EXPECT_FALSE(reg.KeyExists("Child"));
}

TEST_F(RegistryKeys, KeysCompareIgnoringCaseAndKeepTheCaseTheyWereCreatedWith) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("Software\\MixedCase"));
  EXPECT_TRUE(reg.KeyExists("SOFTWARE\\mixedcase"));
  ASSERT_TRUE(reg.OpenKey("software\\MIXEDCASE", true));  // opens, does not add a twin
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.GetKeyNames(), QStringList{"MixedCase"});
}

TEST_F(RegistryKeys, CaseFoldingCoversLettersBeyondAscii) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey(QString::fromUtf8("Ärger\\Ÿes")));
  EXPECT_TRUE(reg.KeyExists(QString::fromUtf8("äRGER\\ÿES")));
}

TEST_F(RegistryKeys, EmptyNamesInAPathAreIgnored) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("\\A\\\\B\\"));
  EXPECT_TRUE(reg.KeyExists("A\\B"));
}

TEST_F(RegistryKeys, RootKeysAreSeparateTrees) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.CreateKey("Software\\OnlyHere"));
  reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.KeyExists("Software\\OnlyHere"));
}

TEST_F(RegistryKeys, ChangingTheRootClosesTheCurrentKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", true));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_EQ(reg.CurrentPath(), "");
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
  ASSERT_TRUE(reg.OpenKey("Root\\Kept", false));
  EXPECT_EQ(reg.ReadString("v"), "y");
  // A key made again after deletion starts empty: no value of the old one comes back.
  ASSERT_TRUE(reg.OpenKey("\\Root\\Doomed\\Deep\\Deeper", true));
  EXPECT_TRUE(reg.GetValueNames().isEmpty());
}

TEST_F(RegistryKeys, TheRootKeyCannotBeDeleted) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("Software"));
  EXPECT_FALSE(reg.DeleteKey("\\"));
  EXPECT_TRUE(reg.KeyExists("Software"));
}

TEST_F(RegistryKeys, HasSubKeysAndNamesListOnlyDirectChildren) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("P\\b\\deep"));
  ASSERT_TRUE(reg.CreateKey("P\\A"));
  ASSERT_TRUE(reg.OpenKey("P", false));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_EQ(reg.GetKeyNames(), (QStringList{"A", "b"}));
  ASSERT_TRUE(reg.OpenKey("A", false));
  EXPECT_FALSE(reg.HasSubKeys());
}

TEST_F(RegistryKeys, AReadOnlyKeyRefusesChanges) {
  {
    TRegistry writer;
    ASSERT_TRUE(writer.OpenKey("Software\\Ro", true));
    writer.WriteString("v", "old");
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Ro"));
  EXPECT_EQ(reg.ReadString("v"), "old");
  EXPECT_THROW(reg.WriteString("v", "new"), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue("v"));
  EXPECT_FALSE(reg.OpenKey("NewChild", true));
  EXPECT_THROW(reg.CreateKey("NewChild"), ERegistryException);
  EXPECT_EQ(reg.ReadString("v"), "old");
  EXPECT_FALSE(reg.KeyExists("NewChild"));
}

TEST_F(RegistryKeys, OpenKeyReadOnlyNeverCreates) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Nope"));
  EXPECT_FALSE(reg.KeyExists("Software"));
}

TEST_F(RegistryKeys, CreateKeyMessageNamesTheKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.CreateKey("Software\\Ro"));
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Ro"));
  try {
    reg.CreateKey("Sub");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), "Failed to create key Sub");
  }
}

}  // namespace
