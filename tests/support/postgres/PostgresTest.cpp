#include "PostgresTest.h"

#include <QFile>

#include "DB.h"
#include "SampleDatabase.h"

namespace Kel::Testing {

namespace {

TTestPostgresServer* server = nullptr;
QString setUpFailure;  // why the sample tables could not be loaded

// Stops the server while the test program's application object is still there.
class StopServerAtTheEnd : public ::testing::EmptyTestEventListener {
  void OnTestProgramEnd(const ::testing::UnitTest&) override {
    Session().CloseDatabases();
    delete server;
    server = nullptr;
  }
};

}  // namespace

TTestPostgresServer& PostgresTest::Server() {
  if (!server) {
    server = new TTestPostgresServer();
    ::testing::UnitTest::GetInstance()->listeners().Append(new StopServerAtTheEnd);
    if (server->Running()) {
      try {
        server->CreateDatabase(QStringLiteral("kel"));
        server->AddAlias(QString::fromLatin1(Alias), QStringLiteral("kel"));
        LoadSampleTables(QStringLiteral(KEL_SAMPLE_SCRIPT), QString::fromLatin1(Alias), false);
      } catch (const std::exception& error) {
        setUpFailure = QString::fromUtf8(error.what());
      }
    }
  }
  return *server;
}

void PostgresTest::SetUp() {
  const TTestPostgresServer& pg = Server();
  if (!pg.Installed() && qEnvironmentVariableIsEmpty("KEL_REQUIRE_POSTGRES"))
    GTEST_SKIP() << "PostgreSQL tests skipped: " << pg.Reason().toStdString();
  ASSERT_TRUE(pg.Running()) << pg.Reason().toStdString();
  ASSERT_TRUE(setUpFailure.isEmpty()) << "sample tables: " << setUpFailure.toStdString();
}

void PostgresTest::TearDown() { Session().CloseDatabases(); }

TSqliteSample::TSqliteSample(const QString& alias) : alias_(alias) {
  // Opening a database never creates it: the (empty) file comes first.
  const QString file = dir_.filePath(QStringLiteral("sample.sqlite"));
  QFile(file).open(QIODevice::WriteOnly);
  Session().AddAlias(alias_, QStringLiteral("QSQLITE"), file);
  LoadSampleTables(QStringLiteral(KEL_SAMPLE_SCRIPT), alias_, false);
}

TSqliteSample::~TSqliteSample() { Session().DeleteAlias(alias_); }

}  // namespace Kel::Testing
