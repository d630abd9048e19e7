#pragma once
// TKelPopupCalcEdit: the drop-down calculator that edits numbers: a display on top of a
// calculator in a popup window. The caller presets a value, opens it under its control with a
// callback, and reads Value() when the callback reports acceptance.
//
// Closing: "=" or "%" (and Enter, which presses "=") accept; Esc and Alt+Up / Alt+Down cancel;
// a click outside only hides the popup. A calculation that ends in the error state accepts
// nothing: the popup stays open showing "ERROR" until C or CE.

#include "KelExport.h"
#include "KelForms.h"
#include "Variant.h"

namespace Kel {

class TKelCalculator;
class TKelCalcDisplay;

class KEL_EXPORT TKelPopupCalcEdit : public TKelPopupForm {
  Q_OBJECT

 public:
  explicit TKelPopupCalcEdit(QWidget* owner = nullptr);

  TKelCalculator* Calculator() const { return calculator_; }
  TKelCalcDisplay* Display() const { return display_; }
  // Presets the number: a fresh calculation showing value; empty or null shows "0".
  void SetValue(const Variant& value);
  // The number on display (0 in the error state).
  double Value() const;

 protected:
  void BeforePopup() override;
  void KeyDown(int& key, TShiftState shift) override;

 private:
  QWidget* content_;
  TKelCalcDisplay* display_;
  TKelCalculator* calculator_;
};

}  // namespace Kel
