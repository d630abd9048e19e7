// Memory of the fish records: 1,000,000 records of the filter benchmarks in an in-memory
// dataset, in a process that holds nothing else. The records are generated and handed over in
// chunks of 10,000, as a table is read, so the process never holds them twice. Reports the
// growth of the resident memory over the empty dataset (settled after loading, and at its
// peak) per record; the reference, measured in the same run, is SQLite's own count of the
// memory its in-memory database holds for the same rows.
//
//   bench_memory [--rows=N]

#include <QFile>
#include <cstdio>

#include "BenchFish.h"
#include "FormatSettings.h"

namespace {

using namespace KelBench;

// A figure of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 where there is no such file.
double StatusBytes(const char* key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  const QByteArray prefix = QByteArray(key) + ':';
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(prefix)) return line.mid(prefix.size()).trimmed().split(' ')[0].toDouble() * 1024;
  return 0;
}

// Builds the table chunk by chunk; what the generator made is dropped after each chunk.
std::unique_ptr<TMemDataSet> LoadDataSet(int rows) {
  auto data = std::make_unique<TMemDataSet>();
  AddFishFields(*data);
  FishGenerator generator;
  std::vector<std::vector<Variant>> chunk;
  for (int i = 0; i < rows; ++i) {
    chunk.push_back(FishRecord(generator.Next()));
    if (chunk.size() == 10000 || i + 1 == rows) {
      data->AppendRecords(chunk);
      chunk.clear();
    }
  }
  data->Open();
  return data;
}

// SQLite's own count of the bytes it holds for the same rows in an in-memory database.
double SqliteBytes(int rows) {
  const sqlite3_int64 before = sqlite3_memory_used();
  FishGenerator generator;
  std::vector<Fish> chunk;
  chunk.reserve(10000);
  sqlite3* db = BuildSqlite({});
  for (int done = 0; done < rows; done += static_cast<int>(chunk.size())) {
    chunk.clear();
    for (int i = done; i < rows && chunk.size() < 10000; ++i) chunk.push_back(generator.Next());
    AppendSqlite(db, chunk);
  }
  const double bytes = static_cast<double>(sqlite3_memory_used() - before);
  sqlite3_close(db);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  const int rows = Kel::Bench::TakeRowsOption(argc, argv, 1000000, args);
  SetFormatSettings(TFormatSettings::Invariant());

  // The empty dataset and everything the first records bring in (code, tables) is the baseline.
  { LoadDataSet(100); }
  const double baseline = StatusBytes("VmRSS");
  std::unique_ptr<TMemDataSet> data = LoadDataSet(rows);
  const double settled = StatusBytes("VmRSS") - baseline;
  const double peak = StatusBytes("VmHWM") - baseline;
  std::printf("Records: %d (held: %d)\n", rows, data->RecordCount());
  std::printf("Dataset, resident memory after loading: %.1f MB, %.1f bytes a record\n",
              settled / 1e6, settled / rows);
  std::printf("Dataset, peak resident memory while loading: %.1f MB, %.1f bytes a record\n",
              peak / 1e6, peak / rows);
  data.reset();
  const double sqlite = SqliteBytes(rows);
  std::printf("SQLite in-memory database, same rows: %.1f MB, %.1f bytes a record\n", sqlite / 1e6,
              sqlite / rows);
  std::printf("Ratio dataset / SQLite (after loading): %.2f (target: at most 120 bytes a record)\n",
              settled / sqlite);
  return 0;
}
