#include "CommandLine.h"

namespace Kel {

namespace {

const QString kScreenshotOption = QStringLiteral("--screenshot");
const QString kTimingOption = QStringLiteral("--timing");

TDemoCommand Invalid(const QString& error) {
  TDemoCommand command;
  command.kind = TDemoCommand::TKind::Invalid;
  command.error = error;
  return command;
}

}  // namespace

TDemoCommand ParseDemoArguments(const QStringList& arguments) {
  TDemoCommand command;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
      command.kind = TDemoCommand::TKind::Help;
      return command;
    }
    if (argument == kTimingOption) {
      if (command.kind != TDemoCommand::TKind::Run)
        return Invalid(QStringLiteral("--timing goes alone"));
      command.kind = TDemoCommand::TKind::Timing;
      continue;
    }
    QString directory;
    if (argument == kScreenshotOption) {
      // A missing directory reads as an empty one, refused below.
      if (i + 1 < arguments.size()) directory = arguments[++i];
    } else if (argument.startsWith(kScreenshotOption + QLatin1Char('='))) {
      directory = argument.mid(kScreenshotOption.size() + 1);
    } else {
      return Invalid(QStringLiteral("unknown argument \"%1\"").arg(argument));
    }
    if (directory.isEmpty()) return Invalid(QStringLiteral("--screenshot needs a directory"));
    if (command.kind == TDemoCommand::TKind::Screenshot) {
      return Invalid(QStringLiteral("--screenshot given more than once"));
    }
    if (command.kind == TDemoCommand::TKind::Timing)
      return Invalid(QStringLiteral("--timing goes alone"));
    command.kind = TDemoCommand::TKind::Screenshot;
    command.directory = directory;
  }
  return command;
}

QString DemoUsageText() {
  return QStringLiteral(
      "Usage: keldemo [--screenshot DIR | --timing]\n"
      "\n"
      "Without arguments keldemo opens its main window.\n"
      "  --screenshot DIR  render every window to PNG files in the folder DIR (made when missing)\n"
      "                    and exit\n"
      "                    (needs no display: renders offscreen unless QT_QPA_PLATFORM\n"
      "                    names another platform)\n"
      "  --timing          print how long the main window takes to appear after the start\n"
      "                    and each demonstration window after its button, and exit\n"
      "  -h, --help        show this text\n");
}

}  // namespace Kel
