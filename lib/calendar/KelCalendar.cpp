// The calendar's state, date rules, metrics, month grid, hit test, frame and view.
#include "KelCalendar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QResizeEvent>
#include <algorithm>

#include "FormatSettings.h"
#include "KelAccessibleReport.h"
#include "KelCalPopup.h"
#include "KelEventErrors.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"

namespace Kel {

namespace {

// The published control is known by name (the class registry, a form designer's list).
const bool calendarClassRegistered = [] {
  RegisterClassesOnce({&TKelCalendar::staticMetaObject});
  return true;
}();

// The week strip's cursor: an arrow pointing left, drawn here so that it looks the same on
// every platform and scales with the screen.
QCursor MakeLeftArrowCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(1, 8);
  arrow.lineTo(11, 1);
  arrow.lineTo(11, 5);
  arrow.lineTo(22, 5);
  arrow.lineTo(22, 11);
  arrow.lineTo(11, 11);
  arrow.lineTo(11, 15);
  arrow.closeSubpath();
  painter.setPen(QPen(Qt::white, 1.2));
  painter.setBrush(Qt::black);
  painter.drawPath(arrow);
  painter.end();
  return QCursor(pixmap, 1, 8);
}

void RegisterLeftArrowCursor() {
  static const bool registered = [] {
    if (!HasScreenCursor(crKelLeftArrow)) SetScreenCursor(crKelLeftArrow, MakeLeftArrowCursor());
    return true;
  }();
  (void)registered;
}

}  // namespace

TKelCustomCalendar::TKelCustomCalendar(QWidget* parent)
    : TKelCustomControl(parent), repeatTimer_(std::make_unique<QTimer>()) {
  RegisterLeftArrowCursor();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  minDate_ = MinValidDate();
  maxDate_ = MaxValidDate();
  startDate_ = FirstDayOfMonth(::Kel::Date());
  colors_ = CreateColors();
  colors_->DeriveSmallFonts();
  colors_->CalendarFontChanged(false);
  repeatTimer_->setInterval(170);
  connect(repeatTimer_.get(), &QTimer::timeout, this,
          [this] { RunEventHandler(this, [this] { RepeatTick(); }); });
  UpdateMetrics();
  resize(170, 170);
  SetDate(::Kel::Date());
}

TKelCustomCalendar::~TKelCustomCalendar() {
  delete monthPopup_.data();
}

std::unique_ptr<TKelCalendarColors> TKelCustomCalendar::CreateColors() {
  return std::make_unique<TKelCalendarColors>(this);
}

QString TKelCustomCalendar::DefaultAccessibleName() const {
  return objectName().isEmpty() ? TranslateText(QT_TRANSLATE_NOOP("Kel", "Calendar"))
                                : objectName();
}

// ---- date rules -----------------------------------------------------------------------------

int TKelCustomCalendar::EffectiveFirstDayOfWeek() const {
  return firstDayOfWeek_ == dwLocaleDefault ? LocaleFirstDayOfWeek() : int(firstDayOfWeek_);
}

TDateTime TKelCustomCalendar::WeekStart(TDateTime date) const {
  return ::Kel::FirstDayOfWeek(static_cast<TKelFirstDayOfWeek>(EffectiveFirstDayOfWeek()), DateOnly(date));
}

int TKelCustomCalendar::WeekNumber(TDateTime date) const {
  return WeekOfYear(static_cast<TKelFirstDayOfWeek>(EffectiveFirstDayOfWeek()), firstWeekOfYear_,
                    DateOnly(date));
}

bool TKelCustomCalendar::IsWorkDay(TDateTime date) const { return DayInSet(workDays_, date); }

TDateTime TKelCustomCalendar::MinValidDate() { return EncodeDate(1, 1, 1); }
TDateTime TKelCustomCalendar::MaxValidDate() { return EncodeDate(9999, 12, 31); }

TDateTime TKelCustomCalendar::IncMonthSafe(TDateTime date, int months) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const long long total = static_cast<long long>(year) * 12 + (month - 1) + months;
  if (total < 12 || total >= 10000LL * 12) return date;
  return IncMonth(date, months);
}

// ---- metrics --------------------------------------------------------------------------------

void TKelCustomCalendar::UpdateMetrics() {
  const QFontMetrics metrics(font());
  const int w = metrics.horizontalAdvance(QStringLiteral("00"));
  const int h = metrics.height();
  dayWidth_ = w + 5;
  dayHeight_ = h + 2;
  sideWidth_ = w;
  dayNamesHeight_ = h + 3;
  headerHeight_ = colors_->InheritHeaderFont()
                      ? h + 4
                      : QFontMetrics(colors_->HeaderFont()->ToQFont()).height() + 4;
  if (OnMeasureItem) {
    int ignored = 0;
    OnMeasureItem(this, htDay, dayWidth_, dayHeight_);
    ignored = 0;
    OnMeasureItem(this, htWeekLeft, sideWidth_, ignored);
    ignored = 0;
    OnMeasureItem(this, htMonthHeader, ignored, headerHeight_);
    ignored = 0;
    OnMeasureItem(this, htDayNames, ignored, dayNamesHeight_);
  }
  // A handler cannot make a cell collapse: every division by these must stay defined.
  dayWidth_ = std::max(dayWidth_, 1);
  dayHeight_ = std::max(dayHeight_, 1);
  sideWidth_ = std::max(sideWidth_, 0);
  headerHeight_ = std::max(headerHeight_, 1);
  dayNamesHeight_ = std::max(dayNamesHeight_, 0);
  UpdateFrame();
}

int TKelCustomCalendar::FrameWidth() const {
  if (borderStyle_ != bsSingle) return 0;
  return flat_ ? 1 : 2;
}

// The client area follows the size at once, shown or not, so that the geometry is right
// before the first resize event arrives.
QRect TKelCustomCalendar::ClientRect() const {
  const int frame = FrameWidth();
  int left = frame, top = frame;
  int w = std::max(0, width() - 2 * frame), h = std::max(0, height() - 2 * frame);
  const bool horz = borderEdges_.Contains(beLeft) || borderEdges_.Contains(beRight);
  if (horz && w >= MonthWidth()) {
    const int rest = w % MonthWidth();
    w -= rest;
    if (borderEdges_.Contains(beLeft) && borderEdges_.Contains(beRight)) left += rest / 2;
    else if (borderEdges_.Contains(beLeft)) left += rest;
  }
  const bool vert = borderEdges_.Contains(beTop) || borderEdges_.Contains(beBottom);
  if (vert && h >= MonthHeight()) {
    const int rest = h % MonthHeight();
    h -= rest;
    if (borderEdges_.Contains(beTop) && borderEdges_.Contains(beBottom)) top += rest / 2;
    else if (borderEdges_.Contains(beTop)) top += rest;
  }
  return QRect(left, top, w, h);
}

void TKelCustomCalendar::UpdateFrame() { update(); }

QSize TKelCustomCalendar::sizeHint() const {
  const int frame = 2 * FrameWidth();
  return QSize(MonthWidth() + frame, MonthHeight() + frame);
}

void TKelCustomCalendar::resizeEvent(QResizeEvent* event) {
  TKelCustomControl::resizeEvent(event);
  if (SnapToMonths()) return;
  UpdateFrame();
  SetStartDate(startDate_);
  // The number of months shown may have changed.
  ReportAccessible(this, TKelAccessibleChange::Structure);
}

void TKelCustomCalendar::focusOutEvent(QFocusEvent* event) {
  TKelCustomControl::focusOutEvent(event);
  InvalidateDate(cursorDate_);
}

void TKelCustomCalendar::focusInEvent(QFocusEvent* event) {
  TKelCustomControl::focusInEvent(event);
  InvalidateDate(cursorDate_);
  // After the focus report of the calendar itself, which Qt sends once this event is handled.
  QMetaObject::invokeMethod(
      this, [this] { ReportAccessible(this, TKelAccessibleChange::Focus, cursorDate_); },
      Qt::QueuedConnection);
}

bool TKelCustomCalendar::SnapToMonths() {
  // Without a margin edge on a side the window itself snaps to whole months.
  const int frame = 2 * FrameWidth();
  int w = width(), h = height();
  if (!borderEdges_.Contains(beLeft) && !borderEdges_.Contains(beRight) && w - frame >= MonthWidth())
    w = frame + (w - frame) / MonthWidth() * MonthWidth();
  if (!borderEdges_.Contains(beTop) && !borderEdges_.Contains(beBottom) && h - frame >= MonthHeight())
    h = frame + (h - frame) / MonthHeight() * MonthHeight();
  if (w == width() && h == height()) return false;
  resize(w, h);
  return true;
}

void TKelCustomCalendar::changeEvent(QEvent* event) {
  TKelCustomControl::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    colors_->CalendarFontChanged(IsLoading());
    UpdateMetrics();
  } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
    if (parentColor_ && parentWidget()) {
      colors_->border_ = TColor(clBtnFace);
      update();
    }
  }
}

// ---- grid -----------------------------------------------------------------------------------

int TKelCustomCalendar::MonthCols() const { return std::max(1, ClientRect().width() / MonthWidth()); }
int TKelCustomCalendar::MonthRows() const { return std::max(1, ClientRect().height() / MonthHeight()); }

TRect TKelCustomCalendar::MonthCellRect(int col, int row) const {
  return TRect{col * MonthWidth(), row * MonthHeight(), (col + 1) * MonthWidth(),
               (row + 1) * MonthHeight()};
}

TDateTime TKelCustomCalendar::GridStart(int col, int row) const {
  const TDateTime month = MonthOfCell(col, row);
  const TDateTime start = WeekStart(month);
  // Only a first month that begins on a week start shows a week of the month before, so that
  // the first cell always has days to scroll back by.
  if (start == month && month == startDate_) return start - 7;
  return start;
}

bool TKelCustomCalendar::CellOfDate(TDateTime date, int& col, int& row) const {
  date = DateOnly(date);
  int y = 0, m = 0, d = 0, sy = 0, sm = 0, sd = 0;
  DecodeDate(date, y, m, d);
  DecodeDate(startDate_, sy, sm, sd);
  const int count = MonthCount();
  int n = 12 * (y - sy) + (m - sm);
  if (n == -1 && date >= GridStart(0, 0)) n = 0;
  else if (n == count) {
    const int lastCol = MonthCols() - 1, lastRow = MonthRows() - 1;
    if (date < GridStart(lastCol, lastRow) + 42) n = count - 1;
  }
  if (n < 0 || n >= count) return false;
  col = n % MonthCols();
  row = n / MonthCols();
  return true;
}

TRect TKelCustomCalendar::DayRect(TDateTime date) const {
  int col = 0, row = 0;
  date = DateOnly(date);
  if (!CellOfDate(date, col, row)) return TRect{};
  const int i = static_cast<int>(date - GridStart(col, row));
  if (i < 0 || i >= 42) return TRect{};
  const int left = col * MonthWidth() + DayColumnsLeft() + (i % 7) * dayWidth_;
  const int top = row * MonthHeight() + headerHeight_ + dayNamesHeight_ + 2 + (i / 7) * dayHeight_;
  return TRect{left, top, left + dayWidth_, top + dayHeight_};
}

TRect TKelCustomCalendar::HeaderRect(int col, int row) const {
  const TRect cell = MonthCellRect(col, row);
  return TRect{cell.Left, cell.Top, cell.Right, cell.Top + headerHeight_};
}

TRect TKelCustomCalendar::PrevButtonRect() const {
  return TRect{0, 0, 3 * headerHeight_ / 2, headerHeight_};
}

TRect TKelCustomCalendar::NextButtonRect() const {
  const int right = MonthCols() * MonthWidth();
  return TRect{right - 3 * headerHeight_ / 2, 0, right, headerHeight_};
}

TKelCalendarHitTest TKelCustomCalendar::HitTest(int x, int y, TDateTime& date) const {
  const int col = x >= 0 ? x / MonthWidth() : -1;
  const int row = y >= 0 ? y / MonthHeight() : -1;
  if (x < 0 || y < 0 || x >= ClientRect().width() || y >= ClientRect().height() || col >= MonthCols() ||
      row >= MonthRows()) {
    date = cursorDate_;
    return htNowhere;
  }
  int dy = y % MonthHeight() - headerHeight_;
  if (dy < 0) {
    date = MonthOfCell(col, row);
    if (showNavButtons_ && row == 0) {
      if (PrevButtonRect().Contains(TPoint{x, y})) return htPrevButton;
      if (NextButtonRect().Contains(TPoint{x, y})) return htNextButton;
    }
    return htMonthHeader;
  }
  dy -= dayNamesHeight_ + 2;
  if (dy < 0) {
    date = MonthOfCell(col, row);
    return htDayNames;
  }
  const int weekRow = std::min(dy / dayHeight_, 5);
  const TDateTime gridStart = GridStart(col, row);
  const int dx = x % MonthWidth() - DayColumnsLeft();
  if (dx < 0 || dx >= 7 * dayWidth_) {
    date = gridStart + 7 * weekRow;
    return dx < 0 ? htWeekLeft : htWeekRight;
  }
  date = gridStart + 7 * weekRow + dx / dayWidth_;
  const TDateTime month = MonthOfCell(col, row);
  if (date < month) return col == 0 && row == 0 ? htLeadingDay : htHiddenDay;
  if (date > LastDayOfMonth(month))
    return col == MonthCols() - 1 && row == MonthRows() - 1 ? htTrailingDay : htHiddenDay;
  return htDay;
}

// ---- view -----------------------------------------------------------------------------------

void TKelCustomCalendar::SetStartDate(TDateTime value) {
  TDateTime start = FirstDayOfMonth(DateOnly(value));
  if (!IsLoading()) {
    if (maxDateLimit_) start = std::min(start, IncMonthSafe(FirstDayOfMonth(maxDate_), 1 - MonthCount()));
    if (minDateLimit_) start = std::max(start, FirstDayOfMonth(minDate_));
  }
  if (start == startDate_) return;
  startDate_ = start;
  update();
  ReportAccessible(this, TKelAccessibleChange::Structure);
}

bool TKelCustomCalendar::Scroll(int months) {
  const TDateTime before = startDate_;
  SetStartDate(IncMonthSafe(startDate_, months));
  return startDate_ != before;
}

void TKelCustomCalendar::Loaded() {
  SetStartDate(startDate_);
  ApplyLimitsToSelection();
}

// ---- limits ---------------------------------------------------------------------------------

bool TKelCustomCalendar::InsideLimits(TDateTime date) const {
  return !(minDateLimit_ && date < minDate_) && !(maxDateLimit_ && date > maxDate_);
}

TDateTime TKelCustomCalendar::ClampToLimits(TDateTime date) const {
  if (minDateLimit_ && date < minDate_) return minDate_;
  if (maxDateLimit_ && date > maxDate_) return maxDate_;
  return date;
}

void TKelCustomCalendar::SetMinDateLimit(bool value) {
  if (minDateLimit_ == value) return;
  minDateLimit_ = value;
  ApplyLimitsToSelection();
}

void TKelCustomCalendar::SetMinDate(TDateTime value) {
  value = DateOnly(value);
  if (minDate_ == value) return;
  minDate_ = value;
  ApplyLimitsToSelection();
}

void TKelCustomCalendar::SetMaxDateLimit(bool value) {
  if (maxDateLimit_ == value) return;
  maxDateLimit_ = value;
  ApplyLimitsToSelection();
}

void TKelCustomCalendar::SetMaxDate(TDateTime value) {
  value = DateOnly(value);
  if (maxDate_ == value) return;
  maxDate_ = value;
  ApplyLimitsToSelection();
}

// ---- display properties ---------------------------------------------------------------------

void TKelCustomCalendar::SetColor(TColor value) {
  if (color_ == value && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  colors_->CalendarColorChanged(value);
  update();
}

void TKelCustomCalendar::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (value) colors_->border_ = clBtnFace;
  update();
}

void TKelCustomCalendar::SetShowNavButtons(bool value) {
  if (showNavButtons_ == value) return;
  showNavButtons_ = value;
  const QPoint origin = ClientRect().topLeft();
  update(PrevButtonRect().ToQRect().translated(origin));
  update(NextButtonRect().ToQRect().translated(origin));
}

void TKelCustomCalendar::SetShowToday(bool value) {
  if (showToday_ == value) return;
  showToday_ = value;
  InvalidateDate(::Kel::Date());
}

void TKelCustomCalendar::SetFirstDayOfWeek(TKelFirstDayOfWeek value) {
  if (firstDayOfWeek_ == value) return;
  firstDayOfWeek_ = value;
  UpdateWeekMode();
  update();
}

void TKelCustomCalendar::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  UpdateFrame();
}

void TKelCustomCalendar::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  UpdateFrame();
}

void TKelCustomCalendar::SetBorderEdges(TBevelEdges value) {
  if (borderEdges_ == value) return;
  borderEdges_ = value;
  SnapToMonths();
  UpdateFrame();
}

void TKelCustomCalendar::GetCalendarFont(TFont& font) const {
  font.Assign(this->font());
  font.SetColor(clWindowText);
}

QString MonthYearText(TDateTime date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return QStringLiteral("%1 %2").arg(FormatSettings().LongMonthNames[month - 1]).arg(year);
}

QString TKelCustomCalendar::MonthTitle(TDateTime monthStart) const { return MonthYearText(monthStart); }

QString TKelCustomCalendar::DayName(int weekday) const {
  const QString& shortName = FormatSettings().ShortDayNames[weekday - 1];
  const QString& longName = FormatSettings().LongDayNames[weekday - 1];
  switch (weekDayNames_) {
    case wdlOne: return shortName.left(1);
    case wdlTwo: return shortName.left(2);
    case wdlThree: return longName.left(3);
    case wdlShort: return shortName;
    case wdlWhole: return longName;
  }
  return shortName;
}

// ---- TKelCalendar ---------------------------------------------------------------------------

TKelCalendar::TKelCalendar(QWidget* parent) : TKelCustomCalendar(parent) {}

bool TKelCalendar::IsPropertyStored(const char* name) const {
  const QByteArray property(name);
  if (property == "MinDate") return MinDateLimit();
  if (property == "MaxDate") return MaxDateLimit();
  if (property == "StartDate") return StartDate() != FirstDayOfMonth(::Kel::Date());
  return true;
}

}  // namespace Kel
