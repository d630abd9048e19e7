// The main window: what the user sees, which tab is reachable, and that each demonstration window
// exists once however often its button is clicked.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "FormOwner.h"
#include "LinkLabel.h"
#include "calendunit.h"
#include "fboxunit.h"
#include "mainUnit.h"
#include "miscunit.h"

namespace Kel {
namespace {

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : form(owner.CreateForm(MainForm, owner)) {}

  template <class T>
  T* Child(const char* name) {
    T* child = form->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QTabWidget* Pages() { return Child<QTabWidget>("PageControl1"); }
  int CalendarTabIndex() { return Pages()->indexOf(Child<QWidget>("CalendarTabSheet")); }

  TFormOwner owner;
  TMainForm* form;
};

TEST_F(MainFormTest, HasCaptionClientSizeAndBottomPanel) {
  EXPECT_EQ(form->windowTitle().toStdString(), "Main Demo");
  EXPECT_EQ(form->size(), QSize(721, 420));
  EXPECT_EQ(form->font().pixelSize(), 11);
  EXPECT_EQ(MainForm.data(), form);

  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  auto* panel = Child<QWidget>("Panel2");
  EXPECT_EQ(panel->height(), 34);
  EXPECT_EQ(panel->geometry().bottom(), form->height() - 1);
  EXPECT_EQ(Pages()->geometry().bottom() + 1, panel->y()) << "page control sits on the panel";
}

TEST_F(MainFormTest, ButtonsCarryTheirCaptions) {
  const std::pair<const char*, const char*> buttons[] = {
      {"FBoxButton", "Sievra Demo"},
      {"CalendDemoButton", "Calendar Demo"},
      {"OtherCompsDemoButton", "Other Demo"},
      {"ReadMoreButton", "Read more"},
      {"RegisterButton", "Register online"},
      {"Button1", "Calendar Demo"},
      {"Button2", "Other Comps Demo"},
      {"Button3", "Calendar Pro Demo"},
      {"Button4", "Read more"},
      {"Button5", "Register online"},
  };
  for (const auto& [name, caption] : buttons) {
    EXPECT_EQ(Child<QPushButton>(name)->text().toStdString(), caption) << name;
  }
  EXPECT_EQ(Pages()->tabText(0).toStdString(), "Kel Sievra");
  EXPECT_EQ(Pages()->tabText(CalendarTabIndex()).toStdString(), "Kel Calendar");
}

TEST_F(MainFormTest, ShortLabelsBreakLinesWhereTheTextSays) {
  EXPECT_EQ(Child<QLabel>("Label4")->text().toStdString(),
            "Demonstrates features of the \nincluded calendar control");
  EXPECT_EQ(Child<QLabel>("Label5")->text().toStdString(),
            "Button panel and calculator \ncontrols demo");
  const QString sievra = Child<QLabel>("Label2")->text();
  EXPECT_EQ(sievra.count(QLatin1Char('\n')), 7);
  EXPECT_FALSE(sievra.contains(QLatin1Char('\r')));
  EXPECT_TRUE(
      sievra.endsWith(QStringLiteral("color grid cellsdepending from the \nfilter condition.")));
  EXPECT_EQ(Child<QLabel>("Label8")->text().toStdString(),
            "DB-aware calendar and Pro version\nof calendar with many advanced \nfeatures");
}

TEST_F(MainFormTest, LinkLabelLooksAndActsLikeALink) {
  auto* link = Child<TLinkLabel>("Label3");
  EXPECT_EQ(link->parentWidget()->objectName().toStdString(), "Panel2");
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(link->font().bold());
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->font().pixelSize(), 16);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 128));

  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  EXPECT_TRUE(link->isVisible());
  EXPECT_TRUE(link->parentWidget()->rect().contains(link->geometry()));
}

TEST_F(MainFormTest, CalendarTabIsHiddenAndFilterTabActive) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  QTabWidget* pages = Pages();
  EXPECT_EQ(pages->currentWidget(), Child<QWidget>("FBoxTabSheet"));
  EXPECT_FALSE(pages->isTabVisible(CalendarTabIndex()));
  EXPECT_FALSE(pages->tabBar()->tabRect(CalendarTabIndex()).isValid());
}

TEST_F(MainFormTest, KeyboardCannotReachTheCalendarTab) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  QTabWidget* pages = Pages();
  QWidget* filterPage = Child<QWidget>("FBoxTabSheet");

  QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(pages->currentWidget(), filterPage) << "Ctrl+Tab";
  QTest::keyClick(pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(pages->currentWidget(), filterPage) << "Ctrl+Shift+Tab";
  pages->tabBar()->setFocus();
  QTest::keyClick(pages->tabBar(), Qt::Key_Right);
  QTest::keyClick(pages->tabBar(), Qt::Key_End);
  EXPECT_EQ(pages->currentWidget(), filterPage) << "arrow keys on the tab bar";
}

TEST_F(MainFormTest, CalendarTabButtonsAreWired) {
  std::vector<QUrl> opened;
  form->SetUrlOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  int calendars = 0;
  int others = 0;
  form->SetFormFactory(TDemoWindow::Calend, [&] {
    ++calendars;
    return std::make_unique<QWidget>();
  });
  form->SetFormFactory(TDemoWindow::Misk, [&] {
    ++others;
    return std::make_unique<QWidget>();
  });

  EXPECT_TRUE(Child<QPushButton>("Button1")->isEnabled());
  QTest::mouseClick(Child<QPushButton>("Button1"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("Button2"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("Button3"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("Button5"), Qt::LeftButton);
  EXPECT_EQ(calendars, 1);
  EXPECT_EQ(others, 1);
  EXPECT_NE(CalendForm.data(), nullptr);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toString().toStdString(), "https://www.example.com/kel/order");
}

TEST_F(MainFormTest, SecondClickShowsTheSameFilterWindow) {
  int created = 0;
  form->SetFormFactory(TDemoWindow::Fbox, [&] {
    ++created;
    return std::make_unique<QWidget>();
  });
  auto* button = Child<QPushButton>("FBoxButton");

  QTest::mouseClick(button, Qt::LeftButton);
  QPointer<QWidget> first = FboxForm;
  ASSERT_FALSE(first.isNull());
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->testAttribute(Qt::WA_QuitOnClose));

  first->close();  // closing only hides it
  EXPECT_FALSE(first->isVisible());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(FboxForm.data(), first.data());
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(owner.Count(), 2) << "the main window and one filter window";
}

TEST_F(MainFormTest, DemoButtonsOpenTheRealWindowsOnceEach) {
  QTest::mouseClick(Child<QPushButton>("FBoxButton"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("CalendDemoButton"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("OtherCompsDemoButton"), Qt::LeftButton);
  QPointer<QWidget> filter = FboxForm;
  QPointer<QWidget> calendar = CalendForm;
  QPointer<QWidget> other = MiskForm;
  ASSERT_NE(qobject_cast<TFboxForm*>(filter.data()), nullptr);
  ASSERT_NE(qobject_cast<TCalendForm*>(calendar.data()), nullptr);
  ASSERT_NE(qobject_cast<TMiskForm*>(other.data()), nullptr);
  EXPECT_TRUE(calendar->isVisible());

  filter->close();
  calendar->close();
  other->close();
  QTest::mouseClick(Child<QPushButton>("FBoxButton"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("CalendDemoButton"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("OtherCompsDemoButton"), Qt::LeftButton);
  EXPECT_EQ(FboxForm.data(), filter.data());
  EXPECT_EQ(CalendForm.data(), calendar.data());
  EXPECT_EQ(MiskForm.data(), other.data());
  EXPECT_TRUE(filter->isVisible() && calendar->isVisible() && other->isVisible());
  EXPECT_EQ(owner.Count(), 4) << "the main window and one window of each kind";
}

TEST_F(MainFormTest, ButtonOfAWindowNotYetBuiltDoesNothing) {
  form->SetFormFactory(TDemoWindow::Misk, nullptr);
  QTest::mouseClick(Child<QPushButton>("OtherCompsDemoButton"), Qt::LeftButton);
  EXPECT_TRUE(MiskForm.isNull());
  EXPECT_EQ(owner.Count(), 1);
}

TEST_F(MainFormTest, LinkLabelOpensTheHomePageOnlyOnACompleteClick) {
  std::vector<QUrl> opened;
  form->SetUrlOpener([&](const QUrl& url) {
    opened.push_back(url);
    return false;  // a failing handler is not reported
  });
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  auto* link = Child<TLinkLabel>("Label3");

  QTest::mousePress(link, Qt::LeftButton);
  QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));  // released outside
  EXPECT_TRUE(opened.empty());
  QTest::mouseClick(link, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toString().toStdString(), "https://www.example.com/kel");
}

}  // namespace
}  // namespace Kel
