#pragma once
// Datasets and helpers shared by the filter builder tests.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "DBTables.h"

#include "DateUtils.h"
#include "FormatSettings.h"
#include "KelFltBox.h"
#include "MemDataSet.h"
#include "TestPrinters.h"

namespace Kel::Testing {

// Orders: one field of each category. Id (integer), Score (float), Name (string), Notes
// (memo), Due (date), Hour (time), Paid (Boolean), Picture (blob), "Last Name" (string), "Date"
// (date: a reserved word).
inline std::unique_ptr<TMemDataSet> MakeOrders() {
  auto data = std::make_unique<TMemDataSet>();
  data->AddField("Id", ftInteger);
  data->AddField("Score", ftFloat);
  data->AddField("Name", ftString, 30);
  data->AddField("Notes", ftMemo);
  data->AddField("Due", ftDate);
  data->AddField("Hour", ftTime);
  data->AddField("Paid", ftBoolean);
  data->AddField("Picture", ftBlob);
  data->AddField("Last Name", ftString, 30);
  data->AddField("Date", ftDate);
  const auto date = [](int y, int m, int d) { return Variant::FromDate(EncodeDate(y, m, d)); };
  const Variant null = Variant::Null();
  data->AppendRecords({
      {1, 12.25, "O'Brien", "first", date(2024, 1, 8), null, true, null, "Smith", date(2024, 1, 8)},
      {2, 3.5, "Rome", null, date(2024, 1, 15), null, false, null, "Jones", null},
      {3, null, "Paris", "x", null, null, null, null, "Brown", null},
      {4, 100.0, "", "y", date(2023, 12, 31), null, true, null, "Smith", null},
  });
  return data;
}

// Adds a checked condition on a field with a template and values.
inline TKelFltItem* AddCondition(TKelFltBld& builder, const QString& field, const QString& tmpl,
                                 const Variant& value = Variant(),
                                 const Variant& value2 = Variant()) {
  TKelFltItem* item = builder.Items()->Add();
  item->SetDataField(field);
  item->SetTemplate(tmpl);
  if (!value.IsEmpty()) {
    item->SetValue(value);
    item->SetValue1(value);
  }
  if (!value2.IsEmpty()) item->SetValue2(value2);
  return item;
}

// The sample database of the demonstration (alias DBDEMOS) built from its committed script into
// a folder of its own for one test suite, and closed again afterwards.
class SampleDatabaseSuite {
 public:
  static void SetUp() {
    dir_ = new QTemporaryDir();
    const QString path = dir_->filePath("dbdemos.sqlite");
    const QString script = QDir::cleanPath(KEL_TEST_DATA_DIR "/../../../app/data/dbdemos.sql");
    QProcess sqlite;
    sqlite.start("sqlite3", {"-bail", path, QStringLiteral(".read %1").arg(script)});
    ASSERT_TRUE(sqlite.waitForFinished(30000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    qputenv("KEL_DBDEMOS", path.toUtf8());
  }
  static void TearDown() {
    Session().CloseDatabases();
    delete dir_;
    dir_ = nullptr;
  }

 private:
  static inline QTemporaryDir* dir_ = nullptr;
};

}  // namespace Kel::Testing
