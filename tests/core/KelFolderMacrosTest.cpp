// Folder macros: each macro's folder on this system, repeated macros, separators made single,
// and the help folders read from a registry store of the test's own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelUtils.h"
#include "Registry.h"

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

// Points the default registry store at a file of the test's own for the test's duration.
class KelHelpFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    saved_ = qgetenv("KEL_REGISTRY");
    hadValue_ = qEnvironmentVariableIsSet("KEL_REGISTRY");
    qputenv("KEL_REGISTRY", dir_.filePath("registry.sqlite").toUtf8());
  }
  void TearDown() override {
    if (hadValue_)
      qputenv("KEL_REGISTRY", saved_);
    else
      qunsetenv("KEL_REGISTRY");
  }
  static void WriteRootDir(const QString& environment, const QString& rootDir) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Borland\\" + environment, true));
    reg.WriteString("RootDir", rootDir);
  }

  QTemporaryDir dir_;
  QByteArray saved_;
  bool hadValue_ = false;
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
  QFile junk(dir_.filePath("junk.sqlite"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("this is not a registry store");
  junk.close();
  qputenv("KEL_REGISTRY", junk.fileName().toUtf8());
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
