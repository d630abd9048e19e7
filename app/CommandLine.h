#pragma once
// keldemo's command line.

#include <QString>
#include <QStringList>

namespace Kel {

// What the command line asks keldemo to do.
struct TDemoCommand {
  enum class TKind {
    Run,         // no arguments: the interactive program
    Screenshot,  // --screenshot DIR: render every window to PNG files in DIR and exit
    Timing,      // --timing: print how long the windows take to appear, and exit
    Help,        // -h / --help: print the usage text
    Invalid,     // anything else: `error` says what is wrong
  };
  TKind kind = TKind::Run;
  QString directory;
  // --lang LANG (any of the kinds above): the language and formats to start in ("de", "fr_CA");
  // empty: the system's.
  QString language;
  QString error;
};

// Reads the arguments that follow the program name (Qt's own options already removed).
TDemoCommand ParseDemoArguments(const QStringList& arguments);

// The whole command line read before Qt starts: Qt's own options (-style fusion, -platform xcb,
// ...) are recognised and set aside, everything else is the demo's. Without a display Qt cannot
// start at all, so what needs no display (the usage text, a refusal, offscreen rendering) must
// be settled from this alone.
struct TDemoStart {
  TDemoCommand command;
  // Indexes (into the arguments) of a -platform option and its value: offscreen rendering
  // leaves them out of what Qt gets.
  QList<qsizetype> platformArguments;
};

TDemoStart PlanDemoStart(const QStringList& arguments);

// The usage text, ending in a line break.
QString DemoUsageText();

}  // namespace Kel
