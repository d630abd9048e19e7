#pragma once
// TColor: a colour as the classic toolkit stores it, one 32-bit integer.
//
//   0x00BBGGRR   an RGB colour (blue in the high byte: $0000FF is red)
//   0xFF0000nn   a system colour, nn the index of a role of the user's colour scheme (clWindow,
//                clBtnFace, ...). It has no fixed RGB value: ColorToQColor resolves it through a
//                widget's QPalette at paint time, so a dark palette gives readable controls.
//   clNone       no colour (nothing is painted); clDefault: the control's own default colour
//
// Names: every standard colour and every system colour has a name ("clRed", "clWindow").
// ColorToString writes the name, or "$" and eight hexadecimal digits for a colour without one;
// StringToColor reads a name (letter case ignored) or any integer text ("$0000FF", "255"). These
// are the texts that component streams and stored property values use.

#include <QColor>
#include <QString>
#include <span>

#include "PlatformExport.h"

class QPalette;
class QWidget;

namespace Kel {

using TColor = int;

inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);

// The standard colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;  // same value as clSilver; its name is clSilver
inline constexpr TColor clDkGray = 0x808080;  // same value as clGray; its name is clGray
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

// The system colours: roles of the user's colour scheme.
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// One entry of the colour-name table.
struct TColorName {
  TColor Value;
  const char* Name;
};

// Every named colour, standard colours first, then the system colours, clNone and clDefault.
KEL_PLATFORM_EXPORT std::span<const TColorName> ColorNames();

// The name of a colour; false when it has none.
KEL_PLATFORM_EXPORT bool ColorToIdent(TColor color, QString& ident);
// The colour of a name (letter case ignored); false when no colour has that name.
KEL_PLATFORM_EXPORT bool IdentToColor(const QString& ident, TColor& color);

// The name, or "$" + eight hexadecimal digits ("$00804020") for a colour without a name.
KEL_PLATFORM_EXPORT QString ColorToString(TColor color);
// A name or an integer text (decimal or "$" hexadecimal); false for anything else.
KEL_PLATFORM_EXPORT bool TryStringToColor(const QString& text, TColor& color);
// The same, raising EConvertError "'x' is not a valid integer value" for a bad text.
KEL_PLATFORM_EXPORT TColor StringToColor(const QString& text);

KEL_PLATFORM_EXPORT bool IsSystemColor(TColor color);

// The colour to paint with. A system colour comes from the palette (the widget's palette, or
// the application's without a widget); clNone and clDefault give a transparent colour, for the
// caller to skip or replace with its own default.
KEL_PLATFORM_EXPORT QColor ColorToQColor(TColor color, const QPalette& palette);
KEL_PLATFORM_EXPORT QColor ColorToQColor(TColor color, const QWidget* widget = nullptr);
// The RGB value a colour stands for at this moment (system colours resolved like above).
KEL_PLATFORM_EXPORT TColor ColorToRGB(TColor color, const QWidget* widget = nullptr);
// An RGB colour of a QColor (alpha ignored).
KEL_PLATFORM_EXPORT TColor QColorToColor(const QColor& color);
constexpr TColor RGB(int red, int green, int blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

}  // namespace Kel
