#include "DemoApplication.h"

#include <QFont>
#include <QMessageBox>
#include <QTextStream>
#include <cstdio>

#include "Exceptions.h"
#include "KelEventErrors.h"

namespace Kel {

namespace {

QString MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return QString::fromUtf8(error.what());
}

}  // namespace

TDemoApplication::TDemoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("keldemo"));
  InstallFontSubstitutions();
  // What the library's widgets catch in their event handlers is reported like what escapes the
  // demo's own handlers: in a message box, or on stderr in console mode.
  SetEventErrorHandler([this](QObject*, const std::exception& error) { HandleException(error); });
}

// The member `forms_` is destroyed before the QApplication base, so every form goes while the GUI
// still exists.
TDemoApplication::~TDemoApplication() { SetEventErrorHandler({}); }

bool TDemoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    HandleException(error);
  }
  return false;
}

void TDemoApplication::HandleException(const std::exception& error) {
  const QString message = MessageOf(error);
  if (consoleMode_) {
    QTextStream(stderr) << "keldemo: " << message << Qt::endl;
    return;
  }
  QMessageBox::critical(activeWindow(), applicationName(), message);
}

TDemoApplication* TDemoApplication::Instance() {
  return qobject_cast<TDemoApplication*>(QCoreApplication::instance());
}

void InstallFontSubstitutions() {
  // Only consulted when the family itself is not installed.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                              QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             {QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
}

}  // namespace Kel
