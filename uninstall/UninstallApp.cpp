#include "UninstallApp.h"

#include <QMessageBox>
#include <cstdio>

#include "ProgressDialog.h"
#include "UninstallSteps.h"
#include "UninstallTexts.h"

namespace Kel::Uninstall {

namespace {

void PrintError(const QString& message) {
  std::fprintf(stderr, "uninstall: %s\n", qUtf8Printable(message));
  std::fflush(stderr);
}

bool UserConfirms(const QString& key) {
  const auto answer = QMessageBox::question(nullptr, Text(kCaption), Text(kConfirm).arg(key),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return answer == QMessageBox::Yes;
}

}  // namespace

TUninstallArguments ParseUninstallArguments(const QStringList& arguments) {
  TUninstallArguments parsed;
  // The first argument that is not --yes is the key, even when it is empty: a later one must
  // not take its place and name a product nobody asked to remove.
  bool keySeen = false;
  for (const QString& argument : arguments) {
    if (argument == QLatin1String(kAssumeYesOption)) {
      parsed.assumeYes = true;
    } else if (!keySeen) {
      parsed.key = argument;
      keySeen = true;
    }
  }
  return parsed;
}

int RunUninstallProgram(const QStringList& arguments, const QString& programPath) {
  const TUninstallArguments parsed = ParseUninstallArguments(arguments);
  if (parsed.key.isEmpty()) {
    PrintError(Text(kNoArgument));
    // An unattended run has nobody to close the box: it would wait forever.
    if (!parsed.assumeYes) QMessageBox::critical(nullptr, Text(kCaption), Text(kNoArgument));
    return 1;
  }
  if (!parsed.assumeYes && !UserConfirms(parsed.key)) return 0;

  TProgressDialog progress;
  const QStringList problems = RunRemoval(parsed.key, programPath, &progress);
  if (problems.isEmpty()) return 0;
  const QString report =
      Text(kProblemsHeading) + QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
  PrintError(report);
  if (!parsed.assumeYes) QMessageBox::critical(nullptr, Text(kCaption), report);
  return 2;
}

}  // namespace Kel::Uninstall
