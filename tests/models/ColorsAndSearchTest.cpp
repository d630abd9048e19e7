// Grid colours and record search for any view: the delegate colours the rows of a plain model
// (through a proxy too) by rules that name its columns, and the search walks a view's rows,
// selecting and scrolling to what it finds, in the order the view shows them.
#include <gtest/gtest.h>

#include <QTableView>

#include "Exceptions.h"
#include "KelGridColors.h"
#include "KelModels.h"
#include "TestPrinters.h"
#include "VectorTableModel.h"

namespace Kel {
namespace {

using Testing::TVectorTableModel;

void FillRows(TVectorTableModel& model, int count) {
  for (int i = 0; i < count; ++i) model.AppendRow({i, i % 13, QStringLiteral("n%1").arg(i)});
}

class TProbeDelegate : public TKelColorDelegate {
 public:
  QStyleOptionViewItem OptionOf(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initStyleOption(&option, index);
    return option;
  }
};

TEST(ColorsAndSearchTest, TheDelegateColoursRowsOfAnyModelByRulesOnItsColumns) {
  TVectorTableModel source({"Id", "Qty", "Name"});
  FillRows(source, 30);
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(&source);
  proxy.SetFilterText("Id >= 10");
  TKelGridColors colors;
  TKelRecordSetStyle* many = colors.RecordsInfo()->Add();
  many->SetFilter("Qty >= 10");
  many->SetColor(RGB(40, 60, 140));
  many->SetActive(true);
  TKelRecordSetStyle* one = colors.RecordsInfo()->Add();
  one->SetFilter("Name = 'n14'");
  one->SetDataField("Name");
  one->SetColor(RGB(255, 240, 200));
  one->Font()->SetStyle(TFontStyles{fsItalic});
  one->SetActive(true);
  TProbeDelegate delegate;
  delegate.SetGridColors(&colors);

  for (int row = 0; row < proxy.rowCount(); ++row) {
    const int qty = proxy.index(row, 1).data().toInt();
    const QStyleOptionViewItem option = delegate.OptionOf(proxy.index(row, 0));
    EXPECT_EQ(option.backgroundBrush.style() != Qt::NoBrush, qty >= 10) << row;
  }
  // Id 14 (Qty 1): the Name cell only, in the later rule's colour and font.
  const int row14 = 4;
  ASSERT_EQ(proxy.index(row14, 0).data(), 14);
  const QStyleOptionViewItem name = delegate.OptionOf(proxy.index(row14, 2));
  EXPECT_EQ(name.backgroundBrush.color(), QColor(255, 240, 200));
  EXPECT_TRUE(name.font.italic());
  EXPECT_EQ(name.palette.color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(delegate.OptionOf(proxy.index(row14, 1)).backgroundBrush.style(), Qt::NoBrush);
  // On the dark rule colour the default text turns white, whatever the palette.
  const int row23 = 13;
  ASSERT_EQ(proxy.index(row23, 1).data(), 10);
  EXPECT_EQ(delegate.OptionOf(proxy.index(row23, 0)).palette.color(QPalette::Text), QColor(Qt::white));
}

TEST(ColorsAndSearchTest, FindsFirstNextPriorAndLastInTheOrderTheViewShows) {
  TVectorTableModel source({"Id", "Qty", "Name"});
  FillRows(source, 40);  // Qty 3 or 7: Ids 3, 7, 16, 20, 29, 33
  QTableView view;
  view.setModel(&source);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.resize(300, 120);
  TKelViewSearch search(&view);
  search.SetExpression("Qty = 3 or Qty = 7");
  const auto at = [&view] { return view.currentIndex().row(); };

  ASSERT_TRUE(search.FindFirst());
  EXPECT_EQ(at(), 3);
  EXPECT_TRUE(view.selectionModel()->isRowSelected(3, QModelIndex()));
  ASSERT_TRUE(search.FindNext());
  EXPECT_EQ(at(), 7);
  ASSERT_TRUE(search.FindLast());
  EXPECT_EQ(at(), 33);
  EXPECT_TRUE(view.viewport()->rect().intersects(view.visualRect(view.currentIndex())))
      << "scrolled to";
  EXPECT_FALSE(search.FindNext()) << "nothing after the last";
  EXPECT_EQ(at(), 33);
  search.SetSearchInLoop(true);
  ASSERT_TRUE(search.FindNext());
  EXPECT_EQ(at(), 3);
  ASSERT_TRUE(search.FindPrior());
  EXPECT_EQ(at(), 33);

  // Another model in the view, sorted: the search follows it.
  TKelFilterProxyModel proxy;
  proxy.setSourceModel(&source);
  proxy.sort(0, Qt::DescendingOrder);
  view.setModel(&proxy);
  ASSERT_TRUE(search.FindFirst());
  EXPECT_EQ(proxy.index(at(), 0).data(), 33);
  source.setData(source.index(39, 1), 3, Qt::EditRole);
  ASSERT_TRUE(search.FindFirst());
  EXPECT_EQ(proxy.index(at(), 0).data(), 39) << "a changed row is seen";

  search.SetExpression("Nope = 1");
  EXPECT_THROW(search.FindNext(), Exception);
}

}  // namespace
}  // namespace Kel
