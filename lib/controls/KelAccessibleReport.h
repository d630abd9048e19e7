#pragma once
// What a control tells a screen reader. A control reports a change in its own terms (the item
// that became current, the date the cursor moved to, the button whose state changed); the
// accessibility layer of the library installs the reporter that knows which accessible object
// stands for that subject and sends the matching accessibility event. Controls thus know
// nothing of how their accessible tree is laid out.
//
// Reporting costs a call and an early return while no assistive technology listens: the
// installed reporter looks at QAccessible::isActive() first.

#include <QVariant>
#include <functional>

#include "KelExport.h"

class QWidget;

namespace Kel {

enum class TKelAccessibleChange {
  Focus,      // the subject became the focused part of the focused control
  Selection,  // the selection changed; the subject is the current part
  State,      // a state of the subject changed (checked, enabled)
  Value,      // the value or text the control shows changed
  Name,       // the subject's text changed
  Structure,  // parts appeared, went or moved (no subject)
};

using TKelAccessibleReporter =
    std::function<void(QWidget* control, TKelAccessibleChange change, const QVariant& subject)>;

// Installs reporter and returns the one installed before (tests chain or restore it).
KEL_EXPORT TKelAccessibleReporter SetAccessibleReporter(TKelAccessibleReporter reporter);

KEL_EXPORT void ReportAccessible(QWidget* control, TKelAccessibleChange change,
                                 const QVariant& subject = QVariant());

}  // namespace Kel
