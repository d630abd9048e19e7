#pragma once
// Key bindings: TKelKeyData binds a virtual key with a shift state, in a key state, to a handler;
// TKelKeyList holds a control's bindings and finds the one for a key press.
//
// Key states make key sequences: a binding applies in its State (255: in any state) and leaves
// the control in its NextState, where the next key is looked up. Among bindings with the same
// key, shift and state, the one added later wins; a binding for the exact state and one for any
// state (255) compete the same way, by order. A binding without a handler only swallows its key.
// The shift set counts Shift, Alt and Ctrl and must match exactly.
//
// FindKey remembers its answers until the list changes, so repeated keys cost one look-up.

#include <QHash>
#include <functional>

#include "KelExport.h"
#include "KelNamedItems.h"
#include "ShiftState.h"

namespace Kel {

using TKelKeyHandler = std::function<void()>;

// State value of a binding that applies in every key state.
inline constexpr int kAnyKeyState = 255;

class KEL_EXPORT TKelKeyData : public TKelNamedItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelKeyData(TCollection* collection);

  int Key() const { return key_; }
  void SetKey(int value);
  TShiftState Shift() const { return shift_; }
  void SetShift(TShiftState value);
  int State() const { return state_; }  // 0..255
  void SetState(int value);
  int NextState() const { return nextState_; }  // -128..127
  void SetNextState(int value);
  const TKelKeyHandler& Handler() const { return handler_; }
  void SetHandler(TKelKeyHandler handler) { handler_ = std::move(handler); }

  // Whether this binding answers key with shift in the key state (its low 8 bits).
  bool Matches(int key, TShiftState shift, int keyState) const;

 private:
  quint16 key_ = 0;
  TShiftState shift_;
  quint8 state_ = 0;
  qint8 nextState_ = 0;
  TKelKeyHandler handler_;
};

class KEL_EXPORT TKelKeyList : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelKeyList(QObject* owner = nullptr);

  TKelKeyData* Items(int index) const { return TKelNamedItems::Items<TKelKeyData>(index); }
  // Appends a binding; Shift is masked to Shift, Alt and Ctrl.
  TKelKeyData* AddKey(int key, TShiftState shift, int nextState, int state,
                      TKelKeyHandler handler);
  TKelKeyData* AddKey(int key, TShiftState shift, TKelKeyHandler handler) {
    return AddKey(key, shift, 0, 0, std::move(handler));
  }
  TKelKeyData* AddKey(int key, TKelKeyHandler handler) {
    return AddKey(key, TShiftState{}, 0, 0, std::move(handler));
  }
  // The binding of key with exactly shift in keyState (its low 8 bits) or in any state: the
  // last one added of those that match; nullptr when none does.
  TKelKeyData* FindKey(int key, TShiftState shift, int keyState) const;

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  mutable QHash<quint64, TKelKeyData*> found_;
};

// The classic free forms.
inline TKelKeyData* AddKey(TKelKeyList* list, int key, TShiftState shift, int nextState, int state,
                           TKelKeyHandler handler) {
  return list->AddKey(key, shift, nextState, state, std::move(handler));
}
inline TKelKeyData* AddKey(TKelKeyList* list, int key, TShiftState shift, TKelKeyHandler handler) {
  return list->AddKey(key, shift, std::move(handler));
}
inline TKelKeyData* AddKey(TKelKeyList* list, int key, TKelKeyHandler handler) {
  return list->AddKey(key, std::move(handler));
}

}  // namespace Kel
