#include "LikeMask.h"

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
}

bool TLikeMask::Pop(int& pos, int& idx) const {
  if (restarts_.empty()) return false;
  pos = restarts_.back().first;
  idx = restarts_.back().second;
  restarts_.pop_back();
  return true;
}

bool TLikeMask::Matches(QStringView value) const {
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
        const qsizetype found = value.indexOf(item.Text, pos - 1, Qt::CaseSensitive);
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

bool LikeMatches(QStringView value, QStringView mask) {
  return TLikeMask(mask, u'^').Matches(value);
}

}  // namespace Kel
