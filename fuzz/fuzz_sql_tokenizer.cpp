// Arbitrary text through the SQL tokenizer: every token must lie within the text and move the
// scan on, line numbers only grow, a state saved at any token and restored gives the same tokens
// again, and SqlHasWhere must agree with a plain walk over the tokens.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "KelParser.h"

namespace {

struct Token {
  int kind;
  const QChar* start;
  const QChar* end;
  int line;
  bool operator==(const Token&) const = default;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "SQL tokenizer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QChar* begin = text.constData();
  const QChar* end = begin + text.size();

  Kel::TKelSqlParser parser;
  parser.SetText(begin);
  std::vector<Token> tokens;
  bool where = false;
  int whereIndex = -1;
  parser.SortedKeywords().Find(QStringLiteral("WHERE"), whereIndex);
  for (int kind = parser.NextToken(); kind != Kel::tokEnd; kind = parser.NextToken()) {
    if (parser.TokenStart() < begin || parser.Position() > end ||
        parser.Position() <= parser.TokenStart())
      Fail("a token outside the text or of no length");
    if (!tokens.empty() &&
        (parser.TokenStart() < tokens.back().end || parser.LineNo() < tokens.back().line))
      Fail("the scan went back");
    if (kind < Kel::tokString || kind > Kel::tokSymbol) Fail("an unknown token kind");
    if (kind == Kel::tokKeyword && parser.KeywordIndex() == whereIndex) where = true;
    tokens.push_back({kind, parser.TokenStart(), parser.Position(), parser.LineNo()});
    auto* state = static_cast<Kel::TKelTokenData*>(parser.States()->Add());
    parser.SaveState(state);
  }
  if (Kel::SqlHasWhere(text) != where) Fail("SqlHasWhere disagrees with the tokens");

  // Resume from a saved state (one of them, chosen by the input) and compare what follows.
  if (!tokens.empty()) {
    const size_t from = data[0] % tokens.size();
    Kel::TKelSqlParser again;
    again.RestoreState(
        static_cast<Kel::TKelTokenData*>(parser.States()->Items(static_cast<int>(from))));
    for (size_t i = from + 1; i < tokens.size(); ++i) {
      const int kind = again.NextToken();
      const Token token{kind, again.TokenStart(), again.Position(), again.LineNo()};
      if (!(token == tokens[i])) Fail("a restored state scans differently");
    }
    if (again.NextToken() != Kel::tokEnd) Fail("a restored state scans on past the end");
  }
  return 0;
}
