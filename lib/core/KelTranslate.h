#pragma once
// The text-translation hook: every user-visible text of the library passes through TranslateText
// before it is shown, so that an application can put its own language in place of the built-in
// texts without touching the library. An application installs one procedure for the whole
// process (from the GUI thread, usually at start-up): its own, or the library's catalogs through
// InstallTranslations.
//
// The library's catalogs (translations/kel_<language>.ts, made with Qt Linguist) are compiled
// into the library. Their texts carry the context "Kel"; in the sources every such text is
// marked with QT_TRANSLATE_NOOP("Kel", "...") where it is defined, so that lupdate finds it.
// Texts that are data rather than interface (filter and SQL words, stored names, file
// extensions) are not marked and never translated.

#include <QString>
#include <QStringList>
#include <functional>

#include "KelExport.h"

class QLocale;

namespace Kel {

// The translation context of the library's texts in the catalogs.
inline constexpr const char* KelTextContext = "Kel";

using TKelTranslateTextProc = std::function<QString(const QString& text)>;

// The installed procedure's translation of text; text itself when none is installed.
KEL_EXPORT QString TranslateText(const QString& text);
inline QString TranslateText(const char* text) { return TranslateText(QString::fromUtf8(text)); }

// Installs proc as the translation (an empty proc removes it) and returns the one installed
// before, so that a caller can put it back.
KEL_EXPORT TKelTranslateTextProc SetTranslateTextProc(TKelTranslateTextProc proc);

// Loads the library's catalog for the first of locale's UI languages that has one and routes
// TranslateText through it; true when a catalog was loaded. For a language without a catalog
// (English among them) the routing is removed and the built-in texts show, so a program can
// call it with whatever locale the user chose. Call it before the library's widgets are made:
// texts already shown stay as they are.
KEL_EXPORT bool InstallTranslations(const QLocale& locale);
// The languages the library ships catalogs for ("de", "fr", ...).
KEL_EXPORT QStringList AvailableTranslations();

}  // namespace Kel
