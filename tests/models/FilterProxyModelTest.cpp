// The filter proxy over a plain model and Qt's table model filtered by the database: on random
// condition lists both show the rows that SQLite selects with the builder's SQL; the proxy stays
// a sound model through edits, inserts, deletes, resets and new conditions; and a new condition
// asks the source only for values no condition needed before.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

#include "../filters/RandomConditions.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelModels.h"
#include "KelUtils.h"
#include "TestPrinters.h"
#include "VectorTableModel.h"

namespace Kel {
namespace {

using namespace Testing;

const TDateTime Today = EncodeDate(2024, 3, 6);

QVariant DateValue(const Variant& value) {
  if (value.IsNull()) return QVariant();
  int year = 0, month = 0, day = 0;
  DecodeDate(value.AsDate(), year, month, day);
  return QDate(year, month, day);
}

std::vector<QVariant> ValuesOf(const RandomRow& row) {
  return {row.Id,
          row.Qty.IsNull() ? QVariant() : QVariant(row.Qty.AsInteger()),
          row.Score.IsNull() ? QVariant() : QVariant(row.Score.AsDouble()),
          row.Name.IsNull() ? QVariant() : QVariant(row.Name.AsString() + u""_s),
          DateValue(row.Due)};
}

class FilterProxyModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(Today);
    db_ = QSqlDatabase::addDatabase("QSQLITE", "kel-models");
    db_.setDatabaseName(":memory:");
    ASSERT_TRUE(db_.open());
  }
  void TearDown() override {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("kel-models");
  }

  std::set<int> SqliteIds(const QString& sql) {
    std::set<int> ids;
    QSqlQuery query(db_);
    EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << "\n" << query.lastError().text().toStdString();
    while (query.next()) ids.insert(query.value(0).toInt());
    return ids;
  }

  QSqlDatabase db_;
};

// With Null values every template but the two negations (the filter language counts Null <> x
// as true, SQL as unknown); without, every template. The server side runs SQL: it must agree
// with SQLite's reading of the spliced statement, values bound or not.
TEST_F(FilterProxyModelTest, ProxyAndServerFilterShowWhatSqliteSelects) {
  std::mt19937 rng(20240306);
  for (const bool withNulls : {true, false}) {
    const std::vector<RandomRow> rows = MakeRandomRows(rng, 300, Today, withNulls);
    FillSqliteTable(db_, rows);
    TVectorTableModel source({"Id", "Qty", "Score", "Name", "Due"});
    for (const RandomRow& row : rows) source.AppendRow(ValuesOf(row));
    TKelFilterProxyModel proxy;
    proxy.setSourceModel(&source);
    TKelSqlTableModel server(nullptr, db_);
    server.setTable("t");
    ASSERT_TRUE(server.select()) << server.lastError().text().toStdString();
    for (int c = 0; c < 5; ++c)
      ASSERT_EQ(proxy.Fields()->DataType(c), server.Fields()->DataType(c)) << c;
    ASSERT_EQ(server.Fields()->DataType(4), ftDate) << "ISO text in a DATE column";

    TKelFltBld builder;
    server.Fields()->FillCatalogue(builder.Fields());
    builder.SetAllowedUsageIDs("");
    builder.SQLHead()->SetText("SELECT Id FROM t");
    int nonTrivial = 0;
    for (int round = 0; round < 200; ++round) {
      builder.Items()->Clear();
      const int count = std::uniform_int_distribution<int>(1, 8)(rng);
      for (int i = 0; i < count; ++i) AddRandomCondition(builder, rng, Today, !withNulls);
      const QString filter = builder.FilterStr();
      const std::set<int> expected = SqliteIds(builder.SQL()->Text());
      proxy.SetFilterText(filter);
      ASSERT_EQ(IdsShown(proxy), expected) << "round " << round << "\nfilter: " << filter.toStdString();
      const TKelSqlWithParams where = builder.SQLFilterWithParams();
      server.SetBoundFilter(where);
      ASSERT_FALSE(server.lastError().isValid()) << server.lastError().text().toStdString();
      ASSERT_EQ(IdsShown(server), expected) << "round " << round << "\nwhere: " << where.Text.toStdString();
      if (!expected.empty() && expected.size() < rows.size()) ++nonTrivial;
    }
    EXPECT_GT(nonTrivial, 100);
  }
}

// Qty of a source row, for the expected rows.
int QtyAt(TVectorTableModel& source, int row) { return source.index(row, 1).data().toInt(); }

TEST_F(FilterProxyModelTest, StaysASoundModelThroughChangesOfSourceAndCondition) {
  TVectorTableModel source({"Id", "Qty", "Name"});
  for (int i = 0; i < 200; ++i) source.AppendRow({i, i % 13, QStringLiteral("n%1").arg(i)});
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(&source);
  QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
  proxy.sort(0, Qt::DescendingOrder);

  std::function<bool(int)> accepts;
  const auto check = [&](const char* step) {
    std::vector<int> expected;
    for (int row = 0; row < source.rowCount(); ++row)
      if (accepts(QtyAt(source, row))) expected.push_back(source.index(row, 0).data().toInt());
    std::sort(expected.rbegin(), expected.rend());
    std::vector<int> shown;
    for (int row = 0; row < proxy.rowCount(); ++row) shown.push_back(proxy.index(row, 0).data().toInt());
    EXPECT_EQ(shown, expected) << step;
  };
  const auto row = [](int id, int qty) {
    return std::vector<QVariant>{id, qty, QStringLiteral("new%1").arg(id)};
  };

  proxy.SetFilterText("Qty > 5");
  accepts = [](int qty) { return qty > 5; };
  check("first condition");
  source.setData(source.index(2, 1), 9, Qt::EditRole);
  source.setData(source.index(7, 1), 0, Qt::EditRole);
  check("edits");
  source.InsertRowValues(50, {row(1000, 8), row(1001, 1), row(1002, 12)});
  std::vector<std::vector<QVariant>> many;
  for (int i = 0; i < 40; ++i) many.push_back(row(2000 + i, i % 13));
  source.InsertRowValues(source.rowCount(), many);
  source.InsertRowValues(10, many);
  check("inserts: a few, many at the end, many in the middle");
  source.removeRows(5, 2, QModelIndex());
  source.removeRows(20, 40, QModelIndex());
  source.removeRows(source.rowCount() - 30, 30, QModelIndex());
  check("deletes");
  proxy.SetFilterText("Qty > 5 and Qty < 7");
  accepts = [](int qty) { return qty == 6; };
  check("a condition that changes rows all over");
  proxy.SetFilterText("Qty > 5 and Qty < 8");
  accepts = [](int qty) { return qty == 6 || qty == 7; };
  check("a condition that changes rows all over again");
  std::vector<std::vector<QVariant>> fresh;
  for (int i = 0; i < 60; ++i) fresh.push_back(row(i, (i * 7) % 13));
  source.ReplaceAll(fresh);
  check("reset");
  EXPECT_THROW(proxy.SetFilterText("Nope > 1"), Exception);
  EXPECT_EQ(proxy.FilterText(), "Qty > 5 and Qty < 8") << "a refused condition changes nothing";
  proxy.SetFilterText("");
  accepts = [](int) { return true; };
  check("no condition");
}

TEST_F(FilterProxyModelTest, ANewConditionAsksTheSourceForNothing) {
  TVectorTableModel source({"Id", "Qty", "Name"});
  for (int i = 0; i < 1000; ++i) source.AppendRow({i, i % 13, QStringLiteral("n%1").arg(i)});
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(&source);
  const int64_t before = source.DataCalls;  // the catalogue looked at the first rows
  proxy.SetFilterText("Qty > 5");
  EXPECT_EQ(proxy.rowCount(), 538);
  EXPECT_EQ(source.DataCalls - before, 1000) << "one column read once";
  proxy.SetFilterText("Qty < 3");
  proxy.SetFilterText("Qty = 4 or Qty = 9");
  EXPECT_EQ(source.DataCalls - before, 1000) << "conditions on the same column read nothing";
  proxy.SetFilterText("Qty = 4 and Id < 500");
  EXPECT_EQ(source.DataCalls - before, 1077)
      << "another column is read only where the first leaves the answer open (77 rows)";
  EXPECT_EQ(proxy.rowCount(), 39);
  source.setData(source.index(3, 1), 4, Qt::EditRole);
  EXPECT_EQ(source.DataCalls - before, 1079)
      << "a changed value is read again, and the row's Id that the condition now needs";
  EXPECT_EQ(proxy.rowCount(), 40);
  proxy.SetFilterText("Id < 500 or Qty = 4");
  EXPECT_EQ(source.DataCalls - before, 2001) << "the Ids passed by are read when needed, once";
  EXPECT_EQ(proxy.rowCount(), 538);
}

TEST_F(FilterProxyModelTest, FollowsAFilterBox) {
  TVectorTableModel source({"Id", "Qty", "Name"});
  for (int i = 0; i < 30; ++i) source.AppendRow({i, i % 13, QStringLiteral("n%1").arg(i)});
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(&source);
  TKelFltBox box;
  proxy.SetFilterBox(&box);
  ASSERT_EQ(box.Fields()->Count(), 3) << "the box offers the model's columns";
  TKelFltItem* item = box.FltItems()->Add();
  item->SetDataField("Qty");
  item->SetTemplate("more than");
  item->SetValue(10);
  EXPECT_EQ(proxy.FilterText(), "Qty > 10");
  EXPECT_EQ(proxy.rowCount(), 4);
  box.FltItems()->Clear();
  EXPECT_EQ(proxy.rowCount(), 30);
}

}  // namespace
}  // namespace Kel
