// A dataset in Qt's item views: the model stays sound through the dataset's changes, gives values
// by type, posts edits and reports refused ones, reads a lazy query on as the view needs rows,
// and colours cells by the dataset's rules.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDate>
#include <QFont>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "DB.h"
#include "KelGridColors.h"
#include "KelModels.h"
#include "TestPrinters.h"

namespace Kel {
namespace {

std::unique_ptr<TMemDataSet> MakePeople(int count) {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Id", ftInteger);
  data->AddField("Name", ftString, 20);
  data->AddField("Born", ftDate);
  data->AddField("Size", ftFloat);
  std::vector<std::vector<Variant>> records;
  for (int i = 1; i <= count; ++i)
    records.push_back({i, QStringLiteral("p%1").arg(i), Variant::FromDate(EncodeDate(2000, 1, i % 28 + 1)),
                       i * 1.5});
  data->AppendRecords(records);
  data->Open();
  return data;
}

struct Bound {
  explicit Bound(TDataSet* data) {
    source.SetDataSet(data);
    model.SetDataSource(&source);
  }
  TDataSource source;
  TKelDataSetModel model;
};

TEST(DataSetModelTest, StaysSoundThroughTheDatasetsChangesAndGivesValuesByType) {
  auto data = MakePeople(20);
  Bound bound(data.get());
  TKelDataSetModel& model = bound.model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(model.rowCount(), 20);
  ASSERT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole), "Name");
  EXPECT_EQ(model.index(4, 0).data(Qt::EditRole).typeId(), QMetaType::Int);
  EXPECT_EQ(model.index(4, 2).data(Qt::EditRole), QVariant(QDate(2000, 1, 6)));
  EXPECT_EQ(model.index(4, 3).data(Qt::EditRole), QVariant(7.5));
  EXPECT_EQ(model.index(4, 2).data(), data->FieldByName("Born")->DisplayTextAt(4));
  EXPECT_TRUE(model.index(4, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
  EXPECT_TRUE(model.flags(model.index(4, 1)) & Qt::ItemIsEditable);

  QSignalSpy failed(&model, &TKelDataSetModel::EditFailed);
  EXPECT_TRUE(model.setData(model.index(3, 1), QString("Renamed")));
  EXPECT_TRUE(model.setData(model.index(5, 2), QDate(2020, 1, 2)));
  EXPECT_EQ(data->RecNo(), 6) << "the edited record becomes the current one";
  EXPECT_EQ(model.index(3, 1).data(), "Renamed");
  EXPECT_EQ(model.index(5, 2).data(Qt::EditRole), QVariant(QDate(2020, 1, 2)));
  EXPECT_FALSE(model.setData(model.index(4, 0), QString("abc")));
  ASSERT_EQ(failed.count(), 1);
  EXPECT_FALSE(failed.at(0).at(1).toString().isEmpty());
  EXPECT_EQ(data->State(), dsBrowse) << "a refused value leaves the record as it was";
  EXPECT_EQ(model.index(4, 0).data(Qt::EditRole), QVariant(5));

  data->AppendRecord({100, QString("new"), Variant::Null(), 1.0});
  EXPECT_EQ(model.rowCount(), 21);
  data->Delete();
  EXPECT_EQ(model.rowCount(), 20);
  data->SetFilter("Id > 11");
  data->SetFiltered(true);
  EXPECT_EQ(model.rowCount(), 9);
  EXPECT_EQ(model.index(0, 0).data(), "12");
  data->Close();
  EXPECT_EQ(model.columnCount(), 0);
  data->Open();
  EXPECT_EQ(model.rowCount(), 9);
}

TEST(DataSetModelTest, ReadsALazyQueryOnAsTheViewNeedsRows) {
  QTemporaryDir dir;
  const QString file = dir.filePath("numbers.sqlite");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "kel-numbers");
    db.setDatabaseName(file);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    query.exec("CREATE TABLE n (Id INTEGER PRIMARY KEY)");
    query.exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 450) "
               "INSERT INTO n SELECT i FROM c");
  }
  QSqlDatabase::removeDatabase("kel-numbers");
  Session().AddAlias("KELNUMBERS", "QSQLITE", file);
  {
    TQuery query;
    query.SetDatabaseName("KELNUMBERS");
    query.SQL()->SetText("SELECT Id FROM n ORDER BY Id");
    query.Open();
    Bound bound(&query);
    TKelDataSetModel& model = bound.model;
    ASSERT_EQ(model.rowCount(), 100) << "the first batch only";
    ASSERT_TRUE(model.canFetchMore(QModelIndex()));
    model.fetchMore(QModelIndex());
    EXPECT_EQ(model.rowCount(), 100 + model.FetchBatch());
    EXPECT_EQ(model.index(100, 0).data(), "101");
    // The tester reads on once more itself.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    query.Last();
    EXPECT_EQ(model.rowCount(), 450) << "records the dataset read itself join the rows";
    EXPECT_FALSE(model.canFetchMore(QModelIndex()));
  }
  Session().DeleteAlias("KELNUMBERS");
}

TEST(DataSetModelTest, ColoursCellsByTheRulesOfItsDataset) {
  auto data = MakePeople(20);
  Bound bound(data.get());
  TKelDataSetModel& model = bound.model;
  TKelGridColors colors;
  colors.SetDataSet(data.get());
  TKelRecordSetStyle* rule = colors.RecordsInfo()->Add();
  rule->SetFilter("Id > 15");
  rule->SetDataField("Name");
  rule->SetColor(RGB(255, 240, 200));
  rule->Font()->SetStyle(TFontStyles{fsBold});
  rule->SetActive(true);
  model.SetGridColors(&colors);
  EXPECT_EQ(model.index(16, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 240, 200));
  EXPECT_TRUE(model.index(16, 1).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(model.index(16, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black))
      << "the rule's default text colour reads on its background";
  EXPECT_FALSE(model.index(16, 0).data(Qt::BackgroundRole).isValid()) << "Name only";
  EXPECT_FALSE(model.index(3, 1).data(Qt::BackgroundRole).isValid());

  QSignalSpy failed(&model, &TKelDataSetModel::ColorRuleFailed);
  rule->SetFilter("Name > 3 +");
  EXPECT_FALSE(model.index(16, 1).data(Qt::BackgroundRole).isValid());
  EXPECT_FALSE(rule->Active()) << "a rule that fails switches itself off";
  EXPECT_TRUE(failed.wait(1000));
}

}  // namespace
}  // namespace Kel
