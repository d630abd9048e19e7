// Fuzzes the filter-expression parser with arbitrary text and evaluates what parses on a small
// in-memory dataset, both compiled and over Variants: any crash, and any difference between the
// two evaluations, is a finding. With the top bit of the first byte set, the rest is read as a
// raw canned expression instead, to fuzz the reader of the node buffer.
//
// First byte: bit 0 foCaseInsensitive, bit 1 foNoPartialCompare, bit 2 without extended syntax,
// bit 7 raw canned expression.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "FuzzRecords.h"

namespace {

using namespace Kel;

// The records a filter keeps, or nothing when it raises.
bool Kept(TMemDataSet& data, bool compiled, std::vector<int>& kept) {
  kept.clear();
  try {
    data.SetFiltered(false);
    data.SetCompiledFiltering(compiled);
    data.SetFiltered(true);
    for (data.First(); !data.Eof(); data.Next()) kept.push_back(data.RecNo());
    data.SetFiltered(false);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = bytes[0];
  const char* rest = reinterpret_cast<const char*>(bytes + 1);
  const size_t restSize = size - 1;
  if (mode & 0x80) {
    try {
      const TExprEvaluator evaluator(QByteArray(rest, static_cast<qsizetype>(restSize)));
      (void)evaluator.Evaluate([](int, const QString&) { return Variant(1); });
    } catch (const Exception&) {
    }
    return 0;
  }
  TFilterOptions options;
  if (mode & 1) options.Include(foCaseInsensitive);
  if (mode & 2) options.Include(foNoPartialCompare);
  const TParserOptions parserOptions = (mode & 4) ? TParserOptions{} : TParserOptions{poExtSyntax};
  const QString text = QString::fromUtf8(rest, static_cast<qsizetype>(restSize));
  try {
    const TExprParser parser(TExprParser::FieldInfoOf(FuzzRecords()), text, options, parserOptions);
    (void)TExprEvaluator(parser.FilterData()).Evaluate(nullptr);
  } catch (const Exception&) {
    return 0;
  }
  TMemDataSet& data = FuzzRecords();
  try {
    data.SetFiltered(false);
    data.SetFilterOptions(options);
    data.SetFilter(text);
  } catch (const Exception&) {
    return 0;  // parses only with the extended syntax that datasets always use
  }
  std::vector<int> compiled, variants;
  const bool compiledOk = Kept(data, true, compiled);
  const bool variantsOk = Kept(data, false, variants);
  if (compiledOk != variantsOk || compiled != variants) {
    std::fprintf(stderr, "compiled and Variant filtering differ for: %s\n",
                 text.toUtf8().constData());
    std::abort();
  }
  return 0;
}
