// uninstall: removes an installed product. Everything but the application object lives in
// kel_uninstall_core (UninstallApp.h), where tests reach it.
#include <QApplication>
#include <QDir>
#include <cstring>

#include "UninstallApp.h"
#include "UninstallTexts.h"

namespace {

// An unattended removal on a machine without a display still runs: it has no question to ask.
void AllowUnattendedRunWithoutDisplay(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], Kel::Uninstall::kAssumeYesOption) == 0)
      qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  AllowUnattendedRunWithoutDisplay(argc, argv);
  QApplication app(argc, argv);
  // Qt gives the path with "/"; the installer recorded the program's count under the system's
  // own spelling (backslashes on Windows).
  return Kel::Uninstall::RunUninstallProgram(
      QApplication::arguments().mid(1),
      QDir::toNativeSeparators(QApplication::applicationFilePath()));
}
