#pragma once
// Unit KelStdCtrls: the two simplest popups. The opener fills the inner control before it opens
// the popup (PopupAtRect) and reads it in the closed callback.
//
// TKelPopupEdit: a drop-down one-line editor (a TEdit without frame). Enter accepts the text.
// TKelPopupListBox: a drop-down list of strings. Enter accepts the current line; a left click
// on a line accepts it too (on release); a click on the empty area below the lines, or with
// another button, leaves the list open. Descendants may list with another list box class
// (ListBoxClass, a TListBox descendant), made when the list box is first needed.

#include "KelExport.h"
#include "KelForms.h"
#include "StdCtrls.h"

namespace Kel {

class KEL_EXPORT TKelPopupEdit : public TKelPopupForm {
  Q_OBJECT

 public:
  explicit TKelPopupEdit(QWidget* owner = nullptr, int option = 0);

  TEdit* Edit() const { return edit_; }

 private:
  TEdit* edit_;
};

class KEL_EXPORT TKelPopupListBox : public TKelPopupForm {
  Q_OBJECT

 public:
  explicit TKelPopupListBox(QWidget* owner = nullptr, int option = 0);

  // The list box, made on first use as an instance of ListBoxClass.
  TListBox* ListBox();

 protected:
  // The class of the list box: TListBox or a descendant (EInvalidCast otherwise).
  virtual const QMetaObject& ListBoxClass() const { return TListBox::staticMetaObject; }
  void BeforePopup() override;

 private:
  void ListMouseUp(TMouseButton button, int x, int y);

  TListBox* listBox_ = nullptr;
};

}  // namespace Kel
