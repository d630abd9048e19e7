// The filter builder's speed: FilterStr and SQL built from 1,000 conditions, and a
// 200-condition filter text read back into conditions. References measured in the same run on
// the same texts: the dataset layer parsing the filter text, and SQLite preparing the
// statement (parsing and planning it).
//
//   bench_filter_builder [--benchmark_min_time=1]

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <cstdio>

#include "ExprParser.h"
#include "UpdateBracket.h"
#include "FormatSettings.h"
#include "KelUtils.h"
#include "../tests/filters/RandomConditions.h"

namespace {

using namespace Kel;
using namespace Kel::Testing;

const TDateTime Today = EncodeDate(2024, 3, 6);

// A builder over the random table's fields with `count` random conditions, all checked.
struct Setup {
  explicit Setup(int count, unsigned seed) {
    std::mt19937 rng(seed);
    data = MakeRandomDataSet(MakeRandomRows(rng, 10, Today));
    builder.SetDataSet(data.get());
    builder.SetAllowedUsageIDs("");
    builder.SQLHead()->SetText("SELECT Id FROM t");
    builder.SQLDateTimeFormat()->SetDateFormat("YYYY-MM-DD");
    builder.SQLDateTimeFormat()->SetDateSeparator(u'-');
    WithinUpdate(*builder.Items(), [&] {
      for (int i = 0; i < count; ++i) AddRandomCondition(builder, rng, Today)->SetChecked(true);
    });
  }
  std::unique_ptr<TMemDataSet> data;
  TKelFltBld builder;
};

Setup& Thousand() {
  static Setup setup(1000, 1);
  return setup;
}

Setup& TwoHundred() {
  static Setup setup(200, 2);
  return setup;
}

void BM_FilterStr1000(benchmark::State& state) {
  Setup& s = Thousand();
  for (auto _ : state) benchmark::DoNotOptimize(s.builder.FilterStr());
}

void BM_Sql1000(benchmark::State& state) {
  Setup& s = Thousand();
  for (auto _ : state) benchmark::DoNotOptimize(s.builder.SQL());
}

// Reference: the dataset layer parsing the same filter text.
void BM_ParseFilter1000_Reference(benchmark::State& state) {
  Setup& s = Thousand();
  const QString text = s.builder.FilterStr();
  for (auto _ : state) {
    TExprParser parser(s.data.get(), text);
    benchmark::DoNotOptimize(parser.DataSize());
  }
}

// Reference: SQLite preparing the same statement over the same table.
void BM_SqlitePrepare1000_Reference(benchmark::State& state) {
  Setup& s = Thousand();
  const QByteArray sql = s.builder.SQL()->Text().toUtf8();
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db, "CREATE TABLE t (Id INTEGER PRIMARY KEY, Qty INTEGER, Score FLOAT, Name TEXT, Due DATE)",
               nullptr, nullptr, nullptr);
  for (auto _ : state) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
      state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
}

void BM_ReadBack200(benchmark::State& state) {
  Setup& s = TwoHundred();
  const QString text = s.builder.FilterStr();
  Setup target(0, 3);
  for (auto _ : state) {
    target.builder.SetFilterStr(text);
    if (target.builder.Items()->Count() != 200) state.SkipWithError("conditions lost");
  }
}

// Reference: the dataset layer parsing the 200-condition text once.
void BM_ParseFilter200_Reference(benchmark::State& state) {
  Setup& s = TwoHundred();
  const QString text = s.builder.FilterStr();
  for (auto _ : state) {
    TExprParser parser(s.data.get(), text);
    benchmark::DoNotOptimize(parser.DataSize());
  }
}

BENCHMARK(BM_FilterStr1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sql1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFilter1000_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqlitePrepare1000_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBack200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFilter200_Reference)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetFormatSettings(TFormatSettings::Invariant());
  SetDateMacrosToday(Today);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
