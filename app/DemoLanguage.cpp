#include "DemoLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "FormatSettings.h"
#include "KelTranslate.h"

namespace Kel {

QString StartInLanguage(const QLocale& locale) {
  QLocale::setDefault(locale);
  SetFormatSettings(TFormatSettings::FromLocale(locale));
  static std::unique_ptr<QTranslator> qtTexts;
  if (qtTexts) QCoreApplication::removeTranslator(qtTexts.get());
  qtTexts = std::make_unique<QTranslator>();
  if (qtTexts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qtTexts.get());
  const bool english = locale.language() == QLocale::English || locale.language() == QLocale::C;
  if (InstallTranslations(locale) || english) return QString();
  return QStringLiteral("no translation for %1; the texts stay English (shipped: %2)")
      .arg(locale.name(), AvailableTranslations().join(QStringLiteral(", ")));
}

}  // namespace Kel
