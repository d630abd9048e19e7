// The lookup popup over 100 records: the thumb tells the record number, scroll requests move
// the dataset, the height snaps to whole rows, clicks on rows accept and clicks on the scroll bar
// do not, and only a data source the popup made itself is freed.
#include <gtest/gtest.h>

#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include "DataSet.h"
#include "KelDBListBox.h"
#include "NumberedRecords.h"

namespace Kel {
namespace {

class KelLookupPopupTest : public ::testing::Test {
 protected:
  KelLookupPopupTest() : records_(Testing::MakeNumberedRecords(100)), popup_(&form_) {
    form_.setGeometry(20, 20, 300, 100);
    form_.show();
    QApplication::setActiveWindow(&form_);
    popup_.SetListDataSet(records_.get());
    popup_.SetListField("Name");
    popup_.SetKeyField("Id");
    popup_.SetVisibleRows(10);
  }
  void Open() {
    popup_.PopupAtRect(&form_, Rect(10, 10, 200, 30),
                       [this](TKelPopupForm*, bool canceled) { results_.push_back(canceled); });
  }
  TKelLookupListBox* List() { return popup_.ListBox(); }
  QScrollBar* Bar() { return List()->verticalScrollBar(); }
  QPoint RowCenter(int row) {
    return QPoint(20, row * List()->RowHeight() + List()->RowHeight() / 2);
  }

  QWidget form_;
  std::unique_ptr<TMemDataSet> records_;
  TKelDBListBoxPopup popup_;
  std::vector<bool> results_;
};

TEST_F(KelLookupPopupTest, TheThumbStandsAtTheRecordNumber) {
  Open();
  ASSERT_EQ(List()->RowCount(), 10);
  popup_.SetKeyValue(50);
  EXPECT_EQ(records_->RecNo(), 50);
  EXPECT_EQ(Bar()->value(), 49);
  EXPECT_EQ(Bar()->pageStep(), 10);
  EXPECT_EQ(Bar()->minimum(), 0);
  EXPECT_EQ(Bar()->maximum() + Bar()->pageStep() - 1, 99);  // the classic range 0 .. 99
  EXPECT_EQ(List()->ListRecordCount(), 100);
  records_->Close();
  EXPECT_EQ(List()->ListRecordCount(), 0);
  EXPECT_EQ(Bar()->value(), 0);
}

TEST_F(KelLookupPopupTest, ScrollRequestsMoveTheDataset) {
  Open();
  popup_.SetKeyValue(50);
  Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(records_->RecNo(), 51);
  Bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(records_->RecNo(), 41);
  EXPECT_EQ(Bar()->value(), 40);
  Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(records_->RecNo(), 100);
  EXPECT_EQ(List()->TopIndex(), 90);
  Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(records_->RecNo(), 1);
  Bar()->setSliderPosition(20);  // the thumb dragged (tracking): to record 21
  EXPECT_EQ(records_->RecNo(), 21);
  EXPECT_EQ(popup_.KeyValue().AsInteger(), 50);  // scrolling is not choosing
  EXPECT_TRUE(results_.empty());
}

TEST_F(KelLookupPopupTest, WithoutTrackingTheThumbActsOnRelease) {
  Open();
  List()->SetTrackScrollBar(false);
  Bar()->setTracking(false);
  Bar()->setSliderDown(true);
  Bar()->setSliderPosition(30);
  EXPECT_EQ(records_->RecNo(), 1);  // dragging does nothing
  Bar()->setSliderDown(false);      // released: from the first record by the position
  EXPECT_EQ(records_->RecNo(), 31);
}

TEST_F(KelLookupPopupTest, ClicksOnRowsAcceptClicksOnTheScrollBarDoNot) {
  Open();
  QTest::mouseClick(Bar(), Qt::LeftButton, {}, QPoint(Bar()->width() / 2, Bar()->height() - 30));
  EXPECT_TRUE(popup_.isVisible());
  EXPECT_GT(records_->RecNo(), 1);  // the page request went through
  const int top = List()->TopIndex();
  QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, RowCenter(2));
  EXPECT_TRUE(popup_.isVisible());
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCenter(2));
  EXPECT_EQ(results_, std::vector<bool>{false});
  EXPECT_EQ(popup_.KeyValue().AsInteger(), top + 3);
}

TEST_F(KelLookupPopupTest, EnterAcceptsTheRecordChosenByKeys) {
  popup_.SetKeyValue(7);
  Open();
  EXPECT_EQ(QApplication::focusWidget(), List());
  QTest::keyClick(List(), Qt::Key_Down);
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(results_, std::vector<bool>{false});
  EXPECT_EQ(popup_.KeyValue().AsInteger(), 8);
}

TEST_F(KelLookupPopupTest, TheHeightHoldsWholeRows) {
  Open();
  const int row = List()->RowHeight();
  const QMargins margins = popup_.contentsMargins();
  const auto clientHeight = [&] { return popup_.height() - margins.top() - margins.bottom(); };
  EXPECT_EQ(clientHeight(), 10 * row);
  popup_.resize(popup_.width(), popup_.height() + row / 2);
  EXPECT_EQ(clientHeight(), 10 * row);
  // The user drags the lower edge down by two and a half rows.
  const QPoint edge(popup_.width() / 2, popup_.height() - 1);
  const QPoint target = edge + QPoint(0, 2 * row + row / 2);
  QTest::mousePress(&popup_, Qt::LeftButton, {}, edge);
  QTest::mouseMove(&popup_, target);
  QTest::mouseRelease(&popup_, Qt::LeftButton, {}, target);
  EXPECT_EQ(clientHeight(), 12 * row);
  EXPECT_EQ(List()->RowCount(), 12);
  EXPECT_EQ(Bar()->pageStep(), 12);
}

TEST_F(KelLookupPopupTest, TheOpenersLargerFontStillGivesWholeRows) {
  QFont font = form_.font();
  font.setPixelSize(23);
  form_.setFont(font);
  Open();
  const QMargins margins = popup_.contentsMargins();
  const int client = popup_.height() - margins.top() - margins.bottom();
  EXPECT_EQ(List()->font().pixelSize(), 23);
  EXPECT_EQ(client % List()->RowHeight(), 0);
  EXPECT_EQ(List()->RowCount(), client / List()->RowHeight());
}

TEST(KelLookupPopupSource, OnlyItsOwnDataSourceIsFreed) {
  auto records = Testing::MakeNumberedRecords(5);
  TKelDBListBoxPopup popup;
  popup.SetListDataSet(records.get());
  QPointer<TDataSource> own = popup.DataSource();
  ASSERT_TRUE(own);
  EXPECT_EQ(popup.ListDataSet(), records.get());
  TDataSource callers;
  popup.SetDataSource(&callers);
  EXPECT_TRUE(own.isNull());  // made by the popup: freed
  popup.SetListDataSet(records.get());  // the caller's source gets the dataset
  EXPECT_EQ(callers.DataSet(), records.get());
  popup.SetDataSource(nullptr);
  EXPECT_EQ(callers.DataSet(), records.get());  // the caller's source lives on
  EXPECT_EQ(popup.ListDataSet(), nullptr);
}

}  // namespace
}  // namespace Kel
