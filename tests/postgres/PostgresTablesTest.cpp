// Tables and queries on a PostgreSQL server: the sample tables read as in SQLite, navigation and
// filters, write-back by key, changes by another connection, every column type there and back,
// Null in each, tables without a key, and large results read as the cursor moves.
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>

#include "DB.h"
#include "DateUtils.h"
#include "FormatSettings.h"
#include "PostgresTest.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using Testing::PostgresTest;

const char* const SampleFilter =
    "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and [Length "
    "(cm)] < 150)";

class PostgresTablesTest : public PostgresTest {
 protected:
  void SetUp() override {
    PostgresTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetFormatSettings(TFormatSettings::Invariant());
  }
  void TearDown() override {
    if (QSqlDatabase::contains(kRaw)) QSqlDatabase::removeDatabase(kRaw);
    PostgresTest::TearDown();
  }

  // A connection of the test's own, outside the dataset layer ("another user").
  QSqlDatabase Raw() {
    if (!QSqlDatabase::contains(kRaw)) {
      QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", kRaw);
      db.setConnectOptions(Server().ConnectionString("kel"));
      EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    return QSqlDatabase::database(kRaw);
  }
  void Exec(const QString& sql) {
    QSqlQuery query(Raw());
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": "
                                 << query.lastError().text().toStdString();
  }
  QString Text(const QString& sql) {
    QSqlQuery query(Raw());
    if (!query.exec(sql) || !query.next()) return QStringLiteral("<none>");
    return query.isNull(0) ? QStringLiteral("<null>") : query.value(0).toString();
  }

  static constexpr const char* kRaw = "kel-test-pg-raw";
};

TEST_F(PostgresTablesTest, SampleTablesReadAsInSqlite) {
  const Testing::TSqliteSample sqlite;
  EXPECT_EQ(Session().TableNames(Alias), QStringList({"biolife", "country", "orders"}));
  for (const QString name : {"biolife", "country", "orders"}) {
    TTable server, local;
    server.SetDatabaseName(Alias);
    server.SetTableName(name + ".db");  // the demonstration's names work here too
    local.SetDatabaseName(sqlite.Alias());
    local.SetTableName(name);
    server.Open();
    local.Open();
    ASSERT_EQ(server.FieldCount(), local.FieldCount()) << name.toStdString();
    EXPECT_EQ(server.KeyFieldNames(), local.KeyFieldNames());
    for (int i = 0; i < local.FieldCount(); ++i) {
      const TField* a = server.Fields()[i];
      const TField* b = local.Fields()[i];
      EXPECT_EQ(a->FieldName(), b->FieldName());
      // The one type the server has no name for: a picture is bytes there.
      if (b->DataType() != ftGraphic) {
        EXPECT_EQ(a->DataType(), b->DataType()) << a->FieldName().toStdString();
      }
      EXPECT_EQ(a->Size(), b->Size()) << a->FieldName().toStdString();
      // A key is never Null on the server; SQLite fills in an integer key by itself.
      if (!local.KeyFieldNames().contains(b->FieldName())) {
        EXPECT_EQ(a->Required(), b->Required()) << a->FieldName().toStdString();
      }
    }
    ASSERT_EQ(server.RecordCount(), local.RecordCount());
    for (; !local.Eof(); local.Next(), server.Next())
      for (int i = 0; i < local.FieldCount(); ++i)
        EXPECT_TRUE(server.Fields()[i]->Value().Same(local.Fields()[i]->Value()))
            << name.toStdString() << "." << local.Fields()[i]->FieldName().toStdString() << ": "
            << VarDebugText(server.Fields()[i]->Value()).toStdString() << " vs "
            << VarDebugText(local.Fields()[i]->Value()).toStdString();
  }
}

TEST_F(PostgresTablesTest, AnAliasFileCanPointTheDemonstrationAtTheServer) {
  QTemporaryDir dir;
  const QString file = dir.filePath("aliases.ini");
  QFile ini(file);
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(QStringLiteral("[DBDEMOS]\ndriver=QPSQL\nhost=%1\nport=%2\ndatabase=kel\nuser=%3\n")
                .arg(Server().SocketFolder())
                .arg(Server().Port())
                .arg(Server().User())
                .toUtf8());
  ini.close();
  Session().LoadAliasFile(file);
  TTable table;  // as the filter demonstration opens it
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife.db");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 360);
  EXPECT_EQ(Session().Database("DBDEMOS").driverName(), "QPSQL");
  table.Close();
  Session().LoadAliasFile(QString());
}

TEST_F(PostgresTablesTest, NavigateSearchAndFilter) {
  TTable table;
  table.SetDatabaseName(Alias);
  table.SetTableName("biolife");
  table.Open();
  EXPECT_EQ(table.FieldByName("Species No")->AsInteger(), 90010) << "in key order";
  table.Last();
  EXPECT_EQ(table.FieldByName("Species No")->AsInteger(), 93600);
  table.Prior();
  EXPECT_EQ(table.RecNo(), 359);
  EXPECT_TRUE(table.Locate("Common_Name", Variant("clown anemonefish"), {loCaseInsensitive}));
  EXPECT_EQ(table.FieldByName("Category")->AsString(), "Damselfish");
  table.SetFilter(SampleFilter);
  table.SetFiltered(true);
  EXPECT_EQ(table.RecordCount(), 32);
  EXPECT_FALSE(table.Locate("Common_Name", Variant("Humphead Wrasse")));

  TQuery query;
  query.SetDatabaseName(Alias);
  query.SQL()->SetText(
      "select \"Category\", count(*) as \"Kinds\", sum(\"ItemsTotal\") as \"Total\" "
      "from biolife left join orders on false group by \"Category\" order by 2 desc, 1");
  query.Open();
  EXPECT_EQ(query.FieldByName("Category")->AsString(), "Shark");
  EXPECT_EQ(query.FieldByName("Kinds")->DataType(), ftLargeint);
  EXPECT_EQ(query.FieldByName("Total")->DataType(), ftCurrency);
  EXPECT_TRUE(query.FieldByName("Total")->IsNull());
  EXPECT_FALSE(query.CanModify());
}

TEST_F(PostgresTablesTest, EditsInsertsAndDeletesAreWrittenBackByKey) {
  Exec("create table pets (id serial primary key, name varchar(20) not null, "
       "born date, weight real, note text default 'none')");
  Exec("insert into pets (name, born, weight, note) values ('Rex', '2015-03-01', 30.5, 'dog'), "
       "('Tom', '2018-07-09', 4.2, 'cat')");
  TTable table;
  table.SetDatabaseName(Alias);
  table.SetTableName("pets");
  table.Open();
  EXPECT_TRUE(table.FieldByName("name")->Required());
  EXPECT_FALSE(table.FieldByName("id")->Required()) << "a serial key has a default";
  EXPECT_EQ(table.FieldCount(), 5) << "the row version is no field";
  table.Edit();
  table.FieldByName("weight")->SetAsFloat(31.25);
  table.Post();
  EXPECT_EQ(Text("select weight from pets where id = 1"), "31.25");
  EXPECT_EQ(Text("select note from pets where id = 1"), "dog");
  table.Edit();
  table.FieldByName("note")->SetAsString("good dog");
  table.Post();
  EXPECT_EQ(Text("select note from pets where id = 1"), "good dog")
      << "a second edit of the same row goes through: the row's new version was read back";
  table.Append();
  table.FieldByName("name")->SetAsString("Polly");
  table.FieldByName("born")->SetAsDateTime(EncodeDate(2020, 12, 24));
  table.Post();
  EXPECT_EQ(table.FieldByName("id")->AsInteger(), 3) << "the key comes back from the server";
  EXPECT_EQ(table.FieldByName("note")->AsString(), "none") << "and the defaults";
  EXPECT_EQ(Text("select born from pets where id = 3"), "2020-12-24");
  table.Edit();
  table.FieldByName("name")->SetAsString("Polly Parrot");
  table.Post();
  table.First();
  table.Delete();
  EXPECT_EQ(Text("select count(*) from pets"), "2");
  EXPECT_EQ(Text("select name from pets where id = 3"), "Polly Parrot");
  table.Edit();
  table.FieldByName("name")->Clear();
  EXPECT_THROW(table.Post(), EDatabaseError) << "a required field";
  table.Cancel();
}

TEST_F(PostgresTablesTest, ChangesByAnotherConnectionAreNotOverwritten) {
  Exec("create table stock (item varchar(10) primary key, count integer, place text)");
  Exec("insert into stock values ('bolt', 10, 'A1'), ('nut', 20, 'B2')");
  Server().AddAlias("PGOTHER", "kel");
  TTable mine, theirs;  // through two connections
  mine.SetDatabaseName(Alias);
  theirs.SetDatabaseName("PGOTHER");
  for (TTable* table : {&mine, &theirs}) {
    table->SetTableName("stock");
    table->Open();
  }
  theirs.Edit();
  theirs.FieldByName("place")->SetAsString("A2");
  theirs.Post();
  mine.Edit();
  mine.FieldByName("count")->SetAsInteger(9);
  try {
    mine.Post();
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "The record was changed or deleted by another user");
  }
  EXPECT_EQ(mine.State(), dsEdit) << "the edit is still there to cancel or retry";
  mine.Cancel();
  EXPECT_EQ(Text("select count || ' ' || place from stock where item = 'bolt'"), "10 A2");
  mine.Refresh();
  mine.Edit();
  mine.FieldByName("count")->SetAsInteger(9);
  mine.Post();
  EXPECT_EQ(Text("select count || ' ' || place from stock where item = 'bolt'"), "9 A2");
  // Removed meanwhile: neither edit nor delete finds it.
  mine.Next();
  Exec("delete from stock where item = 'nut'");
  EXPECT_THROW(mine.Delete(), EDatabaseError);
  mine.Edit();
  mine.FieldByName("count")->SetAsInteger(1);
  EXPECT_THROW(mine.Post(), EDatabaseError);
  mine.Cancel();
  Session().DeleteAlias("PGOTHER");
}

TEST_F(PostgresTablesTest, EveryColumnTypeTravelsThereAndBack) {
  Exec("create table kinds (id integer primary key, a smallint, b integer, c bigint, d real, "
       "e double precision, f numeric(9,2), g money, h boolean, i text, j varchar(12), "
       "k char(4), l date, m time, n timestamp, o timestamptz, p bytea, q numeric)");
  const TDateTime day = EncodeDate(2024, 3, 31);
  const TDateTime clock = EncodeTime(2, 30, 15, 250);  // a time that some zones skip that day
  const QString bytes = QString::fromLatin1(QByteArray("\0\x01\xff'\\\"", 6));
  const std::vector<std::pair<QString, Variant>> values = {
      {"a", Variant::FromSmallint(-32768)},
      {"b", Variant(2147483647)},
      {"c", Variant(int64_t{-9007199254740993})},
      {"d", Variant(0.1)},
      {"e", Variant(-1.0 / 3.0)},
      {"f", Variant(Currency::FromScaled(-12345678900))},
      {"g", Variant(Currency::FromScaled(12345600))},
      {"h", Variant(true)},
      {"i", Variant(QStringLiteral("quote ' and \"double\", line\nbreak, ümlaut €"))},
      {"j", Variant(QStringLiteral("twelve chars"))},
      {"k", Variant(QStringLiteral("abcd"))},
      {"l", Variant::FromDate(day)},
      {"m", Variant::FromDate(clock)},
      {"n", Variant::FromDate(day + clock)},
      {"o", Variant::FromDate(EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 999))},
      {"p", Variant(bytes)},
      {"q", Variant(3.125)},
  };
  {
    TTable table;
    table.SetDatabaseName(Alias);
    table.SetTableName("kinds");
    table.Open();
    EXPECT_EQ(table.FieldByName("a")->DataType(), ftSmallint);
    EXPECT_EQ(table.FieldByName("c")->DataType(), ftLargeint);
    EXPECT_EQ(table.FieldByName("d")->DataType(), ftFloat);
    EXPECT_EQ(table.FieldByName("f")->DataType(), ftBCD);
    EXPECT_EQ(table.FieldByName("g")->DataType(), ftCurrency);
    EXPECT_EQ(table.FieldByName("h")->DataType(), ftBoolean);
    EXPECT_EQ(table.FieldByName("i")->DataType(), ftMemo);
    EXPECT_EQ(table.FieldByName("j")->Size(), 12);
    EXPECT_EQ(table.FieldByName("k")->DataType(), ftFixedChar);
    EXPECT_EQ(table.FieldByName("m")->DataType(), ftTime);
    EXPECT_EQ(table.FieldByName("o")->DataType(), ftDateTime);
    EXPECT_EQ(table.FieldByName("p")->DataType(), ftBlob);
    EXPECT_EQ(table.FieldByName("q")->DataType(), ftFloat) << "no scale declared";
    table.Append();
    table.FieldByName("id")->SetAsInteger(1);
    for (const auto& [name, value] : values) table.FieldByName(name)->SetValue(value);
    table.Post();
    table.Append();
    table.FieldByName("id")->SetAsInteger(2);  // Null in every other column
    table.Post();
  }
  EXPECT_EQ(Text("select n::text from kinds where id = 1"), "2024-03-31 02:30:15.25");
  EXPECT_EQ(Text("select f::text || ' ' || g::numeric::text from kinds where id = 1"),
            "-1234567.89 1234.56");
  EXPECT_EQ(Text("select encode(p, 'hex') from kinds where id = 1"), "0001ff275c22");
  EXPECT_EQ(Text("select count(*) from kinds where id = 2 and num_nulls(a, b, c, d, e, f, g, "
                 "h, i, j, k, l, m, n, o, p, q) = 17"),
            "1");
  TTable table;
  table.SetDatabaseName(Alias);
  table.SetTableName("kinds");
  table.Open();
  for (const auto& [name, value] : values) {
    const Variant read = table.FieldByName(name)->Value();
    if (name == "d")  // a real keeps a float's digits
      EXPECT_FLOAT_EQ(static_cast<float>(read.AsDouble()), 0.1f);
    else
      EXPECT_TRUE(read.Same(ConvertToFieldType(value, table.FieldByName(name)->DataType())))
          << name.toStdString() << ": " << VarDebugText(read).toStdString();
  }
  table.Next();
  for (const auto& [name, value] : values)
    EXPECT_TRUE(table.FieldByName(name)->IsNull()) << name.toStdString();
  // Written back unchanged: the version check and the key find the row again.
  table.First();
  table.Edit();
  table.FieldByName("o")->SetAsDateTime(EncodeDate(2000, 1, 1));
  table.Post();
  TQuery query;
  query.SetDatabaseName(Alias);
  query.SQL()->SetText("select * from kinds order by id");
  query.Open();
  for (int i = 0; i < table.FieldCount(); ++i) {
    EXPECT_EQ(query.Fields()[i]->DataType(), table.Fields()[i]->DataType())
        << "a query's columns have the types of the table's";
    EXPECT_TRUE(query.Fields()[i]->Value().Same(table.Fields()[i]->Value()))
        << table.Fields()[i]->FieldName().toStdString();
  }
}

TEST_F(PostgresTablesTest, ATableWithoutAPrimaryKeyIsReadOnly) {
  Exec("create table notes (topic varchar(10), body text)");
  Exec("insert into notes values ('a', 'first'), ('a', 'second')");
  TTable table;
  table.SetDatabaseName(Alias);
  table.SetTableName("notes");
  table.Open();
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_FALSE(table.CanModify());
  for (const auto& change : std::vector<std::function<void()>>{
           [&] { table.Edit(); }, [&] { table.Append(); }, [&] { table.Delete(); }}) {
    try {
      change();
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), "Table 'notes' has no primary key: its records cannot be changed");
    }
  }
  EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(PostgresTablesTest, AMillionRowQueryShowsItsFirstRowsAtOnce) {
  Exec("create table million as select i as id, 'name ' || i as name, i * 0.5 as half "
       "from generate_series(1, 1000000) i");
  Exec("alter table million add primary key (id)");
  TQuery query;
  query.SetDatabaseName(Alias);
  query.SQL()->SetText("select id, name, half from million order by id");
  query.Open();
  EXPECT_LE(query.FetchedRecordCount(), 100) << "a first batch, not the whole result";
  EXPECT_FALSE(query.AllRecordsFetched());
  for (int i = 1; i < 50; ++i) query.Next();
  EXPECT_EQ(query.FieldByName("name")->AsString(), "name 50");
  // The alias's connection stays free: writes and other tables meanwhile do not cut the
  // result off.
  TTable pets;
  pets.SetDatabaseName(Alias);
  pets.SetTableName("orders");
  pets.Open();
  pets.Edit();
  pets.FieldByName("Remarks")->SetAsString("checked");
  pets.Post();
  EXPECT_TRUE(query.Locate("id", Variant(250)));
  EXPECT_EQ(query.FieldByName("half")->AsFloat(), 125.0);
  EXPECT_LT(query.FetchedRecordCount(), 1000) << "Locate read no further than it had to";
  query.Close();  // the rest is not read: the server is told to stop
  query.Open();
  EXPECT_EQ(query.RecordCount(), 1000000);
  query.Last();
  EXPECT_EQ(query.FieldByName("name")->AsString(), "name 1000000");
  EXPECT_TRUE(query.AllRecordsFetched());
}

}  // namespace
}  // namespace Kel
