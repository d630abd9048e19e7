#pragma once
// The check boxes that switch a parameter list box's options and properties, shared by the
// filter box's "Props" page and the list box demo: each starts at the box's current state and
// sets or clears its option bit or property when clicked.

#include <QList>

class QCheckBox;
class QWidget;

namespace Kel {

class TKelPrmListBox;

// One check box per switch on page, named namePrefix + the switch's name
// ("PropsSortFieldsCheck"), in the order of the switches; the caller lays them out.
QList<QCheckBox*> MakeListBoxSwitches(QWidget* page, TKelPrmListBox* box, const char* namePrefix);

}  // namespace Kel
