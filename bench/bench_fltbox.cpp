// The filter box with 10,000 conditions (50 of them checked, see Setup): adding one, changing
// one value through the parameter setter (the box then rewrites the filter of an in-memory
// dataset) and painting the box once.
// Each must stay under a frame (16 ms). The reference is the builder alone writing the same
// filter text, the part of a change that the box cannot avoid.
//
//   bench_fltbox [--benchmark_min_time=1]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "BenchWidgets.h"
#include "FormatSettings.h"
#include "KelFltBox.h"
#include "MemDataSet.h"
#include "UpdateBracket.h"

namespace {

using namespace Kel;

struct Setup {
  Setup() {
    data.AddField("Name", ftString, 20);
    data.AddField("Size", ftInteger);
    data.AppendRecords({{"a", 1}, {"b", 2}});
    data.Open();
    box.resize(480, 320);
    box.SetDataSet(&data);
    box.SetHookFilterProp(true);
    WithinUpdate(*box.Items(), [&] {
      for (int i = 0; i < 10000; ++i) {
        TKelFltItem* item = box.FltItems()->Add();
        item->SetDataField(i % 2 ? "Name" : "Size");
        item->SetTemplate("is (exactly)");
        if (i % 2)
          item->SetValue(Variant(QStringLiteral("v%1").arg(i)));
        else
          item->SetValue(Variant(i));
        // The dataset's filter parser refuses texts of thousands of conditions, so one in 200
        // takes part in the filter; the others are unchecked lines the box still lays out.
        item->SetChecked(i % 200 == 0);
      }
    });
    box.SetItemIndex(5000);
  }
  TMemDataSet data;
  TKelFltBox box;
};

Setup& Box() {
  static Setup setup;
  return setup;
}

void BM_AddCondition(benchmark::State& state) {
  Setup& s = Box();
  for (auto _ : state) {
    s.box.AddItem();
    state.PauseTiming();
    s.box.Items()->Delete(s.box.Items()->Count() - 1);
    state.ResumeTiming();
  }
}

void BM_ChangeValue(benchmark::State& state) {
  Setup& s = Box();
  TKelFltItem* item = s.box.FltItems()->Items(4000);  // a checked one: the filter changes
  int value = 0;
  for (auto _ : state) item->SetValue(Variant(++value));
}

void BM_ChangeValue_Reference(benchmark::State& state) {
  Setup& s = Box();
  for (auto _ : state) benchmark::DoNotOptimize(s.box.Builder()->FilterStr());
}

void BM_PaintOnce(benchmark::State& state) {
  Setup& s = Box();
  QImage image(s.box.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    s.box.render(&painter);
  }
}

BENCHMARK(BM_AddCondition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeValue_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOnce)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return KelBench::RunWidgetBenchmarks(argc, argv); }
