// keldemo started in German (keldemo --lang de): the filter window's conditions and the calendar
// read in German with German formats, while the filter text stays the one the table understands;
// pictures of both windows for the gallery. The demonstration's own texts stay English.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>

#include "DemoLanguage.h"
#include "FormatSettings.h"
#include "Gallery.h"
#include "KelFltBox.h"
#include "KelTranslate.h"
#include "calendunit.h"
#include "fboxunit.h"

namespace Kel {
namespace {

TEST(GermanWindows, TheFilterWindowAndTheCalendarWindowInGerman) {
  FormatSettingsGuard formats;
  const QString english = [] {
    TFboxForm form;
    return form.Sievra()->FilterStr();
  }();
  StartInLanguage(QLocale(QStringLiteral("de_DE")));
  {
    TFboxForm filter;
    filter.resize(820, 600);
    filter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&filter));
    TKelFltBox* box = filter.Sievra();
    const QString first = box->Items()->PlainItemText(box->Items()->Items(0));
    EXPECT_TRUE(first.contains(QStringLiteral("ist (genau)"))) << first.toStdString();
    EXPECT_TRUE(first.endsWith(QStringLiteral("oder"))) << first.toStdString();
    EXPECT_EQ(box->FilterStr(), english);
    EXPECT_EQ(Testing::SaveGalleryPictures("de-fbox-window", {{&filter, {}}}).size(), 2);
    TCalendForm calendar;
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    EXPECT_EQ(Testing::SaveGalleryPictures("de-calendar-window", {{&calendar, {}}}).size(), 2);
  }
  StartInLanguage(QLocale::c());
}

}  // namespace
}  // namespace Kel
