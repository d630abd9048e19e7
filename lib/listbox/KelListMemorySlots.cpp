#include "KelListMemorySlots.h"

#include "KelPrmListBox.h"

namespace Kel {

namespace {
// The slots' collection is owned by the box (or by something the box owns).
TKelPrmListBox* ListBoxOf(const TCollection* collection) {
  for (QObject* owner = collection ? collection->GetOwner() : nullptr; owner;
       owner = owner->parent())
    if (auto* box = qobject_cast<TKelPrmListBox*>(owner)) return box;
  return nullptr;
}
}  // namespace

TKelPrmListBox* TKelListNamedItem::OwnerListBox() const { return ListBoxOf(Collection()); }

TKelListMemorySlot::TKelListMemorySlot(TCollection* collection) : TKelListNamedItem(collection) {
  // The slot holds items of the kind its box holds, so that a copy loses nothing. (The item
  // joins its collection only after construction: the collection comes from the argument.)
  const TKelPrmListBox* box = ListBoxOf(collection);
  items_ = std::make_unique<TKelListItems>(
      this, box ? box->ListItemClass() : TKelListBoxItem::staticMetaObject);
}

TKelListMemorySlot::~TKelListMemorySlot() = default;

void TKelListMemorySlot::SetItems(TKelListItems* value) {
  if (value && value != items_.get()) items_->Assign(value);
}

}  // namespace Kel
