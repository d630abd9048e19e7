// TFont as a property object and TCanvas over a painter: what the controls' painting relies on
// (sizes and heights, one change per assignment, opaque text, edges in palette colours, clipping
// that comes back, lines without their end point).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "Canvas.h"
#include "Font.h"

namespace Kel {
namespace {

TEST(Font, SizeAndHeightAreOneValue) {
  TFont font;
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -12 * TFont::PixelsPerInch() / 72);
  EXPECT_EQ(font.Size(), 12);
  font.SetHeight(-20);
  EXPECT_EQ(font.ToQFont().pixelSize(), 20);
  font.SetStyle({fsBold, fsUnderline});
  const QFont qfont = font.ToQFont();
  EXPECT_TRUE(qfont.bold());
  EXPECT_TRUE(qfont.underline());
  EXPECT_FALSE(qfont.italic());
  // A positive height is the whole cell: the characters come out smaller, never larger.
  font.SetHeight(20);
  EXPECT_LE(font.ToQFont().pixelSize(), 20);
}

TEST(Font, ChangesAreReportedOncePerRealChange) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TFont*) { ++changes; };
  font.SetColor(font.Color());  // unchanged
  font.SetColor(clRed);
  EXPECT_EQ(changes, 1);
  TFont other;
  other.SetName("DejaVu Serif");
  other.SetHeight(-30);
  other.SetStyle({fsItalic});
  font.Assign(&other);
  EXPECT_EQ(changes, 2);  // four properties, one change
  EXPECT_TRUE(font.SameAs(other));
  font.Assign(&other);
  EXPECT_EQ(changes, 2);
}

QImage BlankImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

TEST(Canvas, SolidBrushFillsBehindTextClearBrushDoesNot) {
  QImage image = BlankImage(100, 40);
  {
    TCanvas canvas(&image);
    canvas.Brush().Color = clRed;
    canvas.Font().SetColor(clBlack);
    canvas.TextOut(2, 2, "W");
    canvas.Brush().Style = bsClear;
    canvas.TextOut(50, 2, "W");
  }
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));   // the cell's corner
  EXPECT_EQ(image.pixelColor(50, 2), QColor(Qt::white));
}

TEST(Canvas, TextRectStaysInsideItsRectangle) {
  QImage image = BlankImage(100, 40);
  {
    TCanvas canvas(&image);
    canvas.Brush().Color = clYellow;
    canvas.TextRect(Rect(10, 0, 20, 30), 10, 0, "WWWWWWWW");
  }
  EXPECT_EQ(image.pixelColor(15, 1), QColor(Qt::yellow));
  for (int x = 20; x < 100; ++x)
    for (int y = 0; y < 40; ++y) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST(Canvas, EdgesUseThePalettesBevelColours) {
  QWidget widget;
  QPalette palette;
  palette.setColor(QPalette::Light, QColor(250, 0, 0));
  palette.setColor(QPalette::Dark, QColor(0, 0, 250));
  palette.setColor(QPalette::Midlight, QColor(0, 250, 0));
  palette.setColor(QPalette::Shadow, QColor(10, 10, 10));
  widget.setPalette(palette);
  QImage image = BlankImage(20, 20);
  {
    TCanvas canvas(&image, &widget);
    canvas.DrawEdge(Rect(0, 0, 20, 20), ekSunken);
  }
  // Sunken: the outer ring dark above and light below, the inner ring shadow and mid-light.
  EXPECT_EQ(image.pixelColor(5, 0), QColor(0, 0, 250));
  EXPECT_EQ(image.pixelColor(5, 19), QColor(250, 0, 0));
  EXPECT_EQ(image.pixelColor(5, 1), QColor(10, 10, 10));
  EXPECT_EQ(image.pixelColor(5, 18), QColor(0, 250, 0));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}

TEST(Canvas, Frame3DShrinksTheRectangleByItsWidth) {
  QImage image = BlankImage(10, 10);
  TRect rect = Rect(0, 0, 10, 10);
  {
    TCanvas canvas(&image);
    canvas.Frame3D(rect, clWhite, clBlack, 2);
  }
  EXPECT_EQ(rect, Rect(2, 2, 8, 8));
  EXPECT_EQ(image.pixelColor(9, 0), QColor(Qt::black));  // the top right corner is dark
  EXPECT_EQ(image.pixelColor(0, 9), QColor(Qt::black));  // so is the bottom left one
  EXPECT_EQ(image.pixelColor(8, 8), QColor(Qt::black));  // the second ring
}

TEST(Canvas, LineToLeavesOutItsEndPointAndClipScopeRestores) {
  QImage image = BlankImage(20, 20);
  {
    TCanvas canvas(&image);
    canvas.Pen().Color = clBlack;
    canvas.MoveTo(0, 5);
    canvas.LineTo(10, 5);
    EXPECT_EQ(canvas.PenPos(), Point(10, 5));
    EXPECT_FALSE(canvas.HasClipping());
    {
      TCanvasClipScope scope(canvas);
      canvas.IntersectClipRect(Rect(0, 0, 5, 5));
      canvas.IntersectClipRect(Rect(2, 2, 10, 10));
      EXPECT_EQ(canvas.ClipRect(), Rect(2, 2, 5, 5));
    }
    EXPECT_FALSE(canvas.HasClipping());
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 20, 20));
  }
  EXPECT_EQ(image.pixelColor(9, 5), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(10, 5), QColor(Qt::white));
}

TEST(Canvas, CheckBoxGlyphsDifferByState) {
  QImage unchecked = BlankImage(20, 20), checked = BlankImage(20, 20), grayed = BlankImage(20, 20);
  {
    TCanvas a(&unchecked), b(&checked), c(&grayed);
    a.DrawCheckBoxGlyph(Rect(2, 2, 18, 18), cbUnchecked);
    b.DrawCheckBoxGlyph(Rect(2, 2, 18, 18), cbChecked);
    c.DrawCheckBoxGlyph(Rect(2, 2, 18, 18), cbGrayed);
  }
  EXPECT_NE(unchecked, BlankImage(20, 20));
  EXPECT_NE(unchecked, checked);
  EXPECT_NE(checked, grayed);
}

}  // namespace
}  // namespace Kel
