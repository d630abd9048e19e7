// Painting of the calendar: per month cell, the header with the navigation buttons, the day
// names, six week rows of days with their side strips, and the dividers; then the frame.
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>

#include "Canvas.h"
#include "KelCalendar.h"
#include "KelDrawing.h"

namespace Kel {

namespace {

TColor ToTColor(const QColor& c) { return TColor((c.blue() << 16) | (c.green() << 8) | c.red()); }

// Colours that stand apart on one palette may melt together on another (a light button face
// under white text, say): a text too close to its background is moved towards the contrast.
QColor ReadableOn(const QColor& text, const QColor& background, const QColor& windowText) {
  if (std::abs(ColorLuminance(text) - ColorLuminance(background)) >= 64) return text;
  const QColor away = ColorLuminance(background) > 128 ? QColor(Qt::black) : QColor(Qt::white);
  return MixColors(MixColors(windowText, away, 30), background, 40);
}

}  // namespace

void TKelCustomCalendar::GetPaintParams(TDateTime date, TColor& color, TColor& bkColor, TFontStyles& style,
                                        TKelCalendarDateType dateType) {
  if (OnGetPaintParams) OnGetPaintParams(this, date, color, bkColor, style, dateType);
}

bool TKelCustomCalendar::PrevButtonVisible() const {
  return !(minDateLimit_ && minDate_ > GridStart(0, 0));
}

bool TKelCustomCalendar::NextButtonVisible() const {
  return !(maxDateLimit_ && IncMonthSafe(startDate_, MonthCount()) > maxDate_);
}

void TKelCustomCalendar::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  TCanvas canvas(painter, this);
  PaintFrame(canvas);
  painter.setClipRect(ClientRect());
  painter.translate(ClientRect().topLeft());
  const QRegion region = event->region().translated(-ClientRect().topLeft());
  const QRect cells(0, 0, MonthCols() * MonthWidth(), MonthRows() * MonthHeight());
  // A client smaller or larger than the cells (no snapping edge) still gets every pixel painted.
  const QRegion rest = QRegion(QRect(QPoint(0, 0), ClientRect().size())).subtracted(cells);
  if (!rest.isEmpty()) {
    canvas.Brush().Color = colors_->Border();
    for (const QRect& r : rest) canvas.FillRect(TRect::FromQRect(r));
  }
  for (int row = 0; row < MonthRows(); ++row)
    for (int col = 0; col < MonthCols(); ++col)
      if (region.intersects(MonthCellRect(col, row).ToQRect())) PaintCell(canvas, col, row);
  // The keys act at the cursor date: with the focus, it is framed so that a keyboard user sees
  // where.
  focusDrawnDate_ = hasFocus() ? cursorDate_ : 0;
  const TRect cursor = DayRect(cursorDate_);
  if (hasFocus() && !cursor.IsEmpty()) canvas.DrawFocusRect(cursor);
}

void TKelCustomCalendar::PaintFrame(TCanvas& canvas) {
  const QRegion margins = QRegion(rect()).subtracted(ClientRect());
  canvas.Brush().Color = colors_->Border();
  for (const QRect& r : margins) canvas.FillRect(TRect::FromQRect(r));
  if (borderStyle_ == bsSingle)
    canvas.DrawEdge(TRect::FromQRect(rect()), flat_ ? ekSunkenOuter : ekSunken, ebRect);
}

void TKelCustomCalendar::PaintCell(TCanvas& canvas, int col, int row) {
  const TRect cell = MonthCellRect(col, row);
  const TDateTime month = MonthOfCell(col, row);
  bool defaultDrawing = true;
  const TRect header = HeaderRect(col, row);
  if (OnDrawItem) OnDrawItem(this, month, htMonthHeader, dtNormal, header, defaultDrawing);
  if (defaultDrawing) DrawMonthHeader(canvas, col, row, header);

  if (row == 0 && showNavButtons_) {
    if (col == 0 && PrevButtonVisible()) DrawNavButton(canvas, htPrevButton, PrevButtonRect());
    if (col == MonthCols() - 1 && NextButtonVisible()) DrawNavButton(canvas, htNextButton, NextButtonRect());
  }

  const TRect names{cell.Left, cell.Top + headerHeight_, cell.Right, cell.Top + headerHeight_ + dayNamesHeight_ + 2};
  defaultDrawing = true;
  if (OnDrawItem) OnDrawItem(this, 0, htDayNames, dtNormal, names, defaultDrawing);
  if (defaultDrawing) {
    DrawDayNames(canvas, col, row, names);
    if (showMonthDividers_) DrawMonthDividers(canvas, col, names);
    DrawDayNamesSeparator(canvas, names);
  }
  for (int weekRow = 0; weekRow < 6; ++weekRow) PaintWeekRow(canvas, col, row, weekRow);
}

void TKelCustomCalendar::DrawMonthHeader(TCanvas& canvas, int col, int row, const TRect& rect) {
  canvas.Brush().Color = colors_->MonthHeader();
  canvas.FillRect(rect);
  TFont font;
  if (colors_->InheritHeaderFont()) GetCalendarFont(font);
  else font.Assign(colors_->HeaderFont());
  canvas.Font().Assign(&font);
  const QString title = MonthTitle(MonthOfCell(col, row));
  const int x = rect.Left + (rect.Width() - canvas.TextWidth(title)) / 2;
  const int y = rect.Top + (rect.Height() - canvas.TextHeight(title)) / 2;
  canvas.Brush().Style = bsClear;
  canvas.TextRect(rect.Inset(1, 1), x, y, title);
  canvas.Brush().Style = bsSolid;
  int borders = ebTop | ebBottom;
  if (col == 0) borders |= ebLeft;
  if (col == MonthCols() - 1) borders |= ebRight;
  canvas.DrawEdge(rect, ekRaisedInner, borders);
  if (!flat_) {
    int sunken = ebBottom;
    if (row > 0) sunken |= ebTop;
    if (col == MonthCols() - 1) sunken |= ebRight;
    canvas.DrawEdge(rect, ekSunkenOuter, sunken);
  }
  // Separators between neighbouring headers.
  if (col > 0) canvas.DrawEdge(rect, ekRaisedInner, ebLeft);
  if (col < MonthCols() - 1) canvas.DrawEdge(rect, ekRaisedInner, ebRight);
}

void TKelCustomCalendar::DrawNavButton(TCanvas& canvas, TKelCalendarHitTest button, const TRect& rect) {
  bool defaultDrawing = true;
  if (OnDrawItem) OnDrawItem(this, startDate_, button, dtNormal, rect, defaultDrawing);
  if (!defaultDrawing) return;
  // A flat arrow on the header's own background: only the glyph is drawn.
  const TRect inner = rect.Inset(1, 1);
  const int h = std::max(4, inner.Height() / 2);
  const int w = h / 2 + 1;
  const int cx = inner.Left + inner.Width() / 2, cy = inner.Top + inner.Height() / 2;
  QPolygon arrow;
  if (button == htPrevButton)
    arrow << QPoint(cx - w / 2, cy) << QPoint(cx + w - w / 2, cy - h / 2) << QPoint(cx + w - w / 2, cy + h / 2);
  else
    arrow << QPoint(cx + w / 2, cy) << QPoint(cx - w + w / 2, cy - h / 2) << QPoint(cx - w + w / 2, cy + h / 2);
  QPainter& painter = canvas.Painter();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(canvas.ToQColor(clBtnText));
  painter.drawPolygon(arrow);
  painter.restore();
}

void TKelCustomCalendar::DrawDayNames(TCanvas& canvas, int col, int row, const TRect& rect) {
  canvas.Brush().Color = colors_->WeekHeader();
  canvas.FillRect(rect);
  TFont font;
  if (weekDayNames_ == wdlOne) {
    GetCalendarFont(font);
    font.SetColor(colors_->WeekDaysFont()->Color());
  } else {
    font.Assign(colors_->WeekDaysFont());
  }
  canvas.Font().Assign(&font);
  canvas.Brush().Style = bsClear;
  const int first = EffectiveFirstDayOfWeek();
  const int left = rect.Left + DayColumnsLeft();
  for (int j = 0; j < 7; ++j) {
    const QString name = DayName((first - 1 + j) % 7 + 1);
    const TRect column{left + j * dayWidth_, rect.Top, left + (j + 1) * dayWidth_, rect.Top + dayNamesHeight_};
    const int x = column.Left + (column.Width() - canvas.TextWidth(name)) / 2;
    const int y = column.Top + (column.Height() - canvas.TextHeight(name)) / 2;
    canvas.TextRect(column, x, y, name);
  }
  canvas.Brush().Style = bsSolid;
  (void)col;
  (void)row;
}

void TKelCustomCalendar::DrawDayNamesSeparator(TCanvas& canvas, const TRect& cell) {
  const int shift = showWeekNumbers_ ? 2 : 0;
  const int left = cell.Left + sideWidth_ + shift;
  const int right = cell.Right - sideWidth_ + (showWeekNumbers_ ? 4 : 0);
  const TRect line{left, cell.Bottom - 2, right, cell.Bottom};
  canvas.DrawEdge(line, flat_ ? ekEtched : ekRaisedOuter, ebTop);
}

TKelCalendarDateType TKelCustomCalendar::DateTypeIn(int col, int row, TDateTime date,
                                                   TKelCalendarHitTest& area) const {
  const TDateTime month = MonthOfCell(col, row);
  const bool first = col == 0 && row == 0;
  const bool last = col == MonthCols() - 1 && row == MonthRows() - 1;
  if (date < month || date > LastDayOfMonth(month)) {
    const bool shown = date < month ? first : last;
    if (!shown) {
      area = htHiddenDay;
      return dtHidden;
    }
    area = date < month ? htLeadingDay : htTrailingDay;
    return IsDateSelected(date) ? dtSelected : dtGrayed;
  }
  area = htDay;
  return IsDateSelected(date) ? dtSelected : dtNormal;
}

void TKelCustomCalendar::PaintWeekRow(TCanvas& canvas, int col, int row, int weekRow) {
  const TRect cell = MonthCellRect(col, row);
  const TDateTime rowStart = GridStart(col, row) + 7 * weekRow;
  const int top = cell.Top + headerHeight_ + dayNamesHeight_ + 2 + weekRow * dayHeight_;
  const int left = cell.Left + DayColumnsLeft();
  const TFontStyles fontStyle = TFontStyles{};
  int hidden = 0;
  bool allSelected = true;
  TKelCalendarDateType firstType = dtNormal, lastType = dtNormal;
  for (int j = 0; j < 7; ++j) {
    const TDateTime date = rowStart + j;
    TKelCalendarHitTest area = htDay;
    const TKelCalendarDateType type = DateTypeIn(col, row, date, area);
    if (j == 0) firstType = type;
    if (j == 6) lastType = type;
    if (type == dtHidden) ++hidden;
    allSelected = allSelected && IsDateSelected(date);
    TColor color = clWindowText, bk = colors_->Days();
    TFontStyles style = fontStyle;
    if (type == dtGrayed) color = colors_->Grayed();
    else if (type == dtNormal) color = IsWorkDay(date) ? clWindowText : colors_->WeekEndText();
    else if (type == dtSelected) {
      color = colors_->SelectedText();
      bk = colors_->Selected();
    }
    GetPaintParams(date, color, bk, style, type);
    const TRect rect{left + j * dayWidth_, top, left + (j + 1) * dayWidth_, top + dayHeight_};
    bool defaultDrawing = true;
    if (OnDrawItem) OnDrawItem(this, date, area, type, rect, defaultDrawing);
    if (!defaultDrawing) continue;
    DrawDayCell(canvas, date, type, rect, color, bk, style);
    DrawCellDecorations(canvas, type == dtHidden ? 0 : date, weekRow, j, rect);
  }
  // Side strips.
  const bool selectedWeek = weekMode_ && !showWeekNumbers_ && allSelected;
  for (bool leftStrip : {true, false}) {
    const TRect strip = leftStrip ? TRect{cell.Left, top, left, top + dayHeight_}
                                  : TRect{left + 7 * dayWidth_, top, cell.Right, top + dayHeight_};
    const bool blankNeighbour = (leftStrip ? firstType : lastType) == dtHidden;
    const bool selected = selectedWeek && !blankNeighbour;
    const TKelCalendarDateType type = hidden == 7 ? dtHidden : selected ? dtWeekSideSelected : dtWeekSide;
    TColor color = colors_->WeekNumbersFont()->Color();
    TColor bk = selected ? colors_->Selected() : colors_->WeekSide();
    TFontStyles style = colors_->WeekNumbersFont()->Style();
    GetPaintParams(rowStart, color, bk, style, type);
    bool defaultDrawing = true;
    if (OnDrawItem) OnDrawItem(this, rowStart, leftStrip ? htWeekLeft : htWeekRight, type, strip, defaultDrawing);
    if (defaultDrawing) DrawSideStrip(canvas, rowStart, leftStrip, type, strip, color, bk, style);
  }
  if (showMonthDividers_) DrawMonthDividers(canvas, col, TRect{cell.Left, top, cell.Right, top + dayHeight_});
}

void TKelCustomCalendar::DrawDayCell(TCanvas& canvas, TDateTime date, TKelCalendarDateType type,
                                     const TRect& rect, TColor color, TColor bkColor, TFontStyles style) {
  QColor background = canvas.ToQColor(bkColor);
  // A selection colour that does not stand out from the days (a light button face on white)
  // gives way to the palette's highlight, so that the selection always shows.
  const bool highlight =
      type == dtSelected && std::abs(ColorLuminance(background) - ColorLuminance(canvas.ToQColor(colors_->Days()))) < 24;
  if (highlight) background = canvas.Palette().color(QPalette::Highlight);
  canvas.Brush().Color = ToTColor(background);
  if (type == dtHidden) {
    canvas.FillRect(rect);
    return;
  }
  TFont tfont;
  tfont.Assign(font());
  tfont.SetStyle(style);
  const QColor text = highlight ? canvas.Palette().color(QPalette::HighlightedText)
                                : ReadableOn(canvas.ToQColor(color), background, canvas.ToQColor(clWindowText));
  tfont.SetColor(ToTColor(text));
  canvas.Font().Assign(&tfont);
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const QString number = QString::number(day);
  const int x = rect.Left + (rect.Width() - canvas.TextWidth(number)) / 2;
  const int y = rect.Top + (rect.Height() - canvas.TextHeight(number)) / 2;
  canvas.TextRect(rect, x, y, number);
}

void TKelCustomCalendar::DrawCellDecorations(TCanvas& canvas, TDateTime date, int weekRow, int column,
                                             const TRect& rect) {
  const bool horz = showHorzLines_ && weekRow > 0;
  const bool vert = showVertLines_ && column > 0;
  if (horz || vert) {
    canvas.Pen().Color = colors_->DayLines();
    canvas.Pen().Style = static_cast<TPenStyle>(colors_->DayLinesStyle());
    canvas.Pen().Width = 1;
    if (horz) {
      canvas.MoveTo(rect.Left, rect.Top);
      canvas.LineTo(rect.Right, rect.Top);
    }
    if (vert) {
      canvas.MoveTo(rect.Left, rect.Top);
      canvas.LineTo(rect.Left, rect.Bottom);
    }
    canvas.Pen().Style = psSolid;
  }
  if (showToday_ && date != 0 && date == ::Kel::Date()) {
    const TRect frame{rect.Left + (vert ? 1 : 0), rect.Top + (horz ? 1 : 0), rect.Right, rect.Bottom};
    canvas.Brush().Color = colors_->NowRect();
    canvas.FrameRect(frame);
  }
}

void TKelCustomCalendar::DrawMonthDividers(TCanvas& canvas, int col, const TRect& rect) {
  if (col > 0) canvas.DrawEdge(rect, ekRaisedInner, ebLeft);
  if (col < MonthCols() - 1) canvas.DrawEdge(rect, ekRaisedInner, ebRight);
}

void TKelCustomCalendar::DrawSideStrip(TCanvas& canvas, TDateTime rowStart, bool left, TKelCalendarDateType type,
                                       const TRect& rect, TColor color, TColor bkColor, TFontStyles style) {
  canvas.Brush().Color = bkColor;
  canvas.FillRect(rect);
  if (!left || !showWeekNumbers_ || type == dtHidden) return;
  TFont font;
  font.Assign(colors_->WeekNumbersFont());
  font.SetStyle(style);
  font.SetColor(ToTColor(ReadableOn(canvas.ToQColor(color), canvas.ToQColor(bkColor), canvas.ToQColor(clWindowText))));
  canvas.Font().Assign(&font);
  const QString number = QString::number(WeekNumber(rowStart));
  const int x = rect.Left + sideWidth_ + 1 - canvas.TextWidth(number);
  const int y = rect.Top + (rect.Height() - canvas.TextHeight(number)) / 2;
  canvas.Brush().Style = bsClear;
  canvas.TextRect(rect, x, y, number);
  canvas.Brush().Style = bsSolid;
  const TRect line{rect.Right - 2, rect.Top - (flat_ ? 2 : 1), rect.Right, rect.Bottom};
  canvas.DrawEdge(line, ekEtched, ebLeft);
}

}  // namespace Kel
