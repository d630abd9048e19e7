#pragma once
// The application object of keldemo.

#include <QApplication>
#include <exception>

#include "FormOwner.h"

namespace Kel {

// keldemo's application object: the Qt application with the program's forms in its ownership.
// The forms are freed before Qt's application object goes, newest first. An exception that
// escapes an event handler (a dataset refusing a filter, say) is shown to the user instead of
// ending the process; in console mode (screenshots) it is written to stderr instead.
class TDemoApplication : public QApplication {
  Q_OBJECT
 public:
  TDemoApplication(int& argc, char** argv);
  ~TDemoApplication() override;

  TFormOwner& Forms() { return forms_; }

  // True: report escaped exceptions on stderr, never in a message box.
  void SetConsoleMode(bool value) { consoleMode_ = value; }
  bool ConsoleMode() const { return consoleMode_; }

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows `error`'s message to the user (or on stderr in console mode).
  void HandleException(const std::exception& error);

  // The running instance, or null when the process runs another QApplication (tests).
  static TDemoApplication* Instance();

 private:
  TFormOwner forms_;
  bool consoleMode_ = false;
};

// Makes the classic form fonts resolve to metric-compatible families where they are missing, so
// that the windows keep the proportions they were laid out for.
void InstallFontSubstitutions();

}  // namespace Kel
