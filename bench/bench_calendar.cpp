// Calendar speed, against references measured in the same run:
//  (a) selecting 3,650 consecutive days (MaxSelDates 0) one by one and clearing them again,
//      against the same inserts and erases on a std::set of day numbers;
//  (b) painting a 4 x 3 calendar with a selection, week numbers and grid lines into an image,
//      against Qt's one-month calendar widget painted the same way.
// Targets: (a) under 5 ms, (b) under 16 ms.
//
//   bench_calendar [--benchmark_min_time=2]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QImage>
#include <cstdlib>
#include <set>

#include "DateUtils.h"
#include "KelCalendar.h"

namespace {

using namespace Kel;

constexpr int kDays = 3650;

void SelectAndClear(benchmark::State& state) {
  TKelCalendar calendar;
  calendar.SetMaxSelDates(0);
  calendar.ClearSelection();
  const TDateTime first = EncodeDate(2000, 1, 1);
  for (auto _ : state) {
    calendar.BeginUpdate();
    for (int i = 0; i < kDays; ++i) calendar.SelectDate(true, first + i);
    calendar.EndUpdate();
    if (calendar.SelCount() != kDays) state.SkipWithError("not all days selected");
    calendar.ClearSelection();
  }
  state.counters["days"] = kDays;
}
BENCHMARK(SelectAndClear)->Unit(benchmark::kMillisecond);

void SelectAndClearStdSet(benchmark::State& state) {
  std::set<int> dates;
  const int first = int(EncodeDate(2000, 1, 1));
  for (auto _ : state) {
    for (int i = 0; i < kDays; ++i) dates.insert(first + i);
    while (!dates.empty()) dates.erase(dates.begin());
    benchmark::DoNotOptimize(dates);
  }
}
BENCHMARK(SelectAndClearStdSet)->Unit(benchmark::kMillisecond);

void PaintFourByThree(benchmark::State& state) {
  TKelCalendar calendar;
  calendar.SetShowWeekNumbers(true);
  calendar.SetShowHorzLines(true);
  calendar.SetShowVertLines(true);
  calendar.SetStartDate(EncodeDate(2004, 1, 1));
  const int frame = 2 * calendar.FrameWidth();
  calendar.resize(frame + 4 * calendar.MonthWidth(), frame + 3 * calendar.MonthHeight());
  calendar.SelectWeek(true, EncodeDate(2004, 2, 10));
  QImage image(calendar.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    calendar.render(&image);
    benchmark::ClobberMemory();
  }
  state.counters["months"] = calendar.MonthCount();
}
BENCHMARK(PaintFourByThree)->Unit(benchmark::kMillisecond);

void PaintQtOneMonth(benchmark::State& state) {
  QCalendarWidget calendar;
  calendar.resize(calendar.sizeHint());
  QImage image(calendar.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    calendar.render(&image);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PaintQtOneMonth)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
