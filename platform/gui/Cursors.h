#pragma once
// The process-wide cursor table: cursors registered under integer indexes (TCursor), so that a
// control's cursor property can name one by number, as component streams store it.

#include <QCursor>

#include "PlatformExport.h"

namespace Kel {

using TCursor = int;

// Registers (or replaces) the cursor under index.
KEL_PLATFORM_EXPORT void SetScreenCursor(TCursor index, const QCursor& cursor);
// The cursor registered under index; the arrow for an index nothing was registered under.
KEL_PLATFORM_EXPORT QCursor ScreenCursor(TCursor index);
KEL_PLATFORM_EXPORT bool HasScreenCursor(TCursor index);

}  // namespace Kel
