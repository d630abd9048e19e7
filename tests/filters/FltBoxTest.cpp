// The filter box driven by real events: the add line and its first-unused-field rule, the
// connector, field and template popups, the dataset rewritten after each change, assignment,
// the calculator on a number value, and the saved forms (file round trip, truncation and flipped
// bytes), plus the pictures of the three sample conditions on the sample table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "DBTables.h"
#include "FilterTestData.h"
#include "Gallery.h"
#include "KelCalculator.h"
#include "KelEventErrors.h"
#include "KelPopupCalc.h"
#include "ScopedRegistryFile.h"
#include "KelStdCtrls.h"
#include "Exceptions.h"
#include "Streams.h"
#include "UpdateBracket.h"

namespace Kel {
namespace {

using Testing::AddCondition;

// Three fields: A (string), B (integer), C (float).
std::unique_ptr<TMemDataSet> MakeAbc() {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("A", ftString, 10);
  data->AddField("B", ftInteger);
  data->AddField("C", ftFloat);
  data->AppendRecords({{"x", 1, 1.5}, {"y", 2, 2.5}, {"z", 3, 3.5}});
  data->Open();
  return data;
}

class FltBoxTest : public ::testing::Test {
 protected:
  FltBoxTest() : data_(MakeAbc()) {
    auto* layout = new QVBoxLayout(&window_);
    box_ = new TKelFltBox(&window_);
    layout->addWidget(box_);
    window_.resize(420, 220);
    window_.show();
    QApplication::setActiveWindow(&window_);
    box_->setFocus();
    box_->SetDataSet(data_.get());
  }
  QPoint At(int x, int y) const { return box_->ClientOrigin() + QPoint(x, y); }
  void ClickAddLine() {
    const TRect r = box_->ItemRect(-2);
    QTest::mouseClick(box_, Qt::LeftButton, Qt::NoModifier, At(20, r.Top + 3));
  }
  // Clicks the parameter of a row and returns the open choice list.
  TKelPopupListBox* ClickParam(int row, const char* name) {
    TKelFltItem* item = box_->FltItems()->Items(row);
    TKelListParam* param = item->ParamByName(name);
    const int k = param->Index();
    const QString spots = box_->Items()->StripTags(box_->Items()->GetItemText(item, false));
    const TRect r = box_->ParamRect(item, param, HotSpotStart(spots, box_->HotSpotOfParam(item, k)));
    QTest::mouseClick(box_, Qt::LeftButton, Qt::NoModifier, At(r.Left + 2, r.Top + 3));
    return qobject_cast<TKelPopupListBox*>(box_->Popup());
  }
  void Choose(TKelPopupListBox* list, const QString& text) {
    const int index = list->ListBox()->Items().indexOf(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->ListBox()->SetItemIndex(index);
    QTest::keyClick(list->ListBox(), Qt::Key_Return);
  }
  QStringList Fields() const {
    QStringList fields;
    for (int i = 0; i < box_->FltItems()->Count(); ++i)
      fields.append(box_->FltItems()->Items(i)->DataField());
    return fields;
  }

  std::unique_ptr<TMemDataSet> data_;
  QWidget window_;
  TKelFltBox* box_;
};

TEST_F(FltBoxTest, ANewBoxShowsOnlyTheAddLine) {
  EXPECT_TRUE(box_->ShowAddItem());
  EXPECT_TRUE(box_->EditWithMouse());
  EXPECT_EQ(box_->AddItemText(), "<Click here to add condition>");
  EXPECT_EQ(box_->Items()->Count(), 0);
  EXPECT_EQ(box_->FilterStr(), "");
  EXPECT_TRUE(box_->IsOnAddRow({5, 1}));
}

TEST_F(FltBoxTest, TheAddLineTakesTheFirstUnusedFieldThenStartsOver) {
  ClickAddLine();
  ClickAddLine();
  EXPECT_EQ(Fields(), QStringList({"A", "B"}));
  ClickAddLine();
  EXPECT_EQ(Fields(), QStringList({"A", "B", "C"}));
  ClickAddLine();
  EXPECT_EQ(Fields(), QStringList({"A", "B", "C", "A"}));
  // The new condition is selected, has the first template and no value yet: no filter.
  EXPECT_EQ(box_->ItemIndex(), 3);
  EXPECT_FALSE(box_->FltItems()->Items(3)->Template().isEmpty());
  EXPECT_EQ(box_->FilterStr(), "");
  // Read-only or without fboCanAdd the add line does nothing.
  box_->SetReadOnly(true);
  ClickAddLine();
  box_->SetReadOnly(false);
  box_->SetOptions(TKelFltBoxOptions::FromBits(511).Exclude(fboCanAdd));
  ClickAddLine();
  EXPECT_EQ(box_->Items()->Count(), 4);
}

// What the add line knows of the fields in use follows conditions changed or deleted since.
TEST_F(FltBoxTest, TheAddLineSeesFieldsChangedSinceTheLastClick) {
  ClickAddLine();
  ClickAddLine();
  box_->FltItems()->Items(0)->SetDataField("C");
  ClickAddLine();
  EXPECT_EQ(Fields(), QStringList({"C", "B", "A"}));
  box_->Items()->Delete(1);
  ClickAddLine();
  EXPECT_EQ(Fields(), QStringList({"C", "A", "B"}));
}

TEST_F(FltBoxTest, ChoosingOrInThePopupChangesTheFilterAndTheDataset) {
  box_->SetHookFilterProp(true);
  TKelFltItem* a = AddCondition(*box_->Builder(), "A", "is (exactly)", "x");
  AddCondition(*box_->Builder(), "B", "less than", 3);
  EXPECT_EQ(box_->FilterStr(), "A = 'x' and B < 3");
  EXPECT_EQ(data_->Filter(), "A = 'x' and B < 3");
  // The last condition shows no connector, the one before shows "and".
  EXPECT_TRUE(box_->Items()->PlainItemText(a).endsWith("and"));
  EXPECT_FALSE(box_->Items()->PlainItemText(box_->FltItems()->Items(1)).endsWith("and"));

  QString seenInOnChange;
  box_->OnChange = [&](TKelPrmListBox*) { seenInOnChange = data_->Filter(); };
  TKelPopupListBox* list = ClickParam(0, "Operation");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ListBox()->Items(), QStringList({"and", "or"}));
  EXPECT_EQ(list->ListBox()->ItemIndex(), 0);
  Choose(list, "or");
  EXPECT_EQ(a->Operation(), "or");
  EXPECT_EQ(box_->FilterStr(), "A = 'x' or B < 3");
  EXPECT_EQ(data_->Filter(), "A = 'x' or B < 3");
  // OnChange ran before the builder rewrote the dataset.
  EXPECT_EQ(seenInOnChange, "A = 'x' and B < 3");
}

// Changes whose filter the dataset refuses, made by a posted Space key, a posted click on a
// check box and a value chosen in a popup: each is reported once through the event-error
// handler (the program goes on), and the conditions, the selection and the dataset's filter are
// those of before the change.
TEST_F(FltBoxTest, AChangeTheDataSetRefusesIsReportedAndUndone) {
  box_->SetHookFilterProp(true);
  TKelFltBoxTemplate* odd = box_->Templates()->Add();
  odd->SetCategory(CategoryText(TKelFltCategory::Text));
  odd->SetCaptionID("is odd");
  odd->SetCaption(":Field :Template");
  odd->SetFilter(":Field = NoSuchField");
  AddCondition(*box_->Builder(), "A", "is (exactly)", "x");
  WithinUpdate(*box_->FltItems(), [&] {
    TKelFltItem* item = box_->FltItems()->Add();
    item->SetChecked(false);
    item->SetDataField("A");
    item->SetTemplate("is odd");
  });
  ASSERT_EQ(data_->Filter(), "A = 'x'");
  box_->SetItemIndex(1);
  QStringList reported;
  const TKelEventErrorScope handler(
      [&](QObject*, const std::exception& error) { reported << QString::fromUtf8(error.what()); });
  const auto unchanged = [&](const char* how, int selected) {
    EXPECT_EQ(reported.size(), 1) << how;
    EXPECT_TRUE(reported.value(0).contains("NoSuchField")) << reported.value(0).toStdString();
    ASSERT_EQ(box_->FltItems()->Count(), 2) << how;
    EXPECT_FALSE(box_->FltItems()->Items(1)->Checked()) << how;
    EXPECT_EQ(box_->FltItems()->Items(0)->Template(), "is (exactly)") << how;
    EXPECT_EQ(box_->ItemIndex(), selected) << how;
    EXPECT_EQ(data_->Filter(), "A = 'x'") << how;
    reported.clear();
  };

  QCoreApplication::postEvent(box_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space,
                                                  Qt::NoModifier, QStringLiteral(" ")));
  QCoreApplication::sendPostedEvents();
  unchanged("Space", 1);

  const QPoint check = At(TKelPrmListBox::CheckSize() / 2, box_->ItemRect(1).Top + 3);
  QCoreApplication::postEvent(
      box_, new QMouseEvent(QEvent::MouseButtonPress, check, box_->mapToGlobal(check),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::sendPostedEvents();
  unchanged("click on the check box", 1);

  TKelPopupListBox* list = ClickParam(0, "Template");
  ASSERT_NE(list, nullptr);
  Choose(list, "is odd");
  unchanged("the template popup", 0);  // the click on the row selected it
}

TEST_F(FltBoxTest, FieldAndTemplatePopupsSetTheConditionFromTheRememberedPosition) {
  box_->Fields()->Add()->SetDataField("C");
  box_->Fields()->Items(0)->SetDisplayLabel("Zeta (C)");
  box_->Fields()->Items(0)->SetDataType(ftFloat);
  box_->Fields()->Add()->SetDataField("A");
  box_->Fields()->Items(1)->SetDisplayLabel("Alpha (A)");
  box_->Fields()->Items(1)->SetDataType(ftString);
  TKelFltItem* item = AddCondition(*box_->Builder(), "A", "is (exactly)", "x");
  TKelPopupListBox* list = ClickParam(0, "Field");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ListBox()->Items(), QStringList({"Alpha (A)", "Zeta (C)"}));  // sorted labels
  EXPECT_EQ(list->ListBox()->ItemIndex(), 0);
  Choose(list, "Zeta (C)");
  EXPECT_EQ(item->DataField(), "C");
  EXPECT_EQ(item->Template(), box_->Builder()->FirstTemplate("C")->CaptionID());

  list = ClickParam(0, "Template");
  ASSERT_NE(list, nullptr);
  TStringList offered;
  box_->Builder()->GetOperationList("C", &offered);
  ASSERT_GT(offered.Count(), 1);
  EXPECT_EQ(list->ListBox()->Count(), offered.Count());
  Choose(list, offered.Strings(1));
  EXPECT_EQ(item->Template(), offered.Strings(1));

  // Cancelling a popup changes nothing.
  list = ClickParam(0, "Field");
  list->ListBox()->SetItemIndex(0);
  QTest::keyClick(list->ListBox(), Qt::Key_Escape);
  EXPECT_EQ(item->DataField(), "C");
}

TEST_F(FltBoxTest, ANumberValueIsEditedInTheCalculatorAndRefiltersTheDataset) {
  box_->SetHookFilterProp(true);
  AddCondition(*box_->Builder(), "B", "less than", 3);
  ClickParam(0, "Value");
  auto* calc = qobject_cast<TKelPopupCalcEdit*>(box_->Popup());
  ASSERT_NE(calc, nullptr);
  QTest::keyClicks(calc->Calculator(), "3*2.5");
  QTest::keyClick(calc->Calculator(), Qt::Key_Return);
  EXPECT_FALSE(calc->isVisible());
  // An integer field gets a whole number (7.5 rounds to the even 8).
  EXPECT_EQ(box_->FilterStr(), "B < 8");
  EXPECT_EQ(data_->Filter(), "B < 8");

  // Cancelled, the filter stays.
  ClickParam(0, "Value");
  calc = qobject_cast<TKelPopupCalcEdit*>(box_->Popup());
  ASSERT_NE(calc, nullptr);
  QTest::keyClicks(calc->Calculator(), "1");
  QTest::keyClick(calc->Calculator(), Qt::Key_Escape);
  EXPECT_EQ(data_->Filter(), "B < 8");
}

TEST_F(FltBoxTest, AssignCopiesCatalogueAndConditions) {
  box_->SetAllowedUsageIDs("0;1");
  box_->SetExcludeBlobs(true);
  box_->HiddenFields()->Add("B");
  AddCondition(*box_->Builder(), "A", "is (exactly)", "x");
  TKelFltBox other;
  other.Assign(box_);
  EXPECT_EQ(other.AllowedUsageIDs(), "0;1");
  EXPECT_TRUE(other.ExcludeBlobs());
  EXPECT_EQ(other.DataSet(), data_.get());
  EXPECT_EQ(other.HiddenFields()->Text(), "B\r\n");
  EXPECT_EQ(other.FilterStr(), "A = 'x'");
}

TEST_F(FltBoxTest, SavedFormsRoundTripAndDamagedFilesChangeNothing) {
  AddCondition(*box_->Builder(), "A", "is (exactly)", "x")->SetOperation("or");
  AddCondition(*box_->Builder(), "B", "between", 1, 2);
  const QString expected = box_->FilterStr();
  QTemporaryDir dir;
  for (int format : {0, 1, 2}) {
    const QString file = dir.filePath(QStringLiteral("conditions%1.flt").arg(format));
    box_->SaveToFile(file, format);
    TKelFltBox other;
    other.SetDataSet(data_.get());
    other.LoadFromFile(file, format);
    EXPECT_EQ(other.FilterStr(), expected) << format;

    // Truncated at every length and with bytes flipped: no crash, the file untouched, and a
    // load that fails leaves the conditions as they were.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    QRandomGenerator random(1234 + format);
    for (int length = 0; length < bytes.size(); ++length) {
      TMemoryStream cut(bytes.left(length));
      other.LoadFromStream(cut, format);
      ASSERT_EQ(other.FilterStr(), expected) << format << " " << length;
      QByteArray flipped = bytes;
      flipped[length] = char(flipped[length] ^ (1 + random.bounded(255)));
      TMemoryStream stream(flipped);
      try {
        other.LoadFromStream(stream, format);
      } catch (const std::exception&) {
        EXPECT_EQ(other.FilterStr(), expected) << format << " " << length;
      }
      TMemoryStream whole(bytes);
      other.LoadFromStream(whole, format);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
  }
}

TEST_F(FltBoxTest, StoredItemsSurviveANewBoxWhileTheFormsSlotsStay) {
  Testing::ScopedRegistryFile registry;
  window_.setObjectName("FboxForm");
  {
    TKelFltBox box(&window_);
    box.setObjectName("Sievra");
    box.SetDataSet(data_.get());
    box.SetDefStoreItems(true);
    AddCondition(*box.Builder(), "A", "is (exactly)", "x")->SetOperation("or");
    AddCondition(*box.Builder(), "B", "less than", 2);
    box.SaveToSlot("Only in this run");
  }
  TKelFltBox next(&window_);
  next.setObjectName("Sievra");
  next.SetDataSet(data_.get());
  next.SetDefStoreItems(true);
  next.SaveToSlot("From the form");
  next.LoadDefaults();
  EXPECT_EQ(next.FilterStr(), "A = 'x' or B < 2");
  ASSERT_EQ(next.MemorySlots()->Count(), 1);
  EXPECT_EQ(next.MemorySlots()->Items(0)->Name(), "From the form");
}

// ---- the sample table

class FltBoxSampleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Testing::SampleDatabaseSuite::SetUp(); }
  static void TearDownTestSuite() { Testing::SampleDatabaseSuite::TearDown(); }
};

TEST_F(FltBoxSampleTest, ThreeSampleConditionsPicture) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife");
  table.Open();
  QWidget window;
  window.setPalette(Testing::DarkPalette());
  auto* layout = new QVBoxLayout(&window);
  auto* box = new TKelFltBox(&window);
  layout->addWidget(box);
  box->SetDataSet(&table);
  box->SetLinkColor(clAqua);
  box->SetHoverLinkColor(clYellow);
  box->SetSelColor(clGray);
  TKelFltItem* shark = AddCondition(*box->Builder(), "Category", "is (exactly)", "Shark");
  shark->SetOperation("or");
  TKelFltItem* species = AddCondition(*box->Builder(), "Species No", "between", 90080.0, 90230.0);
  species->SetIndentLev(1);
  TKelFltItem* length = AddCondition(*box->Builder(), "Length (cm)", "less than", 150.0);
  length->SetIndentLev(1);
  EXPECT_EQ(box->FilterStr(),
            "Category = 'Shark' or ((([Species No] >= 90080) AND ([Species No] <= 90230)) and "
            "[Length (cm)] < 150)");
  window.resize(520, 6 * box->ItemHeight() + 24);
  window.show();
  box->SetItemIndex(0);
  QApplication::processEvents();
  const QStringList files = Testing::SaveGalleryPictures("fltbox_biolife_dark", {{&window, QPoint()}});
  EXPECT_EQ(files.size(), 2);

  // The field popup open under the first condition's field.
  const QString spots = box->Items()->StripTags(box->Items()->GetItemText(shark, false));
  const TRect r = box->ParamRect(shark, shark->ParamByName("Field"), HotSpotStart(spots, 0));
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                    box->ClientOrigin() + QPoint(r.Left + 2, r.Top + 3));
  auto* list = qobject_cast<TKelPopupListBox*>(box->Popup());
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->ListBox()->Items().contains("Category"));
  const QPoint offset = list->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint());
  EXPECT_EQ(Testing::SaveGalleryPictures("fltbox_biolife_field_popup_dark",
                                         {{&window, QPoint()}, {list, offset}})
                .size(),
            2);
  list->ClosePopup(true);

  // The calculator open under the third condition's length, in the middle of a calculation.
  TKelListParam* value = length->ParamByName("Value");
  const QString lengthSpots = box->Items()->StripTags(box->Items()->GetItemText(length, false));
  const TRect v = box->ParamRect(length, value,
                                 HotSpotStart(lengthSpots, box->HotSpotOfParam(length, value->Index())));
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                    box->ClientOrigin() + QPoint(v.Left + 2, v.Top + 3));
  auto* calc = qobject_cast<TKelPopupCalcEdit*>(box->Popup());
  ASSERT_NE(calc, nullptr);
  QTest::keyClicks(calc->Calculator(), "150+25");
  QApplication::processEvents();
  const QPoint calcOffset = calc->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint());
  EXPECT_EQ(Testing::SaveGalleryPictures("fltbox_biolife_calculator_dark",
                                         {{&window, QPoint()}, {calc, calcOffset}})
                .size(),
            2);
  QTest::keyClick(calc->Calculator(), Qt::Key_Return);
  EXPECT_TRUE(box->FilterStr().endsWith("[Length (cm)] < 175)"));
}

}  // namespace
}  // namespace Kel
