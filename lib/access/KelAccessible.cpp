#include "KelAccessible.h"

#include <QCoreApplication>

#include "DBLookupListBox.h"
#include "KelAccessibleCalc_p.h"
#include "KelAccessibleCalendar_p.h"
#include "KelAccessibleListBox_p.h"
#include "KelAccessiblePopup_p.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelCalendar.h"
#include "KelForms.h"
#include "KelPrmListBox.h"

namespace Kel {

namespace {

// A list longer than this is not announced child by child when its lines change: the bridge
// would send one signal per line. Readers fetch the lines of such a list when they visit them.
constexpr int kMaxReorderedChildren = 100;

using TEvents = std::vector<std::unique_ptr<QAccessibleEvent>>;

QObject* SubjectObject(const QVariant& subject) { return subject.value<QObject*>(); }

void Add(TEvents& events, QAccessibleInterface* iface, QAccessible::Event type) {
  if (iface) events.push_back(std::make_unique<QAccessibleEvent>(iface, type));
}

void AddStateChange(TEvents& events, QAccessibleInterface* iface, QAccessible::State changed) {
  if (iface) events.push_back(std::make_unique<QAccessibleStateChangeEvent>(iface, changed));
}

void ListBoxEvents(TEvents& events, TKelPrmListBox* box, TKelAccessibleChange change,
                   const QVariant& subject) {
  if (change == TKelAccessibleChange::Structure) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    if (iface && iface->childCount() <= kMaxReorderedChildren) Add(events, iface, QAccessible::ObjectReorder);
    return;
  }
  QObject* part = SubjectObject(subject);
  if (!part) return;
  // A line's text changes as values are edited; only a line on the screen is worth a word.
  if (change == TKelAccessibleChange::Name) {
    auto* item = qobject_cast<TKelListItem*>(part);
    if (!item || ShownRow(box, item) < 0) return;
  }
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(part);
  switch (change) {
    case TKelAccessibleChange::Focus:
      if (box->hasFocus()) Add(events, iface, QAccessible::Focus);
      break;
    case TKelAccessibleChange::Selection: Add(events, iface, QAccessible::Selection); break;
    case TKelAccessibleChange::State: {
      QAccessible::State checked;
      checked.checked = true;
      AddStateChange(events, iface, checked);
      break;
    }
    case TKelAccessibleChange::Name: Add(events, iface, QAccessible::NameChanged); break;
    default: break;
  }
}

void CalendarEvents(TEvents& events, TKelCustomCalendar* calendar, TKelAccessibleChange change,
                    const QVariant& subject) {
  // Another factory installed later may have answered for the calendar.
  auto* root = dynamic_cast<TKelAccessibleCalendar*>(QAccessible::queryAccessibleInterface(calendar));
  if (!root) return;
  if (change == TKelAccessibleChange::Structure) {
    root->ForgetParts();
    Add(events, root, QAccessible::ObjectReorder);
    return;
  }
  QAccessibleInterface* day = root->DayOfDate(subject.toDouble());
  if (change == TKelAccessibleChange::Focus && calendar->hasFocus())
    Add(events, day, QAccessible::Focus);
  else if (change == TKelAccessibleChange::Selection)
    Add(events, day, QAccessible::Selection);
}

void CalculatorEvents(TEvents& events, TKelCustomCalculator* calculator,
                      TKelAccessibleChange change, const QVariant& subject) {
  if (change != TKelAccessibleChange::State) return;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(calculator);
  QAccessible::State disabled;
  disabled.disabled = true;
  if (iface) AddStateChange(events, iface->child(subject.toInt() - ckBack), disabled);
}

void DisplayEvents(TEvents& events, TKelCalcDisplay* display, TKelAccessibleChange change,
                   const QVariant& subject) {
  if (change != TKelAccessibleChange::Value) return;
  events.push_back(std::make_unique<QAccessibleTextUpdateEvent>(display, 0, subject.toString(),
                                                                display->Text()));
}

void SendReport(QWidget* control, TKelAccessibleChange change, const QVariant& subject) {
  if (!QAccessible::isActive()) return;
  for (const auto& event : AccessibleEventsFor(control, change, subject))
    QAccessible::updateAccessibility(event.get());
}

}  // namespace

QAccessibleInterface* KelAccessibleFactory(const QString& className, QObject* object) {
  // Qt asks once per class of the object, the most derived first: the first ask answers for
  // the object as it is, so a descendant an application makes is served too.
  if (!object || className != QLatin1String(object->metaObject()->className())) return nullptr;
  if (!object->isWidgetType()) {
    if (auto* param = qobject_cast<TKelListParam*>(object))
      return BoxOfItem(ItemOfParam(param)) ? new TKelAccessibleParam(param) : nullptr;
    if (auto* item = qobject_cast<TKelListItem*>(object))
      return BoxOfItem(item) ? new TKelAccessibleLine(item) : nullptr;
    return nullptr;
  }
  auto* widget = static_cast<QWidget*>(object);
  if (qobject_cast<TKelPrmListBox*>(widget)) return new TKelAccessibleListBox(widget);
  if (qobject_cast<TKelCustomCalendar*>(widget)) return new TKelAccessibleCalendar(widget);
  if (qobject_cast<TKelCustomCalculator*>(widget)) return new TKelAccessibleCalculator(widget);
  if (qobject_cast<TKelCalcDisplay*>(widget)) return new TKelAccessibleCalcDisplay(widget);
  if (qobject_cast<TKelPopupForm*>(widget)) return new TKelAccessiblePopup(widget);
  if (qobject_cast<TDBLookupListBox*>(widget)) return new TKelAccessibleLookupList(widget);
  return nullptr;
}

std::vector<std::unique_ptr<QAccessibleEvent>> AccessibleEventsFor(QWidget* control,
                                                                   TKelAccessibleChange change,
                                                                   const QVariant& subject) {
  TEvents events;
  if (auto* box = qobject_cast<TKelPrmListBox*>(control))
    ListBoxEvents(events, box, change, subject);
  else if (auto* calendar = qobject_cast<TKelCustomCalendar*>(control))
    CalendarEvents(events, calendar, change, subject);
  else if (auto* calculator = qobject_cast<TKelCustomCalculator*>(control))
    CalculatorEvents(events, calculator, change, subject);
  else if (auto* display = qobject_cast<TKelCalcDisplay*>(control))
    DisplayEvents(events, display, change, subject);
  return events;
}

void InstallKelAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&KelAccessibleFactory);
  SetAccessibleReporter(&SendReport);
}

}  // namespace Kel

namespace {
void InstallKelAccessibilityAtStartup() { Kel::InstallKelAccessibility(); }
}  // namespace

// Runs when the application object is made (at once when the library is loaded later).
Q_COREAPP_STARTUP_FUNCTION(InstallKelAccessibilityAtStartup)
