// The "Removing files" window: what it shows while RemoveFiles runs.
#include <gtest/gtest.h>

#include <QDir>

#include "FakeInstaller.h"
#include "ProgressDialog.h"
#include "UninstallSteps.h"

using namespace Kel::Uninstall;
using Kel::Testing::FakeInstaller;

namespace {

// Records what the dialog shows at each file, as the user would see it.
class WatchedDialog : public TProgressDialog {
 public:
  void ShowFile(const QString& path) override {
    TProgressDialog::ShowFile(path);
    seen << QString("%1 visible=%2 max=%3").arg(FileText()).arg(isVisible()).arg(Maximum());
  }
  void SetPosition(int position) override {
    TProgressDialog::SetPosition(position);
    seen << QString("position %1").arg(Position());
  }
  QStringList seen;
};

TEST(ProgressDialog, ShowsEachFileAndItsPositionThenCloses) {
  FakeInstaller installer;
  const QString a = installer.InstallFile("a.dll", 1);
  const QString b = installer.InstallFile("b.dll", 2);
  WatchedDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Removing files");
  EXPECT_FALSE(dialog.isModal());
  RemoveFiles({a, b}, &dialog);
  EXPECT_EQ(dialog.seen, (QStringList{QDir::toNativeSeparators(a) + " visible=1 max=2",
                                      "position 0",
                                      QDir::toNativeSeparators(b) + " visible=1 max=2",
                                      "position 1"}));
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
