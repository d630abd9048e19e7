// Filtering speed: the sample filter of the filter demonstration over 1,000,000 fish records
// held by an in-memory dataset, against SQLite counting the same condition as a WHERE clause on
// the same rows in an in-memory database, measured in the same run. Prints rows per second of
// both and their ratio.
//
//   bench_filter [--benchmark_min_time=2] [--rows=N]

#include <cstdio>

#include "BenchFish.h"
#include "FormatSettings.h"

namespace {

using namespace KelBench;

// Filtering the dataset: parse, resolve, compile and select every matching record.
void KelFilter(benchmark::State& state, TMemDataSet* data, bool compiled) {
  data->SetFiltered(false);
  data->SetCompiledFiltering(compiled);
  data->SetFilter(SampleFilter);
  FilterRuns(state, data);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = InitializeWithRows(argc, argv);
  SetFormatSettings(TFormatSettings::Invariant());

  std::printf("Generating %d records...\n", rows);
  const std::vector<Fish> fish = Generate(rows);
  std::unique_ptr<TMemDataSet> data = BuildDataSet(fish);
  sqlite3* db = BuildSqlite(fish);
  const std::string where = std::string("SELECT count(*) FROM biolife WHERE ") + SampleWhere;

  // Both sides must find the same records before their speed means anything.
  data->SetFilter(SampleFilter);
  data->SetFiltered(true);
  const int kelCount = data->RecordCount();
  data->SetFiltered(false);
  const int sqliteCount = SqliteCountOnce(db, where);
  std::printf("Matching records: dataset filter %d, SQLite %d%s\n", kelCount, sqliteCount,
              kelCount == sqliteCount ? "" : "  *** DIFFERENT ***");

  benchmark::RegisterBenchmark("KelFilter/compiled", KelFilter, data.get(), true)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("KelFilter/variants", KelFilter, data.get(), false)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SQLite/where", SqliteCountBenchmark, db, where, rows)
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
