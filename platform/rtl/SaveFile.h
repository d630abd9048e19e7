#pragma once
// Putting a file written through QSaveFile in place of the old one, safely.

#include <QString>

#include "PlatformExport.h"

class QSaveFile;

namespace Kel {

// Makes what was written to file replace the old file: the rest still buffered is written and
// forced to the disk first, and only when that worked is the file put in place. A failure (a
// full disk) discards the new contents, keeps the old file and gives the reason. QSaveFile's
// own commit would put in place whatever part it managed to write.
KEL_PLATFORM_EXPORT bool CommitSaveFile(QSaveFile& file, QString& reason);

}  // namespace Kel
