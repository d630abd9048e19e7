#pragma once
// TKelCustomCalendar / TKelCalendar: a calendar that shows as many months as fit its client area,
// as a grid of equal month cells (left to right, then top to bottom, from StartDate), and lets
// the user scroll months, jump to a month from a list, and select dates, weeks and months with
// mouse and keyboard.
//
// Geometry
//   Every month cell is MonthWidth x MonthHeight: a header, a row of day names and six week
//   rows of seven days, with a side strip left and right of every week row (the left one
//   carries the week number). The metrics come from the font ("00"), and OnMeasureItem may
//   change them. The frame takes the pixels that do not make a whole month (BorderEdges).
//
// Selection
//   Single mode (MultiSelect off) holds one date, or one week in skWeekSel: the range
//   SelStart..SelFinish. Multi mode holds any set of dates, stored per month as a day mask in a
//   list sorted by month; SelectDate is the one operation that changes membership, and every
//   other (weeks, months, ranges, moving, clearing) is made of it. OnCanSelectDate may veto any
//   change of a date; MaxSelDates, the date limits and, without ExtendedSelect, contiguity bound
//   the selection. OnDateChanged fires once per change, or once per BeginUpdate/EndUpdate batch.
//
// Dates are whole days (the time of a date-time given is dropped).

#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

#include "Cursors.h"
#include "KelCalendarColors.h"
#include "KelCalendarTypes.h"
#include "KelCustomControl.h"
#include "KelExport.h"
#include "KelUtils.h"

class QPainter;

namespace Kel {

class TCanvas;
class TKelPopupMonthListBox;

// "<long month name> <year>" of a date's month: the month headers and the month list.
KEL_EXPORT QString MonthYearText(TDateTime date);

// One month of a multi-selection: bit i of the mask is the date MonthStart + i.
struct TKelCalendarMonthBlock {
  TDateTime MonthStart = 0;
  quint32 Mask = 0;
};

class KEL_EXPORT TKelCustomCalendar : public TKelCustomControl {
  Q_OBJECT

 public:
  explicit TKelCustomCalendar(QWidget* parent = nullptr);
  ~TKelCustomCalendar() override;

  // ---- date rules
  int EffectiveFirstDayOfWeek() const;
  TDateTime WeekStart(TDateTime date) const;
  TDateTime WeekEnd(TDateTime date) const { return WeekStart(date) + 6; }
  int WeekNumber(TDateTime date) const;
  bool IsWorkDay(TDateTime date) const;
  // The month moved by n months; a result outside the date range leaves the date as it is.
  static TDateTime IncMonthSafe(TDateTime date, int months);
  static TDateTime MinValidDate();
  static TDateTime MaxValidDate();

  // ---- metrics and grid (client coordinates)
  int DayWidth() const { return dayWidth_; }
  int DayHeight() const { return dayHeight_; }
  int SideWidth() const { return sideWidth_; }
  int HeaderHeight() const { return headerHeight_; }
  int DayNamesHeight() const { return dayNamesHeight_; }
  int MonthWidth() const { return 2 * sideWidth_ + 7 * dayWidth_; }
  int MonthHeight() const { return headerHeight_ + dayNamesHeight_ + 6 * dayHeight_ + 2; }
  int MonthCols() const;
  int MonthRows() const;
  int MonthCount() const { return MonthCols() * MonthRows(); }
  // The client area inside the frame and the snapped margins, in widget coordinates.
  QRect ClientRect() const;
  TRect MonthCellRect(int col, int row) const;
  TDateTime MonthOfCell(int col, int row) const { return IncMonthSafe(startDate_, row * MonthCols() + col); }
  TDateTime GridStart(int col, int row) const;
  // The cell that shows date (false when it is not on screen).
  bool CellOfDate(TDateTime date, int& col, int& row) const;
  // The rectangle of date's day (empty when it is not on screen).
  TRect DayRect(TDateTime date) const;
  TRect HeaderRect(int col, int row) const;
  TRect PrevButtonRect() const;
  TRect NextButtonRect() const;
  // The area under a client point and its date.
  TKelCalendarHitTest HitTest(int x, int y, TDateTime& date) const;
  // The x of the first day column inside a cell (SideWidth, +4 with week numbers).
  int DayColumnsLeft() const { return sideWidth_ + (showWeekNumbers_ ? 4 : 0); }

  // ---- view
  TDateTime StartDate() const { return startDate_; }
  void SetStartDate(TDateTime value);
  // Scrolls by months (12 for a year); whether the view moved.
  bool Scroll(int months);

  // ---- selection
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  TKelCalSelectKind SelectKind() const { return selectKind_; }
  void SetSelectKind(TKelCalSelectKind value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value);
  int MaxSelDates() const { return maxSelDates_; }
  void SetMaxSelDates(int value);
  TDateTime SelStart() const { return selStart_; }
  TDateTime SelFinish() const { return selFinish_; }
  int SelCount() const { return selCount_; }
  TDateTime AnchorDate() const { return anchorDate_; }
  TDateTime CursorDate() const { return cursorDate_; }
  bool WeekMode() const { return weekMode_; }
  TShiftState PressShiftState() const { return pressShiftState_; }
  // The month blocks of a multi-selection, sorted by month.
  const std::vector<TKelCalendarMonthBlock>& MonthBlocks() const { return blocks_; }

  bool IsDateSelected(TDateTime date) const;
  bool SelectDate(bool select, TDateTime date);
  // The single date of the calendar: makes date the selection (see the selection rules).
  TDateTime Date() const { return selStart_; }
  void SetDate(TDateTime date);
  bool ClearSelection();
  bool SelectWeek(bool clearFirst, TDateTime date);
  bool SelectMonth(bool clearFirst, TDateTime date);
  void SetSelStart(TDateTime date);
  void SetSelFinish(TDateTime date);
  bool MoveSelection(int days);
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // ---- limits
  bool MinDateLimit() const { return minDateLimit_; }
  void SetMinDateLimit(bool value);
  TDateTime MinDate() const { return minDate_; }
  void SetMinDate(TDateTime value);
  bool MaxDateLimit() const { return maxDateLimit_; }
  void SetMaxDateLimit(bool value);
  TDateTime MaxDate() const { return maxDate_; }
  void SetMaxDate(TDateTime value);
  // Whether date lies inside the active limits.
  bool InsideLimits(TDateTime date) const;
  // The name of a weekday (1 = Sunday) as the day-names row writes it (WeekDayNames).
  QString DayName(int weekday) const;

  // ---- display
  TKelCalendarColors* Colors() const { return colors_.get(); }
  void SetColors(TKelCalendarColors* value) { colors_->Assign(value); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  bool ShowMonthPopup() const { return showMonthPopup_; }
  void SetShowMonthPopup(bool value) { showMonthPopup_ = value; }
  bool ShowNavButtons() const { return showNavButtons_; }
  void SetShowNavButtons(bool value);
  bool ShowToday() const { return showToday_; }
  void SetShowToday(bool value);
  bool SideWeekSelect() const { return sideWeekSelect_; }
  void SetSideWeekSelect(bool value) { SetRepainting(sideWeekSelect_, value); }
  bool ShowMonthDividers() const { return showMonthDividers_; }
  void SetShowMonthDividers(bool value) { SetRepainting(showMonthDividers_, value); }
  bool ShowWeekNumbers() const { return showWeekNumbers_; }
  void SetShowWeekNumbers(bool value) { SetRepainting(showWeekNumbers_, value); }
  bool ShowHorzLines() const { return showHorzLines_; }
  void SetShowHorzLines(bool value) { SetRepainting(showHorzLines_, value); }
  bool ShowVertLines() const { return showVertLines_; }
  void SetShowVertLines(bool value) { SetRepainting(showVertLines_, value); }
  TKelWeekDaysLength WeekDayNames() const { return weekDayNames_; }
  void SetWeekDayNames(TKelWeekDaysLength value) { SetRepainting(weekDayNames_, value); }
  TKelFirstWeekOfYear FirstWeekOfYear() const { return firstWeekOfYear_; }
  void SetFirstWeekOfYear(TKelFirstWeekOfYear value) { SetRepainting(firstWeekOfYear_, value); }
  TKelFirstDayOfWeek FirstDayOfWeek() const { return firstDayOfWeek_; }
  void SetFirstDayOfWeek(TKelFirstDayOfWeek value);
  TKelWeekDays WorkDays() const { return workDays_; }
  void SetWorkDays(TKelWeekDays value) { SetRepainting(workDays_, value); }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TBevelEdges BorderEdges() const { return borderEdges_; }
  void SetBorderEdges(TBevelEdges value);
  TCursor WeekCursor() const { return weekCursor_; }
  void SetWeekCursor(TCursor value) { weekCursor_ = value; }
  bool ClearOnKeyMoving() const { return clearOnKeyMoving_; }
  void SetClearOnKeyMoving(bool value) { clearOnKeyMoving_ = value; }
  virtual bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value) { readOnly_ = value; }
  // The frame's width on each side (without the snapped margins).
  int FrameWidth() const;
  // The calendar's font as a TFont (colour: the window text).
  void GetCalendarFont(TFont& font) const;
  // Recomputes the metrics and the frame (the font or a measuring rule changed).
  void UpdateMetrics();
  // Recomputes the client area inside the frame and repaints.
  void UpdateFrame();
  // Without margin edges on a side, resizes the window to whole months that way; whether it did.
  bool SnapToMonths();

  // Opens the month list over the header of the month in cell (col, row), as a click on the
  // header does (nothing without ShowMonthPopup).
  void ShowMonthList(int col, int row);
  // The month list popup while it is open.
  TKelPopupMonthListBox* MonthPopup() const;
  // The month cell whose month the open month list is about.
  QPoint MonthPopupCell() const { return monthPopupCell_; }
  // Repeats of a held navigation button, driven by a timer (exposed so that it can be ticked).
  QTimer* RepeatTimer() const { return repeatTimer_.get(); }
  void RepeatTick();

  TKelCalendNotifyEvent OnDateChanged;
  TKelCalendCanSelectDateEvent OnCanSelectDate;
  TKelCalendGetPaintParamsEvent OnGetPaintParams;
  TKelCalendMeasureItemEvent OnMeasureItem;
  TKelCalendDrawItemEvent OnDrawItem;
  // After the calendar handled a mouse release (client coordinates).
  std::function<void(TKelCustomCalendar* sender, TMouseButton button, TShiftState shift, int x, int y)>
      OnMouseUp;

 protected:
  virtual bool CanSelectDate(TDateTime date);
  virtual void DateChanged();
  virtual std::unique_ptr<TKelCalendarColors> CreateColors();
  virtual void MouseArea(TKelCalendarHitTest area) {}
  virtual void GetPaintParams(TDateTime date, TColor& color, TColor& bkColor, TFontStyles& style,
                              TKelCalendarDateType dateType);
  virtual void DrawMonthHeader(TCanvas& canvas, int col, int row, const TRect& rect);
  virtual void DrawNavButton(TCanvas& canvas, TKelCalendarHitTest button, const TRect& rect);
  virtual void DrawDayNamesSeparator(TCanvas& canvas, const TRect& cell);
  virtual void DrawDayNames(TCanvas& canvas, int col, int row, const TRect& rect);
  virtual void DrawDayCell(TCanvas& canvas, TDateTime date, TKelCalendarDateType type,
                           const TRect& rect, TColor color, TColor bkColor, TFontStyles style);
  virtual void DrawCellDecorations(TCanvas& canvas, TDateTime date, int weekRow, int column,
                                   const TRect& rect);
  virtual void DrawMonthDividers(TCanvas& canvas, int col, const TRect& rect);
  virtual void DrawSideStrip(TCanvas& canvas, TDateTime rowStart, bool left,
                             TKelCalendarDateType type, const TRect& rect, TColor color,
                             TColor bkColor, TFontStyles style);
  virtual void ShowMonthPopupFor(int col, int row);
  virtual QString MonthTitle(TDateTime monthStart) const;

  void InitDefaultKeys() override;
  void Loaded() override;
  QString DefaultAccessibleName() const override;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QSize sizeHint() const override;

 private:
  friend class TKelCalendarColors;
  friend class TKelPopupMonthListBox;
  class UpdateScope;

  template <typename T>
  void SetRepainting(T& field, T value) {
    if (field == value) return;
    field = value;
    update();
  }

  // -- selection internals
  void MarkChanged();
  bool SelectMulti(bool select, TDateTime date);
  // The single date or week; scroll brings a date outside the months shown into view.
  bool SetSingle(TDateTime date, bool scroll = true);
  void SetBit(TDateTime date, bool on);
  void RecomputeBounds();
  void UpdateWeekMode();
  void SetWeekModeValue(bool value);
  bool SelectRun(TDateTime from, TDateTime to, bool select);
  void SetSelEnd(bool start, TDateTime date);
  bool StepEnd(bool start, TDateTime target);
  void ApplyLimitsToSelection();
  void InvalidateDate(TDateTime date);
  void InvalidateRange(TDateTime from, TDateTime to);
  void InvalidateSideStrips();
  TDateTime ClampToLimits(TDateTime date) const;

  // -- painting internals
  void PaintCell(TCanvas& canvas, int col, int row);
  void PaintWeekRow(TCanvas& canvas, int col, int row, int weekRow);
  TKelCalendarDateType DateTypeIn(int col, int row, TDateTime date, TKelCalendarHitTest& area) const;
  void PaintFrame(TCanvas& canvas);
  bool PrevButtonVisible() const;
  bool NextButtonVisible() const;

  // -- input internals
  void PressOnDay(TDateTime date, TShiftState shift);
  void DragTo(TKelCalendarHitTest area, TDateTime date, int x);
  void WeekMove(TDateTime rowStart);
  void DayMove(TDateTime date);
  void AltBlockMove(TDateTime date);
  bool InLeftStrip(int x) const;
  void StartRepeat(TKelCalendarHitTest button, int months);
  void StopRepeat();
  void KeyMove(int days, bool shift);
  void KeyMoveTo(TDateTime target, bool shift);
  void ShiftExtend(int step);
  void ShiftSelectTowards(TDateTime target);
  void AfterShiftExtension();
  void KeyEnter(TDateTime target);
  void CollapseForKeyMove();
  TPoint ToClient(const QPoint& widgetPoint) const;

  std::unique_ptr<TKelCalendarColors> colors_;
  std::vector<TKelCalendarMonthBlock> blocks_;

  bool multiSelect_ = true;
  TKelCalSelectKind selectKind_ = skProgressive;
  bool extendedSelect_ = true;
  int maxSelDates_ = 42;
  TDateTime selStart_ = 0;
  TDateTime selFinish_ = 0;
  int selCount_ = 0;
  TDateTime anchorDate_ = 0;
  TDateTime cursorDate_ = 0;
  TDateTime focusDrawnDate_ = 0;  // where the focus frame was painted (0: none)
  bool weekMode_ = false;
  int updateCount_ = 0;
  bool changed_ = false;

  bool minDateLimit_ = false;
  TDateTime minDate_ = 0;
  bool maxDateLimit_ = false;
  TDateTime maxDate_ = 0;
  TDateTime startDate_ = 0;

  int dayWidth_ = 0;
  int dayHeight_ = 0;
  int sideWidth_ = 0;
  int headerHeight_ = 0;
  int dayNamesHeight_ = 0;

  TColor color_ = clWindow;
  bool parentColor_ = false;
  bool showMonthPopup_ = true;
  bool showNavButtons_ = true;
  bool showToday_ = true;
  bool sideWeekSelect_ = true;
  bool showMonthDividers_ = false;
  bool showWeekNumbers_ = false;
  bool showHorzLines_ = false;
  bool showVertLines_ = false;
  TKelWeekDaysLength weekDayNames_ = wdlOne;
  TKelFirstWeekOfYear firstWeekOfYear_ = fwJanFirst;
  TKelFirstDayOfWeek firstDayOfWeek_ = dwLocaleDefault;
  TKelWeekDays workDays_ = TKelWeekDays::Range(dwMonday, dwFriday);
  bool flat_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  TBevelEdges borderEdges_ = AllBevelEdges;
  TCursor weekCursor_ = crKelLeftArrow;
  bool clearOnKeyMoving_ = false;
  bool readOnly_ = false;

  // -- gestures
  TShiftState pressShiftState_;
  bool pressing_ = false;     // a left press on the days or strips is being dragged
  bool pressTarget_ = true;   // the state a plain or Ctrl press gives its dates
  bool weekDrag_ = false;     // the drag moves by whole weeks
  TDateTime altBlockEnd_ = 0; // the far corner of the Alt column block last selected
  bool altBlockActive_ = false;
  std::unique_ptr<QTimer> repeatTimer_;
  TKelCalendarHitTest repeatButton_ = htNowhere;
  TPoint lastMousePos_;
  QPointer<QWidget> monthPopup_;  // a TKelPopupMonthListBox
  QPoint monthPopupCell_;
};

// The published calendar.
class KEL_EXPORT TKelCalendar : public TKelCustomCalendar {
  Q_OBJECT
  Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
  Q_CLASSINFO("default:MultiSelect", "True")
  Q_PROPERTY(bool ClearOnKeyMoving READ ClearOnKeyMoving WRITE SetClearOnKeyMoving)
  Q_CLASSINFO("default:ClearOnKeyMoving", "False")
  Q_PROPERTY(bool ShowMonthPopup READ ShowMonthPopup WRITE SetShowMonthPopup)
  Q_CLASSINFO("default:ShowMonthPopup", "True")
  Q_PROPERTY(bool ShowNavButtons READ ShowNavButtons WRITE SetShowNavButtons)
  Q_CLASSINFO("default:ShowNavButtons", "True")
  Q_PROPERTY(bool ShowToday READ ShowToday WRITE SetShowToday)
  Q_CLASSINFO("default:ShowToday", "True")
  Q_PROPERTY(bool SideWeekSelect READ SideWeekSelect WRITE SetSideWeekSelect)
  Q_CLASSINFO("default:SideWeekSelect", "True")
  Q_PROPERTY(bool ShowMonthDividers READ ShowMonthDividers WRITE SetShowMonthDividers)
  Q_CLASSINFO("default:ShowMonthDividers", "False")
  Q_PROPERTY(bool ShowWeekNumbers READ ShowWeekNumbers WRITE SetShowWeekNumbers)
  Q_CLASSINFO("default:ShowWeekNumbers", "False")
  Q_PROPERTY(bool ShowHorzLines READ ShowHorzLines WRITE SetShowHorzLines)
  Q_CLASSINFO("default:ShowHorzLines", "False")
  Q_PROPERTY(bool ShowVertLines READ ShowVertLines WRITE SetShowVertLines)
  Q_CLASSINFO("default:ShowVertLines", "False")
  Q_PROPERTY(Kel::KelCalendarTypes::TKelWeekDaysLength WeekDayNames READ WeekDayNames WRITE SetWeekDayNames)
  Q_CLASSINFO("default:WeekDayNames", "wdlOne")
  Q_PROPERTY(Kel::KelUtilsTypes::TKelFirstWeekOfYear FirstWeekOfYear READ FirstWeekOfYear WRITE SetFirstWeekOfYear)
  Q_CLASSINFO("default:FirstWeekOfYear", "fwJanFirst")
  Q_PROPERTY(Kel::KelUtilsTypes::TKelFirstDayOfWeek FirstDayOfWeek READ FirstDayOfWeek WRITE SetFirstDayOfWeek)
  Q_CLASSINFO("default:FirstDayOfWeek", "dwLocaleDefault")
  Q_PROPERTY(Kel::TSet<Kel::KelUtilsTypes::TKelFirstDayOfWeek> WorkDays READ WorkDays WRITE SetWorkDays)
  Q_PROPERTY(bool MinDateLimit READ MinDateLimit WRITE SetMinDateLimit)
  Q_CLASSINFO("default:MinDateLimit", "False")
  Q_PROPERTY(double MinDate READ MinDate WRITE SetMinDate)
  Q_PROPERTY(bool MaxDateLimit READ MaxDateLimit WRITE SetMaxDateLimit)
  Q_CLASSINFO("default:MaxDateLimit", "False")
  Q_PROPERTY(double MaxDate READ MaxDate WRITE SetMaxDate)
  Q_PROPERTY(double StartDate READ StartDate WRITE SetStartDate)
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_CLASSINFO("default:Flat", "True")
  Q_PROPERTY(int BorderStyle READ BorderStyleValue WRITE SetBorderStyleValue)
  Q_CLASSINFO("default:BorderStyle", "1")
  Q_PROPERTY(Kel::TSet<Kel::KelCalendarTypes::TBevelEdge> BorderEdges READ BorderEdges WRITE SetBorderEdges)
  Q_PROPERTY(int MaxSelDates READ MaxSelDates WRITE SetMaxSelDates)
  Q_CLASSINFO("default:MaxSelDates", "42")
  Q_PROPERTY(int WeekCursor READ WeekCursor WRITE SetWeekCursor)
  Q_CLASSINFO("default:WeekCursor", "13500")
  Q_PROPERTY(Kel::KelCalendarTypes::TKelCalSelectKind SelectKind READ SelectKind WRITE SetSelectKind)
  Q_CLASSINFO("default:SelectKind", "skProgressive")
  Q_PROPERTY(bool ExtendedSelect READ ExtendedSelect WRITE SetExtendedSelect)
  Q_CLASSINFO("default:ExtendedSelect", "True")
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_CLASSINFO("default:Color", "-16777211")
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
  Q_CLASSINFO("default:ParentColor", "False")
  Q_PROPERTY(Kel::TKelCalendarColors* Colors READ Colors WRITE SetColors)

 public:
  Q_INVOKABLE explicit TKelCalendar(QWidget* parent = nullptr);

  // The stored rules of its own: MinDate and MaxDate only while their limit is on, StartDate
  // unless it is today's month (true for every other property).
  bool IsPropertyStored(const char* name) const;
  int BorderStyleValue() const { return BorderStyle(); }
  void SetBorderStyleValue(int value) { SetBorderStyle(static_cast<TBorderStyle>(value)); }
};

}  // namespace Kel
