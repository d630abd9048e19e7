// Folder macros: each macro's folder on this system, repeated macros, separators made single,
// and the help folders read from a registry store of the test's own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelUtils.h"
#include "Registry.h"
#include "ScopedRegistryFile.h"

namespace Kel {
namespace {

QString AppFolder() { return QCoreApplication::applicationDirPath() + QDir::separator(); }

TEST(KelFolderMacros, ProgramFolderAndSeparators) {
  EXPECT_EQ(ExpandFolderMacros("%APPFOLDER%"), AppFolder());
  EXPECT_EQ(ExpandFolderMacros("%APPFOLDER%\\data"), AppFolder() + "data");
  EXPECT_EQ(ExpandFolderMacros("%APPFOLDER%/data"), AppFolder() + "data");
  EXPECT_EQ(ExpandFolderMacros("%APPFOLDER%a;%APPFOLDER%b"),
            AppFolder() + "a;" + AppFolder() + "b");
  EXPECT_EQ(ExpandFolderMacros("plain\\\\path"), "plain/path");
  EXPECT_EQ(ExpandFolderMacros("%appfolder%"), "%appfolder%");  // letter case counts
}

TEST(KelFolderMacros, SystemFoldersOfThisPlatform) {
  for (const char* macro : {"%SYSTEM%", "%WINDOWS%", "%PROGRAMFILES%", "%STARTMENU%"}) {
    const QString folder = ExpandFolderMacros(macro);
    EXPECT_FALSE(folder.contains(u'%')) << macro;
    EXPECT_TRUE(folder.endsWith(QDir::separator())) << macro;
  }
#ifndef _WIN32
  EXPECT_EQ(ExpandFolderMacros("%SYSTEM%"), "/usr/lib/");
  EXPECT_EQ(ExpandFolderMacros("%WINDOWS%"), "/usr/");
  EXPECT_EQ(ExpandFolderMacros("%PROGRAMFILES%Kel\\bin"), "/opt/Kel/bin");
  EXPECT_EQ(
      ExpandFolderMacros("%STARTMENU%"),
      QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) + QDir::separator());
#endif
}

TEST(KelFolderMacros, MonthAndDay) {
  FormatSettingsGuard guard;
  SetFormatSettings(TFormatSettings::Invariant());
  int year, month, day;
  DecodeDate(Date(), year, month, day);
  const QString expected =
      TFormatSettings::Invariant().ShortMonthNames[month - 1] + QString::number(day);
  EXPECT_EQ(ExpandFolderMacros("backup-%MONTH_DAY%.flt"), "backup-" + expected + ".flt");
}

// The help folders come from a registry store of the test's own.
class KelHelpFolderTest : public ::testing::Test {
 protected:
  static void WriteRootDir(const QString& environment, const QString& rootDir) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Borland\\" + environment, true));
    reg.WriteString("RootDir", rootDir);
  }

  Testing::ScopedRegistryFile store_;
};

TEST_F(KelHelpFolderTest, HelpFolderFromTheEnvironmentsRootDir) {
  WriteRootDir("Delphi\\4.0", "/opt/ide4");
  WriteRootDir("C++Builder\\3.0", "/opt/cb3/");
  const QString sep = QDir::separator();
  EXPECT_EQ(ExpandFolderMacros("%D4_HELP%"), "/opt/ide4/HELP" + sep);
  EXPECT_EQ(ExpandFolderMacros("%C3_HELP%main.hlp"), "/opt/cb3/HELP/main.hlp");
  // A key that does not open gives the help folder name alone.
  EXPECT_EQ(ExpandFolderMacros("%D3_HELP%"), "HELP" + sep);
  EXPECT_EQ(ExpandFolderMacros("%C1_HELP%"), "HELP" + sep);
  EXPECT_EQ(ExpandFolderMacros("%D2_HELP%"), "HELP" + sep);
}

TEST_F(KelHelpFolderTest, ValueThatIsNoTextCountsAsMissing) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("Software\\Borland\\Delphi\\2.0", true));
  reg.WriteInteger("RootDir", 7);
  EXPECT_EQ(ExpandFolderMacros("%D2_HELP%"), "HELP" + QString(QDir::separator()));
}

TEST_F(KelHelpFolderTest, UnreadableStoreGivesTheFolderNameAlone) {
  QFile junk(store_.FileName());
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("this is not a registry store");
  junk.close();
  EXPECT_EQ(ExpandFolderMacros("%D4_HELP%"), "HELP" + QString(QDir::separator()));
}

TEST(KelFolderMacros, EnvironmentTable) {
  const auto& keys = HostEnvironmentKeys();
  ASSERT_EQ(keys.size(), 7u);
  EXPECT_EQ(keys[0], "Delphi\\2.0");
  EXPECT_EQ(keys[1], "C++Builder\\1.0");
  EXPECT_EQ(keys[6], "Delphi\\5.0");
}

}  // namespace
}  // namespace Kel
