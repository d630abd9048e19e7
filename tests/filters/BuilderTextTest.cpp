// The builder's texts, rule by rule: which conditions take part, field references in filter
// and SQL text, value quoting, brackets from indentation, the filter text with its additional
// filter, ORDER BY and the assembled statement.
#include <gtest/gtest.h>

#include "DateTimeFormat.h"
#include "FilterTestData.h"

namespace Kel {
namespace {

using Testing::AddCondition;
using Testing::MakeOrders;

class BuilderTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(TFormatSettings::Invariant());
    data_ = MakeOrders();
    builder_.SetDataSet(data_.get());
  }

  // A condition "Id equals n" at a level with a connector.
  TKelFltItem* Equals(int n, int level = 0, const char* op = "and") {
    TKelFltItem* item = AddCondition(builder_, "Id", "equals", n);
    item->SetIndentLev(level);
    item->SetOperation(op);
    return item;
  }

  QString Sql() { return builder_.SQL()->Text(); }

  std::unique_ptr<TMemDataSet> data_;
  TKelFltBld builder_;
};

TEST_F(BuilderTextTest, ConditionsTakePartOnlyWhenComplete) {
  TKelFltItem* item = AddCondition(builder_, "Name", "is (exactly)");
  EXPECT_FALSE(builder_.IsItemActive(item));  // no value yet
  item->SetValue("Rome");
  EXPECT_TRUE(builder_.IsItemActive(item));
  item->SetChecked(false);
  EXPECT_FALSE(builder_.IsItemActive(item));
  item->SetChecked(true);
  item->SetOperation("");
  EXPECT_FALSE(builder_.IsItemActive(item));
  item->SetOperation("and");
  item->SetTemplate("no such operation");
  EXPECT_FALSE(builder_.IsItemActive(item));
  EXPECT_EQ(item->DataField(), "Name");  // a missing template keeps field and values
  EXPECT_EQ(item->Value(), Variant("Rome"));
  EXPECT_EQ(builder_.Expression(), "");
}

TEST_F(BuilderTextTest, ChoosingAFieldResetsTheTemplate) {
  TKelFltItem* item = AddCondition(builder_, "Name", "at most", "x");
  EXPECT_EQ(item->Caption(), ":Field :Template :Value :Operation");
  item->SetDataField("Due");
  EXPECT_EQ(item->Template(), "is yesterday");
  EXPECT_EQ(item->Caption(), ":Field :Template :Operation");
  item->SetDataField("Score");
  EXPECT_EQ(item->Template(), "equals");
  EXPECT_TRUE(item->Value().IsEmpty());
  EXPECT_EQ(item->ParamByName("Value")->DataType(), FT_FLOAT);
  EXPECT_EQ(item->ParamByName("Field")->DisplayValue(), "Score");
  EXPECT_EQ(item->ParamByName("Operation")->Value(), Variant("and"));
}

TEST_F(BuilderTextTest, LastConnectorIsHidden) {
  TKelFltItem* first = Equals(1);
  TKelFltItem* last = Equals(2);
  EXPECT_TRUE(builder_.Items()->IsParamVisible(first, first->ParamByName("Operation")));
  EXPECT_FALSE(builder_.Items()->IsParamVisible(last, last->ParamByName("Operation")));
  EXPECT_EQ(builder_.Items()->PlainItemText(last), "Id equals 2 ");
}

TEST_F(BuilderTextTest, ValuesAreQuotedAndCannotEndTheLiteral) {
  AddCondition(builder_, "Name", "is (exactly)", "O'Brien");
  EXPECT_EQ(builder_.Expression(), "Name = 'O''Brien'");
  builder_.Items()->Clear();
  AddCondition(builder_, "Name", "is (exactly)", "x' or Id > '0");
  EXPECT_EQ(builder_.Expression(), "Name = 'x'' or Id > ''0'");
  data_->Open();
  builder_.SetHookFilterProp(true);
  builder_.UpdateDataSet();
  EXPECT_EQ(data_->RecordCount(), 0);  // the whole text is one value: nothing matches it
  // A value holding another parameter's or a macro's name stays as it is.
  builder_.Items()->Clear();
  builder_.SetAllowedUsageIDs("");
  AddCondition(builder_, "Name", "contains", "a:Value :SYSTODAY");
  EXPECT_EQ(builder_.Expression(), "Name LIKE '%a:Value :SYSTODAY%'");
}

TEST_F(BuilderTextTest, BracketsFromIndentation) {
  Equals(1, 0, "and");
  Equals(2, 1, "or");
  Equals(3, 1, "and");
  Equals(4, 0);
  EXPECT_EQ(builder_.Expression(), "Id = 1 and (Id = 2 or Id = 3) and Id = 4");
  builder_.Items()->Clear();
  Equals(1, 0);
  Equals(2, 2);
  Equals(3, 0);
  EXPECT_EQ(builder_.Expression(), "Id = 1 and ((Id = 2)) and Id = 3");
  builder_.Items()->Clear();
  Equals(1, 2);
  Equals(2, 2);
  EXPECT_EQ(builder_.Expression(), "((Id = 1 and Id = 2))");
}

TEST_F(BuilderTextTest, SkippedConditionPassesItsPlaceOn) {
  Equals(1, 0, "or");
  Equals(2, 1, "and")->SetChecked(false);
  Equals(3, 0);
  EXPECT_EQ(builder_.Expression(), "Id = 1 or Id = 3");
}

TEST_F(BuilderTextTest, FieldReferences) {
  AddCondition(builder_, "Last Name", "is (exactly)", "Smith");
  AddCondition(builder_, "Date", "is ~on~", Variant::FromDate(EncodeDate(2024, 1, 8)));
  EXPECT_EQ(builder_.Expression(), "[Last Name] = 'Smith' and [Date] = '1/8/2024'");
  builder_.SetEncloseInBrackets(false);
  EXPECT_EQ(builder_.Expression(), "Last Name = 'Smith' and Date = '1/8/2024'");
  // SQL: a quoted name is always qualified when there is a table.
  builder_.TableNames()->Add("customer");
  EXPECT_EQ(
      Sql(),
      "\r\nWHERE\r\ncustomer.\"Last Name\" = 'Smith' and customer.\"Date\" = '2024-01-08'\r\n");
  builder_.Items()->Clear();
  AddCondition(builder_, "Name", "is (exactly)", "x");
  EXPECT_EQ(builder_.SQL()->Strings(2), "Name = 'x'");
  builder_.SetAddTableNames(true);
  EXPECT_EQ(builder_.SQL()->Strings(2), "customer.Name = 'x'");
  // Two table names: no default table; per-field settings win.
  builder_.TableNames()->Add("orders");
  EXPECT_EQ(builder_.SQL()->Strings(2), "Name = 'x'");
  TKelFltBoxField* params = builder_.FieldParams()->Add();
  params->SetDataField("name");
  params->SetTableName("my table");
  params->SetSQLFieldName("CUST_NAME");
  EXPECT_EQ(builder_.SQL()->Strings(2), "\"my table\".CUST_NAME = 'x'");
  EXPECT_TRUE(NameNeedsQuoting("select"));
  EXPECT_TRUE(NameNeedsQuoting("Length(cm)"));
  EXPECT_FALSE(NameNeedsQuoting("ALTER"));
  EXPECT_FALSE(NameNeedsQuoting(""));
  EXPECT_EQ(ReservedWords().size(), 152);
}

TEST_F(BuilderTextTest, FilterStrWithAdditionalFilterAndFiltered) {
  EXPECT_EQ(builder_.FilterStr(), "");
  EXPECT_FALSE(Sql().contains("WHERE"));
  builder_.SetAdditionalFilter("Paid = True");
  EXPECT_EQ(builder_.FilterStr(), "Paid = True");
  AddCondition(builder_, "Name", "is (exactly)", "Rome");
  EXPECT_EQ(builder_.FilterStr(), "Paid = True and Name = 'Rome'");
  // An "or" on either side keeps its side together.
  builder_.Items()->Items(0)->SetOperation("or");
  AddCondition(builder_, "Id", "equals", 3);
  EXPECT_EQ(builder_.FilterStr(), "Paid = True and (Name = 'Rome' or Id = 3)");
  builder_.SetAdditionalFilter("Paid = True or Name = 'or'");
  builder_.Items()->Delete(1);
  EXPECT_EQ(builder_.FilterStr(), "(Paid = True or Name = 'or') and Name = 'Rome'");
  builder_.SetFiltered(false);
  EXPECT_EQ(builder_.FilterStr(), "");
  EXPECT_EQ(builder_.Expression(), "Name = 'Rome'");
}

TEST_F(BuilderTextTest, ModifiedOnlyWhenTheTextChanges) {
  AddCondition(builder_, "Id", "equals", 1);
  builder_.FilterStr();
  EXPECT_TRUE(builder_.Modified());
  builder_.UpdateDataSet();  // writes, clears the flag
  EXPECT_FALSE(builder_.Modified());
  builder_.FilterStr();
  builder_.FilterStr();
  EXPECT_FALSE(builder_.Modified());
  builder_.SQL();  // the SQL form is no change of the filter
  builder_.FilterStr();
  EXPECT_FALSE(builder_.Modified());
}

TEST_F(BuilderTextTest, StatementParts) {
  AddCondition(builder_, "Id", "more than", 1);
  builder_.SQLHead()->SetText("SELECT * FROM T");
  EXPECT_EQ(Sql(), "SELECT * FROM T\r\nWHERE\r\nId > 1\r\n");
  builder_.SQLHead()->SetText("SELECT * FROM T WHERE A=1 AND");
  builder_.SetWhereInc(wiNo);
  EXPECT_EQ(Sql(), "SELECT * FROM T WHERE A=1 AND\r\nId > 1\r\n");
  builder_.SQLHead()->SetText("SELECT * FROM T WHERE A=1");
  builder_.SetWhereInc(wiAuto);
  builder_.Items()->Items(0)->SetOperation("and");
  builder_.SQLHead()->SetText("SELECT 'where' FROM T /* where */");
  EXPECT_EQ(builder_.SQL()->Strings(1), "WHERE");
  builder_.SQLHead()->SetText("SELECT * FROM T WHERE A=1");
  EXPECT_EQ(builder_.SQL()->Strings(1), "Id > 1");
  builder_.SetWhereInc(wiYes);
  EXPECT_EQ(builder_.SQL()->Strings(1), "WHERE");
  builder_.SetWhereInc(wiAuto);
  builder_.SQLTail()->SetText("GROUP BY Id");
  TKelOrderByItem* order = builder_.OrderByItems()->Add();
  order->SetDataField("Name");
  order = builder_.OrderByItems()->Add();
  order->SetDataField("Last Name");
  order->SetDescending(true);
  builder_.SQLOBTail()->SetText("LIMIT 5");
  EXPECT_EQ(builder_.GetOrderByText(), "ORDER BY Name, \"Last Name\" DESC");
  EXPECT_EQ(Sql(),
            "SELECT * FROM T WHERE A=1\r\nId > 1\r\nGROUP BY Id\r\nORDER BY Name, \"Last Name\" "
            "DESC\r\nLIMIT 5\r\n");
  // SQL mode is left as it was: dates and Booleans in filter form again afterwards.
  EXPECT_FALSE(builder_.ForceSQLDateTime());
  EXPECT_FALSE(builder_.ForceSQLBooleans());
}

TEST_F(BuilderTextTest, SqlFormOfValues) {
  TFormatSettings comma = TFormatSettings::Invariant();
  comma.DecimalSeparator = u',';
  SetFormatSettings(comma);
  AddCondition(builder_, "Score", "between", 1.5, 2.75);
  AddCondition(builder_, "Paid", "equals", true);
  AddCondition(builder_, "Due", "is ~on~", Variant::FromDate(EncodeDate(2024, 1, 8)));
  builder_.SetSQLDateTimeFormat(nullptr);
  builder_.SQLDateTimeFormat()->SetDateFormat("YYYY-MM-DD");
  builder_.SQLDateTimeFormat()->SetDateSeparator(u'-');
  EXPECT_EQ(builder_.SQL()->Strings(2),
            "((Score >= 1.5) AND (Score <= 2.75)) and Paid = True and Due = '2024-01-08'");
  EXPECT_EQ(builder_.Expression(),
            "((Score >= 1.5) AND (Score <= 2.75)) and Paid = True and Due = '1/8/2024'");
  SetFormatSettings(TFormatSettings::Invariant());
}

}  // namespace
}  // namespace Kel
