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

// The parameter's value as a date-time, or fallback when it has none or holds something that
// does not read as one (a text under a forced date pick type): the editor opens on a usable
// value instead of failing.
TDateTime DateTimeOr(const TKelListParam* param, TDateTime fallback) {
  if (param->IsNull()) return fallback;
  try {
    return param->AsDateTime();
  } catch (const std::exception&) {
    return fallback;
  }
}

// Likewise for the calculator: no number shows as an empty calculation.
Variant NumberOf(const TKelListParam* param) {
  if (param->IsNull()) return Variant();
  try {
    return Variant(param->AsFloat());
  } catch (const std::exception&) {
    return Variant();
  }
}

}  // namespace

void TKelPrmListBox::ShowDateEditor() {
  const TKelCalendarPopupKind kind = CalendarKindOf(activeParam_);
  auto* popup = new TKelPopupCalendar(this);
  popup->SetPopupKind(kind);
  if (kind == cpkTime) {
    popup->SetPopupTime(DateTimeOr(activeParam_, Time()));
  } else {
    popup->SetTodayButton(true);
    popup->SetIntegralSize(true);
    const TDateTime preset = DateTimeOr(activeParam_, Date());
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
  popup->SetValue(NumberOf(activeParam_));
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
