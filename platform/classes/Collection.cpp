#include "Collection.h"

#include <algorithm>

#include "ClassRegistry.h"
#include "ClassesConsts.h"
#include "Exceptions.h"
#include "RestoreOnExit.h"
#include "TypInfo.h"
#include "UpdateBracket.h"

namespace Kel {

// --- TCollectionItem --------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) : TPersistent(nullptr) {
  if (!collection) return;
  if (collection->creatingItem_ && !collection->pendingItem_) {
    // Made by Add(): known to its collection at once, listed when fully constructed.
    collection->pendingItem_ = this;
    collection_ = collection;
    return;
  }
  collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_ && inserted_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value) {
  if (value == collection_ && (inserted_ || value == nullptr)) return;
  // Refused before the item leaves its old collection, so a refusal changes nothing.
  if (value && !InheritsFrom(metaObject(), value->itemClass_)) {
    throw EInvalidCast(RtlMessage(ClassesText::InvalidItemClass, ClassName(),
                                  TPersistent::ClassNameOf(*value->itemClass_)));
  }
  if (collection_ && inserted_) collection_->RemoveItem(this);
  collection_ = nullptr;
  if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_ || !inserted_) return -1;
  const auto& items = collection_->items_;
  const auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value) {
  const int current = Index();
  if (current < 0 || current == value) return;
  auto& items = collection_->items_;
  if (value < 0 || value >= static_cast<int>(items.size())) TCollection::IndexError(value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + value, this);
  Changed(true);
}

QString TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const QString&) { Changed(false); }

QObject* TCollectionItem::GetOwner() const { return collection_; }

QString TCollectionItem::GetNamePath() const {
  if (!collection_) return ClassName();
  return QStringLiteral("%1[%2]").arg(collection_->GetNamePath()).arg(Index());
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && inserted_ && collection_->updateCount_ == 0)
    collection_->Update(allItems ? nullptr : this);
}

// --- TCollection ------------------------------------------------------------------------------

TCollection::TCollection(const QMetaObject& itemClass, QObject* owner)
    : TPersistent(nullptr), itemClass_(&itemClass), owner_(owner) {
  if (!InheritsFrom(&itemClass, &TCollectionItem::staticMetaObject))
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
}

TCollection::~TCollection() {
  // No change reports from a collection that is going away.
  updateCount_ = 1;
  while (!items_.empty()) FreeItem(items_.back());
}

void TCollection::FreeItem(TCollectionItem* item) {
  // Taken out while still whole, so Notify(cnExtracting) sees the complete item.
  RemoveItem(item);
  delete item;
}

void TCollection::IndexError(int index) {
  throw EListError(RtlMessage(RtlText::ListIndexError, index));
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return Add(*itemClass_); }

TCollectionItem* TCollection::Add(const QMetaObject& itemClass) {
  if (!InheritsFrom(&itemClass, itemClass_)) {
    throw EInvalidCast(RtlMessage(ClassesText::InvalidItemClass,
                                  TPersistent::ClassNameOf(itemClass),
                                  TPersistent::ClassNameOf(*itemClass_)));
  }
  // The construction markers come back on every path, also when the constructor throws.
  RestoreOnExit<bool> creating(creatingItem_, true);
  RestoreOnExit<TCollectionItem*> pending(pendingItem_, nullptr);
  TCollection* self = this;
  QObject* object = ConstructWith(itemClass, QMetaType::fromType<TCollection*>(), &self);
  if (!object)
    throw EComponentError(
        RtlMessage(ClassesText::CannotCreate, TPersistent::ClassNameOf(itemClass)));
  auto* item = static_cast<TCollectionItem*>(object);
  if (item == pendingItem_ && !item->inserted_) {
    pendingItem_ = nullptr;
    InsertItem(item);
  }
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) IndexError(index);
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  FreeItem(item);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  WithinUpdate(*this, [&] {
    while (!items_.empty()) FreeItem(items_.back());
  });
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* source) {
  auto* other = qobject_cast<TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  // Clearing first would empty the source too.
  if (other == this) return;
  WithinUpdate(*this, [&] {
    Clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
  });
}

QString TCollection::PropName() const {
  const QObject* owner = owner_.data();
  if (!owner) return QString();
  for (const TypInfo::TPropInfo& prop : TypInfo::GetPropList(*owner->metaObject())) {
    if (prop.Kind() == TypInfo::TPropKind::pkClass &&
        TypInfo::GetObjectProp(owner, prop) == static_cast<const QObject*>(this))
      return QString::fromLatin1(prop.Name());
  }
  return QString();
}

QString TCollection::GetNamePath() const {
  const QString className = ClassName();
  const QString ownerPath = TPersistent::NamePathOf(owner_.data());
  if (ownerPath.isEmpty()) return className;
  const QString prop = PropName();
  if (prop.isEmpty()) return className;
  return ownerPath + u'.' + prop;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->inserted_ = true;
  item->id_ = nextId_++;
  SetItemName(item);
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->collection_ = nullptr;
  item->inserted_ = false;
  Changed();
}

}  // namespace Kel
