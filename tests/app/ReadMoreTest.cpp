// "Read more": the document beside the program wins, the one a level above is the fallback, and
// with neither nothing is opened.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "FormOwner.h"
#include "LocalDocuments.h"
#include "mainUnit.h"

namespace Kel {
namespace {

void WriteFile(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write("<html></html>");
}

// A temporary tree: <root>/bin is the program's folder, <root> the one above it.
class ReadMoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("bin")));
    programDir = root.filePath(QStringLiteral("bin"));
  }

  // Clicks `buttonName` on a main window that starts from `programDir` and returns what it opened.
  std::vector<QUrl> Click(const char* buttonName) {
    TFormOwner owner;
    TMainForm* form = owner.CreateForm(MainForm, owner);
    form->SetProgramDirectory(programDir);
    std::vector<QUrl> opened;
    form->SetUrlOpener([&](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
    QTest::mouseClick(form->findChild<QPushButton*>(QLatin1String(buttonName)), Qt::LeftButton);
    return opened;
  }

  QTemporaryDir root;
  QString programDir;
};

TEST_F(ReadMoreTest, OpensTheDocumentBesideTheProgram) {
  WriteFile(programDir + QStringLiteral("/sievra.html"));
  WriteFile(root.filePath(QStringLiteral("sievra.html")));
  const std::vector<QUrl> opened = Click("ReadMoreButton");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(programDir + QStringLiteral("/sievra.html")));
}

TEST_F(ReadMoreTest, FallsBackToTheFolderAboveTheProgram) {
  WriteFile(root.filePath(QStringLiteral("sievra.html")));
  const std::vector<QUrl> opened = Click("ReadMoreButton");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(programDir + QStringLiteral("/../sievra.html")));
  EXPECT_TRUE(QFile::exists(opened[0].toLocalFile()));
}

TEST_F(ReadMoreTest, OpensNothingWhenNeitherFolderHasTheDocument) {
  WriteFile(root.filePath(QStringLiteral("calendar.html")));  // the other document is no help
  EXPECT_TRUE(Click("ReadMoreButton").empty());
}

TEST_F(ReadMoreTest, CalendarPageOpensItsOwnDocument) {
  WriteFile(programDir + QStringLiteral("/sievra.html"));
  WriteFile(programDir + QStringLiteral("/calendar.html"));
  const std::vector<QUrl> opened = Click("Button4");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].fileName().toStdString(), "calendar.html");
}

TEST_F(ReadMoreTest, AFolderCarryingTheDocumentsNameIsNoDocument) {
  ASSERT_TRUE(QDir(programDir).mkdir(QStringLiteral("sievra.html")));
  WriteFile(root.filePath(QStringLiteral("sievra.html")));
  EXPECT_EQ(FindLocalDocument(programDir, QStringLiteral("sievra.html")).toStdString(),
            (programDir + QStringLiteral("/../sievra.html")).toStdString());
}

TEST_F(ReadMoreTest, TrailingSeparatorIsNotDoubled) {
  WriteFile(programDir + QStringLiteral("/sievra.html"));
  EXPECT_EQ(FindLocalDocument(programDir + QLatin1Char('/'), QStringLiteral("sievra.html")),
            programDir + QStringLiteral("/sievra.html"));
  EXPECT_TRUE(FindLocalDocument(QString(), QStringLiteral("sievra.html")).isEmpty());
  EXPECT_TRUE(FindLocalDocument(programDir, QString()).isEmpty());
}

}  // namespace
}  // namespace Kel
