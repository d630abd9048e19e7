// TKelSortedList and TKelSortedKeyList: binary search, the three duplicate rules, unsorted lists,
// and a key list ordered by a number its items carry.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Exceptions.h"
#include "KelSortedList.h"

using namespace Kel;

namespace {

void* Ref(intptr_t n) { return reinterpret_cast<void*>(n); }
intptr_t Num(void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<intptr_t> Numbers(const TKelSortedList& list) {
  std::vector<intptr_t> numbers;
  for (void* item : list.List()) numbers.push_back(Num(item));
  return numbers;
}

struct Candidate {
  int size;
  const char* name;
};

// Ordered by the candidates' sizes, as the filter reader keeps its template candidates.
class CandidatesBySize : public TKelSortedKeyList {
 public:
  void* GetKey(void* item) override { return Ref(static_cast<Candidate*>(item)->size); }
};

TEST(SortedList, KeepsReferencesInOrderAndFindsThem) {
  TKelSortedList list;
  for (intptr_t n : {30, 10, 20}) list.Add(Ref(n));
  EXPECT_EQ(Numbers(list), (std::vector<intptr_t>{10, 20, 30}));
  int index = -1;
  EXPECT_TRUE(list.Find(Ref(20), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(Ref(25), index));
  EXPECT_EQ(index, 2);  // where it would go
  EXPECT_FALSE(list.Find(Ref(99), index));
  EXPECT_EQ(index, 3);
}

TEST(SortedList, ReferencesFarApartCompareByTheirOrderNotByATruncatedDifference) {
  if (sizeof(void*) < 8) GTEST_SKIP() << "needs 64-bit references";
  TKelSortedList list;
  const intptr_t far = intptr_t(1) << 40;
  for (intptr_t n : {far, intptr_t(1), far + 1, intptr_t(2)}) list.Add(Ref(n));
  EXPECT_EQ(Numbers(list), (std::vector<intptr_t>{1, 2, far, far + 1}));
}

TEST(SortedList, IgnoringDuplicatesReturnsTheExistingIndexAndKeepsOneCopy) {
  TKelSortedList list;
  list.Add(Ref(1));
  list.Add(Ref(5));
  list.Add(Ref(9));
  EXPECT_EQ(list.Add(Ref(5)), 1);
  EXPECT_EQ(list.Count(), 3);
}

TEST(SortedList, RefusingDuplicatesRaisesAndLeavesTheListAsItWas) {
  TKelSortedList list;
  list.SetDuplicates(dupError);
  list.Add(Ref(1));
  list.Add(Ref(5));
  try {
    list.Add(Ref(5));
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "Can't insert duplicate item");
  }
  EXPECT_EQ(Numbers(list), (std::vector<intptr_t>{1, 5}));
}

TEST(SortedKeyList, AcceptedDuplicatesGoBeforeTheEqualOnesAlreadyThere) {
  Candidate a{3, "a"}, b{1, "b"}, c{3, "c"}, d{3, "d"}, e{2, "e"};
  CandidatesBySize list;
  list.SetDuplicates(dupAccept);
  for (Candidate* candidate : {&a, &b, &c, &d, &e}) list.Add(candidate);
  QStringList order;
  for (void* item : list.List()) order << static_cast<Candidate*>(item)->name;
  EXPECT_EQ(order, (QStringList{"b", "e", "d", "c", "a"}));
}

TEST(SortedKeyList, FindTakesAKeyNotAnItem) {
  Candidate small{1, "small"}, big{7, "big"};
  CandidatesBySize list;
  list.Add(&big);
  list.Add(&small);
  int index = -1;
  ASSERT_TRUE(list.Find(Ref(7), index));
  EXPECT_EQ(list.Items(index), &big);
  EXPECT_FALSE(list.Find(Ref(4), index));
  EXPECT_EQ(index, 1);
}

TEST(SortedKeyList, IgnoredDuplicatesCompareByKey) {
  Candidate first{4, "first"}, same{4, "same size"};
  CandidatesBySize list;
  list.Add(&first);
  EXPECT_EQ(list.Add(&same), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), &first);
}

TEST(SortedList, AnUnsortedListAppendsAndFindsByIdentity) {
  TKelSortedList list;
  list.SetSorted(false);
  for (intptr_t n : {3, 1, 3}) list.Add(Ref(n));
  EXPECT_EQ(Numbers(list), (std::vector<intptr_t>{3, 1, 3}));
  int index = 99;
  EXPECT_TRUE(list.Find(Ref(1), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(Ref(2), index));
  EXPECT_EQ(index, -1);
  list.SetSorted(true);
  EXPECT_EQ(Numbers(list), (std::vector<intptr_t>{1, 3, 3}));
}

}  // namespace
