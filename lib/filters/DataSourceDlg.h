#pragma once
// Unit DataSourceDlg: TKelDataSourceDlg, the dialog that picks a database alias, a table of it
// and, optionally, one field of the table, and re-points a table dataset at the choice
// (ExecuteDataSourceDlg). The aliases and tables come from the process-wide Session; the fields
// from a private probe table opened on the chosen table.
//
// The dialog is laid out for the classic 13-pixel dialog font and scaled with its font
// (ScaleByFont), so it keeps its proportions at any font size and screen scale.

#include <QDialog>
#include <QString>
#include <memory>

#include "KelExport.h"

class QComboBox;
class QLabel;

namespace Kel {

namespace KelDataSourceDlgText {
inline constexpr const char* Caption = "Data source selection";                  // 65440
inline constexpr const char* SelectAlias = "1. Select or enter alias";           // 65441
inline constexpr const char* SelectTable = "2. Select or enter table name";      // 65442
inline constexpr const char* SelectField = "3. Select  name of visible field.";  // 65443
inline constexpr const char* AliasHint = "Enter full path to the database";      // 65444
inline constexpr const char* DefaultAlias = "DBDEMOS";
inline constexpr const char* DefaultTable = "biolife";
}  // namespace KelDataSourceDlgText

class TKelBtnPanel;
class TSpeedButton;
class TTable;

class KEL_EXPORT TKelDataSourceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TKelDataSourceDlg(QWidget* parent = nullptr);
  ~TKelDataSourceDlg() override;

  QLabel* Label1;
  QComboBox* AliasEdit;
  TSpeedButton* SpeedButton1;
  QLabel* Label2;
  QComboBox* TableNameEdit;
  QLabel* Label3;
  QComboBox* FieldNameEdit;
  TKelBtnPanel* KelBtnPanel;
  // The probe that lists the fields of the chosen table (closed between uses).
  TTable* Table() const { return table_.get(); }

  // Fills AliasEdit from the session, shows "DBDEMOS" and its tables, with "biolife" chosen.
  void FormCreate();
  // Lists the tables of the alias text (none for an alias the session does not know); a table
  // text that is not among them becomes the first table (or empty).
  void AliasEditChange();
  // Lists the fields of the chosen table and selects the first (only while FieldNameEdit is
  // enabled and both texts are given). Errors of opening pass on, the probe closed again.
  void TableNameEditExit();
  // The "..." button: kept for forms that connect it; it does nothing.
  void SpeedButton1Click() {}
  // Selects the first field equal to fieldName (exact comparison) after listing the fields
  // anew from the probe; errors pass on, the probe closed again.
  void PreselectField(const QString& fieldName);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  // TableNameEditExit for the user: an error leaves the field list empty with a beep, since
  // no caller is there to receive it.
  void TableNameEditExitInteractive();
  // Fills FieldNameEdit from the probe opened on the current texts.
  void ListFieldsOfProbe();

  std::unique_ptr<TTable> table_;
};

// Runs the dialog for table: preset from its alias and table name (and fieldName when
// withField); on OK the table is closed, re-pointed, its filter cleared and reopened, and
// fieldName receives the chosen field; true. On Cancel nothing changes; false.
KEL_EXPORT bool ExecuteDataSourceDlg(TTable* table, bool withField, QString& fieldName,
                                     QWidget* parent = nullptr);

}  // namespace Kel
