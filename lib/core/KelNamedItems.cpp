#include "KelNamedItems.h"

#include "ClassRegistry.h"
#include "Exceptions.h"
#include "KelDesignState.h"
#include "KelPublishedProps.h"
#include "StrUtils.h"

namespace Kel {

// --- TKelNamedItem ----------------------------------------------------------------------------

TKelNamedItem::TKelNamedItem(TCollection* collection) : TCollectionItem(collection) {}

TKelNamedItem::~TKelNamedItem() = default;

QString TKelNamedItem::GetDisplayName() const {
  QString name = name_;
  if (auto* items = qobject_cast<TKelCustomNamedItems*>(Collection()))
    items->GetItemDisplayName(const_cast<TKelNamedItem*>(this), name);
  return name.isEmpty() ? TCollectionItem::GetDisplayName() : name;
}

void TKelNamedItem::SetDisplayName(const QString& value) { name_ = value; }

void TKelNamedItem::Assign(TPersistent* source) {
  if (qobject_cast<TKelNamedItem*>(source)) {
    CopyPublishedProps(source, this);
    return;
  }
  TCollectionItem::Assign(source);
}

bool TKelNamedItem::IsDesigning() const { return IsObjectDesigning(this); }

// --- TKelCustomNamedItems ---------------------------------------------------------------------

TKelCustomNamedItems::TKelCustomNamedItems(QObject* owner, const QMetaObject& itemClass)
    : TCollection(itemClass, owner) {
  if (!InheritsFrom(&itemClass, &TKelNamedItem::staticMetaObject))
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
}

TKelCustomNamedItems::~TKelCustomNamedItems() {
  // The events belong to objects that may be going away with this collection.
  OnGetItemDisplayName = nullptr;
  OnCollectionChange = nullptr;
  OnItemUpdate = nullptr;
}

int TKelCustomNamedItems::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(Items(i)->Name(), name) == 0) return i;
  return -1;
}

TKelNamedItem* TKelCustomNamedItems::ItemByName(const QString& name) const {
  const int index = IndexOfName(name);
  return index >= 0 ? Items(index) : nullptr;
}

void TKelCustomNamedItems::GetItemDisplayName(TKelNamedItem* item, QString& name) {
  if (OnGetItemDisplayName) OnGetItemDisplayName(this, item, name);
}

void TKelCustomNamedItems::Update(TCollectionItem* item) {
  TCollection::Update(item);
  if (OnCollectionChange) OnCollectionChange(this);
  if (OnItemUpdate) OnItemUpdate(this, item);
}

// --- TKelLinkedComp ---------------------------------------------------------------------------

void TKelLinkedComp::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && OnComponentRemoved) OnComponentRemoved(component, operation);
}

// --- TKelLinkedItem ---------------------------------------------------------------------------

TKelLinkedItem::TKelLinkedItem(TCollection* collection) : TKelNamedItem(collection) {}

TKelLinkedItem::~TKelLinkedItem() {
  if (linkComp_) {
    // The item is going: the watcher must not call back into it while it unlinks itself.
    linkComp_->OnComponentRemoved = nullptr;
    linkComp_.reset();
  }
}

TKelLinkedComp* TKelLinkedItem::LinkComp() {
  if (!linkComp_) {
    linkComp_ = std::make_unique<TKelLinkedComp>();
    linkComp_->OnComponentRemoved = [this](TComponent* component, TOperation operation) {
      ComponentRemoved(component, operation);
    };
  }
  return linkComp_.get();
}

void TKelLinkedItem::LinkComponent(TComponent* component) {
  if (!component) return;
  component->FreeNotification(LinkComp());
}

}  // namespace Kel
