#include "KelCustomControl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "KelControlsConsts.h"
#include "KelEventErrors.h"
#include "KelDesignState.h"
#include "KelFields.h"
#include "KelMenus.h"
#include "KelTranslate.h"
#include "Menus.h"
#include "VirtualKeys.h"

namespace Kel {

namespace {

// Shift, Ctrl, Alt and the system keys pressed alone: they belong to the next key, so they
// neither fire bindings nor end a key sequence.
bool IsModifierKey(int key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LWIN ||
         key == VK_RWIN || key == VK_CAPITAL;
}

}  // namespace

TKelCustomControl::TKelCustomControl(QWidget* parent)
    : QWidget(parent),
      keyList_(std::make_unique<TKelKeyList>(this)),
      keyMapping_(TranslateText(KelControlsText::DefaultKeyMapping)) {
  setFocusPolicy(Qt::StrongFocus);
}

TKelCustomControl::~TKelCustomControl() = default;

// --- keys

void TKelCustomControl::SetKeyMapping(const QString& value) {
  if (value == keyMapping_) return;
  keyMapping_ = value;
  ApplyKeyMapping();
}

void TKelCustomControl::ApplyKeyMapping() {
  keyMappingApplied_ = true;
  keyList_->Clear();
  if (TKelKeyboardProc proc = FindKeyboardProc(metaObject(), keyMapping_))
    proc(this);
  else
    InitDefaultKeys();
}

void TKelCustomControl::EnsureKeyMapping() {
  if (!keyMappingApplied_) ApplyKeyMapping();
}

TKelKeyData* TKelCustomControl::FindKey(int key, TShiftState shift, int keyState) {
  EnsureKeyMapping();
  return keyList_->FindKey(key, shift, keyState);
}

TShiftState TKelCustomControl::GetShiftState() { return KeyboardShiftState(); }

void TKelCustomControl::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  if ((key == VK_RETURN && !wantReturns_) || (key == VK_TAB && !wantTabs_)) {
    if (!shift.Contains(ssCtrl)) return;
    shift = TShiftState{};  // Ctrl+Enter acts as Enter, Ctrl+Tab as Tab
  }
  if (key == 0 || IsDesigning() || IsModifierKey(key)) return;
  TKelKeyData* binding = FindKey(key, shift, keyState_);
  if (!binding) {
    keyState_ = 0;
    return;
  }
  // The handler may change the layout and with it free the binding.
  const TKelKeyHandler handler = binding->Handler();
  const int nextState = binding->NextState();
  if (handler) handler();
  key = 0;
  keyState_ = nextState;
}

void TKelCustomControl::KeyPress(QChar& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  if (IsDesigning() || keyState_ != 0) return;
  if (!key.isNull() && IsConsumedChar(key)) key = QChar();
}

bool TKelCustomControl::TakesKey(int key, TShiftState shift) {
  if ((key == VK_RETURN && wantReturns_) || (key == VK_TAB && wantTabs_)) return true;
  if (key == VK_RETURN || key == VK_TAB) {
    if (!shift.Contains(ssCtrl)) return false;
    shift = TShiftState{};
  }
  return FindKey(key, shift, keyState_) != nullptr;
}

void TKelCustomControl::keyPressEvent(QKeyEvent* event) {
  const int original = VirtualKeyOf(*event);
  int key = original;
  if (key != 0) {
    KeyDown(key, ShiftStateOf(*event));
    if (key == 0) {
      event->accept();
      return;
    }
  }
  const QString text = event->text();
  if (!text.isEmpty()) {
    QChar ch = text.front();
    KeyPress(ch);
    if (ch.isNull()) {
      event->accept();
      return;
    }
  }
  // Enter and Tab stay with a control that wants them, bound or not.
  if ((original == VK_RETURN && wantReturns_) || (original == VK_TAB && wantTabs_)) {
    event->accept();
    return;
  }
  event->ignore();
}

// Every event of the control passes here, so nothing its handlers raise reaches Qt's event
// loop, which would end the program; the error goes to the event-error handler instead, and
// the event counts as handled.
bool TKelCustomControl::event(QEvent* event) {
  return DispatchGuarded(this, [&] { return DispatchEvent(event); });
}

bool TKelCustomControl::DispatchEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      // QWidget::event moves the focus on Tab before keyPressEvent could see it.
      auto* key = static_cast<QKeyEvent*>(event);
      const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
      if (tab && wantTabs_ && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        keyPressEvent(key);
        return true;
      }
      break;
    }
    case QEvent::ShortcutOverride: {
      // Bound keys (and every key of a pending sequence) come to the control, not to the
      // window's shortcuts.
      auto* key = static_cast<QKeyEvent*>(event);
      const int vk = VirtualKeyOf(*key);
      if (vk != 0 && !IsModifierKey(vk) && (keyState_ != 0 || TakesKey(vk, ShiftStateOf(*key)))) {
        event->accept();
        return true;
      }
      break;
    }
    case QEvent::Polish:
      if (accessibleName().isEmpty()) setAccessibleName(DefaultAccessibleName());
      break;
    default: break;
  }
  return QWidget::event(event);
}

// --- menus

QMenu* TKelCustomControl::PopupMenu() const { return PopupMenuOf(this); }

void TKelCustomControl::SetPopupMenu(QMenu* menu) { Kel::SetPopupMenu(this, menu); }

QMenu* TKelCustomControl::FindPopupMenu() const {
  for (const QWidget* widget = this; widget; widget = widget->parentWidget())
    if (QMenu* menu = PopupMenuOf(widget)) return menu;
  return nullptr;
}

QMenu* TKelCustomControl::ShowContextMenu(int x, int y) {
  QMenu* menu = FindPopupMenu();
  if (defaultPopupMenu_ && (showDefaultPopup_ || mergePopupMenus_)) {
    if (mergedMenu_) mergedMenu_->deleteLater();
    // The handlers bring the items up to date before they are copied.
    emit defaultPopupMenu_->aboutToShow();
    if (menu) emit menu->aboutToShow();
    mergedMenu_ = MergeMenus(defaultPopupMenu_, mergePopupMenus_ ? menu : nullptr, this);
    RemoveInvisibleItems(mergedMenu_);
    TidySeparators(mergedMenu_, 0);
    menu = mergedMenu_ && !mergedMenu_->actions().isEmpty() ? mergedMenu_.data() : nullptr;
  }
  if (!menu) return nullptr;
  SetPopupComponent(menu, this);
  menu->popup(mapToGlobal(QPoint(x, y)));
  return menu;
}

void TKelCustomControl::contextMenuEvent(QContextMenuEvent* event) {
  if (ShowContextMenu(event->pos().x(), event->pos().y()))
    event->accept();
  else
    event->ignore();
}

// --- component traits

void TKelCustomControl::EndLoading() {
  loading_ = false;
  Loaded();
}

QString TKelCustomControl::DefaultAccessibleName() const { return objectName(); }

bool TKelCustomControl::IsDesigning() const { return IsObjectDesigning(this); }

void TKelCustomControl::SetDesigning(bool value) { SetObjectDesigning(this, value); }

}  // namespace Kel
