// Record search speed, against SQLite counting the same rows with the same condition in the
// same run:
//  (a) the expression evaluator with the sample filter of the filter demonstration on every
//      record of 1,000,000 fish records in an in-memory dataset, the dataset moved record by
//      record with its controls disabled as a search does, asking whether it holds; also
//      asking for its value, FindFirst/FindNext through all matches, and the evaluation over
//      Variants alone;
//  (b) LikeMatches with "%abc%" on 1,000,000 texts, against SQLite's LIKE made case-sensitive.
// Prints rows per second of each and the ratios.
//
//   bench_expr [--benchmark_min_time=2] [--rows=N]

#include <cstdio>

#include "BenchFish.h"
#include "FormatSettings.h"
#include "KelExprEval.h"
#include "KelParser.h"

namespace {

using namespace KelBench;

constexpr const char* LikeMask = "%abc%";

void Rate(benchmark::State& state, int rows, int kept) {
  state.counters["kept"] = kept;
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

// Every record, moving the dataset as a search does.
template <class Matches>
int WalkAndCount(TMemDataSet& data, const Matches& matches) {
  int kept = 0;
  data.DisableControls();
  for (data.First(); !data.Eof(); data.Next())
    if (matches()) ++kept;
  data.EnableControls();
  return kept;
}

// byValue: through the entry that builds the condition's value, else the one that answers
// whether it holds.
template <bool byValue>
void ExprEvalWalk(benchmark::State& state, TMemDataSet* data) {
  TKelExprEval eval;
  eval.SetDataSet(data);
  eval.SetExpression(SampleFilter);
  int kept = 0;
  for (auto _ : state)
    kept = WalkAndCount(*data, [&eval] {
      if constexpr (byValue) return TExprEvaluator::IsTrue(eval.Evaluate());
      return eval.EvaluateBoolean();
    });
  Rate(state, data->RecordCount(), kept);
}

void ExprEvalVariants(benchmark::State& state, TMemDataSet* data) {
  TKelExprEval eval;
  eval.SetDataSet(data);
  eval.SetExpression(SampleFilter);
  const TKelParsedExpr& parsed = eval.Parsed();
  const TFieldValueLookup values = [data](int, const QString& name) {
    return data->FieldByName(name)->Value();
  };
  int kept = 0;
  for (auto _ : state)
    kept = WalkAndCount(*data, [&] { return TExprEvaluator::IsTrue(parsed.Evaluate(values)); });
  Rate(state, data->RecordCount(), kept);
}

void ExprEvalFindNext(benchmark::State& state, TMemDataSet* data) {
  TKelExprEval eval;
  eval.SetDataSet(data);
  eval.SetExpression(SampleFilter);
  int kept = 0;
  for (auto _ : state) {
    kept = 0;
    for (bool found = eval.FindFirst(); found; found = eval.FindNext()) ++kept;
  }
  Rate(state, data->RecordCount(), kept);
}

// Texts of 16 to 48 characters over a few letters and blanks: "abc" stands in a few percent.
std::vector<QString> LikeValues(int rows) {
  std::mt19937 random(4711);
  const char alphabet[] = "abcdefghij ";
  std::vector<QString> values;
  values.reserve(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    QString text(16 + static_cast<int>(random() % 33), Qt::Uninitialized);
    for (QChar& c : text) c = QLatin1Char(alphabet[random() % (sizeof(alphabet) - 1)]);
    values.push_back(std::move(text));
  }
  return values;
}

sqlite3* BuildLikeTable(const std::vector<QString>& values) {
  sqlite3* db = OpenSqlite();
  Check(sqlite3_exec(db, "PRAGMA case_sensitive_like = ON; CREATE TABLE texts (v TEXT); BEGIN;",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO texts VALUES (?)", -1, &insert, nullptr), db);
  for (const QString& v : values) {
    const QByteArray utf8 = v.toUtf8();
    sqlite3_bind_text(insert, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    Check(sqlite3_step(insert), db, SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
  return db;
}

int CountLike(const std::vector<QString>& values, const QString& mask) {
  int kept = 0;
  for (const QString& v : values)
    if (LikeMatches(v, mask)) ++kept;
  return kept;
}

void LikeMatchesBenchmark(benchmark::State& state, const std::vector<QString>* values) {
  const QString mask = LikeMask;
  int kept = 0;
  for (auto _ : state) kept = CountLike(*values, mask);
  Rate(state, static_cast<int>(values->size()), kept);
}

void Ratio(const char* what, double kel, double sqlite, const char* target) {
  if (kel > 0 && sqlite > 0)
    std::printf("%-34s %10.3g rows/s, SQLite %10.3g rows/s, ratio %.2f (target: %s)\n", what, kel,
                sqlite, kel / sqlite, target);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = InitializeWithRows(argc, argv);
  SetFormatSettings(TFormatSettings::Invariant());

  std::printf("Generating %d fish records and %d texts...\n", rows, rows);
  const std::vector<Fish> fish = Generate(rows);
  std::unique_ptr<TMemDataSet> data = BuildDataSet(fish);
  sqlite3* fishDb = BuildSqlite(fish);
  const std::string where = std::string("SELECT count(*) FROM biolife WHERE ") + SampleWhere;
  const std::vector<QString> texts = LikeValues(rows);
  sqlite3* textDb = BuildLikeTable(texts);
  const std::string like =
      std::string("SELECT count(*) FROM texts WHERE v LIKE '") + LikeMask + "'";

  // Both sides must find the same records before their speed means anything.
  TKelExprEval eval;
  eval.SetDataSet(data.get());
  eval.SetExpression(SampleFilter);
  const int kelFish =
      WalkAndCount(*data, [&eval] { return eval.EvaluateBoolean(); });
  const int sqliteFish = SqliteCountOnce(fishDb, where);
  const int kelLike = CountLike(texts, LikeMask);
  const int sqliteLike = SqliteCountOnce(textDb, like);
  std::printf("Matching records: evaluator %d, SQLite %d%s; LIKE %d, SQLite %d%s\n", kelFish,
              sqliteFish, kelFish == sqliteFish ? "" : "  *** DIFFERENT ***", kelLike, sqliteLike,
              kelLike == sqliteLike ? "" : "  *** DIFFERENT ***");

  benchmark::RegisterBenchmark("ExprEval/walk", ExprEvalWalk<false>, data.get())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ExprEval/walk-value", ExprEvalWalk<true>, data.get())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ExprEval/FindNext", ExprEvalFindNext, data.get())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ExprEval/variants", ExprEvalVariants, data.get())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SQLite/where", SqliteCountBenchmark, fishDb, where, rows)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("LikeMatches/%abc%", LikeMatchesBenchmark, &texts)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SQLite/like", SqliteCountBenchmark, textDb, like, rows)
      ->Unit(benchmark::kMillisecond);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n");
  auto& r = reporter.rates;
  Ratio("evaluator, record by record", r["ExprEval/walk"], r["SQLite/where"], "at least 6");
  Ratio("evaluator, value record by record", r["ExprEval/walk-value"], r["SQLite/where"], "-");
  Ratio("evaluator, FindFirst/FindNext", r["ExprEval/FindNext"], r["SQLite/where"], "-");
  Ratio("evaluator over Variants", r["ExprEval/variants"], r["SQLite/where"], "-");
  Ratio("LikeMatches %abc%", r["LikeMatches/%abc%"], r["SQLite/like"], "at least 3");
  sqlite3_close(fishDb);
  sqlite3_close(textDb);
  return kelFish == sqliteFish && kelLike == sqliteLike ? 0 : 1;
}
