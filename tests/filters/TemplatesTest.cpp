// Operation templates: what is offered per category and usage, finding a template by its text,
// the text each built-in template writes, and the date macros of a given day.
#include <gtest/gtest.h>

#include "FilterTestData.h"
#include "DateTimeFormat.h"
#include "KelUtils.h"

namespace Kel {
namespace {

using Testing::AddCondition;
using Testing::MakeOrders;

class TemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    SetLocaleFirstDayOfWeek(dwMonday);
    SetDateMacrosToday(EncodeDate(2024, 3, 6));  // a Wednesday
  }
  void TearDown() override { SetDefaultTemplatesHook(nullptr); }

  QStringList Captions(const QString& category, const QString& allowed) {
    QStringList list;
    for (TKelFltBoxTemplate* t : templates_.Offered(category, allowed)) list << t->CaptionID();
    return list;
  }

  TKelFltBoxTemplates templates_;
};

TEST_F(TemplatesTest, OfferedByCategoryAndUsage) {
  templates_.LoadDefaults();
  ASSERT_EQ(templates_.Count(), 57);
  EXPECT_EQ(Captions("text", "").size(), 12);
  EXPECT_EQ(Captions("Text", "").front(), "contains");
  EXPECT_EQ(Captions("Text", "0"),
            QStringList({"is (exactly)", "is empty", "is not empty", "more than", "less than",
                         "at least", "at most", "is ~blank or empty~"}));
  EXPECT_EQ(Captions("Text", "10").size(), 0);  // whole entries only
  EXPECT_EQ(Captions("Text", "1;0").size(), 12);
  EXPECT_EQ(Captions("Text", "0,1").size(), 12);
  EXPECT_EQ(Captions(CategoryOfFieldType(ftBlob), "0"), QStringList({"is empty", "is not empty"}));
  EXPECT_EQ(templates_.FirstOffered("Memo", "0")->CaptionID(), "is empty");
  EXPECT_EQ(templates_.FirstOffered("Nothing", ""), nullptr);
}

TEST_F(TemplatesTest, FindIgnoresCaseTildesAndUsage) {
  templates_.LoadDefaults();
  EXPECT_EQ(templates_.Find("Date", "is today")->Filter(), ":Field = :SYSTODAY");
  EXPECT_EQ(templates_.Find("date", "IS ~TODAY~")->Filter(), ":Field = :SYSTODAY");
  EXPECT_EQ(templates_.Find("Text", "contains")->UsageID(), 1);
  EXPECT_EQ(templates_.Find("Number", "contains"), nullptr);
  EXPECT_EQ(templates_.Find("Text", "contains")->DisplayName(), "Text.[contains]");
}

TEST_F(TemplatesTest, HookAltersTheDefaults) {
  SetDefaultTemplatesHook([](TKelFltBoxTemplates* t) {
    TKelFltBoxTemplate* extra = t->Add();
    extra->SetCategory("Number");
    extra->SetCaptionID("is odd");
    extra->SetCaption(":Field :Template");
    extra->SetFilter("(:Field - 2 * (:Field / 2)) <> 0");
  });
  TKelFltBld builder;
  EXPECT_EQ(builder.Templates()->Count(), 58);
  EXPECT_EQ(builder.Templates()->Items(57)->CaptionID(), "is odd");
}

TEST_F(TemplatesTest, DateMacrosOfAGivenDay) {
  const auto macro = [](const char* name) {
    const TKelField* field = FindDateMacro(name);
    return field ? FormatDateTime("yyyy-mm-dd", field->AsDateTime()) : QString("none");
  };
  EXPECT_EQ(DateMacros().Count(), 17);
  EXPECT_EQ(DateMacros().Items(0)->DataType(), FT_DATE);
  EXPECT_EQ(macro("SYSTODAY"), "2024-03-06");
  EXPECT_EQ(macro("SYSYESTERDAY"), "2024-03-05");
  EXPECT_EQ(macro("SYSTOMORROW"), "2024-03-07");
  EXPECT_EQ(macro("SYSTODM7"), "2024-02-28");
  EXPECT_EQ(macro("SYSTODP7"), "2024-03-13");
  EXPECT_EQ(macro("SYSThisWeek1"), "2024-03-04");
  EXPECT_EQ(macro("SYSThisWeek7"), "2024-03-10");
  EXPECT_EQ(macro("SYSLastWeek1"), "2024-02-26");
  EXPECT_EQ(macro("SYSNextWeek7"), "2024-03-17");
  EXPECT_EQ(macro("SYSLastMon1"), "2024-02-01");
  EXPECT_EQ(macro("SYSLastMon31"), "2024-02-29");
  EXPECT_EQ(macro("SYSThisMon31"), "2024-03-31");
  EXPECT_EQ(macro("SYSNextMon1"), "2024-04-01");
  EXPECT_EQ(macro("SYSNextMon31"), "2024-04-30");
  // The first builder does not recompute a table that exists: the day stays.
  TKelFltBld builder;
  EXPECT_EQ(macro("SYSTODAY"), "2024-03-06");
  // A Sunday start of the week moves the week.
  SetLocaleFirstDayOfWeek(dwSunday);
  SetDateMacrosToday(EncodeDate(2024, 3, 31));
  EXPECT_EQ(macro("SYSThisWeek1"), "2024-03-31");
  EXPECT_EQ(macro("SYSLastMon31"), "2024-02-29");  // 31 March back a month: clipped
}

// Each built-in template writes its filter with the field and the values filled in.
TEST_F(TemplatesTest, EveryDefaultTemplateWritesItsText) {
  auto data = MakeOrders();
  TKelFltBld builder;
  builder.SetDataSet(data.get());
  builder.SetAllowedUsageIDs("");
  const Variant d1 = Variant::FromDate(EncodeDate(2024, 1, 8));
  const Variant d2 = Variant::FromDate(EncodeDate(2024, 2, 1));
  const Variant t1 = Variant::FromDate(EncodeTime(9, 30, 0, 0));
  const Variant t2 = Variant::FromDate(EncodeTime(17, 0, 0, 0));
  struct Row {
    const char* field;
    Variant v1, v2;
  };
  const std::map<QString, Row> byCategory = {
      {"Memo", {"Notes", "ab", Variant()}},     {"Text", {"Name", "ab", Variant()}},
      {"Time", {"Hour", t1, t2}},                 {"Date", {"Due", d1, d2}},
      {"Unknown", {"Picture", Variant(), Variant()}}, {"Boolean", {"Paid", true, Variant()}},
      {"Number", {"Score", 2.5, 7}},
  };
  const QStringList expected = {
      "Notes LIKE '%ab%'", "Notes LIKE 'ab%'", "Notes LIKE '%ab'", "Notes = 'ab'",
      "NOT (Notes LIKE '%ab%')", "Notes IS NULL", "NOT (Notes IS NULL)",
      "Name LIKE '%ab%'", "Name LIKE 'ab%'", "Name LIKE '%ab'", "Name = 'ab'",
      "NOT (Name LIKE '%ab%')", "Name IS NULL", "NOT (Name IS NULL)", "Name > 'ab'",
      "Name < 'ab'", "Name >= 'ab'", "Name <= 'ab'", "(Name='' or Name IS NULL)",
      "Hour = '9:30 AM'", "Hour >= '9:30 AM'", "Hour <= '9:30 AM'",
      "((Hour >= '9:30 AM') AND (Hour <= '5:00 PM'))", "Hour IS NULL", "NOT (Hour IS NULL)",
      "Due = '3/5/2024'", "Due = '3/6/2024'", "Due = '3/7/2024'",
      "((Due < '3/6/2024') and (Due >= '2/28/2024'))",
      "((Due > '3/6/2024') and (Due <= '3/13/2024'))",
      "((Due <= '3/3/2024') and (Due >= '2/26/2024'))",
      "((Due <= '3/10/2024') and (Due >= '3/4/2024'))",
      "((Due <= '3/17/2024') and (Due >= '3/11/2024'))",
      "((Due <= '2/29/2024') and (Due >= '2/1/2024'))",
      "((Due <= '3/31/2024') and (Due >= '3/1/2024'))",
      "((Due <= '4/30/2024') and (Due >= '4/1/2024'))",
      "Due = '1/8/2024'", "Due >= '1/8/2024'", "Due <= '1/8/2024'",
      "((Due >= '1/8/2024') AND (Due <= '2/1/2024'))", "Due IS NULL", "NOT (Due IS NULL)",
      "Picture IS NULL", "NOT (Picture IS NULL)",
      "Paid = True", "Paid <> True", "Paid IS NULL", "NOT (Paid IS NULL)",
      "Score = 2.5", "Score <> 2.5", "Score <= 2.5", "Score >= 2.5", "Score > 2.5",
      "Score < 2.5", "((Score >= 2.5) AND (Score <= 7))", "Score IS NULL",
      "NOT (Score IS NULL)"};
  ASSERT_EQ(builder.Templates()->Count(), expected.size());
  builder.SetForceSQLBooleans(true);
  for (int i = 0; i < builder.Templates()->Count(); ++i) {
    const TKelFltBoxTemplate* t = builder.Templates()->Items(i);
    const Row& row = byCategory.at(t->Category());
    builder.Items()->Clear();
    TKelFltItem* item = AddCondition(builder, row.field, t->CaptionID(), row.v1, row.v2);
    EXPECT_EQ(builder.Expression(), expected[i]) << t->DisplayName().toStdString();
    EXPECT_TRUE(builder.IsItemActive(item)) << t->DisplayName().toStdString();
  }
}

}  // namespace
}  // namespace Kel
