#include "Color.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

#include "Exceptions.h"
#include "NumberFormat.h"

namespace Kel {

namespace {

constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

// The palette role and group that stand for a system colour. The 3-D colours follow Qt's
// bevel roles: highlight = Light, 3-D light = Midlight, shadow = Dark, dark shadow = Shadow.
struct TSystemRole {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

TSystemRole SystemRole(int index) {
  using P = QPalette;
  switch (index) {
    case 0: return {P::Active, P::Window};            // clScrollBar
    case 1: return {P::Active, P::Window};            // clBackground
    case 2: return {P::Active, P::Highlight};         // clActiveCaption
    case 3: return {P::Inactive, P::Highlight};       // clInactiveCaption
    case 4: return {P::Active, P::Window};            // clMenu
    case 5: return {P::Active, P::Base};              // clWindow
    case 6: return {P::Active, P::Shadow};            // clWindowFrame
    case 7: return {P::Active, P::WindowText};        // clMenuText
    case 8: return {P::Active, P::Text};              // clWindowText
    case 9: return {P::Active, P::HighlightedText};   // clCaptionText
    case 10: return {P::Active, P::Window};           // clActiveBorder
    case 11: return {P::Inactive, P::Window};         // clInactiveBorder
    case 12: return {P::Active, P::Dark};             // clAppWorkSpace
    case 13: return {P::Active, P::Highlight};        // clHighlight
    case 14: return {P::Active, P::HighlightedText};  // clHighlightText
    case 15: return {P::Active, P::Button};           // clBtnFace
    case 16: return {P::Active, P::Dark};             // clBtnShadow
    case 17: return {P::Disabled, P::Text};           // clGrayText
    case 18: return {P::Active, P::ButtonText};       // clBtnText
    case 19: return {P::Inactive, P::HighlightedText};  // clInactiveCaptionText
    case 20: return {P::Active, P::Light};            // clBtnHighlight
    case 21: return {P::Active, P::Shadow};           // cl3DDkShadow
    case 22: return {P::Active, P::Midlight};         // cl3DLight
    case 23: return {P::Active, P::ToolTipText};      // clInfoText
    case 24: return {P::Active, P::ToolTipBase};      // clInfoBk
    case 26: return {P::Active, P::Link};             // clHotLight
    case 27: return {P::Active, P::Highlight};        // clGradientActiveCaption
    case 28: return {P::Inactive, P::Highlight};      // clGradientInactiveCaption
    case 29: return {P::Active, P::Highlight};        // clMenuHighlight
    case 30: return {P::Active, P::Window};           // clMenuBar
    default: return {P::Active, P::Window};
  }
}

QColor RgbOf(TColor color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace

std::span<const TColorName> ColorNames() { return kColorNames; }

bool ColorToIdent(TColor color, QString& ident) {
  for (const TColorName& entry : kColorNames) {
    if (entry.Value == color) {
      ident = QString::fromLatin1(entry.Name);
      return true;
    }
  }
  return false;
}

bool IdentToColor(const QString& ident, TColor& color) {
  for (const TColorName& entry : kColorNames) {
    if (ident.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0) {
      color = entry.Value;
      return true;
    }
  }
  return false;
}

QString ColorToString(TColor color) {
  QString ident;
  if (ColorToIdent(color, ident)) return ident;
  return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString& text, TColor& color) {
  if (IdentToColor(text, color)) return true;
  return TryStrToInt(text, color);
}

TColor StringToColor(const QString& text) {
  TColor color = clBlack;
  if (!TryStringToColor(text, color)) throw EConvertError(RtlMessage(RtlText::InvalidInteger, text));
  return color;
}

bool IsSystemColor(TColor color) {
  return (static_cast<quint32>(color) & 0xFF000000u) == 0xFF000000u;
}

QColor ColorToQColor(TColor color, const QPalette& palette) {
  if (color == clNone || color == clDefault) return QColor(Qt::transparent);
  if (IsSystemColor(color)) {
    const TSystemRole role = SystemRole(color & 0xFF);
    return palette.color(role.Group, role.Role);
  }
  return RgbOf(color);
}

QColor ColorToQColor(TColor color, const QWidget* widget) {
  if (color == clNone || color == clDefault) return QColor(Qt::transparent);
  if (!IsSystemColor(color)) return RgbOf(color);
  return ColorToQColor(color, widget ? widget->palette() : QGuiApplication::palette());
}

TColor ColorToRGB(TColor color, const QWidget* widget) {
  if (!IsSystemColor(color)) return color;
  return QColorToColor(ColorToQColor(color, widget));
}

TColor QColorToColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return RGB(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace Kel
