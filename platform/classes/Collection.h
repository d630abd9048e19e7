#pragma once
// TCollection and TCollectionItem: an ordered list of owned items of one item class, the form in
// which list-like published properties are kept and streamed.
//
// API summary
//   Item class   a QMetaObject of a TCollectionItem descendant whose Q_INVOKABLE constructor
//                takes a TCollection* (Q_INVOKABLE explicit TMyItem(Kel::TCollection* c)).
//                ItemClass() returns it; Add() creates one through it.
//   Items        Count(), Items(i) (EListError "List index out of bounds (i)"), Items<T>(i),
//                Add(), Add<T>(), Add(itemClass), Insert(i), Delete(i), Clear(), FindItemID(id).
//                The collection owns its items and frees them when deleted, cleared or
//                destroyed. An item made by Add() joins the collection when its constructor
//                has finished, so Notify and Update see the whole item (one made with
//                `new TMyItem(collection)` joins from TCollectionItem's constructor).
//   Item         Collection() / SetCollection() (moves the item between collections), ID()
//                (unique in its collection, never reused), Index() / SetIndex(),
//                DisplayName() / GetDisplayName() (class name by default) / SetDisplayName(),
//                GetNamePath() ("Owner.Prop[2]").
//   Changes      an item calls Changed(allItems) after changing itself; the collection calls
//                the virtual Update(item) (item nullptr: the whole collection changed) unless
//                inside BeginUpdate/EndUpdate; the outermost EndUpdate calls Update(nullptr).
//                Adding and removing items report Update(nullptr) too, and Notify(item,
//                cnAdded / cnExtracting / cnDeleting) for each item.
//   Assign       a collection assigned from a collection: cleared, then one item added and
//                assigned per source item, inside one update bracket (assigning a collection to
//                itself changes nothing).
//   Owner        GetOwner() is the owner given at construction (the object publishing the
//                collection as a property); TOwnedCollection is the same with the owner first.
//
// The collection is not a component: whoever creates it frees it (usually its owner, through a
// std::unique_ptr member). Items are not QObject children of the collection.

#include <QPointer>
#include <QString>
#include <vector>

#include "Persistent.h"
#include "PlatformExport.h"

namespace Kel {

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class KEL_PLATFORM_EXPORT TCollectionItem : public TPersistent {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  virtual void SetCollection(TCollection* value);
  int ID() const { return id_; }
  int Index() const;
  virtual void SetIndex(int value);
  QString DisplayName() const { return GetDisplayName(); }
  virtual QString GetDisplayName() const;
  virtual void SetDisplayName(const QString& value);

  QObject* GetOwner() const override;
  QString GetNamePath() const override;

 protected:
  // Tells the collection that this item (or, with allItems, the whole collection) changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
  bool inserted_ = false;  // false while Add() is still constructing the item
};

class KEL_PLATFORM_EXPORT TCollection : public TPersistent {
  Q_OBJECT

 public:
  // itemClass must describe a TCollectionItem descendant (EInvalidCast otherwise).
  explicit TCollection(const QMetaObject& itemClass, QObject* owner = nullptr);
  ~TCollection() override;

  const QMetaObject& ItemClass() const { return *itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  template <typename T>
  T* Items(int index) const {
    return qobject_cast<T*>(Items(index));
  }

  TCollectionItem* Add();
  // An item of itemClass, which must be ItemClass() or derive from it (EInvalidCast otherwise).
  TCollectionItem* Add(const QMetaObject& itemClass);
  template <typename T>
  T* Add() {
    return qobject_cast<T*>(Add());
  }
  // A new item at index (EListError when index is not in 0..Count()).
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(TPersistent* source) override;
  QObject* GetOwner() const override { return owner_; }
  QString GetNamePath() const override;
  // The name of the owner's published property that holds this collection ('' if none).
  QString PropName() const;

 protected:
  // Reports a change of the whole collection unless updates are suspended.
  void Changed();
  // Called after an item (or, with nullptr, the collection as a whole) changed.
  virtual void Update(TCollectionItem* item) {}
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
  // Gives a newly inserted item its name where descendants name items.
  virtual void SetItemName(TCollectionItem* item) {}

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void FreeItem(TCollectionItem* item);
  [[noreturn]] static void IndexError(int index);

  const QMetaObject* itemClass_;
  QPointer<QObject> owner_;  // cleared if the owner goes first
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
  // The item under construction in Add(): it joins the collection once fully constructed.
  TCollectionItem* pendingItem_ = nullptr;
  bool creatingItem_ = false;
};

// A collection with an owner, in the classic argument order.
class KEL_PLATFORM_EXPORT TOwnedCollection : public TCollection {
  Q_OBJECT

 public:
  TOwnedCollection(QObject* owner, const QMetaObject& itemClass) : TCollection(itemClass, owner) {}
};

}  // namespace Kel
