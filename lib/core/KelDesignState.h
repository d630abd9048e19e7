#pragma once
// The design state of objects that are not components. A form designer (Qt Designer, through the
// library's plugin) puts the widgets it places into it, so that the library's design-time rules
// hold for them and for what they own: memory slots saved then become system slots, a builder
// leaves its dataset alone, a field's value events stay quiet. A component keeps the state in its
// own ComponentState (csDesigning).

#include "KelExport.h"

class QObject;

namespace Kel {

// Marks object as being designed, or no longer. What object owns or holds (its child widgets,
// the collections it owns and their items) is designed with it.
KEL_EXPORT void SetObjectDesigning(QObject* object, bool designing);
// Whether object is being designed: marked by SetObjectDesigning or inside a marked object (along
// the owners of persistent objects, else the Qt parents); the first component on the way answers
// with its own state (csDesigning).
KEL_EXPORT bool IsObjectDesigning(const QObject* object);

}  // namespace Kel
