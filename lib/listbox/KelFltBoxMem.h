#pragma once
// Unit KelFltBoxMem: the memory-slot dialog of the parameter list box. The user types or picks
// a slot name; Delete marks the picked slot for deletion (system slots are refused at run time),
// and the deletions take effect only when the dialog closes with OK.

#include <QDialog>
#include <QPointer>
#include <memory>

#include "KelExport.h"
#include "StdCtrls.h"
#include "Strings.h"

namespace Kel {

class TKelPrmListBox;

class KEL_EXPORT TSievraMemForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSievraMemForm(QWidget* parent = nullptr);
  ~TSievraMemForm() override;

  TEdit* Edit() const { return edit_; }
  TListBox* ListBox() const { return listBox_; }
  TButton* OkButton() const { return okButton_; }
  TButton* CancelButton() const { return cancelButton_; }
  TButton* DeleteButton() const { return deleteButton_; }
  TStrings* DeletedNames() const { return deletedNames_.get(); }
  TKelPrmListBox* PrmListBox() const { return prmListBox_; }
  void SetPrmListBox(TKelPrmListBox* box) { prmListBox_ = box; }

  // Delete enabled for a name of the list, OK for any name, the list when it has entries.
  void UpdateButtons();
  // Marks the picked slot for deletion, or says why it cannot go.
  void DeleteClicked();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TEdit* edit_;
  TListBox* listBox_;
  TButton* okButton_;
  TButton* cancelButton_;
  TButton* deleteButton_;
  std::unique_ptr<TStringList> deletedNames_;
  QPointer<TKelPrmListBox> prmListBox_;
};

}  // namespace Kel
