// The shipped catalogs against the sources: every text the library marks for translation has a
// finished translation in every catalog, with its placeholders, hot-spot marks and accelerator
// kept; no text reaches TranslateText unmarked; and the catalogs compiled into the library are
// the ones in the source tree.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "KelTranslate.h"
#include "KelTranslationSetup.h"

namespace Kel {
namespace {

struct TMessage {
  QString Source;
  QString Translation;
  bool Finished = false;
};

QString CatalogFile(const QString& language) {
  return QStringLiteral(KEL_SOURCE_DIR "/translations/kel_%1.ts").arg(language);
}

QList<TMessage> ReadCatalog(const QString& file) {
  QList<TMessage> messages;
  QFile input(file);
  if (!input.open(QIODevice::ReadOnly)) return messages;
  QXmlStreamReader xml(&input);
  TMessage message;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("message")) {
      message = TMessage();
    } else if (xml.name() == QLatin1String("source")) {
      message.Source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QStringView type = xml.attributes().value(QLatin1String("type"));
      message.Finished = type.isEmpty();
      message.Translation = xml.readElementText();
      messages << message;
    }
  }
  return messages;
}

// The catalog as lupdate makes it from the sources now (the shipped one brought up to date in a
// scratch folder, with the same call as the kel_update_translations target).
QList<TMessage> RefreshedCatalog(const QString& language, QString& error) {
  QTemporaryDir scratch;
  const QString copy = scratch.filePath(QStringLiteral("kel_%1.ts").arg(language));
  QFile::copy(CatalogFile(language), copy);
  QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
  QStringList arguments = QStringLiteral(KEL_LUPDATE_ARGUMENTS).split(u'|');
  arguments << QStringLiteral("-ts") << copy;
  QProcess lupdate;
  lupdate.setWorkingDirectory(QStringLiteral(KEL_SOURCE_DIR));
  lupdate.start(QStringLiteral(KEL_LUPDATE), arguments);
  if (!lupdate.waitForFinished(120000) || lupdate.exitCode() != 0) {
    error = QString::fromLocal8Bit(lupdate.readAllStandardError());
    return {};
  }
  return ReadCatalog(copy);
}

// What a translation must keep of its source: the ":Name" placeholders, the "%1" arguments, the
// "~" of the hot spots, one accelerator "&" and the leading blank of a text that is appended.
QString Shape(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral(":[A-Za-z]\\w*|%\\d"));
  QStringList parts;
  for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
    parts << match.captured();
  parts.sort();
  return parts.join(u' ') + QStringLiteral(" ~%1 &%2 %3")
                                .arg(text.count(u'~'))
                                .arg(text.count(u'&'))
                                .arg(text.startsWith(u' ') ? "lead" : "");
}

TEST(Catalogs, EveryMarkedTextOfTheLibraryIsTranslatedInEveryCatalog) {
  for (const QString& language : QStringLiteral(KEL_TRANSLATION_LANGUAGES).split(u'|')) {
    QString error;
    const QList<TMessage> messages = RefreshedCatalog(language, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_FALSE(messages.isEmpty()) << language.toStdString();
    QStringList problems;
    for (const TMessage& message : messages) {
      if (!message.Finished || message.Translation.isEmpty())
        problems << QStringLiteral("untranslated: \"%1\"").arg(message.Source);
      else if (Shape(message.Translation) != Shape(message.Source))
        problems << QStringLiteral("\"%1\" -> \"%2\" changes its placeholders or marks")
                        .arg(message.Source, message.Translation);
    }
    EXPECT_TRUE(problems.isEmpty())
        << "kel_" << language.toStdString() << ".ts (refresh with the kel_update_translations "
        << "target and translate in Qt Linguist):\n  " << problems.join("\n  ").toStdString();
  }
}

TEST(Catalogs, NoTextReachesTheTranslationUnmarked) {
  // A literal handed straight to the translation is invisible to lupdate.
  static const QRegularExpression direct(QStringLiteral(
      "(?:TranslateText|ListBoxText)\\(\\s*(?:QStringLiteral\\(|QLatin1String\\(|u)?\""));
  QStringList found;
  QDirIterator files(QStringLiteral(KEL_SOURCE_DIR "/lib"), {"*.cpp", "*.h"}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QFile file(files.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    int line = 0;
    while (!file.atEnd()) {
      ++line;
      const QString text = QString::fromUtf8(file.readLine());
      if (direct.match(text).hasMatch())
        found << QStringLiteral("%1:%2: %3").arg(file.fileName()).arg(line).arg(text.trimmed());
    }
  }
  EXPECT_TRUE(found.isEmpty()) << "mark these texts with QT_TRANSLATE_NOOP(\"Kel\", ...):\n"
                               << found.join('\n').toStdString();
}

TEST(Catalogs, TheLibraryCarriesTheShippedCatalogsAndRoutesTranslateTextThroughThem) {
  const QStringList languages = QStringLiteral(KEL_TRANSLATION_LANGUAGES).split(u'|');
  QStringList available = AvailableTranslations();
  available.sort();
  QStringList expected = languages;
  expected.sort();
  EXPECT_EQ(available, expected);
  for (const QString& language : languages) {
    ASSERT_TRUE(InstallTranslations(QLocale(language))) << language.toStdString();
    for (const TMessage& message : ReadCatalog(CatalogFile(language)))
      if (message.Finished)
        EXPECT_EQ(TranslateText(message.Source), message.Translation) << language.toStdString();
  }
  // English has no catalog: the built-in texts come back.
  EXPECT_FALSE(InstallTranslations(QLocale(QLocale::English)));
  EXPECT_EQ(TranslateText(QStringLiteral("&Today")), "&Today");
}

}  // namespace
}  // namespace Kel
