// uninstall: removes an installed product. Everything but the application object lives in
// kel_uninstall_core (UninstallApp.h), where tests reach it.
#include <QApplication>

#include "UninstallApp.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return Kel::Uninstall::RunUninstallProgram(QApplication::arguments().mid(1),
                                             QApplication::applicationFilePath());
}
