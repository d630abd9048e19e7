#pragma once
// TKelDropDownEdit: a one-line field with a drop-down button at its right end that opens one of
// the library's popups under the field, the way a combo box opens its list. It is the base of the
// calendar edit and the calculator edit. A descendant makes the popup (CreatePopup), fills it from
// the value before it opens (PreparePopup), takes the value back when the popup closes accepted
// (AcceptPopup) and shows the value as text (ShowText). The popup is made on the first opening
// and belongs to the field.
//
// The button, Alt+Down and F4 open the popup; nothing opens while the field is read-only or
// disabled. OnChange fires when a popup or the descendant's own typing changed the value.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "KelExport.h"
#include "KelForms.h"

class QLineEdit;
class QToolButton;

namespace Kel {

class KEL_EXPORT TKelDropDownEdit : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")

 public:
  explicit TKelDropDownEdit(QWidget* parent = nullptr);
  ~TKelDropDownEdit() override;

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Opens the popup under the field.
  void DropDown();
  // The popup, once it was opened (nullptr before).
  TKelPopupForm* Popup() const { return popup_; }
  QLineEdit* Editor() const { return editor_; }
  QToolButton* Button() const { return button_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  std::function<void(TKelDropDownEdit* sender)> OnChange;

 protected:
  virtual TKelPopupForm* CreatePopup() = 0;
  virtual void PreparePopup(TKelPopupForm* popup) = 0;
  // The popup closed; canceled tells how. Returns whether the value changed.
  virtual bool AcceptPopup(TKelPopupForm* popup, bool canceled) = 0;
  // Whether the user may type into the field (when not read-only).
  virtual bool Editable() const { return false; }
  void ShowText(const QString& text);
  void Changed();
  // Brings the field's read-only state and the button up to date (a descendant whose Editable
  // differs calls it from its constructor).
  void UpdateEditor();

  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QLineEdit* editor_;
  QToolButton* button_;
  QPointer<TKelPopupForm> popup_;
  bool readOnly_ = false;
};

}  // namespace Kel
