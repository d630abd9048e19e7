// The filter builder's SQL on the server: every default template, on every field of the sample
// tables, selects on PostgreSQL the records it selects on SQLite, each statement written for
// its own database by a builder bound to a table there.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <functional>

#include "DB.h"
#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelFltBox.h"
#include "KelUtils.h"
#include "PostgresTest.h"
#include "StrUtils.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

using Testing::PostgresTest;

// A Monday with orders in its week, the week before and the month.
const TDateTime BuilderSqlToday = EncodeDate(2024, 3, 11);

struct SampleTable {
  const char* Name;
  const char* Key;
};
const SampleTable SampleTables[] = {
    {"biolife", "Species No"}, {"country", "Name"}, {"orders", "OrderNo"}};

// The keys of the records a statement selects, in the order it gives them.
QStringList SelectedKeys(const QString& alias, const QString& sql) {
  TQuery query;
  query.SetDatabaseName(alias);
  query.SQL()->SetText(sql);
  QStringList keys;
  try {
    query.Open();
  } catch (const std::exception& error) {
    ADD_FAILURE() << alias.toStdString() << " refuses\n"
                  << sql.toStdString() << "\n"
                  << error.what();
    return keys;
  }
  for (; !query.Eof(); query.Next()) keys << query.Fields()[0]->AsString();
  return keys;
}

// Sorts a field's values as the database would, for picking low, middle and high ones.
double SortKey(const Variant& value) {
  if (value.IsString()) return 0;
  if (value.VarType() == varBoolean) return value.AsBoolean() ? 1 : 0;
  return value.AsDouble();
}

// The distinct non-Null values of a field of an open table, in ascending order.
std::vector<Variant> ValuesOf(TTable& table, const QString& fieldName) {
  std::vector<Variant> values;
  QSet<QString> seen;
  for (table.First(); !table.Eof(); table.Next()) {
    const Variant value = table.FieldByName(fieldName)->Value();
    if (value.IsNull() || seen.contains(value.AsString())) continue;
    seen.insert(value.AsString());
    values.push_back(value);
  }
  std::sort(values.begin(), values.end(), [](const Variant& a, const Variant& b) {
    return a.IsString() ? a.AsString() < b.AsString() : SortKey(a) < SortKey(b);
  });
  return values;
}

// A LIKE template's value: a piece of a stored text that the template's percent signs fit
// (the middle for "contains", the start for "begins with", the end for "ends with").
QString LikePiece(const QString& text, const TKelFltItem& item) {
  const bool before = !item.ValuePrefix().isEmpty();
  const bool after = !item.ValueSuffix().isEmpty();
  if (before && after) return text.mid(text.size() / 2 - 1, 3);
  return after ? text.left(3) : text.right(3);
}

class BuilderSqlTest : public PostgresTest {
 protected:
  void SetUp() override {
    PostgresTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(BuilderSqlToday);
  }

  // One builder per database, bound to the table there, both with every template offered.
  struct Side {
    TTable Table;
    TKelFltBld Builder;
    Side(const QString& alias, const SampleTable& sample) {
      Table.SetDatabaseName(alias);
      Table.SetTableName(QString::fromLatin1(sample.Name));
      Table.Open();
      Builder.SetDataSet(&Table);
      Builder.SetAllowedUsageIDs(QString());
      Builder.SQLHead()->SetText(
          QStringLiteral("SELECT \"%1\" FROM %2")
              .arg(QString::fromLatin1(sample.Key), QString::fromLatin1(sample.Name)));
    }
  };

  // Sets one condition on both sides with setValues and compares what each database selects.
  // Counts the comparisons and those that selected some records but not all.
  void Compare(Side& server, Side& local, const QString& field, const QString& operation,
               const std::function<void(TKelFltItem&)>& setValues) {
    for (Side* side : {&server, &local}) {
      side->Builder.Items()->Clear();
      TKelFltItem* item = side->Builder.Items()->Add();
      item->SetDataField(field);
      item->SetTemplate(operation);
      setValues(*item);
      ASSERT_TRUE(side->Builder.IsItemActive(item))
          << field.toStdString() << " " << operation.toStdString();
    }
    const QString serverSql = server.Builder.SQL()->Text();
    const QString localSql = local.Builder.SQL()->Text();
    const QStringList onServer = SelectedKeys(Alias, serverSql);
    const QStringList onSqlite = SelectedKeys(local.Table.DatabaseName(), localSql);
    EXPECT_EQ(QSet<QString>(onServer.begin(), onServer.end()),
              QSet<QString>(onSqlite.begin(), onSqlite.end()))
        << "PostgreSQL:\n"
        << serverSql.toStdString() << "\nSQLite:\n"
        << localSql.toStdString();
    ++compared_;
    if (!onSqlite.isEmpty() && onSqlite.size() < local.Table.RecordCount()) ++selective_;
  }

  int compared_ = 0;
  int selective_ = 0;
};

TEST_F(BuilderSqlTest, EveryTemplateOnEveryFieldSelectsAsOnSqlite) {
  const Testing::TSqliteSample sqlite;
  QSet<QString> categories;
  for (const SampleTable& sample : SampleTables) {
    Side server(Alias, sample);
    Side local(sqlite.Alias(), sample);
    for (TField* field : local.Table.Fields()) {
      const QString name = field->FieldName();
      const std::vector<Variant> values = ValuesOf(local.Table, name);
      TStringList operations;
      local.Builder.GetOperationList(name, &operations);
      ASSERT_GT(operations.Count(), 0) << name.toStdString();
      const QString category = local.Builder.GetFieldCategory(name);
      categories.insert(category);
      const bool text = category == CategoryText(TKelFltCategory::Text) ||
                        category == CategoryText(TKelFltCategory::Memo);
      for (int i = 0; i < operations.Count(); ++i) {
        const QString operation = operations.Strings(i);
        // Each value parameter gets a stored value: low, middle and high ones of the field.
        const auto pick = [&values](double at) {
          return values[static_cast<size_t>(at * static_cast<double>(values.size() - 1))];
        };
        const auto fill = [&](double at, bool upper) {
          return [&, at, upper](TKelFltItem& item) {
            for (const char* param : {"Value", "Value1", "Value2"}) {
              TKelField* p = item.Params()->FieldByName(QString::fromLatin1(param));
              if (!p) continue;
              Variant value = pick(param[5] == '2' ? 0.75 : param[5] == '1' ? 0.25 : at);
              if (!item.ValuePrefix().isEmpty() || !item.ValueSuffix().isEmpty()) {
                const QString piece = LikePiece(value.AsString(), item);
                value = upper ? piece.toUpper() : piece;
              }
              p->SetValue(value);
            }
          };
        };
        if (values.empty()) {
          Compare(server, local, name, operation, [](TKelFltItem&) {});
          continue;
        }
        Compare(server, local, name, operation, fill(0.5, false));
        Compare(server, local, name, operation, fill(0.0, false));
        // LIKE heeds letter case on both.
        if (text) Compare(server, local, name, operation, fill(0.5, true));
        if (HasFatalFailure()) return;
      }
    }
  }
  // Every category of template met a field, and the conditions were no trivial ones.
  EXPECT_EQ(categories.size(), 7)
      << QStringList(categories.begin(), categories.end()).join(u", ").toStdString();
  EXPECT_GT(compared_, 500);
  EXPECT_GT(selective_, compared_ / 3);
}

// Runs a statement that returns nothing on a database of the session.
void Execute(const QString& alias, const QString& sql) {
  TQuery query;
  query.SetDatabaseName(alias);
  query.SQL()->SetText(sql);
  query.ExecSQL();
}

// A backslash, "%", "_" and the other characters of masks in a LIKE value: the records whose
// text holds the value as typed, on PostgreSQL (whose LIKE escapes with a backslash unless told
// otherwise) as on SQLite.
TEST_F(BuilderSqlTest, LikeValuesWithBackslashesAndWildcardsMatchAsTyped) {
  const Testing::TSqliteSample sqlite;
  const QStringList texts = {"c:\\dir", "c:dir", "50%",  "500", "a_b", "axb",
                             "[1]",     "x^y",   "it's", "\\",  "!"};
  for (const QString& alias : {QString::fromLatin1(Alias), sqlite.Alias()}) {
    Execute(alias, "DROP TABLE IF EXISTS likes");
    Execute(alias, "CREATE TABLE likes (\"Id\" INTEGER PRIMARY KEY, \"Name\" VARCHAR(20))");
    for (int i = 0; i < texts.size(); ++i)
      Execute(
          alias,
          QStringLiteral("INSERT INTO likes VALUES (%1, %2)").arg(i + 1).arg(QuotedStr(texts[i])));
  }
  const SampleTable likes{"likes", "Id"};
  {
    Side server(Alias, likes);
    Side local(sqlite.Alias(), likes);
    for (const QString value : {"\\", "c:\\", "0%", "%", "a_", "_", "[1", "^", "'", "!"}) {
      for (const char* operation : {"contains", "begins with", "ends with"}) {
        Compare(server, local, "Name", operation, [&](TKelFltItem& item) { item.SetValue(value); });
        QSet<QString> expected;
        for (int i = 0; i < texts.size(); ++i) {
          const QString& text = texts[i];
          const bool holds = QByteArray(operation) == "contains"      ? text.contains(value)
                             : QByteArray(operation) == "begins with" ? text.startsWith(value)
                                                                      : text.endsWith(value);
          if (holds) expected.insert(QString::number(i + 1));
        }
        const QStringList selected = SelectedKeys(Alias, server.Builder.SQL()->Text());
        EXPECT_EQ(QSet<QString>(selected.begin(), selected.end()), expected)
            << server.Builder.SQL()->Text().toStdString();
      }
    }
  }
  // The server's database is shared by the program's tests, which list its tables.
  Execute(Alias, "DROP TABLE likes");
}

// Conditions joined and bracketed, ORDER BY on names with capitals and blanks: the same
// records in the same order.
TEST_F(BuilderSqlTest, JoinedConditionsAndOrderBy) {
  const Testing::TSqliteSample sqlite;
  Side server(Alias, SampleTables[2]);
  Side local(sqlite.Alias(), SampleTables[2]);
  for (Side* side : {&server, &local}) {
    TKelFltBld& builder = side->Builder;
    TKelFltItem* item = builder.Items()->Add();
    item->SetDataField("Paid");
    item->SetTemplate("equals");
    item->SetValue(true);
    item = builder.Items()->Add();
    item->SetDataField("ItemsTotal");
    item->SetTemplate("more than");
    item->SetValue(Variant(Currency::FromDouble(400)));
    item->SetIndentLev(1);
    item->SetOperation("or");
    item = builder.Items()->Add();
    item->SetDataField("Customer");
    item->SetTemplate("begins with");
    item->SetValue("Blue");
    item->SetIndentLev(1);
    TKelOrderByItem* order = builder.OrderByItems()->Add();
    order->SetDataField("Items");
    order->SetDescending(true);
    builder.OrderByItems()->Add()->SetDataField("OrderNo");
  }
  const QStringList onServer = SelectedKeys(Alias, server.Builder.SQL()->Text());
  EXPECT_EQ(onServer, SelectedKeys(sqlite.Alias(), local.Builder.SQL()->Text()))
      << server.Builder.SQL()->Text().toStdString();
  EXPECT_EQ(onServer.size(), 8);
}

}  // namespace
}  // namespace Kel
