// Applying the result: the filter text into an in-memory dataset's Filter, the statement into a
// query's SQL on the sample database, the user's decimal separator during the write, and the deferred
// template refresh after loading.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "DBTables.h"
#include "FilterTestData.h"
#include "Exceptions.h"
#include "Fields.h"
#include "KelPersHolder.h"
#include "NumberFormat.h"
#include "Streams.h"

namespace Kel {
namespace {

using Testing::AddCondition;
using Testing::MakeOrders;


class UpdateDataSetTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  void TearDown() override { SetFormatSettings(TFormatSettings::Invariant()); }
};

TEST_F(UpdateDataSetTest, FilterIntoAnInMemoryDataSet) {
  auto data = MakeOrders();
  data->Open();
  TKelFltBld builder;
  builder.SetHookFilterProp(true);
  builder.SetDataSet(data.get());
  AddCondition(builder, "Score", "more than", 3.25);
  // The user's separator is a comma; the filter text and the dataset read a point, and the
  // handlers that run meanwhile format numbers as the user's settings say.
  TFormatSettings comma = TFormatSettings::Invariant();
  comma.DecimalSeparator = u',';
  SetFormatSettings(comma);
  QStringList seen;
  data->AfterScroll = [&seen](TDataSet*) { seen << FloatToStr(1.5); };
  builder.UpdateDataSet();
  EXPECT_EQ(FormatSettings().DecimalSeparator, u',');
  EXPECT_EQ(data->Filter(), "Score > 3.25");
  EXPECT_TRUE(data->Filtered());
  EXPECT_EQ(data->RecordCount(), 3);
  ASSERT_FALSE(seen.isEmpty());
  EXPECT_EQ(seen.filter("1,5").size(), seen.size()) << seen.join(u' ').toStdString();
  // Filtered off writes an empty filter; the dataset shows everything again.
  builder.SetFiltered(false);
  EXPECT_EQ(data->Filter(), "");
  EXPECT_EQ(data->RecordCount(), 4);
  builder.SetFiltered(true);
  builder.SetAdditionalFilter("Paid = True");
  EXPECT_EQ(data->Filter(), "Paid = True and Score > 3.25");
  EXPECT_EQ(data->RecordCount(), 2);
  // An error of the dataset reaches the caller; the separator is the user's again.
  try {
    builder.SetAdditionalFilter("Paid =");
    FAIL() << "no error";
  } catch (const Exception&) {
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, u',');
  // A quoted number reads with the filter's "." and with the user's own separator.
  data->SetFilter("Score > '3.25'");
  EXPECT_EQ(data->RecordCount(), 3);
  data->SetFilter("Score > '12,5'");
  EXPECT_EQ(data->RecordCount(), 1);
}

TEST_F(UpdateDataSetTest, NothingIsWrittenWithoutAHookOrWhileLoading) {
  auto data = MakeOrders();
  data->Open();
  TKelFltBld builder;
  builder.SetDataSet(data.get());
  AddCondition(builder, "Id", "equals", 2);
  builder.UpdateDataSet();
  EXPECT_EQ(data->Filter(), "");
  builder.SetHookFilterProp(true);
  builder.UpdateDataSet();  // the text was written (unhooked) before: nothing changed since
  EXPECT_EQ(data->Filter(), "");
  builder.Items()->Items(0)->SetValue(3);
  builder.SetLoading(true);
  builder.UpdateDataSet();
  EXPECT_EQ(data->Filter(), "");
  builder.SetLoading(false);
  builder.UpdateDataSet();
  EXPECT_EQ(data->Filter(), "Id = 3");
  EXPECT_EQ(data->RecordCount(), 1);
}

class SampleDatabaseTest : public UpdateDataSetTest {
 protected:
  static void SetUpTestSuite() { Testing::SampleDatabaseSuite::SetUp(); }
  static void TearDownTestSuite() { Testing::SampleDatabaseSuite::TearDown(); }
};

TEST_F(SampleDatabaseTest, StatementIntoAQuery) {
  TQuery query;
  query.SetDatabaseName("DBDEMOS");
  query.SQL()->SetText("SELECT * FROM biolife");
  TKelFltBld builder;
  builder.SetHookSQLProp(true);
  query.Open();
  builder.SetDataSet(&query);  // no conditions, no change: the query is left as it is
  EXPECT_EQ(query.RecordCount(), 360);
  EXPECT_EQ(builder.SQLHead()->Count(), 0);

  TKelFltItem* shark = AddCondition(builder, "Category", "is (exactly)", "Shark");
  shark->SetOperation("or");
  TKelFltItem* length = AddCondition(builder, "Length (cm)", "less than", 50);
  TKelOrderByItem* order = builder.OrderByItems()->Add();
  order->SetDataField("Species No");
  order->SetDescending(true);
  builder.UpdateDataSet();
  EXPECT_EQ(builder.SQLHead()->Text(), "SELECT * FROM biolife\r\n");  // captured once
  EXPECT_EQ(query.SQL()->Text(),
            "SELECT * FROM biolife\r\nWHERE\r\nCategory = 'Shark' or \"Length (cm)\" < 50\r\n"
            "ORDER BY \"Species No\" DESC\r\n");
  ASSERT_TRUE(query.Active());
  int sharks = 0;
  int small = 0;
  int previous = 1 << 30;
  for (query.First(); !query.Eof(); query.Next()) {
    const int no = query.FieldByName("Species No")->AsInteger();
    EXPECT_LT(no, previous);
    previous = no;
    if (query.FieldByName("Category")->AsString() == "Shark") ++sharks;
    if (query.FieldByName("Length (cm)")->AsFloat() < 50) ++small;
  }
  EXPECT_GT(sharks, 0);
  EXPECT_GT(small, 0);
  EXPECT_EQ(query.RecordCount(), sharks + small);

  // Without ActivateDataSet the query keeps the state it had.
  builder.SetActivateDataSet(false);
  length->SetValue(30);
  builder.UpdateDataSet();
  EXPECT_TRUE(query.Active());
  EXPECT_TRUE(query.SQL()->Text().contains("< 30")) << query.SQL()->Text().toStdString();
}

TEST_F(SampleDatabaseTest, TemplatesAreRefreshedAfterLoading) {
  TKelFltBld builder;
  TKelFltBoxField* field = builder.Fields()->Add();
  field->SetDataField("Name");
  // Conditions read before their field is known: no template yet, values kept.
  TKelFltItem* item = AddCondition(builder, "Name", "is (exactly)");
  EXPECT_EQ(item->Caption(), "");
  field->SetDataType(ftString);
  item->Params()->FieldByName("Template")->SetAsString("is (exactly)");
  builder.Loaded();
  EXPECT_EQ(item->Caption(), "");
  QCoreApplication::processEvents();
  EXPECT_EQ(item->Caption(), ":Field :Template :Value :Operation");
}

// Conditions travel in streams without their captions; the refresh after reading rebuilds
// them from the templates, with values, prefixes and display texts intact.
TEST_F(UpdateDataSetTest, ConditionsThroughAStream) {
  auto data = MakeOrders();
  TKelFltBld source;
  source.SetDataSet(data.get());
  source.SetAllowedUsageIDs("");
  AddCondition(source, "Name", "contains", "O'B")->SetOperation("or");
  TKelFltItem* date = AddCondition(source, "Due", "between", Variant::FromDate(EncodeDate(2024, 1, 1)),
                                   Variant::FromDate(EncodeDate(2024, 1, 31)));
  date->SetIndentLev(1);
  date->SetChecked(false);
  TStringStream stream;
  WriteCollectionText(stream, source.Items());
  const QString text = stream.DataString();
  EXPECT_FALSE(text.contains("Caption")) << text.toStdString();
  stream.SetPosition(0);
  TKelFltBld target;
  target.SetDataSet(data.get());
  ReadCollectionText(stream, target.Items());
  target.RefreshTemplates();
  ASSERT_EQ(target.Items()->Count(), 2);
  EXPECT_EQ(target.Items()->Items(0)->Caption(), ":Field :Template :Value :Operation");
  EXPECT_EQ(target.Items()->Items(0)->ValuePrefix(), "%");
  EXPECT_EQ(target.Items()->Items(1)->IndentLev(), 1);
  EXPECT_FALSE(target.Items()->Items(1)->Checked());
  EXPECT_EQ(target.Items()->Items(1)->ParamByName("Value2")->DataType(), FT_DATE);
  target.Items()->Items(1)->SetChecked(true);
  source.Items()->Items(1)->SetChecked(true);
  EXPECT_EQ(target.Expression(), source.Expression());
  EXPECT_EQ(target.Expression(),
            "Name LIKE '%O''B%' or (((Due >= '1/1/2024') AND (Due <= '1/31/2024')))");
}

}  // namespace
}  // namespace Kel
