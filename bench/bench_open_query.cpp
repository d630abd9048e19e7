// Opening a 1,000,000-row query: showing its first 50 records, and reading all of them, through a
// TQuery on a PostgreSQL server (one that the benchmark starts for itself) and on SQLite (a file
// in a scratch folder), measured in the same run on the same rows. As the floor of each engine,
// the same reads straight through Qt SQL (a forward-only QSqlQuery taking every value).
//
//   bench_open_query [--rows=N] [benchmark options]
//
// Every row has strings of its own: "Fish 123457", a note naming its number, a category out of
// twelve, a length and a date. Target: the first 50 records on the screen in under 100 ms.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include <QCoreApplication>

#include "BenchRows.h"
#include "DB.h"
#include "FormatSettings.h"
#include "TestPostgresServer.h"

namespace {

using namespace Kel;

constexpr const char* kStatement =
    "SELECT id, name, category, length, caught, note FROM fish ORDER BY id";
constexpr int kFirstRows = 50;

// The same rows on both engines, computed by each from the row number.
QString FillStatement(bool postgres, int rows) {
  const QString categories =
      "(ARRAY['Shark','Ray','Angelfish','Butterflyfish','Damselfish','Wrasse','Grouper',"
      "'Snapper','Triggerfish','Parrotfish','Moray','Barracuda'])[i % 12 + 1]";
  if (postgres)
    return QStringLiteral(
               "INSERT INTO fish SELECT i, 'Fish ' || (i::bigint * 7919 % 1000003), %1, "
               "(i % 5950) / 10.0 + 5, DATE '2000-01-01' + (i % 8000), "
               "'Seen on dive ' || i || ', logged by diver ' || (i % 997) "
               "FROM generate_series(1, %2) AS g(i)")
        .arg(categories)
        .arg(rows);
  return QStringLiteral(
             "WITH RECURSIVE g(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM g WHERE i < %1) "
             "INSERT INTO fish SELECT i, 'Fish ' || (i * 7919 % 1000003), "
             "CASE i % 12 WHEN 0 THEN 'Shark' WHEN 1 THEN 'Ray' WHEN 2 THEN 'Angelfish' "
             "WHEN 3 THEN 'Butterflyfish' WHEN 4 THEN 'Damselfish' WHEN 5 THEN 'Wrasse' "
             "WHEN 6 THEN 'Grouper' WHEN 7 THEN 'Snapper' WHEN 8 THEN 'Triggerfish' "
             "WHEN 9 THEN 'Parrotfish' WHEN 10 THEN 'Moray' ELSE 'Barracuda' END, "
             "(i % 5950) / 10.0 + 5, date('2000-01-01', '+' || (i % 8000) || ' days'), "
             "'Seen on dive ' || i || ', logged by diver ' || (i % 997) FROM g")
      .arg(rows);
}

void Fill(const QString& alias, bool postgres, int rows) {
  QSqlDatabase db = Session().Database(alias);
  QSqlQuery query(db);
  for (const QString& sql :
       {QStringLiteral("DROP TABLE IF EXISTS fish"),
        QStringLiteral("CREATE TABLE fish (id INTEGER PRIMARY KEY, name VARCHAR(20), "
                       "category VARCHAR(15), length %1, caught DATE, note TEXT)")
            .arg(postgres ? "DOUBLE PRECISION" : "FLOAT"),
        FillStatement(postgres, rows), QStringLiteral("ANALYZE")})
    if (!query.exec(sql)) throw std::runtime_error(query.lastError().text().toStdString());
}

void PointAt(TQuery& query, const QString& alias) {
  query.SetDatabaseName(alias);
  query.SQL()->SetText(kStatement);
}

// Open the query and show its first records: what a grid does when a window opens.
void FirstRows(benchmark::State& state, QString alias) {
  TQuery query;
  PointAt(query, alias);
  int64_t sum = 0;
  for (auto _ : state) {
    query.Open();
    for (int i = 0; i < kFirstRows && !query.Eof(); ++i, query.Next())
      for (TField* field : query.Fields()) sum += field->AsString().size();
    query.Close();
  }
  benchmark::DoNotOptimize(sum);
}

// Open the query and read every record (what Last, RecordCount or a local filter need).
void AllRows(benchmark::State& state, QString alias) {
  TQuery query;
  PointAt(query, alias);
  int count = 0;
  for (auto _ : state) {
    query.Open();
    query.Last();
    count = query.RecordCount();
    query.Close();
  }
  state.counters["records"] = count;
}

// The floor: Qt SQL alone, a forward-only query taking every value of `limit` rows (all: -1).
void Raw(benchmark::State& state, QString alias, int limit) {
  QSqlDatabase db = Session().Database(alias);
  int count = 0;
  for (auto _ : state) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(kStatement)) throw std::runtime_error(query.lastError().text().toStdString());
    int64_t sum = 0;
    for (count = 0; (limit < 0 || count < limit) && query.next(); ++count)
      for (int i = 0; i < 6; ++i) sum += query.value(i).toString().size();
    benchmark::DoNotOptimize(sum);
    query.finish();
  }
  state.counters["records"] = count;
}

// Remembers the mean wall and processor time of every run, in milliseconds, by the name it was
// registered under, while printing as usual.
class TimeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/iterations:"));
      // All runs here are in milliseconds.
      ms[name] = run.GetAdjustedRealTime();
      cpu[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> ms;
  std::map<std::string, double> cpu;
};

void Register(const std::string& engine, const QString& alias) {
  benchmark::RegisterBenchmark((engine + "/TQuery/first50").c_str(), FirstRows, alias)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((engine + "/QSqlQuery/first50").c_str(), Raw, alias, kFirstRows)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((engine + "/TQuery/all").c_str(), AllRows, alias)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark((engine + "/QSqlQuery/all").c_str(), Raw, alias, -1)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  std::vector<char*> args;
  const int rows = Kel::Bench::TakeRowsOption(argc, argv, 1000000, args);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  SetFormatSettings(TFormatSettings::Invariant());

  QTemporaryDir dir;
  // Opening a database never creates it: the (empty) file comes first.
  QFile(dir.filePath("fish.sqlite")).open(QIODevice::WriteOnly);
  Session().AddAlias("BENCHSQLITE", "QSQLITE", dir.filePath("fish.sqlite"));
  Testing::TTestPostgresServer server;
  const bool postgres = server.Running();
  if (postgres)
    server.AddAlias("BENCHPG", "postgres");
  else
    std::printf("No PostgreSQL server: %s\n", qPrintable(server.Reason()));

  std::printf("Filling %d rows...\n", rows);
  Fill("BENCHSQLITE", false, rows);
  if (postgres) Fill("BENCHPG", true, rows);

  if (postgres) Register("PostgreSQL", "BENCHPG");
  Register("SQLite", "BENCHSQLITE");
  TimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nOpening a %d-row query, in ms (mean of the runs; this process's processor "
              "time in brackets):\n",
              rows);
  std::printf("%-11s %20s %20s %20s %20s\n", "", "TQuery first50", "QSqlQuery first50",
              "TQuery all", "QSqlQuery all");
  for (const std::string engine : {"PostgreSQL", "SQLite"}) {
    if (engine == "PostgreSQL" && !postgres) continue;
    std::printf("%-11s", engine.c_str());
    for (const char* run : {"/TQuery/first50", "/QSqlQuery/first50", "/TQuery/all",
                            "/QSqlQuery/all"})
      std::printf(" %10.1f (%7.1f)", reporter.ms[engine + run], reporter.cpu[engine + run]);
    std::printf("\n");
  }
  if (postgres)
    std::printf("Target: first rows on PostgreSQL under 100 ms: %s\n",
                reporter.ms["PostgreSQL/TQuery/first50"] < 100 ? "met" : "MISSED");
  Session().CloseDatabases();
  return 0;
}
