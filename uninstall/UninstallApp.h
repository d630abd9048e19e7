#pragma once
// The uninstaller's program: reads the command line, asks, removes, and reports. main() only
// creates the application object and calls RunUninstallProgram.
//
// Command line: uninstall KEY [--yes]
//   KEY    the product's uninstall key (the system's list of installed programs passes it)
//   --yes  remove without asking, and report problems on stderr only (unattended use)
// Without KEY it shows "Do not call this program directly..." (also on stderr; with --yes only
// there) and ends.

#include <QString>
#include <QStringList>

namespace Kel::Uninstall {

struct TUninstallArguments {
  QString key;  // empty when none was given
  bool assumeYes = false;
};

// arguments without the program's own name.
TUninstallArguments ParseUninstallArguments(const QStringList& arguments);

// Exit codes: 0 removed or declined by the user, 1 no key given, 2 removal met problems.
int RunUninstallProgram(const QStringList& arguments, const QString& programPath);

}  // namespace Kel::Uninstall
