// The Windows registry behind TRegistry. Every call opens the key it needs with the least access
// that call needs and closes it again, so nothing stays open between calls.
#ifdef _WIN32

#include "Exceptions.h"
#include "RegistryBackend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // RegDeleteTreeW
#endif
#include <windows.h>

#include <cstring>
#include <vector>

namespace Kel {

namespace {

HKEY ToHandle(TRootKey root) {
  // The predefined handles are the sign-extended 32-bit numbers, as the Windows headers make them.
  return reinterpret_cast<HKEY>(
      static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<uint32_t>(root))));
}

std::wstring ToWide(const QString& text) { return text.toStdWString(); }

std::wstring JoinPath(const QStringList& path) { return ToWide(path.join(QLatin1Char('\\'))); }

// An open key, closed on every path.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  bool Open(TRootKey root, const QStringList& path, REGSAM access) {
    return RegOpenKeyExW(ToHandle(root), JoinPath(path).c_str(), 0, access, &key_) == ERROR_SUCCESS;
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

[[noreturn]] void RaiseSystemError(const QString& what, LSTATUS status) {
  wchar_t* buffer = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  QString detail =
      buffer ? QString::fromWCharArray(buffer).trimmed() : QStringLiteral("error %1").arg(status);
  if (buffer) LocalFree(buffer);
  throw ERegistryException(QStringLiteral("%1: %2").arg(what, detail));
}

class WindowsRegistry : public TRegistryBackend {
 public:
  QString Describe() const override { return QStringLiteral("the Windows registry"); }

  bool KeyExists(TRootKey root, const QStringList& path) override {
    KeyHandle key;
    return key.Open(root, path, KEY_QUERY_VALUE) || key.Open(root, path, KEY_ENUMERATE_SUB_KEYS);
  }

  bool CreateKey(TRootKey root, const QStringList& path) override {
    HKEY key = nullptr;
    const LSTATUS status =
        RegCreateKeyExW(ToHandle(root), JoinPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  bool DeleteKey(TRootKey root, const QStringList& path) override {
    if (path.isEmpty() || !KeyExists(root, path)) return false;
    return RegDeleteTreeW(ToHandle(root), JoinPath(path).c_str()) == ERROR_SUCCESS;
  }

  QStringList KeyNames(TRootKey root, const QStringList& path) override {
    QStringList names;
    KeyHandle key;
    if (!key.Open(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE)) return names;
    DWORD count = 0;
    DWORD maxLength = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return names;
    std::vector<wchar_t> buffer(maxLength + 1);
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(buffer.size());
      if (RegEnumKeyExW(key.Get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      names << QString::fromWCharArray(buffer.data(), static_cast<int>(length));
    }
    return names;
  }

  QStringList ValueNames(TRootKey root, const QStringList& path) override {
    QStringList names;
    KeyHandle key;
    if (!key.Open(root, path, KEY_QUERY_VALUE)) return names;
    DWORD count = 0;
    DWORD maxLength = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &maxLength, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return names;
    std::vector<wchar_t> buffer(maxLength + 1);
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(buffer.size());
      if (RegEnumValueW(key.Get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      names << QString::fromWCharArray(buffer.data(), static_cast<int>(length));
    }
    return names;
  }

  std::optional<TRegistryValue> ReadValue(TRootKey root, const QStringList& path,
                                          const QString& name) override {
    KeyHandle key;
    if (!key.Open(root, path, KEY_QUERY_VALUE)) return std::nullopt;
    const std::wstring valueName = ToWide(name);
    DWORD type = 0;
    std::vector<BYTE> data;
    LSTATUS status = ERROR_MORE_DATA;
    // The value may grow between asking for its size and reading it: ask again until it fits.
    while (status == ERROR_MORE_DATA) {
      DWORD size = 0;
      status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size);
      if (status != ERROR_SUCCESS) return std::nullopt;
      data.assign(size + sizeof(wchar_t), 0);  // room for a NUL the stored text may lack
      size = static_cast<DWORD>(data.size());
      status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, data.data(), &size);
      if (status == ERROR_SUCCESS) data.resize(size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    return Decode(type, data);
  }

  bool WriteValue(TRootKey root, const QStringList& path, const QString& name,
                  const TRegistryValue& value) override {
    KeyHandle key;
    if (!key.Open(root, path, KEY_SET_VALUE)) return false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    Encode(value, type, data);
    const LSTATUS status =
        RegSetValueExW(key.Get(), ToWide(name).c_str(), 0, type,
                       data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
    return status == ERROR_SUCCESS;
  }

  bool DeleteValue(TRootKey root, const QStringList& path, const QString& name) override {
    KeyHandle key;
    if (!key.Open(root, path, KEY_SET_VALUE)) return false;
    return RegDeleteValueW(key.Get(), ToWide(name).c_str()) == ERROR_SUCCESS;
  }

  void Flush(TRootKey root, const QStringList& path) override {
    KeyHandle key;
    if (!key.Open(root, path, KEY_QUERY_VALUE)) return;
    const LSTATUS status = RegFlushKey(key.Get());
    if (status != ERROR_SUCCESS)
      RaiseSystemError(
          QStringLiteral("The registry key %1 cannot be flushed").arg(path.join(QLatin1Char('\\'))),
          status);
  }

 private:
  static TRegistryValue Decode(DWORD type, const std::vector<BYTE>& data) {
    switch (type) {
      case REG_SZ:
      case REG_EXPAND_SZ: {
        // Text in UTF-16, usually with its NUL stored; an odd last byte is dropped. The stored
        // terminator is not part of the text (Encode adds it back), so DataSize counts as the
        // registry does; NULs before it stay.
        const auto* chars = reinterpret_cast<const char16_t*>(data.data());
        QString text = QString::fromUtf16(chars, static_cast<qsizetype>(data.size() / 2));
        if (text.endsWith(QChar(u'\0'))) text.chop(1);
        return TRegistryValue::String(text, type == REG_SZ ? rdString : rdExpandString);
      }
      case REG_DWORD: {
        if (data.size() != sizeof(DWORD)) break;
        DWORD number = 0;
        memcpy(&number, data.data(), sizeof number);
        return TRegistryValue::Integer(number);
      }
      case REG_BINARY:
        return TRegistryValue::Binary(QByteArray(reinterpret_cast<const char*>(data.data()),
                                                 static_cast<qsizetype>(data.size())));
      default:
        break;
    }
    TRegistryValue value;
    value.type = rdUnknown;
    value.bytes =
        QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    return value;
  }

  static void Encode(const TRegistryValue& value, DWORD& type, std::vector<BYTE>& data) {
    switch (value.type) {
      case rdString:
      case rdExpandString: {
        type = value.type == rdString ? REG_SZ : REG_EXPAND_SZ;
        const qsizetype bytes = (value.text.size() + 1) * 2;  // with the terminating NUL
        data.assign(static_cast<size_t>(bytes), 0);
        memcpy(data.data(), value.text.utf16(), static_cast<size_t>(value.text.size()) * 2);
        return;
      }
      case rdInteger:
        type = REG_DWORD;
        data.resize(sizeof(DWORD));
        memcpy(data.data(), &value.integer, sizeof(DWORD));
        return;
      case rdBinary:
      case rdUnknown:
        type = value.type == rdBinary ? REG_BINARY : REG_NONE;
        data.assign(value.bytes.begin(), value.bytes.end());
        return;
    }
  }
};

}  // namespace

std::shared_ptr<TRegistryBackend> OpenWindowsRegistry() {
  return std::make_shared<WindowsRegistry>();
}

}  // namespace Kel

#endif  // _WIN32
