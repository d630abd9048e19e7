// Every condition the filter builder writes from its default templates, one field of each
// template category, over 1,000,000 fish records (with a sighting date, time and a Boolean
// beside them): the dataset filtered with the builder's filter text, against SQLite counting
// the rows of the builder's SQL statement on the same rows, in the same run. Prints each
// template's rate and ratio, and the slowest template.
//
//   bench_filter_templates [--benchmark_min_time=0.5] [--rows=N]

#include <QApplication>
#include <cstdio>

#include "BenchFish.h"
#include "DateTimeFormat.h"
#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelFltBox.h"
#include "KelUtils.h"

namespace {

using namespace KelBench;

const TDateTime Today = EncodeDate(2024, 3, 6);

// The columns beside the fish, from a sequence of their own so that the fish stay those of the
// other benchmarks: a day around today (a tenth Null), a time of day, a Boolean (some Null).
struct Sighting {
  Variant day;
  Variant time;
  Variant protectedSpecies;
};

std::vector<Sighting> Sightings(int rows) {
  std::mt19937 random(20240306);
  std::vector<Sighting> sightings;
  sightings.reserve(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    Sighting s;
    const int day = static_cast<int>(random() % 121) - 60;
    s.day = random() % 10 == 0 ? Variant::Null() : Variant::FromDate(Today + day);
    s.time = Variant::FromDate((random() % 86400) / 86400.0);
    const unsigned kind = random() % 20;
    s.protectedSpecies = kind == 0 ? Variant::Null() : Variant(kind % 3 == 0);
    sightings.push_back(std::move(s));
  }
  return sightings;
}

std::unique_ptr<TMemDataSet> BuildTable(const std::vector<Fish>& fish,
                                        const std::vector<Sighting>& sightings) {
  auto data = std::make_unique<TMemDataSet>();
  AddFishFields(*data);
  data->AddField("Sighted", ftDate);
  data->AddField("Sighted_At", ftTime);
  data->AddField("Protected", ftBoolean);
  std::vector<std::vector<Variant>> chunk;
  for (size_t i = 0; i < fish.size(); ++i) {
    std::vector<Variant> record = FishRecord(fish[i]);
    record.push_back(sightings[i].day);
    record.push_back(sightings[i].time);
    record.push_back(sightings[i].protectedSpecies);
    chunk.push_back(std::move(record));
    if (chunk.size() == 10000 || i + 1 == fish.size()) {
      data->AppendRecords(chunk);
      chunk.clear();
    }
  }
  data->Open();
  return data;
}

// The same columns in SQLite: dates and times as the ISO texts the builder's SQL compares them
// with, Booleans as 0 and 1.
sqlite3* BuildSqliteTable(const std::vector<Fish>& fish, const std::vector<Sighting>& sightings) {
  sqlite3* db = BuildSqlite(fish);
  Check(sqlite3_exec(db,
                     "ALTER TABLE biolife ADD COLUMN Sighted DATE; "
                     "ALTER TABLE biolife ADD COLUMN Sighted_At TIME; "
                     "ALTER TABLE biolife ADD COLUMN Protected BOOLEAN; BEGIN;",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* update = nullptr;
  Check(sqlite3_prepare_v2(
            db, "UPDATE biolife SET Sighted = ?, Sighted_At = ?, Protected = ? WHERE rowid = ?",
            -1, &update, nullptr),
        db);
  for (size_t i = 0; i < sightings.size(); ++i) {
    const Sighting& s = sightings[i];
    const auto text = [update](int index, const Variant& value, const char* pattern) {
      if (value.IsNull()) {
        sqlite3_bind_null(update, index);
        return;
      }
      const QByteArray utf8 = FormatDateTime(QString::fromLatin1(pattern), value.AsDate()).toUtf8();
      sqlite3_bind_text(update, index, utf8.constData(), static_cast<int>(utf8.size()),
                        SQLITE_TRANSIENT);
    };
    text(1, s.day, "yyyy-mm-dd");
    text(2, s.time, "hh:nn:ss");
    if (s.protectedSpecies.IsNull())
      sqlite3_bind_null(update, 3);
    else
      sqlite3_bind_int(update, 3, s.protectedSpecies.AsBoolean() ? 1 : 0);
    sqlite3_bind_int64(update, 4, static_cast<sqlite3_int64>(i) + 1);
    Check(sqlite3_step(update), db, SQLITE_DONE);
    sqlite3_reset(update);
  }
  sqlite3_finalize(update);
  Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
  return db;
}

// Values for the templates' parameters: the first value, or the two of "between".
void SetValues(TKelFltItem& item, const QString& field) {
  int index = 0;
  for (int i = 0; i < item.Params()->Count(); ++i) {
    TKelListParam* param = item.Param(i);
    if (!TKelFltItem::IsValueParam(param)) continue;
    const bool second = index++ > 0;
    if (field == "Species No")
      param->SetAsInteger(second ? 90230 : 90080);
    else if (field == "Length (cm)")
      param->SetAsFloat(second ? 200.0 : 150.0);
    else if (field == "Category")
      param->SetAsString("Shark");
    else if (field == "Notes")
      param->SetAsString("coral");
    else if (field == "Sighted")
      param->SetAsDate(second ? Today + 10 : Today - 3);
    else if (field == "Sighted_At")
      param->SetAsTime(second ? 0.75 : 0.5);
    else if (field == "Protected")
      param->SetAsBoolean(true);
  }
}

struct Condition {
  QString name;  // "field: template"
  QString filter;
  std::string sql;
};

std::vector<Condition> Conditions(TMemDataSet& data) {
  TKelFltBld builder;
  builder.SetDataSet(&data);
  builder.SetAllowedUsageIDs("");
  builder.SQLHead()->SetText("SELECT count(*) FROM biolife");
  builder.SQLDateTimeFormat()->SetDateFormat("YYYY-MM-DD");
  builder.SQLDateTimeFormat()->SetDateSeparator(u'-');
  builder.SQLDateTimeFormat()->SetTimeFormat("hh:nn:ss");
  builder.SQLDateTimeFormat()->SetTimeSeparator(u':');
  std::vector<Condition> conditions;
  for (const QString field : {"Species No", "Length (cm)", "Category", "Notes", "Sighted",
                              "Sighted_At", "Protected", "Graphic"}) {
    TStringList templates;
    builder.GetOperationList(field, &templates);
    for (int t = 0; t < templates.Count(); ++t) {
      builder.Items()->Clear();
      TKelFltItem* item = builder.Items()->Add();
      item->SetDataField(field);
      item->SetTemplate(templates.Strings(t));
      SetValues(*item, field);
      item->SetChecked(true);
      conditions.push_back({field + ": " + templates.Strings(t), builder.FilterStr(),
                            builder.SQL()->Text().simplified().toStdString()});
    }
  }
  return conditions;
}

void KelTemplate(benchmark::State& state, TMemDataSet* data, QString filter) {
  data->SetFiltered(false);
  data->SetFilter(filter);
  FilterRuns(state, data);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rows = InitializeWithRows(argc, argv);
  SetFormatSettings(TFormatSettings::Invariant());
  SetDateMacrosToday(Today);

  std::printf("Generating %d records...\n", rows);
  const std::vector<Fish> fish = Generate(rows);
  const std::vector<Sighting> sightings = Sightings(rows);
  std::unique_ptr<TMemDataSet> data = BuildTable(fish, sightings);
  sqlite3* db = BuildSqliteTable(fish, sightings);

  const std::vector<Condition> conditions = Conditions(*data);
  for (const Condition& c : conditions) {
    data->SetFilter(c.filter);
    data->SetFiltered(true);
    const int kel = data->RecordCount();
    data->SetFiltered(false);
    const int sqlite = SqliteCountOnce(db, c.sql);
    std::printf("%-44s %-60s dataset %7d, SQLite %7d%s\n", c.name.toUtf8().constData(),
                c.filter.toUtf8().constData(), kel, sqlite,
                kel == sqlite ? "" : "  (differs: Null <> x holds in the dataset's filter)");
    const std::string name = c.name.toStdString();
    benchmark::RegisterBenchmark(("Kel/" + name).c_str(), KelTemplate, data.get(), c.filter)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("SQLite/" + name).c_str(), SqliteCountBenchmark, db, c.sql, rows)
        ->Unit(benchmark::kMillisecond);
  }
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-44s %12s %12s %7s\n", "template", "rows/s", "SQLite", "ratio");
  QString slowest;
  double slowestRatio = 0;
  for (const Condition& c : conditions) {
    const std::string name = c.name.toStdString();
    const double kel = reporter.rates["Kel/" + name];
    const double sqlite = reporter.rates["SQLite/" + name];
    if (kel <= 0 || sqlite <= 0) continue;
    std::printf("%-44s %12.3g %12.3g %7.2f\n", name.c_str(), kel, sqlite, kel / sqlite);
    if (slowest.isEmpty() || kel / sqlite < slowestRatio) {
      slowest = c.name;
      slowestRatio = kel / sqlite;
    }
  }
  if (!slowest.isEmpty())
    std::printf("\nSlowest template: %s, ratio %.2f to SQLite (target: at least 3)\n",
                slowest.toUtf8().constData(), slowestRatio);
  sqlite3_close(db);
  return 0;
}
