#include "DemoWindows.h"

#include "Exceptions.h"
#include "calendunit.h"
#include "fboxunit.h"
#include "miscunit.h"

namespace Kel {

QPointer<QWidget> FboxForm;
QPointer<QWidget> CalendForm;
QPointer<QWidget> MiskForm;

const std::vector<TDemoWindowInfo>& DemoWindows() {
  // A window joins the program by naming its factory here; the main window's button and
  // screenshot mode pick it up from this table.
  static const std::vector<TDemoWindowInfo> windows = {
      {TDemoWindow::Fbox, QStringLiteral("sievra-demo"), &FboxForm, MakeForm<TFboxForm>},
      {TDemoWindow::Calend, QStringLiteral("calendar-demo"), &CalendForm, MakeForm<TCalendForm>},
      {TDemoWindow::Misk, QStringLiteral("other-demo"), &MiskForm, MakeForm<TMiskForm>},
  };
  return windows;
}

const TDemoWindowInfo& DemoWindowInfo(TDemoWindow which) {
  for (const TDemoWindowInfo& info : DemoWindows()) {
    if (info.which == which) return info;
  }
  // Every enumerator has its row above; reaching this is a programming error.
  throw EInvalidOperation(QStringLiteral("Unknown demonstration window"));
}

}  // namespace Kel
