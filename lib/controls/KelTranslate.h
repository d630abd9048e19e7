#pragma once
// The text-translation hook: every user-visible text of the library passes through TranslateText
// before it is shown, so that an application can put its own language in place of the built-in
// texts without touching the library. Nothing in the library installs a translation; an
// application installs one procedure for the whole process (from the GUI thread, usually at
// start-up).

#include <QString>
#include <functional>

#include "KelExport.h"

namespace Kel {

using TKelTranslateTextProc = std::function<QString(const QString& text)>;

// The installed procedure's translation of text; text itself when none is installed.
KEL_EXPORT QString TranslateText(const QString& text);
inline QString TranslateText(const char* text) { return TranslateText(QString::fromUtf8(text)); }

// Installs proc as the translation (an empty proc removes it) and returns the one installed
// before, so that a caller can put it back.
KEL_EXPORT TKelTranslateTextProc SetTranslateTextProc(TKelTranslateTextProc proc);

}  // namespace Kel
