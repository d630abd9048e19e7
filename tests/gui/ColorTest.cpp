// Colours: the name table both ways (what stored property values and markup tags rely on), the
// hexadecimal form of colours without a name, and system colours taken from the palette.
#include <gtest/gtest.h>

#include <QPalette>
#include <QWidget>

#include "Color.h"
#include "Exceptions.h"

namespace Kel {
namespace {

TEST(ColorNames, EveryNamedColourRoundTrips) {
  for (const TColorName& entry : ColorNames()) {
    SCOPED_TRACE(entry.Name);
    EXPECT_EQ(ColorToString(entry.Value), QString::fromLatin1(entry.Name));
    EXPECT_EQ(StringToColor(QString::fromLatin1(entry.Name)), entry.Value);
  }
  EXPECT_EQ(ColorToString(clLtGray), "clSilver");  // an alias writes the main name
  EXPECT_EQ(StringToColor("CLWINDOW"), clWindow);  // names ignore letter case
}

TEST(ColorNames, ColoursWithoutANameUseHexadecimal) {
  EXPECT_EQ(ColorToString(0x00804020), "$00804020");
  EXPECT_EQ(StringToColor("$00804020"), 0x00804020);
  EXPECT_EQ(StringToColor("255"), clRed);
  // A system colour index without a name still survives the trip.
  const TColor unnamed = clSystemColor | 25;
  EXPECT_EQ(StringToColor(ColorToString(unnamed)), unnamed);
}

TEST(ColorNames, BadTextsAreRefused) {
  TColor color = clLime;
  EXPECT_FALSE(TryStringToColor("clNoSuchColour", color));
  EXPECT_FALSE(TryStringToColor("", color));
  EXPECT_FALSE(TryStringToColor("$1FFFFFFFF", color));  // more than 32 bits
  EXPECT_EQ(color, clLime);
  try {
    StringToColor("Reddish");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'Reddish' is not a valid integer value");
  }
}

TEST(ColorValues, SystemColoursComeFromTheWidgetsPalette) {
  QWidget widget;
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Base, QColor(10, 20, 30));
  palette.setColor(QPalette::Text, QColor(200, 210, 220));
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  widget.setPalette(palette);
  EXPECT_EQ(ColorToQColor(clWindow, &widget), QColor(10, 20, 30));
  EXPECT_EQ(ColorToQColor(clWindowText, &widget), QColor(200, 210, 220));
  EXPECT_EQ(ColorToRGB(clBtnFace, &widget), RGB(1, 2, 3));
  // RGB colours are blue-green-red and do not depend on the palette.
  EXPECT_EQ(ColorToQColor(clRed, &widget), QColor(255, 0, 0));
  EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
  EXPECT_EQ(QColorToColor(QColor(0x40, 0x20, 0x80)), 0x802040);
  EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
}

}  // namespace
}  // namespace Kel
