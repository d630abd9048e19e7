// Values reach the database as bound parameters: a value holding quotes, a backslash or text
// that looks like a placeholder selects its own rows, through Qt's table model, through a query
// model and through a query dataset, and never appears in the SQL text.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTemporaryDir>

#include "DB.h"
#include "KelFltBox.h"
#include "KelModels.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

const QStringList Names = {"O'Brien", "it''s", "back\\slash", "C:\\x", ":x", "?", "a?b:c",
                           "x' OR '1'='1", "100%", "plain", "Plain"};

class SqlModelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const QString file = dir_.filePath("people.sqlite");
    db_ = QSqlDatabase::addDatabase("QSQLITE", "kel-sql-models");
    db_.setDatabaseName(file);
    ASSERT_TRUE(db_.open());
    QSqlQuery query(db_);
    query.exec("PRAGMA case_sensitive_like = ON");
    ASSERT_TRUE(query.exec("CREATE TABLE people (Id INTEGER PRIMARY KEY, Name TEXT)"));
    query.prepare("INSERT INTO people VALUES (?, ?)");
    for (int i = 0; i < Names.size(); ++i) {
      query.addBindValue(i + 1);
      query.addBindValue(Names[i]);
      ASSERT_TRUE(query.exec());
    }
    Session().AddAlias("KELPEOPLE", "QSQLITE", file);
    QSqlQuery(Session().Database("KELPEOPLE")).exec("PRAGMA case_sensitive_like = ON");
  }
  void TearDown() override {
    Session().DeleteAlias("KELPEOPLE");
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("kel-sql-models");
  }

  QStringList NamesOf(QAbstractItemModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) names << model.index(row, 1).data().toString();
    return names;
  }

  QTemporaryDir dir_;
  QSqlDatabase db_;
};

TEST_F(SqlModelsTest, ValuesWithQuotesBackslashesOrPlaceholderTextSelectTheirOwnRows) {
  TKelSqlTableModel model(nullptr, db_);
  model.setTable("people");
  ASSERT_TRUE(model.select());
  TKelFltBld builder;
  model.Fields()->FillCatalogue(builder.Fields());
  builder.SetAllowedUsageIDs("0;1;2;3");
  builder.SQLHead()->SetText("SELECT * FROM people");
  TKelFltItem* item = builder.Items()->Add();
  item->SetDataField("Name");
  for (const QString& name : Names) {
    for (const char* operation : {"is (exactly)", "contains"}) {
      item->SetTemplate(operation);
      item->SetValue(name);
      const bool exactly = QLatin1String(operation) == QLatin1String("is (exactly)");
      QStringList expected;
      for (const QString& other : Names)
        if (exactly ? other == name : other.contains(name)) expected << other;
      SCOPED_TRACE(name.toStdString() + " " + operation);

      const TKelSqlWithParams where = builder.SQLFilterWithParams();
      ASSERT_EQ(where.Values.size(), 1u);
      EXPECT_TRUE(where.Text.startsWith(exactly ? "\"Name\" = ?" : "\"Name\" LIKE ?"))
          << where.Text.toStdString();
      if (exactly) {
        EXPECT_EQ(where.Values[0].AsString(), name);
      }
      model.SetBoundFilter(where);
      ASSERT_FALSE(model.lastError().isValid()) << model.lastError().text().toStdString();
      EXPECT_EQ(NamesOf(model), expected);

      const TKelSqlWithParams statement = builder.SQLWithParams();
      QSqlQueryModel queryModel;
      ASSERT_TRUE(SetQueryWithParams(queryModel, statement, db_))
          << queryModel.lastError().text().toStdString();
      EXPECT_EQ(NamesOf(queryModel), expected);

      TQuery query;
      query.SetDatabaseName("KELPEOPLE");
      query.SetParamValues(statement.Values);
      query.SQL()->SetText(statement.Text);
      query.Open();
      QStringList names;
      for (; !query.Eof(); query.Next()) names << query.FieldByName("Name")->AsString();
      EXPECT_EQ(names, expected);
    }
  }
}

// The model's own edit cache goes with each new condition, as Qt's select() drops it, and the
// model stays sound through edits, new conditions and a failing one.
TEST_F(SqlModelsTest, ANewBoundConditionDropsPendingEditsAndFailuresAreReported) {
  TKelSqlTableModel model(nullptr, db_);
  model.setTable("people");
  model.setEditStrategy(QSqlTableModel::OnManualSubmit);
  ASSERT_TRUE(model.select());
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_TRUE(model.setData(model.index(0, 1), "changed"));
  ASSERT_TRUE(model.isDirty());
  model.SetBoundFilter({"\"Name\" LIKE ?", {Variant("%a%")}});
  EXPECT_FALSE(model.isDirty());
  EXPECT_EQ(NamesOf(model), QStringList({"back\\slash", "a?b:c", "plain", "Plain"}));

  model.SetBoundFilter({"Nope = ?", {Variant(1)}});
  EXPECT_TRUE(model.lastError().isValid());
  EXPECT_EQ(model.rowCount(), 0);
  model.setFilter("Id = 3");
  EXPECT_TRUE(model.BoundValues().empty());
  EXPECT_EQ(NamesOf(model), QStringList({"back\\slash"}));
}

TEST_F(SqlModelsTest, FollowsAFilterBoxWithTheTableColumnsQuotedAsTheDriverQuotesThem) {
  TKelSqlTableModel model(nullptr, db_);
  model.setTable("people");
  ASSERT_TRUE(model.select());
  TKelFltBox box;
  model.SetFilterBox(&box);
  ASSERT_EQ(box.Fields()->Count(), 2);
  EXPECT_EQ(box.Fields()->Items(1)->SQLFieldName(), "\"Name\"");
  TKelFltItem* item = box.FltItems()->Add();
  item->SetDataField("Name");
  item->SetTemplate("is (exactly)");
  item->SetValue(QString("O'Brien"));
  EXPECT_EQ(model.filter(), "\"Name\" = ?");
  EXPECT_EQ(NamesOf(model), QStringList({"O'Brien"}));
  box.FltItems()->Clear();
  EXPECT_EQ(model.rowCount(), Names.size());
}

}  // namespace
}  // namespace Kel
