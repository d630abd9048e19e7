#pragma once
// The process-wide cursor table: cursors registered under integer indexes (TCursor), so that a
// control's cursor property can name one by number, as component streams store it.

#include <QCursor>

namespace Kel {

using TCursor = int;

// Registers (or replaces) the cursor under index.
void SetScreenCursor(TCursor index, const QCursor& cursor);
// The cursor registered under index; the arrow for an index nothing was registered under.
QCursor ScreenCursor(TCursor index);
bool HasScreenCursor(TCursor index);

}  // namespace Kel
