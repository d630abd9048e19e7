#include "KelPopupCalc.h"

#include "KelCalcConsts.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "KelTranslate.h"
#include "VirtualKeys.h"

namespace Kel {

TKelPopupCalcEdit::TKelPopupCalcEdit(QWidget* owner)
    : TKelPopupForm(owner),
      content_(new QWidget(this)),
      display_(new TKelCalcDisplay(content_)),
      calculator_(new TKelCalculator(content_)) {
  setAccessibleName(TranslateText(KelCalcText::PopupCalculator));
  display_->SetBorderStyle(bsNone);
  // The keypad stands on the button face colour, below the window-coloured display.
  calculator_->setBackgroundRole(QPalette::Button);
  calculator_->SetAssociate(display_);
  calculator_->OnResult = [this](QObject*) {
    // The caller stores a double: a result beyond its range is no value to hand over, and the
    // popup stays open showing the error until C or CE.
    if (!calculator_->ValueFitsDouble()) {
      calculator_->ShowError();
      return;
    }
    ClosePopup(false);
  };
  SetClientControl(content_);
  SetActiveControl(calculator_);
  BeforePopup();
}

void TKelPopupCalcEdit::SetValue(const Variant& value) {
  calculator_->Reset();
  if (!value.IsEmptyOrNull()) calculator_->SetValue(value.AsDouble());
}

double TKelPopupCalcEdit::Value() const { return calculator_->Value(); }

void TKelPopupCalcEdit::BeforePopup() {
  calculator_->ensurePolished();  // sized from its final font
  display_->setGeometry(0, 0, calculator_->width() - 1, display_->height());
  calculator_->move(0, display_->geometry().bottom() + 2);
  const QSize client(calculator_->width(), calculator_->geometry().bottom() + 1);
  content_->setMinimumSize(client);
  SetClientSize(client);
}

void TKelPopupCalcEdit::KeyDown(int& key, TShiftState shift) {
  // Enter is the calculator's "=": its result closes the popup once; an error keeps it open.
  if (key == VK_RETURN && !shift.Contains(ssAlt)) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == VK_RETURN) calculator_->PressButtonByKey(ckEquals);
    key = 0;
    return;
  }
  TKelPopupForm::KeyDown(key, shift);
}

}  // namespace Kel
