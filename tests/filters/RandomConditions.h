#pragma once
// Random rows and random condition lists over a table with an integer, a float, a text and a
// date field, for the differential and round-trip tests (and the benchmarks, which include this
// header too). Values come from small domains so that conditions select some rows and not all.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <random>
#include <set>
#include <vector>

#include "DateTimeFormat.h"
#include "DateUtils.h"
#include "Fields.h"
#include "KelFltBox.h"
#include "MemDataSet.h"

namespace Kel::Testing {

using namespace Qt::StringLiterals;

struct RandomRow {
  int Id;
  Variant Qty;    // integer or null
  Variant Score;  // float or null
  Variant Name;   // text, empty or null
  Variant Due;    // date or null
};

inline const QStringList& RandomNames() {
  static const QStringList names = {"ab", "Ab",  "abc", "b",   "ba",  "cab",
                                    "O'B", "a%b", "zz",  "a_b", "[a]", "a^b"};
  return names;
}

// Dates around the day the date macros are computed for (today).
inline TDateTime RandomDate(std::mt19937& rng, TDateTime today) {
  return DateOf(today) + std::uniform_int_distribution<int>(-40, 40)(rng);
}

// withNulls false: no Null values (empty texts stay).
inline std::vector<RandomRow> MakeRandomRows(std::mt19937& rng, int count, TDateTime today,
                                             bool withNulls = true) {
  std::vector<RandomRow> rows;
  const auto chance = [&rng, withNulls](int percent) {
    return withNulls && std::uniform_int_distribution<int>(0, 99)(rng) < percent;
  };
  for (int i = 0; i < count; ++i) {
    RandomRow row;
    row.Id = i + 1;
    row.Qty = chance(10) ? Variant::Null() : Variant(std::uniform_int_distribution<int>(-3, 12)(rng));
    row.Score = chance(10) ? Variant::Null()
                           : Variant(std::uniform_int_distribution<int>(-8, 48)(rng) / 4.0);
    if (chance(8))
      row.Name = Variant::Null();
    else if (std::uniform_int_distribution<int>(0, 99)(rng) < 6)
      row.Name = Variant(QString());
    else
      row.Name = RandomNames()[std::uniform_int_distribution<int>(0, RandomNames().size() - 1)(rng)];
    row.Due = chance(10) ? Variant::Null() : Variant::FromDate(RandomDate(rng, today));
    rows.push_back(row);
  }
  return rows;
}

inline std::unique_ptr<TMemDataSet> MakeRandomDataSet(const std::vector<RandomRow>& rows) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Id", ftInteger);
  data->AddField("Qty", ftInteger);
  data->AddField("Score", ftFloat);
  data->AddField("Name", ftString, 20);
  data->AddField("Due", ftDate);
  std::vector<std::vector<Variant>> records;
  for (const RandomRow& row : rows) records.push_back({row.Id, row.Qty, row.Score, row.Name, row.Due});
  data->AppendRecords(records);
  return data;
}

// The same rows in an SQLite table "t" of the connection.
inline void FillSqliteTable(QSqlDatabase& db, const std::vector<RandomRow>& rows) {
  QSqlQuery query(db);
  query.exec("DROP TABLE IF EXISTS t");
  query.exec("CREATE TABLE t (Id INTEGER PRIMARY KEY, Qty INTEGER, Score FLOAT, Name TEXT, Due DATE)");
  query.exec("PRAGMA case_sensitive_like = ON");
  db.transaction();
  query.prepare("INSERT INTO t VALUES (?, ?, ?, ?, ?)");
  for (const RandomRow& row : rows) {
    query.bindValue(0, row.Id);
    query.bindValue(1, row.Qty.IsNull() ? QVariant() : QVariant(row.Qty.AsInteger()));
    query.bindValue(2, row.Score.IsNull() ? QVariant() : QVariant(row.Score.AsDouble()));
    // An empty text is bound as text: a null QString would go in as NULL.
    query.bindValue(3, row.Name.IsNull() ? QVariant() : QVariant(row.Name.AsString() + u""_s));
    query.bindValue(4, row.Due.IsNull() ? QVariant()
                                        : QVariant(FormatDateTime("yyyy-mm-dd", row.Due.AsDate())));
    query.exec();
  }
  db.commit();
}

// The templates whose answer for a Null value differs between the dataset's filter, where
// Null <> x holds, and SQL, where it is unknown.
inline bool NegatesWithNull(const QString& operation) {
  return operation == "not equal to" || operation == "doesn't contain";
}

// A random condition on one of the fields with any template of its category (LIKE ones
// included when the builder allows them; the negations only with negations true) and random
// values; random connector, level and checked flag.
inline TKelFltItem* AddRandomCondition(TKelFltBld& builder, std::mt19937& rng, TDateTime today,
                                       bool negations = true) {
  static const QStringList fields = {"Qty", "Score", "Name", "Due"};
  const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  TKelFltItem* item = builder.Items()->Add();
  const QString field = fields[pick(fields.size())];
  item->SetDataField(field);
  TStringList operations;
  builder.GetOperationList(field, &operations);
  for (int i = operations.Count() - 1; i >= 0 && !negations; --i)
    if (NegatesWithNull(operations.Strings(i))) operations.Delete(i);
  item->SetTemplate(operations.Strings(pick(operations.Count())));
  for (int i = 0; i < item->Params()->Count(); ++i) {
    TKelListParam* param = item->Param(i);
    if (!TKelFltItem::IsValueParam(param)) continue;
    if (field == "Qty")
      param->SetAsInteger(std::uniform_int_distribution<int>(-2, 12)(rng));
    else if (field == "Score")
      param->SetAsFloat(std::uniform_int_distribution<int>(-8, 48)(rng) / 4.0);
    else if (field == "Name")
      param->SetAsString(pick(4) == 0 ? QStringLiteral("a") : RandomNames()[pick(RandomNames().size())]);
    else
      param->SetAsDate(RandomDate(rng, today));
  }
  item->SetOperation(pick(2) ? "and" : "or");
  item->SetIndentLev(pick(4));
  item->SetChecked(pick(6) != 0);
  return item;
}

// The Ids of the records the dataset shows.
inline std::set<int> ShownIds(TDataSet& data) {
  std::set<int> ids;
  for (data.First(); !data.Eof(); data.Next()) ids.insert(data.FieldByName("Id")->AsInteger());
  return ids;
}

}  // namespace Kel::Testing
