// Reading a filter text back into conditions: the order, levels and connectors of the result,
// which template wins, values with their prefixes, quotes and display texts, errors, and the
// round trip of random condition lists.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "FilterTestData.h"
#include "KelUtils.h"
#include "RandomConditions.h"

namespace Kel {
namespace {

using namespace Testing;

const TDateTime ReadBackToday = EncodeDate(2024, 3, 6);

class ReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(ReadBackToday);
    data_ = MakeOrders();
    builder_.SetDataSet(data_.get());
  }

  // "Field|Template|value|level|operation" per condition.
  QStringList Conditions() {
    QStringList list;
    for (int i = 0; i < builder_.Items()->Count(); ++i) {
      TKelFltItem* item = builder_.Items()->Items(i);
      QStringList values;
      for (int p = 0; p < item->Params()->Count(); ++p)
        if (TKelFltItem::IsValueParam(item->Param(p))) values << VarToStr(item->Param(p)->Value());
      list << QStringLiteral("%1|%2|%3|%4|%5")
                  .arg(item->DataField(), item->Template(), values.join(u','))
                  .arg(item->IndentLev())
                  .arg(item->Operation());
    }
    return list;
  }

  std::unique_ptr<TMemDataSet> data_;
  TKelFltBld builder_;
};

TEST_F(ReadBackTest, OrderLevelsAndConnectors) {
  builder_.SetFilterStr("Id = 1 and Score = 2");
  EXPECT_EQ(Conditions(), QStringList({"Id|equals|1|0|and", "Score|equals|2|0|and"}));
  // A three-way AND parses as ((A and B) and C): the smaller subtree, C, comes first.
  builder_.SetFilterStr("Id = 1 and Id = 2 and Id = 3");
  EXPECT_EQ(Conditions(),
            QStringList({"Id|equals|3|0|and", "Id|equals|1|0|and", "Id|equals|2|0|and"}));
  // What the builder wrote for A and (B or C).
  builder_.SetFilterStr("Id = 1 and (Id = 2 or Id = 3)");
  EXPECT_EQ(Conditions(),
            QStringList({"Id|equals|1|0|and", "Id|equals|2|1|or", "Id|equals|3|1|and"}));
  // The brackets of a group after a chain stay.
  builder_.SetFilterStr("Id = 1 and Id = 2 and (Id = 3 or Id = 4)");
  EXPECT_EQ(builder_.Expression(), "Id = 1 and Id = 2 and (Id = 3 or Id = 4)");
  // Line breaks between words separate them; inside a value they are part of it.
  builder_.SetFilterStr("Id = 1 or\r\nId = 2 or Name = 'a\tb\r\n'");
  EXPECT_EQ(builder_.Expression(), "Name = 'a\tb\r\n' or Id = 1 or Id = 2");
}

TEST_F(ReadBackTest, LargerTemplatesWinAndTodayBeforeOn) {
  builder_.SetFilterStr("((Score >= 1) AND (Score <= 5))");
  EXPECT_EQ(Conditions(), QStringList({"Score|between|1,5|0|and"}));
  builder_.SetFilterStr("Due = '3/6/2024' or Due = '3/7/2024' or Due = '1/2/2024'");
  QStringList templates;
  for (int i = 0; i < builder_.Items()->Count(); ++i) templates << builder_.Items()->Items(i)->Template();
  EXPECT_EQ(templates, QStringList({"is on", "is today", "is tomorrow"}));
  builder_.SetFilterStr("((Due < '3/6/2024') and (Due >= '2/28/2024'))");
  EXPECT_EQ(Conditions(), QStringList({"Due|is in the last 7 days||0|and"}));
  // Fractional numbers are numbers for an integer field too.
  builder_.SetFilterStr("Id = 12.25");
  EXPECT_EQ(Conditions(), QStringList({"Id|equals|12.25|0|and"}));
}

TEST_F(ReadBackTest, LikeValuesKeepTheirTemplate) {
  builder_.SetAllowedUsageIDs("");
  builder_.SetFilterStr("Name LIKE '%abc%'");
  EXPECT_EQ(Conditions(), QStringList({"Name|contains|abc|0|and"}));
  builder_.SetFilterStr("Name LIKE 'abc%'");
  EXPECT_EQ(Conditions(), QStringList({"Name|begins with|abc|0|and"}));
  builder_.SetFilterStr("Name LIKE '%abc'");
  EXPECT_EQ(Conditions(), QStringList({"Name|ends with|abc|0|and"}));
  builder_.SetFilterStr("NOT (Name LIKE '%a''b%')");
  EXPECT_EQ(Conditions(), QStringList({"Name|doesn't contain|a'b|0|and"}));
  // Escaped wildcards are text of the value; an escaped last "%" is no suffix; a wildcard of
  // the text's own is no value any template writes.
  builder_.SetFilterStr("Name LIKE '%50^%^_^[^^%'");
  EXPECT_EQ(Conditions(), QStringList({"Name|contains|50%_[^|0|and"}));
  builder_.SetFilterStr("Name LIKE '%ab^%'");
  EXPECT_EQ(Conditions(), QStringList({"Name|ends with|ab%|0|and"}));
  builder_.SetFilterStr("Name LIKE '%a_b%'");
  EXPECT_EQ(builder_.Items()->Count(), 0);
  // With the LIKE templates not offered, LIKE expresses nothing: no conditions.
  builder_.SetAllowedUsageIDs("0");
  builder_.SetFilterStr("Name LIKE '%abc%'");
  EXPECT_EQ(builder_.Items()->Count(), 0);
}

// A "]" in a field name is written "]]" inside the brackets; the dataset and the reader read
// the name back whole.
TEST_F(ReadBackTest, AFieldNameWithAClosingBracket) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("a]b", ftInteger);
  data->AppendRecords({{1}, {2}});
  data->Open();
  TKelFltBld builder;
  builder.SetDataSet(data.get());
  AddCondition(builder, "a]b", "equals", 2);
  const QString text = builder.FilterStr();
  EXPECT_EQ(text, "[a]]b] = 2");
  data->SetFilter(text);
  data->SetFiltered(true);
  int shown = 0;
  for (data->First(); !data->Eof(); data->Next()) shown += data->Fields()[0]->AsInteger();
  EXPECT_EQ(shown, 2);
  builder.SetFilterStr(text);
  ASSERT_EQ(builder.Items()->Count(), 1);
  EXPECT_EQ(builder.Items()->Items(0)->DataField(), "a]b");
  EXPECT_EQ(builder.FilterStr(), text);
}

TEST_F(ReadBackTest, QuotedValuesComeBackAsTheyWere) {
  TKelFltItem* item = AddCondition(builder_, "Name", "is (exactly)", "x' or Id > '0");
  item->SetOperation("or");
  AddCondition(builder_, "Last Name", "is (exactly)", "O'Brien");
  const QString text = builder_.FilterStr();
  builder_.SetFilterStr(text);
  EXPECT_EQ(Conditions(), QStringList({"Name|is (exactly)|x' or Id > '0|0|or",
                                       "Last Name|is (exactly)|O'Brien|0|and"}));
  EXPECT_EQ(builder_.FilterStr(), text);
}

TEST_F(ReadBackTest, DisplayTextsFromPickListsAndLookups) {
  TKelFltBoxField* params = builder_.FieldParams()->Add();
  params->SetDataField("Name");
  params->PickList()->Add("The Eternal City=rome");
  params->PickList()->Add("Paris");
  builder_.SetFilterStr("Name = 'Rome' or Name = 'Paris' or Name = 'Oslo'");
  ASSERT_EQ(builder_.Items()->Count(), 3);
  const auto display = [this](int i) {
    return builder_.Items()->Items(i)->ParamByName("Value")->DisplayValue();
  };
  // Read as ((Rome or Paris) or Oslo): Oslo, the smaller side, first.
  EXPECT_EQ(display(0), "");
  EXPECT_EQ(display(1), "The Eternal City");
  EXPECT_EQ(display(2), "Paris");

  auto lookup = std::make_unique<TMemDataSet>();
  lookup->AddField("Key", ftInteger);
  lookup->AddField("Title", ftString, 20);
  lookup->AppendRecords({{1, "one"}, {2, "two"}});
  lookup->Open();
  TKelFltBoxField* ids = builder_.FieldParams()->Add();
  ids->SetDataField("Id");
  ids->SetLookupDataSet(lookup.get());
  ids->SetLookupKeyField("Key");
  ids->SetLookupDisplayField("Title");
  builder_.SetFilterStr("Id = 2");
  EXPECT_EQ(builder_.Items()->Items(0)->ParamByName("Value")->DisplayValue(), "two");
}

TEST_F(ReadBackTest, ErrorsAndTextsNoTemplateExpresses) {
  AddCondition(builder_, "Id", "equals", 1);
  try {
    builder_.SetFilterStr("Id = = 2");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().endsWith("\r\nBad filter.")) << e.Message().toStdString();
  }
  EXPECT_EQ(builder_.Items()->Count(), 1);  // a syntax error keeps the conditions
  // The empty text is a value of its own.
  builder_.SetFilterStr("Name IS NULL or Name = ''");
  EXPECT_EQ(builder_.FilterStr(), "Name IS NULL or Name = ''");
  builder_.SetFilterStr("(Name='' or Name IS NULL)");
  EXPECT_EQ(Conditions(), QStringList({"Name|is blank or empty||0|and"}));
  builder_.SetFilterStr("NOT (Id = 2)");
  EXPECT_EQ(builder_.Items()->Count(), 0);
  AddCondition(builder_, "Id", "equals", 1);
  builder_.SetFilterStr("\r\n");
  EXPECT_EQ(builder_.Items()->Count(), 0);
  // Two bracketed groups side by side cannot be written back with brackets from levels.
  builder_.SetFilterStr("(Id = 1 or Id = 2) and (Id = 3 or Id = 4)");
  EXPECT_EQ(builder_.Items()->Count(), 0);
  // With a condition between them they can.
  builder_.SetFilterStr("(Id = 1 or Id = 2) and (Id = 3 or Id = 4) and Score = 1");
  EXPECT_EQ(builder_.Expression(), "(Id = 1 or Id = 2) and Score = 1 and (Id = 3 or Id = 4)");
}

TEST_F(ReadBackTest, FieldsListAndTheFilteredDataSet) {
  // With Fields the text is parsed against those fields alone.
  TKelFltBld builder;
  TKelFltBoxField* field = builder.Fields()->Add();
  field->SetDataField("Code");
  field->SetDataType(ftInteger);
  builder.SetFilterStr("Code >= 10");
  EXPECT_EQ(builder.Expression(), "Code >= 10");
  EXPECT_THROW(builder.SetFilterStr("Other = 1"), Exception);
  // Reading back writes the result into the dataset.
  data_->Open();
  builder_.SetHookFilterProp(true);
  builder_.SetFilterStr("Id > 2");
  EXPECT_EQ(data_->Filter(), "Id > 2");
  EXPECT_EQ(data_->RecordCount(), 2);
}

// Random condition lists: the text the builder writes, read back, gives conditions that select
// the same records, and every condition that took part comes back.
TEST_F(ReadBackTest, RoundTripKeepsTheRecordsAndTheConditions) {
  std::mt19937 rng(4242);
  const std::vector<RandomRow> rows = MakeRandomRows(rng, 200, ReadBackToday);
  auto data = MakeRandomDataSet(rows);
  data->Open();
  TKelFltBld builder;
  builder.SetDataSet(data.get());
  builder.SetAllowedUsageIDs("");
  TKelFltBld reader;
  reader.SetDataSet(data.get());
  reader.SetAllowedUsageIDs("");
  for (int round = 0; round < 400; ++round) {
    builder.Items()->Clear();
    const int count = std::uniform_int_distribution<int>(1, 8)(rng);
    for (int i = 0; i < count; ++i) AddRandomCondition(builder, rng, ReadBackToday);
    int active = 0;
    for (int i = 0; i < builder.Items()->Count(); ++i)
      active += builder.IsItemActive(builder.Items()->Items(i)) ? 1 : 0;
    const QString text = builder.FilterStr();
    reader.SetFilterStr(text);
    const QString again = reader.FilterStr();
    ASSERT_EQ(reader.Items()->Count(), active) << text.toStdString() << "\n" << again.toStdString();
    data->SetFilter(text);
    data->SetFiltered(true);
    const std::set<int> before = ShownIds(*data);
    data->SetFilter(again);
    ASSERT_EQ(ShownIds(*data), before) << text.toStdString() << "\n" << again.toStdString();
    // And once more: the conditions read from the written text are stable in number.
    reader.SetFilterStr(again);
    ASSERT_EQ(reader.Items()->Count(), active) << again.toStdString();
  }
}

}  // namespace
}  // namespace Kel
