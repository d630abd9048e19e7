// The calculator and button panel window: what its switches do to the real controls, and the
// messages a user sees.
#include <gtest/gtest.h>

#include "ClickCheckBox.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "DemoFormParts.h"
#include "KelBtPan.h"
#include "KelCalcDisplay.h"
#include "KelCalculator.h"
#include "miscunit.h"

namespace Kel {
namespace {

class MiskFormTest : public ::testing::Test {
 protected:
  MiskFormTest() {
    previousHook_ = SetDemoMessageHook([this](QWidget*, const QString& text) {
      messages.append(text);
    });
    form.show();
  }
  ~MiskFormTest() override { SetDemoMessageHook(previousHook_); }

  template <class T>
  T* Child(const QString& name) {
    T* child = form.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }
  QAbstractButton* RadioItem(const QString& caption) {
    for (auto* item : Child<QWidget>(QStringLiteral("HasButtonsGroup"))->findChildren<QRadioButton*>())
      if (item->text() == caption) return item;
    ADD_FAILURE() << caption.toStdString();
    return nullptr;
  }
  QStringList PanelCaptions() {
    QStringList captions;
    const TKelBtnPanelItems* list = Panel()->ButtonList();
    for (int index = 0; index < list->Count(); ++index)
      captions << list->Items(index)->Control()->property("Caption").toString();
    return captions;
  }
  TKelBtnPanel* Panel() { return Child<TKelBtnPanel>(QStringLiteral("ButtonPanel")); }
  void ShowPage(int index) {
    Child<QTabWidget>(QStringLiteral("PageControl1"))->setCurrentIndex(index);
  }

  TMiskForm form;
  QStringList messages;

 private:
  TDemoMessageHook previousHook_;
};

TEST_F(MiskFormTest, StartsOnThePanelPageWithItsStoredButtons) {
  EXPECT_EQ(form.windowTitle().toStdString(), "Other Components Demo");
  auto* pages = Child<QTabWidget>(QStringLiteral("PageControl1"));
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0).toStdString(), "Calculator");
  EXPECT_EQ(pages->tabText(pages->currentIndex()).toStdString(), "Button Panel");

  EXPECT_EQ(PanelCaptions(), (QStringList{"OK", "Cancel", "&Help"}));
  EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("OKButton1")), nullptr);
  EXPECT_NE(form.findChild<QWidget*>(QStringLiteral("HelpButton1")), nullptr);
  EXPECT_TRUE(RadioItem(QStringLiteral("OK/Cancel/Help"))->isChecked());
  EXPECT_EQ(Child<QLineEdit>(QStringLiteral("WidthEdit"))->text(), QString::number(Panel()->ButtonWidth()));
  EXPECT_EQ(Child<QLineEdit>(QStringLiteral("SideEdit"))->text(), QString::number(Panel()->SideDistance()));
}

TEST_F(MiskFormTest, CustomShowsTwoButtonsAndReportsTheirClicks) {
  QTest::mouseClick(RadioItem(QStringLiteral("Custom")), Qt::LeftButton);
  EXPECT_EQ(Panel()->DefButtons(), pbCustom);
  ASSERT_EQ(PanelCaptions(), (QStringList{"Custom1", "Custom2"}));

  auto* first = qobject_cast<QAbstractButton*>(Panel()->ButtonList()->Items(0)->Control());
  ASSERT_NE(first, nullptr);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(messages, (QStringList{"Custom1 clicked"}));

  // Back to a standard set: the custom buttons go and each item reports its own caption.
  QTest::mouseClick(RadioItem(QStringLiteral("Yes/No")), Qt::LeftButton);
  ASSERT_EQ(PanelCaptions().size(), 2);
  QTest::mouseClick(qobject_cast<QAbstractButton*>(Panel()->ButtonList()->Items(1)->Control()),
                    Qt::LeftButton);
  EXPECT_EQ(messages.last(), PanelCaptions().at(1) + QStringLiteral(" clicked"));
}

TEST_F(MiskFormTest, ChangeButtonsMoveTheButtonsAround) {
  QWidget* ok = form.findChild<QWidget*>(QStringLiteral("OKButton1"));
  QWidget* cancel = form.findChild<QWidget*>(QStringLiteral("CancelButton1"));
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->y(), cancel->y()) << "a row at start";

  QTest::mouseClick(Child<QPushButton>(QStringLiteral("DirectionButton")), Qt::LeftButton);
  EXPECT_EQ(ok->x(), cancel->x()) << "a column after the direction changed";
  const QPoint before = ok->pos();
  QTest::mouseClick(Child<QPushButton>(QStringLiteral("HorzAlignButton")), Qt::LeftButton);
  EXPECT_NE(ok->x(), before.x());
  QTest::mouseClick(Child<QPushButton>(QStringLiteral("VertAlignButton")), Qt::LeftButton);
  EXPECT_NE(ok->y(), before.y());
}

TEST_F(MiskFormTest, SizeEditsStoreIntegersAndRefuseOtherText) {
  auto* height = Child<QLineEdit>(QStringLiteral("HeightEdit"));
  height->setFocus();
  height->setText(QStringLiteral("40"));
  QTest::keyClick(height, Qt::Key_Return);
  EXPECT_EQ(Panel()->ButtonHeight(), 40);
  EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("OKButton1"))->height(), 40);
  EXPECT_TRUE(messages.isEmpty());

  height->setText(QStringLiteral("4x"));
  QTest::keyClick(height, Qt::Key_Return);
  EXPECT_EQ(Panel()->ButtonHeight(), 40) << "a bad text leaves the panel as it was";
  EXPECT_EQ(height->text().toStdString(), "40");
  EXPECT_EQ(messages, (QStringList{"'4x' is not a valid integer value"}));
}

TEST_F(MiskFormTest, EnabledGreysTheCalculatorAndKeepsKeysAway) {
  ShowPage(0);
  auto* calculator = Child<TKelCalculator>(QStringLiteral("Calculator"));
  auto* display = Child<TKelCalcDisplay>(QStringLiteral("CalcDisplay"));
  auto* enabled = Child<QCheckBox>(QStringLiteral("EnabledCheckBox"));
  EXPECT_EQ(calculator->Associate(), display);
  QTest::keyClick(calculator, Qt::Key_7);
  EXPECT_EQ(display->Text().toStdString(), "7");
  const QImage active = calculator->grab().toImage();
  const QImage activeDisplay = display->grab().toImage();

  Testing::ClickCheckBox(enabled);
  EXPECT_FALSE(calculator->isEnabled());
  EXPECT_FALSE(display->isEnabled());
  QTest::keyClick(calculator, Qt::Key_8);
  EXPECT_EQ(display->Text().toStdString(), "7") << "keys do not reach a disabled calculator";
  EXPECT_NE(calculator->grab().toImage(), active) << "captions are painted grey";
  EXPECT_NE(display->grab().toImage(), activeDisplay) << "the display text is painted grey";

  Testing::ClickCheckBox(enabled);
  QTest::keyClick(calculator, Qt::Key_8);
  EXPECT_EQ(display->Text().toStdString(), "78");
}

}  // namespace
}  // namespace Kel
