#include "KelCalendarEdit.h"

#include <QToolButton>

#include "DateTimeFormat.h"
#include "FormatSettings.h"
#include "KelCalendar.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"
#include "KelUtils.h"

namespace Kel {

namespace {
const bool calendarEditClassRegistered = [] {
  RegisterClassesOnce({&TKelCalendarEdit::staticMetaObject});
  return true;
}();
}  // namespace

TKelCalendarEdit::TKelCalendarEdit(QWidget* parent) : TKelDropDownEdit(parent) {
  setAccessibleName(TranslateText(QT_TRANSLATE_NOOP("Kel", "Date field")));
  Button()->setToolTip(TranslateText(QT_TRANSLATE_NOOP("Kel", "Open the calendar")));
  ShowValue();
}

void TKelCalendarEdit::SetPopupKind(TKelCalendarPopupKind value) {
  if (popupKind_ == value) return;
  popupKind_ = value;
  if (!IsEmpty()) value_ = Variant::FromDate(Normalized(value_.AsDouble()));
  ShowValue();
}

void TKelCalendarEdit::SetValue(const Variant& value) {
  value_ = value.IsEmptyOrNull() ? Variant() : Variant::FromDate(Normalized(value.AsDouble()));
  ShowValue();
}

TDateTime TKelCalendarEdit::DateTime() const { return IsEmpty() ? 0 : value_.AsDouble(); }

TDateTime TKelCalendarEdit::Normalized(TDateTime value) const {
  switch (popupKind_) {
    case cpkDate:
      return DateOnly(value);
    case cpkTime:
      return TimeOnly(value);
    default:
      return value;
  }
}

void TKelCalendarEdit::ShowValue() {
  if (IsEmpty()) {
    ShowText(QString());
    return;
  }
  const TDateTime value = value_.AsDouble();
  switch (popupKind_) {
    case cpkDate:
      ShowText(DateToStrY2k(value));
      break;
    case cpkTime:
      ShowText(FormatDateTime(FormatSettings().LongTimeFormat, value));
      break;
    default:
      ShowText(DateToStrY2k(value) + u' ' + FormatDateTime(FormatSettings().LongTimeFormat, value));
      break;
  }
}

TKelPopupForm* TKelCalendarEdit::CreatePopup() { return new TKelPopupCalendar(this); }

void TKelCalendarEdit::PreparePopup(TKelPopupForm* popup) {
  auto* calendar = static_cast<TKelPopupCalendar*>(popup);
  calendar->SetPopupKind(popupKind_);
  calendar->SetTodayButton(todayButton_);
  calendar->SetNoneButton(noneButton_);
  calendar->SetIntegralSize(integralSize_);
  // An empty field opens on today (and now).
  const TDateTime shown = IsEmpty() ? Now() : value_.AsDouble();
  calendar->SetPopupDateTime(shown);
  calendar->Calendar()->SetStartDate(DateOnly(shown));
}

bool TKelCalendarEdit::AcceptPopup(TKelPopupForm* popup, bool canceled) {
  auto* calendar = static_cast<TKelPopupCalendar*>(popup);
  if (canceled) {
    // None cancels the popup with the selection cleared; Esc leaves the selection.
    const bool none = noneButton_ && popupKind_ != cpkTime && calendar->Calendar()->SelCount() == 0;
    if (!none || IsEmpty()) return false;
    SetValue(Variant());
    return true;
  }
  TDateTime chosen = calendar->PopupDateTime();
  if (popupKind_ == cpkDate) chosen = calendar->PopupDate();
  if (popupKind_ == cpkTime) chosen = calendar->PopupTime();
  const Variant before = value_;
  SetValue(Variant::FromDate(chosen));
  return before.IsEmptyOrNull() || before.AsDouble() != value_.AsDouble();
}

}  // namespace Kel
