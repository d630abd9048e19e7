// The list box's calendar and calculator editors: how each popup is preset from the active
// parameter and how its accepted result is written back.
#include "Exceptions.h"
#include "KelCalPopup.h"
#include "KelPopupCalc.h"
#include "KelPrmListBox.h"
#include "KelUtils.h"
#include "DateUtils.h"
#include "MessageBeep.h"
#include "NumberFormat.h"

namespace Kel {

namespace {

// The explicit pick type wins; an automatic one follows the data type (a date-time by default).
TKelCalendarPopupKind CalendarKindOf(const TKelListParam* param) {
  switch (param->PickType()) {
    case ptDate: return cpkDate;
    case ptTime: return cpkTime;
    case ptDateTime: return cpkDateTime;
    default: break;
  }
  switch (param->DataType()) {
    case FT_DATE: return cpkDate;
    case FT_TIME: return cpkTime;
    default: return cpkDateTime;
  }
}

}  // namespace

void TKelPrmListBox::ShowDateEditor() {
  const TKelCalendarPopupKind kind = CalendarKindOf(activeParam_);
  auto* popup = new TKelPopupCalendar(this);
  popup->SetPopupKind(kind);
  const bool isNull = activeParam_->IsNull();
  if (kind == cpkTime) {
    popup->SetPopupTime(isNull ? Time() : activeParam_->AsDateTime());
  } else {
    popup->SetTodayButton(true);
    popup->SetIntegralSize(true);
    const TDateTime preset = isNull ? Date() : activeParam_->AsDateTime();
    if (kind == cpkDate)
      popup->SetPopupDate(preset);
    else
      popup->SetPopupDateTime(preset);
    // The month of the preset date opens in the first cell, whatever the calendar showed.
    TKelCustomCalendar* calendar = popup->Calendar();
    calendar->SetStartDate(calendar->SelStart());
  }
  OpenEditor(popup, [this, kind](TKelPopupForm* sender, bool) {
    auto* calendarPopup = static_cast<TKelPopupCalendar*>(sender);
    switch (kind) {
      case cpkTime: activeParam_->SetAsTime(TimeOnly(calendarPopup->PopupTime())); return;
      case cpkDate: {
        TKelCustomCalendar* calendar = calendarPopup->Calendar();
        // A calendar left without a selected day has no date to give.
        if (calendar->SelCount() > 0) activeParam_->SetAsDate(DateOnly(calendar->SelStart()));
        return;
      }
      case cpkDateTime:
        if (calendarPopup->Calendar()->SelCount() > 0)
          activeParam_->SetAsDateTime(calendarPopup->PopupDateTime());
        return;
    }
  });
}

void TKelPrmListBox::ShowNumberEditor() {
  auto* popup = new TKelPopupCalcEdit(this);
  popup->SetValue(activeParam_->IsNull() ? Variant() : Variant(activeParam_->AsFloat()));
  OpenEditor(popup, [this](TKelPopupForm* sender, bool) {
    double value = static_cast<TKelPopupCalcEdit*>(sender)->Value();
    const TKelFieldType type = activeParam_->DataType();
    if (type != FT_CURRENCY && type != FT_FLOAT) {
      // A whole number that does not fit in 64 bits has no value to store: the parameter keeps
      // its own rather than a wrapped or clamped one.
      try {
        value = static_cast<double>(Round(value));
      } catch (const EInvalidOp&) {
        MessageBeep();
        return;
      }
    }
    activeParam_->SetAsFloat(value);
  });
}

}  // namespace Kel
