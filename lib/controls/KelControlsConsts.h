#pragma once
// The user-visible texts of the control and popup infrastructure, with their resource numbers.
// They reach the user through TranslateText; the marked ones are in the catalogs. The name of the
// default key layout is a stored name and stays as it is.

#include <QtGlobal>

namespace Kel::KelControlsText {

inline constexpr const char* DefaultKeyMapping = "Default";  // 65320
// Accessible names of the popups (what a screen reader announces).
inline constexpr const char* PopupWindow = QT_TRANSLATE_NOOP("Kel", "Popup");       // 65321
inline constexpr const char* PopupEdit = QT_TRANSLATE_NOOP("Kel", "Text editor");   // 65322
inline constexpr const char* PopupList = QT_TRANSLATE_NOOP("Kel", "Choice list");   // 65323
inline constexpr const char* LookupList = QT_TRANSLATE_NOOP("Kel", "Lookup list");  // 65324
// An event handler raised something that is no standard exception.
inline constexpr const char* UnknownError =
    QT_TRANSLATE_NOOP("Kel", "An unknown error occurred.");  // 65325

}  // namespace Kel::KelControlsText
