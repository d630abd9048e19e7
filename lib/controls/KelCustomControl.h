#pragma once
// TKelCustomControl: the base of the library's keyboard-driven controls. Instead of hard-wired
// key handling it looks every key press up in a table of bindings (TKelKeyList), and it shows a
// context menu made of its own default menu and the application's.
//
// Key layouts
//   The bindings come from a key layout chosen by name, KeyMapping ("Default", translated):
//   a keyboard procedure registered for the control's class (or an ancestor) under that name
//   (RegisterKeyboardProc) fills the list; without one, the control's own InitDefaultKeys does.
//   The list is filled when first needed (the first key, FindKey, ApplyKeyMapping), so that the
//   layout sees the descendant completely built, and again whenever KeyMapping changes.
//
// Key presses (KeyDown)
//   OnKeyDown runs first and may change or clear the key. Enter is a key of the control only
//   with WantReturns, Tab only with WantTabs; otherwise Ctrl+Enter / Ctrl+Tab act as plain
//   Enter / Tab bindings, and the plain key goes on to the window (a dialog's default button,
//   focus to the next control). Then the binding of the key, its shift state and the key state
//   fires: its handler runs, the key is consumed and the key state becomes the binding's next
//   state. A key without a binding resets the key state to 0 and goes on to the parent (Esc
//   reaches a dialog, say), apart from the Enter and Tab the control wants.
//   A bound key also wins over the window's shortcuts, and while a key sequence is pending
//   (KeyState other than 0) every key comes to the control.
//   Characters of unbound keys reach KeyPress (OnKeyPress, then IsConsumedChar may swallow
//   them); a key that a binding consumed brings no character.
//
// Context menu
//   The menu key, Shift+F10 or a right click shows ShowContextMenu: the merge of
//   DefaultPopupMenu with the PopupMenu found up the parent chain (see ShowContextMenu).
//
// The control takes keyboard focus like a Qt widget (click and Tab) and gets an accessible name
// from DefaultAccessibleName unless one was set.

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "KelExport.h"
#include "KelKeyList.h"
#include "ShiftState.h"



namespace Kel {

class KEL_EXPORT TKelCustomControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
  Q_CLASSINFO("default:WantTabs", "False")
  Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
  Q_CLASSINFO("default:WantReturns", "True")
  Q_PROPERTY(QString KeyMapping READ KeyMapping WRITE SetKeyMapping)
  Q_PROPERTY(bool ShowDefaultPopup READ ShowDefaultPopup WRITE SetShowDefaultPopup)
  Q_CLASSINFO("default:ShowDefaultPopup", "True")
  Q_PROPERTY(bool MergePopupMenus READ MergePopupMenus WRITE SetMergePopupMenus)
  Q_CLASSINFO("default:MergePopupMenus", "False")

 public:
  using TKeyEvent = std::function<void(TKelCustomControl* sender, int& key, TShiftState shift)>;
  using TKeyPressEvent = std::function<void(TKelCustomControl* sender, QChar& key)>;

  explicit TKelCustomControl(QWidget* parent = nullptr);
  ~TKelCustomControl() override;

  // --- keys
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  QString KeyMapping() const { return keyMapping_; }
  // Chooses another layout and fills the key list from it (nothing when the name is the same).
  void SetKeyMapping(const QString& value);
  // Empties the key list and fills it from the layout of KeyMapping.
  void ApplyKeyMapping();
  // The bindings (not filled before the first need: see the header comment).
  TKelKeyList* KeyList() const { return keyList_.get(); }
  int KeyState() const { return keyState_; }
  void SetKeyState(int value) { keyState_ = value; }
  TKelKeyData* FindKey(int key, TShiftState shift, int keyState);
  TKelKeyData* AddKey(int key, TShiftState shift, int nextState, int state,
                      TKelKeyHandler handler) {
    return keyList_->AddKey(key, shift, nextState, state, std::move(handler));
  }
  TKelKeyData* AddKey(int key, TShiftState shift, TKelKeyHandler handler) {
    return keyList_->AddKey(key, shift, std::move(handler));
  }
  TKelKeyData* AddKey(int key, TKelKeyHandler handler) {
    return keyList_->AddKey(key, std::move(handler));
  }
  // Shift, Ctrl and Alt as they are down at this moment.
  static TShiftState GetShiftState();

  // --- menus
  bool ShowDefaultPopup() const { return showDefaultPopup_; }
  void SetShowDefaultPopup(bool value) { showDefaultPopup_ = value; }
  bool MergePopupMenus() const { return mergePopupMenus_; }
  void SetMergePopupMenus(bool value) { mergePopupMenus_ = value; }
  // The control's own menu (a descendant supplies it; not owned).
  QMenu* DefaultPopupMenu() const { return defaultPopupMenu_; }
  void SetDefaultPopupMenu(QMenu* menu) { defaultPopupMenu_ = menu; }
  // The application's context menu of this control (not owned).
  QMenu* PopupMenu() const;
  void SetPopupMenu(QMenu* menu);
  // The PopupMenu of this control, else of its parent, and so on upwards; nullptr if none.
  QMenu* FindPopupMenu() const;
  // The last menu built by merging (owned; replaced by the next one).
  QMenu* MergedMenu() const { return mergedMenu_; }
  // Shows the context menu at the client point (x, y) and returns it (nullptr when there is
  // nothing to show):
  //  1. m := FindPopupMenu();
  //  2. with a DefaultPopupMenu and ShowDefaultPopup or MergePopupMenus: the default menu's
  //     aboutToShow handlers run, then m's; m := MergeMenus(default, m if MergePopupMenus),
  //     without its invisible items and with tidy separators, or nothing when that is empty;
  //  3. m pops up with this control as its popup component.
  QMenu* ShowContextMenu(int x, int y);

  // --- component traits
  bool IsDesigning() const { return designing_; }
  void SetDesigning(bool value) { designing_ = value; }
  bool IsLoading() const { return loading_; }
  // Loading brackets a reader's property assignments; its end calls Loaded().
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

 protected:
  // Fills the key list when no registered layout matches KeyMapping.
  virtual void InitDefaultKeys() = 0;
  // Whether a typed character is swallowed (only while no key sequence is pending).
  virtual bool IsConsumedChar(QChar key) const { return false; }
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyPress(QChar& key);
  virtual void Loaded() {}
  // The accessible name given when none was set: the object's name by default.
  virtual QString DefaultAccessibleName() const;

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void EnsureKeyMapping();
  // Whether key with shift is one the control takes: bound (after the Enter and Tab rule), or
  // an Enter / Tab it wants.
  bool TakesKey(int key, TShiftState shift);

  std::unique_ptr<TKelKeyList> keyList_;
  QString keyMapping_;
  bool keyMappingApplied_ = false;
  int keyState_ = 0;
  bool wantTabs_ = false;
  bool wantReturns_ = true;
  bool showDefaultPopup_ = true;
  bool mergePopupMenus_ = false;
  QPointer<QMenu> defaultPopupMenu_;
  QPointer<QMenu> mergedMenu_;
  bool designing_ = false;
  bool loading_ = false;
};

}  // namespace Kel
