#pragma once
// TKelCalendarEdit: a date, time or date-and-time field that opens the popup calendar
// (TKelPopupCalendar) under it. The field shows the value in the process-wide formats (the short
// date with a four-digit year, the long time); it is changed through the popup only: a day
// clicked, Today or Enter accept, Esc cancels, None (with NoneButton) empties the field.
//
// The value is a date-time number; Variant() (null) while the field is empty. PopupKind,
// TodayButton, NoneButton and IntegralSize are passed to the popup each time it opens.

#include "DateUtils.h"
#include "KelCalPopup.h"
#include "KelDropDownEdit.h"
#include "Variant.h"

namespace Kel {

class KEL_EXPORT TKelCalendarEdit : public TKelDropDownEdit {
  Q_OBJECT
  Q_PROPERTY(Kel::KelCalPopupTypes::TKelCalendarPopupKind PopupKind READ PopupKind WRITE SetPopupKind)
  Q_CLASSINFO("default:PopupKind", "cpkDate")
  Q_PROPERTY(bool TodayButton READ TodayButton WRITE SetTodayButton)
  Q_CLASSINFO("default:TodayButton", "True")
  Q_PROPERTY(bool NoneButton READ NoneButton WRITE SetNoneButton)
  Q_CLASSINFO("default:NoneButton", "False")
  Q_PROPERTY(bool IntegralSize READ IntegralSize WRITE SetIntegralSize)
  Q_CLASSINFO("default:IntegralSize", "True")

 public:
  Q_INVOKABLE explicit TKelCalendarEdit(QWidget* parent = nullptr);

  TKelCalendarPopupKind PopupKind() const { return popupKind_; }
  // Also shows the value anew in the new kind's form.
  void SetPopupKind(TKelCalendarPopupKind value);
  bool TodayButton() const { return todayButton_; }
  void SetTodayButton(bool value) { todayButton_ = value; }
  bool NoneButton() const { return noneButton_; }
  void SetNoneButton(bool value) { noneButton_ = value; }
  bool IntegralSize() const { return integralSize_; }
  void SetIntegralSize(bool value) { integralSize_ = value; }

  // The value (null: empty). A date kind keeps the date part, a time kind the time part.
  Variant Value() const { return value_; }
  void SetValue(const Variant& value);
  bool IsEmpty() const { return value_.IsEmptyOrNull(); }
  // The value as a date-time number (0 when empty).
  TDateTime DateTime() const;

 protected:
  TKelPopupForm* CreatePopup() override;
  void PreparePopup(TKelPopupForm* popup) override;
  bool AcceptPopup(TKelPopupForm* popup, bool canceled) override;

 private:
  // The value cut to the kind: the date part for cpkDate, the time part for cpkTime.
  TDateTime Normalized(TDateTime value) const;
  void ShowValue();

  TKelCalendarPopupKind popupKind_ = cpkDate;
  bool todayButton_ = true;
  bool noneButton_ = false;
  bool integralSize_ = true;
  Variant value_;
};

}  // namespace Kel
