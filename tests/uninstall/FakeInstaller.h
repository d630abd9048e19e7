#pragma once
// Plays the package installer for the uninstaller's tests: in a temporary folder it creates the
// files and folders a product installs, and in a registry file of its own (KEL_REGISTRY points
// at it while the installer lives) the uninstall entry, the product key with its sub-products,
// the shared-file reference counts and the environments' RootDir values. Each test builds the
// situation it needs from scratch.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "Registry.h"
#include "ScopedRegistryFile.h"

namespace Kel::Testing {

class FakeInstaller {
 public:
  explicit FakeInstaller(QString key = QStringLiteral("KelTestProduct"));
  FakeInstaller(const FakeInstaller&) = delete;
  FakeInstaller& operator=(const FakeInstaller&) = delete;

  const QString& Key() const { return key_; }
  QString RegistryFile() const;
  // A full path inside the installer's temporary folder.
  QString Path(const QString& relative) const;

  // Creates the file (with its folders) and lists it in FILES. refCount < 0 records no count.
  QString InstallFile(const QString& relative, int refCount);
  // Lists a path in FILES without creating anything (for the uninstaller's own file).
  void ListFile(const QString& fullPath);
  void SetRefCount(const QString& fullPath, int count);
  // Any value other than an integer count, as a damaged or foreign installer might leave.
  void SetRefCountText(const QString& fullPath, const QString& text);
  // Creates the folder and lists it in FOLDERS.
  QString AddFolder(const QString& relative);
  void WriteFile(const QString& relative, const QByteArray& content);
  QByteArray ReadFile(const QString& relative) const;

  // The product key with one value per installed sub-product, Version and FolderName, and
  // PRODUCTNAME / SUBPRODUCTNAME (the sub-products this uninstall removes) in the entry.
  void SetProduct(const QString& product, const QStringList& installedSubProducts,
                  const QStringList& removedSubProducts, const QString& folder);
  // Another product's key, which the uninstaller must leave alone.
  void AddOtherProduct(const QString& product, const QStringList& subProducts);

  // RootDir of HKLM Software\Borland\<ideKey>; an empty rootDir records none.
  void SetIdeRootDir(const QString& ideKey, const QString& rootDir);
  void SetIdeCode(const QString& code);
  void SetHelps(const QStringList& entries);

  // Any text value of the uninstall entry.
  void SetEntryValue(const QString& name, const QString& value);
  bool EntryExists() const;

  // What the registry holds now.
  static bool HasKey(TRootKey root, const QString& path);
  static QStringList ValueNames(TRootKey root, const QString& path);
  static int RefCount(const QString& fullPath);  // -1 when none is recorded

 private:
  void WriteList(const QString& name, const QStringList& lines);

  QString key_;
  QTemporaryDir dir_;
  ScopedRegistryFile registry_;
  QStringList files_;
  QStringList folders_;
};

}  // namespace Kel::Testing
