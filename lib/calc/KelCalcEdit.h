#pragma once
// TKelCalcEdit: a number field that opens the popup calculator (TKelPopupCalcEdit) under it. The
// popup starts from the field's number; "=" (or Enter) puts the result into the field, Esc leaves
// it alone. The number can also be typed: it is read when the field loses the focus or on Enter,
// with the process-wide decimal separator; a text that is no number beeps and the field shows
// the number it had.

#include "KelDropDownEdit.h"

namespace Kel {

class KEL_EXPORT TKelCalcEdit : public TKelDropDownEdit {
  Q_OBJECT
  Q_PROPERTY(double Value READ Value WRITE SetValue)
  Q_CLASSINFO("default:Value", "0")

 public:
  Q_INVOKABLE explicit TKelCalcEdit(QWidget* parent = nullptr);

  double Value() const { return value_; }
  void SetValue(double value);

 protected:
  TKelPopupForm* CreatePopup() override;
  void PreparePopup(TKelPopupForm* popup) override;
  bool AcceptPopup(TKelPopupForm* popup, bool canceled) override;
  bool Editable() const override { return true; }

 private:
  // Reads the typed text; true when the number changed.
  bool ReadTypedText();

  double value_ = 0;
};

}  // namespace Kel
