// Step 6: the product's folders, deepest first, and only when empty.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "FakeInstaller.h"
#include "UninstallSteps.h"

using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

TEST(RemoveFolders, SubfoldersGoBeforeTheirParentsInWhateverOrderTheyAreListed) {
  FakeInstaller installer;
  const QString parent = installer.AddFolder("P");
  const QString sub = installer.AddFolder("P/Sub");
  const QString subSub = installer.AddFolder("P/Sub/Deeper");
  RemoveFolders({parent, subSub, sub});
  EXPECT_FALSE(QFileInfo::exists(subSub));
  EXPECT_FALSE(QFileInfo::exists(sub));
  EXPECT_FALSE(QFileInfo::exists(parent));
}

TEST(RemoveFolders, ASiblingWhoseNameSortsBetweenDoesNotBreakTheOrder) {
  FakeInstaller installer;
  const QString parent = installer.AddFolder("P");
  const QString blank = installer.AddFolder("P Two");
  const QString sub = installer.AddFolder("P/sub");
  RemoveFolders({sub, blank, parent});
  for (const QString& folder : {parent, blank, sub}) EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(RemoveFolders, FoldersThatStillHoldFilesStay) {
  FakeInstaller installer;
  const QString parent = installer.AddFolder("P");
  const QString sub = installer.AddFolder("P/Sub");
  installer.WriteFile("P/Sub/user-data.txt", "keep me");
  RemoveFolders({parent, sub});
  EXPECT_TRUE(QFileInfo::exists(sub));
  EXPECT_EQ(installer.ReadFile("P/Sub/user-data.txt"), "keep me");
}

}  // namespace
