// A screen reader arriving at a filter box of 10,000 conditions: the box's accessible interface
// is made, its child count read, and every line on the screen made and read with its
// parameters (name, state, the parameters' names), at the top of the list and in its middle.
// It must stay under a frame (16 ms). The reference is the same reading of Qt's own list widget
// holding the same 10,000 texts, with Qt's accessible list.
// Every run starts from nothing: the interfaces made are deleted, untimed, after each reading.
//
//   bench_accessible [--benchmark_min_time=1]

#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QListWidget>
#include <vector>

#include "BenchWidgets.h"
#include "KelAccessible.h"
#include "KelFltBox.h"
#include "MemDataSet.h"
#include "UpdateBracket.h"

namespace {

using namespace Kel;

constexpr int kConditions = 10000;

// Conditions on the fish of the sample table, each with values of its own.
struct Setup {
  Setup() {
    fish.AddField("Common Name", ftString, 30);
    fish.AddField("Length (cm)", ftFloat);
    fish.AppendRecords({{"Clown Triggerfish", 50.0}, {"Red Emperor", 60.0}});
    fish.Open();
    box.setGeometry(0, 0, 520, 340);
    box.SetDataSet(&fish);
    WithinUpdate(*box.Items(), [&] {
      for (int i = 0; i < kConditions; ++i) {
        TKelFltItem* item = box.FltItems()->Add();
        const bool byName = i % 2 == 1;
        item->SetDataField(byName ? "Common Name" : "Length (cm)");
        item->SetTemplate(byName || i % 3 ? "is (exactly)" : "less than");
        item->SetValue(byName ? Variant(QStringLiteral("Fish number %1").arg(i)) : Variant(i / 10.0));
        item->SetOperation(i % 5 ? "and" : "or");
        item->SetIndentLev(i % 4 == 3 ? 1 : 0);
      }
    });
    box.show();
    list.resize(box.size());
    for (int i = 0; i < kConditions; ++i)
      list.addItem(box.Items()->PlainItemText(box.Items()->Items(i)));
    list.show();
  }
  TMemDataSet fish;
  TKelFltBox box;
  QListWidget list;
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

// Reads what a reader reads of the first `rows` children from `first` on, and the children of
// each; the interfaces it met are collected so that they can be deleted afterwards.
int ReadRows(QAccessibleInterface* root, int first, int rows,
             std::vector<QAccessibleInterface*>& met) {
  int characters = root->childCount();
  for (int i = first; i < first + rows; ++i) {
    QAccessibleInterface* line = root->child(i);
    met.push_back(line);
    characters += int(line->text(QAccessible::Name).size()) + int(line->state().selected);
    for (int k = 0, count = line->childCount(); k < count; ++k) {
      QAccessibleInterface* part = line->child(k);
      met.push_back(part);
      characters += int(part->text(QAccessible::Name).size());
    }
  }
  return characters;
}

void Forget(std::vector<QAccessibleInterface*>& met, QObject* widget) {
  for (QAccessibleInterface* iface : met) {
    // Interfaces of objects are deleted with the first's id; a table cell with its table.
    if (iface->object()) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  }
  met.clear();
  QAccessible::deleteAccessibleInterface(
      QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

void BM_FilterBoxVisibleLines(benchmark::State& state) {
  Setup& s = Shared();
  s.box.SetTopIndex(int(state.range(0)));
  const int rows = s.box.VisibleRows();
  std::vector<QAccessibleInterface*> met;
  for (auto _ : state) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&s.box);
    benchmark::DoNotOptimize(ReadRows(root, s.box.TopIndex(), rows, met));
    state.PauseTiming();
    Forget(met, &s.box);
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
}

void BM_FilterBoxVisibleLines_Reference(benchmark::State& state) {
  Setup& s = Shared();
  s.list.scrollToItem(s.list.item(int(state.range(0))), QAbstractItemView::PositionAtTop);
  const int first = s.list.indexAt(QPoint(1, 1)).row();
  const int rows = s.box.VisibleRows();
  std::vector<QAccessibleInterface*> met;
  for (auto _ : state) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&s.list);
    benchmark::DoNotOptimize(ReadRows(root, first, rows, met));
    state.PauseTiming();
    met.clear();  // the list's cells go with the list's interface
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(root));
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
}

BENCHMARK(BM_FilterBoxVisibleLines)->Arg(0)->Arg(kConditions / 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterBoxVisibleLines_Reference)->Arg(0)->Arg(kConditions / 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return KelBench::RunWidgetBenchmarks(argc, argv); }
