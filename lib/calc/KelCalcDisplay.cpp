#include "KelCalcDisplay.h"

#include <QEvent>
#include <QPainter>
#include <utility>

#include "Canvas.h"
#include "KelAccessibleReport.h"
#include "KelCalcConsts.h"
#include "KelDrawing.h"
#include "KelTranslate.h"

namespace Kel {

namespace {
// Space between the text and the right edge, as an edit keeps it.
constexpr int kTextMargin = 2;
}  // namespace

TKelCalcDisplay::TKelCalcDisplay(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(TranslateText(KelCalcText::CalcDisplay));
  resize(100, EditHeightForFont(font(), true));
  UpdateHeight();
}

void TKelCalcDisplay::SetText(const QString& value) {
  if (value == text_) return;
  const QString old = std::exchange(text_, value);
  update();
  ReportAccessible(this, TKelAccessibleChange::Value, old);
}

void TKelCalcDisplay::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  update();
}

void TKelCalcDisplay::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  update();
}

void TKelCalcDisplay::UpdateHeight() {
  const int height = EditHeightForFont(font(), true);
  setMinimumHeight(height);
  setMaximumHeight(height);
  if (this->height() != height) resize(width(), height);
}

void TKelCalcDisplay::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateHeight();
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) update();
}

void TKelCalcDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateHeight();
}

void TKelCalcDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas canvas(painter, this);
  canvas.Brush().Color = color_;
  canvas.FillRect(TRect::FromQRect(rect()));
  const TRect inner = DrawBorder(canvas, TRect::FromQRect(rect()), borderStyle_, true);
  QRect textRect = inner.ToQRect().adjusted(kTextMargin, 0, -kTextMargin, 0);
  painter.setClipRect(inner.ToQRect());
  painter.setFont(font());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
  // No accelerator processing: "&" is a character of the text like any other.
  painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

}  // namespace Kel
