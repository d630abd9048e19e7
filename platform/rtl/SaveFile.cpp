#include "SaveFile.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace Kel {

bool CommitSaveFile(QSaveFile& file, QString& reason) {
  bool written = file.flush();
  if (written) {
#ifdef _WIN32
    written = ::_commit(file.handle()) == 0;
#else
    written = ::fsync(file.handle()) == 0;
#endif
    if (!written) reason = QString::fromLocal8Bit(std::strerror(errno));
  } else {
    reason = file.errorString();
  }
  if (!written) {
    file.cancelWriting();
    file.commit();  // removes the temporary file
    return false;
  }
  if (file.commit()) return true;
  reason = file.errorString();
  return false;
}

}  // namespace Kel
