#pragma once
// The user-visible texts of the control and popup infrastructure, with their resource numbers.
// They reach the user through TranslateText.

namespace Kel::KelControlsText {

inline constexpr const char* DefaultKeyMapping = "Default";  // 65320
// Accessible names of the popups (what a screen reader announces).
inline constexpr const char* PopupWindow = "Popup";                 // 65321
inline constexpr const char* PopupEdit = "Text editor";            // 65322
inline constexpr const char* PopupList = "Choice list";            // 65323
inline constexpr const char* LookupList = "Lookup list";           // 65324
// An event handler raised something that is no standard exception.
inline constexpr const char* UnknownError = "An unknown error occurred.";  // 65325

}  // namespace Kel::KelControlsText
