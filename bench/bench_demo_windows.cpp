// keldemo's windows from creation to their first picture: the main window, and the filter
// window with its tables opened, its sample conditions applied and its grid filled. Each should
// stay well under 300 ms (main) and 200 ms (filter window). The reference is the least a window
// over the same table can do: a plain table view over a query model of biolife, shown and
// painted once.
//
//   bench_demo_windows [--benchmark_min_time=1]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlQueryModel>
#include <QTableView>
#include <stdexcept>

#include "BenchWidgets.h"
#include "DBTables.h"
#include "FormOwner.h"
#include "FormatSettings.h"
#include "StartupTiming.h"
#include "fboxunit.h"
#include "mainUnit.h"

namespace {

using namespace Kel;

// Shows the window and waits for its first complete paint, as keldemo --timing does.
void ShowAndPaint(QWidget& window) {
  window.show();
  if (!WaitForFirstPaint(&window)) throw std::runtime_error("the window was not painted");
}

void BM_OpenMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    TFormOwner owner;
    ShowAndPaint(*owner.CreateForm(MainForm, owner));
  }
}

void BM_OpenFilterWindow(benchmark::State& state) {
  for (auto _ : state) {
    TFboxForm form;
    ShowAndPaint(form);
  }
}

void BM_OpenFilterWindow_Reference(benchmark::State& state) {
  for (auto _ : state) {
    QSqlQueryModel model;
    model.setQuery(QStringLiteral("select * from biolife"), Session().Database(QStringLiteral("DBDEMOS")));
    QTableView view;
    view.setModel(&model);
    view.resize(820, 600);
    ShowAndPaint(view);
  }
}

BENCHMARK(BM_OpenMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFilterWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFilterWindow_Reference)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("KEL_DBDEMOS")) qputenv("KEL_DBDEMOS", KEL_DBDEMOS_FILE);
  return KelBench::RunWidgetBenchmarks(argc, argv);
}
