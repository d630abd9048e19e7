#include "TextColumn.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <new>

namespace Kel {

namespace {

// Below this many entries a column stays a dictionary whatever its rows: a small dictionary
// costs little, and the first rows of a table say little about the rest.
constexpr size_t DictionaryFloor = 4096;
// Garbage below this many units is not worth a pass over the column.
constexpr size_t GarbageFloor = 1 << 16;
constexpr uint64_t MaxOffset = (uint64_t{1} << 40) - 1;

}  // namespace

template <typename Char>
uint64_t TTextColumn<Char>::NextGeneration() {
  static uint64_t last = 0;  // the dataset layer runs in one thread
  return ++last;
}

template <typename Char>
typename TTextColumn<Char>::View TTextColumn<Char>::ReadFrom(const std::vector<Char>& chars,
                                                            uint64_t place) {
  const size_t offset = static_cast<size_t>(place >> LengthBits);
  const size_t length = static_cast<size_t>(place & LongLength);
  if (length != LongLength) return View(chars.data() + offset, length);
  uint64_t longLength = 0;
  std::memcpy(&longLength, chars.data() + offset, sizeof longLength);
  return View(chars.data() + offset + LengthUnits, static_cast<size_t>(longLength));
}

template <typename Char>
size_t TTextColumn<Char>::UnitsOf(uint64_t place) const {
  const size_t length = static_cast<size_t>(place & LongLength);
  return length == LongLength ? LengthUnits + Read(place).size() : length;
}

template <typename Char>
uint64_t TTextColumn<Char>::AppendTo(std::vector<Char>& chars, View text) {
  if (text.empty()) return 0;
  const size_t offset = chars.size();
  if (offset > MaxOffset) throw std::bad_alloc();
  const bool isLong = text.size() >= LongLength;
  if (isLong) {
    const uint64_t length = text.size();
    chars.resize(offset + LengthUnits);
    std::memcpy(chars.data() + offset, &length, sizeof length);
  }
  chars.insert(chars.end(), text.begin(), text.end());
  return (static_cast<uint64_t>(offset) << LengthBits) | (isLong ? LongLength : text.size());
}

template <typename Char>
uint64_t TTextColumn<Char>::Append(View text) {
  // The text may lie in this buffer (a value copied from another row): growing the buffer
  // would move it.
  if (!text.empty() && text.data() >= chars_.data() && text.data() < chars_.data() + chars_.size()) {
    const std::vector<Char> copy(text.begin(), text.end());
    return AppendTo(chars_, View(copy.data(), copy.size()));
  }
  return AppendTo(chars_, text);
}

template <typename Char>
void TTextColumn<Char>::GarbageAdded(size_t units) {
  garbage_ += units;
  if (garbage_ > GarbageFloor && garbage_ * 2 > chars_.size()) {
    if (dictionary_)
      CompactDictionary();
    else
      CompactPlain();
  }
}

// ---------------------------------------------------------------------------------------------
// Dictionary

template <typename Char>
size_t TTextColumn<Char>::Bucket(View text) const {
  const size_t mask = buckets_.size() - 1;
  size_t bucket = qHashBits(text.data(), text.size() * sizeof(Char)) & mask;
  while (true) {
    const uint32_t held = buckets_[bucket];
    if (held == 0 || Entry(held - 1) == text) return bucket;
    bucket = (bucket + 1) & mask;
  }
}

template <typename Char>
void TTextColumn<Char>::Rehash(size_t count) {
  buckets_.assign(count, 0);
  for (uint32_t code = 1; code < entries_.size(); ++code)
    buckets_[Bucket(Entry(code))] = code + 1;
}

template <typename Char>
uint32_t TTextColumn<Char>::Intern(View text) {
  if (text.empty()) return 0;
  if (buckets_.empty()) Rehash(64);
  const size_t bucket = Bucket(text);
  if (buckets_[bucket] != 0) return buckets_[bucket] - 1;
  const auto code = static_cast<uint32_t>(entries_.size());
  entries_.push_back(Append(text));
  uses_.push_back(0);
  ++unusedEntries_;  // until Use
  buckets_[bucket] = code + 1;
  // At most half full, so that probes stay short.
  if (entries_.size() * 2 > buckets_.size()) Rehash(buckets_.size() * 2);
  return code;
}

template <typename Char>
void TTextColumn<Char>::Use(uint32_t code) {
  if (code != 0 && uses_[code]++ == 0) --unusedEntries_;
}

template <typename Char>
void TTextColumn<Char>::Release(uint32_t code) {
  if (code == 0 || --uses_[code] != 0) return;
  ++unusedEntries_;
  if (unusedEntries_ > DictionaryFloor && unusedEntries_ * 2 > entries_.size()) CompactDictionary();
}

template <typename Char>
void TTextColumn<Char>::CompactDictionary() {
  std::vector<uint32_t> renumbered(entries_.size(), 0);
  std::vector<Char> chars;
  std::vector<uint64_t> entries{0};
  std::vector<uint32_t> uses{uses_[0]};
  chars.reserve(chars_.size() - std::min(garbage_, chars_.size()));
  for (uint32_t code = 1; code < entries_.size(); ++code) {
    if (uses_[code] == 0) continue;
    renumbered[code] = static_cast<uint32_t>(entries.size());
    entries.push_back(AppendTo(chars, Entry(code)));
    uses.push_back(uses_[code]);
  }
  chars_ = std::move(chars);
  entries_ = std::move(entries);
  uses_ = std::move(uses);
  for (uint32_t& code : codes_) code = renumbered[code];
  unusedEntries_ = 0;
  garbage_ = 0;
  size_t count = 64;
  while (count < entries_.size() * 2) count *= 2;
  Rehash(count);
  generation_ = NextGeneration();
}

// ---------------------------------------------------------------------------------------------
// Switching between the two forms

template <typename Char>
void TTextColumn<Char>::ToPlain() {
  // Every row gets a text of its own, in row order, so that a scan reads the buffer forwards.
  size_t units = 0;
  for (const uint32_t code : codes_) units += Entry(code).size();
  std::vector<Char> chars;
  chars.reserve(units);
  slots_.resize(codes_.size());
  for (size_t row = 0; row < codes_.size(); ++row) slots_[row] = AppendTo(chars, Entry(codes_[row]));
  chars_ = std::move(chars);
  dictionary_ = false;
  codes_ = {};
  entries_ = {0};
  uses_ = {0};
  buckets_ = {};
  unusedEntries_ = 0;
  garbage_ = 0;
  nextReview_ = std::max<size_t>(nextReview_, slots_.size() * 2);
  generation_ = NextGeneration();
}

template <typename Char>
void TTextColumn<Char>::ToDictionary() {
  const std::vector<Char> chars = std::move(chars_);
  const std::vector<uint64_t> places = std::move(slots_);
  chars_ = {};
  slots_ = {};
  dictionary_ = true;
  codes_.assign(places.size(), 0);
  for (size_t row = 0; row < places.size(); ++row) {
    const uint32_t code = Intern(ReadFrom(chars, places[row]));
    Use(code);
    codes_[row] = code;
  }
  garbage_ = 0;
  generation_ = NextGeneration();
}

// A plain column that has doubled since it was last looked at: back to a dictionary when its
// values repeat enough (at most a quarter of them distinct). Counting stops as soon as they
// cannot, so a column of distinct values costs one pass over a quarter of its rows.
template <typename Char>
void TTextColumn<Char>::Review() {
  nextReview_ = slots_.size() * 2;
  const size_t limit = slots_.size() / 4;
  std::vector<uint32_t> seen(64, 0);  // slot index + 1, open addressing over the texts
  size_t distinct = 0;
  for (size_t row = 0; row < slots_.size(); ++row) {
    const View text = Read(slots_[row]);
    size_t mask = seen.size() - 1;
    size_t bucket = qHashBits(text.data(), text.size() * sizeof(Char)) & mask;
    while (seen[bucket] != 0 && Read(slots_[seen[bucket] - 1]) != text) bucket = (bucket + 1) & mask;
    if (seen[bucket] != 0) continue;
    if (++distinct > limit) return;
    seen[bucket] = static_cast<uint32_t>(row + 1);
    if (distinct * 2 > seen.size()) {
      std::vector<uint32_t> grown(seen.size() * 2, 0);
      mask = grown.size() - 1;
      for (const uint32_t held : seen) {
        if (held == 0) continue;
        const View t = Read(slots_[held - 1]);
        size_t b = qHashBits(t.data(), t.size() * sizeof(Char)) & mask;
        while (grown[b] != 0) b = (b + 1) & mask;
        grown[b] = held;
      }
      seen = std::move(grown);
    }
  }
  ToDictionary();
}

template <typename Char>
void TTextColumn<Char>::CompactPlain() {
  std::vector<Char> chars;
  chars.reserve(chars_.size() - std::min(garbage_, chars_.size()));
  for (uint64_t& place : slots_) place = AppendTo(chars, Read(place));
  chars_ = std::move(chars);
  garbage_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Rows

template <typename Char>
void TTextColumn<Char>::Set(int row, View text) {
  const size_t r = static_cast<size_t>(row);
  if (dictionary_) {
    const uint32_t code = Intern(text);
    Use(code);
    const uint32_t old = codes_[r];
    codes_[r] = code;
    Release(old);
    if (entries_.size() - unusedEntries_ > DictionaryFloor &&
        (entries_.size() - unusedEntries_) * 2 > codes_.size())
      ToPlain();
    return;
  }
  const size_t old = UnitsOf(slots_[r]);
  slots_[r] = Append(text);
  GarbageAdded(old);
}

template <typename Char>
void TTextColumn<Char>::InsertSlot(int row) {
  const size_t r = static_cast<size_t>(row);
  if (dictionary_) {
    codes_.insert(codes_.begin() + static_cast<std::ptrdiff_t>(r), 0);
    return;
  }
  slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(r), 0);
  if (slots_.size() >= nextReview_) Review();
}

template <typename Char>
void TTextColumn<Char>::Erase(int row) {
  const size_t r = static_cast<size_t>(row);
  if (dictionary_) {
    const uint32_t old = codes_[r];
    codes_.erase(codes_.begin() + static_cast<std::ptrdiff_t>(r));
    Release(old);
    return;
  }
  const size_t old = UnitsOf(slots_[r]);
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(r));
  GarbageAdded(old);
}

template <typename Char>
void TTextColumn<Char>::Reserve(int rows) {
  if (dictionary_)
    codes_.reserve(static_cast<size_t>(rows));
  else
    slots_.reserve(static_cast<size_t>(rows));
}

template <typename Char>
void TTextColumn<Char>::Clear() {
  *this = TTextColumn();
}

template class TTextColumn<char16_t>;
template class TTextColumn<char>;

}  // namespace Kel
