// Tables, queries and the session over Qt SQL: the sample database built from its script, and
// write-back on scratch SQLite databases.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <numeric>
#include <thread>

#include "DbTestData.h"
#include "SqlValues_p.h"
#include "Strings.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

const char* const SampleScript = KEL_TEST_DATA_DIR "/../../../app/data/dbdemos.sql";
const char* const SampleFilter =
    "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and [Length "
    "(cm)] < 150)";

// Runs SQL on a database file directly, outside the dataset layer.
void RunSql(const QString& file, const QStringList& statements) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "kel-test-raw");
    db.setDatabaseName(file);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    for (const QString& statement : statements)
      ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
  }
  QSqlDatabase::removeDatabase("kel-test-raw");
}

QVariant ReadSql(const QString& file, const QString& statement) {
  QVariant result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "kel-test-raw");
    db.setDatabaseName(file);
    db.open();
    QSqlQuery query(db);
    if (query.exec(statement) && query.next()) result = query.value(0);
  }
  QSqlDatabase::removeDatabase("kel-test-raw");
  return result;
}

class SqlTablesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir();
    samplePath_ = dir_->filePath("dbdemos.sqlite");
    QProcess sqlite;
    sqlite.start("sqlite3", {"-bail", samplePath_,
                             QStringLiteral(".read %1").arg(QDir::cleanPath(SampleScript))});
    ASSERT_TRUE(sqlite.waitForFinished(30000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
  }
  static void TearDownTestSuite() {
    Session().CloseDatabases();
    // The session outlives the suite: tests that run later count its aliases.
    Session().DeleteAlias("SCRATCH");
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    qputenv("KEL_DBDEMOS", samplePath_.toUtf8());
  }
  void TearDown() override { Session().CloseDatabases(); }

  // A scratch database with one table, reachable through the alias SCRATCH.
  QString Scratch(const QStringList& statements) {
    const QString file = dir_->filePath(QStringLiteral("scratch%1.sqlite").arg(++scratchCount_));
    RunSql(file, statements);
    Session().DeleteAlias("SCRATCH");
    Session().AddAlias("SCRATCH", "SQLITE", file);
    return file;
  }

  static QTemporaryDir* dir_;
  static QString samplePath_;
  static int scratchCount_;
};

QTemporaryDir* SqlTablesTest::dir_ = nullptr;
QString SqlTablesTest::samplePath_;
int SqlTablesTest::scratchCount_ = 0;

TEST_F(SqlTablesTest, SessionListsAliasesAndTables) {
  EXPECT_TRUE(Session().AliasNames().contains("DBDEMOS"));
  EXPECT_TRUE(Session().IsAlias("dbdemos"));
  EXPECT_EQ(Session().TableNames("DBDEMOS"), QStringList({"biolife", "country", "orders"}));
  TStringList list;
  Session().GetTableNames("DBDEMOS", "c*", true, false, &list);
  EXPECT_EQ(list.ToStringList(), QStringList({"country"}));
  Session().GetAliasNames(&list);
  EXPECT_EQ(list.Strings(0), "DBDEMOS");
  try {
    Session().TableNames("NOWHERE");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Unknown database alias: 'NOWHERE'");
  }
  EXPECT_THROW(Session().AddAlias("dbdemos", "QSQLITE", "x"), EDatabaseError);
  Session().AddAlias("ODD", "NOSUCHDRIVER", "x");
  try {
    Session().TableNames("odd");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Database driver 'NOSUCHDRIVER' is not available");
  }
  Session().DeleteAlias("ODD");
  EXPECT_FALSE(Session().IsAlias("ODD"));
}

TEST_F(SqlTablesTest, MissingSampleDatabaseIsAClearError) {
  qputenv("KEL_DBDEMOS", (dir_->path() + "/absent.sqlite").toUtf8());
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife");
  try {
    table.Open();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("The sample database was not found")) << e.what();
  }
  EXPECT_FALSE(table.Active());
  EXPECT_FALSE(QFile::exists(dir_->path() + "/absent.sqlite")) << "no empty database is created";
}

TEST_F(SqlTablesTest, BiolifeWithTheSampleFilter) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 360);
  EXPECT_EQ(table.FieldCount(), 8);
  EXPECT_EQ(table.FieldByName("Species No")->DataType(), ftInteger);
  EXPECT_EQ(table.FieldByName("Category")->DataType(), ftString);
  EXPECT_EQ(table.FieldByName("Category")->Size(), 15);
  EXPECT_EQ(table.FieldByName("Common_Name")->Size(), 30);
  EXPECT_EQ(table.FieldByName("Length (cm)")->DataType(), ftFloat);
  EXPECT_EQ(table.FieldByName("Notes")->DataType(), ftMemo);
  EXPECT_EQ(table.FieldByName("Graphic")->DataType(), ftGraphic);
  EXPECT_TRUE(table.FieldByName("Graphic")->IsBlob());
  EXPECT_EQ(table.KeyFieldNames(), QStringList({"Species No"}));
  table.SetFilter(SampleFilter);
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 32);
  EXPECT_TRUE(table.Locate("Common_Name", Variant("Clown Anemonefish")));
  EXPECT_FALSE(table.Locate("Common_Name", Variant("Humphead Wrasse")))
      << "filtered out: longer than 150 cm";
  table.Close();
  EXPECT_EQ(table.FieldCount(), 0) << "fields made for an open table go with it";
}

TEST_F(SqlTablesTest, OrdersHaveEveryFieldType) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("orders");
  table.Open();
  EXPECT_EQ(table.FieldByName("SaleDate")->DataType(), ftDate);
  EXPECT_EQ(table.FieldByName("ShipTime")->DataType(), ftTime);
  EXPECT_EQ(table.FieldByName("Shipped")->DataType(), ftDateTime);
  EXPECT_EQ(table.FieldByName("Paid")->DataType(), ftBoolean);
  EXPECT_EQ(table.FieldByName("ItemsTotal")->DataType(), ftCurrency);
  EXPECT_EQ(table.FieldByName("TaxRate")->DataType(), ftBCD);
  EXPECT_EQ(table.FieldByName("Items")->DataType(), ftSmallint);
  EXPECT_EQ(table.FieldByName("Remarks")->DataType(), ftMemo);
  EXPECT_DOUBLE_EQ(table.FieldByName("SaleDate")->AsDateTime(), EncodeDate(2024, 1, 8));
  EXPECT_NEAR(table.FieldByName("ShipTime")->AsDateTime(), EncodeTime(9, 30, 0, 0), 1e-9);
  EXPECT_NEAR(table.FieldByName("Shipped")->AsDateTime(),
              EncodeDate(2024, 1, 9) + EncodeTime(14, 10, 0, 0), 1e-9);
  EXPECT_TRUE(table.FieldByName("Paid")->AsBoolean());
  EXPECT_EQ(table.FieldByName("ItemsTotal")->AsCurrency(), Currency::FromScaled(12505000));
  EXPECT_EQ(table.FieldByName("SaleDate")->DisplayText(), "1/8/2024");
  table.SetFilter("SaleDate >= '4/1/2024' and Paid = False");
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 2);
  table.SetFilter("Shipped is null");
  EXPECT_EQ(table.RecordCount(), 4);
  table.SetFilter("ShipTime < '9:00 AM'");
  EXPECT_EQ(table.RecordCount(), 2);
  table.SetFilter("ItemsTotal > 2000 and TaxRate < 15");
  EXPECT_EQ(table.RecordCount(), 3);
}

TEST_F(SqlTablesTest, TableNameWithAnExtension) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("country.db");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 25);
  TTable missing;
  missing.SetDatabaseName("DBDEMOS");
  missing.SetTableName("whales");
  try {
    missing.Open();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Table 'whales' does not exist");
  }
  TTable unnamed;
  unnamed.SetDatabaseName("DBDEMOS");
  EXPECT_THROW(unnamed.Open(), EDatabaseError);
}

TEST_F(SqlTablesTest, QueryOpensAStatement) {
  TQuery query;
  query.SetDatabaseName("DBDEMOS");
  query.SQL()->Add("Select * from biolife WHERE [Species No] = 90020");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1);
  EXPECT_EQ(query.FieldByName("Common_Name")->AsString(), "Whale Shark");
  EXPECT_EQ(query.FieldByName("Category")->DataType(), ftString) << "declared column types";
  EXPECT_EQ(query.FieldByName("Notes")->DataType(), ftMemo);
  EXPECT_FALSE(query.CanModify());
  EXPECT_THROW(query.Edit(), EDatabaseError);
  // Changing the statement reopens the query.
  query.SQL()->SetText(
      "select Category, count(*) as Kinds from biolife group by Category order by 2 desc, 1");
  EXPECT_TRUE(query.Active());
  EXPECT_EQ(query.FieldByName("Category")->AsString(), "Shark");
  EXPECT_EQ(query.FieldByName("Kinds")->AsInteger(), 20);
  query.SetFilter("Kinds > 16");
  query.SetFiltered(true);
  EXPECT_EQ(query.RecordCount(), 7);
}

// LIKE heeds letter case on the session's SQLite connections, as the dataset's own filter and
// PostgreSQL do, so one condition selects the same records in each.
TEST_F(SqlTablesTest, LikeHeedsLetterCase) {
  TQuery query;
  query.SetDatabaseName("DBDEMOS");
  query.SQL()->SetText("select count(*) as N from biolife where Category like 'shark'");
  query.Open();
  EXPECT_EQ(query.FieldByName("N")->AsInteger(), 0);
  query.SQL()->SetText("select count(*) as N from biolife where Category like 'Sh%'");
  EXPECT_EQ(query.FieldByName("N")->AsInteger(), 20);
  TQuery local;
  local.SetDatabaseName("DBDEMOS");
  local.SQL()->SetText("select Category from biolife");
  local.SetFilter("Category like 'sh%'");
  local.SetFiltered(true);
  local.Open();
  EXPECT_EQ(local.RecordCount(), 0);
}

// What SQL text must heed comes from the alias's driver, without connecting.
TEST_F(SqlTablesTest, SqlTextRulesFollowTheDriver) {
  Session().AddAlias("KEL-SERVER", "QPSQL", "nowhere", {"HOST=/nonexistent"});
  const TSqlTextRules server = Session().SqlTextRules("kel-server");
  EXPECT_TRUE(server.QuoteNamesWithCapitals);
  EXPECT_TRUE(server.QuoteMoneyValues);
  TQuery query;
  query.SetDatabaseName("KEL-SERVER");
  EXPECT_TRUE(query.SqlTextRules().QuoteNamesWithCapitals);
  query.SetDatabaseName("DBDEMOS");
  EXPECT_FALSE(query.SqlTextRules().QuoteNamesWithCapitals);
  EXPECT_FALSE(Session().SqlTextRules("no such alias").QuoteMoneyValues);
  Session().DeleteAlias("KEL-SERVER");
}

TEST_F(SqlTablesTest, QueryPublishesItsStatementAsAStringList) {
  TQuery query;
  const int index = query.metaObject()->indexOfProperty("SQL");
  ASSERT_GE(index, 0);
  const QMetaProperty property = query.metaObject()->property(index);
  auto* lines = qvariant_cast<TStrings*>(property.read(&query));
  ASSERT_NE(lines, nullptr);
  lines->Add("select Name from country");
  EXPECT_EQ(query.SQL()->Count(), 1);
  TStringList other;
  other.Add("select 1");
  query.SetSQL(&other);
  EXPECT_EQ(query.SQL()->Strings(0), "select 1") << "assigning copies the lines";
}

TEST_F(SqlTablesTest, QueryErrors) {
  TQuery query;
  query.SetDatabaseName("DBDEMOS");
  EXPECT_THROW(query.Open(), EDatabaseError) << "no statement";
  query.SQL()->SetText("select * from nowhere");
  try {
    query.Open();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("SQL error: ")) << e.what();
    EXPECT_TRUE(e.Message().contains("nowhere")) << e.what();
  }
  EXPECT_FALSE(query.Active());
  query.SQL()->SetText("create table scratch (a integer)");
  EXPECT_THROW(query.Open(), EDatabaseError) << "no records to show";
  query.SQL()->SetText("select a.Name, b.Name from country a join country b on a.Name = b.Name");
  query.Open();
  EXPECT_NE(query.FindField("Name_1"), nullptr) << "repeated column names are told apart";
}

TEST_F(SqlTablesTest, EditsAreWrittenBackByKey) {
  const QString file =
      Scratch({"create table pets (id integer primary key, name varchar(20) not null, "
               "born date, weight float, note text default 'none')",
               "insert into pets values (1, 'Rex', '2015-03-01', 30.5, 'dog')",
               "insert into pets values (2, 'Tom', '2018-07-09', 4.2, 'cat')"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("pets");
  table.Open();
  EXPECT_TRUE(table.FieldByName("name")->Required());
  EXPECT_FALSE(table.FieldByName("id")->Required()) << "SQLite assigns an integer primary key";
  table.Edit();
  table.FieldByName("weight")->SetAsFloat(31);
  // Meanwhile another writer changes a column this edit does not touch.
  RunSql(file, {"update pets set note = 'good dog' where id = 1"});
  table.Post();
  EXPECT_EQ(ReadSql(file, "select weight from pets where id = 1").toDouble(), 31.0);
  EXPECT_EQ(ReadSql(file, "select note from pets where id = 1").toString(), "good dog")
      << "only changed columns are written";
  // Insert: the key and the defaults come back from the database.
  table.Append();
  table.FieldByName("name")->SetAsString("Polly");
  table.FieldByName("born")->SetAsDateTime(EncodeDate(2020, 12, 24));
  table.Post();
  EXPECT_EQ(table.FieldByName("id")->AsInteger(), 3);
  EXPECT_EQ(table.FieldByName("note")->AsString(), "none");
  EXPECT_EQ(ReadSql(file, "select born from pets where id = 3").toString(), "2020-12-24");
  // Delete.
  table.First();
  table.Delete();
  EXPECT_EQ(ReadSql(file, "select count(*) from pets").toInt(), 2);
  EXPECT_FALSE(ReadSql(file, "select name from pets where id = 1").isValid());
}

TEST_F(SqlTablesTest, ARecordChangedElsewhereIsNotOverwritten) {
  const QString file = Scratch({"create table pets (id integer primary key, name text)",
                                "insert into pets values (1, 'Rex')"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("pets");
  table.Open();
  RunSql(file, {"delete from pets where id = 1"});
  table.Edit();
  table.FieldByName("name")->SetAsString("Max");
  try {
    table.Post();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "The record was changed or deleted by another user");
  }
  EXPECT_EQ(table.State(), dsEdit) << "the edit is still there to cancel or retry";
  table.Cancel();
  EXPECT_THROW(table.Delete(), EDatabaseError);
  EXPECT_EQ(table.RecordCount(), 1);
  table.Refresh();
  EXPECT_EQ(table.RecordCount(), 0) << "Refresh reads the table again";
}

TEST_F(SqlTablesTest, TablesWithoutAKeyUseTheRowId) {
  const QString file = Scratch({"create table notes (topic varchar(10), body text)",
                                "insert into notes values ('a', 'first')",
                                "insert into notes values ('a', 'second')"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("notes");
  table.Open();
  EXPECT_EQ(table.FieldCount(), 2) << "the row id is no field";
  EXPECT_TRUE(table.CanModify());
  table.Next();
  table.Edit();
  table.FieldByName("body")->SetAsString("changed");
  table.Post();
  EXPECT_EQ(ReadSql(file, "select body from notes where rowid = 2").toString(), "changed");
  EXPECT_EQ(ReadSql(file, "select body from notes where rowid = 1").toString(), "first");
  table.Append();
  table.FieldByName("topic")->SetAsString("b");
  table.Post();
  table.Edit();
  table.FieldByName("body")->SetAsString("third");
  table.Post();
  EXPECT_EQ(ReadSql(file, "select body from notes where topic = 'b'").toString(), "third");
}

TEST_F(SqlTablesTest, ValuesTravelInTheirStoredForms) {
  const QString file =
      Scratch({"create table log (id integer primary key, day date, at time, stamp datetime, "
               "ok boolean, amount currency, odd date)",
               "insert into log values (1, '2024-02-29', '23:59:58.125', '2024-02-29T06:07:08', "
               "'true', '12.3456', 'someday')"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("log");
  table.Open();
  EXPECT_DOUBLE_EQ(table.FieldByName("day")->AsDateTime(), EncodeDate(2024, 2, 29));
  EXPECT_NEAR(table.FieldByName("at")->AsDateTime(), EncodeTime(23, 59, 58, 125), 1e-9);
  EXPECT_NEAR(table.FieldByName("stamp")->AsDateTime(),
              EncodeDate(2024, 2, 29) + EncodeTime(6, 7, 8, 0), 1e-9);
  EXPECT_TRUE(table.FieldByName("ok")->AsBoolean());
  EXPECT_EQ(table.FieldByName("amount")->AsCurrency(), Currency::FromScaled(123456));
  EXPECT_TRUE(table.FieldByName("odd")->IsNull()) << "text that is no date reads as Null";
  table.Edit();
  table.FieldByName("at")->SetAsDateTime(EncodeTime(7, 5, 0, 0));
  table.FieldByName("stamp")->SetAsDateTime(EncodeDate(1999, 12, 31) + EncodeTime(23, 0, 0, 0));
  table.FieldByName("ok")->SetAsBoolean(false);
  table.Post();
  EXPECT_EQ(ReadSql(file, "select at from log").toString(), "07:05:00");
  EXPECT_EQ(ReadSql(file, "select stamp from log").toString(), "1999-12-31 23:00:00");
  EXPECT_EQ(ReadSql(file, "select ok from log").toInt(), 0);
  EXPECT_EQ(ReadSql(file, "select odd from log").toString(), "someday")
      << "an untouched value is never rewritten";
}

TEST_F(SqlTablesTest, ValuesBeyondTheirFieldTypeLoadAsNull) {
  // SQLite keeps 64-bit integers in any INTEGER column; one that the field type cannot hold made
  // the whole table impossible to open.
  const QString file =
      Scratch({"create table counts (id integer primary key, n integer, "
               "s smallint, label varchar(10))",
               "insert into counts values (1, 3000000000, 70000, 'big')",
               "insert into counts values (2, 7, 5, 'small')"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("counts");
  table.Open();
  EXPECT_TRUE(table.FieldByName("n")->IsNull());
  EXPECT_TRUE(table.FieldByName("s")->IsNull());
  EXPECT_EQ(table.FieldByName("label")->AsString(), "big");
  table.Edit();
  table.FieldByName("label")->SetAsString("huge");
  table.Post();
  EXPECT_EQ(ReadSql(file, "select n from counts where id = 1").toLongLong(), 3000000000LL)
      << "the value that could not be shown is not overwritten";
  table.Next();
  EXPECT_EQ(table.FieldByName("n")->AsInteger(), 7);
  TQuery query;
  query.SetDatabaseName("SCRATCH");
  query.SQL()->Add("select n from counts order by id");
  query.Open();
  EXPECT_TRUE(query.FieldByName("n")->IsNull());
}

TEST_F(SqlTablesTest, ReadOnlyTables) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("country");
  table.SetReadOnly(true);
  table.Open();
  try {
    table.Edit();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Cannot modify a read-only dataset");
  }
  EXPECT_THROW(table.SetTableName("biolife"), EDatabaseError) << "an open table keeps its name";
}

TEST_F(SqlTablesTest, LookupIntoAnotherTable) {
  TTable countries;
  countries.SetDatabaseName("DBDEMOS");
  countries.SetTableName("country");
  countries.Open();
  TTable orders;
  orders.SetDatabaseName("DBDEMOS");
  orders.SetTableName("orders");
  // Persistent fields: the data fields wanted, and a lookup.
  CreateField(&orders, "OrderNo", ftInteger);
  CreateField(&orders, "Country", ftString, 24);
  TField* capital = CreateField(&orders, "Capital", ftString, 24);
  capital->SetFieldKind(fkLookup);
  capital->SetLookupDataSet(&countries);
  capital->SetKeyFields("Country");
  capital->SetLookupKeyFields("Name");
  capital->SetLookupResultField("Capital");
  orders.Open();
  EXPECT_EQ(orders.FieldCount(), 3);
  EXPECT_EQ(capital->AsString(), "Kingston");
  orders.Close();
  EXPECT_EQ(orders.FieldCount(), 3) << "persistent fields stay";
}

TEST_F(SqlTablesTest, LargeResultsAreReadAsTheCursorMoves) {
  const QString file = Scratch(
      {"create table big (id integer primary key, label varchar(20))",
       "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
       "insert into big select i, 'item ' || i from n"});
  TTable table;
  table.SetDatabaseName("SCRATCH");
  table.SetTableName("big");
  table.Open();
  EXPECT_LT(table.FetchedRecordCount(), 1000);
  EXPECT_FALSE(table.AllRecordsFetched());
  // Writing through the connection that the reading shares reads the rest first, so that the
  // result never shows a row twice.
  table.SetRecNo(50);
  table.Edit();
  table.FieldByName("id")->SetAsInteger(5000);
  table.Post();
  EXPECT_TRUE(table.AllRecordsFetched());
  EXPECT_EQ(table.RecordCount(), 1000);
  EXPECT_EQ(ReadSql(file, "select label from big where id = 5000").toString(), "item 50");

  TQuery query;
  query.SetDatabaseName("SCRATCH");
  query.SQL()->Add("select id, label from big order by id");
  query.Open();
  EXPECT_FALSE(query.AllRecordsFetched());
  query.Refresh();
  EXPECT_EQ(query.FieldByName("id")->AsInteger(), 1);
  EXPECT_FALSE(query.AllRecordsFetched()) << "a refresh reads a first batch again";
  Session().CloseDatabases();
  try {
    query.Last();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(),
              "The connection of alias 'SCRATCH' was closed before all records were read");
  }
  EXPECT_EQ(query.FieldByName("label")->AsString(), "item 1") << "the records read stay";
  query.Close();
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1000) << "reopening connects again";
}

// Drivers that hand over Qt's date-time values (all but SQLite's and PostgreSQL's text) give
// the same date-time numbers as the ISO text does, on both sides of 30 December 1899.
TEST(SqlValues, QtDateTimesReadLikeTheirText) {
  for (const char* text : {"0100-01-01 06:00:00", "1800-01-01 18:30:00", "1899-12-29 06:00:00",
                           "1899-12-30 06:00:00", "2001-03-07 14:05:09"}) {
    SCOPED_TRACE(text);
    const QDateTime moment = QDateTime::fromString(text, "yyyy-MM-dd HH:mm:ss");
    ASSERT_TRUE(moment.isValid());
    const QDate d = moment.date();
    const QTime t = moment.time();
    const TDateTime expected =
        EncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0);
    EXPECT_EQ(ReadDateTime(QString::fromLatin1(text)), expected);
    EXPECT_EQ(ReadDateTime(moment), expected);
  }
}

TEST_F(SqlTablesTest, RefreshStaysOnTheSameRecord) {
  const QString file = Scratch(
      {"create table t (id integer primary key, label varchar(20))",
       "create table nokey (label varchar(20))",
       "with recursive n(i) as (select 1 union all select i + 1 from n where i < 60) "
       "insert into t select i, 'item ' || i from n",
       "insert into nokey select label from t"});
  for (const char* name : {"t", "nokey"}) {
    SCOPED_TRACE(name);
    TTable table;
    table.SetDatabaseName("SCRATCH");
    table.SetTableName(name);
    table.Open();
    ASSERT_TRUE(table.Locate("label", Variant("item 50")));
    RunSql(file, {QStringLiteral("delete from %1 where label = 'item 10'").arg(name)});
    table.Refresh();
    EXPECT_EQ(table.FieldByName("label")->AsString(), "item 50");
    EXPECT_EQ(table.RecNo(), 49);
    // The record itself gone: the one that took its place.
    RunSql(file, {QStringLiteral("delete from %1 where label = 'item 50'").arg(name)});
    table.Refresh();
    EXPECT_EQ(table.FieldByName("label")->AsString(), "item 51");
  }
}

TEST_F(SqlTablesTest, AWriteFinishesEveryUnfinishedReadOfTheConnection) {
  Scratch({"create table t (id integer primary key, label varchar(20))",
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
           "insert into t select i, 'item ' || i from n"});
  TTable reading, writing;
  TQuery query;
  for (TDBDataSet* data : std::initializer_list<TDBDataSet*>{&reading, &writing, &query})
    data->SetDatabaseName("SCRATCH");
  reading.SetTableName("t");
  writing.SetTableName("t");
  query.SQL()->Add("select id from t order by id");
  reading.Open();
  query.Open();
  writing.Open();
  ASSERT_FALSE(reading.AllRecordsFetched());
  ASSERT_FALSE(query.AllRecordsFetched());
  writing.Edit();
  writing.FieldByName("id")->SetAsInteger(1000);  // the first record moves to the end
  writing.Post();
  writing.SetRecNo(150);
  writing.Delete();
  for (TDataSet* data : std::initializer_list<TDataSet*>{&reading, &query}) {
    EXPECT_TRUE(data->AllRecordsFetched());
    std::vector<int> ids;
    for (data->First(); !data->Eof(); data->Next())
      ids.push_back(data->FieldByName("id")->AsInteger());
    std::vector<int> expected(300);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(ids, expected) << "each record once, as it was when the reading began";
  }
}

TEST_F(SqlTablesTest, OtherThreadsAreRefusedWithAClearError) {
  QString refused;
  std::thread worker([&refused] {
    try {
      TTable table;
      table.SetDatabaseName("DBDEMOS");
      table.SetTableName("biolife");
      table.Open();
    } catch (const EDatabaseError& e) {
      refused = e.Message();
    }
  });
  worker.join();
  EXPECT_EQ(refused,
            "The database layer is used from the thread that started it only; alias 'DBDEMOS' "
            "was asked for from another thread");
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife");
  table.Open();
  EXPECT_GT(table.RecordCount(), 0) << "the thread that started it goes on";
}

TEST_F(SqlTablesTest, BrokenDatabaseFilesAreReportedByNameAndReason) {
  const auto openBiolife = [](const QString& alias) -> QString {
    TTable table;
    table.SetDatabaseName(alias);
    table.SetTableName("biolife");
    try {
      table.Open();
    } catch (const EDatabaseError& e) {
      return e.Message();
    }
    return QStringLiteral("opened");
  };
  const QString missing = dir_->filePath("missing.sqlite");
  Session().AddAlias("GONE", "QSQLITE", missing);
  EXPECT_EQ(openBiolife("GONE"),
            QStringLiteral("The database file '%1' of alias 'GONE' was not found")
                .arg(QDir::toNativeSeparators(missing)));
  EXPECT_FALSE(QFile::exists(missing)) << "opening never creates the database";
  Session().DeleteAlias("GONE");

  QFile sample(samplePath_);
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
  const QByteArray bytes = sample.readAll();
  QByteArray header = bytes;
  header.replace(0, 16, "not SQLite 3 ..");
  const struct {
    const char* name;
    QByteArray contents;
    const char* expected;  // what the message ends with
  } cases[] = {
      {"text.sqlite", "aliases are not kept here\n", "file is not a database"},
      {"header.sqlite", header, "file is not a database"},
      {"truncated.sqlite", bytes.left(bytes.size() / 3), "database disk image is malformed"},
  };
  for (const auto& broken : cases) {
    const QString path = dir_->filePath(broken.name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(broken.contents);
    file.close();
    qputenv("KEL_DBDEMOS", path.toUtf8());
    Session().CloseDatabases();
    EXPECT_EQ(openBiolife("DBDEMOS"),
              QStringLiteral("The database file '%1' of alias 'DBDEMOS' cannot be used: %2")
                  .arg(QDir::toNativeSeparators(path), broken.expected));
  }
  const QString empty = dir_->filePath("empty.sqlite");
  QFile(empty).open(QIODevice::WriteOnly);
  qputenv("KEL_DBDEMOS", empty.toUtf8());
  Session().CloseDatabases();
  EXPECT_EQ(openBiolife("DBDEMOS"),
            QStringLiteral("Table 'biolife' does not exist: the database file '%1' of alias "
                           "'DBDEMOS' is empty")
                .arg(QDir::toNativeSeparators(empty)));
}

}  // namespace
}  // namespace Kel
