// KelUtils: the folder macros and their expansion.
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "DateUtils.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelUtils.h"
#include "Registry.h"

namespace Kel {

namespace {

QString AsFolder(const QString& path) {
  return IncludeTrailingBackslash(QDir::toNativeSeparators(path));
}

QString MonthDay() {
  int year, month, day;
  DecodeDate(Date(), year, month, day);
  return FormatSettings().ShortMonthNames[month - 1] + QString::number(day);
}

#ifdef _WIN32
QString WindowsFolder() {
  const QString root = qEnvironmentVariable("SystemRoot", QStringLiteral("C:\\Windows"));
  return AsFolder(root);
}
QString SystemFolder() { return WindowsFolder() + QStringLiteral("System32\\"); }
QString ProgramFilesFolder() {
  return WindowsFolder().left(2) + QStringLiteral("\\Program Files\\");
}
#else
// The nearest equivalents of the Windows folders: system libraries and programs, the operating
// system's own tree, and the root for separately installed programs.
QString SystemFolder() { return QStringLiteral("/usr/lib/"); }
QString WindowsFolder() { return QStringLiteral("/usr/"); }
QString ProgramFilesFolder() { return QStringLiteral("/opt/"); }
#endif

QString AppFolder() {
  QString folder =
      QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  if (folder.isEmpty()) folder = QDir::currentPath();
  return AsFolder(folder);
}

// The user's folder of program menu entries: the Start menu's Programs folder on Windows, the
// XDG applications folder elsewhere.
QString StartMenuFolder() {
  return AsFolder(QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation));
}

// "RootDir" of HKEY_LOCAL_MACHINE "Software\Borland\<key>" followed by "HELP"; "HELP" alone
// when the key or its value is missing or the store cannot be read.
QString HelpFolder(int environment) {
  QString root;
  try {
    root = ReadLocalMachineString(
        QStringLiteral("Software\\Borland\\") + HostEnvironmentKeys()[environment],
        QStringLiteral("RootDir"));
  } catch (const ERegistryException&) {
    root.clear();
  }
  return IncludeTrailingBackslash(root) + QStringLiteral("HELP") + QDir::separator();
}

TKelMacroTable BuildFolderMacros() {
  return {
      {QStringLiteral("%MONTH_DAY%"), MonthDay},
      {QStringLiteral("%SYSTEM%"), SystemFolder},
      {QStringLiteral("%WINDOWS%"), WindowsFolder},
      {QStringLiteral("%PROGRAMFILES%"), ProgramFilesFolder},
      {QStringLiteral("%C1_HELP%"), [] { return HelpFolder(1); }},
      {QStringLiteral("%C3_HELP%"), [] { return HelpFolder(3); }},
      {QStringLiteral("%D2_HELP%"), [] { return HelpFolder(0); }},
      {QStringLiteral("%D3_HELP%"), [] { return HelpFolder(2); }},
      {QStringLiteral("%D4_HELP%"), [] { return HelpFolder(4); }},
      {QStringLiteral("%APPFOLDER%"), AppFolder},
      {QStringLiteral("%STARTMENU%"), StartMenuFolder},
  };
}

}  // namespace

const std::vector<QString>& HostEnvironmentKeys() {
  static const std::vector<QString> keys = {
      QStringLiteral("Delphi\\2.0"), QStringLiteral("C++Builder\\1.0"),
      QStringLiteral("Delphi\\3.0"), QStringLiteral("C++Builder\\3.0"),
      QStringLiteral("Delphi\\4.0"), QStringLiteral("C++Builder\\4.0"),
      QStringLiteral("Delphi\\5.0"),
  };
  return keys;
}

const TKelMacroTable& FolderMacros() {
  static const TKelMacroTable table = BuildFolderMacros();
  return table;
}

QString ExpandFolderMacros(const QString& s) {
  QString result = ReplaceMacros(s, FolderMacros());
  if (QDir::separator() == u'\\') {
    ReplaceAll(result, QStringLiteral("\\\\"), QStringLiteral("\\"));
  } else {
    // Paths here are written with "\" as in the stored macros; the separator is "/".
    result.replace(u'\\', u'/');
    ReplaceAll(result, QStringLiteral("//"), QStringLiteral("/"));
  }
  return result;
}

}  // namespace Kel
