// The classic standard controls: made by class name, buttons that close dialogs with their
// modal result, Esc pressing the Cancel button, grouped speed buttons, list item positions.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include "Buttons.h"
#include "ClassRegistry.h"
#include "Exceptions.h"
#include "StdCtrls.h"
#include "Persistent.h"
#include "TypInfo.h"

namespace Kel {
namespace {

TEST(StdCtrls, ControlsAreMadeByTheirClassicNames) {
  QWidget parent;
  for (const char* name : {"TButton", "TBitBtn", "TSpeedButton", "TCheckBox", "TRadioButton",
                           "TEdit", "TListBox"}) {
    SCOPED_TRACE(name);
    QWidget* control = CreateControl(QString::fromLatin1(name), &parent);
    EXPECT_EQ(control->parentWidget(), &parent);
    EXPECT_EQ(TPersistent::ClassNameOf(*control->metaObject()), name);
  }
  EXPECT_THROW(CreateControl("TNoSuchButton", &parent), EClassNotFound);
}

TEST(StdCtrls, ButtonPropertiesAreSetByName) {
  QWidget parent;
  QWidget* check = CreateControl("TCheckBox", &parent);
  EXPECT_FALSE(TypInfo::IsPublishedProp(check, u"ModalResult"));
  QWidget* button = CreateControl("TButton", &parent);
  TypInfo::SetPropValue(button, u"ModalResult", 2);
  TypInfo::SetPropValue(button, u"Default", true);
  TypInfo::SetPropValue(button, u"Caption", "Cancel");
  auto* typed = static_cast<TButton*>(button);
  EXPECT_EQ(typed->ModalResult(), mrCancel);
  EXPECT_TRUE(typed->isDefault());
  EXPECT_EQ(typed->text(), "Cancel");
}

TEST(StdCtrls, ModalResultClosesTheDialogAfterTheClickHandler) {
  QDialog dialog;
  auto* ok = new TButton(&dialog);
  ok->SetModalResult(mrOk);
  bool handlerSawOpenDialog = false;
  ok->OnClick = [&](QObject* sender) {
    EXPECT_EQ(sender, ok);
    handlerSawOpenDialog = dialog.isVisible();
  };
  dialog.show();
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_TRUE(handlerSawOpenDialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), mrOk);
}

TEST(StdCtrls, EscPressesTheCancelButton) {
  QDialog dialog;
  auto* edit = new TEdit(&dialog);
  auto* cancel = new TBitBtn(&dialog);
  cancel->SetKind(bkCancel);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_FALSE(cancel->Glyph().isNull());
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Escape);
  QTRY_VERIFY(!dialog.isVisible());
  EXPECT_EQ(dialog.result(), mrCancel);  // the button's result, not a plain rejection
}

TEST(StdCtrls, GroupedSpeedButtonsStayDownOneAtATime) {
  QWidget panel;
  auto* a = new TSpeedButton(&panel);
  auto* b = new TSpeedButton(&panel);
  auto* loose = new TSpeedButton(&panel);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  panel.show();
  QTest::mouseClick(a, Qt::LeftButton);
  EXPECT_TRUE(a->Down());
  QTest::mouseClick(a, Qt::LeftButton);  // without AllowAllUp it stays down
  EXPECT_TRUE(a->Down());
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  b->SetAllowAllUp(true);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_FALSE(b->Down());
  loose->SetDown(true);  // not in a group: never stays down
  EXPECT_FALSE(loose->Down());
}

TEST(StdCtrls, ListBoxItemPositions) {
  TListBox list;
  list.resize(120, 200);
  list.SetItems({"one", "two", "three"});
  list.show();
  const QRect second = list.ItemRect(1);
  EXPECT_EQ(list.ItemAtPos(second.center(), true), 1);
  const QPoint below(5, list.ItemRect(2).bottom() + 20);
  EXPECT_EQ(list.ItemAtPos(below, true), -1);
  EXPECT_EQ(list.ItemAtPos(below, false), 2);
  EXPECT_EQ(list.ItemAtPos(QPoint(500, second.center().y()), false), 1);
  int clicks = 0;
  list.OnClick = [&](QObject*) { ++clicks; };
  list.SetItemIndex(2);  // the program, not the user
  EXPECT_EQ(clicks, 0);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace Kel
