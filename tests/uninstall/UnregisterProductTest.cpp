// Steps 3 to 5: the product key loses the removed sub-products, prod.inc their defines, and the
// key goes with the last sub-product.
#include <gtest/gtest.h>

#include "FakeInstaller.h"
#include "UninstallSteps.h"
#include "UninstallTexts.h"

using namespace Kel;
using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

const QString kProducts = QString::fromUtf8(kInstalledProductsKey);

const QByteArray kProdInc =
    "{ products of the kit }\r\n"
    "{$DEFINE FltBox}\r\n"
    "{$DEFINE Calendar}\r\n"
    "{$I qn.inc}\r\n"
    "{$DEFINE Calendar}\r\n";

TEST(UnregisterProduct, RemovingOneOfTwoSubProductsKeepsTheKeyAndCommentsOutOnlyItsDefine) {
  FakeInstaller installer;
  installer.WriteFile("Kit/units/prod.inc", kProdInc);
  installer.SetProduct("Kit", {"FltBox", "Calendar"}, {"Calendar"}, installer.Path("Kit"));
  const QStringList remaining = UnregisterProduct("Kit", "Calendar");
  EXPECT_EQ(remaining, QStringList{"FltBox"});
  EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser, kProducts + "\\Kit"),
            (QStringList{"Version", "FltBox", "FolderName"}));
  EXPECT_EQ(installer.ReadFile("Kit/units/prod.inc"),
            "{ products of the kit }\r\n"
            "  {$DEFINE FltBox}\r\n"
            "//  {$DEFINE Calendar}\r\n"
            "{$I qn.inc}\r\n"
            "{$DEFINE Calendar}\r\n");
}

TEST(UnregisterProduct, RemovingTheLastSubProductsDeletesTheProductKeyAndTheEmptyParent) {
  FakeInstaller installer;
  installer.WriteFile("Kit/units/prod.inc", kProdInc);
  installer.SetProduct("Kit", {"FltBox", "Calendar"}, {"FltBox", "Calendar"},
                       installer.Path("Kit"));
  EXPECT_TRUE(UnregisterProduct("Kit", "FltBox;Calendar").isEmpty());
  EXPECT_FALSE(FakeInstaller::HasKey(TRootKey::CurrentUser, kProducts + "\\Kit"));
  EXPECT_FALSE(FakeInstaller::HasKey(TRootKey::CurrentUser, kProducts));
  EXPECT_EQ(installer.ReadFile("Kit/units/prod.inc"), kProdInc);  // nothing left to define for
}

TEST(UnregisterProduct, TheProductsKeyStaysWhileAnotherProductIsInstalled) {
  FakeInstaller installer;
  installer.AddOtherProduct("Other", {"Grid"});
  installer.SetProduct("Kit", {"FltBox"}, {"FltBox"}, installer.Path("Kit"));
  UnregisterProduct("Kit", "FltBox");
  EXPECT_FALSE(FakeInstaller::HasKey(TRootKey::CurrentUser, kProducts + "\\Kit"));
  EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser, kProducts + "\\Other"),
            (QStringList{"Version", "Grid"}));
}

TEST(UnregisterProduct, AMissingProductOrANameOfBackslashesChangesNothing) {
  FakeInstaller installer;
  installer.AddOtherProduct("Other", {"Grid"});
  EXPECT_TRUE(UnregisterProduct("", "Grid").isEmpty());
  EXPECT_TRUE(UnregisterProduct("Absent", "Grid").isEmpty());
  EXPECT_TRUE(UnregisterProduct("\\", "Grid").isEmpty());
  EXPECT_TRUE(UnregisterProduct("\\\\", "").isEmpty());
  EXPECT_TRUE(FakeInstaller::HasKey(TRootKey::CurrentUser, kProducts + "\\Other"));
  EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser, kProducts + "\\Other"),
            (QStringList{"Version", "Grid"}));
}

TEST(UnregisterProduct, AMissingIncludeFileOrFolderIsSkipped) {
  FakeInstaller installer;
  installer.SetProduct("Kit", {"A", "B"}, {"B"}, installer.Path("NoSuchFolder"));
  EXPECT_EQ(UnregisterProduct("Kit", "B"), QStringList{"A"});
  installer.SetProduct("Kit2", {"A", "B"}, {"B"}, "");
  EXPECT_EQ(UnregisterProduct("Kit2", "B"), QStringList{"A"});
}

TEST(UninstallEntry, DeletingTheEntryRemovesOnlyThatKey) {
  FakeInstaller installer("Kit");
  {
    TRegistry reg;
    reg.SetRootKey(TRootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey(QString::fromUtf8(kUninstallKey) + "\\OtherProgram", true));
    reg.WriteString("DisplayName", "Other");
  }
  DeleteUninstallEntry("\\");
  DeleteUninstallEntry("");
  EXPECT_TRUE(installer.EntryExists());
  DeleteUninstallEntry("kit");  // keys compare ignoring case
  EXPECT_FALSE(installer.EntryExists());
  EXPECT_TRUE(FakeInstaller::HasKey(TRootKey::LocalMachine,
                                    QString::fromUtf8(kUninstallKey) + "\\OtherProgram"));
}

TEST(UninstallEntry, ValuesReadAsTextWithoutAStoredTerminatingNul) {
  FakeInstaller installer("Kit");
  installer.SetEntryValue("DELPHIVER", QString::fromUtf16(u"C3\0", 3));
  EXPECT_EQ(ReadUninstallValue("Kit", "DELPHIVER"), "C3");
  EXPECT_EQ(ReadUninstallValue("Kit", "MISSING"), "");
  EXPECT_EQ(ReadUninstallValue("NoSuchKey", "DELPHIVER"), "");
  EXPECT_EQ(ReadUninstallValue("\\", "DisplayName"), "");
}

}  // namespace
