#include "KelCalendarColors.h"

#include <cstring>

#include "KelCalendar.h"

namespace Kel {

TKelCalendarColors::TKelCalendarColors(TKelCustomCalendar* calendar)
    : calendar_(calendar),
      weekNumbersFont_(std::make_unique<TFont>()),
      weekDaysFont_(std::make_unique<TFont>()),
      headerFont_(std::make_unique<TFont>()) {
  weekHeader_ = days_ = weekSide_ = calendar->Color();
  for (TFont* font : {weekNumbersFont_.get(), weekDaysFont_.get(), headerFont_.get()})
    font->OnChange = [this](TFont* sender) { FontChanged(sender); };
}

TKelCalendarColors::~TKelCalendarColors() = default;

void TKelCalendarColors::Repaint() {
  if (calendar_) calendar_->update();
}

void TKelCalendarColors::SetBorder(TColor value) {
  if (border_ == value && !calendar_->ParentColor()) return;
  border_ = value;
  calendar_->parentColor_ = false;
  calendar_->UpdateFrame();
}

void TKelCalendarColors::SetFontWithoutNotice(TFont& target, const TFont& source) {
  updatingFonts_ = true;
  target.Assign(const_cast<TFont*>(&source));
  updatingFonts_ = false;
}

void TKelCalendarColors::FontChanged(TFont* font) {
  if (updatingFonts_) return;
  if (font == headerFont_.get()) inheritHeaderFont_ = false;
  calendar_->UpdateMetrics();
}

void TKelCalendarColors::SetWeekNumbersFont(TFont* value) {
  if (value) weekNumbersFont_->Assign(value);
}

void TKelCalendarColors::SetWeekDaysFont(TFont* value) {
  if (value) weekDaysFont_->Assign(value);
}

void TKelCalendarColors::SetHeaderFont(TFont* value) {
  if (!value) return;
  headerFont_->Assign(value);
  inheritHeaderFont_ = false;
}

void TKelCalendarColors::SetInheritHeaderFont(bool value) {
  if (inheritHeaderFont_ == value) return;
  inheritHeaderFont_ = value;
  if (value) {
    TFont font;
    calendar_->GetCalendarFont(font);
    SetFontWithoutNotice(*headerFont_, font);
  }
  calendar_->UpdateMetrics();
}

std::unique_ptr<TFont> TKelCalendarColors::DerivedSmallFont(bool weekNumbers) const {
  auto font = std::make_unique<TFont>();
  calendar_->GetCalendarFont(*font);
  font->SetHeight(font->Height() * 3 / 4);
  if (weekNumbers) font->SetName(QStringLiteral("Tahoma"));
  return font;
}

void TKelCalendarColors::DeriveSmallFonts() {
  SetFontWithoutNotice(*weekNumbersFont_, *DerivedSmallFont(true));
  SetFontWithoutNotice(*weekDaysFont_, *DerivedSmallFont(false));
}

void TKelCalendarColors::CalendarColorChanged(TColor value) {
  weekHeader_ = days_ = weekSide_ = value;
  Repaint();
}

void TKelCalendarColors::CalendarFontChanged(bool reading) {
  TFont font;
  calendar_->GetCalendarFont(font);
  if (inheritHeaderFont_) SetFontWithoutNotice(*headerFont_, font);
  if (reading) {
    updatingFonts_ = true;
    weekNumbersFont_->SetColor(font.Color());
    weekDaysFont_->SetColor(font.Color());
    updatingFonts_ = false;
  }
}

void TKelCalendarColors::Assign(TPersistent* source) {
  auto* other = qobject_cast<TKelCalendarColors*>(source);
  if (!other) AssignError(source);
  if (other == this) return;
  border_ = other->border_;
  monthHeader_ = other->monthHeader_;
  weekHeader_ = other->weekHeader_;
  selected_ = other->selected_;
  selectedText_ = other->selectedText_;
  grayed_ = other->grayed_;
  weekEndText_ = other->weekEndText_;
  nowRect_ = other->nowRect_;
  weekSide_ = other->weekSide_;
  updatingFonts_ = true;
  weekNumbersFont_->Assign(other->weekNumbersFont_.get());
  weekDaysFont_->Assign(other->weekDaysFont_.get());
  headerFont_->Assign(other->headerFont_.get());
  updatingFonts_ = false;
  calendar_->UpdateMetrics();
}

bool TKelCalendarColors::IsPropertyStored(const char* name) const {
  const auto is = [name](const char* other) { return std::strcmp(name, other) == 0; };
  const TColor calendarColor = calendar_->Color();
  if (is("Border")) return !calendar_->ParentColor();
  if (is("WeekHeader")) return weekHeader_ != calendarColor;
  if (is("Days")) return days_ != calendarColor;
  if (is("WeekSide")) return weekSide_ != calendarColor;
  if (is("HeaderFont")) return !inheritHeaderFont_;
  if (is("InheritHeaderFont")) return false;
  if (is("WeekNumbersFont")) return !weekNumbersFont_->SameAs(*DerivedSmallFont(true));
  if (is("WeekDaysFont")) return !weekDaysFont_->SameAs(*DerivedSmallFont(false));
  return true;
}

}  // namespace Kel
