// The alias file that the session reads at start: good aliases work, a fault is reported with
// its file and line and keeps only its own alias from use.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "DB.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

class AliasFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Session().LoadAliasFile(QString());
    Session().CloseDatabases();
  }

  QString Write(const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }

  // An SQLite database with one table named `table`.
  QString Database(const QString& name, const QString& table) {
    const QString path = dir.filePath(name);
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "kel-test-alias");
      db.setDatabaseName(path);
      EXPECT_TRUE(db.open());
      QSqlQuery(db).exec(QStringLiteral("create table %1 (id integer primary key)").arg(table));
    }
    QSqlDatabase::removeDatabase("kel-test-alias");
    return path;
  }

  QTemporaryDir dir;
};

TEST_F(AliasFileTest, GoodAliasesWorkBesideBrokenOnes) {
  const QString stock = Database("stock.sqlite", "parts");
  const QString file = Write("aliases.ini", QStringLiteral("; aliases of the shop\n"
                                                           "[Stock]\n"
                                                           "driver=QSQLITE\n"
                                                           "database=%1\n"
                                                           "\n"
                                                           "[Sales]\n"
                                                           "driver=QPSQL\n"
                                                           "database=sales\n"
                                                           "host=db.example.org\n"
                                                           "port=5432\n"
                                                           "user=clerk\n"
                                                           "options=connect_timeout=5\n"
                                                           "[Broken]\n"
                                                           "driver=QPSQL\n"
                                                           "hots=db.example.org\n")
                                                  .arg(stock)
                                                  .toUtf8());
  Session().LoadAliasFile(file);
  EXPECT_EQ(Session().AliasFileName(), file);
  EXPECT_EQ(Session().AliasNames(), QStringList({"DBDEMOS", "Stock", "Sales"}));
  EXPECT_EQ(Session().TableNames("stock"), QStringList({"parts"}));
  const QString expected =
      QStringLiteral(
          "Alias file '%1', line 15: unknown setting 'hots' (driver, database, host, port, user "
          "and options are known)")
          .arg(QDir::toNativeSeparators(file));
  EXPECT_EQ(Session().AliasFileErrors(), QStringList({expected}));
  try {
    Session().Database("Broken");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), expected) << "using the alias tells why it is missing";
  }
  // Loading another file replaces these aliases; aliases added in code stay.
  Session().AddAlias("InCode", "QSQLITE", stock);
  Session().LoadAliasFile(dir.filePath("absent.ini"));
  EXPECT_EQ(Session().AliasNames(), QStringList({"DBDEMOS", "InCode"}));
  EXPECT_TRUE(Session().AliasFileErrors().isEmpty()) << "no file is no fault";
  Session().DeleteAlias("InCode");
}

TEST_F(AliasFileTest, EachFaultNamesItsLine) {
  const QString file = Write("faults.ini",
                             "top=1\n"                  // 1: before any alias
                             "[Secret]\n"               // 2
                             "database=x\n"             // 3
                             "password=hunter2\n"       // 4: refused
                             "[Port]\n"                 // 5
                             "database=x\n"             // 6
                             "port=fifty\n"             // 7
                             "[Empty]\n"                // 8: no database
                             "driver=QPSQL\n"           // 9
                             "[Line]\n"                 // 10
                             "database=x\n"             // 11
                             "this is no setting\n"     // 12
                             "[Open\n"                  // 13
                             "database=x\n"             // 14
                             "[Twice]\n"                // 15
                             "database=x\n"             // 16
                             "[twice]\n"                // 17
                             "database=y\n"             // 18
                             "[Fine]\n"                 // 19
                             "database=fine.sqlite\n");  // 20
  Session().LoadAliasFile(file);
  EXPECT_EQ(Session().AliasNames(), QStringList({"DBDEMOS", "Fine"}));
  const QStringList errors = Session().AliasFileErrors();
  QStringList lines;
  for (const QString& error : errors) lines << error.section(u',', 1, 1).trimmed();
  EXPECT_EQ(lines, QStringList({"line 1: 'top' stands before any [alias]", "line 13: ']' missing",
                                "line 4: passwords are not kept here: the database client finds "
                                "them (for PostgreSQL its password file or PGPASSWORD)",
                                "line 7: port 'fifty' is no port number",
                                "line 8: alias 'Empty' names no database",
                                "line 12: 'this is no setting' is neither [alias]",
                                "line 17: alias 'twice' is defined twice (first on line 15)"}))
      << errors.join(u'\n').toStdString();
}

TEST_F(AliasFileTest, TheFileCanPointTheSampleAliasElsewhere) {
  const QString other = Database("other.sqlite", "elsewhere");
  Session().LoadAliasFile(
      Write("sample.ini", QStringLiteral("[DBDEMOS]\ndatabase=%1\n").arg(other).toUtf8()));
  EXPECT_EQ(Session().AliasNames(), QStringList({"DBDEMOS"}));
  EXPECT_EQ(Session().TableNames("DBDEMOS"), QStringList({"elsewhere"}));
  EXPECT_THROW(Session().AddAlias("DBDEMOS", "QSQLITE", other), EDatabaseError);
}

TEST_F(AliasFileTest, WhereTheFileIsLookedFor) {
  const QByteArray saved = qgetenv("KEL_ALIASES");
  qputenv("KEL_ALIASES", "/some/where/aliases.ini");
  EXPECT_EQ(TSession::DefaultAliasFileName(), "/some/where/aliases.ini");
  qunsetenv("KEL_ALIASES");
  EXPECT_TRUE(TSession::DefaultAliasFileName().endsWith("/Kel/aliases.ini"));
  qputenv("KEL_ALIASES", "");
  EXPECT_EQ(TSession::DefaultAliasFileName(), "") << "set and empty: no file";
  qputenv("KEL_ALIASES", saved);
}

TEST_F(AliasFileTest, RelativeDatabasePathsLieBesideTheAliasFile) {
  Database("sales.sqlite", "invoices");
  const QString file = Write("aliases.ini", "[Sales]\ndatabase=sales.sqlite\n"
                                            "[Archive]\ndatabase=old/archive.sqlite\n");
  QTemporaryDir elsewhere;
  const QString saved = QDir::currentPath();
  QDir::setCurrent(elsewhere.path());
  Session().LoadAliasFile(file);
  EXPECT_EQ(Session().TableNames("Sales"), QStringList({"invoices"}));
  EXPECT_THROW(Session().TableNames("Archive"), EDatabaseError);
  QDir::setCurrent(saved);
  EXPECT_TRUE(QDir(elsewhere.path()).isEmpty()) << "nothing made in the current folder";
  EXPECT_FALSE(QFile::exists(dir.filePath("old/archive.sqlite")));
}

TEST_F(AliasFileTest, ControlBytesOfABrokenFileAreShownEscaped) {
  const QString file =
      Write("control.ini", QByteArray("[Bad]\ndatabase=x\nno\0se\x1b[2Jtting\n", 32));
  Session().LoadAliasFile(file);
  const QStringList errors = Session().AliasFileErrors();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].endsWith(
      R"(line 3: 'no\x00se\x1B[2Jtting' is neither [alias], name=value nor a comment)"))
      << errors[0].toStdString();
}

}  // namespace
}  // namespace Kel
