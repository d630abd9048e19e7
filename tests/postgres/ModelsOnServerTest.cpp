// Qt's table model filtered by PostgreSQL with the values bound: on random condition lists it
// selects the rows SQLite selects for the builder's SQL on the same rows, and a value holding
// quotes, a backslash or placeholder-looking text selects its own rows.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include "../filters/RandomConditions.h"
#include "../models/VectorTableModel.h"
#include "FormatSettings.h"
#include "KelModels.h"
#include "KelUtils.h"
#include "PostgresTest.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using namespace Testing;

const TDateTime ModelsToday = EncodeDate(2024, 3, 6);

class ModelsOnServerTest : public PostgresTest {
 protected:
  void SetUp() override {
    PostgresTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(ModelsToday);
    pg_ = QSqlDatabase::addDatabase("QPSQL", "kel-models-pg");
    pg_.setConnectOptions(Server().ConnectionString("kel"));
    ASSERT_TRUE(pg_.open()) << pg_.lastError().text().toStdString();
    lite_ = QSqlDatabase::addDatabase("QSQLITE", "kel-models-lite");
    lite_.setDatabaseName(":memory:");
    ASSERT_TRUE(lite_.open());
  }
  // The server's database is shared by the program's tests: the tables made here go.
  void TearDown() override {
    if (pg_.isOpen()) {
      QSqlQuery(pg_).exec("DROP TABLE IF EXISTS t");
      QSqlQuery(pg_).exec("DROP TABLE IF EXISTS people");
    }
    for (QSqlDatabase* db : {&pg_, &lite_}) {
      const QString name = db->connectionName();
      db->close();
      *db = QSqlDatabase();
      if (!name.isEmpty()) QSqlDatabase::removeDatabase(name);
    }
    PostgresTest::TearDown();
  }

  void Exec(const QString& sql) {
    QSqlQuery query(pg_);
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
  }

  void FillServerTable(const std::vector<RandomRow>& rows) {
    Exec("DROP TABLE IF EXISTS t");
    Exec("CREATE TABLE t (\"Id\" integer PRIMARY KEY, \"Qty\" integer, \"Score\" double precision, "
         "\"Name\" text, \"Due\" date)");
    QSqlQuery query(pg_);
    query.prepare("INSERT INTO t VALUES (?, ?, ?, ?, ?)");
    for (const RandomRow& row : rows) {
      query.addBindValue(row.Id);
      query.addBindValue(row.Qty.IsNull() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(row.Qty.AsInteger()));
      query.addBindValue(row.Score.IsNull() ? QVariant(QMetaType(QMetaType::Double))
                                            : QVariant(row.Score.AsDouble()));
      query.addBindValue(row.Name.IsNull() ? QVariant(QMetaType(QMetaType::QString))
                                           : QVariant(row.Name.AsString() + u""_s));
      query.addBindValue(row.Due.IsNull() ? QVariant(QMetaType(QMetaType::QString))
                                          : QVariant(FormatDateTime("yyyy-mm-dd", row.Due.AsDate())));
      ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }
  }

  QSqlDatabase pg_;
  QSqlDatabase lite_;
};

TEST_F(ModelsOnServerTest, BoundConditionsSelectWhatSqliteSelects) {
  std::mt19937 rng(20240311);
  const std::vector<RandomRow> rows = MakeRandomRows(rng, 300, ModelsToday);
  FillServerTable(rows);
  FillSqliteTable(lite_, rows);
  TKelSqlTableModel server(nullptr, pg_);
  server.setTable("t");
  ASSERT_TRUE(server.select()) << server.lastError().text().toStdString();
  EXPECT_EQ(server.Fields()->DataType(4), ftDate);
  TKelFltBld builder;
  server.Fields()->FillCatalogue(builder.Fields());
  builder.SetAllowedUsageIDs("");
  builder.SQLHead()->SetText("SELECT \"Id\" FROM t");
  int nonTrivial = 0;
  for (int round = 0; round < 150; ++round) {
    builder.Items()->Clear();
    const int count = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int i = 0; i < count; ++i) AddRandomCondition(builder, rng, ModelsToday);
    const QString sql = builder.SQL()->Text();
    std::set<int> expected;
    QSqlQuery reference(lite_);
    ASSERT_TRUE(reference.exec(sql)) << sql.toStdString();
    while (reference.next()) expected.insert(reference.value(0).toInt());
    const TKelSqlWithParams where = builder.SQLFilterWithParams();
    server.SetBoundFilter(where);
    ASSERT_FALSE(server.lastError().isValid())
        << where.Text.toStdString() << "\n" << server.lastError().text().toStdString();
    ASSERT_EQ(IdsShown(server), expected) << "round " << round << "\n" << sql.toStdString();
    if (!expected.empty() && expected.size() < rows.size()) ++nonTrivial;
  }
  EXPECT_GT(nonTrivial, 60);
}

// Backslashes stay out of LIKE here: PostgreSQL reads one in a LIKE pattern as an escape.
TEST_F(ModelsOnServerTest, ValuesWithQuotesBackslashesOrPlaceholderTextSelectTheirOwnRows) {
  const QStringList names = {"O'Brien", "it''s", "back\\slash", ":x", "$1", "?", "a?b:c",
                             "x' OR '1'='1", "100%", "plain"};
  Exec("DROP TABLE IF EXISTS people");
  Exec("CREATE TABLE people (\"Id\" integer PRIMARY KEY, \"Name\" text)");
  QSqlQuery insert(pg_);
  insert.prepare("INSERT INTO people VALUES (?, ?)");
  for (int i = 0; i < names.size(); ++i) {
    insert.addBindValue(i + 1);
    insert.addBindValue(names[i]);
    ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
  }
  TKelSqlTableModel model(nullptr, pg_);
  model.setTable("people");
  model.setSort(0, Qt::AscendingOrder);
  ASSERT_TRUE(model.select());
  TKelFltBox box;
  box.SetAllowedUsageIDs("0;1;2;3");
  model.SetFilterBox(&box);
  TKelFltItem* item = box.FltItems()->Add();
  item->SetDataField("Name");
  for (const QString& name : names) {
    for (const char* operation : {"is (exactly)", "contains"}) {
      const bool exactly = QLatin1String(operation) == QLatin1String("is (exactly)");
      if (!exactly && name.contains(u'\\')) continue;
      item->SetTemplate(operation);
      item->SetValue(name);
      QStringList expected, shown;
      for (const QString& other : names)
        if (exactly ? other == name : other.contains(name)) expected << other;
      for (int row = 0; row < model.rowCount(); ++row) shown << model.index(row, 1).data().toString();
      EXPECT_FALSE(model.lastError().isValid()) << model.lastError().text().toStdString();
      EXPECT_EQ(shown, expected) << name.toStdString() << " " << operation;
    }
  }
}

}  // namespace
}  // namespace Kel
