#pragma once
// RegisterClassesOnce: makes classes known to the class registry (so component streams can
// create them by name) without failing when a unit registers them a second time or when another
// class already took the name.

#include <QList>
#include <QMetaObject>
#include <initializer_list>

#include "KelExport.h"

namespace Kel {

// Registers each class unless a class of its name is registered already; errors are ignored.
KEL_EXPORT void RegisterClassesOnce(std::initializer_list<const QMetaObject*> classes);
KEL_EXPORT void RegisterClassesOnce(const QList<const QMetaObject*>& classes);

}  // namespace Kel
