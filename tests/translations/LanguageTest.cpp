// The library in German and French: the filter box reads in the language while the filter and
// SQL texts it writes stay byte for byte the English ones, a condition list saved in one language
// reads the same in another, and pictures of the filter box and the calendar in German.
#include <gtest/gtest.h>

#include <QLocale>
#include <memory>

#include "../filters/FilterTestData.h"
#include "FormatSettings.h"
#include "Gallery.h"
#include <QAbstractButton>
#include <QLabel>
#include <QStyle>

#include "KelBtPan.h"
#include "KelCalPopup.h"
#include "KelCalendar.h"
#include "KelFltBoxMem.h"
#include "KelTranslate.h"

namespace Kel {
namespace {

struct TBoxTexts {
  QStringList Lines;
  QString Filter;
  QString Sql;
  QByteArray Saved;
};

// A filter box made after the language was chosen (its templates are read in that language).
TBoxTexts Texts(TKelFltBox& box) {
  TBoxTexts texts;
  for (int i = 0; i < box.Items()->Count(); ++i)
    texts.Lines << box.Items()->PlainItemText(box.Items()->Items(i));
  texts.Filter = box.FilterStr();
  texts.Sql = box.SQL()->Text();
  texts.Saved = box.ItemsText();
  return texts;
}

void AddSampleConditions(TKelFltBox& box) {
  TKelFltBld& builder = *box.Builder();
  Testing::AddCondition(builder, "Name", "contains", Variant("ar"))->SetOperation("or");
  Testing::AddCondition(builder, "Score", "between", Variant(2), Variant(50));
  Testing::AddCondition(builder, "Due", "is on or after",
                        Variant::FromDate(EncodeDate(2024, 1, 8)));
  Testing::AddCondition(builder, "Notes", "is not empty");
}

class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallTranslations(QLocale(QLocale::English)); }
  std::unique_ptr<TMemDataSet> orders_ = Testing::MakeOrders();
};

TEST_F(LanguageTest, LinesReadInTheLanguageWhileFilterAndSqlStayTheEnglishOnes) {
  TKelFltBox english;
  english.SetDataSet(orders_.get());
  AddSampleConditions(english);
  const TBoxTexts en = Texts(english);
  ASSERT_EQ(en.Lines.size(), 4);

  struct TCase {
    const char* Language;
    const char* Contains;
    const char* Or;
  };
  for (const TCase& c : {TCase{"de", "enthält", "oder"}, TCase{"fr", "contient", "ou"}}) {
    ASSERT_TRUE(InstallTranslations(QLocale(QString::fromLatin1(c.Language))));
    TKelFltBox box;
    box.SetDataSet(orders_.get());
    AddSampleConditions(box);
    const TBoxTexts translated = Texts(box);
    EXPECT_TRUE(translated.Lines[0].contains(QString::fromUtf8(c.Contains)))
        << translated.Lines[0].toStdString();
    EXPECT_TRUE(translated.Lines[0].endsWith(QString::fromUtf8(c.Or)))
        << translated.Lines[0].toStdString();
    EXPECT_NE(translated.Lines, en.Lines);
    EXPECT_EQ(translated.Filter.toUtf8(), en.Filter.toUtf8()) << c.Language;
    EXPECT_EQ(translated.Sql.toUtf8(), en.Sql.toUtf8()) << c.Language;
    // Stored untranslated: a list saved in this language is the English one.
    EXPECT_EQ(translated.Saved, en.Saved) << c.Language;
  }
}

TEST_F(LanguageTest, AListSavedInOneLanguageReadsTheSameInAnother) {
  ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("de"))));
  TKelFltBox german;
  german.SetDataSet(orders_.get());
  AddSampleConditions(german);
  // The user picks "oder" on the second line, as the connector popup offers it in German.
  german.FltItems()->Items(1)->SetOperation(QStringLiteral("oder"));
  const TBoxTexts de = Texts(german);

  ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("fr"))));
  TKelFltBox french;
  french.SetDataSet(orders_.get());
  french.SetItemsText(de.Saved);
  const TBoxTexts fr = Texts(french);
  EXPECT_EQ(fr.Filter, de.Filter);
  EXPECT_TRUE(fr.Lines[1].endsWith(QStringLiteral("ou"))) << fr.Lines[1].toStdString();
  EXPECT_TRUE(de.Filter.contains(QStringLiteral(" or "))) << de.Filter.toStdString();
}

// The widest text a control shows, and the room it has for it.
QStringList CutCaptions(QWidget* window) {
  QStringList cut;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    const QString text = QString(button->text()).remove(u'&');
    const int frame = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    if (button->fontMetrics().horizontalAdvance(text) + frame > button->width())
      cut << QStringLiteral("%1 (%2 px)").arg(text).arg(button->width());
  }
  for (QLabel* label : window->findChildren<QLabel*>()) {
    const QString text = QString(label->text()).remove(u'&');
    if (label->fontMetrics().horizontalAdvance(text) > label->width()) cut << text;
  }
  return cut;
}

TEST_F(LanguageTest, TheCaptionsOfDialogsPopupsAndButtonsFitInEveryLanguage) {
  for (const char* language : {"de", "fr"}) {
    ASSERT_TRUE(InstallTranslations(QLocale(QString::fromLatin1(language))));
    TKelPopupCalendar popup;
    popup.SetPopupKind(cpkDateTime);
    popup.SetNoneButton(true);
    popup.LayoutByKind();
    popup.show();
    TSievraMemForm memoryForm;
    memoryForm.show();
    TKelBtnPanel panel;
    panel.resize(1600, 40);
    panel.SetDefButtonSet(TKelButtonSet::Range(btYes, btSave));
    panel.show();
    QStringList cut = CutCaptions(&popup) + CutCaptions(&memoryForm) + CutCaptions(&panel);
    EXPECT_TRUE(cut.isEmpty()) << language << ": " << cut.join(", ").toStdString();
  }
}

TEST_F(LanguageTest, GermanFilterBoxAndCalendarPictures) {
  ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("de"))));
  FormatSettingsGuard formats;
  SetFormatSettings(TFormatSettings::FromLocale(QLocale(QStringLiteral("de_DE"))));
  QWidget window;
  window.resize(460, 330);
  TKelFltBox box(&window);
  box.setGeometry(8, 8, 444, 110);
  box.SetDataSet(orders_.get());
  AddSampleConditions(box);
  TKelCalendar calendar(&window);
  calendar.setGeometry(8, 126, 444, 196);
  calendar.SetStartDate(EncodeDate(2024, 9, 1));
  calendar.SetShowWeekNumbers(true);
  calendar.SetWeekDayNames(wdlTwo);
  window.show();
  // The month names of the calendar come from the German formats.
  EXPECT_EQ(FormatSettings().LongMonthNames[8], QStringLiteral("September"));
  EXPECT_EQ(FormatSettings().LongMonthNames[2], QStringLiteral("März"));
  // Every line fits the box: the longest German words are not cut off.
  for (int i = 0; i < box.Items()->Count(); ++i)
    EXPECT_LE(
        box.fontMetrics().horizontalAdvance(box.Items()->PlainItemText(box.Items()->Items(i))),
        box.ClientWidth());
  EXPECT_EQ(Testing::SaveGalleryPictures(QStringLiteral("de-filter-box-and-calendar"),
                                         {{&window, QPoint()}})
                .size(),
            2);
}

}  // namespace
}  // namespace Kel
