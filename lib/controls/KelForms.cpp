#include "KelForms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "Canvas.h"
#include "Forms.h"
#include "KelControlsConsts.h"
#include "KelDrawing.h"
#include "KelEventErrors.h"
#include "KelTranslate.h"
#include "VirtualKeys.h"

namespace Kel {

namespace {

bool& UseMainFormFontSwitch() {
  static bool use = true;
  return use;
}

constexpr int kThinFrame = 1;
constexpr int kSizingFrame = 4;

// The system colour that a widget's background role stands for, so that the popup keeps
// following the palette; a role without one gives its colour's value at this moment.
TColor BackgroundColorOf(const QWidget* widget) {
  switch (widget->backgroundRole()) {
    case QPalette::Base: return clWindow;
    case QPalette::Window:
    case QPalette::Button: return clBtnFace;
    case QPalette::ToolTipBase: return clInfoBk;
    case QPalette::Highlight: return clHighlight;
    default: return QColorToColor(widget->palette().color(widget->backgroundRole()));
  }
}

const QScreen* ScreenAt(const TRect& rect) {
  const QPoint center((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
  if (const QScreen* screen = QGuiApplication::screenAt(center)) return screen;
  return QGuiApplication::primaryScreen();
}

}  // namespace

bool UseMainFormFont() { return UseMainFormFontSwitch(); }

void SetUseMainFormFont(bool value) { UseMainFormFontSwitch() = value; }

void ApplyMainFormFont(QWidget* control) {
  QWidget* mainForm = ApplicationMainForm();
  if (UseMainFormFont() && control && mainForm && !control->testAttribute(Qt::WA_SetFont))
    control->setFont(mainForm->font());
}

TKelPopupForm::TKelPopupForm(QWidget* owner, int /*option*/)
    : QWidget(owner, Qt::Popup), layout_(new QVBoxLayout(this)) {
  layout_->setSpacing(0);
  layout_->setContentsMargins(0, 0, 0, 0);
  setAttribute(Qt::WA_WindowPropagation);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(TranslateText(KelControlsText::PopupWindow));
  UpdateMargins();
}

TKelPopupForm::~TKelPopupForm() {
  qApp->removeEventFilter(this);
}

// --- opening and closing

void TKelPopupForm::TakeLookOf(const QWidget* control, bool takeColor) {
  if (!control) return;
  setPalette(control->palette());
  setFont(control->font());
  SetColor(takeColor ? BackgroundColorOf(control) : clWindow);
}

void TKelPopupForm::PopupAtRect(QWidget* control, const TRect& rect,
                                TKelPopupClosedEvent callback) {
  callback_ = std::move(callback);
  ownerForm_ = ParentForm(control);
  TakeLookOf(control, false);
  BeforePopup();
  PlacePopup(RectToScreen(control, rect));
  ShowPopup();
}

void TKelPopupForm::PopupAtPoint(QWidget* control, TKelPopupClosedEvent callback, int x, int y) {
  callback_ = std::move(callback);
  ownerForm_ = ParentForm(control);
  TakeLookOf(control, true);
  BeforePopup();
  const QPoint corner = control ? control->mapToGlobal(QPoint(x, y)) : QPoint(x, y);
  SetBounds(corner.x(), corner.y(), width(), height());
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  ShowPopup();
}

void TKelPopupForm::ShowPopup() {
  show();
  raise();
  if (activeControl_)
    activeControl_->setFocus(Qt::PopupFocusReason);
  else
    setFocus(Qt::PopupFocusReason);
}

void TKelPopupForm::HidePopup() {
  if (!isVisible()) return;
  hide();
  if (ownerForm_ && ownerForm_->isVisible()) ownerForm_->activateWindow();
}

void TKelPopupForm::ClosePopup(bool canceled) {
  HidePopup();
  // The callback may reopen this popup with another callback, or free it later.
  const TKelPopupClosedEvent callback = callback_;
  if (callback) callback(this, canceled);
}

// --- placement

TRect TKelPopupForm::RectToScreen(const QWidget* control, const TRect& rect) {
  if (!control) return rect;
  const QPoint topLeft = control->mapToGlobal(QPoint(rect.Left, rect.Top));
  const QPoint bottomRight = control->mapToGlobal(QPoint(rect.Right, rect.Bottom));
  return TRect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

TPoint TKelPopupForm::PopupPosition(const TRect& screenRect, QSize size, const TRect& workArea) {
  int left = std::max(screenRect.Left, workArea.Left);
  if (left + size.width() > workArea.Right) left = workArea.Right - size.width();
  int top = screenRect.Bottom;
  if (screenRect.Bottom + size.height() > workArea.Bottom)
    top = screenRect.Top - size.height() + 1;
  return TPoint{left, top};
}

TRect TKelPopupForm::KeepOnScreen(const TRect& bounds, const TRect& screen) {
  int left = bounds.Left;
  int top = bounds.Top;
  if (left + bounds.Width() > screen.Right) left = screen.Right - bounds.Width();
  if (top + bounds.Height() > screen.Bottom) top = screen.Bottom - bounds.Height();
  left = std::max(left, screen.Left);
  top = std::max(top, screen.Top);
  return Bounds(left, top, bounds.Width(), bounds.Height());
}

TRect TKelPopupForm::WorkAreaFor(const TRect& screenRect) const {
  const QScreen* screen = ScreenAt(screenRect);
  return screen ? TRect::FromQRect(screen->availableGeometry()) : screenRect;
}

TRect TKelPopupForm::ScreenRectFor(const TRect& bounds) const {
  const QScreen* screen = ScreenAt(bounds);
  return screen ? TRect::FromQRect(screen->geometry()) : bounds;
}

void TKelPopupForm::PlacePopup(const TRect& screenRect) {
  const TPoint corner = PopupPosition(screenRect, size(), WorkAreaFor(screenRect));
  SetBounds(corner.X, corner.Y, width(), height());
}

void TKelPopupForm::SetBounds(int left, int top, int width, int height) {
  const TRect bounds = KeepOnScreen(Bounds(left, top, width, height),
                                    ScreenRectFor(Bounds(left, top, width, height)));
  setGeometry(bounds.ToQRect());
}

// --- appearance

void TKelPopupForm::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  update();
}

void TKelPopupForm::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  UpdateMargins();
}

void TKelPopupForm::SetBandHeight(int value) {
  if (value == bandHeight_) return;
  bandHeight_ = value;
  UpdateMargins();
}

void TKelPopupForm::SetBandOptions(TKelBandOptions value) {
  if (value == bandOptions_) return;
  bandOptions_ = value;
  UpdateMargins();
}

int TKelPopupForm::FrameWidth() const {
  return borderStyle_ == bsSizeable ? kSizingFrame : kThinFrame;
}

int TKelPopupForm::ScaledBandHeight() const {
  return bandOptions_.IsEmpty() ? 0 : ScaleByFont(bandHeight_, font());
}

void TKelPopupForm::UpdateMargins() {
  const int frame = FrameWidth();
  const QSize client = contentsRect().size();
  setContentsMargins(frame, frame, frame, frame + ScaledBandHeight());
  if (isVisible() || client.isValid()) SetClientSize(client);
  update();
}

void TKelPopupForm::SetClientControl(QWidget* control) {
  if (!control) return;
  layout_->addWidget(control);
  activeControl_ = control;
}

void TKelPopupForm::SetClientSize(QSize size) {
  const QMargins margins = contentsMargins();
  resize(size.width() + margins.left() + margins.right(),
         size.height() + margins.top() + margins.bottom());
}

void TKelPopupForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && !bandOptions_.IsEmpty()) UpdateMargins();
}

void TKelPopupForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  QSize adjusted = size();
  AdjustSizing(adjusted);
  if (adjusted != size()) resize(adjusted);
}

void TKelPopupForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas canvas(painter, this);
  const TRect whole = TRect::FromQRect(rect());
  canvas.Brush().Color = color_;
  canvas.FillRect(whole);
  const int frame = FrameWidth();
  if (frame > kThinFrame) {
    // The sizing frame in the button-face colour, a grip to hold.
    canvas.Brush().Color = clBtnFace;
    const TRect client = TRect::FromQRect(contentsRect());
    canvas.FillRect(TRect{whole.Left, whole.Top, whole.Right, client.Top});
    canvas.FillRect(TRect{whole.Left, client.Bottom, whole.Right, whole.Bottom});
    canvas.FillRect(TRect{whole.Left, client.Top, client.Left, client.Bottom});
    canvas.FillRect(TRect{client.Right, client.Top, whole.Right, client.Bottom});
  }
  const int band = ScaledBandHeight();
  if (band > 0) {
    const TRect bandRect{whole.Left + frame, whole.Bottom - frame - band, whole.Right - frame,
                         whole.Bottom - frame};
    canvas.Brush().Color = clBtnFace;
    canvas.FillRect(bandRect);
    canvas.DrawEdge(TRect{whole.Left, bandRect.Top, whole.Right, bandRect.Top + 2}, ekEtched,
                    ebTop | ebBottom);
    if (bandOptions_.Contains(boSizeGrip)) {
      const int grip = style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, this);
      canvas.DrawSizeGrip(TRect{bandRect.Right - grip, bandRect.Bottom - grip, bandRect.Right,
                                bandRect.Bottom});
    }
  }
  canvas.Brush().Color = QColorToColor(ShadowLineColor(canvas, frame > kThinFrame ? clBtnFace : color_));
  canvas.FrameRect(whole);
}

// --- keys

void TKelPopupForm::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  if ((key == VK_UP || key == VK_DOWN) && shift.Contains(ssAlt)) {
    key = 0;
    ClosePopup(true);
  } else if (key == VK_RETURN) {
    key = 0;
    ClosePopup(false);
  } else if (key == VK_ESCAPE) {
    key = 0;
    ClosePopup(true);
  }
}

void TKelPopupForm::KeyPress(QChar& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  if (key == QChar(13) || key == QChar(27)) key = QChar();
}

void TKelPopupForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Key preview: the popup sees the keys of its controls first.
  qApp->installEventFilter(this);
}

void TKelPopupForm::hideEvent(QHideEvent* event) {
  qApp->removeEventFilter(this);
  sizingEdges_ = {};
  QWidget::hideEvent(event);
}

bool TKelPopupForm::PreviewKey(QKeyEvent* event) {
  int key = VirtualKeyOf(*event);
  QPointer<TKelPopupForm> self(this);
  if (key != 0) {
    KeyDown(key, ShiftStateOf(*event));
    if (!self) return true;
    if (key == 0) return true;
  }
  const QString text = event->text();
  if (text.isEmpty()) return false;
  QChar ch = text.front();
  KeyPress(ch);
  return !self || ch.isNull();
}

// The popup's own events and the keys it previews for its controls run the close callback and
// with it the opener's change: what that raises goes to the event-error handler, never into
// Qt's event loop.
bool TKelPopupForm::event(QEvent* event) {
  return DispatchGuarded(this, [&] { return QWidget::event(event); });
}

bool TKelPopupForm::eventFilter(QObject* watched, QEvent* event) {
  return DispatchGuarded(this, [&] { return FilterEvent(watched, event); });
}

bool TKelPopupForm::FilterEvent(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !isVisible()) return false;
  // A key goes to the focused control first and travels up its parents when ignored: it is
  // previewed once, on its way to the first of them.
  QWidget* focus = QApplication::focusWidget();
  QWidget* first = focus && (focus == this || isAncestorOf(focus)) ? focus : this;
  if (watched != first) return false;
  const bool handled = PreviewKey(static_cast<QKeyEvent*>(event));
  if (handled) event->accept();
  return handled;
}

// --- user resizing

Qt::Edges TKelPopupForm::SizingEdgesAt(const QPoint& pos) const {
  Qt::Edges edges;
  const bool grip = bandOptions_.Contains(boSizeGrip);
  if (borderStyle_ != bsSizeable && !grip) return edges;
  const QRect client = contentsRect();
  if (borderStyle_ == bsSizeable) {
    if (pos.x() > client.right()) edges |= Qt::RightEdge;
    if (pos.y() > client.bottom() && pos.y() >= height() - FrameWidth()) edges |= Qt::BottomEdge;
  }
  if (grip) {
    const int size = style()->pixelMetric(QStyle::PM_SizeGripSize, nullptr, this);
    if (pos.x() >= width() - FrameWidth() - size && pos.y() >= height() - FrameWidth() - size)
      edges = Qt::RightEdge | Qt::BottomEdge;
  }
  return edges;
}

void TKelPopupForm::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const Qt::Edges edges = rect().contains(pos) ? SizingEdgesAt(pos) : Qt::Edges();
  if (event->button() == Qt::LeftButton && edges) {
    sizingEdges_ = edges;
    sizingStart_ = event->globalPosition().toPoint();
    sizingStartSize_ = size();
    event->accept();
    return;
  }
  // A click outside closes the popup (Qt's popup handling).
  QWidget::mousePressEvent(event);
}

void TKelPopupForm::mouseMoveEvent(QMouseEvent* event) {
  if (!sizingEdges_) {
    const Qt::Edges edges = SizingEdgesAt(event->position().toPoint());
    if (edges == (Qt::RightEdge | Qt::BottomEdge))
      setCursor(Qt::SizeFDiagCursor);
    else if (edges & Qt::RightEdge)
      setCursor(Qt::SizeHorCursor);
    else if (edges & Qt::BottomEdge)
      setCursor(Qt::SizeVerCursor);
    else
      unsetCursor();
    return;
  }
  const QPoint delta = event->globalPosition().toPoint() - sizingStart_;
  QSize size = sizingStartSize_;
  if (sizingEdges_ & Qt::RightEdge) size.setWidth(size.width() + delta.x());
  if (sizingEdges_ & Qt::BottomEdge) size.setHeight(size.height() + delta.y());
  size = size.expandedTo(minimumSizeHint().expandedTo(QSize(2 * FrameWidth() + 8, 2 * FrameWidth() + 8)));
  AdjustSizing(size);
  resize(size);
}

void TKelPopupForm::mouseReleaseEvent(QMouseEvent* event) {
  if (sizingEdges_ && event->button() == Qt::LeftButton) {
    sizingEdges_ = {};
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace Kel
