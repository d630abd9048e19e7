#include "RegistryBackend.h"

#include <QDir>
#include <QStandardPaths>

namespace Kel {

int64_t TRegistryValue::DataSize() const {
  switch (type) {
    case rdString:
    case rdExpandString:
      return (static_cast<int64_t>(text.size()) + 1) * 2;
    case rdInteger:
      return 4;
    case rdBinary:
    case rdUnknown:
      break;
  }
  return bytes.size();
}

TRegistryValue TRegistryValue::String(const QString& text, TRegDataType kind) {
  TRegistryValue value;
  value.type = kind == rdExpandString ? rdExpandString : rdString;
  value.text = text;
  return value;
}

TRegistryValue TRegistryValue::Integer(uint32_t number) {
  TRegistryValue value;
  value.type = rdInteger;
  value.integer = number;
  return value;
}

TRegistryValue TRegistryValue::Binary(const QByteArray& bytes) {
  TRegistryValue value;
  value.type = rdBinary;
  value.bytes = bytes;
  return value;
}

QStringList SplitKeyPath(const QString& path) {
  return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString DefaultRegistryFileName() {
  const QString fromEnvironment = qEnvironmentVariable("KEL_REGISTRY");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/Kel/registry.sqlite");
}

std::shared_ptr<TRegistryBackend> DefaultRegistryBackend() {
#ifdef _WIN32
  if (qEnvironmentVariableIsEmpty("KEL_REGISTRY")) return OpenWindowsRegistry();
#endif
  return OpenRegistryFile(DefaultRegistryFileName());
}

}  // namespace Kel
