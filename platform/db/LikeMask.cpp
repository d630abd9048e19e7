#include "LikeMask.h"

#include <cstring>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Kel {

TLikeCharSet CharSetFromText(QStringView text) {
  TLikeCharSet set;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    const int first = CharTableIndex(text[i]);
    set.set(first);
    if (i + 1 < n && text[i + 1] == u'-') {
      if (i + 2 >= n) break;  // "a-" at the end: the dash is no member
      const int last = CharTableIndex(text[i + 2]);
      for (int c = first; c <= last; ++c) set.set(c);
      i += 2;  // the last character of the range is visited (and added) once more
    } else {
      ++i;
    }
  }
  return set;
}

namespace {

// The scanner of mask tokens: state 0 is normal text, state 1 follows an escape character and
// reads whatever comes next as the start of a literal run.
class LikeMaskScanner {
 public:
  LikeMaskScanner(QStringView mask, QChar escape) : mask_(mask), escape_(escape) {}

  bool AtEnd() const { return pos_ >= mask_.size() || mask_[pos_] == QChar(0); }

  std::pair<TLikeMaskKind, QString> Next() {
    const qsizetype start = pos_;
    const QChar c = mask_[pos_];
    TLikeMaskKind kind = mkLiteral;
    if (state_ == 1) {
      LiteralRun();
    } else if (c == escape_) {
      ++pos_;
      state_ = 1;
      kind = mkEscape;
    } else if (c == u'[') {
      kind = Set();
    } else if (c == u'_') {
      ++pos_;
      kind = mkAnyChar;
    } else if (c == u'%') {
      ++pos_;
      kind = mkAnyString;
    } else {
      LiteralRun();
    }
    return {kind, mask_.mid(start, pos_ - start).toString()};
  }

 private:
  bool EndsLiteral(QChar c) const {
    return c == QChar(0) || c == u'%' || c == u'[' || c == u'_' || c == escape_;
  }

  void LiteralRun() {
    ++pos_;  // the first character whatever it is
    while (pos_ < mask_.size() && !EndsLiteral(mask_[pos_])) ++pos_;
    state_ = 0;
  }

  TLikeMaskKind Set() {
    const bool negated = pos_ + 1 < mask_.size() && mask_[pos_ + 1] == u'^';
    ++pos_;
    while (pos_ < mask_.size() && mask_[pos_] != u']' && mask_[pos_] != QChar(0)) ++pos_;
    if (pos_ < mask_.size() && mask_[pos_] == u']') ++pos_;
    return negated ? mkNotCharSet : mkCharSet;
  }

  QStringView mask_;
  QChar escape_;
  qsizetype pos_ = 0;
  int state_ = 0;
};

// The set text of a set token: from its second (or, negated, third) character, without a final
// "]".
QStringView SetBody(QStringView token, qsizetype skip) {
  QStringView body = token.size() >= skip ? token.mid(skip) : QStringView();
  if (body.endsWith(u']')) body.chop(1);
  return body;
}

}  // namespace

std::vector<std::pair<TLikeMaskKind, QString>> TokenizeLikeMask(QStringView mask,
                                                                QChar escapeChar) {
  std::vector<std::pair<TLikeMaskKind, QString>> tokens;
  LikeMaskScanner scanner(mask, escapeChar);
  while (!scanner.AtEnd()) tokens.push_back(scanner.Next());
  return tokens;
}

TLikeMaskItem LikeMaskItemOf(TLikeMaskKind kind, QString tokenText) {
  TLikeMaskItem item;
  item.Kind = kind;
  if (kind == mkCharSet) item.Set = CharSetFromText(SetBody(tokenText, 1));
  if (kind == mkNotCharSet) item.Set = CharSetFromText(SetBody(tokenText, 2));
  item.Text = std::move(tokenText);
  return item;
}

std::vector<TLikeMaskItem> PrepareLikeMask(QStringView mask, QChar escapeChar) {
  std::vector<TLikeMaskItem> items;
  for (auto& [kind, text] : TokenizeLikeMask(mask, escapeChar))
    if (kind != mkEscape) items.push_back(LikeMaskItemOf(kind, std::move(text)));
  return items;
}

QString LikeMaskLiteral(QStringView text, QChar escapeChar) {
  QString mask;
  mask.reserve(text.size() + 4);
  for (const QChar c : text) {
    if (c == u'%' || c == u'_' || c == u'[' || c == escapeChar) mask += escapeChar;
    mask += c;
  }
  return mask;
}

std::optional<QString> LikeMaskLiteralText(QStringView mask, QChar escapeChar) {
  QString text;
  text.reserve(mask.size());
  for (qsizetype i = 0; i < mask.size(); ++i) {
    QChar c = mask[i];
    if (c == escapeChar) {
      if (++i == mask.size()) return std::nullopt;
      c = mask[i];
    } else if (c == u'%' || c == u'_' || c == u'[') {
      return std::nullopt;
    }
    text += c;
  }
  return text;
}

TLikeMask::TLikeMask(QStringView mask, QChar escapeChar)
    : items_(PrepareLikeMask(mask, escapeChar)) {
  Analyse();
}

TLikeMask::TLikeMask(std::vector<TLikeMaskItem> items) : items_(std::move(items)) { Analyse(); }

void TLikeMask::Analyse() {
  const int n = static_cast<int>(items_.size());
  // "Follows a percent": walking back over "_" items meets a "%".
  auto followsPercentAt = [this](int before) {
    int j = before;
    while (j >= 0 && items_[j].Kind == mkAnyChar) --j;
    return j >= 0 && items_[j].Kind == mkAnyString;
  };
  followsPercent_.assign(n, false);
  for (int i = 0; i < n; ++i) followsPercent_[i] = followsPercentAt(i - 1);
  endFollowsPercent_ = followsPercentAt(n - 1);
  allAnyStringFrom_.assign(n + 1, true);
  for (int i = n - 1; i >= 0; --i)
    allAnyStringFrom_[i] = allAnyStringFrom_[i + 1] && items_[i].Kind == mkAnyString;
  auto kinds = [this](std::initializer_list<TLikeMaskKind> wanted) {
    if (items_.size() != wanted.size()) return false;
    size_t i = 0;
    for (const TLikeMaskKind kind : wanted)
      if (items_[i++].Kind != kind) return false;
    return true;
  };
  if (kinds({mkAnyString, mkLiteral, mkAnyString}))
    shape_ = Contains;
  else if (kinds({mkLiteral, mkAnyString}))
    shape_ = StartsWith;
  else if (kinds({mkAnyString, mkLiteral}))
    shape_ = EndsWith;
  else
    shape_ = General;
}

namespace {

bool SameChars(const char16_t* a, const char16_t* b, qsizetype count) {
  for (qsizetype i = 0; i < count; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace

qsizetype FindLiteral(QStringView text, QStringView needle, qsizetype from) {
  const qsizetype m = needle.size();
  const qsizetype last = text.size() - m;  // the last place where needle fits
  if (from < 0) from = 0;
  if (m == 0) return from <= text.size() ? from : -1;
  const char16_t* s = text.utf16();
  const char16_t* p = needle.utf16();
  qsizetype i = from;
#if defined(__SSE2__)
  // Eight places at a time, while all eight are places where the needle fits: a place is a
  // candidate when it holds the needle's first character and (for longer needles) the next
  // place its second, which leaves few candidates to compare in full.
  const __m128i first = _mm_set1_epi16(static_cast<short>(p[0]));
  // The places left over after the last full step of eight are covered by one more step that
  // ends at the last place: the places it repeats were candidates already and held no match.
  const auto lastStep = [&](qsizetype& at) {
    if (at > last || last - 7 < from) return false;
    at = last - 7;
    return true;
  };
  if (m == 1) {
    const auto step = [&](qsizetype at) -> qsizetype {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
      const unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, first)));
      return hits != 0 ? at + __builtin_ctz(hits) / 2 : -1;
    };
    for (; i + 7 <= last; i += 8)
      if (const qsizetype found = step(i); found >= 0) return found;
    if (lastStep(i)) return step(i);
  } else {
    const __m128i second = _mm_set1_epi16(static_cast<short>(p[1]));
    // The second load reads up to s[i + 8], which lies within the text since i + 7 <= last
    // and the needle has two characters or more.
    const auto step = [&](qsizetype at) -> qsizetype {
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at + 1));
      unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(
          _mm_and_si128(_mm_cmpeq_epi16(here, first), _mm_cmpeq_epi16(next, second))));
      while (hits != 0) {
        const int bit = __builtin_ctz(hits);
        const qsizetype candidate = at + bit / 2;
        if (SameChars(s + candidate + 2, p + 2, m - 2)) return candidate;
        hits &= ~(3u << bit);
      }
      return -1;
    };
    for (; i + 7 <= last; i += 8)
      if (const qsizetype found = step(i); found >= 0) return found;
    if (lastStep(i)) return step(i);
  }
#endif
  for (; i <= last; ++i)
    if (s[i] == p[0] && SameChars(s + i + 1, p + 1, m - 1)) return i;
  return -1;
}

bool TLikeMask::Pop(int& pos, int& idx) const {
  if (restarts_.empty()) return false;
  pos = restarts_.back().first;
  idx = restarts_.back().second;
  restarts_.pop_back();
  return true;
}

bool TLikeMask::Matches(QStringView value) const {
  switch (shape_) {
    case Contains:
      return FindLiteral(value, items_[1].Text) >= 0;
    case StartsWith:
      return value.startsWith(items_[0].Text);
    case EndsWith:
      return value.endsWith(items_[1].Text);
    default:
      return MatchesGeneral(value);
  }
}

bool TLikeMask::MatchesGeneral(QStringView value) const {
  // Positions are 1-based as in the classic algorithm. A restart point is the position one past
  // where a sliding literal was last found and that literal's index: a backtrack searches the
  // same literal again further on. The "_" items between the "%" and the literal are not run
  // again, so "%_b" keeps its one character before the "b" wherever the "b" slides to.
  const int length = static_cast<int>(value.size());
  const int count = static_cast<int>(items_.size());
  restarts_.clear();
  int pos = 1;
  int idx = 0;
  while (idx < count) {
    if (pos > length) return allAnyStringFrom_[idx];
    const TLikeMaskItem& item = items_[idx];
    switch (item.Kind) {
      case mkLiteral: {
        const qsizetype found = FindLiteral(value, item.Text, pos - 1);
        if (found < 0) return false;
        const int r = static_cast<int>(found) + 1;
        if (followsPercent_[idx]) {
          restarts_.emplace_back(r + 1, idx);
          pos = r + static_cast<int>(item.Text.size());
        } else if (r == pos) {
          pos = r + static_cast<int>(item.Text.size());
        } else {
          if (!Pop(pos, idx)) return false;
          continue;
        }
        break;
      }
      case mkAnyChar:
        ++pos;
        break;
      case mkAnyString:
        break;
      case mkCharSet:
      case mkNotCharSet: {
        const bool inSet = item.Set.test(CharTableIndex(value[pos - 1]));
        if (inSet != (item.Kind == mkCharSet)) {
          // The search resumes where the last literal can next be found, not one further:
          // "%a[0-9]" must find the second "a" of "aa1".
          if (!Pop(pos, idx)) return false;
          continue;
        }
        ++pos;
        break;
      }
      default:
        break;
    }
    ++idx;
    if (idx == count && !endFollowsPercent_ && pos != length + 1) {
      if (!Pop(pos, idx)) return false;
    }
  }
  return true;
}

namespace {

// The mask compiled last, with its text.
struct LastLikeMask {
  QString Text;
  std::unique_ptr<TLikeMask> Compiled;

  bool Holds(QStringView mask) const {
    return Compiled && mask.size() == Text.size() &&
           SameChars(mask.utf16(), QStringView(Text).utf16(), mask.size());
  }
};

}  // namespace

bool LikeMatches(QStringView value, QStringView mask) {
  // A LIKE over every record asks with one mask again and again. One thread-local object, so
  // that a call looks up the thread's storage once.
  thread_local LastLikeMask last;
  LastLikeMask& cached = last;
  if (!cached.Holds(mask)) {
    cached.Compiled = std::make_unique<TLikeMask>(mask, u'^');
    cached.Text = mask.toString();
  }
  return cached.Compiled->Matches(value);
}

}  // namespace Kel
