#pragma once
// Errors in event handlers. The library's widgets run the application's handlers (OnChange,
// OnClick, ...) and the dataset layer (a filter the dataset refuses) from Qt's event handlers,
// and Qt cannot carry an exception through its event loop: one that escapes ends the program.
// So every place where Qt hands an event, a timer or a signal to the library catches what the
// code below it raises and passes it to one process-wide handler; a control whose change failed
// is left as it was before that change (the list box puts its items back).
//
// The default handler shows the message in an error box through KelMessageBox (so a message-box
// hook answers it too). An application installs its own to log the error, to show it its way
// or to end the program deliberately; a handler must not raise.

#include <QObject>
#include <exception>
#include <functional>

#include "KelExport.h"

namespace Kel {

// (the object whose event handler failed, the error)
using TKelEventErrorHandler = std::function<void(QObject* source, const std::exception& error)>;

// Installs handler and returns the one it replaces; an empty handler brings the default back.
KEL_EXPORT TKelEventErrorHandler SetEventErrorHandler(TKelEventErrorHandler handler);

// Hands error to the installed handler (what the handler itself raises is dropped). Errors that
// come while the handler runs (its box's event loop repaints the failing control) are dropped.
KEL_EXPORT void ReportEventError(QObject* source, const std::exception& error);
// The same for an exception of no standard type.
KEL_EXPORT void ReportUnknownEventError(QObject* source);

// Runs action, one event handler of source (or a piece of one), and reports what it raises.
// Returns whether action ran to its end.
template <class Action>
bool RunEventHandler(QObject* source, Action&& action) {
  try {
    action();
    return true;
  } catch (const std::exception& error) {
    ReportEventError(source, error);
  } catch (...) {
    ReportUnknownEventError(source);
  }
  return false;
}

// The body of an event() or eventFilter() override: dispatch (returning whether the event was
// handled) runs as an event handler; an event whose handler failed counts as handled, so it
// goes no further.
template <class Dispatch>
bool DispatchGuarded(QObject* source, Dispatch&& dispatch) {
  bool handled = true;
  RunEventHandler(source, [&] { handled = dispatch(); });
  return handled;
}

// Installs a handler for its lifetime and puts the previous one back afterwards.
class KEL_EXPORT TKelEventErrorScope {
 public:
  explicit TKelEventErrorScope(TKelEventErrorHandler handler)
      : previous_(SetEventErrorHandler(std::move(handler))) {}
  ~TKelEventErrorScope() { SetEventErrorHandler(std::move(previous_)); }
  TKelEventErrorScope(const TKelEventErrorScope&) = delete;
  TKelEventErrorScope& operator=(const TKelEventErrorScope&) = delete;

 private:
  TKelEventErrorHandler previous_;
};

}  // namespace Kel
