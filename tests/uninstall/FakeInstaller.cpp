#include "FakeInstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "Registry.h"
#include "UninstallTexts.h"

namespace Kel::Testing {

using namespace Kel::Uninstall;

namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

}  // namespace

FakeInstaller::FakeInstaller(QString key) : key_(std::move(key)) {
  Check(dir_.isValid(), "no temporary folder");
  // The entry exists from the start, as the installer makes it first.
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  Check(reg.OpenKey(Text(kUninstallKey) + "\\" + key_, true), "uninstall entry");
  reg.WriteString("DisplayName", key_);
}

QString FakeInstaller::RegistryFile() const { return registry_.FileName(); }

QString FakeInstaller::Path(const QString& relative) const { return dir_.filePath(relative); }

QString FakeInstaller::InstallFile(const QString& relative, int refCount) {
  WriteFile(relative, "contents of " + relative.toUtf8());
  const QString path = Path(relative);
  ListFile(path);
  if (refCount >= 0) SetRefCount(path, refCount);
  return path;
}

void FakeInstaller::ListFile(const QString& fullPath) {
  files_ << fullPath;
  WriteList(Text(kFilesValue), files_);
}

void FakeInstaller::SetRefCount(const QString& fullPath, int count) {
  TRegistry reg;
  Check(reg.OpenKey(Text(kInstalledFilesKey), true), "InstalledFiles");
  reg.WriteInteger(fullPath, count);
}

void FakeInstaller::SetRefCountText(const QString& fullPath, const QString& text) {
  TRegistry reg;
  Check(reg.OpenKey(Text(kInstalledFilesKey), true), "InstalledFiles");
  reg.WriteString(fullPath, text);
}

QString FakeInstaller::AddFolder(const QString& relative) {
  const QString path = Path(relative);
  Check(QDir().mkpath(path), "folder");
  folders_ << path;
  WriteList(Text(kFoldersValue), folders_);
  return path;
}

void FakeInstaller::WriteFile(const QString& relative, const QByteArray& content) {
  const QString path = Path(relative);
  Check(QDir().mkpath(QFileInfo(path).absolutePath()), "folder of a file");
  QFile file(path);
  Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "file");
  file.write(content);
}

QByteArray FakeInstaller::ReadFile(const QString& relative) const {
  QFile file(Path(relative));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void FakeInstaller::SetProduct(const QString& product, const QStringList& installedSubProducts,
                               const QStringList& removedSubProducts, const QString& folder) {
  TRegistry reg;
  Check(reg.OpenKey(Text(kInstalledProductsKey) + "\\" + product, true), "product key");
  reg.WriteString(Text(kVersionValue), "0.96");
  for (const QString& subProduct : installedSubProducts) reg.WriteString(subProduct, "");
  reg.WriteString(Text(kFolderNameValue), folder);
  SetEntryValue(Text(kProductNameValue), product);
  SetEntryValue(Text(kSubProductNameValue), removedSubProducts.join(';'));
}

void FakeInstaller::AddOtherProduct(const QString& product, const QStringList& subProducts) {
  TRegistry reg;
  Check(reg.OpenKey(Text(kInstalledProductsKey) + "\\" + product, true), "other product key");
  reg.WriteString(Text(kVersionValue), "1.0");
  for (const QString& subProduct : subProducts) reg.WriteString(subProduct, "");
}

void FakeInstaller::SetIdeRootDir(const QString& ideKey, const QString& rootDir) {
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  Check(reg.OpenKey(Text(kIdeKeyPrefix) + ideKey, true), "environment key");
  if (!rootDir.isEmpty()) reg.WriteString(Text(kIdeRootDirValue), rootDir);
}

void FakeInstaller::SetIdeCode(const QString& code) { SetEntryValue(Text(kIdeVersionValue), code); }

void FakeInstaller::SetHelps(const QStringList& entries) {
  WriteList(Text(kInstalledHelpsValue), entries);
}

void FakeInstaller::SetEntryValue(const QString& name, const QString& value) {
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  Check(reg.OpenKey(Text(kUninstallKey) + "\\" + key_, true), "uninstall entry");
  reg.WriteString(name, value);
}

bool FakeInstaller::EntryExists() const {
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  return reg.KeyExists(Text(kUninstallKey) + "\\" + key_);
}

bool FakeInstaller::HasKey(TRootKey root, const QString& path) {
  TRegistry reg;
  reg.SetRootKey(root);
  return reg.KeyExists(path);
}

QStringList FakeInstaller::ValueNames(TRootKey root, const QString& path) {
  TRegistry reg;
  reg.SetRootKey(root);
  return reg.OpenKeyReadOnly(path) ? reg.GetValueNames() : QStringList();
}

int FakeInstaller::RefCount(const QString& fullPath) {
  TRegistry reg;
  if (!reg.OpenKeyReadOnly(Text(kInstalledFilesKey)) || !reg.ValueExists(fullPath)) return -1;
  return reg.ReadInteger(fullPath);
}

void FakeInstaller::WriteList(const QString& name, const QStringList& lines) {
  // The installer ends every line with CR LF, the last one included.
  SetEntryValue(name, lines.isEmpty() ? QString() : lines.join("\r\n") + "\r\n");
}

}  // namespace Kel::Testing
