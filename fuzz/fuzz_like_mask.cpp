// LIKE masks and values from arbitrary bytes (the first byte says where the mask ends): the
// library's mask tokenizer must give the dataset layer's tokens, matching must not fail, and a
// mask made only of literals, "%" and "_" must match exactly what a plain dynamic-programming
// LIKE says.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "KelParser.h"

namespace {

[[noreturn]] void Fail(const char* what, const QString& mask, const QString& value) {
  std::fprintf(stderr, "LIKE: %s: mask '%s' value '%s'\n", what, mask.toUtf8().constData(),
               value.toUtf8().constData());
  std::abort();
}

// SQL LIKE without sets or escapes: "%" any run, "_" one character, the rest itself.
bool ReferenceLike(const QString& value, const QString& mask) {
  const qsizetype n = value.size();
  std::vector<char> row(static_cast<size_t>(n) + 1, 0), next(row.size());
  row[0] = 1;  // the empty mask matches the empty value
  for (const QChar m : mask) {
    std::fill(next.begin(), next.end(), 0);
    if (m == u'%') {
      char any = 0;
      for (qsizetype j = 0; j <= n; ++j)
        next[static_cast<size_t>(j)] = any = any | row[static_cast<size_t>(j)];
    } else {
      for (qsizetype j = 1; j <= n; ++j)
        next[static_cast<size_t>(j)] =
            row[static_cast<size_t>(j - 1)] && (m == u'_' || value[j - 1] == m);
    }
    row.swap(next);
  }
  return row[static_cast<size_t>(n)] != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t split = std::min<size_t>(data[0], size - 1);
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const QString mask = QString::fromUtf8(bytes, static_cast<qsizetype>(split));
  const QString value = QString::fromUtf8(bytes + split, static_cast<qsizetype>(size - 1 - split));

  for (const QChar escape : {QChar(u'^'), QChar(u'!')}) {
    Kel::TKelLikeMaskParser parser;
    parser.SetEscapeChar(escape);
    parser.SetText(mask.constData());
    std::vector<std::pair<Kel::TLikeMaskKind, QString>> tokens;
    for (int kind = parser.NextToken(); kind != Kel::tokEnd; kind = parser.NextToken())
      tokens.emplace_back(static_cast<Kel::TLikeMaskKind>(kind), parser.TokenText());
    if (tokens != Kel::TokenizeLikeMask(mask, escape)) Fail("the tokenizers disagree", mask, value);
    std::vector<Kel::TKelPreparedMaskItem> items;
    Kel::PrepareLikeMask(mask, escape, items);
    (void)Kel::TLikeMask(std::move(items)).Matches(value);
  }
  const bool matches = Kel::LikeMatches(value, mask);
  const bool plain = !mask.isEmpty() && !mask.contains(u'[') && !mask.contains(u'^') &&
                     !mask.contains(QChar(0)) && !value.contains(QChar(0));
  if (plain && matches != ReferenceLike(value, mask))
    Fail("a plain mask matches wrongly", mask, value);
  return 0;
}
