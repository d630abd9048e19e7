#pragma once
// A registry file of the test's own: KEL_REGISTRY names a file in a fresh temporary folder while
// the object lives, so TRegistry() and everything built on it use that file and nothing else.
// The variable's earlier state comes back afterwards.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace Kel::Testing {

class ScopedRegistryFile {
 public:
  ScopedRegistryFile()
      : fileName_(dir_.filePath(QStringLiteral("registry.sqlite"))),
        had_(qEnvironmentVariableIsSet("KEL_REGISTRY")),
        old_(qgetenv("KEL_REGISTRY")) {
    qputenv("KEL_REGISTRY", QFile::encodeName(fileName_));
  }
  ~ScopedRegistryFile() {
    if (had_)
      qputenv("KEL_REGISTRY", old_);
    else
      qunsetenv("KEL_REGISTRY");
  }
  ScopedRegistryFile(const ScopedRegistryFile&) = delete;
  ScopedRegistryFile& operator=(const ScopedRegistryFile&) = delete;

  const QString& FileName() const { return fileName_; }
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString fileName_;
  bool had_;
  QByteArray old_;
};

}  // namespace Kel::Testing
