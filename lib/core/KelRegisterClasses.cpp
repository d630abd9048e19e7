#include "KelRegisterClasses.h"

#include <exception>

#include "ClassRegistry.h"
#include "Persistent.h"

namespace Kel {

void RegisterClassesOnce(const QList<const QMetaObject*>& classes) {
  for (const QMetaObject* metaObject : classes) {
    if (!metaObject || GetClass(TPersistent::ClassNameOf(*metaObject))) continue;
    try {
      RegisterClass(*metaObject);
    } catch (const std::exception&) {
      // A class the registry refuses stays unregistered; the others still get their turn.
    }
  }
}

void RegisterClassesOnce(std::initializer_list<const QMetaObject*> classes) {
  RegisterClassesOnce(QList<const QMetaObject*>(classes));
}

}  // namespace Kel
