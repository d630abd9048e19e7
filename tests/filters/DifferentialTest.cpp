// The builder's filter text and its SQL statement select the same records: random condition
// lists over random rows, the dataset filtered with FilterStr against SQLite running SQL on the
// same rows.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "FormatSettings.h"
#include "FilterTestData.h"
#include "KelUtils.h"
#include "RandomConditions.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using namespace Testing;

const TDateTime DifferentialToday = EncodeDate(2024, 3, 6);

class DifferentialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(DifferentialToday);
    db_ = QSqlDatabase::addDatabase("QSQLITE", "kel-differential");
    db_.setDatabaseName(":memory:");
    ASSERT_TRUE(db_.open());
  }
  void TearDown() override {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("kel-differential");
  }

  std::set<int> SqliteIds(const QString& sql) {
    std::set<int> ids;
    QSqlQuery query(db_);
    EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << "\n"
                                 << query.lastError().text().toStdString();
    while (query.next()) ids.insert(query.value(0).toInt());
    return ids;
  }

  // The rows as an open dataset and as SQLite's table t; the builder bound to the dataset with
  // every template offered and its SQL selecting t's Ids.
  std::unique_ptr<TMemDataSet> Load(const std::vector<RandomRow>& rows, TKelFltBld& builder) {
    auto data = MakeRandomDataSet(rows);
    FillSqliteTable(db_, rows);
    data->Open();
    builder.SetDataSet(data.get());
    builder.SetAllowedUsageIDs("");
    builder.SQLHead()->SetText("SELECT Id FROM t");
    return data;
  }

  QSqlDatabase db_;
};

// Null values: every template but the two negations, whose answer for Null legitimately
// differs (the dataset's filter counts Null <> x as true, SQL as unknown). Without Null values:
// every template.
TEST_F(DifferentialTest, FilterTextAndSqlSelectTheSameRecords) {
  std::mt19937 rng(20240306);
  for (const bool withNulls : {true, false}) {
    const std::vector<RandomRow> rows = MakeRandomRows(rng, 300, DifferentialToday, withNulls);
    std::unique_ptr<TMemDataSet> data;  // outlives the builder
    TKelFltBld builder;
    data = Load(rows, builder);
    builder.SQLDateTimeFormat()->SetDateFormat("YYYY-MM-DD");
    builder.SQLDateTimeFormat()->SetDateSeparator(u'-');

    int nonTrivial = 0;
    for (int round = 0; round < 400; ++round) {
      builder.Items()->Clear();
      const int count = std::uniform_int_distribution<int>(1, 8)(rng);
      for (int i = 0; i < count; ++i) AddRandomCondition(builder, rng, DifferentialToday, !withNulls);
      const QString filter = builder.FilterStr();
      const QString sql = builder.SQL()->Text();
      data->SetFilter(filter);
      data->SetFiltered(true);
      const std::set<int> shown = ShownIds(*data);
      ASSERT_EQ(shown, SqliteIds(sql)) << "round " << round << "\nfilter: " << filter.toStdString()
                                       << "\nsql: " << sql.toStdString();
      if (!shown.empty() && shown.size() < rows.size()) ++nonTrivial;
    }
    // Most lists selected some records and not all.
    EXPECT_GT(nonTrivial, 200);
  }
}

// A LIKE value is text: with the wildcards and escapes of the dataset's masks and of SQL in it,
// "contains", "begins with", "ends with" and "doesn't contain" select the records whose text
// holds it as typed, in the dataset's filter and in SQLite alike.
TEST_F(DifferentialTest, LikeValuesMatchAsTyped) {
  const QStringList texts = {"50%", "500", "a_b", "axb", "x^y", "xy", "[1]", "1", "c:\\d",
                             "c:d", "it's", "^%_[x]!\\'", "%", "_", "]"};
  std::vector<RandomRow> rows;
  for (int i = 0; i < texts.size(); ++i)
    rows.push_back({i + 1, Variant(0), Variant(0.0), Variant(texts[i]), Variant::FromDate(DifferentialToday)});
  std::unique_ptr<TMemDataSet> data;
  TKelFltBld builder;
  data = Load(rows, builder);
  using Holds = bool (*)(const QString&, const QString&);
  const std::pair<const char*, Holds> operations[] = {
      {"contains", [](const QString& t, const QString& v) { return t.contains(v); }},
      {"begins with", [](const QString& t, const QString& v) { return t.startsWith(v); }},
      {"ends with", [](const QString& t, const QString& v) { return t.endsWith(v); }},
      {"doesn't contain", [](const QString& t, const QString& v) { return !t.contains(v); }}};
  for (const QString value : {"0%", "a_", "^", "[1", "]", "\\", "'", "%", "_", "!", "%_["}) {
    for (const auto& [operation, holds] : operations) {
      std::set<int> expected;
      for (int i = 0; i < texts.size(); ++i)
        if (holds(texts[i], value)) expected.insert(i + 1);
      builder.Items()->Clear();
      Testing::AddCondition(builder, "Name", operation, value);
      const QString filter = builder.FilterStr();
      data->SetFilter(filter);
      data->SetFiltered(true);
      EXPECT_EQ(ShownIds(*data), expected) << filter.toStdString();
      EXPECT_EQ(SqliteIds(builder.SQL()->Text()), expected) << builder.SQL()->Text().toStdString();
    }
  }
}

}  // namespace
}  // namespace Kel
