#pragma once
// The user-visible texts of the calendar and its popups that a screen reader speaks, with their
// resource numbers. They reach the user through TranslateText.

namespace Kel::KelCalendarText {

inline constexpr const char* PreviousMonth = "Previous month";      // 65480
inline constexpr const char* NextMonth = "Next month";              // 65481
inline constexpr const char* ChooseMonth = "Choose another month";  // 65482
inline constexpr const char* Today = "today";                       // 65483
inline constexpr const char* OtherMonth = "other month";            // 65484
inline constexpr const char* Week = "week %1";                      // 65485
inline constexpr const char* PopupCalendar = "Popup calendar";      // 65486
inline constexpr const char* MonthList = "Month list";              // 65487
inline constexpr const char* ChosenDate = "Chosen date";            // 65488

}  // namespace Kel::KelCalendarText
