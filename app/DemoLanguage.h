#pragma once
// The language keldemo starts in: the library's texts from its catalog for the locale, the
// locale's formats of dates and numbers, and Qt's own texts (standard buttons, file dialogs)
// where Qt's catalogs are installed. The demonstration's own texts stay English.

#include <QLocale>
#include <QString>

namespace Kel {

// Puts the program into locale's language and formats; returns a note for the user when the
// library has no catalog for it (the texts then stay English), else an empty text.
QString StartInLanguage(const QLocale& locale);

}  // namespace Kel
