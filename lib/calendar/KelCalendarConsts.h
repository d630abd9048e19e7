#pragma once
// The user-visible texts of the calendar and its popups that a screen reader speaks, with their
// resource numbers. They reach the user through TranslateText.

#include <QtGlobal>

namespace Kel::KelCalendarText {

inline constexpr const char* PreviousMonth = QT_TRANSLATE_NOOP("Kel", "Previous month");  // 65480
inline constexpr const char* NextMonth = QT_TRANSLATE_NOOP("Kel", "Next month");          // 65481
inline constexpr const char* ChooseMonth =
    QT_TRANSLATE_NOOP("Kel", "Choose another month");                                     // 65482
inline constexpr const char* Today = QT_TRANSLATE_NOOP("Kel", "today");                   // 65483
inline constexpr const char* OtherMonth = QT_TRANSLATE_NOOP("Kel", "other month");        // 65484
inline constexpr const char* Week = QT_TRANSLATE_NOOP("Kel", "week %1");                  // 65485
inline constexpr const char* PopupCalendar = QT_TRANSLATE_NOOP("Kel", "Popup calendar");  // 65486
inline constexpr const char* MonthList = QT_TRANSLATE_NOOP("Kel", "Month list");          // 65487
inline constexpr const char* ChosenDate = QT_TRANSLATE_NOOP("Kel", "Chosen date");        // 65488

}  // namespace Kel::KelCalendarText
