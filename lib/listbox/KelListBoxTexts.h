#pragma once
// The user-visible texts of the list box and the filter builder pass through the library's
// translation hook.

#include <QString>

#include "KelTranslate.h"

namespace Kel {

inline QString ListBoxText(const char* text) { return TranslateText(QString::fromLatin1(text)); }

namespace KelListBoxText {
inline constexpr const char* AddItem = "<Click here to add item>";
inline constexpr const char* SaveFileExt = ".flt";
inline constexpr const char* SaveFileCat = "Filters";
inline constexpr const char* InitialDir = "%APPFOLDER%";
inline constexpr const char* BoolFalse = "False";
inline constexpr const char* BoolTrue = "True";
inline constexpr const char* DefaultKeys = "Default";
// What a screen reader says of a line and of what its parameters edit.
inline constexpr const char* IndentLevel = "Indent level %1";
inline constexpr const char* EditsField = "field";
inline constexpr const char* EditsOperation = "operation";
inline constexpr const char* EditsConnector = "connector";
inline constexpr const char* EditsValue = "value";
}  // namespace KelListBoxText

}  // namespace Kel
