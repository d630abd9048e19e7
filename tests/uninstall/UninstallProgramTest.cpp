// The program as a whole: its command line and message boxes (in-process, the boxes answered by
// a timer), and a complete removal through the real executable run unattended with --yes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <functional>

#include "FakeInstaller.h"
#include "UninstallApp.h"
#include "UninstallSteps.h"
#include "UninstallTexts.h"

using namespace Kel;
using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

// Answers the next message box with `answer` and records what it showed.
struct BoxAnswer {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool seen = false;
};

void AnswerNextBox(BoxAnswer& seen, QMessageBox::StandardButton answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, &seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->windowTitle(), box->text(), box->icon(), true};
    if (QAbstractButton* button = box->button(answer))
      button->click();
    else
      box->reject();
    timer->stop();
    timer->deleteLater();
  });
  timer->start();
}

// A product as the installer leaves it, with something of everything the uninstaller touches and
// something of another product's that it must not touch.
struct InstalledKit {
  explicit InstalledKit(const QString& program) : program(program) {
    own = installer.InstallFile("Kit/doc/own.txt", 1);
    shared = installer.InstallFile("Kit/lib/shared.dll", 2);
    uncounted = installer.InstallFile("Kit/lib/uncounted.dll", -1);
    othersFile = installer.Path("Other/other.dll");
    installer.SetRefCount(othersFile, 1);
    installer.AddFolder("Kit/doc");
    installer.AddFolder("Kit/doc/img");
    installer.AddFolder("Kit/lib");
    installer.WriteFile("Kit/units/prod.inc",
                        "{$DEFINE FltBox}\r\n{$DEFINE Calendar}\r\n{$I qn.inc}\r\n");
    installer.SetProduct("Kit", {"FltBox", "Calendar"}, {"Calendar"}, installer.Path("Kit"));
    installer.AddOtherProduct("Other", {"Grid"});
    installer.SetIdeRootDir("Delphi\\4.0", installer.Path("Ide4"));
    installer.WriteFile("Ide4/HELP/delphi4.cnt",
                        ":Base delphi4.hlp\r\n:Index Kit=kit.hlp\r\n:Index Other=other.hlp\r\n");
    installer.SetHelps({"kit.hlp"});
    installer.SetIdeCode("D4");
    TRegistry reg;
    reg.SetRootKey(TRootKey::LocalMachine);
    if (!reg.OpenKey(QString(kUninstallKey) + "\\Other", true)) ADD_FAILURE();
    reg.WriteString("DisplayName", "Other");
  }

  void ExpectUntouched() const {
    for (const QString& file : {own, shared, uncounted, program})
      EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    EXPECT_EQ(FakeInstaller::RefCount(own), 1);
    EXPECT_EQ(FakeInstaller::RefCount(shared), 2);
    EXPECT_TRUE(installer.EntryExists());
    EXPECT_EQ(
        FakeInstaller::ValueNames(TRootKey::CurrentUser, QString(kInstalledProductsKey) + "\\Kit"),
        (QStringList{"Version", "FltBox", "Calendar", "FolderName"}));
  }

  void ExpectRemoved() const {
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_EQ(FakeInstaller::RefCount(own), -1);
    EXPECT_TRUE(QFileInfo::exists(shared));
    EXPECT_EQ(FakeInstaller::RefCount(shared), 1);
    EXPECT_TRUE(QFileInfo::exists(uncounted));
    EXPECT_EQ(FakeInstaller::RefCount(othersFile), 1);
    EXPECT_EQ(
        FakeInstaller::ValueNames(TRootKey::CurrentUser, QString(kInstalledProductsKey) + "\\Kit"),
        (QStringList{"Version", "FltBox", "FolderName"}));
    EXPECT_EQ(FakeInstaller::ValueNames(TRootKey::CurrentUser,
                                        QString(kInstalledProductsKey) + "\\Other"),
              (QStringList{"Version", "Grid"}));
    EXPECT_EQ(installer.ReadFile("Kit/units/prod.inc"),
              "  {$DEFINE FltBox}\r\n//  {$DEFINE Calendar}\r\n{$I qn.inc}\r\n");
    EXPECT_FALSE(QFileInfo::exists(installer.Path("Kit/doc/img")));
    EXPECT_FALSE(QFileInfo::exists(installer.Path("Kit/doc")));
    EXPECT_TRUE(QFileInfo::exists(installer.Path("Kit/lib")));
    EXPECT_EQ(installer.ReadFile("Ide4/HELP/delphi4.cnt"),
              ":Base delphi4.hlp\r\n:Index Other=other.hlp\r\n");
    EXPECT_FALSE(installer.EntryExists());
    EXPECT_TRUE(FakeInstaller::HasKey(TRootKey::LocalMachine, QString(kUninstallKey) + "\\Other"));
  }

  FakeInstaller installer{"Kit"};
  QString program;
  QString own, shared, uncounted, othersFile;
};

TEST(UninstallArguments, TheFirstArgumentIsTheKeyAndYesMayStandAnywhere) {
  EXPECT_EQ(ParseUninstallArguments({}).key, "");
  EXPECT_EQ(ParseUninstallArguments({"Kit"}).key, "Kit");
  EXPECT_FALSE(ParseUninstallArguments({"Kit"}).assumeYes);
  const TUninstallArguments parsed = ParseUninstallArguments({"--yes", "Kit", "Extra"});
  EXPECT_EQ(parsed.key, "Kit");
  EXPECT_TRUE(parsed.assumeYes);
  EXPECT_EQ(ParseUninstallArguments({"", "--yes"}).key, "");
  EXPECT_EQ(ParseUninstallArguments({"", "Kit"}).key, "");  // an empty key is no key
}

TEST(UninstallProgram, WithoutAKeyItShowsTheErrorBoxAndChangesNothing) {
  InstalledKit kit(QString{});
  kit.program = kit.installer.InstallFile("Kit/uninstall", -1);
  BoxAnswer box;
  AnswerNextBox(box, QMessageBox::Ok);
  EXPECT_EQ(RunUninstallProgram({}, kit.program), 1);
  ASSERT_TRUE(box.seen);
  EXPECT_EQ(box.title, "Uninstall");
  EXPECT_EQ(box.text,
            "Do not call this program directly.\r\nUse Add/Remove Programs to remove this "
            "application.");
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  kit.ExpectUntouched();
}

TEST(UninstallProgram, AnsweringNoChangesNothing) {
  InstalledKit kit(QString{});
  kit.program = kit.installer.InstallFile("Kit/uninstall", -1);
  BoxAnswer box;
  AnswerNextBox(box, QMessageBox::No);
  EXPECT_EQ(RunUninstallProgram({"Kit"}, kit.program), 0);
  ASSERT_TRUE(box.seen);
  EXPECT_EQ(box.title, "Uninstall");
  EXPECT_EQ(box.text, "Are you sure you want to completely remove the Kit?");
  EXPECT_EQ(box.icon, QMessageBox::Question);
  kit.ExpectUntouched();
}

// The real program, copied so that deleting itself deletes the copy.
QString CopyOfTheProgram(const FakeInstaller& installer) {
  const QString copy = installer.Path("Kit/bin/uninstall");
  QDir().mkpath(QFileInfo(copy).absolutePath());
  if (!QFile::copy(QStringLiteral(KEL_BIN_DIR "/uninstall"), copy)) return QString();
  return QFileInfo(copy).canonicalFilePath();
}

struct RunResult {
  int exitCode = -1;
  QByteArray errors;
};

RunResult RunProgram(const QString& program, const QStringList& arguments,
                     const FakeInstaller& installer) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("KEL_REGISTRY", installer.RegistryFile());
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardError()};
}

TEST(UninstallExecutable, WithYesItRemovesWhatTheProductInstalledAndNothingElse) {
  InstalledKit kit(QString{});
  kit.program = CopyOfTheProgram(kit.installer);
  ASSERT_FALSE(kit.program.isEmpty());
  const RunResult result = RunProgram(kit.program, {"Kit", "--yes"}, kit.installer);
  EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
  // The platform may print notes of its own; the program's reports start with its name.
  EXPECT_FALSE(result.errors.contains("uninstall:")) << result.errors.toStdString();
  kit.ExpectRemoved();
  EXPECT_FALSE(QFileInfo::exists(kit.program));  // no count recorded: it deleted itself
}

TEST(UninstallExecutable, UnattendedWithoutAKeyItReportsOnStderrAndEndsWithoutABox) {
  FakeInstaller installer("Kit");
  const QString program = CopyOfTheProgram(installer);
  ASSERT_FALSE(program.isEmpty());
  const RunResult result = RunProgram(program, {"--yes"}, installer);
  EXPECT_EQ(result.exitCode, 1);  // -1: it waited for someone to close a box
  EXPECT_TRUE(result.errors.contains("Do not call this program directly."))
      << result.errors.toStdString();
  EXPECT_TRUE(QFileInfo::exists(program));
  EXPECT_TRUE(installer.EntryExists());
}

TEST(UninstallExecutable, ItKeepsItselfWhileAnotherProductCountsOnIt) {
  InstalledKit kit(QString{});
  kit.program = CopyOfTheProgram(kit.installer);
  ASSERT_FALSE(kit.program.isEmpty());
  kit.installer.ListFile(kit.program);
  kit.installer.SetRefCount(kit.program, 2);
  const RunResult result = RunProgram(kit.program, {"--yes", "Kit"}, kit.installer);
  EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
  kit.ExpectRemoved();
  EXPECT_TRUE(QFileInfo::exists(kit.program));
  EXPECT_EQ(FakeInstaller::RefCount(kit.program), 1);
  EXPECT_FALSE(QFileInfo::exists(kit.installer.Path("Kit/bin/$delme.bat")));
}

TEST(UninstallExecutable, ADamagedRegistryIsReportedAndNothingIsDeleted) {
  InstalledKit kit(QString{});
  kit.program = CopyOfTheProgram(kit.installer);
  ASSERT_FALSE(kit.program.isEmpty());
  QFile store(kit.installer.RegistryFile());
  ASSERT_TRUE(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
  store.write(QByteArray(2048, '\x5a'));
  store.close();
  const RunResult result = RunProgram(kit.program, {"Kit", "--yes"}, kit.installer);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(result.errors.contains("damaged")) << result.errors.toStdString();
  for (const QString& file : {kit.own, kit.shared, kit.uncounted, kit.program})
    EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
  EXPECT_EQ(QFileInfo(kit.installer.RegistryFile()).size(), 2048);
}

}  // namespace
