// The custom control base driven by real key events: bindings with key states, 255 and
// later-wins, layouts from the registry, the Enter and Tab rules, bound keys beating window
// shortcuts, consumed characters.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "KelControls.h"
#include "KelFields.h"
#include "VirtualKeys.h"

namespace Kel {
namespace {

// A control whose default layout binds a few keys and logs what fires.
class TTestControl : public TKelCustomControl {
  Q_OBJECT

 public:
  explicit TTestControl(QWidget* parent = nullptr) : TKelCustomControl(parent) {
    setObjectName("TestControl");
  }
  QStringList log;
  int defaultLayouts = 0;
  QString consumed;

 protected:
  void InitDefaultKeys() override {
    ++defaultLayouts;
    AddKey(VK_RETURN, Fire("enter"));
    AddKey(VK_TAB, Fire("tab"));
    AddKey('A', Fire("a"));
    AddKey('A', Fire("a-later"));                        // hides the one before
    AddKey('K', TShiftState{ssCtrl}, 1, 0, Fire("ctrl+k"));  // starts a sequence
    AddKey('X', TShiftState{ssShift}, 0, 1, Fire("k,shift+x"));
    AddKey('B', TShiftState{}, 0, kAnyKeyState, Fire("b-any"));
    AddKey('B', TShiftState{}, 0, 1, Fire("b-in-1"));    // later: wins in state 1
    AddKey(VK_DELETE, nullptr);                          // swallowed, nothing fires
  }
  bool IsConsumedChar(QChar key) const override { return consumed.contains(key); }

 private:
  TKelKeyHandler Fire(const QString& name) {
    return [this, name] { log.append(name); };
  }
};

class TDerivedControl : public TTestControl {
  Q_OBJECT
 public:
  using TTestControl::TTestControl;
};

class KelCustomControlTest : public ::testing::Test {
 protected:
  KelCustomControlTest() {
    auto* layout = new QVBoxLayout(&window_);
    control_ = new TTestControl(&window_);
    next_ = new QLineEdit(&window_);
    layout->addWidget(control_);
    layout->addWidget(next_);
    window_.show();
    QApplication::setActiveWindow(&window_);
    control_->setFocus();
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  QDialog window_;
  TTestControl* control_;
  QLineEdit* next_;
};

TEST_F(KelCustomControlTest, LaterBindingsWinAndAnyStateBindingsFireEverywhere) {
  Press(Qt::Key_A);
  EXPECT_EQ(control_->log, QStringList{"a-later"});
  Press(Qt::Key_B);  // state 0: only the any-state binding applies
  Press(Qt::Key_K, Qt::ControlModifier);
  Press(Qt::Key_B);  // state 1: the later state-1 binding wins
  Press(Qt::Key_B);  // back in state 0
  EXPECT_EQ(control_->log,
            (QStringList{"a-later", "b-any", "ctrl+k", "b-in-1", "b-any"}));
  EXPECT_EQ(control_->defaultLayouts, 1);  // filled once, when first needed
}

TEST_F(KelCustomControlTest, WhatIsFoundDoesNotDependOnEarlierLookups) {
  TKelKeyList list;
  list.AddKey('Q', TShiftState{}, 0, kAnyKeyState, nullptr);
  TKelKeyData* stateOne = list.AddKey('Q', TShiftState{}, 0, 1, nullptr);
  TKelKeyData* any = list.Items(0);
  EXPECT_EQ(list.FindKey('Q', {}, 0), any);
  EXPECT_EQ(list.FindKey('Q', {}, 1), stateOne);  // not the any-state binding found just before
  EXPECT_EQ(list.FindKey('Q', {}, 0x101), stateOne);  // only the low 8 bits count
  stateOne->SetState(2);                               // a change forgets the answers
  EXPECT_EQ(list.FindKey('Q', {}, 1), any);
  list.Delete(0);
  EXPECT_EQ(list.FindKey('Q', {}, 1), nullptr);
  EXPECT_EQ(list.FindKey('Q', {ssShift}, 2), nullptr);  // the shift set must match exactly
}

TEST_F(KelCustomControlTest, SequencesSurviveModifierKeysAndEndOnUnboundKeys) {
  Press(Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(control_->KeyState(), 1);
  QTest::keyPress(control_, Qt::Key_Shift, Qt::ShiftModifier);  // the Shift key alone
  Press(Qt::Key_X, Qt::ShiftModifier);
  EXPECT_EQ(control_->log.last(), "k,shift+x");
  EXPECT_EQ(control_->KeyState(), 0);
  Press(Qt::Key_K, Qt::ControlModifier);
  Press(Qt::Key_Z);  // unbound: the sequence ends
  EXPECT_EQ(control_->KeyState(), 0);
  Press(Qt::Key_X, Qt::ShiftModifier);
  EXPECT_EQ(control_->log.last(), "ctrl+k");
}

TEST_F(KelCustomControlTest, EnterBelongsToTheControlOnlyWithWantReturns) {
  auto* defaultButton = new QPushButton("OK", &window_);
  defaultButton->setDefault(true);
  defaultButton->show();
  int defaultPressed = 0;
  QObject::connect(defaultButton, &QPushButton::clicked, [&] { ++defaultPressed; });
  Press(Qt::Key_Return);
  EXPECT_EQ(control_->log, QStringList{"enter"});
  EXPECT_EQ(defaultPressed, 0);
  control_->SetWantReturns(false);
  Press(Qt::Key_Return);  // the dialog's default button gets it
  EXPECT_EQ(control_->log, QStringList{"enter"});
  EXPECT_EQ(defaultPressed, 1);
  Press(Qt::Key_Return, Qt::ControlModifier);  // Ctrl+Enter acts as Enter
  EXPECT_EQ(control_->log, (QStringList{"enter", "enter"}));
}

TEST_F(KelCustomControlTest, TabMovesTheFocusUnlessWanted) {
  Press(Qt::Key_Tab, Qt::ControlModifier);  // Ctrl+Tab acts as Tab
  EXPECT_EQ(control_->log, QStringList{"tab"});
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), next_);
  control_->setFocus();
  control_->SetWantTabs(true);
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), control_);
  EXPECT_EQ(control_->log, (QStringList{"tab", "tab"}));
}

TEST_F(KelCustomControlTest, BoundKeysBeatTheWindowsShortcuts) {
  auto* action = new QAction(&window_);
  action->setShortcuts({QKeySequence(Qt::Key_A), QKeySequence(Qt::Key_F5)});
  window_.addAction(action);
  int triggered = 0;
  QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
  Press(Qt::Key_A);
  EXPECT_EQ(control_->log, QStringList{"a-later"});
  EXPECT_EQ(triggered, 0);
  Press(Qt::Key_F5);  // not bound: the shortcut has it
  EXPECT_EQ(triggered, 1);
}

TEST_F(KelCustomControlTest, CharactersOfUnboundKeysCanBeConsumed) {
  QStringList typed;
  control_->OnKeyPress = [&](TKelCustomControl*, QChar& key) { typed.append(key); };
  control_->consumed = "+";
  QTest::keyClick(control_, Qt::Key_Plus);
  QTest::keyClick(control_, Qt::Key_A);  // bound: its character never comes
  EXPECT_EQ(typed, QStringList{"+"});
  int deletes = 0;
  control_->OnKeyDown = [&](TKelCustomControl*, int& key, TShiftState) {
    if (key == VK_DELETE) ++deletes;
  };
  Press(Qt::Key_Delete);  // swallowed by a binding without handler
  EXPECT_EQ(deletes, 1);
  control_->OnKeyDown = [](TKelCustomControl*, int& key, TShiftState) {
    if (key == 'A') key = 0;  // a handler may take the key away
  };
  Press(Qt::Key_A);
  EXPECT_EQ(control_->log, QStringList{"a-later"});  // only the first A fired
}

TEST(KelKeyMapping, RegisteredLayoutsWinOverTheDefaultOne) {
  static int registeredCalls = 0;
  RegisterKeyboardProc(&TTestControl::staticMetaObject, "Compact", [](QObject* control) {
    ++registeredCalls;
    static_cast<TKelCustomControl*>(control)->AddKey(VK_F2, nullptr);
  });
  TDerivedControl control;  // the layout of an ancestor class serves
  EXPECT_EQ(control.KeyMapping(), "Default");
  control.SetKeyMapping("Compact");
  EXPECT_EQ(registeredCalls, 1);
  EXPECT_EQ(control.defaultLayouts, 0);
  EXPECT_NE(control.FindKey(VK_F2, {}, 0), nullptr);
  EXPECT_EQ(control.FindKey('A', {}, 0), nullptr);
  control.SetKeyMapping("NoSuchLayout");  // not an error: the default layout
  EXPECT_EQ(control.defaultLayouts, 1);
  EXPECT_NE(control.FindKey('A', {}, 0), nullptr);
}

TEST(KelKeyMapping, TheLayoutNameIsTranslated) {
  TKelTranslateTextProc before = SetTranslateTextProc(
      [](const QString& text) { return text == "Default" ? QStringLiteral("Standard") : text; });
  TTestControl control;
  SetTranslateTextProc(std::move(before));
  EXPECT_EQ(control.KeyMapping(), "Standard");
  EXPECT_EQ(control.focusPolicy(), Qt::StrongFocus);
  control.ensurePolished();
  EXPECT_EQ(control.accessibleName(), "TestControl");
}

}  // namespace
}  // namespace Kel

#include "KelCustomControlTest.moc"
