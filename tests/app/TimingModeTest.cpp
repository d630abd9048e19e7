// keldemo --timing, run as a user would run it: one line per window with a time, exit code 0.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "DemoWindows.h"

namespace {

TEST(TimingModeTest, PrintsAPaintTimeForTheMainWindowAndEveryDemonstrationWindow) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(KEL_BIN_DIR "/keldemo"), {QStringLiteral("--timing")});
  ASSERT_TRUE(process.waitForFinished(60000));
  ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
  const QString output = QString::fromUtf8(process.readAllStandardOutput());
  EXPECT_EQ(process.exitCode(), 0) << output.toStdString();

  const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^main window painted \\d+\\.\\d ms after"))
                  .match(lines.first())
                  .hasMatch())
      << lines.first().toStdString();
  // Every window that opens says so with its own time; none stays unpainted.
  EXPECT_FALSE(output.contains(QStringLiteral("not painted"))) << output.toStdString();
  for (const Kel::TDemoWindowInfo& info : Kel::DemoWindows()) {
    if (!info.create) continue;
    EXPECT_TRUE(output.contains(QStringLiteral("(%1): opened and painted in ").arg(info.screenshotName)))
        << output.toStdString();
  }
}

}  // namespace
