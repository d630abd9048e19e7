#pragma once
// A fresh registry file per test: KEL_REGISTRY points into a temporary folder for the test's
// lifetime, so TRegistry() and everything built on it use that file and nothing else.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "Registry.h"

namespace Kel::Testing {

class ScopedRegistryFile {
 public:
  ScopedRegistryFile() : fileName_(dir_.filePath(QStringLiteral("registry.sqlite"))) {
    had_ = qEnvironmentVariableIsSet("KEL_REGISTRY");
    old_ = qgetenv("KEL_REGISTRY");
    qputenv("KEL_REGISTRY", fileName_.toLocal8Bit());
  }
  ~ScopedRegistryFile() {
    if (had_)
      qputenv("KEL_REGISTRY", old_);
    else
      qunsetenv("KEL_REGISTRY");
  }
  const QString& FileName() const { return fileName_; }
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString fileName_;
  bool had_ = false;
  QByteArray old_;
};

class RegistryTest : public ::testing::Test {
 protected:
  ScopedRegistryFile store_;
};

}  // namespace Kel::Testing
