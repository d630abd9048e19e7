#pragma once
// TCanvas: the classic drawing surface over a QPainter. It keeps a font, a brush and a pen the
// classic way (change Font().Style, Brush().Color ... and the next call uses them) and draws
// what the library's controls need: filled and framed rectangles, lines, text (clipped, with an
// opaque background when the brush is solid), 3-D edges, focus rectangles, and the glyphs of
// check boxes, scroll arrows, push buttons and size grips through the current QStyle, so that
// they look native on every style.
//
// Colours are TColors: system colours are resolved through the palette of the widget given at
// construction (or the application's), at the moment of drawing. Coordinates are logical
// pixels; on a device with a device pixel ratio of 2 everything is drawn at double resolution.
// Rectangles are TRects (Right and Bottom exclusive).
//
// A canvas made on a widget in its paintEvent takes the widget's font (window-text colour),
// a solid brush in clWindow and a pen in clWindowText.

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

#include "Color.h"
#include "Font.h"
#include "GuiTypes.h"
#include "PlatformExport.h"
#include "Rect.h"

class QStyle;
class QWidget;

namespace Kel {

struct TBrush {
  TColor Color = clWindow;
  TBrushStyle Style = bsSolid;
};

struct TPen {
  TColor Color = clWindowText;
  int Width = 1;
  TPenStyle Style = psSolid;
};

// The borders of an edge that DrawEdge draws, and the kind of edge.
enum TEdgeBorder { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8, ebRect = 15 };
enum TEdgeKind {
  ekRaisedOuter = 1,
  ekSunkenOuter = 2,
  ekRaisedInner = 4,
  ekSunkenInner = 8,
  ekRaised = ekRaisedOuter | ekRaisedInner,  // a raised button face
  ekSunken = ekSunkenOuter | ekSunkenInner,  // a sunken well
  ekEtched = ekSunkenOuter | ekRaisedInner,  // an engraved line
  ekBump = ekRaisedOuter | ekSunkenInner,    // an embossed line
};

enum TScrollArrow { saUp, saDown, saLeft, saRight };

class KEL_PLATFORM_EXPORT TCanvas {
 public:
  // Draws through painter, which must be active while the canvas is used. widget (may be null)
  // gives the palette, the style and the font.
  explicit TCanvas(QPainter& painter, const QWidget* widget = nullptr);
  // Draws on device through a painter of its own, ended with the canvas.
  explicit TCanvas(QPaintDevice* device, const QWidget* widget = nullptr);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  QPainter& Painter() { return *painter_; }
  const QWidget* Widget() const { return widget_; }
  const QPalette& Palette() const { return palette_; }
  QStyle* Style() const;
  // A TColor as it paints on this canvas (system colours through the palette).
  QColor ToQColor(TColor color) const;

  // --- shapes
  // Fills with the brush (nothing with a clear brush).
  void FillRect(const TRect& rect);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& rect);
  // An outline with the pen, filled with the brush.
  void Rectangle(const TRect& rect);
  void MoveTo(int x, int y);
  // A line with the pen from the pen position to (x, y), that point itself excluded.
  void LineTo(int x, int y);
  TPoint PenPos() const { return penPos_; }

  // --- text (y is the top of the text cell, not the baseline)
  // Text at (x, y) in the font; a solid brush fills the cell behind it first.
  void TextOut(int x, int y, const QString& text);
  // Text at (x, y), clipped to rect; a solid brush fills all of rect first.
  void TextRect(const TRect& rect, int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  QSize TextExtent(const QString& text);
  QFontMetrics FontMetrics();

  // --- edges and frames
  // Shrinks rect by width, drawing each ring with topLeft on the left and top, bottomRight on
  // the right and bottom.
  void Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width);
  // A 3-D edge of one or two pixel rings (outer and inner) on the given borders.
  void DrawEdge(const TRect& rect, int edgeKind, int borders = ebRect);
  // The style's focus indication around rect.
  void DrawFocusRect(const TRect& rect);

  // --- glyphs drawn by the current style
  void DrawCheckBoxGlyph(const TRect& rect, TCheckBoxState state, bool enabled = true);
  void DrawScrollArrow(const TRect& rect, TScrollArrow arrow, bool pressed = false,
                       bool enabled = true);
  void DrawButtonFace(const TRect& rect, bool pressed = false, bool focused = false);
  void DrawSizeGrip(const TRect& rect);

  // --- clipping
  bool HasClipping() const;
  TRect ClipRect() const;  // the clip's bounding rectangle (the device's rectangle without one)
  // Narrows the clipping to its intersection with rect.
  void IntersectClipRect(const TRect& rect);

 private:
  void ApplyFont();
  void ApplyPen();
  QColor FontColor() const;

  std::unique_ptr<QPainter> ownPainter_;
  QPainter* painter_;
  const QWidget* widget_;
  QPalette palette_;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  TPoint penPos_;
  std::optional<quint64> appliedFont_;
};

// Keeps a canvas's clipping and restores it (or the absence of one) when it goes.
class KEL_PLATFORM_EXPORT TCanvasClipScope {
 public:
  explicit TCanvasClipScope(TCanvas& canvas);
  ~TCanvasClipScope();
  TCanvasClipScope(const TCanvasClipScope&) = delete;
  TCanvasClipScope& operator=(const TCanvasClipScope&) = delete;

 private:
  QPainter& painter_;
  bool hadClipping_;
  QRegion region_;
};

}  // namespace Kel
