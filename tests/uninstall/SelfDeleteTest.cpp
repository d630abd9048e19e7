// Step 9: the uninstaller's own file goes unless another product still counts on it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "FakeInstaller.h"
#include "UninstallSteps.h"

using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

TEST(SelfDeleteBatch, HasTheRetryLoopWithQuotedPaths) {
  const QString program = QDir::fromNativeSeparators("C:\\Program Files\\Kit\\uninstall.exe");
  const QString batch = QDir::fromNativeSeparators("C:\\Program Files\\Kit\\$delme.bat");
  const QString p = QDir::toNativeSeparators(program);
  const QString b = QDir::toNativeSeparators(batch);
  const QString expected =
      ":Repeat\r\n"
      "del \"" +
      p +
      "\"\r\n"
      "del \"" +
      p +
      "\" /aH\r\n"
      "if exist \"" +
      p +
      "\" goto Repeat\r\n"
      "del \"" +
      b + "\"\r\n";
  EXPECT_EQ(SelfDeleteBatchText(program, batch), expected.toLocal8Bit());
}

TEST(DeleteSelf, AProgramStillCountedByAnotherProductStaysAndWritesNoBatchFile) {
  FakeInstaller installer;
  const QString program = installer.InstallFile("Kit/uninstall", 2);
  RemoveFiles({program}, nullptr);  // step 2 leaves a count of 1
  EXPECT_EQ(DeleteSelf(program), TSelfDeletion::Shared);
  EXPECT_TRUE(QFileInfo::exists(program));
  EXPECT_FALSE(QFileInfo::exists(installer.Path("Kit/$delme.bat")));
}

TEST(DeleteSelf, AProgramWithoutACountIsDeleted) {
  FakeInstaller installer;
  const QString program = installer.InstallFile("Kit/uninstall", -1);
  EXPECT_EQ(DeleteSelf(program), TSelfDeletion::Deleted);
  EXPECT_FALSE(QFileInfo::exists(program));
}

TEST(DeleteSelf, ACountThatIsNotANumberStillMeansShared) {
  FakeInstaller installer;
  const QString program = installer.InstallFile("Kit/uninstall", -1);
  installer.SetRefCountText(program, "two");
  EXPECT_EQ(DeleteSelf(program), TSelfDeletion::Shared);
  EXPECT_TRUE(QFileInfo::exists(program));
}

}  // namespace
