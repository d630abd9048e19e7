#include "KelTranslate.h"

#include <QDir>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <utility>

namespace Kel {

namespace {

// Where the build puts the compiled catalogs inside the library (kel_de.qm, ...).
const char* const kCatalogFolder = ":/kel/translations";

TKelTranslateTextProc& InstalledProc() {
  static TKelTranslateTextProc proc;
  return proc;
}

// The catalog InstallTranslations loaded; it lives as long as the procedure that reads it.
std::unique_ptr<QTranslator>& LoadedCatalog() {
  static std::unique_ptr<QTranslator> catalog;
  return catalog;
}

}  // namespace

QString TranslateText(const QString& text) {
  const TKelTranslateTextProc& proc = InstalledProc();
  return proc ? proc(text) : text;
}

TKelTranslateTextProc SetTranslateTextProc(TKelTranslateTextProc proc) {
  return std::exchange(InstalledProc(), std::move(proc));
}

bool InstallTranslations(const QLocale& locale) {
  auto catalog = std::make_unique<QTranslator>();
  if (!catalog->load(locale, QStringLiteral("kel"), QStringLiteral("_"),
                     QString::fromLatin1(kCatalogFolder))) {
    SetTranslateTextProc(nullptr);
    LoadedCatalog().reset();
    return false;
  }
  const QTranslator* reader = catalog.get();
  SetTranslateTextProc([reader](const QString& text) {
    const QString translated = reader->translate(KelTextContext, text.toUtf8().constData());
    return translated.isEmpty() ? text : translated;
  });
  // The old catalog goes only now that no procedure reads it any more.
  LoadedCatalog() = std::move(catalog);
  return true;
}

QStringList AvailableTranslations() {
  QStringList languages;
  const QStringList files = QDir(QString::fromLatin1(kCatalogFolder))
                                .entryList({QStringLiteral("kel_*.qm")}, QDir::Files);
  for (const QString& file : files) languages << file.mid(4, file.size() - 7);
  return languages;
}

}  // namespace Kel
