// Arbitrary condition texts through the expression evaluator on the fuzz records (Nulls and
// every field type): a text that parses must give the same value on every record through the
// compiled columns and over Variants (raising on the same record), and FindFirst / FindNext
// must visit exactly the records it accepts. The first byte picks the filter options.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "FuzzRecords.h"
#include "KelExprEval.h"

namespace {

using namespace Kel;

struct Outcome {
  std::vector<int> accepted;
  int raisedAt = 0;  // record number, 0 for none
  bool operator==(const Outcome&) const = default;
};

template <typename Evaluate>
Outcome Walk(TDataSet& data, Evaluate evaluate) {
  Outcome outcome;
  for (data.First(); !data.Eof(); data.Next()) {
    try {
      if (TExprEvaluator::IsTrue(evaluate())) outcome.accepted.push_back(data.RecNo());
    } catch (const Exception&) {
      outcome.raisedAt = data.RecNo();
      break;
    }
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  TMemDataSet& data = FuzzRecords();
  TKelExprEval eval;
  eval.SetDataSet(&data);
  TFilterOptions options;
  if (bytes[0] & 1) options.Include(foCaseInsensitive);
  if (bytes[0] & 2) options.Include(foNoPartialCompare);
  eval.SetOptions(options);
  eval.SetExpression(QString::fromUtf8(reinterpret_cast<const char*>(bytes + 1),
                                       static_cast<qsizetype>(size - 1)));
  const TKelParsedExpr* parsed = nullptr;
  try {
    parsed = &eval.Parsed();
  } catch (const Exception&) {
    return 0;
  }
  const Outcome variants = Walk(data, [&] {
    return parsed->Evaluate(
        [&data](int, const QString& name) { return data.FieldByName(name)->Value(); });
  });
  const Outcome compiled = Walk(data, [&] { return parsed->EvaluateRecord(data); });
  if (!(variants == compiled)) {
    std::fprintf(stderr, "compiled and Variant evaluation differ for: %s\n",
                 eval.Expression().toUtf8().constData());
    std::abort();
  }
  if (variants.raisedAt != 0) return 0;
  std::vector<int> visited;
  for (bool found = eval.FindFirst(); found; found = eval.FindNext())
    visited.push_back(data.RecNo());
  if (visited != variants.accepted) {
    std::fprintf(stderr, "the search visits other records for: %s\n",
                 eval.Expression().toUtf8().constData());
    std::abort();
  }
  return 0;
}
