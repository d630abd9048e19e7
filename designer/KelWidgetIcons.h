#pragma once
// The icons of the widget box, drawn in code so that they are sharp at any screen scale and need
// no image files.

#include <QIcon>

namespace Kel::Designer {

QIcon FilterBoxIcon();
QIcon ListBoxIcon();
QIcon CalendarIcon();
QIcon CalendarEditIcon();
QIcon CalculatorIcon();
QIcon CalcDisplayIcon();
QIcon CalcEditIcon();
QIcon ButtonPanelIcon();
QIcon LookupListIcon();

}  // namespace Kel::Designer
