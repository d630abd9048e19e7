// Step 7: which help contents file belongs to the environment, and which line leaves it.
#include <gtest/gtest.h>

#include <QDir>

#include "FakeInstaller.h"
#include "UninstallSteps.h"
#include "UninstallTexts.h"

using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

TEST(HelpContentsFile, EachCodeSelectsItsRowIgnoringCase) {
  FakeInstaller installer;
  for (const TIdeVersion& row : kIdeVersions) {
    const QString root = installer.Path(QString(row.key).replace('\\', '_'));
    installer.SetIdeRootDir(row.key, root);
    const QString expected =
        root + QDir::separator() + "HELP" + QDir::separator() + row.contentsFile;
    EXPECT_EQ(HelpContentsFile(row.code), expected) << row.code;
    EXPECT_EQ(HelpContentsFile(QString(row.code).toLower()), expected) << row.code;
  }
}

TEST(HelpContentsFile, AnUnknownCodeUsesTheFifthRow) {
  FakeInstaller installer;
  installer.SetIdeRootDir("Delphi\\4.0", installer.Path("D4"));
  installer.SetIdeRootDir("Delphi\\5.0", installer.Path("D5"));
  const QString expected = Native(installer.Path("D4") + "/HELP/delphi4.cnt");
  EXPECT_EQ(Native(HelpContentsFile("X9")), expected);
  EXPECT_EQ(Native(HelpContentsFile("")), expected);
  EXPECT_EQ(Native(HelpContentsFile("D5 ")), expected);  // the code is compared as a whole
}

TEST(HelpContentsFile, WithoutRootDirThePathIsRelative) {
  FakeInstaller installer;
  installer.SetIdeRootDir("C++Builder\\4.0", "");
  EXPECT_EQ(Native(HelpContentsFile("C4")), Native("HELP/bcb4.cnt"));
  EXPECT_EQ(Native(HelpContentsFile("C1")), Native("HELP/bcb.cnt"));
}

TEST(RemoveHelpEntry, RemovesTheFirstLineWhoseTextAfterTheFirstEqualsSignMatches) {
  const QByteArray content =
      ":Base delphi4.hlp\r\n"
      ":Index Kit=kit.hlp\r\n"
      ":Index Kit again=kit.hlp\r\n"
      ":Link a=b=kit.hlp\r\n";
  EXPECT_EQ(RemoveHelpEntry(content, "kit.hlp"),
            ":Base delphi4.hlp\r\n"
            ":Index Kit again=kit.hlp\r\n"
            ":Link a=b=kit.hlp\r\n");
  EXPECT_EQ(RemoveHelpEntry(content, "b=kit.hlp"),
            ":Base delphi4.hlp\r\n"
            ":Index Kit=kit.hlp\r\n"
            ":Index Kit again=kit.hlp\r\n");
}

TEST(RemoveHelpEntry, MatchesExactlyAndCaseSensitively) {
  const QByteArray content = ":Index Kit=Kit.hlp\n:Index Kit=kit.hlp \n";
  EXPECT_EQ(RemoveHelpEntry(content, "kit.hlp"), content);
  EXPECT_EQ(RemoveHelpEntry(content, "Kit.hlp"), ":Index Kit=kit.hlp \n");
}

TEST(RemoveHelpEntries, EditsTheContentsFileOnlyWhenItExists) {
  FakeInstaller installer;
  installer.WriteFile("D4/HELP/delphi4.cnt",
                      ":Index A=a.hlp\r\n:Index K=kit.hlp\r\n:Index B=b.hlp\r\n");
  RemoveHelpEntries(installer.Path("D4/HELP/delphi4.cnt"), {"kit.hlp", "b.hlp", "absent.hlp"});
  EXPECT_EQ(installer.ReadFile("D4/HELP/delphi4.cnt"), ":Index A=a.hlp\r\n");
  EXPECT_NO_THROW(RemoveHelpEntries(installer.Path("D4/HELP/none.cnt"), {"a.hlp"}));
}

}  // namespace
