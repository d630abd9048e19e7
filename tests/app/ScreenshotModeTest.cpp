// keldemo --screenshot DIR, driven through the real program as a user or script would start it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

struct TRun {
  int exitCode = -1;
  QString errors;
};

enum class TDisplay { Offscreen, None };

TRun RunKeldemo(const QStringList& arguments, TDisplay display = TDisplay::Offscreen) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (display == TDisplay::Offscreen) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  } else {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
      environment.remove(QLatin1String(name));
    }
  }
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(KEL_BIN_DIR "/keldemo"), arguments);
  TRun run;
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return run;
  run.exitCode = process.exitCode();
  run.errors = QString::fromUtf8(process.readAllStandardError());
  return run;
}

TEST(ScreenshotModeTest, WritesTheMainWindowAndItsHiddenPageAsPngFiles) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const TRun run = RunKeldemo({QStringLiteral("--screenshot"), out.path()});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

  const QImage main(out.filePath(QStringLiteral("main.png")));
  ASSERT_FALSE(main.isNull());
  EXPECT_EQ(main.size(), QSize(721, 420));
  const QImage calendarPage(out.filePath(QStringLiteral("main-calendar-tab.png")));
  ASSERT_FALSE(calendarPage.isNull());
  EXPECT_LT(calendarPage.width(), 721);
  EXPECT_GT(calendarPage.width(), 600) << "laid out like the visible page";
  // Nothing but PNG files, and no leftovers of interrupted writes.
  for (const QString& name : QDir(out.path()).entryList(QDir::Files)) {
    EXPECT_TRUE(name.endsWith(QStringLiteral(".png"))) << name.toStdString();
  }
}

TEST(ScreenshotModeTest, WritesEveryPageOfTheDemonstrationWindows) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const TRun run = RunKeldemo({QStringLiteral("--screenshot"), out.path()});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

  for (const char* name : {"other-demo", "other-demo-calculator", "other-demo-buttonpanel",
                           "calendar-demo", "calendar-demo-o1", "calendar-demo-o2",
                           "calendar-demo-o3", "calendar-demo-colors", "sievra-demo",
                           "sievra-demo-filter", "sievra-demo-listbox", "sievra-demo-sqlfilter",
                           "sievra-demo-convert", "sievra-demo-props", "sievra-demo-properties",
                           "sievra-demo-coloring"}) {
    EXPECT_FALSE(QImage(out.filePath(QLatin1String(name) + QStringLiteral(".png"))).isNull())
        << name;
  }
  // Each page is rendered while it is the one shown, so two pages give two different pictures.
  EXPECT_NE(QImage(out.filePath(QStringLiteral("other-demo-calculator.png"))),
            QImage(out.filePath(QStringLiteral("other-demo-buttonpanel.png"))));
  EXPECT_NE(QImage(out.filePath(QStringLiteral("calendar-demo-o1.png"))),
            QImage(out.filePath(QStringLiteral("calendar-demo-o3.png"))));
  // A tab widget on a page of another one is rendered with its page in front.
  EXPECT_NE(QImage(out.filePath(QStringLiteral("sievra-demo-properties.png"))),
            QImage(out.filePath(QStringLiteral("sievra-demo-coloring.png"))));
  EXPECT_NE(QImage(out.filePath(QStringLiteral("sievra-demo-sqlfilter.png"))),
            QImage(out.filePath(QStringLiteral("sievra-demo-props.png"))));
}

TEST(ScreenshotModeTest, ReplacesEarlierScreenshots) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QFile stale(out.filePath(QStringLiteral("main.png")));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write("not a picture");
  stale.close();
  ASSERT_EQ(RunKeldemo({QStringLiteral("--screenshot=") + out.path()}).exitCode, 0);
  EXPECT_FALSE(QImage(out.filePath(QStringLiteral("main.png"))).isNull());
}

TEST(ScreenshotModeTest, NeedsNoDisplayAndNoPlatformSetting) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const TRun run = RunKeldemo({QStringLiteral("--screenshot"), out.path()}, TDisplay::None);
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_EQ(QImage(out.filePath(QStringLiteral("main.png"))).size(), QSize(721, 420));
  EXPECT_EQ(RunKeldemo({QStringLiteral("--help")}, TDisplay::None).exitCode, 0);
}

TEST(ScreenshotModeTest, MissingDirectoryIsMade) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const QString missing = out.filePath(QStringLiteral("new/pictures"));
  const TRun run = RunKeldemo({QStringLiteral("--screenshot"), missing});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_FALSE(QImage(QDir(missing).filePath(QStringLiteral("main.png"))).isNull());
}

TEST(ScreenshotModeTest, UnusableDirectoryIsAClearError) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const QString file = out.filePath(QStringLiteral("plain-file"));
  QFile(file).open(QIODevice::WriteOnly);
  TRun run = RunKeldemo({QStringLiteral("--screenshot"), file});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("is not a directory")))
      << run.errors.toStdString();

  run = RunKeldemo({QStringLiteral("--screenshot"), file + QStringLiteral("/below")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("cannot be created"))) << run.errors.toStdString();

  run = RunKeldemo({QStringLiteral("--screenshot")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("needs a directory"))) << run.errors.toStdString();
  EXPECT_TRUE(run.errors.contains(QStringLiteral("Usage: keldemo")));
}

TEST(ScreenshotModeTest, UnknownArgumentPrintsUsageAlsoWithoutADisplay) {
  for (const TDisplay display : {TDisplay::Offscreen, TDisplay::None}) {
    TRun run = RunKeldemo({QStringLiteral("--frobnicate")}, display);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("unknown argument \"--frobnicate\"")))
        << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("Usage: keldemo")));

    run = RunKeldemo({QStringLiteral("--screenshot")}, display);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("needs a directory")))
        << run.errors.toStdString();

    // A single-dash word is no toolkit option Qt would take off the command line.
    run = RunKeldemo({QStringLiteral("-zz")}, display);
    EXPECT_EQ(run.exitCode, 2) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("unknown argument \"-zz\"")))
        << run.errors.toStdString();
  }
}

// Toolkit options beside --screenshot, even one that names a platform, still render offscreen
// where there is no display; so does --timing.
TEST(ScreenshotModeTest, ToolkitOptionsStillRenderOffscreenWithoutADisplay) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  TRun run = RunKeldemo({"-style", "fusion", "-platform", "xcb", "--screenshot", out.path()},
                        TDisplay::None);
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_EQ(QImage(out.filePath(QStringLiteral("main.png"))).size(), QSize(721, 420));
  run = RunKeldemo({QStringLiteral("--timing")}, TDisplay::None);
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  // Without a display the interactive program says so itself instead of aborting inside Qt.
  run = RunKeldemo({}, TDisplay::None);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.errors.contains(QStringLiteral("no display"))) << run.errors.toStdString();
}

}  // namespace
