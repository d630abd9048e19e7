// Step 2: shared files go only when their reference count drops to zero.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "Exceptions.h"
#include "FakeInstaller.h"
#include "UninstallSteps.h"
#include "UninstallTexts.h"

using namespace Kel;
using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

const QString kFilesKey = QString::fromUtf8(kInstalledFilesKey);

class RecordingProgress : public TRemovalProgress {
 public:
  void Start(int fileCount) override { events << QString("start %1").arg(fileCount); }
  void ShowFile(const QString& path) override { events << "file " + QFileInfo(path).fileName(); }
  void SetPosition(int position) override { events << QString("position %1").arg(position); }
  void Finish() override { events << "finish"; }
  QStringList events;
};

TEST(RemoveFiles, ASharedFileWithCountTwoIsKeptAndItsCountBecomesOne) {
  FakeInstaller installer;
  const QString shared = installer.InstallFile("lib/shared.dll", 2);
  RemoveFiles({shared}, nullptr);
  EXPECT_TRUE(QFileInfo::exists(shared));
  EXPECT_EQ(FakeInstaller::RefCount(shared), 1);
}

TEST(RemoveFiles, CountOneIsDeletedWithItsValueAndTheLastValueTakesTheKeyWithIt) {
  FakeInstaller installer;
  const QString own = installer.InstallFile("own.dll", 1);
  const QString shared = installer.InstallFile("shared.dll", 3);
  RemoveFiles({own, shared}, nullptr);
  EXPECT_FALSE(QFileInfo::exists(own));
  EXPECT_TRUE(QFileInfo::exists(shared));
  EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser, kFilesKey), QStringList{shared});
  EXPECT_EQ(FakeInstaller::RefCount(shared), 2);
  RemoveFiles({shared}, nullptr);  // 2 -> 1
  EXPECT_TRUE(FakeInstaller::HasKey(TRootKey::CurrentUser, kFilesKey));
  RemoveFiles({shared}, nullptr);
  EXPECT_FALSE(QFileInfo::exists(shared));
  EXPECT_FALSE(FakeInstaller::HasKey(TRootKey::CurrentUser, kFilesKey));
}

TEST(RemoveFiles, AFileWithoutACountIsNotDeleted) {
  FakeInstaller installer;
  const QString counted = installer.InstallFile("counted.dll", 5);
  const QString uncounted = installer.InstallFile("uncounted.dll", -1);
  RemoveFiles({uncounted}, nullptr);
  EXPECT_TRUE(QFileInfo::exists(uncounted));
  EXPECT_EQ(FakeInstaller::RefCount(counted), 5);
}

TEST(RemoveFiles, CountsThatAreNoPositiveNumberAreLeftAloneWithTheirFiles) {
  FakeInstaller installer;
  const QString text = installer.InstallFile("text.dll", -1);
  installer.SetRefCountText(text, "1");
  const QString zero = installer.InstallFile("zero.dll", 0);
  const QString negative = installer.InstallFile("negative.dll", -1);
  installer.SetRefCount(negative, std::numeric_limits<int>::min());
  RemoveFiles({text, zero, negative}, nullptr);
  for (const QString& file : {text, zero, negative}) EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_EQ(FakeInstaller::RefCount(zero), 0);
  EXPECT_EQ(FakeInstaller::RefCount(negative), std::numeric_limits<int>::min());
  EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser, kFilesKey).size(), 3);
}

TEST(RemoveFiles, PathsWithBlanksBackslashesAndOtherScriptsAreCountedExactly) {
  FakeInstaller installer;
  const QString odd = installer.InstallFile(QString::fromUtf8("Dir with blank/f\u00fcr\\x.dll"), 1);
  const QString other =
      installer.InstallFile(QString::fromUtf8("Dir with blank/F\u00fcr\\x.dll"), 1);
  RemoveFiles({odd}, nullptr);
  EXPECT_FALSE(QFileInfo::exists(odd));
  EXPECT_TRUE(QFileInfo::exists(other));
  EXPECT_EQ(FakeInstaller::RefCount(other), 1);
}

// A relative record would name a file of whatever folder the uninstaller runs in: it is left
// alone, with its count, and reported once the other files are done.
TEST(RemoveFiles, RelativeRecordsAreLeftAloneAndReported) {
  FakeInstaller installer;
  const QString own = installer.InstallFile("own.dll", 1);
  installer.WriteFile("bystander.dll", "not ours");
  installer.SetRefCount("bystander.dll", 1);
  const QString previous = QDir::currentPath();
  QDir::setCurrent(installer.Path(""));
  try {
    RemoveFiles({"bystander.dll", own}, nullptr);
    ADD_FAILURE() << "the relative record was not reported";
  } catch (const Exception& error) {
    EXPECT_TRUE(error.Message().contains("bystander.dll")) << error.Message().toStdString();
  }
  QDir::setCurrent(previous);
  EXPECT_FALSE(QFileInfo::exists(own));
  EXPECT_EQ(installer.ReadFile("bystander.dll"), "not ours");
  EXPECT_EQ(FakeInstaller::RefCount("bystander.dll"), 1);
  installer.AddFolder("Kept");
  QDir::setCurrent(installer.Path(""));
  EXPECT_THROW(RemoveFolders({"Kept"}), Exception);
  QDir::setCurrent(previous);
  EXPECT_TRUE(QFileInfo::exists(installer.Path("Kept")));
}

TEST(RemoveFiles, TheProgressShowsEveryFileAndPosition) {
  FakeInstaller installer;
  const QString a = installer.InstallFile("a.dll", 1);
  const QString b = installer.InstallFile("b.dll", -1);
  RecordingProgress progress;
  RemoveFiles({a, b}, &progress);
  EXPECT_EQ(progress.events, (QStringList{"start 2", "file a.dll", "position 0", "file b.dll",
                                          "position 1", "finish"}));
}

TEST(RemoveFiles, SplitLinesAcceptsEveryLineBreakAndDropsEmptyLines) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n\r\n"), (QStringList{"a", "b", "c", "d"}));
  EXPECT_TRUE(SplitLines("").isEmpty());
}

}  // namespace
