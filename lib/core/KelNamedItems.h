#pragma once
// Named items and their collections, the base of every list-like property of the library (key
// bindings, record-set styles, fields, templates, list-box conditions, memory slots), and the
// linked item that hears of the destruction of a component it references. Part of unit
// KelClasses.
//
// API summary
//   TKelNamedItem         a collection item with a Name (published by descendants that want it
//                         streamed). DisplayName: the name, passed through the collection's
//                         GetItemDisplayName, or the class name when that is empty. Assign from
//                         any named item copies the published properties both classes have.
//                         IsDesigning(): whether the component the collection belongs to (up the
//                         GetOwner chain) is being designed. Changed(): reports a change of this
//                         item, bindable as another collection's OnCollectionChange.
//   TKelCustomNamedItems  the collection: IndexOfName / ItemByName (ASCII letters compared
//                         ignoring case, the first match wins, names need not be unique), events
//                         OnCollectionChange(sender) and OnItemUpdate(sender, item or nullptr)
//                         after every Update, OnGetItemDisplayName(sender, item, name&).
//   TKelNamedItems        the class descendants and published properties use (adds nothing).
//   TKelLinkedComp        a watcher component without owner or name: OnComponentRemoved(c, op)
//                         when a component it watches is removed.
//   TKelLinkedItem        a named item with a watcher made on first use: LinkComponent(c) asks c
//                         for free notification, after which the destruction of c calls the
//                         virtual ComponentRemoved(c, opRemove) once. The watcher goes with the
//                         item and unlinks itself from everything it watched.

#include <QString>
#include <functional>
#include <memory>

#include "Collection.h"
#include "Component.h"
#include "KelExport.h"

namespace Kel {

class TKelCustomNamedItems;

class KEL_EXPORT TKelNamedItem : public TCollectionItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelNamedItem(TCollection* collection);
  ~TKelNamedItem() override;

  QString Name() const { return name_; }
  virtual void SetName(const QString& value) { name_ = value; }

  QString GetDisplayName() const override;
  // Sets Name without reporting a change.
  void SetDisplayName(const QString& value) override;
  void Assign(TPersistent* source) override;

  bool IsDesigning() const;
  // The change report of this item alone (Changed(false)).
  void Changed() { TCollectionItem::Changed(false); }

 protected:
  using TCollectionItem::Changed;

 private:
  QString name_;
};

class KEL_EXPORT TKelCustomNamedItems : public TCollection {
  Q_OBJECT

 public:
  using TItemDisplayNameEvent =
      std::function<void(TKelCustomNamedItems* sender, TKelNamedItem* item, QString& name)>;
  using TCollectionChangeEvent = std::function<void(TKelCustomNamedItems* sender)>;
  using TItemUpdateEvent = std::function<void(TKelCustomNamedItems* sender, TCollectionItem* item)>;

  // itemClass must describe TKelNamedItem or a descendant.
  TKelCustomNamedItems(QObject* owner, const QMetaObject& itemClass);
  ~TKelCustomNamedItems() override;

  TKelNamedItem* Items(int index) const { return TCollection::Items<TKelNamedItem>(index); }
  template <typename T>
  T* Items(int index) const {
    return TCollection::Items<T>(index);
  }
  TKelNamedItem* Add() { return TCollection::Add<TKelNamedItem>(); }
  template <typename T>
  T* Add() {
    return TCollection::Add<T>();
  }
  using TCollection::Add;

  int IndexOfName(const QString& name) const;
  TKelNamedItem* ItemByName(const QString& name) const;

  virtual void GetItemDisplayName(TKelNamedItem* item, QString& name);

  TItemDisplayNameEvent OnGetItemDisplayName;
  TCollectionChangeEvent OnCollectionChange;
  TItemUpdateEvent OnItemUpdate;

 protected:
  void Update(TCollectionItem* item) override;
};

class KEL_EXPORT TKelNamedItems : public TKelCustomNamedItems {
  Q_OBJECT

 public:
  TKelNamedItems(QObject* owner, const QMetaObject& itemClass)
      : TKelCustomNamedItems(owner, itemClass) {}
};

class KEL_EXPORT TKelLinkedComp : public TComponent {
  Q_OBJECT

 public:
  using TComponentRemovedEvent = std::function<void(TComponent* component, TOperation operation)>;

  Q_INVOKABLE TKelLinkedComp() : TComponent(nullptr) {}

  void Notification(TComponent* component, TOperation operation) override;

  TComponentRemovedEvent OnComponentRemoved;
};

class KEL_EXPORT TKelLinkedItem : public TKelNamedItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelLinkedItem(TCollection* collection);
  ~TKelLinkedItem() override;

  // The watcher, made on first use.
  TKelLinkedComp* LinkComp();
  bool HasLinkComp() const { return linkComp_ != nullptr; }
  // Watches component (nullptr: nothing happens). Several components may share the watcher.
  void LinkComponent(TComponent* component);

 protected:
  // Called when a linked component is removed (destroyed); empty by default.
  virtual void ComponentRemoved(TComponent* component, TOperation operation) {}

 private:
  std::unique_ptr<TKelLinkedComp> linkComp_;
};

}  // namespace Kel
