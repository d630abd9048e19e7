// Drawing helpers: colour tags and the colours their names stand for.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace Kel
