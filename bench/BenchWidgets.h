#pragma once
// The main of a widget benchmark: an offscreen application (no display needed, and no window
// manager in the figures) with the invariant number formats the benchmarks' texts are written in.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "FormatSettings.h"

namespace KelBench {

inline int RunWidgetBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Kel::SetFormatSettings(Kel::TFormatSettings::Invariant());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace KelBench
