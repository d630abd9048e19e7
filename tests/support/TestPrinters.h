#pragma once
// Readable gtest output for the library's value types.

#include "Variant.h"

#include <QString>

#include <ostream>

namespace Kel {
inline void PrintTo(const Variant& v, std::ostream* os) { *os << VarDebugText(v).toStdString(); }
}  // namespace Kel

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
