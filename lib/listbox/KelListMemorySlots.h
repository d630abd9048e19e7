#pragma once
// Memory slots of the parameter list box: named snapshots of its items. A slot made at design
// time is a system slot, which the running program can neither overwrite nor delete.

#include <memory>

#include "KelExport.h"
#include "KelListItems.h"
#include "KelNamedItems.h"

namespace Kel {

class TKelPrmListBox;

// A named item that knows the list box its collection belongs to.
class KEL_EXPORT TKelListNamedItem : public TKelNamedItem {
  Q_OBJECT

 public:
  Q_INVOKABLE explicit TKelListNamedItem(TCollection* collection) : TKelNamedItem(collection) {}
  virtual TKelPrmListBox* OwnerListBox() const;
};

class KEL_EXPORT TKelListMemorySlot : public TKelListNamedItem {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(bool SystemSlot READ SystemSlot WRITE SetSystemSlot)
  Q_CLASSINFO("default:SystemSlot", "False")
  Q_PROPERTY(Kel::TKelListItems* Items READ Items WRITE SetItems)

 public:
  Q_INVOKABLE explicit TKelListMemorySlot(TCollection* collection);
  ~TKelListMemorySlot() override;

  bool SystemSlot() const { return systemSlot_; }
  void SetSystemSlot(bool value) { systemSlot_ = value; }
  TKelListItems* Items() const { return items_.get(); }
  void SetItems(TKelListItems* value);  // copies the items

 private:
  bool systemSlot_ = false;
  std::unique_ptr<TKelListItems> items_;
};

class KEL_EXPORT TKelListMemorySlots : public TKelNamedItems {
  Q_OBJECT

 public:
  explicit TKelListMemorySlots(QObject* owner = nullptr)
      : TKelNamedItems(owner, TKelListMemorySlot::staticMetaObject) {}
  TKelListMemorySlot* Items(int index) const {
    return TCollection::Items<TKelListMemorySlot>(index);
  }
  TKelListMemorySlot* Add() { return TCollection::Add<TKelListMemorySlot>(); }
  // The slot of that name (ignoring case), or nullptr.
  TKelListMemorySlot* Find(const QString& name) const {
    return qobject_cast<TKelListMemorySlot*>(ItemByName(name));
  }
};

}  // namespace Kel
