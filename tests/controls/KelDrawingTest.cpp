// Drawing helpers: colour tags, markup text drawn and measured (the measured width is the drawn
// width; tags change style and colour, other "<" stay text), character positions, check boxes,
// edit heights and text pieces.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>

#include "KelDrawing.h"

namespace Kel {
namespace {

TEST(KelColorTag, NamedColoursLoseTheirPrefixOthersAreHexadecimal) {
  EXPECT_EQ(ColorTag(clRed), "<c:Red>");
  EXPECT_EQ(ColorTag(clNavy), "<c:Navy>");
  EXPECT_EQ(ColorTag(clWindowText), "<c:WindowText>");
  EXPECT_EQ(ColorTag(0x00123456), "<c:$00123456>");
}

TEST(KelColorTag, TagNamesReadBack) {
  for (TColor color : {clRed, clNavy, clWindow, clHighlightText, TColor(0x00123456)}) {
    const QString tag = ColorTag(color);
    TColor back = clBlack;
    ASSERT_TRUE(ColorOfTagName(tag.mid(3, tag.size() - 4), back)) << tag.toStdString();
    EXPECT_EQ(back, color);
  }
  TColor color = clLime;
  EXPECT_TRUE(ColorOfTagName("$0000FF", color));
  EXPECT_EQ(color, clRed);
  EXPECT_TRUE(ColorOfTagName("navy", color));
  EXPECT_EQ(color, clNavy);
  // Neither a bare number nor an unknown or empty name is a colour.
  EXPECT_FALSE(ColorOfTagName("255", color));
  EXPECT_FALSE(ColorOfTagName("NoSuchColour", color));
  EXPECT_FALSE(ColorOfTagName("", color));
  EXPECT_EQ(color, clNavy);
}

class KelMarkupTest : public ::testing::Test {
 protected:
  KelMarkupTest() : image_(300, 40, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::white);
    canvas_ = std::make_unique<TCanvas>(&image_);
    canvas_->Font().SetHeight(-20);
    canvas_->Font().SetColor(clBlack);
  }
  int Draw(const QString& text, QString& plain, TBrushStyle brush = bsSolid) {
    canvas_->Brush() = TBrush{clYellow, brush};
    int width = 0;
    DrawMarkupText(*canvas_, Rect(10, 5, 290, 35), text, false, width, plain);
    return width;
  }
  int Measure(const QString& text) {
    int width = 0;
    QString plain;
    DrawMarkupText(*canvas_, Rect(10, 5, 290, 35), text, true, width, plain);
    return width;
  }
  // Whether a pixel of exactly this colour lies in columns [left, right).
  bool HasColorBetween(int left, int right, QColor color) {
    canvas_.reset();  // finish painting
    for (int x = left; x < right; ++x)
      for (int y = 0; y < image_.height(); ++y)
        if (image_.pixelColor(x, y) == color) return true;
    return false;
  }

  QImage image_;
  std::unique_ptr<TCanvas> canvas_;
};

TEST_F(KelMarkupTest, StyleTagsChangeTheFontAndDrawnWidthIsMeasuredWidth) {
  QString plain;
  const int measured = Measure("a<b>b</b>c");
  const int drawn = Draw("a<b>b</b>c", plain);
  EXPECT_EQ(plain, "abc");
  EXPECT_EQ(drawn, measured);
  TFont bold;
  bold.Assign(&canvas_->Font());
  bold.SetStyle({fsBold});
  const int expected = 2 + canvas_->TextWidth("a") + TextWidthOf("b", bold) + canvas_->TextWidth("c");
  EXPECT_EQ(drawn, expected);
  EXPECT_TRUE(canvas_->Font().Style().IsEmpty());  // restored
  // The solid brush covers exactly the measured width, margin included, and nothing more.
  canvas_.reset();
  EXPECT_EQ(image_.pixelColor(10, 5), QColor(Qt::yellow));
  EXPECT_EQ(image_.pixelColor(10 + drawn - 1, 5), QColor(Qt::yellow));
  EXPECT_EQ(image_.pixelColor(10 + drawn, 5), QColor(Qt::white));
}

TEST_F(KelMarkupTest, OtherAngleBracketsAreText) {
  QString plain;
  Draw("x < y", plain);
  EXPECT_EQ(plain, "x < y");
  Draw("<x><b <>", plain);
  EXPECT_EQ(plain, "<x><b <>");
  Draw("<U>under</U><I>it</i>", plain);
  EXPECT_EQ(plain, "underit");
  EXPECT_EQ(Measure("<u>x</u> < y"), Measure("x < y"));
}

TEST_F(KelMarkupTest, ColourTagsColourTheRunsThatFollow) {
  QString plain;
  const int navyEnd = 10 + 2 + canvas_->TextWidth("A");
  const int width = Draw("<c:Navy>A<C:$0000FF>B", plain, bsClear);
  EXPECT_EQ(plain, "AB");
  EXPECT_EQ(canvas_->Font().Color(), clBlack);
  EXPECT_TRUE(HasColorBetween(10, navyEnd, QColor(0, 0, 128)));
  EXPECT_TRUE(HasColorBetween(navyEnd, 10 + width, QColor(255, 0, 0)));
  EXPECT_FALSE(HasColorBetween(navyEnd, 10 + width, QColor(0, 0, 128)));
}

TEST_F(KelMarkupTest, AnUnknownColourKeepsThePreviousOne) {
  QString plain;
  const int width = Draw("<c:Red>x<c:NoSuchColour>A<c:unclosed", plain, bsClear);
  EXPECT_EQ(plain, "xA");
  const int aStart = 10 + 2 + canvas_->TextWidth("x");
  EXPECT_TRUE(HasColorBetween(aStart, 10 + width, QColor(255, 0, 0)));
}

TEST(KelMeasuring, CharIndexAtX) {
  QFont font;
  font.setPixelSize(20);
  const QString text = "Wide";
  const int first = TextWidthOf("W", font);
  EXPECT_EQ(CharIndexAtX(text, font, -1), 0);
  EXPECT_EQ(CharIndexAtX(text, font, 0), 1);
  EXPECT_EQ(CharIndexAtX(text, font, first), 1);  // on the boundary: the smaller index
  EXPECT_EQ(CharIndexAtX(text, font, first + 1), 2);
  EXPECT_EQ(CharIndexAtX(text, font, TextWidthOf(text, font)), 4);
  EXPECT_EQ(CharIndexAtX(text, font, TextWidthOf(text, font) + 1), 0);
  EXPECT_EQ(CharIndexAtX("", font, 0), 0);
  EXPECT_GT(TextHeightOf(font), 20);
}

TEST(KelCheckBox, FlatAndNormalBoxesFillTheirWholeRectangle) {
  const QColor background(1, 2, 3);
  QImage flat(40, 30, QImage::Format_ARGB32_Premultiplied), normal = flat;
  flat.fill(Qt::magenta);
  normal.fill(Qt::magenta);
  const TRect cell = Rect(0, 0, 40, 30);
  for (auto [image, isFlat] : {std::pair{&flat, true}, std::pair{&normal, false}}) {
    TCanvas canvas(image);
    canvas.Brush().Color = QColorToColor(background);
    DrawCheckBox(canvas, cell, cbChecked, isFlat);
    EXPECT_EQ(canvas.Brush().Style, bsSolid);  // the brush and pen come back
    EXPECT_EQ(canvas.Pen().Color, clWindowText);
  }
  for (const QImage* image : {&flat, &normal})
    for (int x = 0; x < 40; ++x)
      for (int y = 0; y < 30; ++y) ASSERT_NE(image->pixelColor(x, y), QColor(Qt::magenta)) << x << "," << y;
  // The flat box is framed in the button-shadow colour one pixel inside the glyph's box.
  const int left = (40 - CheckGlyphWidth()) / 2;
  const int top = (30 - CheckGlyphHeight()) / 2;
  EXPECT_EQ(flat.pixelColor(left + 1, top + 1).rgb(), ColorToQColor(clBtnShadow).rgb());
  // On a background as dark as the shadow, the frame is a grey that stands out.
  QImage dark(40, 30, QImage::Format_ARGB32_Premultiplied);
  {
    TCanvas canvas(&dark);
    canvas.Brush().Color = ColorToRGB(clBtnShadow);
    DrawCheckBox(canvas, cell, cbUnchecked, true);
  }
  EXPECT_GE(std::abs(dark.pixelColor(left + 1, top + 1).lightness() -
                     ColorToQColor(clBtnShadow).lightness()), 48);
  EXPECT_EQ(flat.pixelColor(left, top), background);
  EXPECT_NE(flat, normal);
  EXPECT_EQ(BoolToCheckState(true), cbChecked);
  EXPECT_EQ(BoolToCheckState(false), cbUnchecked);
}

TEST(KelCheckBox, FillAroundSparesTheGrownInnerRectangle) {
  QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    canvas.Brush().Color = clBlack;
    FillAround(canvas, Rect(0, 0, 20, 20), Rect(5, 5, 10, 10));
  }
  EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::white));    // inner grown by one
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(11, 11), QColor(Qt::black));
}

TEST(KelEditHeight, MatchesQtsOwnLineEdit) {
  QFont font;
  font.setPixelSize(23);
  QLineEdit edit;
  edit.setFont(font);
  EXPECT_EQ(EditHeightForFont(font, true), edit.sizeHint().height());
  edit.setFrame(false);
  EXPECT_EQ(EditHeightForFont(font, false), edit.sizeHint().height());
  EXPECT_LT(EditHeightForFont(font, false), EditHeightForFont(font, true));
}

TEST(KelExtractField, PiecesBetweenDelimiters) {
  const QString text = "a;bc;;d";
  EXPECT_EQ(ExtractField(text, 0, ';'), "a");
  EXPECT_EQ(ExtractField(text, 1, ';'), "bc");
  EXPECT_EQ(ExtractField(text, 2, ';'), "");
  EXPECT_EQ(ExtractField(text, 3, ';'), "d");
  EXPECT_EQ(ExtractField(text, 4, ';'), "");
  EXPECT_EQ(ExtractField(text, -1, ';'), "");
  EXPECT_EQ(ExtractField(";x", 0, ';'), "");
  EXPECT_EQ(ExtractField("", 0, ';'), "");
}

}  // namespace
}  // namespace Kel
