#include "CommandLine.h"

#include <QLocale>

namespace Kel {

namespace {

const QString kScreenshotOption = QStringLiteral("--screenshot");
const QString kTimingOption = QStringLiteral("--timing");
const QString kLanguageOption = QStringLiteral("--lang");

TDemoCommand Invalid(const QString& error) {
  TDemoCommand command;
  command.kind = TDemoCommand::TKind::Invalid;
  command.error = error;
  return command;
}

// Qt's options that take the next argument as their value (also written "-name=value" for the
// style options), and those that stand alone. A leading "--" reads as "-", as Qt reads it.
const char* const kToolkitValueOptions[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-geometry", "-qwindowicon", "-icon", "-qwindowtitle", "-title", "-session", "-style",
    "-stylesheet", "-display", "-name", "-visual"};
const char* const kToolkitFlags[] = {"-reverse", "-testability", "-widgetcount", "-nograb",
                                     "-dograb"};
const char* const kToolkitEqualsOptions[] = {"-style=", "-stylesheet=", "-qmljsdebugger="};

QString SingleDash(const QString& argument) {
  return argument.startsWith(QLatin1String("--")) ? argument.mid(1) : argument;
}

template <size_t N>
bool IsOneOf(const QString& argument, const char* const (&names)[N]) {
  for (const char* name : names)
    if (argument == QLatin1String(name)) return true;
  return false;
}

template <size_t N>
bool StartsWithOneOf(const QString& argument, const char* const (&prefixes)[N]) {
  for (const char* prefix : prefixes)
    if (argument.startsWith(QLatin1String(prefix))) return true;
  return false;
}

}  // namespace

TDemoStart PlanDemoStart(const QStringList& arguments) {
  TDemoStart start;
  QStringList own;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    // The demo's own options are all "--" ones that no toolkit option shadows.
    const QString option = SingleDash(argument);
    if (IsOneOf(option, kToolkitValueOptions) && i + 1 < arguments.size()) {
      if (option == QLatin1String("-platform")) start.platformArguments << i << i + 1;
      ++i;
    } else if (!IsOneOf(option, kToolkitFlags) && !StartsWithOneOf(option, kToolkitEqualsOptions)) {
      own << argument;
    }
  }
  start.command = ParseDemoArguments(own);
  return start;
}

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
    if (argument == kLanguageOption || argument.startsWith(kLanguageOption + QLatin1Char('='))) {
      QString language;
      if (argument == kLanguageOption) {
        if (i + 1 < arguments.size()) language = arguments[++i];
      } else {
        language = argument.mid(kLanguageOption.size() + 1);
      }
      if (language.isEmpty() || language.startsWith(QLatin1Char('-')))
        return Invalid(QStringLiteral("--lang needs a language, for example --lang de"));
      if (QLocale(language).language() == QLocale::C && language != QLatin1String("C"))
        return Invalid(QStringLiteral("unknown language \"%1\"").arg(language));
      command.language = language;
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
      "Usage: keldemo [--lang LANG] [--screenshot DIR | --timing]\n"
      "\n"
      "Without arguments keldemo opens its main window.\n"
      "  --screenshot DIR  render every window to PNG files in the folder DIR (made when missing)\n"
      "                    and exit\n"
      "  --timing          print how long the main window takes to appear after the start\n"
      "                    and each demonstration window after its button, and exit\n"
      "                    (both render offscreen and need no display)\n"
      "  --lang LANG       start in the language LANG with its formats (de, fr, ...); the\n"
      "                    library's texts follow it, the demonstration's own stay English\n"
      "  -h, --help        show this text\n");
}

}  // namespace Kel
