#pragma once
// The user-visible texts of the list box and the filter builder pass through the library's
// translation hook.

#include <QString>

#include "KelTranslate.h"

namespace Kel {

inline QString ListBoxText(const char* text) { return TranslateText(QString::fromLatin1(text)); }

}  // namespace Kel
