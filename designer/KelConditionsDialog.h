#pragma once
// The "Edit Conditions" dialog of the filter box in Designer. A form holds no dataset, so the
// conditions are edited on a sample table (the sample alias's biolife at first; "Choose Table..."
// picks another one the session knows): the conditions refer to fields by name and find the
// program's own dataset with the same field names at run time. The filter text they make is
// shown under the box.

#include <QDialog>
#include <memory>

#include "DBTables.h"
#include "KelFltBox.h"

class QLabel;
class QLineEdit;

namespace Kel::Designer {

class TKelConditionsDialog : public QDialog {
  Q_OBJECT

 public:
  TKelConditionsDialog(const TKelFltBox* designed, QWidget* parent = nullptr);
  ~TKelConditionsDialog() override;

  QByteArray ItemsText() const { return editor_->ItemsText(); }
  TKelFltBox* Editor() const { return editor_; }

 private:
  // Opens the sample table on alias and table, binds the box to it and says what it shows.
  void OpenSample(const QString& alias, const QString& tableName);
  void ChooseTable();
  void UpdateFilterText();

  std::unique_ptr<TTable> table_;
  QLabel* source_;
  TKelFltBox* editor_;
  QLineEdit* filterText_;
};

}  // namespace Kel::Designer
