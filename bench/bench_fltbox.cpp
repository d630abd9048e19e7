// The filter box with 10,000 conditions: adding one through the add line, changing one value
// through the parameter setter (the box then rewrites the filter of an in-memory dataset, as
// the filter window's box does) and painting the box once. Each must stay under a frame (16 ms).
//
// Two lists: one where one condition in 200 is checked (the rest are lines the box still lays
// out), and one where every condition is checked and on the fish of the sample table, so every
// change gives a filter text of 10,000 conditions. For the second the dataset's own part is
// measured apart: its filter parser reading the same text (it refuses a text that long, see
// the counters) and the longest run of the same conditions that it still takes, parsed and
// applied to 10,000 fish.
//
//   bench_fltbox [--benchmark_min_time=1]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <stdexcept>

#include "BenchFish.h"
#include "DBConsts.h"
#include "ExprParser.h"
#include "FormatSettings.h"
#include "KelFltBox.h"
#include "MemDataSet.h"
#include "UpdateBracket.h"

namespace {

using namespace Kel;

constexpr int kConditions = 10000;

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
      for (int i = 0; i < kConditions; ++i) {
        TKelFltItem* item = box.FltItems()->Add();
        item->SetDataField(i % 2 ? "Name" : "Size");
        item->SetTemplate("is (exactly)");
        if (i % 2)
          item->SetValue(Variant(QStringLiteral("v%1").arg(i)));
        else
          item->SetValue(Variant(i));
        // One in 200 takes part in the filter; the others are unchecked lines the box still
        // lays out.
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

// A condition on the fish: four fields, three templates, values of their own, "or" now and then
// and a group of one line in four.
void AddFishCondition(TKelFltItems& items, int i) {
  TKelFltItem* item = items.Add();
  switch (i % 4) {
    case 0:
      item->SetDataField("Category");
      item->SetTemplate("is (exactly)");
      item->SetValue(KelBench::OwnCopy(KelBench::Categories()[i % 12]));
      break;
    case 1:
      item->SetDataField("Species No");
      item->SetTemplate("between");
      item->SetValue1(Variant(90000 + i % 400));
      item->SetValue2(Variant(90100 + i % 400));
      break;
    case 2:
      item->SetDataField("Length (cm)");
      item->SetTemplate("less than");
      item->SetValue(Variant(i / 10.0));
      break;
    default:
      item->SetDataField("Common_Name");
      item->SetTemplate("is (exactly)");
      item->SetValue(Variant(QStringLiteral("Fish number %1").arg(i)));
      item->SetIndentLev(1);
      break;
  }
  item->SetOperation(i % 5 ? "and" : "or");
}

// Every condition checked, on 10,000 fish. The dataset is hooked once the list is complete.
struct CheckedSetup {
  CheckedSetup() : fish(KelBench::BuildDataSet(KelBench::Generate(10000))) {
    box.resize(480, 320);
    box.SetDataSet(fish.get());
    WithinUpdate(*box.Items(), [&] {
      for (int i = 0; i < kConditions; ++i) AddFishCondition(*box.FltItems(), i);
    });
    box.SetHookFilterProp(true);
    box.SetItemIndex(5000);
  }
  std::unique_ptr<TMemDataSet> fish;
  TKelFltBox box;
};

CheckedSetup& Checked() {
  static CheckedSetup setup;
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

// A change whose filter the dataset refuses raises, as the box hands the dataset's errors on;
// the figure counts the whole way to that error. Raised in an event handler, the error goes to
// the application, which counts it as a program reports it.
int refusedInEvents = 0;

class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const EDatabaseError&) {
      ++refusedInEvents;
      return true;
    }
  }
};

void ChangeThroughBox(benchmark::State& state, const std::function<void()>& change) {
  int refused = 0;
  refusedInEvents = 0;
  for (auto _ : state) {
    try {
      change();
    } catch (const EDatabaseError&) {
      ++refused;
    }
  }
  state.counters["refused"] =
      benchmark::Counter(refused + refusedInEvents, benchmark::Counter::kAvgIterations);
}

void BM_Checked_ChangeValue(benchmark::State& state) {
  CheckedSetup& s = Checked();
  TKelFltItem* item = s.box.FltItems()->Items(4002);  // a length: "less than"
  int value = 0;
  ChangeThroughBox(state, [&] { item->SetValue(Variant(++value / 10.0)); });
}

// Where the add line is, the list scrolled to its end as a user scrolls to reach it.
QPoint AddLine(TKelFltBox& box) {
  box.SetItemIndex(box.Items()->Count() - 1);
  for (int y = 0; y < box.ClientHeight(); ++y)
    if (box.IsOnAddRow(QPoint(8, y))) return box.ClientOrigin() + QPoint(8, y);
  throw std::logic_error("no add line");
}

// A click on the add line.
void BM_Checked_AddCondition(benchmark::State& state) {
  CheckedSetup& s = Checked();
  QPoint at = AddLine(s.box);
  ChangeThroughBox(state, [&] {
    QTest::mouseClick(&s.box, Qt::LeftButton, {}, at);
    state.PauseTiming();
    try {
      if (s.box.Items()->Count() > kConditions) s.box.Items()->Delete(s.box.Items()->Count() - 1);
    } catch (const EDatabaseError&) {
      // The list back at its length is refused as well; the timer must still resume.
    }
    at = AddLine(s.box);
    state.ResumeTiming();
  });
  if (s.box.Items()->Count() != kConditions) state.SkipWithError("no condition was added");
}

// The builder writing the whole filter text of the checked list afresh, as it did on every
// change before it kept each condition's text: the reference of the two changes above.
void BM_Checked_FilterStr(benchmark::State& state) {
  CheckedSetup& s = Checked();
  for (auto _ : state) {
    s.box.Builder()->ForgetConditionTexts();
    benchmark::DoNotOptimize(s.box.Builder()->FilterStr());
  }
  state.counters["chars"] = static_cast<double>(s.box.Builder()->FilterStr().size());
}

// The dataset's filter parser on the text of the 10,000 checked conditions.
void BM_Checked_DataSetParse(benchmark::State& state) {
  CheckedSetup& s = Checked();
  const QString text = s.box.Builder()->FilterStr();
  int refused = 0;
  for (auto _ : state) {
    try {
      TExprParser parser(s.fish.get(), text, {}, TParserOptions{poExtSyntax});
      benchmark::DoNotOptimize(parser.DataSize());
    } catch (const EExprParserError&) {
      ++refused;
    }
  }
  state.counters["refused"] = benchmark::Counter(refused, benchmark::Counter::kAvgIterations);
}

// The filter text of the first `count` conditions of the checked list.
QString FirstConditionsText(CheckedSetup& s, int count) {
  TKelFltBld builder;
  builder.SetDataSet(s.fish.get());
  WithinUpdate(*builder.Items(), [&] {
    for (int i = 0; i < count; ++i) AddFishCondition(*builder.Items(), i);
  });
  return builder.FilterStr();
}

bool Parses(const TDataSet* dataSet, const QString& text) {
  try {
    TExprParser parser(dataSet, text, {}, TParserOptions{poExtSyntax});
    return true;
  } catch (const EExprParserError&) {
    return false;
  }
}

// The longest run of the checked list's conditions that the dataset takes, set as the filter
// of 10,000 fish: parsed, compiled and applied.
void BM_Checked_DataSetLongestAccepted(benchmark::State& state) {
  CheckedSetup& s = Checked();
  int low = 1;
  int high = kConditions;
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (Parses(s.fish.get(), FirstConditionsText(s, mid)))
      low = mid;
    else
      high = mid - 1;
  }
  const QString text = FirstConditionsText(s, low);
  TMemDataSet& fish = *s.fish;
  fish.SetFiltered(true);
  fish.SetFilter(text);
  state.counters["kept"] = fish.RecordCount();
  fish.SetFilter(QString());
  for (auto _ : state) {
    fish.SetFilter(text);
    state.PauseTiming();
    fish.SetFilter(QString());
    state.ResumeTiming();
  }
  state.counters["conditions"] = low;
}

BENCHMARK(BM_AddCondition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeValue_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOnce)->Unit(benchmark::kMillisecond);
// The add first: once the dataset refused a text, every later change offers it the text again.
BENCHMARK(BM_Checked_AddCondition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checked_ChangeValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checked_FilterStr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checked_DataSetParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Checked_DataSetLongestAccepted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Application app(argc, argv);
  SetFormatSettings(TFormatSettings::Invariant());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
