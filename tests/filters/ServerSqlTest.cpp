// SQL text that a database server reads as the builder means it: field names with capitals and
// money values where the dataset's database needs them quoted, and dates and times in a form
// that SQLite and PostgreSQL both read as the same day.
#include <gtest/gtest.h>

#include "DateTimeFormat.h"
#include "FilterTestData.h"

namespace Kel {
namespace {

using Testing::AddCondition;

// An in-memory dataset that answers as one on PostgreSQL does.
class TServerLikeData : public TMemDataSet {
 public:
  TSqlTextRules SqlTextRules() const override { return {true, true}; }
};

template <typename Data>
std::unique_ptr<Data> MakeSales() {
  auto data = std::make_unique<Data>();
  data->AddField("OrderNo", ftInteger);
  data->AddField("amount", ftFloat);
  data->AddField("Total", ftCurrency);
  data->AddField("Last Name", ftString, 30);
  data->AddField("SaleDate", ftDate);
  data->AddField("ShipTime", ftTime);
  data->AddField("Shipped", ftDateTime);
  data->AppendRecords({{1, 2.5, 1250.5, "Smith", Variant::FromDate(EncodeDate(2024, 1, 8)),
                        Variant::Null(), Variant::Null()}});
  return data;
}

class ServerSqlTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(TFormatSettings::Invariant()); }
  // The condition lines of the statement (the line after WHERE).
  static QString Where(TKelFltBld& builder) { return builder.SQL()->Strings(2); }
};

TEST_F(ServerSqlTest, FieldNamesWithCapitalsAreQuotedWhereTheDatabaseLowersThem) {
  const auto server = MakeSales<TServerLikeData>();
  const auto local = MakeSales<TMemDataSet>();
  TKelFltBld builder;
  builder.SetDataSet(server.get());
  builder.SQLHead()->SetText("SELECT * FROM sales");
  AddCondition(builder, "OrderNo", "equals", 1)->SetOperation("or");
  AddCondition(builder, "amount", "more than", 2);
  builder.OrderByItems()->Add()->SetDataField("OrderNo");
  EXPECT_EQ(Where(builder), "\"OrderNo\" = 1 or amount > 2");
  EXPECT_EQ(builder.GetOrderByText(), "ORDER BY \"OrderNo\"");
  EXPECT_EQ(builder.FilterStr(), "OrderNo = 1 or amount > 2") << "the filter text is no SQL";
  // A quoted name is qualified with the one table; the table name stays as written.
  builder.TableNames()->Add("Sales");
  EXPECT_EQ(Where(builder), "Sales.\"OrderNo\" = 1 or amount > 2");
  builder.TableNames()->Clear();
  // An SQL name from the catalogue is SQL text already: a server lowers it as it would anyway.
  TKelFltBoxField* entry = builder.FieldParams()->Add();
  entry->SetDataField("OrderNo");
  entry->SetSQLFieldName("ORDER_NO");
  EXPECT_EQ(Where(builder), "ORDER_NO = 1 or amount > 2");
  builder.FieldParams()->Clear();

  builder.SetDataSet(local.get());
  EXPECT_EQ(Where(builder), "OrderNo = 1 or amount > 2") << "SQLite finds names in any case";
  EXPECT_EQ(builder.GetOrderByText(), "ORDER BY OrderNo");
}

TEST_F(ServerSqlTest, MoneyValuesAreQuotedWhereMoneyComparesOnlyWithMoney) {
  const auto server = MakeSales<TServerLikeData>();
  const auto local = MakeSales<TMemDataSet>();
  TKelFltBld builder;
  builder.SetDataSet(server.get());
  AddCondition(builder, "Total", "between", 99.95, 1250.5);
  AddCondition(builder, "amount", "at least", 2.5);
  EXPECT_EQ(Where(builder),
            "((\"Total\" >= '99.95') AND (\"Total\" <= '1250.5')) and amount >= 2.5");
  EXPECT_EQ(builder.FilterStr(), "((Total >= 99.95) AND (Total <= 1250.5)) and amount >= 2.5");
  builder.SetDataSet(local.get());
  EXPECT_EQ(Where(builder), "((Total >= 99.95) AND (Total <= 1250.5)) and amount >= 2.5");
}

// The SQL form's default writes ISO dates and 24-hour times; the filter form keeps following
// the format settings.
TEST_F(ServerSqlTest, DatesAndTimesGoIntoSqlAsIsoText) {
  SetDateMacrosToday(EncodeDate(2024, 3, 6));
  const auto local = MakeSales<TMemDataSet>();
  TKelFltBld builder;
  builder.SetDataSet(local.get());
  AddCondition(builder, "SaleDate", "between", Variant::FromDate(EncodeDate(2024, 1, 8)),
               Variant::FromDate(EncodeDate(2024, 11, 30)));
  AddCondition(builder, "ShipTime", "after", Variant::FromDate(EncodeTime(15, 45, 0, 0)));
  AddCondition(builder, "Shipped", "is ~on or before~",
               Variant::FromDate(EncodeDate(2024, 1, 9) + EncodeTime(9, 5, 0, 0)));
  AddCondition(builder, "SaleDate", "is in the ~last 7 days~");
  EXPECT_EQ(Where(builder),
            "((SaleDate >= '2024-01-08') AND (SaleDate <= '2024-11-30')) and ShipTime >= "
            "'15:45:00' and Shipped <= '2024-01-09 09:05:00' and ((SaleDate < '2024-03-06') and "
            "(SaleDate >= '2024-02-28'))");
  EXPECT_EQ(builder.FilterStr(),
            "((SaleDate >= '1/8/2024') AND (SaleDate <= '11/30/2024')) and ShipTime >= "
            "'3:45 PM' and Shipped <= '1/9/2024 9:05 AM' and ((SaleDate < '3/6/2024') and "
            "(SaleDate >= '2/28/2024'))");
}

}  // namespace
}  // namespace Kel
