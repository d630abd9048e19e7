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
#include <vector>

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

// Whether Qt can open windows here: a platform is chosen, or a display is there to use.
bool HasDisplay(const Kel::TDemoStart& start) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  return !start.platformArguments.isEmpty() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  // Everything that needs no display is decided before Qt starts, which it cannot do without
  // one: the usage text, a refusal, and the offscreen rendering of screenshots and timings.
  const Kel::TDemoStart start = Kel::PlanDemoStart(ArgumentsAfterProgramName(argc, argv));
  const Kel::TDemoCommand& command = start.command;
  switch (command.kind) {
    case Kel::TDemoCommand::TKind::Help:
      QTextStream(stdout) << Kel::DemoUsageText();
      return 0;
    case Kel::TDemoCommand::TKind::Invalid:
      QTextStream(stderr) << "keldemo: " << command.error << "\n\n" << Kel::DemoUsageText();
      return 2;
    case Kel::TDemoCommand::TKind::Run:
      if (!HasDisplay(start)) {
        QTextStream(stderr) << "keldemo: no display to open the windows on (DISPLAY is not set); "
                               "--screenshot DIR renders them to files instead\n";
        return 1;
      }
      break;
    default:
      break;
  }
  // Screenshots and timings are the same everywhere: offscreen, whatever platform was asked.
  std::vector<char*> qtArguments(argv, argv + argc);
  const bool offscreen = command.kind == Kel::TDemoCommand::TKind::Screenshot ||
                         command.kind == Kel::TDemoCommand::TKind::Timing;
  if (offscreen) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (auto it = start.platformArguments.crbegin(); it != start.platformArguments.crend(); ++it)
      qtArguments.erase(qtArguments.begin() + 1 + *it);
  }
  int qtArgumentCount = static_cast<int>(qtArguments.size());
  qtArguments.push_back(nullptr);

  Kel::TDemoApplication application(qtArgumentCount, qtArguments.data());
  QTextStream out(stdout);
  QTextStream errors(stderr);
  try {
    const QLocale locale =
        command.language.isEmpty() ? QLocale::system() : QLocale(command.language);
    const QString languageNote = Kel::StartInLanguage(locale);
    if (!languageNote.isEmpty() && !command.language.isEmpty())
      errors << "keldemo: " << languageNote << Qt::endl;
    // A broken alias file is reported at once; the aliases that work stay usable.
    for (const QString& problem : Kel::Session().AliasFileErrors())
      errors << "keldemo: " << problem << Qt::endl;
    switch (command.kind) {
      case Kel::TDemoCommand::TKind::Screenshot:
        application.SetConsoleMode(true);
        return Kel::RunScreenshotMode(command.directory, application.Forms(), errors);
      case Kel::TDemoCommand::TKind::Timing:
        application.SetConsoleMode(true);
        return Kel::RunTimingMode(application.Forms(), sinceStart, out);
      default:
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
