// Grid colours: which rule decides a cell, field lists, exclusion filters, parameters, rules that
// switch themselves off, and the change reports that drop the cached conditions.
#include <gtest/gtest.h>

#include "../db/DbTestData.h"
#include "KelExprEval.h"

namespace Kel {
namespace {

struct CellStyle {
  bool found = false;
  TColor color = clNone;
  TFont* font = nullptr;
};

class GridColorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fish_ = Testing::MakeFish();
    fish_->Open();
    colors_.SetDataSet(fish_.get());
  }

  TKelRecordSetStyle* AddRule(const QString& filter, TColor color, const QString& fields = {}) {
    TKelRecordSetStyle* rule = colors_.RecordsInfo()->Add();
    rule->SetFilter(filter);
    rule->SetColor(color);
    rule->SetDataField(fields);
    rule->SetActive(true);
    return rule;
  }

  CellStyle Style(const QString& field = "Category") {
    CellStyle style;
    colors_.GetCellStyle(field, style.found, style.color, style.font);
    return style;
  }

  std::unique_ptr<TMemDataSet> fish_;
  TKelGridColors colors_;
};

TEST_F(GridColorsTest, TheLastRuleThatHoldsDecides) {
  TKelRecordSetStyle* big = AddRule("[Length (cm)] > 40", clYellow);
  TKelRecordSetStyle* reef = AddRule("Notes = 'Lives on reefs'", clAqua);
  AddRule("[Length (cm)] > 1000", clRed);
  reef->Font()->SetName("Serif");
  CellStyle style = Style();
  EXPECT_TRUE(style.found);
  EXPECT_EQ(style.color, clAqua);
  EXPECT_EQ(style.font, reef->Font()) << "the rule's own font object";
  fish_->Next();  // 60 cm, no notes: only the first rule holds
  style = Style();
  EXPECT_EQ(style.color, clYellow);
  EXPECT_EQ(style.font, big->Font());
  fish_->SetRecNo(4);  // 30 cm
  style = Style();
  EXPECT_FALSE(style.found);
  EXPECT_EQ(style.font, nullptr) << "untouched when no rule holds";
  reef->SetActive(false);
  fish_->First();
  EXPECT_EQ(Style().color, clYellow) << "inactive rules are not asked";
}

TEST_F(GridColorsTest, FieldListsLimitTheColumns) {
  TKelRecordSetStyle* rule = AddRule("[Species No] > 0", clLime, "Category, [Species No]");
  EXPECT_TRUE(Style("Category").found);
  EXPECT_TRUE(Style("species no").found) << "names compare ignoring case";
  EXPECT_FALSE(Style("Notes").found);
  rule->SetDataField("");
  EXPECT_TRUE(Style("Notes").found);
  rule->SetDataField("  [Length (cm)] , Category");
  EXPECT_EQ(rule->DataField(), "[Length (cm)], Category");
  EXPECT_EQ(rule->FieldList(), (QStringList{"Length (cm)", "Category"}));
}

TEST_F(GridColorsTest, ExclusionFilterAloneOrWithAFilter) {
  TKelRecordSetStyle* rule = AddRule("", clSilver);
  rule->SetExcludeFilter("  [Length (cm)] < 60 ");
  EXPECT_EQ(rule->ExcludeFilter(), "[Length (cm)] < 60");
  std::vector<int> coloured;
  for (fish_->First(); !fish_->Eof(); fish_->Next())
    if (Style().found) coloured.push_back(fish_->RecNo());
  EXPECT_EQ(coloured, (std::vector<int>{2, 3, 5, 6, 8}));
  rule->SetFilter("Category = 'Shark'");
  EXPECT_EQ(rule->ConditionText(), "(Category = 'Shark') And ( Not ([Length (cm)] < 60))");
  coloured.clear();
  for (fish_->First(); !fish_->Eof(); fish_->Next())
    if (Style().found) coloured.push_back(fish_->RecNo());
  EXPECT_EQ(coloured, (std::vector<int>{6, 8}));
}

TEST_F(GridColorsTest, RulesThatFailSwitchThemselvesOff) {
  TKelRecordSetStyle* bad = AddRule("Category = = 'x'", clRed);
  TKelRecordSetStyle* good = AddRule("[Species No] = 90020", clBlue);
  try {
    Style();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().startsWith("Bad filter.\r\n"));
  }
  EXPECT_FALSE(bad->Active());
  EXPECT_EQ(Style().color, clBlue) << "the next call skips the rule";

  // An error on a record switches the rule off too; a Null result is no error.
  TKelRecordSetStyle* divides = AddRule("100 / (Price - 5) > 1", clRed);
  AddRule("Notes like 'Lives%'", clGreen);
  EXPECT_EQ(Style().color, clGreen);
  fish_->SetRecNo(2);  // no notes: the LIKE is Null
  EXPECT_EQ(Style().color, clRed);
  fish_->SetRecNo(4);  // price 5
  EXPECT_THROW(Style(), Exception);
  EXPECT_FALSE(divides->Active());
  EXPECT_TRUE(good->Active());
  EXPECT_NO_THROW(Style());

  // Both texts empty: the parser refuses it.
  TKelRecordSetStyle* empty = AddRule("", clRed);
  EXPECT_THROW(Style(), Exception);
  EXPECT_FALSE(empty->Active());
}

TEST_F(GridColorsTest, ParametersComeFromTheRuleAndTheEvent) {
  TKelRecordSetStyle* rule = AddRule("[Length (cm)] >= :Min", clRed);
  TKelField* min = rule->Params()->Add();
  min->SetName("Min");
  min->SetValue(Variant(40));
  EXPECT_TRUE(Style().found);  // 50 cm
  ASSERT_EQ(rule->Params()->Count(), 1) << "the value given before the first use is kept";
  // Each new condition refreshes the parameter list: items are looked up again, not kept.
  rule->Params()->Items(0)->SetValue(Variant(55));
  EXPECT_FALSE(Style().found) << "a new value makes a new condition";

  std::vector<TKelRecordSetStyle*> askedFor;
  colors_.OnGetItemParamValue = [&askedFor](QObject*, TKelRecordSetStyle* item, const QString& name,
                                            Variant& value) {
    askedFor.push_back(item);
    if (name == "Min") value = Variant(45);
  };
  rule->Params()->Items(0)->SetValue(Variant(99));
  EXPECT_TRUE(Style().found) << "the event has the last word";
  ASSERT_FALSE(askedFor.empty());
  EXPECT_EQ(askedFor.front(), rule);
}

TEST_F(GridColorsTest, ChangesDropTheCachedConditionsAndAreReported) {
  TKelRecordSetStyle* rule = AddRule("Category = 'Triggerfish'", clRed);
  std::vector<QObject*> senders;
  colors_.OnChange = [&senders](QObject* sender) { senders.push_back(sender); };
  EXPECT_TRUE(Style().found);
  rule->SetColor(clBlue);
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], colors_.RecordsInfo());
  rule->SetColor(clBlue);
  EXPECT_EQ(senders.size(), 1u) << "the same colour is no change";
  TKelField* extra = colors_.Fields()->Add();
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[1], &colors_);
  rule->SetFilter("Category = 'Snapper'");
  EXPECT_FALSE(Style().found);

  // Conditions parsed for another dataset's fields are not kept either.
  auto other = std::make_unique<TMemDataSet>();
  other->AddField("Category", ftInteger);
  other->AppendRecords({{7}});
  other->Open();
  colors_.SetDataSet(other.get());
  EXPECT_THROW(Style(), Exception) << "a text against an integer: parsed anew, refused";
  (void)extra;
}

TEST_F(GridColorsTest, WithoutAnOpenDataSetFieldsGiveTheValues) {
  fish_->Close();
  TKelField* category = colors_.Fields()->Add();
  category->SetName("Mood");
  category->SetValue(Variant("calm"));
  AddRule("Mood = 'calm'", clLime);
  EXPECT_TRUE(Style().found);
  category->SetValue(Variant("angry"));
  EXPECT_FALSE(Style().found);
}

TEST_F(GridColorsTest, RulesCopyWithTheirSettings) {
  TKelRecordSetStyle* rule = AddRule("[Species No] > :No", clMaroon, "Category");
  rule->SetExcludeFilter("Category = 'Cod'");
  rule->SetReadOnly(true);
  rule->Font()->SetName("Serif");
  TKelField* no = rule->Params()->Add();
  no->SetName("No");
  no->SetValue(Variant(90000));
  EXPECT_TRUE(Style().found);
  TKelGridColors copy;
  copy.SetRecordsInfo(colors_.RecordsInfo());
  ASSERT_EQ(copy.RecordsInfo()->Count(), 1);
  TKelRecordSetStyle* same = copy.RecordsInfo()->Items(0);
  EXPECT_EQ(same->Filter(), rule->Filter());
  EXPECT_EQ(same->ExcludeFilter(), rule->ExcludeFilter());
  EXPECT_EQ(same->DataField(), "Category");
  EXPECT_EQ(same->Color(), clMaroon);
  EXPECT_TRUE(same->ReadOnly());
  EXPECT_TRUE(same->Active());
  EXPECT_EQ(same->Font()->Name(), "Serif");
  EXPECT_EQ(same->Params()->Items(0)->Value().AsInteger(), 90000);
  copy.SetDataSet(fish_.get());
  bool found = false;
  TColor color = clNone;
  TFont* font = nullptr;
  copy.GetCellStyle("Category", found, color, font);
  EXPECT_TRUE(found);
  EXPECT_EQ(font, same->Font());
}

}  // namespace
}  // namespace Kel
