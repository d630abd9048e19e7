#include "Registry.h"

#include <cstring>

#include "Exceptions.h"

namespace Kel {

namespace {

[[noreturn]] void Raise(const char* text, const QString& arg) {
  throw ERegistryException(RtlMessage(text, arg));
}

QString UpToFirstNul(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return nul < 0 ? text : text.left(nul);
}

}  // namespace

TRegistry::TRegistry() : TRegistry(DefaultRegistryBackend()) {}

TRegistry::TRegistry(std::shared_ptr<TRegistryBackend> backend) : backend_(std::move(backend)) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(TRootKey root) {
  if (root == root_) return;
  CloseKey();
  root_ = root;
}

QStringList TRegistry::Resolve(const QString& key) const {
  if (key.startsWith(QLatin1Char('\\'))) return SplitKeyPath(key);
  return currentPath_ + SplitKeyPath(key);
}

// A relative key argument goes through the current key, so a key opened for reading only must
// not let it create or delete anything below it.
bool TRegistry::IsRelativeToReadOnlyKey(const QString& key) const {
  return readOnly_ && hasCurrentKey_ && !key.startsWith(QLatin1Char('\\'));
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
  if (IsRelativeToReadOnlyKey(key) && canCreate && !KeyExists(key)) return false;
  const QStringList path = Resolve(key);
  const bool exists =
      canCreate ? backend_->CreateKey(root_, path) : backend_->KeyExists(root_, path);
  if (!exists) return false;
  currentPath_ = path;
  hasCurrentKey_ = true;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key) {
  const QStringList path = Resolve(key);
  if (!backend_->KeyExists(root_, path)) return false;
  currentPath_ = path;
  hasCurrentKey_ = true;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  if (hasCurrentKey_ && !readOnly_) backend_->Flush(root_, currentPath_);
  currentPath_.clear();
  hasCurrentKey_ = false;
  readOnly_ = false;
}

bool TRegistry::CreateKey(const QString& key) {
  if (IsRelativeToReadOnlyKey(key) || !backend_->CreateKey(root_, Resolve(key)))
    Raise(RegistryText::CreateKeyFailed, key);
  return true;
}

bool TRegistry::DeleteKey(const QString& key) {
  if (IsRelativeToReadOnlyKey(key)) return false;
  const QStringList path = Resolve(key);
  if (path.isEmpty()) return false;  // a root key cannot be deleted
  return backend_->DeleteKey(root_, path);
}

bool TRegistry::KeyExists(const QString& key) { return backend_->KeyExists(root_, Resolve(key)); }

bool TRegistry::HasSubKeys() { return !GetKeyNames().isEmpty(); }

QStringList TRegistry::GetKeyNames() { return backend_->KeyNames(root_, currentPath_); }

QStringList TRegistry::GetValueNames() { return backend_->ValueNames(root_, currentPath_); }

bool TRegistry::ValueExists(const QString& name) { return ReadValue(name).has_value(); }

bool TRegistry::DeleteValue(const QString& name) {
  if (readOnly_) return false;
  return backend_->DeleteValue(root_, currentPath_, name);
}

int TRegistry::GetDataSize(const QString& name) {
  const auto value = ReadValue(name);
  return value ? static_cast<int>(value->DataSize()) : -1;
}

TRegDataType TRegistry::GetDataType(const QString& name) {
  const auto value = ReadValue(name);
  return value ? value->type : rdUnknown;
}

std::optional<TRegistryValue> TRegistry::ReadValue(const QString& name) {
  return backend_->ReadValue(root_, currentPath_, name);
}

TRegistryValue TRegistry::ReadExisting(const QString& name) {
  auto value = ReadValue(name);
  if (!value) Raise(RegistryText::GetDataFailed, name);
  return std::move(*value);
}

void TRegistry::Write(const QString& name, const TRegistryValue& value) {
  if (readOnly_ || !backend_->WriteValue(root_, currentPath_, name, value))
    Raise(RegistryText::SetDataFailed, name);
}

QString TRegistry::ReadString(const QString& name) {
  const auto value = ReadValue(name);
  if (!value) return QString();
  if (value->type != rdString && value->type != rdExpandString)
    Raise(RegistryText::InvalidDataType, name);
  // Installers often store the terminating NUL with the text; it is not part of the text.
  return UpToFirstNul(value->text);
}

void TRegistry::WriteString(const QString& name, const QString& value) {
  Write(name, TRegistryValue::String(value));
}

void TRegistry::WriteExpandString(const QString& name, const QString& value) {
  Write(name, TRegistryValue::String(value, rdExpandString));
}

int TRegistry::ReadInteger(const QString& name) {
  const TRegistryValue value = ReadExisting(name);
  if (value.type != rdInteger) Raise(RegistryText::InvalidDataType, name);
  return static_cast<int>(value.integer);
}

void TRegistry::WriteInteger(const QString& name, int value) {
  Write(name, TRegistryValue::Integer(static_cast<uint32_t>(value)));
}

int TRegistry::ReadBinaryData(const QString& name, void* buffer, int bufferSize) {
  const QByteArray bytes = ReadBinary(name);
  if (bytes.size() > bufferSize) Raise(RegistryText::GetDataFailed, name);
  if (!bytes.isEmpty()) std::memcpy(buffer, bytes.constData(), bytes.size());
  return static_cast<int>(bytes.size());
}

void TRegistry::WriteBinaryData(const QString& name, const void* buffer, int size) {
  if (size < 0 || (size > 0 && buffer == nullptr)) Raise(RegistryText::SetDataFailed, name);
  WriteBinary(name, QByteArray(static_cast<const char*>(buffer), size));
}

QByteArray TRegistry::ReadBinary(const QString& name) {
  const TRegistryValue value = ReadExisting(name);
  if (value.type != rdBinary && value.type != rdUnknown) Raise(RegistryText::InvalidDataType, name);
  return value.bytes;
}

void TRegistry::WriteBinary(const QString& name, const QByteArray& bytes) {
  Write(name, TRegistryValue::Binary(bytes));
}

void TRegistry::Flush() { backend_->Flush(root_, currentPath_); }

QString ReadLocalMachineString(const QString& key, const QString& name, bool* found) {
  if (found) *found = false;
  TRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  if (!reg.OpenKeyReadOnly(key)) return QString();
  const auto value = reg.ReadValue(name);
  if (!value || (value->type != rdString && value->type != rdExpandString)) return QString();
  if (found) *found = true;
  return UpToFirstNul(value->text);
}

void TRegistry::BeginBatch() { backend_->BeginBatch(); }

void TRegistry::EndBatch(bool commit) { backend_->EndBatch(commit); }

}  // namespace Kel
