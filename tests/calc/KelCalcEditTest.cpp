// The number field: the popup calculator starts from its number and "=" puts the result back;
// a typed number is read on Enter, a text that is no number beeps and the number stays.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "KelCalcDisplay.h"
#include "KelCalcEdit.h"
#include "KelPopupCalc.h"
#include "MessageBeep.h"

namespace Kel {
namespace {

TEST(CalcEdit, TheCalculatorWorksOnTheFieldsNumberAndTypedTextIsChecked) {
  QWidget form;
  form.resize(300, 100);
  TKelCalcEdit edit(&form);
  edit.setGeometry(10, 10, 140, 24);
  form.show();
  QApplication::setActiveWindow(&form);
  int changes = 0;
  edit.OnChange = [&changes](TKelDropDownEdit*) { ++changes; };
  edit.SetValue(7);

  edit.Button()->click();
  auto* popup = qobject_cast<TKelPopupCalcEdit*>(edit.Popup());
  ASSERT_TRUE(popup && popup->isVisible());
  EXPECT_EQ(popup->Display()->Text(), "7");
  QTest::keyClicks(QApplication::focusWidget(), "*6=");
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(edit.Value(), 42);
  EXPECT_EQ(edit.Editor()->text(), "42");
  EXPECT_EQ(changes, 1);

  int beeps = 0;
  const TMessageBeepHook previous = SetMessageBeepHook([&beeps] { ++beeps; });
  edit.Editor()->setFocus();
  edit.Editor()->setText("12.5");
  QTest::keyClick(edit.Editor(), Qt::Key_Return);
  EXPECT_EQ(edit.Value(), 12.5);
  edit.Editor()->setText("twelve");
  QTest::keyClick(edit.Editor(), Qt::Key_Return);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(edit.Value(), 12.5);
  EXPECT_EQ(edit.Editor()->text(), "12.5");
  EXPECT_EQ(changes, 2);
  SetMessageBeepHook(previous);
}

}  // namespace
}  // namespace Kel
