// Filtering a Qt item model: the library's filter proxy against QSortFilterProxyModel with a
// hand-written filterAcceptsRow lambda for the same condition and with a regular expression on
// one column, over 1,000,000 rows of a plain table model over vectors (every row its own
// strings), measured in the same run. Two conditions: one column (Category = 'Shark', what the
// expression matches too) and the sample filter of the filter demonstration (three columns).
//
//   first filter: a new proxy on the model, the condition set, its rows counted
//   re-filter:    the condition of a proxy that shows its rows changes (Shark <-> Ray), rows
//                 counted again; beside it the floor of the base class (a filter that only
//                 looks its answer up, laid out anew), which bounds what any such proxy gains
//
// Prints the median time of each and the ratios reference / proxy.
//
//   bench_model_filter [--rows=N] [--benchmark_repetitions=5]

#include <QApplication>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "../tests/models/VectorTableModel.h"
#include "BenchFish.h"
#include "FormatSettings.h"
#include "KelFilterProxyModel.h"

namespace {

using namespace KelBench;
using Kel::TKelFilterProxyModel;
using Kel::Testing::TVectorTableModel;

// The hand-written reference: a proxy whose rows a lambda accepts.
class TLambdaProxy : public QSortFilterProxyModel {
 public:
  std::function<bool(const QAbstractItemModel&, int)> Accepts;
  void FilterChanged() { invalidateRowsFilter(); }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return Accepts(*sourceModel(), row);
  }
};

enum Column { SpeciesNo, Category, CommonName, LengthCm };

// Category = kind, by hand.
std::function<bool(const QAbstractItemModel&, int)> CategoryIs(QString kind) {
  return [kind](const QAbstractItemModel& m, int row) {
    return m.index(row, Category).data().toString() == kind;
  };
}

// The sample filter with kind in place of 'Shark', by hand (short-circuit as C++ reads it).
std::function<bool(const QAbstractItemModel&, int)> SampleFilterBy(QString kind) {
  return [kind](const QAbstractItemModel& m, int row) {
    if (m.index(row, Category).data().toString() == kind) return true;
    const int no = m.index(row, SpeciesNo).data().toInt();
    return no >= 90080 && no <= 90230 && m.index(row, LengthCm).data().toDouble() < 150;
  };
}

QString SampleFilterText(const QString& kind) {
  return QString::fromLatin1(SampleFilter).replace("'Shark'", u'\'' + kind + u'\'');
}

struct Condition {
  const char* Name;
  std::function<QString(const QString&)> Text;  // the filter language
  std::function<std::function<bool(const QAbstractItemModel&, int)>(const QString&)> Lambda;
};

const Condition Conditions[] = {
    {"category", [](const QString& kind) { return "Category = '" + kind + "'"; }, CategoryIs},
    {"sample", SampleFilterText, SampleFilterBy},
};

// The proxies of a first filter are let go outside the timing: only the lambda's is free.
template <typename Proxy, typename Setup>
void FirstFilter(benchmark::State& state, TVectorTableModel* model, Setup setup) {
  int rows = 0;
  for (auto _ : state) {
    auto proxy = std::make_unique<Proxy>();
    proxy->setSourceModel(model);
    setup(*proxy);
    rows = proxy->rowCount();
    state.PauseTiming();
    proxy.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
}

void KelFirst(benchmark::State& state, TVectorTableModel* model, const Condition* condition) {
  FirstFilter<TKelFilterProxyModel>(state, model, [condition](TKelFilterProxyModel& proxy) {
    proxy.SetFilterText(condition->Text("Shark"));
  });
}

void LambdaFirst(benchmark::State& state, TVectorTableModel* model, const Condition* condition) {
  FirstFilter<TLambdaProxy>(state, model, [condition](TLambdaProxy& proxy) {
    proxy.Accepts = condition->Lambda("Shark");
    proxy.FilterChanged();
  });
}

void RegexFirst(benchmark::State& state, TVectorTableModel* model) {
  FirstFilter<QSortFilterProxyModel>(state, model, [](QSortFilterProxyModel& proxy) {
    proxy.setFilterKeyColumn(Category);
    proxy.setFilterRegularExpression(QRegularExpression("^Shark$"));
  });
}

// Each iteration switches between Shark and Ray.
void KelAgain(benchmark::State& state, TVectorTableModel* model, const Condition* condition) {
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(model);
  proxy.SetFilterText(condition->Text("Shark"));
  proxy.rowCount();
  bool ray = true;
  int rows = 0;
  for (auto _ : state) {
    proxy.SetFilterText(condition->Text(ray ? "Ray" : "Shark"));
    rows = proxy.rowCount();
    ray = !ray;
  }
  state.counters["rows"] = rows;
}

// relayout: the proxy is laid out anew (invalidate()), else told that the filter changed
// (invalidateRowsFilter(), which removes and inserts the rows that change in place).
void LambdaAgain(benchmark::State& state, TVectorTableModel* model, const Condition* condition,
                 bool relayout) {
  TLambdaProxy proxy;
  proxy.setSourceModel(model);
  proxy.Accepts = condition->Lambda("Shark");
  proxy.FilterChanged();
  proxy.rowCount();
  bool ray = true;
  int rows = 0;
  for (auto _ : state) {
    proxy.Accepts = condition->Lambda(ray ? "Ray" : "Shark");
    if (relayout)
      proxy.invalidate();
    else
      proxy.FilterChanged();
    rows = proxy.rowCount();
    ray = !ray;
  }
  state.counters["rows"] = rows;
}

// What the base class itself costs to lay out its rows anew: a filter that only looks its
// answer up, as the library's proxy does.
void FloorAgain(benchmark::State& state, TVectorTableModel* model) {
  std::vector<uint8_t> shark, ray;
  for (int row = 0; row < model->rowCount(); ++row) {
    const QString kind = model->index(row, Category).data().toString();
    shark.push_back(kind == "Shark");
    ray.push_back(kind == "Ray");
  }
  const std::vector<uint8_t>* bits = &shark;
  TLambdaProxy proxy;
  proxy.setSourceModel(model);
  proxy.Accepts = [&bits](const QAbstractItemModel&, int row) { return (*bits)[row] != 0; };
  proxy.FilterChanged();
  proxy.rowCount();
  bool toRay = true;
  int rows = 0;
  for (auto _ : state) {
    bits = toRay ? &ray : &shark;
    proxy.invalidate();
    rows = proxy.rowCount();
    toRay = !toRay;
  }
  state.counters["rows"] = rows;
}

void RegexAgain(benchmark::State& state, TVectorTableModel* model) {
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(model);
  proxy.setFilterKeyColumn(Category);
  proxy.setFilterRegularExpression(QRegularExpression("^Shark$"));
  proxy.rowCount();
  bool ray = true;
  int rows = 0;
  for (auto _ : state) {
    proxy.setFilterRegularExpression(QRegularExpression(ray ? "^Ray$" : "^Shark$"));
    rows = proxy.rowCount();
    ray = !ray;
  }
  state.counters["rows"] = rows;
}

// Keeps the median real time of every benchmark while printing as usual.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      else if (run.run_type == Run::RT_Iteration && !medians.count(run.run_name.function_name))
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

void Ratio(MedianReporter& reporter, const std::string& reference, const std::string& ours,
           const char* target) {
  const double r = reporter.medians[reference], o = reporter.medians[ours];
  if (r > 0 && o > 0)
    std::printf("  %-34s %9.1f ms   %-22s %8.1f ms   ratio %6.2f  %s\n", reference.c_str(), r,
                ours.c_str(), o, r / o, target);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  const int rows = Kel::Bench::TakeRowsOption(argc, argv, 1000000, args);
  int count = static_cast<int>(args.size());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(count, args.data());
  Kel::SetFormatSettings(Kel::TFormatSettings::Invariant());

  std::printf("Generating %d rows...\n", rows);
  TVectorTableModel model({"Species No", "Category", "Common_Name", "Length (cm)"});
  model.Reserve(rows);
  for (const Fish& f : Generate(rows))
    model.AppendRow({f.speciesNo, OwnCopy(Categories()[f.category]).AsString(),
                     OwnCopy(Names()[f.name]).AsString(), f.lengthCm});

  // Both sides must show the same rows before their speed means anything.
  bool same = true;
  for (const Condition& condition : Conditions) {
    TKelFilterProxyModel ours;
    ours.setSourceModel(&model);
    ours.SetFilterText(condition.Text("Shark"));
    TLambdaProxy reference;
    reference.setSourceModel(&model);
    reference.Accepts = condition.Lambda("Shark");
    reference.FilterChanged();
    std::printf("Rows shown (%s): proxy %d, lambda %d\n", condition.Name, ours.rowCount(),
                reference.rowCount());
    same = same && ours.rowCount() == reference.rowCount();
  }

  const auto inMilliseconds = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond);
  };
  for (const Condition& condition : Conditions) {
    const std::string name = condition.Name;
    inMilliseconds(benchmark::RegisterBenchmark(("first/" + name + "/proxy").c_str(), KelFirst,
                                                &model, &condition));
    inMilliseconds(benchmark::RegisterBenchmark(("first/" + name + "/lambda").c_str(),
                                                LambdaFirst, &model, &condition));
    inMilliseconds(benchmark::RegisterBenchmark(("again/" + name + "/proxy").c_str(), KelAgain,
                                                &model, &condition));
    inMilliseconds(benchmark::RegisterBenchmark(("again/" + name + "/lambda-relayout").c_str(),
                                                LambdaAgain, &model, &condition, true));
  }
  inMilliseconds(benchmark::RegisterBenchmark("first/category/regex", RegexFirst, &model));
  inMilliseconds(benchmark::RegisterBenchmark("again/category/base-class-floor", FloorAgain, &model));
  // Qt's in-place re-filter moves the rows after each changed run: a few runs of it say enough.
  benchmark::RegisterBenchmark("again/category/regex", RegexAgain, &model)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(2);
  benchmark::RegisterBenchmark("again/category/lambda-in-place", LambdaAgain, &model,
                               &Conditions[0], false)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(2);
  count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nMedian times, reference / proxy (first filter: at least 1; re-filter: at least 10):\n");
  for (const std::string name : {"category", "sample"}) {
    Ratio(reporter, "first/" + name + "/lambda", "first/" + name + "/proxy", "(target >= 1)");
    Ratio(reporter, "again/" + name + "/lambda-relayout", "again/" + name + "/proxy", "(target >= 10)");
  }
  Ratio(reporter, "first/category/regex", "first/category/proxy", "");
  Ratio(reporter, "again/category/regex", "again/category/proxy", "");
  Ratio(reporter, "again/category/lambda-in-place", "again/category/proxy", "");
  Ratio(reporter, "again/category/lambda-relayout", "again/category/base-class-floor",
        "(the most any QSortFilterProxyModel can gain)");
  return same ? 0 : 1;
}
