#include "Cursors.h"

#include <QHash>

namespace Kel {

namespace {
QHash<TCursor, QCursor>& CursorTable() {
  static QHash<TCursor, QCursor> table;
  return table;
}
}  // namespace

void SetScreenCursor(TCursor index, const QCursor& cursor) { CursorTable().insert(index, cursor); }

QCursor ScreenCursor(TCursor index) { return CursorTable().value(index, QCursor(Qt::ArrowCursor)); }

bool HasScreenCursor(TCursor index) { return CursorTable().contains(index); }

}  // namespace Kel
