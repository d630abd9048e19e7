// Window helpers of KelUtils over real Qt widgets: scroll bars by orientation with the classic
// range-and-page convention, dialog units from a widget's font, and centred rectangles.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QScrollBar>
#include <QSignalSpy>

#include "KelUtils.h"

namespace Kel {
namespace {

TEST(KelScrollBars, RangeIsTheExtentAndPageTheVisiblePart) {
  QScrollBar bar(Qt::Vertical);
  SetScrollRangePage(&bar, 0, 99, 10);
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 90);  // the last page starts at 90
  EXPECT_EQ(bar.pageStep(), 10);
  SetScrollRangePage(&bar, 0, 5, 10);  // everything visible: nothing to scroll
  EXPECT_EQ(bar.maximum(), 0);
  SetScrollRangePage(&bar, 5, 20, 0);
  EXPECT_EQ(bar.minimum(), 5);
  EXPECT_EQ(bar.maximum(), 20);
}

TEST(KelScrollBars, PositionIsSetOnlyWhenItChanges) {
  QScrollBar bar(Qt::Horizontal);
  SetScrollRangePage(&bar, 0, 99, 10);
  QSignalSpy spy(&bar, &QScrollBar::valueChanged);
  SetScrollPosIfChanged(&bar, 40);
  SetScrollPosIfChanged(&bar, 40);
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(ScrollPosOf(&bar), 40);
  SetScrollPosIfChanged(nullptr, 3);  // no bar: nothing happens
  EXPECT_EQ(ScrollPosOf(static_cast<QScrollBar*>(nullptr)), 0);
}

TEST(KelScrollBars, ScrollAreaBarsByOrientation) {
  QAbstractScrollArea area;
  SetScrollRangePage(&area, Qt::Horizontal, 0, 199, 50);
  SetScrollRangePage(&area, Qt::Vertical, 0, 49, 10);
  EXPECT_EQ(area.horizontalScrollBar()->maximum(), 150);
  EXPECT_EQ(area.verticalScrollBar()->maximum(), 40);
  SetScrollPosIfChanged(&area, Qt::Vertical, 7);
  EXPECT_EQ(ScrollPosOf(&area, Qt::Vertical), 7);
  EXPECT_EQ(ScrollPosOf(&area, Qt::Horizontal), 0);
}

TEST(KelDialogUnits, FollowTheWidgetsFont) {
  QWidget small;
  QFont font = small.font();
  font.setPixelSize(10);
  small.setFont(font);
  QWidget large;
  font.setPixelSize(30);
  large.setFont(font);
  // Four horizontal units are one average letter width, eight vertical ones the font height.
  const QFontMetrics metrics(large.font());
  const double averageLetter =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
  EXPECT_NEAR(DialogUnitsToPixelsX(4, &large), averageLetter, 1.0);
  EXPECT_EQ(DialogUnitsToPixelsY(8, &large), metrics.height());
  EXPECT_GT(DialogUnitsToPixelsX(100, &large), 2 * DialogUnitsToPixelsX(100, &small));
  EXPECT_EQ(DialogUnitsToPixelsX(0, &large), 0);
  EXPECT_EQ(DialogUnitsToPixelsY(-8, &large), -metrics.height());
  EXPECT_GT(DialogUnitsToPixelsY(8), 0);  // the application's font
}

TEST(KelRectangles, CentredWithOffsetsHalvedTowardsZero) {
  EXPECT_EQ(CenterRect(Rect(0, 0, 10, 10), Rect(0, 0, 25, 25)), Rect(7, 7, 17, 17));
  EXPECT_EQ(CenterRect(Rect(100, 100, 104, 102), Rect(10, 20, 20, 30)), Rect(13, 24, 17, 26));
  // A larger inner rectangle sticks out evenly: -5 / 2 is -2, not -3.
  EXPECT_EQ(CenterRect(Rect(0, 0, 30, 30), Rect(0, 0, 25, 25)), Rect(-2, -2, 28, 28));
  EXPECT_EQ(RectWidth(Rect(3, 4, 10, 20)), 7);
  EXPECT_EQ(RectHeight(Rect(3, 4, 10, 20)), 16);
}

TEST(KelRectangles, QtBoundaryKeepsTheExclusiveEdges) {
  const TRect r = Rect(2, 3, 12, 8);
  const QRect q = r.ToQRect();
  EXPECT_EQ(q.width(), 10);
  EXPECT_EQ(q.right(), 11);
  EXPECT_EQ(TRect::FromQRect(q), r);
  EXPECT_TRUE(r.Contains(Point(11, 7)));
  EXPECT_FALSE(r.Contains(Point(12, 7)));
}

}  // namespace
}  // namespace Kel
