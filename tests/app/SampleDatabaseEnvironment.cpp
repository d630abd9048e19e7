// Every app test runs against a sample database of its own, built from the committed script:
// the filter window opens its tables as it is created and writes edits back, and the program
// that the screenshot tests start inherits the same database.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "DBTables.h"

namespace {

class SampleDatabaseEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    const QString path = dir_->filePath(QStringLiteral("dbdemos.sqlite"));
    const QString script = QDir::cleanPath(QStringLiteral(KEL_TEST_DATA_DIR "/../../../app/data/dbdemos.sql"));
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path, QStringLiteral(".read %1").arg(script)});
    ASSERT_TRUE(sqlite.waitForFinished(60000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    qputenv("KEL_DBDEMOS", path.toUtf8());
  }
  void TearDown() override {
    Kel::Session().CloseDatabases();
    dir_.reset();
  }

 private:
  std::unique_ptr<QTemporaryDir> dir_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SampleDatabaseEnvironment);

}  // namespace
