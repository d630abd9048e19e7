// What outlives what: data sources deleted by handlers while their dataset goes, fields deleted
// from an open dataset under the controls that show them, and datasets of static storage
// duration that give their readers back after the program's other static objects are gone.
// The sanitizer build turns a slip here into a failure.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <algorithm>
#include <cstdlib>

#include "DbTestData.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

TEST(DataSetLifetime, AHandlerMayDeleteAnotherDataSourceWhileTheDataSetGoes) {
  auto data = Testing::MakeFish();
  data->Open();
  auto first = std::make_unique<TDataSource>();
  auto* second = new TDataSource;  // deleted by first's handler
  auto third = std::make_unique<TDataSource>();
  for (TDataSource* source : {first.get(), second, third.get()}) source->SetDataSet(data.get());
  QStringList told;
  first->OnStateChange = [&](TDataSource*) {
    told << "first";
    delete second;
    second = nullptr;
  };
  third->OnStateChange = [&](TDataSource*) { told << "third"; };
  data.reset();
  EXPECT_EQ(told, QStringList({"first", "third"}));
  EXPECT_EQ(first->DataSet(), nullptr);
  EXPECT_EQ(third->DataSet(), nullptr);
}

// A control that shows some fields of its dataset, as a grid shows columns: it takes them again
// when the layout changes and reads each of them whenever the records change.
struct TColumnsControl {
  explicit TColumnsControl(TDataSet* data) {
    source.SetDataSet(data);
    link.OnActiveChanged = link.OnLayoutChanged = [this, data] {
      columns.assign(data->Fields().begin(), data->Fields().end());
    };
    link.OnDataSetChanged = [this] { Show(); };
    link.OnDataSetScrolled = [this](int) { Show(); };
    link.SetDataSource(&source);
  }
  void Show() {
    for (const TField* field : columns) shown << field->AsString();
  }

  TDataSource source;
  TFunctionDataLink link;
  std::vector<TField*> columns;
  QStringList shown;
};

TEST(DataSetLifetime, DeletingAFieldOfAnOpenDataSetTakesItFromTheControls) {
  auto data = Testing::MakeFish();
  data->Open();
  TColumnsControl control(data.get());
  ASSERT_EQ(control.columns.size(), 8u);
  TField* notes = data->FieldByName("Notes");
  delete notes;
  EXPECT_EQ(control.columns.size(), 7u);
  EXPECT_EQ(std::count(control.columns.begin(), control.columns.end(), notes), 0);
  data->Next();  // the control reads every column it holds
  EXPECT_EQ(control.shown.size(), 7);

  // Told when the controls are enabled again, before they hear of the records.
  data->DisableControls();
  delete data->FieldByName("Category");
  data->Next();
  data->EnableControls();
  EXPECT_EQ(control.columns.size(), 6u);
  EXPECT_EQ(data->FieldCount(), 6);
}

TEST(DataSetLifetimeDeathTest, ADataSetOfStaticStorageDurationOutlivesTheSession) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The table is made before the session is first used, so it is destroyed after anything the
  // session made; its reader, left in the middle of the result, goes last.
  EXPECT_EXIT(
      {
        static TTable numbers;
        Session().AddAlias("STATIC", "QSQLITE", ":memory:");
        QSqlQuery(Session().Database("STATIC"))
            .exec(
                "create table numbers as with recursive n(i) as (select 1 union all select i + 1 "
                "from n where i < 300) select i from n");
        numbers.SetDatabaseName("STATIC");
        numbers.SetTableName("numbers");
        numbers.Open();
        if (numbers.AllRecordsFetched()) std::exit(3);
        // As when the application object goes: the connections close, the reader stays (and
        // no query of Qt's outlives Qt's own statics, which would leak its result).
        Session().CloseDatabases();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace Kel
