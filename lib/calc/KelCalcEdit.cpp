#include "KelCalcEdit.h"

#include <QLineEdit>
#include <QToolButton>

#include "KelPopupCalc.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"
#include "MessageBeep.h"
#include "NumberFormat.h"

namespace Kel {

namespace {
const bool calcEditClassRegistered = [] {
  RegisterClassesOnce({&TKelCalcEdit::staticMetaObject});
  return true;
}();
}  // namespace

TKelCalcEdit::TKelCalcEdit(QWidget* parent) : TKelDropDownEdit(parent) {
  UpdateEditor();
  setAccessibleName(TranslateText(QT_TRANSLATE_NOOP("Kel", "Number field")));
  Button()->setToolTip(TranslateText(QT_TRANSLATE_NOOP("Kel", "Open the calculator")));
  Editor()->setAlignment(Qt::AlignRight);
  ShowText(FloatToStr(value_));
  connect(Editor(), &QLineEdit::editingFinished, this, [this] {
    if (ReadTypedText()) Changed();
  });
}

void TKelCalcEdit::SetValue(double value) {
  value_ = value;
  ShowText(FloatToStr(value_));
}

bool TKelCalcEdit::ReadTypedText() {
  double typed = 0;
  if (!TryStrToFloat(Editor()->text().trimmed(), typed)) {
    MessageBeep();
    ShowText(FloatToStr(value_));
    return false;
  }
  const bool changed = typed != value_;
  SetValue(typed);
  return changed;
}

TKelPopupForm* TKelCalcEdit::CreatePopup() { return new TKelPopupCalcEdit(this); }

void TKelCalcEdit::PreparePopup(TKelPopupForm* popup) {
  // What was typed counts before the calculator starts from it.
  if (ReadTypedText()) Changed();
  static_cast<TKelPopupCalcEdit*>(popup)->SetValue(Variant(value_));
}

bool TKelCalcEdit::AcceptPopup(TKelPopupForm* popup, bool canceled) {
  if (canceled) return false;
  const double result = static_cast<TKelPopupCalcEdit*>(popup)->Value();
  const bool changed = result != value_;
  SetValue(result);
  return changed;
}

}  // namespace Kel
