#pragma once
// Form helpers: the application's main form, the form a control sits on, and the scaling of the
// library's pixel sizes with the font.
//
// Pixel sizes in the library (a band 26 pixels high, a popup 150 pixels wide) were chosen for
// the classic 8-point dialog font, whose lines are 13 pixels high. ScaleByFont scales such a
// size to the font a widget really uses, so a popup keeps its proportions with a larger system
// font; Qt scales the result with the screen's device pixel ratio, since it is in logical
// pixels.

#include "PlatformExport.h"

class QFont;
class QWidget;

namespace Kel {

// The application's main form: none until the program names it.
KEL_PLATFORM_EXPORT QWidget* ApplicationMainForm();
KEL_PLATFORM_EXPORT void SetApplicationMainForm(QWidget* form);

// The window (top-level widget) that widget sits on; nullptr for nullptr.
KEL_PLATFORM_EXPORT QWidget* ParentForm(const QWidget* widget);

inline constexpr int kReferenceLineHeight = 13;
KEL_PLATFORM_EXPORT int ScaleByFont(int pixels, const QFont& font);
KEL_PLATFORM_EXPORT int ScaleByFont(int pixels, const QWidget* widget);

}  // namespace Kel
