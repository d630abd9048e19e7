#include "KelCalPopup.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>
#include <QTimeEdit>
#include <algorithm>
#include <cmath>

#include "Buttons.h"
#include "Canvas.h"
#include "KelCaptionWidth.h"
#include "KelCalendarConsts.h"
#include "KelControls.h"
#include "KelUtils.h"

namespace Kel {

namespace {

constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 25;

}  // namespace

// ---- TKelMonthListBox -----------------------------------------------------------------------

TKelMonthListBox::TKelMonthListBox(QWidget* parent)
    : TListBox(parent), scrollTimer_(std::make_unique<QTimer>()) {
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(scrollTimer_.get(), &QTimer::timeout, this,
          [this] { RunEventHandler(this, [this] { ScrollTick(); }); });
  Refill();
}

int TKelMonthListBox::LineHeight() const { return QFontMetrics(font()).height() + 2; }

int TKelMonthListBox::NeededWidth() const {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (int month = 1; month <= 12; ++month)
    widest = std::max(widest, metrics.horizontalAdvance(QStringLiteral("XX") +
                                                        MonthYearText(EncodeDate(2000, month, 1)) +
                                                        QStringLiteral("XX")));
  return widest;
}

void TKelMonthListBox::SetMonthListBase(TDateTime value) {
  monthListBase_ = FirstDayOfMonth(DateOnly(value));
  Refill();
}

TDateTime TKelMonthListBox::MonthOfLine(int line) const {
  return TKelCustomCalendar::IncMonthSafe(monthListBase_, line - 3);
}

void TKelMonthListBox::Refill() {
  QStringList lines;
  for (int i = 0; i < LineCount; ++i) lines << MonthYearText(MonthOfLine(i));
  SetItems(lines);
  viewport()->update();
}

int TKelMonthListBox::IntervalOfStep(int step) {
  static constexpr int kIntervals[] = {500, 250, 100, 50};
  return kIntervals[std::clamp(std::abs(step), 1, 4) - 1];
}

void TKelMonthListBox::TrackPointer(const QPoint& point) {
  const int h = LineHeight();
  const int listHeight = viewport()->height();
  if (point.y() >= 0 && point.y() < listHeight) {
    SetScrollStep(0);
    const int line = std::clamp(point.y() / h, 0, LineCount - 1);
    const bool inside = point.x() >= 0 && point.x() < viewport()->width();
    const int wanted = inside ? line : -1;
    if (wanted != highlighted_) {
      highlighted_ = wanted;
      viewport()->update();
    }
    return;
  }
  if (highlighted_ != -1) {
    highlighted_ = -1;
    viewport()->update();
  }
  // The further from the list, the faster it scrolls; C++ division truncates towards zero.
  const int step = point.y() < 0 ? point.y() / h - 1 : (point.y() - listHeight) / h + 1;
  SetScrollStep(std::clamp(step, -4, 4));
}

void TKelMonthListBox::SetScrollStep(int step) {
  if (step == scrollStep_) return;
  scrollStep_ = step;
  if (step == 0) {
    scrollTimer_->stop();
    return;
  }
  scrollTimer_->start(IntervalOfStep(step));
}

void TKelMonthListBox::ScrollTick() {
  if (scrollStep_ == 0) return;
  SetMonthListBase(TKelCustomCalendar::IncMonthSafe(monthListBase_, scrollStep_ < 0 ? -1 : 1));
}

void TKelMonthListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  TCanvas canvas(painter, this);
  const int h = LineHeight();
  canvas.Font().Assign(font());
  for (int i = 0; i < LineCount; ++i) {
    const TRect rect{0, i * h, viewport()->width(), (i + 1) * h};
    const bool lit = i == highlighted_;
    canvas.Brush().Color = lit ? clWindowText : clWindow;
    canvas.Font().SetColor(lit ? clWindow : clWindowText);
    const QString text = MonthYearText(MonthOfLine(i));
    canvas.TextRect(rect, (rect.Width() - canvas.TextWidth(text)) / 2, rect.Top + 1, text);
  }
  const int bottom = LineCount * h;
  if (bottom < viewport()->height()) {
    canvas.Brush().Color = clWindow;
    canvas.FillRect(TRect{0, bottom, viewport()->width(), viewport()->height()});
  }
}

void TKelMonthListBox::mouseMoveEvent(QMouseEvent* event) {
  TrackPointer(event->position().toPoint());
}

// A release closes the popup, and its callback moves the calendar, whose handlers may raise.
bool TKelMonthListBox::event(QEvent* event) {
  return DispatchGuarded(this, [&] { return TListBox::event(event); });
}

// The mouse reaches a scroll area through its viewport.
bool TKelMonthListBox::viewportEvent(QEvent* event) {
  return DispatchGuarded(this, [&] { return TListBox::viewportEvent(event); });
}

void TKelMonthListBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TKelMonthListBox::mouseReleaseEvent(QMouseEvent* event) {
  SetScrollStep(0);
  if (event->button() != Qt::LeftButton) return;
  releaseMouse();
  if (auto* popup = qobject_cast<TKelPopupForm*>(window())) popup->ClosePopup(false);
}

// ---- TKelPopupMonthListBox ------------------------------------------------------------------

TKelPopupMonthListBox::TKelPopupMonthListBox(TKelCustomCalendar* calendar)
    : TKelPopupListBox(calendar), calendar_(calendar) {
  SetBorderStyle(bsNone);
  setAccessibleName(TranslateText(KelCalendarText::MonthList));
  ListBox()->setAccessibleName(accessibleName());
}

void TKelPopupMonthListBox::OpenFor(int col, int row) {
  col_ = col;
  row_ = row;
  TKelMonthListBox* list = MonthList();
  list->setFont(calendar_->font());
  list->SetBorderStyle(bsSingle);
  list->SetMonthListBase(calendar_->MonthOfCell(col, row));
  const int frame = 2 * list->frameWidth();
  const QSize size(list->NeededWidth() + frame,
                   TKelMonthListBox::LineCount * list->LineHeight() + frame);
  SetClientSize(size);
  const TRect header = calendar_->HeaderRect(col, row);
  const QPoint origin = calendar_->ClientRect().topLeft();
  const int x = origin.x() + header.Left + (header.Width() - width()) / 2;
  const int y = origin.y() + header.Top + (header.Height() - height()) / 2;
  QPointer<TKelPopupMonthListBox> self(this);
  PopupAtPoint(
      calendar_,
      [self](TKelPopupForm*, bool) {
        if (!self) return;
        self->ApplyChoice();
        self->deleteLater();
      },
      x, y);
}

void TKelPopupMonthListBox::ApplyChoice() {
  TKelMonthListBox* list = MonthList();
  list->ScrollTimer()->stop();
  list->releaseMouse();
  if (!calendar_ || list->Highlighted() < 0) return;
  const TDateTime month = list->MonthOfLine(list->Highlighted());
  calendar_->SetStartDate(
      TKelCustomCalendar::IncMonthSafe(month, -(row_ * calendar_->MonthCols() + col_)));
}

void TKelPopupMonthListBox::showEvent(QShowEvent* event) {
  TKelPopupListBox::showEvent(event);
  MonthList()->grabMouse();
}

TKelPopupMonthListBox* TKelCustomCalendar::MonthPopup() const {
  return static_cast<TKelPopupMonthListBox*>(monthPopup_.data());
}

void TKelPopupMonthListBox::hideEvent(QHideEvent* event) {
  // Hidden by a click elsewhere (no callback): the list must not keep the mouse.
  MonthList()->ScrollTimer()->stop();
  MonthList()->releaseMouse();
  TKelPopupListBox::hideEvent(event);
}

void TKelCustomCalendar::ShowMonthList(int col, int row) {
  if (showMonthPopup_ && col >= 0 && col < MonthCols() && row >= 0 && row < MonthRows())
    ShowMonthPopupFor(col, row);
}

void TKelCustomCalendar::ShowMonthPopupFor(int col, int row) {
  delete monthPopup_.data();
  auto* popup = new TKelPopupMonthListBox(this);
  monthPopup_ = popup;
  monthPopupCell_ = QPoint(col, row);
  popup->OpenFor(col, row);
}

// ---- TKelPopupCalendar ----------------------------------------------------------------------

TKelPopupCalendar::TKelPopupCalendar(QWidget* owner, int option) : TKelPopupForm(owner, option) {
  setAccessibleName(TranslateText(KelCalendarText::PopupCalendar));
  client_ = new QWidget(this);
  client_->installEventFilter(this);
  SetClientControl(client_);
  edit_ = new TEdit(client_);
  edit_->SetReadOnly(true);
  edit_->setFocusPolicy(Qt::NoFocus);
  edit_->setAccessibleName(TranslateText(KelCalendarText::ChosenDate));
  timeEdit_ = new QTimeEdit(client_);
  timeEdit_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  today_ = new TSpeedButton(client_);
  today_->SetCaption(TranslateText(QT_TRANSLATE_NOOP("Kel", "&Today")));
  today_->OnClick = [this](QObject*) { RunEventHandler(this, [this] { TodayClick(); }); };
  none_ = new TSpeedButton(client_);
  none_->SetCaption(TranslateText(QT_TRANSLATE_NOOP("Kel", "&None")));
  none_->OnClick = [this](QObject*) { RunEventHandler(this, [this] { NoneClick(); }); };
  dateLabel_ = new QLabel(TranslateText(QT_TRANSLATE_NOOP("Kel", "&Date:")), client_);
  timeLabel_ = new QLabel(TranslateText(QT_TRANSLATE_NOOP("Kel", "Tim&e:")), client_);
  timeLabel_->setBuddy(timeEdit_);
  bevel_ = new QFrame(client_);
  bevel_->setFrameShape(QFrame::HLine);
  bevel_->setFrameShadow(QFrame::Sunken);
  Calendar();
  dateLabel_->setBuddy(calendar_);
  LayoutByKind();
}

TKelPopupCalendar::~TKelPopupCalendar() = default;

std::unique_ptr<TKelCustomCalendar> TKelPopupCalendar::CreateCalendar() {
  return std::make_unique<TKelCalendar>();
}

TKelCustomCalendar* TKelPopupCalendar::Calendar() {
  if (calendar_) return calendar_;
  calendar_ = CreateCalendar().release();
  calendar_->setParent(client_);
  calendar_->SetMultiSelect(false);
  calendar_->SetBorderEdges(TBevelEdges{});
  calendar_->Colors()->SetBorder(calendar_->Color());
  calendar_->SetParentColor(true);
  calendar_->OnDateChanged = [this](QObject*) { UpdateEdit(); };
  calendar_->OnMouseUp = [this](TKelCustomCalendar* c, TMouseButton button, TShiftState, int x,
                                int y) {
    if (button != mbLeft) return;
    TDateTime date = 0;
    const TKelCalendarHitTest area = c->HitTest(x, y, date);
    if (area == htDay || area == htLeadingDay || area == htTrailingDay) ClosePopup(false);
  };
  SetActiveControl(calendar_);
  UpdateEdit();
  return calendar_;
}

void TKelPopupCalendar::UpdateEdit() {
  edit_->SetText(calendar_ && calendar_->SelCount() > 0 ? DateToStrY2k(calendar_->SelStart())
                                                        : QString());
}

void TKelPopupCalendar::SetPopupKind(TKelCalendarPopupKind value) {
  if (popupKind_ == value) return;
  popupKind_ = value;
  LayoutByKind();
}

void TKelPopupCalendar::SetTodayButton(bool value) {
  if (todayButton_ == value) return;
  todayButton_ = value;
  LayoutByKind();
}

void TKelPopupCalendar::SetNoneButton(bool value) {
  if (noneButton_ == value) return;
  noneButton_ = value;
  LayoutByKind();
}

TDateTime TKelPopupCalendar::PopupDate() const { return DateOnly(calendar_->SelStart()); }

void TKelPopupCalendar::SetPopupDate(TDateTime value) {
  calendar_->ClearSelection();
  calendar_->SetSelStart(DateOnly(value));
}

TDateTime TKelPopupCalendar::PopupTime() const {
  return timeEdit_->time().msecsSinceStartOfDay() / 86400000.0;
}

void TKelPopupCalendar::SetPopupTime(TDateTime value) {
  const auto msecs = static_cast<int>(std::llround(TimeOnly(value) * 86400000.0)) % 86400000;
  timeEdit_->setTime(QTime::fromMSecsSinceStartOfDay(msecs));
}

void TKelPopupCalendar::SetPopupDateTime(TDateTime value) {
  SetPopupDate(value);
  SetPopupTime(value);
}

bool TKelPopupCalendar::ButtonsVisible() const {
  return popupKind_ != cpkTime && (todayButton_ || noneButton_);
}

int TKelPopupCalendar::LabelWidth() const {
  return std::max(dateLabel_->sizeHint().width(), timeLabel_->sizeHint().width());
}

int TKelPopupCalendar::ButtonBlock() const { return ButtonsVisible() ? kButtonHeight + 15 : 0; }

void TKelPopupCalendar::LayoutByKind() {
  const bool date = popupKind_ != cpkTime;
  const bool dateTime = popupKind_ == cpkDateTime;
  edit_->setVisible(date);
  calendar_->setVisible(date);
  timeEdit_->setVisible(popupKind_ != cpkDate);
  dateLabel_->setVisible(dateTime);
  timeLabel_->setVisible(dateTime);
  today_->setVisible(date && todayButton_);
  none_->setVisible(date && noneButton_);
  bevel_->setVisible(popupKind_ == cpkDate && ButtonsVisible());
  SetBorderStyle(date ? bsSizeable : bsSingle);
  const int calendarWidth = calendar_->MonthWidth() + 2 * calendar_->FrameWidth();
  const int calendarHeight = calendar_->MonthHeight() + 2 * calendar_->FrameWidth();
  const int editHeight = edit_->sizeHint().height();
  const int pickerHeight = timeEdit_->sizeHint().height();
  QSize client;
  switch (popupKind_) {
    case cpkDate:
      client = QSize(calendarWidth + 10, editHeight + calendarHeight + 4 + ButtonBlock());
      break;
    case cpkTime:
      // The time editor stands with 2 pixels to spare on every side.
      client = QSize(calendarWidth - 4, pickerHeight + 4);
      break;
    case cpkDateTime:
      client = QSize(timeLabel_->sizeHint().width() + calendarWidth + 15,
                     editHeight + pickerHeight + calendarHeight + 8 + ButtonBlock());
      break;
  }
  client_->setMinimumSize(0, 0);
  SetClientSize(client);
  PlaceParts();
}

void TKelPopupCalendar::PlaceParts() {
  const int w = client_->width(), h = client_->height();
  if (popupKind_ == cpkTime) {
    timeEdit_->setGeometry(2, 2, std::max(0, w - 4), std::max(0, h - 4));
    return;
  }
  const bool dateTime = popupKind_ == cpkDateTime;
  const int labelWidth = LabelWidth();
  const int x = dateTime ? labelWidth + 10 : 5;
  const int editHeight = edit_->sizeHint().height();
  const int pickerHeight = timeEdit_->sizeHint().height();
  edit_->setGeometry(x, 2, calendar_->MonthWidth() + 2, editHeight);
  dateLabel_->setGeometry(5, 2 + (editHeight - dateLabel_->sizeHint().height()) / 2, labelWidth,
                          dateLabel_->sizeHint().height());
  const int calendarTop = 2 + editHeight + 2;
  const int calendarHeight = h - editHeight - 4 - ButtonBlock() - (dateTime ? pickerHeight + 4 : 0);
  calendar_->setGeometry(x, calendarTop, std::max(0, w - x), std::max(0, calendarHeight));
  // The buttons and the bevel line up with the calendar's day columns.
  const int columnsLeft = x + calendar_->ClientRect().left() + calendar_->DayColumnsLeft();
  const int columnsWidth = 7 * calendar_->DayWidth();
  const int buttonTop = h - 5 - kButtonHeight;
  const bool both = todayButton_ && noneButton_;
  // A translated caption longer than the English one widens both buttons alike.
  int buttonWidth = kButtonWidth;
  for (TSpeedButton* button : {today_, none_})
    buttonWidth = std::max(buttonWidth, CaptionFitWidth(button, button->text()));
  const int buttonsWidth = both ? 2 * buttonWidth + 5 : buttonWidth;
  int buttonLeft = std::max(2, columnsLeft + (columnsWidth - buttonsWidth) / 2);
  for (TSpeedButton* button : {today_, none_}) {
    if (!(button == today_ ? todayButton_ : noneButton_)) continue;
    button->setGeometry(buttonLeft, buttonTop, buttonWidth, kButtonHeight);
    buttonLeft += buttonWidth + 5;
  }
  bevel_->setGeometry(columnsLeft, buttonTop - 7 - 2, columnsWidth, 2);
  if (dateTime) {
    const int pickerTop = (ButtonsVisible() ? buttonTop - 10 : h) - pickerHeight - 2;
    timeEdit_->setGeometry(x, pickerTop, calendar_->MonthWidth() + 2, pickerHeight);
    timeLabel_->setGeometry(5, pickerTop + (pickerHeight - timeLabel_->sizeHint().height()) / 2,
                            labelWidth, timeLabel_->sizeHint().height());
  }
}

void TKelPopupCalendar::AdjustSizing(QSize& size) {
  if (!integralSize_ || popupKind_ == cpkTime) return;
  const QMargins margins = contentsMargins();
  const int frameWidth = margins.left() + margins.right();
  const int frameHeight = margins.top() + margins.bottom();
  const int monthWidth = calendar_->MonthWidth(), monthHeight = calendar_->MonthHeight();
  const int calendarFrame = 2 * calendar_->FrameWidth();
  const bool dateTime = popupKind_ == cpkDateTime;
  const int fixedWidth = frameWidth + calendarFrame + (dateTime ? LabelWidth() + 15 : 10);
  const int k = std::max(1, (size.width() + monthWidth / 2 - fixedWidth) / monthWidth);
  size.setWidth(fixedWidth + k * monthWidth);
  const int editHeight = edit_->sizeHint().height();
  const int fixedHeight = frameHeight + editHeight +
                          (dateTime ? timeEdit_->sizeHint().height() + 8 : 4) + ButtonBlock();
  const int n = (size.height() + monthHeight / 2 - fixedHeight - calendarFrame) / monthHeight;
  size.setHeight(n <= 0 ? fixedHeight : fixedHeight + n * monthHeight + calendarFrame);
}

void TKelPopupCalendar::BeforePopup() {
  TKelPopupForm::BeforePopup();
  calendar_->SetParentColor(false);
  SetColor(clBtnFace);
  PlaceParts();
}

bool TKelPopupCalendar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_) {
    switch (event->type()) {
      case QEvent::Resize:
        PlaceParts();
        break;
      case QEvent::MouseButtonPress: {
        // A press on an empty part moves the window, as a caption would.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
          dragging_ = true;
          dragStart_ = mouse->globalPosition().toPoint() - pos();
          return true;
        }
        break;
      }
      case QEvent::MouseMove:
        if (dragging_) {
          move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragStart_);
          return true;
        }
        break;
      case QEvent::MouseButtonRelease:
        dragging_ = false;
        break;
      default:
        break;
    }
  }
  return TKelPopupForm::eventFilter(watched, event);
}

void TKelPopupCalendar::TodayClick() {
  calendar_->ClearSelection();
  calendar_->SetDate(::Kel::Date());
  ClosePopup(false);
}

void TKelPopupCalendar::NoneClick() {
  calendar_->ClearSelection();
  ClosePopup(true);
}

}  // namespace Kel
