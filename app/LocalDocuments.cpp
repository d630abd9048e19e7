#include "LocalDocuments.h"

#include <QDir>
#include <QFileInfo>

namespace Kel {

namespace {

// A directory is not a document, even when it carries the document's name.
bool IsExistingFile(const QString& path) { return QFileInfo(path).isFile(); }

}  // namespace

QString FindLocalDocument(const QString& programDirectory, const QString& fileName) {
  if (programDirectory.isEmpty() || fileName.isEmpty()) return {};
  QString directory = QDir::fromNativeSeparators(programDirectory);
  if (!directory.endsWith(QLatin1Char('/'))) directory += QLatin1Char('/');

  const QString besideProgram = directory + fileName;
  if (IsExistingFile(besideProgram)) return besideProgram;

  // Left uncleaned on purpose: the system resolves ".." against the real folder, also when the
  // program's folder is reached through a symbolic link.
  const QString oneLevelUp = directory + QStringLiteral("../") + fileName;
  if (IsExistingFile(oneLevelUp)) return oneLevelUp;
  return {};
}

}  // namespace Kel
