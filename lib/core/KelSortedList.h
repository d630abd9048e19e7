#pragma once
// Sorted lists of references with a comparison that descendants replace.
//
// TKelSortedList keeps untyped references (void*), ordered by CompareItems when Sorted; the list
// does not own what it refers to. Find searches by key with CompareKey; here the key of an item
// is the item itself. TKelSortedKeyList separates the two: GetKey gives an item's key, the list is
// ordered by the keys, and Find takes a key. A descendant that sorts by some number or text
// overrides GetKey and, when the keys are not integers carried in the references, CompareKeys.
//
//   class BySize : public TKelSortedKeyList {  // the key is a size carried in the reference
//     void* GetKey(void* item) override {
//       return reinterpret_cast<void*>(intptr_t(static_cast<Candidate*>(item)->size));
//     }
//   };
//
// Duplicates (equal keys) are ignored (Add returns the existing position), accepted (the new
// item goes before the equal ones) or refused with EListError "Can't insert duplicate item".

#include <QList>

#include "KelExport.h"
#include "Strings.h"

namespace Kel {

namespace KelCoreText {
// Raised by TKelSortedList::Add; meant to pass through the library's translation hook.
inline constexpr const char* DuplicateItem = "Can't insert duplicate item";
}  // namespace KelCoreText

class KEL_EXPORT TKelSortedList {
 public:
  TKelSortedList() = default;
  TKelSortedList(const TKelSortedList&) = delete;
  TKelSortedList& operator=(const TKelSortedList&) = delete;
  virtual ~TKelSortedList() = default;

  int Count() const { return static_cast<int>(list_.size()); }
  void* Items(int index) const;
  const QList<void*>& List() const { return list_; }

  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool Sorted() const { return sorted_; }
  // Switching sorting on orders the items already there (stably).
  void SetSorted(bool value);

  // < 0, 0, > 0 as item's key is smaller than, equal to or greater than key.
  virtual int CompareKey(void* item, void* key) { return CompareItems(item, key); }
  // Default: the references taken as integers.
  virtual int CompareItems(void* a, void* b);
  // Removes the reference; the object is not freed.
  virtual void Delete(int index);

  // Sorted: binary search; index is where the key is or would go (the first of equal ones when
  // duplicates are accepted). Not sorted: the position of key itself, -1 when absent.
  bool Find(void* key, int& index);
  // The position of the item; see the class comment for duplicates.
  int Add(void* item);
  int IndexOf(void* item) const { return static_cast<int>(list_.indexOf(item)); }
  void Clear() { list_.clear(); }

 protected:
  // The key Add searches with for an item.
  virtual void* KeyOfItem(void* item) { return item; }

 private:
  // Raises EListError for an index outside 0..Count()-1.
  void CheckIndex(int index) const;

  QList<void*> list_;
  TDuplicates duplicates_ = dupIgnore;
  bool sorted_ = true;
};

class TKelSortedKeyList : public TKelSortedList {
 public:
  // Default: the item itself.
  virtual void* GetKey(void* item) { return item; }
  // Default: the keys taken as integers.
  virtual int CompareKeys(void* a, void* b) { return TKelSortedList::CompareItems(a, b); }

  int CompareKey(void* item, void* key) override { return CompareKeys(GetKey(item), key); }
  int CompareItems(void* a, void* b) override { return CompareKeys(GetKey(a), GetKey(b)); }

 protected:
  void* KeyOfItem(void* item) override { return GetKey(item); }
};

}  // namespace Kel
