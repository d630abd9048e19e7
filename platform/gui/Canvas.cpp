#include "Canvas.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace Kel {

namespace {

Qt::BrushStyle QtBrushStyle(TBrushStyle style) {
  switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

Qt::PenStyle QtPenStyle(TPenStyle style) {
  switch (style) {
    case psSolid:
    case psInsideFrame: return Qt::SolidLine;
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

// The two colours of each ring of a 3-D edge, by the kind bit of the ring.
struct TRingColors {
  TColor TopLeft;
  TColor BottomRight;
};

TRingColors RingColors(int kindBit) {
  switch (kindBit) {
    case ekRaisedOuter: return {cl3DLight, cl3DDkShadow};
    case ekSunkenOuter: return {clBtnShadow, clBtnHighlight};
    case ekRaisedInner: return {clBtnHighlight, clBtnShadow};
    default: return {cl3DDkShadow, cl3DLight};  // ekSunkenInner
  }
}

}  // namespace

TCanvas::TCanvas(QPainter& painter, const QWidget* widget)
    : painter_(&painter),
      widget_(widget),
      palette_(widget ? widget->palette() : QGuiApplication::palette()) {
  font_.Assign(widget ? widget->font() : QGuiApplication::font());
}

TCanvas::TCanvas(QPaintDevice* device, const QWidget* widget)
    : ownPainter_(std::make_unique<QPainter>(device)),
      painter_(ownPainter_.get()),
      widget_(widget),
      palette_(widget ? widget->palette() : QGuiApplication::palette()) {
  font_.Assign(widget ? widget->font() : QGuiApplication::font());
}

TCanvas::~TCanvas() = default;

QStyle* TCanvas::Style() const { return widget_ ? widget_->style() : QApplication::style(); }

QColor TCanvas::ToQColor(TColor color) const { return ColorToQColor(color, palette_); }

void TCanvas::ApplyFont() {
  if (appliedFont_ == font_.Revision()) return;
  painter_->setFont(font_.ToQFont());
  appliedFont_ = font_.Revision();
}

void TCanvas::ApplyPen() {
  if (pen_.Style == psClear) {
    painter_->setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(pen_.Color));
  pen.setWidth(std::max(pen_.Width, 1));
  pen.setStyle(QtPenStyle(pen_.Style));
  painter_->setPen(pen);
}

QColor TCanvas::FontColor() const { return ToQColor(font_.Color()); }

// --- shapes

void TCanvas::FillRect(const TRect& rect) {
  if (brush_.Style == bsClear || rect.IsEmpty()) return;
  painter_->fillRect(rect.ToQRect(), QBrush(ToQColor(brush_.Color), QtBrushStyle(brush_.Style)));
}

void TCanvas::FrameRect(const TRect& rect) {
  if (rect.IsEmpty()) return;
  const QColor color = ToQColor(brush_.Color);
  painter_->fillRect(QRect(rect.Left, rect.Top, rect.Width(), 1), color);
  painter_->fillRect(QRect(rect.Left, rect.Bottom - 1, rect.Width(), 1), color);
  painter_->fillRect(QRect(rect.Left, rect.Top, 1, rect.Height()), color);
  painter_->fillRect(QRect(rect.Right - 1, rect.Top, 1, rect.Height()), color);
}

void TCanvas::Rectangle(const TRect& rect) {
  FillRect(rect);
  if (pen_.Style == psClear || rect.IsEmpty()) return;
  const int width = std::max(pen_.Width, 1);
  if (pen_.Style == psSolid || pen_.Style == psInsideFrame) {
    // Solid outlines as filled strips: crisp at any device pixel ratio.
    const QColor color = ToQColor(pen_.Color);
    painter_->fillRect(QRect(rect.Left, rect.Top, rect.Width(), width), color);
    painter_->fillRect(QRect(rect.Left, rect.Bottom - width, rect.Width(), width), color);
    painter_->fillRect(QRect(rect.Left, rect.Top, width, rect.Height()), color);
    painter_->fillRect(QRect(rect.Right - width, rect.Top, width, rect.Height()), color);
    return;
  }
  ApplyPen();
  painter_->setBrush(Qt::NoBrush);
  painter_->drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
}

void TCanvas::MoveTo(int x, int y) { penPos_ = TPoint{x, y}; }

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (pen_.Style == psClear || (from.X == x && from.Y == y)) return;
  ApplyPen();
  // The end point is not part of the line: step back one pixel towards the start.
  const int endX = x - (x > from.X ? 1 : x < from.X ? -1 : 0);
  const int endY = y - (y > from.Y ? 1 : y < from.Y ? -1 : 0);
  painter_->drawLine(from.X, from.Y, endX, endY);
}

// --- text

QFontMetrics TCanvas::FontMetrics() {
  ApplyFont();
  return painter_->fontMetrics();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  const QFontMetrics metrics = FontMetrics();
  if (brush_.Style != bsClear)
    painter_->fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                       ToQColor(brush_.Color));
  painter_->setPen(FontColor());
  painter_->drawText(x, y + metrics.ascent(), text);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const QString& text) {
  if (rect.IsEmpty()) return;
  const QFontMetrics metrics = FontMetrics();
  TCanvasClipScope clip(*this);
  IntersectClipRect(rect);
  if (brush_.Style != bsClear) painter_->fillRect(rect.ToQRect(), ToQColor(brush_.Color));
  painter_->setPen(FontColor());
  painter_->drawText(x, y + metrics.ascent(), text);
}

int TCanvas::TextWidth(const QString& text) { return FontMetrics().horizontalAdvance(text); }

int TCanvas::TextHeight(const QString& text) { return FontMetrics().height(); }

QSize TCanvas::TextExtent(const QString& text) {
  const QFontMetrics metrics = FontMetrics();
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

// --- edges and frames

void TCanvas::Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  const QColor light = ToQColor(topLeft);
  const QColor dark = ToQColor(bottomRight);
  for (int ring = 0; ring < width && !rect.IsEmpty(); ++ring) {
    painter_->fillRect(QRect(rect.Left, rect.Top, rect.Width() - 1, 1), light);
    painter_->fillRect(QRect(rect.Left, rect.Top, 1, rect.Height() - 1), light);
    painter_->fillRect(QRect(rect.Right - 1, rect.Top, 1, rect.Height()), dark);
    painter_->fillRect(QRect(rect.Left, rect.Bottom - 1, rect.Width(), 1), dark);
    rect = rect.Inset(1, 1);
  }
}

void TCanvas::DrawEdge(const TRect& rect, int edgeKind, int borders) {
  TRect ring = rect;
  for (int ringMask : {ekRaisedOuter | ekSunkenOuter, ekRaisedInner | ekSunkenInner}) {
    int kind = edgeKind & ringMask;
    if (kind == 0 || ring.IsEmpty()) continue;
    if (kind == ringMask) kind &= ekRaisedOuter | ekRaisedInner;  // raised and sunken: raised
    const TRingColors colors = RingColors(kind);
    const QColor light = ToQColor(colors.TopLeft);
    const QColor dark = ToQColor(colors.BottomRight);
    if (borders & ebTop) painter_->fillRect(QRect(ring.Left, ring.Top, ring.Width(), 1), light);
    if (borders & ebLeft) painter_->fillRect(QRect(ring.Left, ring.Top, 1, ring.Height()), light);
    if (borders & ebRight)
      painter_->fillRect(QRect(ring.Right - 1, ring.Top, 1, ring.Height()), dark);
    if (borders & ebBottom)
      painter_->fillRect(QRect(ring.Left, ring.Bottom - 1, ring.Width(), 1), dark);
    ring = TRect{ring.Left + ((borders & ebLeft) ? 1 : 0), ring.Top + ((borders & ebTop) ? 1 : 0),
                 ring.Right - ((borders & ebRight) ? 1 : 0),
                 ring.Bottom - ((borders & ebBottom) ? 1 : 0)};
  }
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  QStyleOptionFocusRect option;
  option.rect = rect.ToQRect();
  option.palette = palette_;
  option.state = QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
  option.backgroundColor = palette_.color(QPalette::Base);
  Style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, painter_, widget_);
}

// --- glyphs

void TCanvas::DrawCheckBoxGlyph(const TRect& rect, TCheckBoxState state, bool enabled) {
  QStyleOptionButton option;
  option.rect = rect.ToQRect();
  option.palette = palette_;
  option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
  option.state |= state == cbChecked   ? QStyle::State_On
                  : state == cbGrayed ? QStyle::State_NoChange
                                      : QStyle::State_Off;
  Style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter_, widget_);
}

void TCanvas::DrawScrollArrow(const TRect& rect, TScrollArrow arrow, bool pressed, bool enabled) {
  DrawButtonFace(rect, pressed);
  QStyleOption option;
  option.rect = rect.Inset(rect.Width() / 4, rect.Height() / 4).ToQRect();
  if (pressed) option.rect.translate(1, 1);
  option.palette = palette_;
  option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
  static constexpr QStyle::PrimitiveElement kArrows[] = {
      QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowLeft,
      QStyle::PE_IndicatorArrowRight};
  Style()->drawPrimitive(kArrows[arrow], &option, painter_, widget_);
}

void TCanvas::DrawButtonFace(const TRect& rect, bool pressed, bool focused) {
  QStyleOptionButton option;
  option.rect = rect.ToQRect();
  option.palette = palette_;
  option.state = QStyle::State_Enabled | (pressed ? QStyle::State_Sunken : QStyle::State_Raised);
  if (focused) option.state |= QStyle::State_HasFocus;
  Style()->drawControl(QStyle::CE_PushButtonBevel, &option, painter_, widget_);
}

void TCanvas::DrawSizeGrip(const TRect& rect) {
  QStyleOptionSizeGrip option;
  option.rect = rect.ToQRect();
  option.palette = palette_;
  option.state = QStyle::State_Enabled;
  option.corner = Qt::BottomRightCorner;
  Style()->drawControl(QStyle::CE_SizeGrip, &option, painter_, widget_);
}

// --- clipping

bool TCanvas::HasClipping() const { return painter_->hasClipping(); }

TRect TCanvas::ClipRect() const {
  if (painter_->hasClipping()) return TRect::FromQRect(painter_->clipBoundingRect().toAlignedRect());
  const QPaintDevice* device = painter_->device();
  if (!device) return TRect{};
  const double ratio = device->devicePixelRatioF();
  return Rect(0, 0, static_cast<int>(device->width() / ratio),
              static_cast<int>(device->height() / ratio));
}

void TCanvas::IntersectClipRect(const TRect& rect) {
  painter_->setClipRect(rect.ToQRect(),
                        painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

TCanvasClipScope::TCanvasClipScope(TCanvas& canvas)
    : painter_(canvas.Painter()),
      hadClipping_(painter_.hasClipping()),
      region_(hadClipping_ ? painter_.clipRegion() : QRegion()) {}

TCanvasClipScope::~TCanvasClipScope() {
  if (hadClipping_)
    painter_.setClipRegion(region_);
  else
    painter_.setClipping(false);
}

}  // namespace Kel
