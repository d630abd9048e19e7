#pragma once
// TRegistry: keys and typed values under a root key, with the classic interface the library's
// code is written against. One key at a time is "current"; value operations work on it (on the
// root itself when no key is open). Key arguments starting with a backslash are absolute (from
// the root), others relative to the current key. Key names compare ignoring case and keep the
// case they were created with; value names may hold any character, backslashes and slashes
// included.
//
//   TRegistry reg;                                  // HKEY_CURRENT_USER, default backend
//   reg.SetRootKey(HKEY_LOCAL_MACHINE);
//   if (reg.OpenKey("Software\\Some\\Key", true)) reg.WriteInteger("Count", 2);
//
// Errors raise ERegistryException: "Failed to create key %s", "Failed to get data for '%s'",
// "Failed to set data for '%s'", "Invalid data type for '%s'", and the backend's own texts when
// the store cannot be read or written. The values live where DefaultRegistryBackend() says,
// unless a backend is given.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "PlatformExport.h"
#include "RegistryBackend.h"

namespace Kel {

// The classic names of the root keys. <windows.h> defines macros of the same names; code that
// includes it before this header uses Kel::TRootKey directly.
#ifndef HKEY_CLASSES_ROOT
inline constexpr TRootKey HKEY_CLASSES_ROOT = TRootKey::ClassesRoot;
inline constexpr TRootKey HKEY_CURRENT_USER = TRootKey::CurrentUser;
inline constexpr TRootKey HKEY_LOCAL_MACHINE = TRootKey::LocalMachine;
inline constexpr TRootKey HKEY_USERS = TRootKey::Users;
inline constexpr TRootKey HKEY_CURRENT_CONFIG = TRootKey::CurrentConfig;
#endif

namespace RegistryText {
inline constexpr const char* CreateKeyFailed = "Failed to create key %1";
inline constexpr const char* GetDataFailed = "Failed to get data for '%1'";
inline constexpr const char* SetDataFailed = "Failed to set data for '%1'";
inline constexpr const char* InvalidDataType = "Invalid data type for '%1'";
}  // namespace RegistryText

class KEL_PLATFORM_EXPORT TRegistry {
 public:
  TRegistry();
  explicit TRegistry(std::shared_ptr<TRegistryBackend> backend);
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  ~TRegistry();

  TRootKey RootKey() const { return root_; }
  // Changing the root closes the current key.
  void SetRootKey(TRootKey root);
  // The current key's path below the root, names joined by "\" (empty when none is open).
  QString CurrentPath() const { return currentPath_.join(QLatin1Char('\\')); }

  // Makes the key current. Returns false when it does not exist and canCreate is false (or it
  // cannot be created); the current key is unchanged then.
  bool OpenKey(const QString& key, bool canCreate);
  // Makes an existing key current for reading only: writes raise "Failed to set data for".
  bool OpenKeyReadOnly(const QString& key);
  void CloseKey();

  bool CreateKey(const QString& key);  // raises "Failed to create key %s" when it cannot
  bool DeleteKey(const QString& key);  // with all subkeys; false when absent
  bool KeyExists(const QString& key);
  bool HasSubKeys();
  QStringList GetKeyNames();
  QStringList GetValueNames();

  bool ValueExists(const QString& name);
  bool DeleteValue(const QString& name);
  // The size of the value's data as the Windows registry counts it; -1 when there is no value.
  int GetDataSize(const QString& name);
  // rdUnknown also when there is no value.
  TRegDataType GetDataType(const QString& name);
  // The value with its kind, as stored; std::nullopt when there is none. One read where asking
  // for existence, kind and data separately would read the value each time.
  std::optional<TRegistryValue> ReadValue(const QString& name);

  // Text up to its first NUL character; empty when the value is missing.
  QString ReadString(const QString& name);
  void WriteString(const QString& name, const QString& value);
  void WriteExpandString(const QString& name, const QString& value);
  int ReadInteger(const QString& name);
  void WriteInteger(const QString& name, int value);
  bool ReadBool(const QString& name) { return ReadInteger(name) != 0; }
  void WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }
  // Copies the value's bytes into buffer and returns their count; raises "Failed to get data for"
  // when the value is missing or larger than bufferSize.
  int ReadBinaryData(const QString& name, void* buffer, int bufferSize);
  void WriteBinaryData(const QString& name, const void* buffer, int size);
  QByteArray ReadBinary(const QString& name);
  void WriteBinary(const QString& name, const QByteArray& bytes);

  // Makes the changes of the current key durable now.
  void Flush();
  // Groups the changes up to EndBatch into one (see TRegistryBackend::BeginBatch).
  void BeginBatch();
  void EndBatch(bool commit);

 private:
  QStringList Resolve(const QString& key) const;
  bool IsRelativeToReadOnlyKey(const QString& key) const;
  TRegistryValue ReadExisting(const QString& name);
  void Write(const QString& name, const TRegistryValue& value);

  std::shared_ptr<TRegistryBackend> backend_;
  TRootKey root_ = TRootKey::CurrentUser;
  QStringList currentPath_;
  bool hasCurrentKey_ = false;
  bool readOnly_ = false;
};

// The text of the value `name` of `key` below HKEY_LOCAL_MACHINE (up to its first NUL), or an
// empty text when the key or the value is missing or the value is not text; *found (when given)
// says whether a text value was there. A store that cannot be read raises ERegistryException.
KEL_PLATFORM_EXPORT QString ReadLocalMachineString(const QString& key, const QString& name,
                                                   bool* found = nullptr);

}  // namespace Kel
