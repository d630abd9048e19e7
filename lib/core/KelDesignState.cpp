#include "KelDesignState.h"

#include <QObject>
#include <QSet>

#include "Component.h"

namespace Kel {

namespace {

// The marked objects; each leaves the set when it is destroyed.
QSet<const QObject*>& MarkedObjects() {
  static QSet<const QObject*> marked;
  return marked;
}

// A chain longer than this is a cycle (a collection made its own owner by mistake).
constexpr int kMaxChain = 256;

const QObject* Outer(const QObject* object) {
  if (const auto* persistent = qobject_cast<const TPersistent*>(object))
    if (QObject* owner = persistent->GetOwner()) return owner;
  return object->parent();
}

}  // namespace

void SetObjectDesigning(QObject* object, bool designing) {
  if (!object || designing == MarkedObjects().contains(object)) return;
  if (designing) {
    MarkedObjects().insert(object);
    QObject::connect(object, &QObject::destroyed, [object] { MarkedObjects().remove(object); });
  } else {
    MarkedObjects().remove(object);
  }
}

bool IsObjectDesigning(const QObject* object) {
  const QSet<const QObject*>& marked = MarkedObjects();
  for (int step = 0; object && step < kMaxChain; ++step, object = Outer(object)) {
    if (!marked.isEmpty() && marked.contains(object)) return true;
    // A component knows its state itself (its designer sets it on everything it owns).
    if (const auto* component = qobject_cast<const TComponent*>(object))
      return component->ComponentState().Contains(csDesigning);
  }
  return false;
}

}  // namespace Kel
