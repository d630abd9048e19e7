#pragma once
// The fish records of the benchmarks: the sample table of the filter demonstration grown to any
// number of records, held by an in-memory dataset and by an in-memory SQLite database, with the
// sample filter in both spellings and what the programs share to measure and report.
//
// Every record holds its own copy of its strings, as records read from a database do: records
// that shared a handful of string buffers would keep those few in the processor's cache and
// flatter whoever reads them.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchRows.h"
#include "DB.h"

namespace KelBench {

using namespace Kel;

inline constexpr const char* SampleFilter =
    "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and [Length "
    "(cm)] < 150)";
inline constexpr const char* SampleWhere =
    "Category = 'Shark' or (((\"Species No\" >= 90080) AND (\"Species No\" <= 90230)) and "
    "\"Length (cm)\" < 150)";

// One generated record; the same sequence feeds both sides.
struct Fish {
  int speciesNo;
  int category;  // index into Categories()
  int name;      // index into Names()
  double lengthCm;
  int notes;  // index into Notes(), -1 for Null
};

inline const QStringList& Categories() {
  static const QStringList list = {"Shark",       "Ray",        "Angelfish", "Butterflyfish",
                                   "Damselfish",  "Wrasse",     "Grouper",   "Snapper",
                                   "Triggerfish", "Parrotfish", "Moray",     "Barracuda"};
  return list;
}

inline const QStringList& Names() {
  static const QStringList list = {
      "Great White Shark", "Manta Ray",           "Queen Angelfish", "Threadfin Butterflyfish",
      "Clown Anemonefish", "Humphead Wrasse",     "Goliath Grouper", "Red Snapper",
      "Clown Triggerfish", "Bumphead Parrotfish", "Green Moray",     "Great Barracuda"};
  return list;
}

inline const QStringList& Notes() {
  static const QStringList list = {"Lives on coral reefs.", "Roams the open ocean.",
                                   "Hides in caves by day."};
  return list;
}

// The records of Generate one at a time, for programs that must not hold them all.
class FishGenerator {
 public:
  Fish Next() {
    Fish f;
    f.speciesNo = 90000 + static_cast<int>(random_() % 400);
    f.category = static_cast<int>(random_() % Categories().size());
    f.name = f.category;
    f.lengthCm = 5 + (random_() % 5950) / 10.0;
    f.notes = random_() % 5 == 0 ? -1 : static_cast<int>(random_() % Notes().size());
    return f;
  }

 private:
  std::mt19937 random_{19940101};
};

inline std::vector<Fish> Generate(int rows) {
  FishGenerator generator;
  std::vector<Fish> fish;
  fish.reserve(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) fish.push_back(generator.Next());
  return fish;
}

// A string of its own: a copy that shares no buffer with s.
inline Variant OwnCopy(const QString& s) { return Variant(QString(s.constData(), s.size())); }

// The fields of the fish table, as BuildDataSet defines them.
inline void AddFishFields(TMemDataSet& data) {
  data.AddField("Species No", ftInteger);
  data.AddField("Category", ftString, 15);
  data.AddField("Common_Name", ftString, 30);
  data.AddField("Species Name", ftString, 40);
  data.AddField("Length (cm)", ftFloat);
  data.AddField("Length_In", ftFloat);
  data.AddField("Notes", ftMemo);
  data.AddField("Graphic", ftGraphic);
}

// One record as the dataset takes it.
inline std::vector<Variant> FishRecord(const Fish& f) {
  const Variant null = Variant::Null();
  return {Variant(f.speciesNo), OwnCopy(Categories()[f.category]),
          OwnCopy(Names()[f.name]), OwnCopy(Names()[f.name]), Variant(f.lengthCm),
          Variant(f.lengthCm / 2.54), f.notes < 0 ? null : OwnCopy(Notes()[f.notes]),
          null};
}

inline std::unique_ptr<TMemDataSet> BuildDataSet(const std::vector<Fish>& rows) {
  auto data = std::make_unique<TMemDataSet>();
  AddFishFields(*data);
  std::vector<std::vector<Variant>> chunk;
  for (size_t i = 0; i < rows.size(); ++i) {
    chunk.push_back(FishRecord(rows[i]));
    if (chunk.size() == 10000 || i + 1 == rows.size()) {
      data->AppendRecords(chunk);
      chunk.clear();
    }
  }
  data->Open();
  return data;
}

inline void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

inline sqlite3* OpenSqlite() {
  sqlite3* db = nullptr;
  Check(sqlite3_open(":memory:", &db), db);
  return db;
}

// Adds records to the biolife table of BuildSqlite, in one transaction.
inline void AppendSqlite(sqlite3* db, const std::vector<Fish>& rows) {
  Check(sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr), db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO biolife VALUES (?, ?, ?, ?, ?, ?, ?, NULL)", -1,
                           &insert, nullptr),
        db);
  std::vector<std::string> categories, names, notes;
  for (const QString& s : Categories()) categories.push_back(s.toStdString());
  for (const QString& s : Names()) names.push_back(s.toStdString());
  for (const QString& s : Notes()) notes.push_back(s.toStdString());
  // SQLite copies bound text into each record it stores.
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
}

inline sqlite3* BuildSqlite(const std::vector<Fish>& rows) {
  sqlite3* db = OpenSqlite();
  Check(sqlite3_exec(db,
                     "CREATE TABLE biolife (\"Species No\" INTEGER, Category VARCHAR(15), "
                     "Common_Name VARCHAR(30), "
                     "\"Species Name\" VARCHAR(40), \"Length (cm)\" FLOAT, Length_In FLOAT, Notes "
                     "MEMO, Graphic BLOB);",
                     nullptr, nullptr, nullptr),
        db);
  AppendSqlite(db, rows);
  return db;
}

inline int SqliteCount(sqlite3* db, sqlite3_stmt* count) {
  Check(sqlite3_step(count), db, SQLITE_ROW);
  const int result = sqlite3_column_int(count, 0);
  sqlite3_reset(count);
  return result;
}

// SELECT count(*) ... once, prepared and finalised.
inline int SqliteCountOnce(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* count = nullptr;
  Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &count, nullptr), db);
  const int result = SqliteCount(db, count);
  sqlite3_finalize(count);
  return result;
}

// Runs a counting statement per iteration; rows is what one run reads.
inline void SqliteCountBenchmark(benchmark::State& state, sqlite3* db, const std::string& sql,
                                 int rows) {
  sqlite3_stmt* count = nullptr;
  Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &count, nullptr), db);
  int kept = 0;
  for (auto _ : state) kept = SqliteCount(db, count);
  sqlite3_finalize(count);
  state.counters["kept"] = kept;
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

// Filters the dataset with the filter text it has, once an iteration: parse, compile and select
// every matching record.
inline void FilterRuns(benchmark::State& state, TMemDataSet* data) {
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

// Takes "--rows=N" out of the arguments (default 1,000,000) and starts Google Benchmark with
// the rest.
inline int InitializeWithRows(int argc, char** argv) {
  static std::vector<char*> args;  // the benchmark library may keep pointers into it
  const int rows = Kel::Bench::TakeRowsOption(argc, argv, 1000000, args);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  return rows;
}

}  // namespace KelBench
