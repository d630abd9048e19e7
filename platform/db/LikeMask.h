#pragma once
// LIKE masks: "%" any run of characters, "_" one character, "[abc]" / "[a-c]" one character of a
// set, "[^abc]" one character outside a set, and an escape character (default "^") that makes
// the character after it literal. Matching is exact on character codes: letter case counts.
//
// A mask is compiled once into a list of items (PrepareLikeMask / TLikeMask) and then matched
// against any number of values without allocating: the dataset filter matches millions of rows
// with one compiled mask. Character sets cover codes 0..255; a character above 255 counts as 255,
// like every 256-entry character table of the library.
//
// The matcher is deliberately the library's classic one, with its restart stack: only literal
// items slide forward after a "%"; a "_" or a set right after "%" is tested at the current
// position only, so "%[0-9]" does not match "a1" while "%abc" and "%_b" work as usual (a "_"
// between the "%" and a literal counts one character before wherever that literal is found).

#include <QString>
#include <QStringView>
#include <bitset>
#include <utility>
#include <vector>

#include "PlatformExport.h"

namespace Kel {

// Kinds of mask tokens and items. mkEscape is a token only: it produces no item.
enum TLikeMaskKind {
  mkLiteral = 1,
  mkAnyChar = 2,
  mkAnyString = 3,
  mkCharSet = 4,
  mkNotCharSet = 5,
  mkEscape = 6
};

using TLikeCharSet = std::bitset<256>;

// The index of a character in a 256-entry table: codes above 255 share the entry of 255.
inline int CharTableIndex(QChar c) { return c.unicode() > 255 ? 255 : c.unicode(); }

// One compiled item of a mask.
struct TLikeMaskItem {
  TLikeMaskKind Kind = mkLiteral;
  QString Text;      // the literal text (mkLiteral) or the token text
  TLikeCharSet Set;  // mkCharSet / mkNotCharSet
};

// The set described by set text: single characters and ranges "a-z" (empty when the last is
// lower than the first); a "-" at the start is a member, one at the very end is dropped.
KEL_PLATFORM_EXPORT TLikeCharSet CharSetFromText(QStringView text);

// Splits a mask into its tokens (kind and text), escape tokens included: what a mask
// tokenizer reports. A NUL character ends the mask.
KEL_PLATFORM_EXPORT std::vector<std::pair<TLikeMaskKind, QString>> TokenizeLikeMask(
    QStringView mask, QChar escapeChar);

// The item of one token (any kind but mkEscape): a set token's set is read from its text after
// "[" (or "[^"), without a final "]".
KEL_PLATFORM_EXPORT TLikeMaskItem LikeMaskItemOf(TLikeMaskKind kind, QString tokenText);

// The items of a mask: literal runs, "_", "%" and sets; escapes produce no item.
KEL_PLATFORM_EXPORT std::vector<TLikeMaskItem> PrepareLikeMask(QStringView mask,
                                                               QChar escapeChar = u'^');

// A compiled mask, reusable for any number of values.
class KEL_PLATFORM_EXPORT TLikeMask {
 public:
  TLikeMask() = default;  // the empty mask: matches every value
  explicit TLikeMask(QStringView mask, QChar escapeChar = u'^');
  explicit TLikeMask(std::vector<TLikeMaskItem> items);

  bool Matches(QStringView value) const;
  const std::vector<TLikeMaskItem>& Items() const { return items_; }

 private:
  // Masks that are one literal with "%" before and/or after it need no restart stack.
  enum Shape { General, Contains, StartsWith, EndsWith };

  void Analyse();
  bool Pop(int& pos, int& idx) const;
  bool MatchesGeneral(QStringView value) const;

  std::vector<TLikeMaskItem> items_;
  Shape shape_ = General;
  std::vector<bool> followsPercent_;    // per item: a "%" stands before it, "_" items between
  bool endFollowsPercent_ = false;      // the mask ends with "%" (then "_" items)
  std::vector<bool> allAnyStringFrom_;  // per index: every item from there on is "%"
  mutable std::vector<std::pair<int, int>> restarts_;  // scratch; the library runs in one thread
};

// True when value matches mask; the escape character is "^". The mask compiled last is kept, so
// matching many values against one mask compiles it once.
KEL_PLATFORM_EXPORT bool LikeMatches(QStringView value, QStringView mask);

// The first place of needle in text at or after from (-1: none), as QStringView::indexOf finds
// it; the needle's first character is looked for several characters at a time.
KEL_PLATFORM_EXPORT qsizetype FindLiteral(QStringView text, QStringView needle, qsizetype from = 0);

}  // namespace Kel
