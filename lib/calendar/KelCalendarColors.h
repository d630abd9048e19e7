#pragma once
// TKelCalendarColors: the colours and fonts of a calendar's areas. It belongs to one calendar,
// tells it of every change (a colour repaints; a font recomputes the metrics) and keeps the
// "stored" rules that leave colours following the calendar's Color out of form files.

#include <memory>

#include "Font.h"
#include "KelCalendarTypes.h"
#include "KelExport.h"
#include "Persistent.h"

namespace Kel {

class KEL_EXPORT TKelCalendarColors : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Border READ Border WRITE SetBorder)
  Q_PROPERTY(int MonthHeader READ MonthHeader WRITE SetMonthHeader)
  Q_CLASSINFO("default:MonthHeader", "-16777201")
  Q_PROPERTY(int WeekHeader READ WeekHeader WRITE SetWeekHeader)
  Q_PROPERTY(int Days READ Days WRITE SetDays)
  Q_PROPERTY(int DayLines READ DayLines WRITE SetDayLines)
  Q_CLASSINFO("default:DayLines", "-16777200")
  Q_PROPERTY(int Selected READ Selected WRITE SetSelected)
  Q_CLASSINFO("default:Selected", "-16777201")
  Q_PROPERTY(int SelectedText READ SelectedText WRITE SetSelectedText)
  Q_CLASSINFO("default:SelectedText", "-16777211")
  Q_PROPERTY(int Grayed READ Grayed WRITE SetGrayed)
  Q_CLASSINFO("default:Grayed", "-16777201")
  Q_PROPERTY(int WeekEndText READ WeekEndText WRITE SetWeekEndText)
  Q_CLASSINFO("default:WeekEndText", "-16777208")
  Q_PROPERTY(int NowRect READ NowRect WRITE SetNowRect)
  Q_CLASSINFO("default:NowRect", "128")
  Q_PROPERTY(int WeekSide READ WeekSide WRITE SetWeekSide)
  Q_PROPERTY(Kel::TFont* WeekNumbersFont READ WeekNumbersFont WRITE SetWeekNumbersFont)
  Q_PROPERTY(Kel::TFont* WeekDaysFont READ WeekDaysFont WRITE SetWeekDaysFont)
  Q_PROPERTY(Kel::TFont* HeaderFont READ HeaderFont WRITE SetHeaderFont)
  Q_PROPERTY(bool InheritHeaderFont READ InheritHeaderFont WRITE SetInheritHeaderFont)
  Q_PROPERTY(int DayLinesStyle READ DayLinesStyle WRITE SetDayLinesStyle)
  Q_CLASSINFO("default:DayLinesStyle", "0")

 public:
  explicit TKelCalendarColors(TKelCustomCalendar* calendar);
  ~TKelCalendarColors() override;

  TKelCustomCalendar* Calendar() const { return calendar_; }

  TColor Border() const { return border_; }
  void SetBorder(TColor value);
  TColor MonthHeader() const { return monthHeader_; }
  void SetMonthHeader(TColor value) { SetColor(monthHeader_, value); }
  TColor WeekHeader() const { return weekHeader_; }
  void SetWeekHeader(TColor value) { SetColor(weekHeader_, value); }
  TColor Days() const { return days_; }
  void SetDays(TColor value) { SetColor(days_, value); }
  TColor DayLines() const { return dayLines_; }
  void SetDayLines(TColor value) { SetColor(dayLines_, value); }
  TColor Selected() const { return selected_; }
  void SetSelected(TColor value) { SetColor(selected_, value); }
  TColor SelectedText() const { return selectedText_; }
  void SetSelectedText(TColor value) { SetColor(selectedText_, value); }
  TColor Grayed() const { return grayed_; }
  void SetGrayed(TColor value) { SetColor(grayed_, value); }
  TColor WeekEndText() const { return weekEndText_; }
  void SetWeekEndText(TColor value) { SetColor(weekEndText_, value); }
  TColor NowRect() const { return nowRect_; }
  void SetNowRect(TColor value) { SetColor(nowRect_, value); }
  TColor WeekSide() const { return weekSide_; }
  void SetWeekSide(TColor value) { SetColor(weekSide_, value); }
  int DayLinesStyle() const { return dayLinesStyle_; }
  void SetDayLinesStyle(int value) { SetColor(dayLinesStyle_, value); }

  // Setting a font copies it.
  TFont* WeekNumbersFont() const { return weekNumbersFont_.get(); }
  void SetWeekNumbersFont(TFont* value);
  TFont* WeekDaysFont() const { return weekDaysFont_.get(); }
  void SetWeekDaysFont(TFont* value);
  TFont* HeaderFont() const { return headerFont_.get(); }
  // Also switches InheritHeaderFont off.
  void SetHeaderFont(TFont* value);
  bool InheritHeaderFont() const { return inheritHeaderFont_; }
  // Switching it on copies the calendar's font into HeaderFont.
  void SetInheritHeaderFont(bool value);

  // Copies the colours and the three fonts of another TKelCalendarColors (not Days, DayLines,
  // DayLinesStyle, InheritHeaderFont); anything else raises EConvertError.
  void Assign(TPersistent* source) override;
  bool IsPropertyStored(const char* name) const override;

  // Called by the calendar: its Color became value (the three colours that follow it).
  void CalendarColorChanged(TColor value);
  // The calendar's font changed: the header font follows it while inherited; while reading a
  // form file the small fonts take its colour too.
  void CalendarFontChanged(bool reading);
  // The week-number and day-name fonts as derived from the calendar's font.
  void DeriveSmallFonts();

 private:
  friend class TKelCustomCalendar;

  template <typename T>
  void SetColor(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  void Repaint();
  void FontChanged(TFont* font);
  void SetFontWithoutNotice(TFont& target, const TFont& source);
  // The fonts as derived from the calendar's font, for the stored rules.
  std::unique_ptr<TFont> DerivedSmallFont(bool weekNumbers) const;

  TKelCustomCalendar* calendar_;
  TColor border_ = clBtnFace;
  TColor monthHeader_ = clBtnFace;
  TColor weekHeader_ = clWindow;
  TColor days_ = clWindow;
  TColor dayLines_ = clBtnShadow;
  TColor selected_ = clBtnFace;
  TColor selectedText_ = clWindow;
  TColor grayed_ = clBtnFace;
  TColor weekEndText_ = clWindowText;
  TColor nowRect_ = clMaroon;
  TColor weekSide_ = clWindow;
  int dayLinesStyle_ = psSolid;
  std::unique_ptr<TFont> weekNumbersFont_;
  std::unique_ptr<TFont> weekDaysFont_;
  std::unique_ptr<TFont> headerFont_;
  bool inheritHeaderFont_ = true;
  bool updatingFonts_ = false;
};

}  // namespace Kel
