#include "KelDrawing.h"

namespace Kel {

QString ColorTag(TColor color) {
  QString ident;
  const QString name = ColorToIdent(color, ident) ? ident.mid(2) : ColorToString(color);
  return QStringLiteral("<c:") + name + QLatin1Char('>');
}

bool ColorOfTagName(const QString& name, TColor& color) {
  if (!name.isEmpty() && !name.startsWith(QLatin1Char('$')))
    return IdentToColor(QStringLiteral("cl") + name, color);
  return TryStringToColor(name, color);
}

}  // namespace Kel
