#pragma once
// Unit KelAccessible: the library's controls as a screen reader meets them. The library installs
// its accessible-interface factory and its reporter of changes by itself when the application
// object is created, so an application gets both without doing anything; calling
// InstallKelAccessibility again does nothing.
//
// The factory answers for the parameter list box and the filter box, their lines and
// parameters, the calendar, the calculator and its display, every popup of the library and the
// lookup list (see the KelAccessible*.h headers for what each looks like). The reporter turns
// what the controls report (KelAccessibleReport.h) into accessibility events on the accessible
// objects that stand for the subjects; AccessibleEventsFor is that translation on its own.

#include <QAccessible>
#include <memory>
#include <vector>

#include "KelAccessibleReport.h"
#include "KelExport.h"

namespace Kel {

KEL_EXPORT void InstallKelAccessibility();

// The accessible interface of one of the library's objects (nullptr for an object of others).
KEL_EXPORT QAccessibleInterface* KelAccessibleFactory(const QString& className, QObject* object);

// The events a report stands for (none when there is nothing a reader should hear, for
// example a focus report of a control that does not have the focus).
KEL_EXPORT std::vector<std::unique_ptr<QAccessibleEvent>> AccessibleEventsFor(
    QWidget* control, TKelAccessibleChange change, const QVariant& subject);

}  // namespace Kel
