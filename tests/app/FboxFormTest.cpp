// The filter window on the sample table: what its buttons, switches and grid do to the real
// datasets, checked against the records the sample table itself holds (never against fixed
// counts: the sample data grows).
#include <gtest/gtest.h>

#include "ClickCheckBox.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <set>

#include "Buttons.h"
#include "DBGrid.h"
#include "DBGridModel.h"
#include "DB.h"
#include "DBTables.h"
#include "DataSource.h"
#include "DataSourceDlg.h"
#include "DateUtils.h"
#include "KelCalPopup.h"
#include "DemoFormParts.h"
#include "FboxToolPanel.h"
#include "Gallery.h"
#include "Fields.h"
#include "KelExprEval.h"
#include "KelFltBox.h"
#include "KelPopupCalc.h"
#include "KelPrmListBox.h"
#include "ListBoxDemoPage.h"
#include "fboxunit.h"

namespace Kel {
namespace {

const char* const kSampleFilter =
    "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and "
    "[Length (cm)] < 150)";

struct TFish {
  int species = 0;
  QString category;
  Variant length;
};

// Every biolife record as the database holds it, read apart from the window.
std::vector<TFish> AllFish() {
  TTable table;
  table.SetDatabaseName(QStringLiteral("DBDEMOS"));
  table.SetTableName(QStringLiteral("biolife"));
  table.Open();
  std::vector<TFish> fish;
  for (table.First(); !table.Eof(); table.Next())
    fish.push_back({table.FieldByName("Species No")->AsInteger(),
                    table.FieldByName("Category")->AsString(),
                    table.FieldByName("Length (cm)")->Value()});
  return fish;
}

// The three sample conditions, worked out by hand (a missing length is no "less than").
bool MatchesSample(const TFish& fish, const QString& category = QStringLiteral("Shark")) {
  const bool shortOne = !fish.length.IsEmptyOrNull() && fish.length.AsDouble() < 150;
  return fish.category == category ||
         (fish.species >= 90080 && fish.species <= 90230 && shortOne);
}

std::set<int> SampleSpecies(const QString& category = QStringLiteral("Shark")) {
  std::set<int> species;
  for (const TFish& fish : AllFish())
    if (MatchesSample(fish, category)) species.insert(fish.species);
  return species;
}

// The species of the records a dataset shows now, read without moving its cursor.
std::set<int> ShownSpecies(TDataSet* dataSet) {
  std::set<int> species;
  const TField* field = dataSet->FieldByName("Species No");
  for (int row = 0; row < dataSet->RecordCount(); ++row)
    species.insert(dataSet->RecordValue(row, field).AsInteger());
  return species;
}

class FboxFormTest : public ::testing::Test {
 protected:
  FboxFormTest() {
    previousHook_ = SetDemoMessageHook([this](QWidget*, const QString& text) { messages << text; });
    form = std::make_unique<TFboxForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  ~FboxFormTest() override {
    form.reset();
    SetDemoMessageHook(previousHook_);
  }

  template <class T>
  T* Child(const char* name) {
    T* child = form->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  TFboxToolPanel* Tools() { return form->ToolPanel(); }
  TDBGrid* Grid() { return form->DBGrid(); }
  TDBGridModel* Model() { return Grid()->GridModel(); }
  int ColumnOf(const char* fieldName) {
    return Model()->ColumnOfField(form->Table()->FieldByName(QLatin1String(fieldName)));
  }
  void ClickTitle(int column) {
    QHeaderView* header = Grid()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }
  void ReleaseFilter() {
    ASSERT_TRUE(Tools()->FilterStateBtn->Down());
    QTest::mouseClick(Tools()->FilterStateBtn, Qt::LeftButton);
    ASSERT_FALSE(Tools()->FilterStateBtn->Down());
    ASSERT_FALSE(form->Table()->Filtered());
  }
  // Rows (from 0) of the table as shown whose record the sample conditions select.
  std::vector<int> MatchingRows() {
    TTable* table = form->Table();
    const TField* species = table->FieldByName("Species No");
    const TField* category = table->FieldByName("Category");
    const TField* length = table->FieldByName("Length (cm)");
    std::vector<int> rows;
    for (int row = 0; row < table->RecordCount(); ++row) {
      const TFish fish{table->RecordValue(row, species).AsInteger(),
                       table->RecordValue(row, category).AsString(),
                       table->RecordValue(row, length)};
      if (MatchesSample(fish)) rows.push_back(row);
    }
    return rows;
  }
  int GridRow() { return Grid()->currentIndex().row(); }
  // The user picks the orders table in the data source dialog.
  void OpenOrders() {
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<TKelDataSourceDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->TableNameEdit->setEditText(QStringLiteral("orders"));
      dialog->accept();
    });
    QTest::mouseClick(Tools()->ChangeDBBtn, Qt::LeftButton);
    ASSERT_EQ(form->Table()->TableName(), "orders");
  }

  QStringList messages;
  std::unique_ptr<TFboxForm> form;

 private:
  TDemoMessageHook previousHook_;
};

TEST_F(FboxFormTest, StartsFilteredByTheThreeSampleConditions) {
  EXPECT_EQ(form->windowTitle(), "Kel Sievra Demo");
  TKelFltBox* sievra = form->Sievra();
  ASSERT_EQ(sievra->Items()->Count(), 3);
  EXPECT_EQ(sievra->FilterStr().toStdString(), kSampleFilter);
  EXPECT_EQ(sievra->AllowedUsageIDs(), "0");
  // The start-up run of the apply button pressed the filter button and filtered the table.
  EXPECT_TRUE(Tools()->FilterStateBtn->Down());
  TTable* table = form->Table();
  EXPECT_TRUE(table->Filtered());
  EXPECT_EQ(table->Filter(), sievra->FilterStr());
  const std::set<int> expected = SampleSpecies();
  ASSERT_FALSE(expected.empty());
  ASSERT_LT(expected.size(), AllFish().size()) << "the sample conditions must leave records out";
  EXPECT_EQ(ShownSpecies(table), expected);
  // The grid shows those records, the memos the texts.
  EXPECT_EQ(Model()->rowCount(), table->RecordCount());
  EXPECT_EQ(Child<QPlainTextEdit>("LookMemo")->toPlainText(), sievra->FilterStr());
  EXPECT_TRUE(Child<QPlainTextEdit>("SQLLookMemo")->toPlainText().startsWith("Select * from biolife"));
  EXPECT_TRUE(Tools()->RunFilterBtn->isEnabled());
  EXPECT_FALSE(Tools()->ClearColorsBtn->isEnabled());
  EXPECT_TRUE(Child<QCheckBox>("HookFiltCheck")->isEnabled());
  // The memo shows the notes of the grid's record.
  EXPECT_EQ(Child<QPlainTextEdit>("DBMemo")->toPlainText(), table->FieldByName("Notes")->AsString());
}

TEST_F(FboxFormTest, RemovingEveryConditionDisablesTheButtonsAndReleasesTheFilter) {
  TKelFltBox* sievra = form->Sievra();
  sievra->setFocus();
  sievra->SetItemIndex(0);
  // The first condition holds the two indented ones: one Delete removes all three.
  QTest::keyClick(sievra, Qt::Key_Delete);
  ASSERT_EQ(sievra->Items()->Count(), 0);
  EXPECT_TRUE(sievra->FilterStr().isEmpty());
  EXPECT_FALSE(Tools()->FilterStateBtn->Down());
  for (TSpeedButton* button : {Tools()->FilterStateBtn, Tools()->AddColorBtn, Tools()->FindFirstBtn,
                               Tools()->FindNextBtn, Tools()->FindPriorBtn, Tools()->FindLastBtn,
                               Tools()->RunFilterBtn})
    EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
  EXPECT_FALSE(form->Table()->Filtered());
  EXPECT_EQ(form->Table()->RecordCount(), static_cast<int>(AllFish().size()));
  EXPECT_FALSE(Child<QCheckBox>("HookFiltCheck")->isEnabled());
  EXPECT_TRUE(messages.isEmpty());

  // Pressed anyway (the enabled state is not all that guards it), the filter button refuses.
  Tools()->FilterStateBtn->SetDown(true);
  form->FilterStateBtnClick();
  EXPECT_FALSE(Tools()->FilterStateBtn->Down());
  form->AddColorBtnClick();
  EXPECT_EQ(messages, QStringList({
      "You cannot activate filter while not entered valid filter condition.",
      "You cannot add new coloring to the grid table beause of absence of valid filter condition."}));
  EXPECT_EQ(form->GridColors()->RecordsInfo()->Count(), 0);
}

TEST_F(FboxFormTest, ServerBasedOffersContainsForTextFieldsAndHidesItAgain) {
  TKelFltBox* sievra = form->Sievra();
  const auto offersContains = [sievra] {
    const QString category = sievra->Builder()->GetFieldCategory(QStringLiteral("Category"));
    for (const TKelFltBoxTemplate* offered :
         sievra->Templates()->Offered(category, sievra->AllowedUsageIDs()))
      if (offered->CaptionID() == "contains") return true;
    return false;
  };
  EXPECT_FALSE(offersContains());
  auto* serverBased = Child<QCheckBox>("ServerBasedCheckBox");
  Testing::ClickCheckBox(serverBased);
  ASSERT_TRUE(serverBased->isChecked());
  EXPECT_TRUE(offersContains());
  EXPECT_EQ(form->DataSource()->DataSet(), form->Query());
  EXPECT_TRUE(form->Query()->Active());
  EXPECT_FALSE(Tools()->FilterStateBtn->Down());
  // The query runs the statement that the conditions make: the same records as the filter.
  EXPECT_EQ(ShownSpecies(form->Query()), SampleSpecies());
  EXPECT_EQ(Model()->rowCount(), form->Query()->RecordCount());
  auto* hook = Child<QCheckBox>("HookFiltCheck");
  EXPECT_TRUE(hook->isEnabled());
  // Immediate updates on the server: every change of a condition runs the query anew, and the
  // search options (which work on the table) are off.
  Testing::ClickCheckBox(hook);
  ASSERT_TRUE(hook->isChecked());
  EXPECT_TRUE(sievra->HookSQLProp());
  EXPECT_FALSE(sievra->HookFilterProp());
  EXPECT_FALSE(Child<QCheckBox>("SearchInLoopCheckBox")->isEnabled());
  sievra->FltItems()->Items(0)->SetValue(Variant(QStringLiteral("Ray")));
  EXPECT_TRUE(form->Query()->Active());
  EXPECT_EQ(ShownSpecies(form->Query()), SampleSpecies(QStringLiteral("Ray")));
  EXPECT_EQ(Model()->rowCount(), form->Query()->RecordCount());

  Testing::ClickCheckBox(serverBased);
  ASSERT_FALSE(serverBased->isChecked());
  EXPECT_FALSE(offersContains());
  EXPECT_EQ(form->DataSource()->DataSet(), form->Table());
  EXPECT_FALSE(form->Query()->Active());
  EXPECT_FALSE(hook->isEnabled()) << "neither filtered nor server based";
  EXPECT_FALSE(hook->isChecked());
  EXPECT_FALSE(sievra->HookSQLProp());
}

TEST_F(FboxFormTest, AQueryThatDoesNotOpenFallsBackToTheTableBeforeTheErrorIsShown) {
  auto* serverBased = Child<QCheckBox>("ServerBasedCheckBox");
  Testing::ClickCheckBox(serverBased);
  ASSERT_TRUE(form->Query()->Active());
  Child<QPlainTextEdit>("SQLLookMemo")->setPlainText(QStringLiteral("Select * from no_such_table"));
  EXPECT_THROW(form->Apply(), EDatabaseError);
  EXPECT_FALSE(serverBased->isChecked());
  EXPECT_EQ(form->DataSource()->DataSet(), form->Table());
  EXPECT_FALSE(form->Query()->Active());
  EXPECT_TRUE(form->Table()->Active());
  EXPECT_EQ(Model()->rowCount(), form->Table()->RecordCount());
  EXPECT_EQ(form->Sievra()->AllowedUsageIDs(), "0");
}

TEST_F(FboxFormTest, ApplyButtonPressesTheFilterButtonOfAnUnfilteredTable) {
  ReleaseFilter();
  EXPECT_EQ(form->Table()->RecordCount(), static_cast<int>(AllFish().size()));
  EXPECT_EQ(Model()->rowCount(), form->Table()->RecordCount());
  QTest::mouseClick(Tools()->RunFilterBtn, Qt::LeftButton);
  EXPECT_TRUE(Tools()->FilterStateBtn->Down());
  EXPECT_TRUE(form->Table()->Filtered());
  EXPECT_EQ(ShownSpecies(form->Table()), SampleSpecies());
  EXPECT_EQ(Model()->rowCount(), form->Table()->RecordCount());

  // With immediate updates the box filters on its own, and the apply button has nothing to do.
  Testing::ClickCheckBox(Child<QCheckBox>("HookFiltCheck"));
  EXPECT_FALSE(Tools()->RunFilterBtn->isEnabled());
  form->Sievra()->FltItems()->Items(0)->SetValue(Variant(QStringLiteral("Ray")));
  EXPECT_EQ(form->Table()->Filter(), form->Sievra()->FilterStr());
  EXPECT_TRUE(form->Table()->Filter().startsWith("Category = 'Ray'"));
}

TEST_F(FboxFormTest, ColumnTitlesFillTheFieldsListInTheOrderClicked) {
  auto* fields = Child<QLineEdit>("FieldsListEdit");
  ClickTitle(ColumnOf("Category"));
  ClickTitle(ColumnOf("Species No"));
  EXPECT_EQ(fields->text(), "Category, [Species No]");
  EXPECT_TRUE(Model()->TitleHighlighted(ColumnOf("Category")));
  ClickTitle(ColumnOf("Category"));
  EXPECT_EQ(fields->text(), "[Species No]");
  EXPECT_FALSE(Model()->TitleHighlighted(ColumnOf("Category")));

  // A click into a cell makes every title plain; the list names the cell's field then.
  const int lengthColumn = ColumnOf("Length (cm)");
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                    Grid()->visualRect(Model()->index(0, lengthColumn)).center());
  EXPECT_FALSE(Model()->TitleHighlighted(ColumnOf("Species No")));
  EXPECT_EQ(fields->text(), "[Length (cm)]");
}

TEST_F(FboxFormTest, FindButtonsMoveTheGridToMatchingRecords) {
  // Filtered, every record matches: the search walks the rows one by one.
  QTest::mouseClick(Tools()->FindLastBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), form->Table()->RecordCount() - 1);
  QTest::mouseClick(Tools()->FindPriorBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), form->Table()->RecordCount() - 2);
  QTest::mouseClick(Tools()->FindFirstBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), 0);

  // Unfiltered, the search skips what the conditions leave out.
  ReleaseFilter();
  const std::vector<int> matches = MatchingRows();
  ASSERT_GE(matches.size(), 3u);
  QTest::mouseClick(Tools()->FindFirstBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), matches[0]);
  for (size_t next = 1; next < matches.size(); ++next) {
    QTest::mouseClick(Tools()->FindNextBtn, Qt::LeftButton);
    ASSERT_EQ(GridRow(), matches[next]) << "match " << next;
    EXPECT_EQ(form->Table()->RecNo() - 1, GridRow()) << "grid and dataset agree";
  }
  QTest::mouseClick(Tools()->FindPriorBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), matches[matches.size() - 2]);
  QTest::mouseClick(Tools()->FindLastBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), matches.back());
  // "Search in loop": past the last match the search starts again at the first.
  QTest::mouseClick(Tools()->FindNextBtn, Qt::LeftButton);
  EXPECT_EQ(GridRow(), matches.front());
  EXPECT_TRUE(messages.isEmpty());

  // Moving the grid moves the dataset too.
  Grid()->setCurrentIndex(Model()->index(matches[1], 0));
  EXPECT_EQ(form->Table()->RecNo() - 1, matches[1]);
}

TEST_F(FboxFormTest, ColourStylesPaintTheMatchingCellsOfTheIndicatedFields) {
  ReleaseFilter();
  ClickTitle(ColumnOf("Category"));
  Testing::ClickCheckBox(Child<QCheckBox>("ColoringCheckBox"));
  QTest::mouseClick(Tools()->AddColorBtn, Qt::LeftButton);
  ASSERT_EQ(form->GridColors()->RecordsInfo()->Count(), 1);
  const TKelRecordSetStyle* style = form->GridColors()->RecordsInfo()->Items(0);
  EXPECT_EQ(style->DataField(), "Category");
  EXPECT_TRUE(Tools()->ClearColorsBtn->isEnabled());
  const QColor painted = ColorToQColor(style->Color(), Grid());

  // The current record is drawn with a selection frame: look at the other rows on screen.
  Grid()->setCurrentIndex(Model()->index(0, ColumnOf("Common_Name")));
  const QImage image = Grid()->viewport()->grab().toImage();
  const std::vector<int> matches = MatchingRows();
  const auto pixelAt = [&](int row, const char* field) {
    const QRect cell = Grid()->visualRect(Model()->index(row, ColumnOf(field)));
    return image.pixelColor(cell.right() - 3, cell.center().y());
  };
  int matchingSeen = 0;
  int plainSeen = 0;
  for (int row = 1; row < Model()->rowCount(); ++row) {
    const QRect cell = Grid()->visualRect(Model()->index(row, ColumnOf("Category")));
    if (cell.bottom() >= image.height()) break;
    const bool matching = std::find(matches.begin(), matches.end(), row) != matches.end();
    EXPECT_EQ(pixelAt(row, "Category") == painted, matching) << "row " << row;
    EXPECT_NE(pixelAt(row, "Common_Name"), painted) << "an other field, row " << row;
    (matching ? matchingSeen : plainSeen) += 1;
  }
  EXPECT_GT(matchingSeen, 0);
  EXPECT_GT(plainSeen, 0);

  QTest::mouseClick(Tools()->ClearColorsBtn, Qt::LeftButton);
  EXPECT_EQ(form->GridColors()->RecordsInfo()->Count(), 0);
  EXPECT_FALSE(Tools()->ClearColorsBtn->isEnabled());
  const QImage cleared = Grid()->viewport()->grab().toImage();
  for (const int row : matches) {
    const QRect cell = Grid()->visualRect(Model()->index(row, ColumnOf("Category")));
    if (row == 0 || cell.bottom() >= cleared.height()) continue;
    EXPECT_NE(cleared.pixelColor(cell.right() - 3, cell.center().y()), painted) << "row " << row;
  }
}

TEST_F(FboxFormTest, EllipsisOfANumberCellPostsTheCalculatorsValue) {
  const int column = ColumnOf("Length (cm)");
  const int row = 1;
  Grid()->setCurrentIndex(Model()->index(row, column));
  QToolButton* ellipsis = Grid()->EllipsisButton();
  ASSERT_TRUE(ellipsis->isVisible());
  EXPECT_TRUE(Grid()->visualRect(Model()->index(row, column)).contains(ellipsis->geometry().center()));
  const int species = form->Table()->FieldByName("Species No")->AsInteger();

  QTest::mouseClick(ellipsis, Qt::LeftButton);
  TKelPopupCalcEdit* calc = form->PopupCalc();
  ASSERT_TRUE(calc->isVisible());
  QTest::keyClicks(QApplication::focusWidget(), "c123");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(calc->isVisible());
  EXPECT_EQ(form->Table()->State(), dsBrowse) << "posted";
  EXPECT_DOUBLE_EQ(form->Table()->FieldByName("Length (cm)")->AsFloat(), 123.0);
  EXPECT_EQ(Model()->data(Model()->index(GridRow(), column), Qt::DisplayRole).toString(), "123");
  // Written back to the database.
  bool found = false;
  for (const TFish& fish : AllFish()) {
    if (fish.species != species) continue;
    found = true;
    EXPECT_DOUBLE_EQ(fish.length.AsDouble(), 123.0);
  }
  EXPECT_TRUE(found);

  // A text column has no button.
  Grid()->setCurrentIndex(Model()->index(row, ColumnOf("Category")));
  EXPECT_FALSE(ellipsis->isVisible());
}

TEST_F(FboxFormTest, AnotherTableStartsWithoutConditionsAndItsDatesTakeTheCalendar) {
  Testing::ClickCheckBox(Child<QCheckBox>("ColoringCheckBox"));
  QTest::mouseClick(Tools()->AddColorBtn, Qt::LeftButton);
  OpenOrders();
  TTable* table = form->Table();
  EXPECT_EQ(form->Sievra()->Items()->Count(), 0);
  EXPECT_EQ(form->GridColors()->RecordsInfo()->Count(), 0);
  EXPECT_FALSE(Tools()->FilterStateBtn->Down());
  EXPECT_FALSE(Tools()->ClearColorsBtn->isEnabled());
  EXPECT_FALSE(table->Filtered());
  EXPECT_EQ(Model()->rowCount(), table->RecordCount());
  EXPECT_EQ(Model()->FieldOfColumn(0)->FieldName(), "OrderNo");
  EXPECT_TRUE(Child<QPlainTextEdit>("SQLLookMemo")->toPlainText().startsWith("Select * from orders"));
  // The memo follows the table's first memo field.
  EXPECT_EQ(Child<QPlainTextEdit>("DBMemo")->toPlainText(), table->FieldByName("Remarks")->AsString());

  const int column = ColumnOf("SaleDate");
  Grid()->setCurrentIndex(Model()->index(0, column));
  ASSERT_TRUE(Grid()->EllipsisButton()->isVisible());
  QTest::mouseClick(Grid()->EllipsisButton(), Qt::LeftButton);
  TKelPopupCalendar* calendar = form->PopupCalendar();
  ASSERT_TRUE(calendar->isVisible());
  EXPECT_EQ(calendar->PopupKind(), cpkDate);
  EXPECT_EQ(calendar->PopupDate(), table->FieldByName("SaleDate")->AsDateTime());
  QTest::mouseClick(calendar->TodaySpeedButton(), Qt::LeftButton);
  EXPECT_FALSE(calendar->isVisible());
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(table->FieldByName("SaleDate")->AsDateTime(), Date());

  // A time column opens the calendar as a time chooser.
  Grid()->setCurrentIndex(Model()->index(0, ColumnOf("ShipTime")));
  QTest::mouseClick(Grid()->EllipsisButton(), Qt::LeftButton);
  EXPECT_EQ(calendar->PopupKind(), cpkTime);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(calendar->isVisible());
}

// A date and a date-time on both sides of 30 December 1899 show as themselves in the grid, and
// its calendar accepted as it opened (Enter) stores them unchanged, in the database too.
TEST_F(FboxFormTest, TheGridsCalendarKeepsDatesOnBothSidesOfDayZero) {
  OpenOrders();
  TTable* table = form->Table();
  struct Case {
    int y, m, d;
    const char* shown;
  };
  for (const Case& c : {Case{100, 1, 1, "1/1/0100"}, Case{1800, 1, 1, "1/1/1800"},
                        Case{1899, 12, 29, "12/29/1899"}, Case{1899, 12, 31, "12/31/1899"}}) {
    SCOPED_TRACE(c.shown);
    const TDateTime day = EncodeDate(c.y, c.m, c.d);
    const TDateTime evening = EncodeDateTime(c.y, c.m, c.d, 18, 30, 0, 0);
    ASSERT_TRUE(table->Locate("OrderNo", 1001));
    table->Edit();
    table->FieldByName("SaleDate")->SetAsDateTime(day);
    table->FieldByName("Shipped")->SetAsDateTime(evening);
    table->Post();
    const int row = GridRow();
    EXPECT_EQ(Model()->data(Model()->index(row, ColumnOf("SaleDate")), Qt::DisplayRole).toString(),
              c.shown);
    for (const char* name : {"SaleDate", "Shipped"}) {
      Grid()->setCurrentIndex(Model()->index(row, ColumnOf(name)));
      QTest::mouseClick(Grid()->EllipsisButton(), Qt::LeftButton);
      ASSERT_TRUE(form->PopupCalendar()->isVisible()) << name;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      EXPECT_FALSE(form->PopupCalendar()->isVisible()) << name;
    }
    TTable stored;
    stored.SetDatabaseName(QStringLiteral("DBDEMOS"));
    stored.SetTableName(QStringLiteral("orders"));
    stored.Open();
    ASSERT_TRUE(stored.Locate("OrderNo", 1001));
    EXPECT_EQ(stored.FieldByName("SaleDate")->AsDateTime(), day);
    EXPECT_EQ(stored.FieldByName("Shipped")->AsDateTime(), evening);
  }
}

TEST_F(FboxFormTest, ConvertPagePopupMenuAndListBoxDemo) {
  // A filter text into conditions and back.
  QTest::mouseClick(Child<QPushButton>("FromSievraButton"), Qt::LeftButton);
  auto* memo = Child<QPlainTextEdit>("FilterMemo");
  EXPECT_EQ(memo->toPlainText(), form->Sievra()->FilterStr());
  memo->setPlainText(QStringLiteral("Category = 'Ray'"));
  QTest::mouseClick(Child<QPushButton>("ToSievraButton"), Qt::LeftButton);
  ASSERT_EQ(form->Sievra()->Items()->Count(), 1);
  EXPECT_EQ(form->Sievra()->FltItems()->Items(0)->DataField(), "Category");
  EXPECT_EQ(form->Sievra()->FilterStr(), "Category = 'Ray'");

  form->PopupMenu()->actions().at(1)->trigger();
  EXPECT_EQ(messages, QStringList{"The second custom item was chosen."});

  // The list box tab: a new item takes the caption edit's text, indent moves it in.
  Child<QTabWidget>("PageControl1")->setCurrentIndex(1);
  TKelPrmListBox* box = Child<TKelPrmListBox>("ListBox");
  const int before = box->Items()->Count();
  QTest::mouseClick(Child<QPushButton>("AddItemButton"), Qt::LeftButton);
  ASSERT_EQ(box->Items()->Count(), before + 1);
  TKelListItem* added = box->Items()->Items(before);
  EXPECT_EQ(added->Caption(), "new <b>item</b>");
  ASSERT_EQ(added->IndentLev(), 0);
  box->SetItemIndex(before);
  QTest::mouseClick(Child<QPushButton>("IndentButton"), Qt::LeftButton);
  EXPECT_EQ(added->IndentLev(), 1);
  QTest::mouseClick(Child<QPushButton>("OutdentButton"), Qt::LeftButton);
  EXPECT_EQ(added->IndentLev(), 0);

  // A colour button stores the chosen colour; every preview shows the font over its colour.
  auto* page = form->findChild<TListBoxDemoPage*>();
  page->ChooseColor = [](QColor& color) {
    color = QColor(0, 128, 255);
    return true;
  };
  QTest::mouseClick(Child<QPushButton>("SelColorButton"), Qt::LeftButton);
  EXPECT_EQ(box->SelColor(), RGB(0, 128, 255));
  auto* preview = Child<QLineEdit>("SelColorPreview");
  EXPECT_EQ(preview->palette().color(QPalette::Base), QColor(0, 128, 255));
  EXPECT_TRUE(preview->text().endsWith(" pt. " + box->font().family())) << preview->text().toStdString();
  EXPECT_EQ(preview->font().family(), box->font().family());
}

// Pictures to look at: the window with a colour rule on the unfiltered table, in the light and in
// a dark palette.
TEST_F(FboxFormTest, GalleryPictures) {
  ReleaseFilter();
  QTest::mouseClick(Tools()->AddColorBtn, Qt::LeftButton);
  TKelRecordSetStyle* style = form->GridColors()->RecordsInfo()->Items(0);
  style->SetColor(RGB(255, 230, 160));
  style->Font()->SetColor(RGB(128, 0, 0));
  form->resize(820, 600);
  EXPECT_EQ(Testing::SaveGalleryPictures("fbox-window", {{form.get(), {}}}).size(), 2);
  form->setPalette(Testing::DarkPalette());
  QApplication::processEvents();
  EXPECT_EQ(Testing::SaveGalleryPictures("fbox-window-dark", {{form.get(), {}}}).size(), 2);
}

// Navy links vanish on a dark background: both boxes switch to a light link colour there and back
// to navy on a light palette, while a colour the user chose is kept.
TEST_F(FboxFormTest, LinksStayReadableOnADarkPalette) {
  TKelPrmListBox* listBox = form->findChild<TKelPrmListBox*>("ListBox");
  ASSERT_NE(listBox, nullptr);
  ASSERT_EQ(form->Sievra()->LinkColor(), clNavy);
  const QPalette light = form->palette();
  form->setPalette(Testing::DarkPalette());
  const QColor sievraLink = ColorToQColor(form->Sievra()->LinkColor());
  EXPECT_GT(sievraLink.lightness(), 150) << sievraLink.name().toStdString();
  EXPECT_EQ(listBox->LinkColor(), form->Sievra()->LinkColor());
  form->setPalette(light);
  EXPECT_EQ(form->Sievra()->LinkColor(), clNavy);
  EXPECT_EQ(listBox->LinkColor(), clNavy);

  listBox->SetLinkColor(clGreen);
  form->setPalette(Testing::DarkPalette());
  EXPECT_EQ(listBox->LinkColor(), clGreen);
}

}  // namespace
}  // namespace Kel
