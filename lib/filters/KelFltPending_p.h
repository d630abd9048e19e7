#pragma once
// Stand-ins for two pieces of the expression engine that are being built elsewhere; they go
// when it lands.

#include <QString>
#include <QStringList>

namespace Kel {

// Whether the statement holds the keyword WHERE outside strings, quoted names and comments.
bool SqlHasWhere(const QString& sql);

}  // namespace Kel
