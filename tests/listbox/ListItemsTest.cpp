// List items, their parameters and the markup of a line: captions re-deriving parameters, value
// texts in each form, outline moves, decorated text and hot spots.
#include <gtest/gtest.h>

#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelDrawing.h"
#include "KelListBox.h"
#include "KelTranslate.h"
#include "KelUtils.h"
#include "MemDataSet.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

class ListItemsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override {
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleDecimalChar(u'.');
  }

  TKelListBoxItem* AddItem(const QString& caption) {
    auto* item = items_.Add<TKelListBoxItem>();
    item->SetCaption(caption);
    return item;
  }

  TKelListItems items_{nullptr};
};

TEST_F(ListItemsTest, MarkupOfALineWithDefaultColours) {
  items_.SetLinkTag(ColorTag(clNavy));
  items_.SetFontTag(ColorTag(clWindowText));
  items_.SetHoverLinkTag(ColorTag(clRed));
  TKelListBoxItem* item = AddItem("Name :Op :Val");
  item->ParamByName("Op")->SetAsString("x");
  item->ParamByName("Op")->SetDisplayValue("contains");
  EXPECT_EQ(items_.GetItemText(item, false),
            "Name <c:Navy><u>~contains~</u><c:WindowText> <c:Navy><u>~<?>~</u><c:WindowText>");
  EXPECT_EQ(items_.PlainItemText(item), "Name contains <?>");
  // The highlighted parameter takes the hover colour instead of the link colour.
  item->SetCurParamIndex(1);
  EXPECT_EQ(items_.GetItemText(item, true),
            "Name <c:Navy><u>~contains~</u><c:WindowText> <u><c:Red>~<?>~<c:WindowText></u>");
  // Not underlined and not current: the bare hot spot.
  item->ParamByName("Op")->SetUnderline(false);
  EXPECT_EQ(items_.StripTags(items_.GetItemText(item, false)), "Name ~contains~ ~<?>~");
  // A hidden parameter shows as nothing; the display name is indented three blanks a level.
  item->ParamByName("Val")->SetVisible(false);
  item->SetIndentLev(2);
  EXPECT_EQ(item->DisplayName(), "      Name contains ");
}

TEST_F(ListItemsTest, CaptionKeepsSurvivingParametersAndClampsCurParam) {
  TKelListBoxItem* item = AddItem(":A and :B");
  item->ParamByName("B")->SetAsInteger(7);
  item->ParamByName("B")->SetDisplayValue("seven");
  item->ParamByName("A")->SetAsInteger(1);
  item->SetCurParamIndex(1);
  item->SetCaption(":B or :C");
  ASSERT_EQ(item->Params()->Count(), 2);
  EXPECT_EQ(item->Param(0)->Name(), "B");
  EXPECT_EQ(item->Param(0)->Value(), Variant(7));
  EXPECT_EQ(item->Param(0)->DisplayValue(), "seven");
  EXPECT_TRUE(item->Param(1)->IsNull());
  EXPECT_EQ(item->CurParam(), 1);
  item->SetCaption("plain text");
  EXPECT_EQ(item->CurParam(), -1);
  EXPECT_EQ(items_.GetItemText(item, true), "plain text");
}

TEST_F(ListItemsTest, ChangesTravelFromParameterToCollection) {
  TKelListBoxItem* item = AddItem("x :P");
  std::vector<TCollectionItem*> updates;
  items_.OnItemUpdate = [&](TKelCustomNamedItems*, TCollectionItem* changed) {
    updates.push_back(changed);
  };
  item->ParamByName("P")->SetAsInteger(3);
  item->SetChecked(true);  // unchanged: no report
  item->SetIndentLev(-1);  // refused
  EXPECT_EQ(item->IndentLev(), 0);
  item->SetChecked(false);
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_EQ(updates[0], item);
  EXPECT_EQ(updates[1], item);
}

// One counter for the whole process: the report of a change is inline, so a program counts it
// too, and a widget caching an item's measures must see every later change as newer.
TEST_F(ListItemsTest, TextRevisionsFollowTheChangesWhereverTheyAreReported) {
  TKelListBoxItem* item = AddItem("a");
  item->SetCaption("b");  // reported inside the library
  const quint64 inLibrary = item->TextRevision();
  item->Changed();  // reported here
  const quint64 inProgram = item->TextRevision();
  item->SetCaption("c");
  EXPECT_LT(inLibrary, inProgram);
  EXPECT_LT(inProgram, item->TextRevision());
}

TEST_F(ListItemsTest, ValueTextsPerForm) {
  TKelListBoxItem* item = AddItem(":D :F :B :T");
  TKelListParam* date = item->ParamByName("D");
  date->SetAsDate(EncodeDate(2001, 3, 7));
  EXPECT_EQ(date->AsString(false), "3/7/2001");
  items_.SetForceSQLDateTime(true);  // ISO, as SQLite stores dates and any server reads them
  EXPECT_EQ(date->AsString(false), "2001-03-07");
  EXPECT_EQ(date->AsString(true), "3/7/2001");
  TKelListParam* time = item->ParamByName("T");
  time->SetAsTime(EncodeTime(9, 5, 0, 0));
  EXPECT_EQ(time->AsString(false), "09:05:00");

  TKelListParam* boolean = item->ParamByName("B");
  boolean->SetAsBoolean(true);
  items_.SetForceSQLBooleans(true);
  items_.OnGetAsString = [](QObject*, TKelField* field, QString& text, bool forDisplay) {
    if (field->DataType() == FT_BOOL && forDisplay) text = "[" + text + "]";
  };
  EXPECT_EQ(boolean->AsString(false), "True");
  EXPECT_EQ(boolean->AsString(true), "[True]");
  items_.OnGetAsString = nullptr;
  // Translated words are for the user; SQL keeps its literals.
  const TKelTranslateTextProc previous =
      SetTranslateTextProc([](const QString& text) { return text == "True" ? "Wahr" : text; });
  EXPECT_EQ(boolean->AsString(false), "True");
  EXPECT_EQ(boolean->AsString(true), "Wahr");
  items_.SetForceSQLBooleans(false);
  EXPECT_EQ(boolean->AsString(false), "Wahr");
  SetTranslateTextProc(previous);

  // A user whose decimal separator is a comma sees commas; filter text always has a point.
  TFormatSettings comma = TFormatSettings::Invariant();
  comma.DecimalSeparator = u',';
  SetFormatSettings(comma);
  SetLocaleDecimalChar(u',');
  TKelListParam* number = item->ParamByName("F");
  number->SetAsFloat(12.5);
  EXPECT_EQ(number->AsString(false), "12.5");
  EXPECT_EQ(number->AsString(true), "12,5");
  EXPECT_EQ(items_.ParamDisplayText(number), "12,5");
  // Null values: no text to format, "<?>" on display.
  number->Clear();
  boolean->Clear();
  EXPECT_EQ(boolean->AsString(false), "");
  EXPECT_EQ(items_.ParamDisplayText(boolean), "<?>");
}

TEST_F(ListItemsTest, OutdentMovesTheBlockAndStopsAtItsLevel) {
  const int levels[] = {0, 1, 2, 2, 1};
  for (int level : levels) AddItem("x")->SetIndentLev(level);
  EXPECT_FALSE(items_.CanOutdent(0));
  items_.Items(1)->SetReadOnly(true);
  EXPECT_FALSE(items_.CanOutdent(1));
  items_.Items(1)->SetReadOnly(false);
  items_.OutdentItem(1);
  std::vector<int> now;
  for (int i = 0; i < items_.Count(); ++i) now.push_back(items_.Items(i)->IndentLev());
  EXPECT_EQ(now, std::vector<int>({0, 0, 1, 1, 1}));
}

TEST_F(ListItemsTest, CurrentParameterSkipsHiddenOnes) {
  TKelListBoxItem* item = AddItem(":A :B :C");
  item->ParamByName("B")->SetVisible(false);
  items_.SetCurParam(item, 1);
  EXPECT_EQ(item->CurParam(), 2);
  items_.SetCurParam(item, 99);
  EXPECT_EQ(item->CurParam(), 2);
  item->ParamByName("C")->SetVisible(false);
  items_.SetCurParam(item, 1);  // nothing visible from there on: unchanged
  EXPECT_EQ(item->CurParam(), 2);
}

TEST_F(ListItemsTest, HotSpots) {
  const QString text = "ab~cd~e~f~";
  EXPECT_EQ(HotSpotAt(text, 2), -1);
  EXPECT_EQ(HotSpotAt(text, 3), 0);
  EXPECT_EQ(HotSpotAt(text, 4), 0);
  EXPECT_EQ(HotSpotAt(text, 5), -1);
  EXPECT_EQ(HotSpotAt(text, 6), 1);
  EXPECT_EQ(HotSpotAt(text, 7), -1);
  EXPECT_EQ(HotSpotStart(text, 0), 3);
  EXPECT_EQ(HotSpotStart(text, 1), 6);
  EXPECT_EQ(HotSpotStart(text, 2), 0);
}

TEST_F(ListItemsTest, ParameterCopiesAndForgetsItsLookupDataSet) {
  TKelListBoxItem* item = AddItem(":P :Q");
  TKelListParam* p = item->ParamByName("P");
  auto lookup = std::make_unique<TMemDataSet>();
  p->SetLookupDataSet(lookup.get());
  p->SetLookupKeyField("Id");
  p->PickList()->Add("One=1");
  p->SetPickType(ptPickList);
  p->SetAsInteger(1);
  TKelListParam* q = item->ParamByName("Q");
  q->Assign(p);
  EXPECT_EQ(q->Name(), "P");
  EXPECT_EQ(q->LookupDef().DataSet, lookup.get());
  EXPECT_EQ(q->PickList()->Text(), "One=1\r\n");
  EXPECT_EQ(q->PickType(), ptPickList);
  EXPECT_EQ(q->Value(), Variant(1));
  lookup.reset();
  EXPECT_EQ(p->LookupDataSet(), nullptr);
  EXPECT_EQ(q->LookupDataSet(), nullptr);
}

}  // namespace
}  // namespace Kel
