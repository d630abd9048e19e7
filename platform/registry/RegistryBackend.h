#pragma once
// The storage behind TRegistry. A backend addresses keys by root and path (the path already split
// into key names) and never keeps a key open between calls, so TRegistry can hold nothing but a
// path. Two implementations exist: the Windows registry (Windows builds only) and a portable store
// in one SQLite file (every other system, and Windows too when KEL_REGISTRY names a file).
//
// Failures of the storage itself (an unreadable or damaged file, a full disk) raise
// ERegistryException naming the store; a missing key or value is not a failure and is reported
// through the return values.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "PlatformExport.h"

namespace Kel {

// The predefined root keys, numbered as the Windows registry numbers them.
enum class TRootKey : uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  CurrentConfig = 0x80000005u,
};

// The kinds of data a value holds. Kinds other than these read as rdUnknown with their bytes.
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// One value as a backend stores it. Only the member that belongs to the kind is meaningful.
struct KEL_PLATFORM_EXPORT TRegistryValue {
  TRegDataType type = rdUnknown;
  QString text;          // rdString, rdExpandString (may contain NUL characters as stored)
  uint32_t integer = 0;  // rdInteger
  QByteArray bytes;      // rdBinary, rdUnknown

  // The size the Windows registry reports for the data: text in UTF-16 with its terminating NUL,
  // four bytes for an integer, the byte count otherwise.
  int64_t DataSize() const;

  static TRegistryValue String(const QString& text, TRegDataType kind = rdString);
  static TRegistryValue Integer(uint32_t number);
  static TRegistryValue Binary(const QByteArray& bytes);
};

class KEL_PLATFORM_EXPORT TRegistryBackend {
 public:
  virtual ~TRegistryBackend() = default;

  // A short description of where the values live, for messages ("the Windows registry",
  // "the registry file /home/me/.config/Kel/registry.sqlite").
  virtual QString Describe() const = 0;

  virtual bool KeyExists(TRootKey root, const QStringList& path) = 0;
  // Creates the key and any missing parent; true when the key exists afterwards.
  virtual bool CreateKey(TRootKey root, const QStringList& path) = 0;
  // Deletes the key with all its subkeys and values; false when it did not exist. The root itself
  // (an empty path) cannot be deleted.
  virtual bool DeleteKey(TRootKey root, const QStringList& path) = 0;
  // Names as written when created; empty when the key does not exist.
  virtual QStringList KeyNames(TRootKey root, const QStringList& path) = 0;
  virtual QStringList ValueNames(TRootKey root, const QStringList& path) = 0;
  // std::nullopt when the key or the value does not exist.
  virtual std::optional<TRegistryValue> ReadValue(TRootKey root, const QStringList& path,
                                                  const QString& name) = 0;
  // false when the key does not exist (values never create keys).
  virtual bool WriteValue(TRootKey root, const QStringList& path, const QString& name,
                          const TRegistryValue& value) = 0;
  // false when the key or the value does not exist.
  virtual bool DeleteValue(TRootKey root, const QStringList& path, const QString& name) = 0;
  // Makes earlier changes of the key durable now (the portable store commits every change at
  // once, so there it has nothing left to do).
  virtual void Flush(TRootKey root, const QStringList& path) = 0;
  // A batch: the changes up to EndBatch take effect together or not at all (EndBatch(false), an
  // error or a crash before EndBatch(true) leaves none of them), where the storage can do that;
  // the Windows registry cannot, and there the changes simply happen one by one. Batches do not
  // nest.
  virtual void BeginBatch() {}
  virtual void EndBatch(bool commit) {}
};

// The portable store: one SQLite file. The file is opened on first use; reading from a file that
// does not exist yet finds nothing and creates nothing, the first change creates it (and its
// folder). A file that is not a registry store raises ERegistryException and is left untouched.
KEL_PLATFORM_EXPORT std::shared_ptr<TRegistryBackend> OpenRegistryFile(const QString& fileName);

// Where the portable store lives: the environment variable KEL_REGISTRY when set, else
// "Kel/registry.sqlite" in the user's configuration folder.
KEL_PLATFORM_EXPORT QString DefaultRegistryFileName();

// The backend TRegistry uses when none is given: the portable store named by KEL_REGISTRY when
// that variable is set (on every system, so tests never touch a real registry); otherwise the
// Windows registry on Windows and the file of DefaultRegistryFileName() elsewhere.
KEL_PLATFORM_EXPORT std::shared_ptr<TRegistryBackend> DefaultRegistryBackend();

#ifdef _WIN32
std::shared_ptr<TRegistryBackend> OpenWindowsRegistry();
#endif

// Splits a key path at backslashes, dropping empty names (so "\A\\B\" is A, B).
KEL_PLATFORM_EXPORT QStringList SplitKeyPath(const QString& path);

}  // namespace Kel
