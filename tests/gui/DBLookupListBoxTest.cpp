// The lookup list over a real dataset: rows read by index, picking by mouse, keys and typed
// search, a key value that finds its record, and scrolling that leaves the dataset alone.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "DBLookupListBox.h"
#include "DataSet.h"
#include "Exceptions.h"
#include "Fields.h"
#include "MessageBeep.h"
#include "NumberedRecords.h"

namespace Kel {
namespace {

class DBLookupListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    records_ = Testing::MakeNumberedRecords(100);
    source_.SetDataSet(records_.get());
    list_.SetListSource(&source_);
    list_.SetListField("Name");
    list_.SetKeyField("Id");
    list_.resize(200, list_.RowHeight() * 10 + 2 * list_.frameWidth());
    list_.show();
    previousBeep_ = SetMessageBeepHook([this] { ++beeps_; });
  }
  void TearDown() override { SetMessageBeepHook(previousBeep_); }

  QPoint RowCenter(int row) const {
    return QPoint(20, row * list_.RowHeight() + list_.RowHeight() / 2);
  }

  std::unique_ptr<TMemDataSet> records_;
  TDataSource source_;
  TDBLookupListBox list_;
  int beeps_ = 0;
  TMessageBeepHook previousBeep_;
};

TEST_F(DBLookupListBoxTest, ClickingARowPicksItsKey) {
  ASSERT_EQ(list_.RowCount(), 10);
  int clicks = 0;
  list_.OnClick = [&](QObject*) { ++clicks; };
  QTest::mouseClick(list_.viewport(), Qt::LeftButton, {}, RowCenter(3));
  EXPECT_EQ(list_.KeyValue().AsInteger(), 4);
  EXPECT_EQ(list_.SelectedText(), "Item 004");
  EXPECT_EQ(records_->RecNo(), 4);
  EXPECT_EQ(clicks, 1);
}

TEST_F(DBLookupListBoxTest, KeysMoveTheSelectionAndTheViewFollows) {
  list_.SetKeyValue(10);
  EXPECT_EQ(records_->RecNo(), 10);
  QTest::keyClick(&list_, Qt::Key_Down);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 11);
  EXPECT_EQ(list_.TopIndex(), 1);  // record 11 is the last visible row
  QTest::keyClick(&list_, Qt::Key_End);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 100);
  EXPECT_EQ(list_.TopIndex(), 90);
  QTest::keyClick(&list_, Qt::Key_PageUp);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 91);
  QTest::keyClick(&list_, Qt::Key_Home);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 1);
  EXPECT_EQ(list_.TopIndex(), 0);
}

TEST_F(DBLookupListBoxTest, TypingSearchesTheListFieldAndRefusesWithABeep) {
  QTest::keyClicks(&list_, "item 05");
  EXPECT_EQ(list_.KeyValue().AsInteger(), 50);
  EXPECT_EQ(list_.SearchText(), "item 05");
  QTest::keyClick(&list_, Qt::Key_7);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 57);
  QTest::keyClick(&list_, Qt::Key_X);  // "item 057x" matches nothing
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(list_.SearchText(), "item 057");
  EXPECT_EQ(list_.KeyValue().AsInteger(), 57);
  QTest::keyClick(&list_, Qt::Key_Backspace);
  EXPECT_EQ(list_.SearchText(), "item 05");
  EXPECT_EQ(list_.KeyValue().AsInteger(), 50);
}

TEST_F(DBLookupListBoxTest, ScrollingMovesTheRowsNotTheSelection) {
  list_.SetKeyValue(3);
  list_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(list_.TopIndex(), 10);
  EXPECT_EQ(list_.KeyValue().AsInteger(), 3);
  EXPECT_EQ(records_->RecNo(), 3);
  EXPECT_EQ(list_.verticalScrollBar()->maximum(), 90);
  EXPECT_EQ(list_.RecordIndexAt(RowCenter(0)), 10);
}

TEST_F(DBLookupListBoxTest, FieldsAreCheckedAndAClosedListIsEmpty) {
  EXPECT_THROW(list_.SetListField("NoSuchField"), EDatabaseError);
  EXPECT_EQ(list_.ListField(), "Name");  // kept
  EXPECT_THROW(list_.SetKeyField("Name;Id"), EDatabaseError);
  EXPECT_EQ(list_.KeyField(), "Id");
  list_.SetListField("Name;City");
  records_->Close();
  EXPECT_EQ(list_.RecordCount(), 0);
  EXPECT_EQ(list_.RecordIndexAt(RowCenter(0)), -1);
  QTest::keyClick(&list_, Qt::Key_Down);  // nothing to move: no harm
  EXPECT_EQ(list_.SelectedIndex(), -1);
}

}  // namespace
}  // namespace Kel
