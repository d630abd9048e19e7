#pragma once
// The uninstaller's fixed texts: what it shows, where the installer recorded the product, and
// the table of host development environments whose help contents it edits.

#include <QString>
#include <array>

namespace Kel::Uninstall {

// One of the texts below as a QString.
inline QString Text(const char* text) { return QString::fromUtf8(text); }

inline constexpr const char* kCaption = "Uninstall";
inline constexpr const char* kNoArgument =
    "Do not call this program directly.\r\nUse Add/Remove Programs to remove this application.";
inline constexpr const char* kConfirm = "Are you sure you want to completely remove the %1?";
inline constexpr const char* kProgressCaption = "Removing files";
inline constexpr const char* kProblemsHeading = "Uninstall could not finish everything:";

// Skips the confirmation, for unattended removal.
inline constexpr const char* kAssumeYesOption = "--yes";

// HKEY_LOCAL_MACHINE: one subkey per product, named by the uninstaller's argument.
inline constexpr const char* kUninstallKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// HKEY_CURRENT_USER: one subkey per product, one value per installed sub-product.
inline constexpr const char* kInstalledProductsKey =
    "\\Software\\Quillon Company\\InstalledProducts";
// HKEY_CURRENT_USER: one integer value per shared file (the name is the file's full path).
inline constexpr const char* kInstalledFilesKey = "\\Software\\Quillon Company\\InstalledFiles";
// HKEY_LOCAL_MACHINE: the environments' keys, below which "RootDir" names their folders.
inline constexpr const char* kIdeKeyPrefix = "Software\\Borland\\";
inline constexpr const char* kIdeRootDirValue = "RootDir";

// Values of a product's uninstall entry.
inline constexpr const char* kFilesValue = "FILES";
inline constexpr const char* kFoldersValue = "FOLDERS";
inline constexpr const char* kInstalledHelpsValue = "INSTALLEDHELPS";
inline constexpr const char* kIdeVersionValue = "DELPHIVER";
inline constexpr const char* kProductNameValue = "PRODUCTNAME";
inline constexpr const char* kSubProductNameValue = "SUBPRODUCTNAME";

// Values of a product key that are not sub-products.
inline constexpr const char* kVersionValue = "Version";
inline constexpr const char* kFolderNameValue = "FolderName";

inline constexpr const char* kIncludeStopLine = "{$I qn.inc}";
inline constexpr const char* kSelfDeleteBatchName = "$delme.bat";

struct TIdeVersion {
  const char* code;
  const char* key;           // below kIdeKeyPrefix
  const char* contentsFile;  // in the environment's HELP folder
};

inline constexpr std::array<TIdeVersion, 7> kIdeVersions{{
    {"D2", "Delphi\\2.0", "delphi.cnt"},
    {"C1", "C++Builder\\1.0", "bcb.cnt"},
    {"D3", "Delphi\\3.0", "delphi3.cnt"},
    {"C3", "C++Builder\\3.0", "bcb3.cnt"},
    {"D4", "Delphi\\4.0", "delphi4.cnt"},
    {"C4", "C++Builder\\4.0", "bcb4.cnt"},
    {"D5", "Delphi\\5.0", "delphi5.cnt"},
}};
// The row an unknown code selects.
inline constexpr int kDefaultIdeVersion = 4;

}  // namespace Kel::Uninstall
