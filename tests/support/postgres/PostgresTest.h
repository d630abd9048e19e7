#pragma once
// Tests against the test program's own PostgreSQL server (TestPostgresServer.h), started once
// per program at the first such test, with keldemo's sample tables loaded into the database
// behind the session alias PostgresTest::Alias ("PGTEST").
//
// Derive a fixture from PostgresTest. Its SetUp skips the test, saying why, when no server is
// installed here, and fails it instead when the environment variable KEL_REQUIRE_POSTGRES is
// set (CI) or when an installed server does not start. TearDown closes the session's
// connections so that every test starts with fresh ones.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include "TestPostgresServer.h"

namespace Kel::Testing {

class PostgresTest : public ::testing::Test {
 public:
  static constexpr const char* Alias = "PGTEST";
  // The server (started on first use) and stopped when the test program ends.
  static TTestPostgresServer& Server();

 protected:
  void SetUp() override;
  void TearDown() override;
};

// The same sample tables in a scratch SQLite database behind an alias of their own, for as long
// as the object lives: the reference for what the server should return.
class TSqliteSample {
 public:
  explicit TSqliteSample(const QString& alias = QStringLiteral("SQLITESAMPLE"));
  ~TSqliteSample();
  TSqliteSample(const TSqliteSample&) = delete;
  TSqliteSample& operator=(const TSqliteSample&) = delete;
  const QString& Alias() const { return alias_; }

 private:
  QTemporaryDir dir_;
  QString alias_;
};

}  // namespace Kel::Testing
