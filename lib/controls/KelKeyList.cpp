#include "KelKeyList.h"

namespace Kel {

namespace {

const TShiftState kKeyShifts{ssShift, ssAlt, ssCtrl};

quint64 LookupKey(int key, TShiftState shift, int keyState) {
  return (static_cast<quint64>(key & 0xFFFF) << 16) | ((shift * kKeyShifts).Bits() << 8) |
         static_cast<quint64>(keyState & 0xFF);
}

}  // namespace

// --- TKelKeyData

TKelKeyData::TKelKeyData(TCollection* collection) : TKelNamedItem(collection) {}

void TKelKeyData::SetKey(int value) {
  if (value == key_) return;
  key_ = static_cast<quint16>(value);
  Changed();
}

void TKelKeyData::SetShift(TShiftState value) {
  value = value * kKeyShifts;
  if (value == shift_) return;
  shift_ = value;
  Changed();
}

void TKelKeyData::SetState(int value) {
  if (static_cast<quint8>(value) == state_) return;
  state_ = static_cast<quint8>(value);
  Changed();
}

void TKelKeyData::SetNextState(int value) {
  if (static_cast<qint8>(value) == nextState_) return;
  nextState_ = static_cast<qint8>(value);
  Changed();
}

bool TKelKeyData::Matches(int key, TShiftState shift, int keyState) const {
  return key_ == key && shift_ == shift * kKeyShifts &&
         (state_ == (keyState & 0xFF) || state_ == kAnyKeyState);
}

// --- TKelKeyList

TKelKeyList::TKelKeyList(QObject* owner)
    : TKelNamedItems(owner, TKelKeyData::staticMetaObject) {}

TKelKeyData* TKelKeyList::AddKey(int key, TShiftState shift, int nextState, int state,
                                 TKelKeyHandler handler) {
  BeginUpdate();
  auto* binding = Add<TKelKeyData>();
  binding->SetKey(key);
  binding->SetShift(shift);
  binding->SetNextState(nextState);
  binding->SetState(state);
  binding->SetHandler(std::move(handler));
  EndUpdate();
  return binding;
}

TKelKeyData* TKelKeyList::FindKey(int key, TShiftState shift, int keyState) const {
  // Answers are remembered per key, shift and state (not as one last item), so that what is
  // found never depends on which keys were looked up before.
  const quint64 lookup = LookupKey(key, shift, keyState);
  const auto known = found_.constFind(lookup);
  if (known != found_.cend()) return known.value();
  TKelKeyData* result = nullptr;
  for (int i = Count() - 1; i >= 0 && !result; --i)
    if (Items(i)->Matches(key, shift, keyState)) result = Items(i);
  found_.insert(lookup, result);
  return result;
}

void TKelKeyList::Update(TCollectionItem* item) {
  found_.clear();
  TKelNamedItems::Update(item);
}

void TKelKeyList::Notify(TCollectionItem* item, TCollectionNotification action) {
  found_.clear();
  TKelNamedItems::Notify(item, action);
}

}  // namespace Kel
