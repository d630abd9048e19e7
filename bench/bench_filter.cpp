// Filtering speed: the sample filter of the filter demonstration over 1,000,000 fish records
// held by an in-memory dataset, against SQLite counting the same condition as a WHERE clause on
// the same rows in an in-memory database, measured in the same run. Prints rows per second of
// both and their ratio.
//
//   bench_filter [--benchmark_min_time=2] [--rows=N]

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchRows.h"
#include "DB.h"
#include "FormatSettings.h"

namespace {

using namespace Kel;

constexpr const char* SampleFilter =
    "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and [Length "
    "(cm)] < 150)";
constexpr const char* SampleWhere =
    "Category = 'Shark' or (((\"Species No\" >= 90080) AND (\"Species No\" <= 90230)) and \"Length "
    "(cm)\" < 150)";

// One generated record; the same sequence feeds both sides.
struct Fish {
  int speciesNo;
  int category;  // index into Categories()
  int name;      // index into Names()
  double lengthCm;
  int notes;  // index into Notes(), -1 for Null
};

const QStringList& Categories() {
  static const QStringList list = {"Shark",       "Ray",        "Angelfish", "Butterflyfish",
                                   "Damselfish",  "Wrasse",     "Grouper",   "Snapper",
                                   "Triggerfish", "Parrotfish", "Moray",     "Barracuda"};
  return list;
}

const QStringList& Names() {
  static const QStringList list = {
      "Great White Shark", "Manta Ray",           "Queen Angelfish", "Threadfin Butterflyfish",
      "Clown Anemonefish", "Humphead Wrasse",     "Goliath Grouper", "Red Snapper",
      "Clown Triggerfish", "Bumphead Parrotfish", "Green Moray",     "Great Barracuda"};
  return list;
}

const QStringList& Notes() {
  static const QStringList list = {"Lives on coral reefs.", "Roams the open ocean.",
                                   "Hides in caves by day."};
  return list;
}

std::vector<Fish> Generate(int rows) {
  std::mt19937 random(19940101);
  std::vector<Fish> fish;
  fish.reserve(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    Fish f;
    f.speciesNo = 90000 + static_cast<int>(random() % 400);
    f.category = static_cast<int>(random() % Categories().size());
    f.name = f.category;
    f.lengthCm = 5 + (random() % 5950) / 10.0;
    f.notes = random() % 5 == 0 ? -1 : static_cast<int>(random() % Notes().size());
    fish.push_back(f);
  }
  return fish;
}

std::unique_ptr<TMemDataSet> BuildDataSet(const std::vector<Fish>& rows) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Species No", ftInteger);
  data->AddField("Category", ftString, 15);
  data->AddField("Common_Name", ftString, 30);
  data->AddField("Species Name", ftString, 40);
  data->AddField("Length (cm)", ftFloat);
  data->AddField("Length_In", ftFloat);
  data->AddField("Notes", ftMemo);
  data->AddField("Graphic", ftGraphic);
  std::vector<std::vector<Variant>> chunk;
  const Variant null = Variant::Null();
  for (size_t i = 0; i < rows.size(); ++i) {
    const Fish& f = rows[i];
    chunk.push_back({Variant(f.speciesNo), Variant(Categories()[f.category]),
                     Variant(Names()[f.name]), Variant(Names()[f.name]), Variant(f.lengthCm),
                     Variant(f.lengthCm / 2.54), f.notes < 0 ? null : Variant(Notes()[f.notes]),
                     null});
    if (chunk.size() == 10000 || i + 1 == rows.size()) {
      data->AppendRecords(chunk);
      chunk.clear();
    }
  }
  data->Open();
  return data;
}

void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

sqlite3* BuildSqlite(const std::vector<Fish>& rows) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(":memory:", &db), db);
  Check(sqlite3_exec(db,
                     "CREATE TABLE biolife (\"Species No\" INTEGER, Category VARCHAR(15), "
                     "Common_Name VARCHAR(30), "
                     "\"Species Name\" VARCHAR(40), \"Length (cm)\" FLOAT, Length_In FLOAT, Notes "
                     "MEMO, Graphic BLOB);"
                     "BEGIN;",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO biolife VALUES (?, ?, ?, ?, ?, ?, ?, NULL)", -1,
                           &insert, nullptr),
        db);
  std::vector<std::string> categories, names, notes;
  for (const QString& s : Categories()) categories.push_back(s.toStdString());
  for (const QString& s : Names()) names.push_back(s.toStdString());
  for (const QString& s : Notes()) notes.push_back(s.toStdString());
  for (const Fish& f : rows) {
    sqlite3_bind_int(insert, 1, f.speciesNo);
    sqlite3_bind_text(insert, 2, categories[static_cast<size_t>(f.category)].c_str(), -1,
                      SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, names[static_cast<size_t>(f.name)].c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 4, names[static_cast<size_t>(f.name)].c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_double(insert, 5, f.lengthCm);
    sqlite3_bind_double(insert, 6, f.lengthCm / 2.54);
    if (f.notes < 0)
      sqlite3_bind_null(insert, 7);
    else
      sqlite3_bind_text(insert, 7, notes[static_cast<size_t>(f.notes)].c_str(), -1, SQLITE_STATIC);
    Check(sqlite3_step(insert), db, SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
  return db;
}

int SqliteCount(sqlite3* db, sqlite3_stmt* count) {
  Check(sqlite3_step(count), db, SQLITE_ROW);
  const int result = sqlite3_column_int(count, 0);
  sqlite3_reset(count);
  return result;
}

// Filtering the dataset: parse, resolve, compile and select every matching record.
void KelFilter(benchmark::State& state, TMemDataSet* data, bool compiled) {
  data->SetFiltered(false);
  data->SetCompiledFiltering(compiled);
  data->SetFilter(SampleFilter);
  int kept = 0;
  for (auto _ : state) {
    data->SetFiltered(true);
    kept = data->RecordCount();
    state.PauseTiming();
    data->SetFiltered(false);
    state.ResumeTiming();
  }
  benchmark::DoNotOptimize(kept);
  state.counters["kept"] = kept;
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(data->StoredRecordCount()),
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void SqliteFilter(benchmark::State& state, sqlite3* db, int rows) {
  sqlite3_stmt* count = nullptr;
  const std::string sql = std::string("SELECT count(*) FROM biolife WHERE ") + SampleWhere;
  Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &count, nullptr), db);
  int kept = 0;
  for (auto _ : state) kept = SqliteCount(db, count);
  sqlite3_finalize(count);
  state.counters["kept"] = kept;
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

// Remembers the rows/s figure of every run while printing as usual.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto it = run.counters.find("rows/s");
      if (it == run.counters.end() || run.run_type != Run::RT_Iteration) continue;
      rates[run.benchmark_name()] = it->second.value;  // already turned into a rate
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  const int rows = Kel::Bench::TakeRowsOption(argc, argv, 1000000, args);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  SetFormatSettings(TFormatSettings::Invariant());

  std::printf("Generating %d records...\n", rows);
  const std::vector<Fish> fish = Generate(rows);
  std::unique_ptr<TMemDataSet> data = BuildDataSet(fish);
  sqlite3* db = BuildSqlite(fish);

  // Both sides must find the same records before their speed means anything.
  data->SetFilter(SampleFilter);
  data->SetFiltered(true);
  const int kelCount = data->RecordCount();
  data->SetFiltered(false);
  sqlite3_stmt* count_ = nullptr;
  Check(sqlite3_prepare_v2(
            db, (std::string("SELECT count(*) FROM biolife WHERE ") + SampleWhere).c_str(), -1,
            &count_, nullptr),
        db);
  const int sqliteCount = SqliteCount(db, count_);
  sqlite3_finalize(count_);
  std::printf("Matching records: dataset filter %d, SQLite %d%s\n", kelCount, sqliteCount,
              kelCount == sqliteCount ? "" : "  *** DIFFERENT ***");

  benchmark::RegisterBenchmark("KelFilter/compiled", KelFilter, data.get(), true)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("KelFilter/variants", KelFilter, data.get(), false)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SQLite/where", SqliteFilter, db, rows)
      ->Unit(benchmark::kMillisecond);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const double kel = reporter.rates["KelFilter/compiled"];
  const double variants = reporter.rates["KelFilter/variants"];
  const double sqlite = reporter.rates["SQLite/where"];
  if (kel > 0 && sqlite > 0) {
    std::printf(
        "\nRows per second: dataset filter (compiled) %.3g, dataset filter (Variants) %.3g, SQLite "
        "%.3g\n",
        kel, variants, sqlite);
    std::printf("Ratio compiled / SQLite: %.2f (target: at least 2)\n", kel / sqlite);
  }
  sqlite3_close(db);
  return kelCount == sqliteCount ? 0 : 1;
}
