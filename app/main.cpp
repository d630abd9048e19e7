// keldemo: the demonstration program of the Kel components.
//
//   keldemo                   opens the main window
//   keldemo --screenshot DIR  renders every window to PNG files in DIR and exits
//   keldemo --timing          prints how long the windows take to appear and exits
//   keldemo --lang de         starts in German (any of the above; default: the system's language)

#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>
#include <exception>

#include "CommandLine.h"
#include "DBTables.h"
#include "DemoApplication.h"
#include "DemoLanguage.h"
#include "Screenshots.h"
#include "StartupTiming.h"
#include "mainUnit.h"

namespace {

QStringList ArgumentsAfterProgramName(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// Qt's own options start with a single dash (-style, -platform, ...). Without one, an argument
// the demo does not know stays unknown once Qt has taken its options off the command line.
bool MayHoldToolkitOptions(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1String("--")))
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  // Decided before Qt starts, because none needs a display: the usage text, a command line that
  // cannot be right, and screenshots, which render offscreen unless the user chose a platform.
  // Qt's own options (-style, ...) read as unknown here; they are settled after Qt has taken them
  // off the command line.
  const QStringList arguments = ArgumentsAfterProgramName(argc, argv);
  const Kel::TDemoCommand early = Kel::ParseDemoArguments(arguments);
  if (early.kind == Kel::TDemoCommand::TKind::Help) {
    QTextStream(stdout) << Kel::DemoUsageText();
    return 0;
  }
  if (early.kind == Kel::TDemoCommand::TKind::Invalid && !MayHoldToolkitOptions(arguments)) {
    QTextStream(stderr) << "keldemo: " << early.error << "\n\n" << Kel::DemoUsageText();
    return 2;
  }
  if (early.kind == Kel::TDemoCommand::TKind::Screenshot &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }

  Kel::TDemoApplication application(argc, argv);
  QTextStream out(stdout);
  QTextStream errors(stderr);
  try {
    const Kel::TDemoCommand command = Kel::ParseDemoArguments(application.arguments().mid(1));
    const QLocale locale =
        command.language.isEmpty() ? QLocale::system() : QLocale(command.language);
    const QString languageNote = Kel::StartInLanguage(locale);
    if (!languageNote.isEmpty() && !command.language.isEmpty())
      errors << "keldemo: " << languageNote << Qt::endl;
    // A broken alias file is reported at once; the aliases that work stay usable.
    for (const QString& problem : Kel::Session().AliasFileErrors())
      errors << "keldemo: " << problem << Qt::endl;
    switch (command.kind) {
      case Kel::TDemoCommand::TKind::Help:
        out << Kel::DemoUsageText();
        return 0;
      case Kel::TDemoCommand::TKind::Invalid:
        errors << "keldemo: " << command.error << "\n\n" << Kel::DemoUsageText();
        return 2;
      case Kel::TDemoCommand::TKind::Screenshot:
        application.SetConsoleMode(true);
        return Kel::RunScreenshotMode(command.directory, application.Forms(), errors);
      case Kel::TDemoCommand::TKind::Timing:
        application.SetConsoleMode(true);
        return Kel::RunTimingMode(application.Forms(), sinceStart, out);
      case Kel::TDemoCommand::TKind::Run:
        break;
    }
    application.Forms().CreateForm(Kel::MainForm, application.Forms());
    Kel::MainForm->show();
    return application.exec();
  } catch (const std::exception& error) {
    // Only start-up can get here: the event loop reports what its handlers throw.
    errors << "keldemo: " << QString::fromUtf8(error.what()) << Qt::endl;
    return 1;
  }
}
