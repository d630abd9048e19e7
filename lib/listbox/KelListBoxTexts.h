#pragma once
// The user-visible texts of the list box and the filter builder pass through the library's
// translation hook.

#include <QString>

#include "KelTranslate.h"

namespace Kel {

inline QString ListBoxText(const char* text) { return TranslateText(QString::fromLatin1(text)); }

namespace KelListBoxText {
inline constexpr const char* AddItem = QT_TRANSLATE_NOOP("Kel", "<Click here to add item>");
inline constexpr const char* SaveFileExt = ".flt";
inline constexpr const char* SaveFileCat = QT_TRANSLATE_NOOP("Kel", "Filters");
inline constexpr const char* InitialDir = "%APPFOLDER%";
inline constexpr const char* BoolFalse = QT_TRANSLATE_NOOP("Kel", "False");
inline constexpr const char* BoolTrue = QT_TRANSLATE_NOOP("Kel", "True");
inline constexpr const char* DefaultKeys = "Default";
inline constexpr const char* ReplaceFile = "%1 already exists.\nDo you want to replace it?";
// What a screen reader says of a line and of what its parameters edit.
inline constexpr const char* IndentLevel = QT_TRANSLATE_NOOP("Kel", "Indent level %1");
inline constexpr const char* EditsField = QT_TRANSLATE_NOOP("Kel", "field");
inline constexpr const char* EditsOperation = QT_TRANSLATE_NOOP("Kel", "operation");
inline constexpr const char* EditsConnector = QT_TRANSLATE_NOOP("Kel", "connector");
inline constexpr const char* EditsValue = QT_TRANSLATE_NOOP("Kel", "value");
}  // namespace KelListBoxText

}  // namespace Kel
