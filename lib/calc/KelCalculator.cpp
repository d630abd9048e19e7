#include "KelCalculator.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "Canvas.h"
#include "FormatSettings.h"
#include "KelCalcConsts.h"
#include "KelAccessibleReport.h"
#include "KelCalcDisplay.h"
#include "KelDrawing.h"
#include "KelRegisterClasses.h"
#include "KelTranslate.h"
#include "MessageBeep.h"
#include "VirtualKeys.h"

namespace Kel {

namespace {

// Forms and panels that name the calculator or its display create them through the registry.
const bool calcClassesRegistered = [] {
  RegisterClassesOnce({&TKelCalculator::staticMetaObject, &TKelCalcDisplay::staticMetaObject});
  return true;
}();

// The caption colours. On a dark button face the pure red and blue would hardly be readable,
// so lighter tones of the same hues take their place there.
QColor CaptionColor(TKelCalcButtonKind kind, bool darkFace) {
  if (IsCalcRedButton(kind)) return darkFace ? QColor(255, 110, 110) : QColor(255, 0, 0);
  return darkFace ? QColor(120, 160, 255) : QColor(0, 0, 255);
}

}  // namespace

TKelCustomCalculator::TKelCustomCalculator(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(TranslateText(KelCalcText::Calculator));
  keyReleaseTimer_.setSingleShot(true);
  keyReleaseTimer_.setInterval(kKeyReleaseMs);
  connect(&keyReleaseTimer_, &QTimer::timeout, this, [this] { ReleaseKeyButton(); });
  engine_.OnTextChange = [this](const QString&) { PushTextToAssociate(); };
  engine_.OnMemoryChange = [this] {
    UpdateButton(ckMemClear);
    UpdateButton(ckMemRecall);
    // Both grey out while the memory holds 0.
    ReportAccessible(this, TKelAccessibleChange::State, int(ckMemClear));
    ReportAccessible(this, TKelAccessibleChange::State, int(ckMemRecall));
  };
  engine_.OnResult = [this] {
    if (OnResult) OnResult(this);
  };
  engine_.OnError = [this] {
    ErrorBeep();
    if (OnCalcError) OnCalcError(this);
  };
  engine_.OnRefused = [this] { ErrorBeep(); };
  UpdateLayout();
}

TKelCustomCalculator::~TKelCustomCalculator() {
  // The engine's handlers reach back into this half-destroyed widget.
  engine_.OnTextChange = nullptr;
  engine_.OnMemoryChange = nullptr;
}

void TKelCustomCalculator::Reset() {
  engine_.Execute(ckClear);
  engine_.SetValue(0);
}

void TKelCustomCalculator::SetPrecision(int value) { engine_.SetPrecision(value); }

void TKelCustomCalculator::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  UpdateLayout();
  update();
}

void TKelCustomCalculator::SetAssociate(QWidget* control) {
  associate_ = control;
  PushTextToAssociate();
}

void TKelCustomCalculator::PushTextToAssociate() {
  if (!associate_) return;
  const QString text = engine_.Text();
  if (associate_->metaObject()->indexOfProperty("Text") >= 0)
    associate_->setProperty("Text", text);
  else if (associate_->metaObject()->indexOfProperty("text") >= 0)
    associate_->setProperty("text", text);
}

void TKelCustomCalculator::ErrorBeep() const {
  if (beepOnError_) MessageBeep();
}

// --- layout

int TKelCustomCalculator::BorderWidth() const { return Kel::BorderWidth(borderStyle_, true); }

QSize TKelCustomCalculator::ClientSize() const {
  return QSize(3 * kMargin + 6 * buttonWidth_ + 4 * kSpacing,
               2 * kMargin + 5 * buttonHeight_ + 4 * kSpacing);
}

void TKelCustomCalculator::UpdateLayout() {
  const QFontMetrics metrics(font());
  buttonWidth_ = metrics.horizontalAdvance(QStringLiteral("00000"));
  buttonHeight_ = int(std::lround(1.8 * metrics.height()));
  const int border = 2 * BorderWidth();
  setFixedSize(ClientSize() + QSize(border, border));
}

TRect TKelCustomCalculator::ButtonRect(TKelCalcButtonKind kind) const {
  const TKelCalcCell cell = CalcButtonCell(kind);
  if (cell.Row < 0) return TRect{};
  if (cell.Row == 0) {
    // The three editing buttons share the width of the five columns at the right.
    const int w = (5 * buttonWidth_ + 4 * kSpacing) / 3 - kSpacing;
    const int left =
        ClientSize().width() + (cell.Col - 3) * w + (cell.Col - 2) * kSpacing - kMargin;
    return Bounds(left, kMargin, w, buttonHeight_);
  }
  const int top = cell.Row * (buttonHeight_ + kSpacing) + kMargin;
  // The memory column stands a full margin apart from the keypad.
  const int left =
      cell.Col == 0 ? kMargin : cell.Col * (buttonWidth_ + kSpacing) + 2 * kMargin - kSpacing;
  return Bounds(left, top, buttonWidth_, buttonHeight_);
}

TKelCalcButtonKind TKelCustomCalculator::ButtonAt(int x, int y) const {
  for (int k = ckBack; k <= ckEquals; ++k) {
    const auto kind = static_cast<TKelCalcButtonKind>(k);
    if (ButtonRect(kind).Contains(TPoint{x, y})) return kind;
  }
  return ckNone;
}

// --- buttons

bool TKelCustomCalculator::ButtonEnabled(TKelCalcButtonKind kind) const {
  return isEnabled() && engine_.ButtonEnabled(kind);
}

void TKelCustomCalculator::Click(TKelCalcButtonKind kind) {
  if (!ButtonEnabled(kind)) return;
  TKelCalcButtonKind handlerKind = kind;
  if (OnButtonClick) OnButtonClick(this, handlerKind);
  engine_.Execute(kind);
}

void TKelCustomCalculator::PressButton(TKelCalcButtonKind kind) { Click(kind); }

void TKelCustomCalculator::PressButtonByKey(TKelCalcButtonKind kind) {
  if (!ButtonEnabled(kind)) return;
  if (keyReleaseTimer_.isActive()) ReleaseKeyButton();
  ShowDown(kind, true);
  repaint();
  keyReleaseTimer_.start();
  Click(kind);
}

void TKelCustomCalculator::ReleaseKeyButton() {
  keyReleaseTimer_.stop();
  ShowDown(ckNone, false);
}

void TKelCustomCalculator::ShowDown(TKelCalcButtonKind kind, bool down) {
  const TKelCalcButtonKind previous = pressed_;
  pressed_ = kind;
  shownDown_ = down;
  UpdateButton(previous);
  UpdateButton(kind);
}

void TKelCustomCalculator::UpdateButton(TKelCalcButtonKind kind) {
  if (kind == ckNone) return;
  const int border = BorderWidth();
  update(ButtonRect(kind).ToQRect().translated(border, border));
}

TKelCalcButtonKind TKelCustomCalculator::ButtonOfKey(int virtualKey, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl);
  if (shift.Contains(ssAlt)) return ckNone;
  switch (virtualKey) {
    case VK_RETURN:
      return ctrl ? ckNone : ckEquals;
    case VK_ESCAPE:
      return ckClear;
    case VK_DELETE:
      return ckClearEntry;
    case VK_F9:
      return ckSign;
    case 'C':
      return ctrl ? ckNone : ckClear;
    case 'R':
      return ctrl ? ckMemRecall : ckRecip;
    case 'L':
      return ctrl ? ckMemClear : ckNone;
    case 'M':
      return ctrl ? ckMemStore : ckNone;
    case 'P':
      return ctrl ? ckMemAdd : ckNone;
    default:
      return ckNone;
  }
}

TKelCalcButtonKind TKelCustomCalculator::ButtonOfChar(QChar c) {
  if (c >= u'0' && c <= u'9') return CalcDigitButton(c.digitValue());
  if (c == FormatSettings().DecimalSeparator) return ckDecimal;
  switch (c.unicode()) {
    case 8:
      return ckBack;
    case '%':
      return ckPercent;
    case '*':
      return ckMul;
    case '+':
      return ckAdd;
    case '-':
      return ckSub;
    case '/':
      return ckDiv;
    case '=':
      return ckEquals;
    case '@':
      return ckSqrt;
    default:
      return ckNone;
  }
}

// --- input

void TKelCustomCalculator::keyPressEvent(QKeyEvent* event) {
  TKelCalcButtonKind kind = ButtonOfKey(VirtualKeyOf(*event), ShiftStateOf(*event));
  if (kind == ckNone && event->key() == Qt::Key_Backspace) kind = ckBack;
  if (kind == ckNone && !event->text().isEmpty() &&
      !event->modifiers().testFlag(Qt::ControlModifier))
    kind = ButtonOfChar(event->text().front());
  if (kind == ckNone) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  PressButtonByKey(kind);
}

void TKelCustomCalculator::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int border = BorderWidth();
  const TKelCalcButtonKind kind =
      ButtonAt(event->position().toPoint().x() - border, event->position().toPoint().y() - border);
  if (kind == ckNone || !ButtonEnabled(kind)) return;
  if (keyReleaseTimer_.isActive()) ReleaseKeyButton();
  mouseTracking_ = true;
  ShowDown(kind, true);
}

void TKelCustomCalculator::mouseMoveEvent(QMouseEvent* event) {
  if (!mouseTracking_) return;
  const int border = BorderWidth();
  const bool over = ButtonRect(pressed_).Contains(
      TPoint::FromQPoint(event->position().toPoint() - QPoint(border, border)));
  if (over != shownDown_) ShowDown(pressed_, over);
}

void TKelCustomCalculator::mouseReleaseEvent(QMouseEvent* event) {
  if (!mouseTracking_ || event->button() != Qt::LeftButton) return;
  mouseTracking_ = false;
  const TKelCalcButtonKind kind = pressed_;
  const bool over = shownDown_;
  ShowDown(ckNone, false);
  if (over) Click(kind);
}

void TKelCustomCalculator::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    UpdateLayout();
    update();
  } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) {
    update();
  }
}

// --- painting

void TKelCustomCalculator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas canvas(painter, this);
  TRect client = TRect::FromQRect(rect());
  if (borderStyle_ != bsNone) client = DrawBorder(canvas, client, borderStyle_, true);
  painter.fillRect(client.ToQRect(), palette().color(backgroundRole()));
  painter.translate(client.Left, client.Top);
  const bool darkFace = palette().color(QPalette::Button).lightness() < 128;
  for (int k = ckBack; k <= ckEquals; ++k)
    PaintButton(canvas, static_cast<TKelCalcButtonKind>(k), darkFace);
  // With the focus, the keys press the buttons: a frame inside the margin says so.
  if (hasFocus()) {
    const int inset = kMargin / 2;
    const QSize size = ClientSize();
    canvas.DrawFocusRect(TRect{inset, inset, size.width() - inset, size.height() - inset});
  }
}

void TKelCustomCalculator::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TKelCustomCalculator::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void TKelCustomCalculator::PaintButton(TCanvas& canvas, TKelCalcButtonKind kind, bool darkFace) {
  QPainter& painter = canvas.Painter();
  const TRect r = ButtonRect(kind);
  canvas.DrawButtonFace(r, pressed_ == kind && shownDown_, false);
  const QString caption = CalcButtonCaption(kind);
  const QRect text = r.ToQRect().translated(1, 1);
  painter.setFont(font());
  if (ButtonEnabled(kind)) {
    painter.setPen(CaptionColor(kind, darkFace));
    painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption);
  } else {
    // Engraved: a light copy one pixel right and down of the grey text.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text.translated(-1, -1), Qt::AlignCenter | Qt::TextSingleLine, caption);
  }
}

}  // namespace Kel
