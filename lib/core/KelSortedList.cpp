#include "KelSortedList.h"

#include <algorithm>
#include <cstdint>

#include "Exceptions.h"
#include "KelTranslate.h"

namespace Kel {

void TKelSortedList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError(RtlMessage(RtlText::ListIndexError, index));
}

void* TKelSortedList::Items(int index) const {
  CheckIndex(index);
  return list_[index];
}

void TKelSortedList::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  if (sorted_)
    std::stable_sort(list_.begin(), list_.end(),
                     [this](void* a, void* b) { return CompareItems(a, b) < 0; });
}

// The sign of the difference: the difference itself would not fit an int for 64-bit references.
int TKelSortedList::CompareItems(void* a, void* b) {
  const auto x = reinterpret_cast<intptr_t>(a);
  const auto y = reinterpret_cast<intptr_t>(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

void TKelSortedList::Delete(int index) {
  CheckIndex(index);
  list_.removeAt(index);
}

bool TKelSortedList::Find(void* key, int& index) {
  if (!sorted_) {
    index = IndexOf(key);
    return index >= 0;
  }
  bool found = false;
  int lo = 0;
  int hi = Count() - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int compared = CompareKey(list_[mid], key);
    if (compared < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (compared == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int TKelSortedList::Add(void* item) {
  if (!sorted_) {
    list_.append(item);
    return Count() - 1;
  }
  int index = 0;
  if (Find(KeyOfItem(item), index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError(TranslateText(KelCoreText::DuplicateItem));
  }
  list_.insert(index, item);
  return index;
}

}  // namespace Kel
