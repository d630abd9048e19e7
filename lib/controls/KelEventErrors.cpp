#include "KelEventErrors.h"

#include "Exceptions.h"
#include "KelControlsConsts.h"
#include "KelMessageBox.h"
#include "KelTranslate.h"
#include "RestoreOnExit.h"

namespace Kel {

namespace {

QString MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return QString::fromUtf8(error.what());
}

void ShowErrorBox(QObject*, const std::exception& error) {
  KelMessageBox(MessageOf(error), mtError, TKelMsgDlgButtons{mbOK});
}

TKelEventErrorHandler& InstalledHandler() {
  static TKelEventErrorHandler handler;
  return handler;
}

}  // namespace

TKelEventErrorHandler SetEventErrorHandler(TKelEventErrorHandler handler) {
  TKelEventErrorHandler previous = std::move(InstalledHandler());
  InstalledHandler() = std::move(handler);
  return previous;
}

void ReportEventError(QObject* source, const std::exception& error) {
  // The default box runs an event loop: a handler that fails on every paint would otherwise
  // open box upon box. While one report is shown, the next ones are dropped.
  static bool reporting = false;
  if (reporting) return;
  const RestoreOnExit<bool> busy(reporting, true);
  // A copy: a handler that installs another one must not free itself while it runs.
  const TKelEventErrorHandler handler = InstalledHandler();
  try {
    if (handler)
      handler(source, error);
    else
      ShowErrorBox(source, error);
  } catch (...) {
    // Nothing is left that could take it: the event loop must go on.
  }
}

void ReportUnknownEventError(QObject* source) {
  ReportEventError(source, Exception(TranslateText(KelControlsText::UnknownError)));
}

}  // namespace Kel
