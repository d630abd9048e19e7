// The data source dialog on the sample database: aliases, tables and fields listed, the table
// re-pointed on OK and left alone on Cancel, opening errors passed on with the probe closed,
// and its picture (build/gallery/filters_datasource_dialog*.png).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "Buttons.h"
#include "DBTables.h"
#include "DataSourceDlg.h"
#include "Exceptions.h"
#include "Gallery.h"
#include "KelBtPan.h"
#include "StdCtrls.h"

namespace Kel {
namespace {

const char* const SampleScript = KEL_TEST_DATA_DIR "/../../../app/data/dbdemos.sql";

class DataSourceDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir();
    const QString path = dir_->filePath("dbdemos.sqlite");
    QProcess sqlite;
    sqlite.start("sqlite3",
                 {"-bail", path, QStringLiteral(".read %1").arg(QDir::cleanPath(SampleScript))});
    ASSERT_TRUE(sqlite.waitForFinished(30000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    qputenv("KEL_DBDEMOS", path.toUtf8());
  }
  static void TearDownTestSuite() {
    Session().CloseDatabases();
    delete dir_;
    dir_ = nullptr;
  }
  void TearDown() override { Session().CloseDatabases(); }

  static QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
  // Acts on the dialog once it runs modally, then presses one of its buttons.
  static void WhenShown(std::function<void(TKelDataSourceDlg*)> act, int buttonIndex) {
    QTimer::singleShot(0, [act, buttonIndex] {
      auto* dialog = qobject_cast<TKelDataSourceDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      act(dialog);
      auto* button =
          qobject_cast<TButton*>(dialog->KelBtnPanel->ButtonList()->Items(buttonIndex)->Control());
      ASSERT_NE(button, nullptr);
      button->click();
    });
  }

  static QTemporaryDir* dir_;
};
QTemporaryDir* DataSourceDlgTest::dir_ = nullptr;

TEST_F(DataSourceDlgTest, ListsTheSampleAliasTablesAndFields) {
  TKelDataSourceDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "Data source selection");
  EXPECT_TRUE(Items(dialog.AliasEdit).contains("DBDEMOS"));
  EXPECT_EQ(dialog.AliasEdit->currentText(), "DBDEMOS");
  EXPECT_EQ(Items(dialog.TableNameEdit), (QStringList{"biolife", "country", "orders"}));
  EXPECT_EQ(dialog.TableNameEdit->currentText(), "biolife");
  EXPECT_EQ(dialog.SpeedButton1->toolTip(), "Enter full path to the database");
  QStringList names;
  for (int i = 0; i < dialog.KelBtnPanel->ButtonList()->Count(); ++i)
    names << dialog.KelBtnPanel->ButtonList()->Items(i)->Name();
  EXPECT_EQ(names, (QStringList{"OKButton1", "CancelButton1"}));

  dialog.TableNameEdit->setEditText("country");
  dialog.TableNameEditExit();
  EXPECT_EQ(Items(dialog.FieldNameEdit),
            (QStringList{"Name", "Capital", "Continent", "Area", "Population"}));
  EXPECT_EQ(dialog.FieldNameEdit->currentText(), "Name");
  EXPECT_FALSE(dialog.Table()->Active());  // the probe is closed again
  dialog.PreselectField("Area");
  EXPECT_EQ(dialog.FieldNameEdit->currentText(), "Area");
  dialog.PreselectField("area");  // exact comparison
  EXPECT_EQ(dialog.FieldNameEdit->currentIndex(), -1);

  // A disabled field list is not filled.
  dialog.FieldNameEdit->clear();
  dialog.FieldNameEdit->setEnabled(false);
  dialog.TableNameEditExit();
  EXPECT_EQ(dialog.FieldNameEdit->count(), 0);
}

TEST_F(DataSourceDlgTest, TypingAnUnknownAliasListsNoTables) {
  TKelDataSourceDlg dialog;
  dialog.AliasEdit->setEditText("DBDEM");
  EXPECT_EQ(dialog.TableNameEdit->count(), 0);
  EXPECT_EQ(dialog.TableNameEdit->currentText(), "");
  dialog.AliasEdit->setEditText("DBDEMOS");
  EXPECT_EQ(dialog.TableNameEdit->currentText(), "biolife");  // the first table
  // A table of the alias stays chosen while the alias is retyped to the same.
  dialog.TableNameEdit->setEditText("orders");
  dialog.AliasEdit->setEditText("DBDEMOS");
  EXPECT_EQ(dialog.TableNameEdit->currentText(), "orders");
}

TEST_F(DataSourceDlgTest, OpeningErrorsPassOnWithTheProbeClosed) {
  TKelDataSourceDlg dialog;
  dialog.TableNameEdit->setEditText("no_such_table");
  EXPECT_THROW(dialog.TableNameEditExit(), Exception);
  EXPECT_FALSE(dialog.Table()->Active());
  EXPECT_EQ(dialog.FieldNameEdit->count(), 0);
}

TEST_F(DataSourceDlgTest, OkRepointsTheTableCancelChangesNothing) {
  TTable table;
  table.SetDatabaseName("DBDEMOS");
  table.SetTableName("biolife");
  table.SetFilter("Category = 'Shark'");
  table.SetFiltered(true);
  table.Open();
  QString field = "Category";

  WhenShown(
      [](TKelDataSourceDlg* dialog) {
        EXPECT_EQ(dialog->TableNameEdit->currentText(), "biolife");
        EXPECT_EQ(dialog->FieldNameEdit->currentText(), "Category");  // preselected
        dialog->TableNameEdit->setEditText("orders");
        dialog->TableNameEditExit();
      },
      1);
  EXPECT_FALSE(ExecuteDataSourceDlg(&table, true, field));
  EXPECT_EQ(table.TableName(), "biolife");
  EXPECT_EQ(field, "Category");
  EXPECT_TRUE(table.Filtered());
  EXPECT_TRUE(table.Active());

  WhenShown(
      [](TKelDataSourceDlg* dialog) {
        dialog->TableNameEdit->setEditText("country");
        dialog->TableNameEditExit();
        dialog->FieldNameEdit->setCurrentIndex(dialog->FieldNameEdit->findText("Capital"));
      },
      0);
  EXPECT_TRUE(ExecuteDataSourceDlg(&table, true, field));
  EXPECT_EQ(table.DatabaseName(), "DBDEMOS");
  EXPECT_EQ(table.TableName(), "country");
  EXPECT_EQ(field, "Capital");
  EXPECT_EQ(table.Filter(), "");
  EXPECT_FALSE(table.Filtered());
  EXPECT_TRUE(table.Active());
  EXPECT_NE(table.FindField("Population"), nullptr);

  // Without a field the field list stays disabled and the name untouched.
  WhenShown([](TKelDataSourceDlg* dialog) { EXPECT_FALSE(dialog->FieldNameEdit->isEnabled()); }, 0);
  QString untouched = "x";
  EXPECT_TRUE(ExecuteDataSourceDlg(&table, false, untouched));
  EXPECT_EQ(untouched, "x");
}

TEST_F(DataSourceDlgTest, Picture) {
  TKelDataSourceDlg dialog;
  dialog.TableNameEditExit();
  dialog.show();
  EXPECT_EQ(dialog.FieldNameEdit->currentText(), "Species No");
  EXPECT_EQ(Testing::SaveGalleryPictures("filters_datasource_dialog", {{&dialog, {}}}).size(), 2);
  dialog.setPalette(Testing::DarkPalette());
  EXPECT_EQ(Testing::SaveGalleryPictures("filters_datasource_dialog_dark", {{&dialog, {}}}).size(),
            2);
}

}  // namespace
}  // namespace Kel
