#pragma once
// TTextColumn: the texts of one column of the record store (UTF-16 for text columns, one byte
// a character for byte columns) without a heap block per value. Every text lies in one
// character buffer per column; a row finds its text in one of two ways, chosen from the data:
//   - dictionary: a column with few distinct values keeps each distinct text once and gives a
//     row the code of its text (4 bytes). Filters decide a condition once per code instead of
//     once per row. Code 0 is the empty text.
//   - plain: a column of mostly different values gives each row the place of its own text
//     (8 bytes: 40 bits offset, 24 bits length; longer texts carry their length in front).
// A column starts as a dictionary and turns plain when distinct values grow past half its
// rows; a plain column is looked at again as it doubles and turns back when its values repeat
// enough. Edits write a new text at the end of the buffer: the old one becomes garbage, and
// the buffer is compacted once garbage is the larger part. Entries no row uses any more are
// dropped the same way; that renumbers the codes, which Generation() tells.
//
// Null is not the column's business: a null row holds the empty text, and the record store
// keeps the null flags.

#include <QtGlobal>
#include <cstdint>
#include <string_view>
#include <vector>

#include "PlatformExport.h"

namespace Kel {

template <typename Char>
class KEL_PLATFORM_EXPORT TTextColumn {
 public:
  using View = std::basic_string_view<Char>;

  int Size() const { return static_cast<int>(dictionary_ ? codes_.size() : slots_.size()); }
  View At(int row) const {
    const size_t r = static_cast<size_t>(row);
    return Read(dictionary_ ? entries_[codes_[r]] : slots_[r]);
  }

  bool IsDictionary() const { return dictionary_; }
  // Dictionary columns only.
  uint32_t CodeAt(int row) const { return codes_[static_cast<size_t>(row)]; }
  const uint32_t* Codes() const { return codes_.data(); }
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  View Entry(uint32_t code) const { return Read(entries_[code]); }
  // Changes whenever codes may have changed their meaning (entries renumbered, the column
  // cleared, turned plain or back), to a number no column had before: what was worked out per
  // code holds while it stays.
  uint64_t Generation() const { return generation_; }

  void Set(int row, View text);
  void InsertSlot(int row);  // an empty text
  void Erase(int row);
  void Reserve(int rows);
  void Clear();

 private:
  static constexpr uint64_t LengthBits = 24;
  static constexpr uint64_t LongLength = (uint64_t{1} << LengthBits) - 1;
  // The units a long text's length takes in front of it.
  static constexpr size_t LengthUnits = sizeof(uint64_t) / sizeof(Char);

  View Read(uint64_t place) const { return ReadFrom(chars_, place); }
  static View ReadFrom(const std::vector<Char>& chars, uint64_t place);
  // Appends a text to a buffer; returns its place (0 for the empty text).
  static uint64_t AppendTo(std::vector<Char>& chars, View text);
  uint64_t Append(View text);
  size_t UnitsOf(uint64_t place) const;  // what a place takes of the buffer

  uint32_t Intern(View text);
  void Use(uint32_t code);
  void Release(uint32_t code);
  void Rehash(size_t buckets);
  size_t Bucket(View text) const;

  void ToPlain();
  void ToDictionary();
  void Review();
  void CompactPlain();
  void CompactDictionary();
  void GarbageAdded(size_t units);
  static uint64_t NextGeneration();

  bool dictionary_ = true;
  std::vector<Char> chars_;        // the texts, one after another
  std::vector<uint64_t> slots_;    // plain: each row's place
  std::vector<uint32_t> codes_;    // dictionary: each row's entry
  std::vector<uint64_t> entries_{0};  // dictionary: each entry's place; entry 0 is empty
  std::vector<uint32_t> uses_{0};     // dictionary: rows per entry
  std::vector<uint32_t> buckets_;     // dictionary: entry + 1 by hash, 0 free (open addressing)
  size_t unusedEntries_ = 0;
  size_t garbage_ = 0;  // buffer units no row refers to
  size_t nextReview_ = 1 << 16;
  uint64_t generation_ = NextGeneration();
};

extern template class TTextColumn<char16_t>;
extern template class TTextColumn<char>;

}  // namespace Kel
