// Datasets whose source hands its records over as the cursor moves: what reads on, what reads
// everything, and that callers see the same records as from a source read at once.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "DB.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

// A source of `rows` numbered records ("N", "Name") that hands over `firstBatch` at open and
// then as many as asked for; it can be told to fail once it has handed over some.
class TDripDataSet : public TDataSet {
 public:
  TDripDataSet(int rows, int firstBatch) : rows_(rows), firstBatch_(firstBatch) {}

  int handed = 0;       // records handed over since the last open
  int failAfter = -1;   // fail when asked for more after this many
  int fetchCalls = 0;

 protected:
  void InternalInitFieldDefs() override {
    MutableFieldDefs() = {{"N", ftInteger, 0, false, false}, {"Name", ftString, 20, false, false}};
  }
  void InternalLoad(TRecordStore& store) override {
    handed = 0;
    Hand(store, firstBatch_);
  }
  int InternalFetch(TRecordStore& store, int count) override {
    ++fetchCalls;
    if (failAfter >= 0 && handed >= failAfter) throw EDatabaseError("the source went away");
    return Hand(store, count);
  }
  bool InternalFetchedAll() const override { return handed >= rows_; }

 private:
  int Hand(TRecordStore& store, int count) {
    int n = 0;
    for (; handed < rows_ && (count < 0 || n < count); ++n, ++handed)
      store.AppendRow({Variant(handed + 1), Variant(QStringLiteral("row %1").arg(handed + 1))});
    return n;
  }

  int rows_;
  int firstBatch_;
};

int N(const TDataSet& data) { return data.FieldByName("N")->AsInteger(); }

TEST(DataSetFetching, NavigationReadsOnlyAsFarAsItGoes) {
  TDripDataSet data(1000, 10);
  data.Open();
  EXPECT_EQ(data.FetchedRecordCount(), 10);
  EXPECT_FALSE(data.AllRecordsFetched());
  EXPECT_FALSE(data.IsEmpty());
  for (int i = 0; i < 9; ++i) data.Next();
  EXPECT_EQ(N(data), 10);
  EXPECT_EQ(data.FetchedRecordCount(), 10) << "nothing read before it is needed";
  data.Next();
  EXPECT_EQ(N(data), 11);
  EXPECT_FALSE(data.Eof()) << "the end of the records read so far is not the end";
  EXPECT_LT(data.FetchedRecordCount(), 1000);
  EXPECT_EQ(data.MoveBy(300), 300);
  EXPECT_EQ(N(data), 311);
  data.SetRecNo(500);
  EXPECT_EQ(N(data), 500);
  EXPECT_EQ(data.RecordValue(699, data.FieldByName("N")).AsInteger(), 700) << "grids read on";
  EXPECT_LT(data.FetchedRecordCount(), 1000);
  EXPECT_EQ(data.MoveBy(100000), 500) << "moving past the end stops at the last record";
  EXPECT_TRUE(data.Eof());
  EXPECT_TRUE(data.AllRecordsFetched());
  data.Prior();
  EXPECT_EQ(N(data), 999);
}

TEST(DataSetFetching, LastRecordCountAndFiltersReadEverything) {
  TDripDataSet data(250, 10);
  data.Open();
  EXPECT_EQ(data.RecordCount(), 250);
  data.Close();
  data.Open();
  data.Last();
  EXPECT_EQ(N(data), 250);
  EXPECT_TRUE(data.Eof());
  data.Close();
  data.Open();
  data.SetFilter("N > 240 or N = 3");
  data.SetFiltered(true);
  EXPECT_TRUE(data.AllRecordsFetched());
  EXPECT_EQ(data.RecordCount(), 11);
  data.Close();
  data.Open();
  EXPECT_TRUE(data.AllRecordsFetched()) << "a filtered dataset opens with every record";
  EXPECT_EQ(N(data), 3);
  data.SetFiltered(false);
  EXPECT_EQ(data.RecordCount(), 250);
}

TEST(DataSetFetching, SearchesReadOnUntilTheyFind) {
  TDripDataSet data(1000, 10);
  data.Open();
  EXPECT_TRUE(data.Locate("Name", Variant("row 150")));
  EXPECT_EQ(N(data), 150);
  EXPECT_LT(data.FetchedRecordCount(), 1000) << "Locate stops reading where it finds";
  EXPECT_EQ(data.Lookup("N", Variant(420), "Name").AsString(), "row 420");
  EXPECT_EQ(N(data), 150) << "Lookup does not move";
  EXPECT_FALSE(data.Locate("Name", Variant("row 5000")));
  EXPECT_TRUE(data.AllRecordsFetched());
  EXPECT_EQ(N(data), 150) << "a failed search leaves the cursor";
}

TEST(DataSetFetching, BookmarksPastTheRecordsRead) {
  TDripDataSet data(500, 10);
  data.Open();
  data.SetRecNo(321);
  const TBookmark mark = data.GetBookmark();
  const TBookmark early = (data.First(), data.GetBookmark());
  data.Close();
  data.Open();
  EXPECT_EQ(data.FetchedRecordCount(), 10);
  EXPECT_EQ(data.CompareBookmarks(early, mark), -1);
  EXPECT_TRUE(data.BookmarkValid(mark));
  data.GotoBookmark(mark);
  EXPECT_EQ(N(data), 321);
  TBookmark nowhere(sizeof(int64_t), '\x7f');
  EXPECT_FALSE(data.BookmarkValid(nowhere));
  EXPECT_THROW(data.GotoBookmark(nowhere), EDatabaseError);
}

TEST(DataSetFetching, EditingWhileRecordsAreStillToCome) {
  TDripDataSet data(300, 10);
  data.Open();
  data.SetRecNo(5);
  data.Insert();
  data.FieldByName("N")->SetAsInteger(-1);
  data.Post();
  EXPECT_EQ(N(data), -1);
  EXPECT_FALSE(data.AllRecordsFetched()) << "inserting at the cursor needs no more records";
  data.Next();
  EXPECT_EQ(N(data), 5);
  data.Delete();
  EXPECT_EQ(N(data), 6);
  data.Append();
  data.FieldByName("N")->SetAsInteger(-2);
  data.Post();
  EXPECT_TRUE(data.AllRecordsFetched()) << "an appended record goes after the last one";
  EXPECT_EQ(data.RecNo(), 301);
  data.Prior();
  EXPECT_EQ(N(data), 300);
  data.First();
  int count = 0, previous = 0;
  bool ordered = true;
  for (; !data.Eof(); data.Next(), ++count) {
    if (N(data) > 0 && N(data) <= previous) ordered = false;
    if (N(data) > 0) previous = N(data);
  }
  EXPECT_EQ(count, 301) << "300 - 1 deleted + 2 added";
  EXPECT_TRUE(ordered) << "no record read twice or out of turn";
}

TEST(DataSetFetching, AFailingSourceKeepsWhatItHandedOver) {
  TDripDataSet data(1000, 10);
  data.Open();
  data.failAfter = 10;
  int scrolls = 0;
  data.BeforeScroll = [&](TDataSet*) { ++scrolls; };
  data.AfterScroll = [&](TDataSet*) { --scrolls; };
  for (int i = 0; i < 9; ++i) data.Next();
  EXPECT_THROW(data.Next(), EDatabaseError);
  EXPECT_EQ(scrolls, 0) << "no scroll begun that does not end";
  EXPECT_EQ(N(data), 10) << "the cursor stays on the last record read";
  EXPECT_THROW(data.RecordCount(), EDatabaseError) << "the count is not known";
  data.First();
  EXPECT_EQ(N(data), 1);
}

}  // namespace
}  // namespace Kel
