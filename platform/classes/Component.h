#pragma once
// TComponent: a persistent object with an owner, a name unique among its owner's components, a
// component state and free notification.
//
// API summary
//   Ownership   TComponent(owner) inserts the new component into owner. An owner frees what it
//               owns when it is destroyed, last inserted first. Owner(), Components(i),
//               ComponentCount(), ComponentIndex(), InsertComponent(c) (takes c from its old
//               owner), RemoveComponent(c) (c lives on without owner).
//   Names       Name() / SetName() (= objectName). A name must be an identifier (letters, digits,
//               '_', not starting with a digit) or empty: "'x y' is not a valid component name";
//               two components of one owner cannot share a name, compared ignoring case:
//               "A component named Button1 already exists". FindComponent(name) ignores case.
//   State       ComponentState() (a TSet of csLoading, csReading, ... csDestroying),
//               SetDesigning(), Loaded() (virtual; clears csLoading), SetLoading / SetReading /
//               SetWriting for the stream reader and writer.
//   Notification
//               virtual Notification(component, opInsert / opRemove). Inserting component C into
//               owner O tells O and every component in O's ownership tree (C's own tree apart)
//               with opInsert. Removing C from O, or destroying C, tells the same components
//               plus every component linked with C by FreeNotification with opRemove, each
//               exactly once; a destroyed component is then gone from every list, so nobody
//               keeps a dangling pointer to it. FreeNotification(c) links both ways (either one
//               hears of the other's destruction); RemoveFreeNotification(c) unlinks.
//   Streaming   virtual GetChildren(proc, root): the child components a writer stores with this
//               one (none by default). BeginGlobalLoading / NotifyGlobalLoading /
//               EndGlobalLoading: a reader inside the bracket collects the components it reads
//               (AddGlobalLoaded) and NotifyGlobalLoading calls their Loaded() afterwards.
//
// Published: Tag (int, default 0). Name travels in the component-stream header, not as a
// property.

#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "Persistent.h"
#include "PlatformExport.h"
#include "Set.h"

namespace Kel {

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* child)>;

class KEL_PLATFORM_EXPORT TComponent : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)
  Q_CLASSINFO("default:Tag", "0")

 public:
  Q_INVOKABLE explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;

  // --- ownership
  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EListError "List index out of bounds (i)" for a bad index.
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last inserted first.
  void DestroyComponents();

  // --- names
  QString Name() const { return objectName(); }
  virtual void SetName(const QString& newName);
  TComponent* FindComponent(const QString& name) const;
  static bool IsValidIdent(const QString& name);

  // --- state
  TComponentState ComponentState() const { return state_; }
  void SetDesigning(bool value, bool setChildren = true);
  void SetLoading(bool value) { SetState(csLoading, value); }
  void SetReading(bool value) { SetState(csReading, value); }
  void SetWriting(bool value) { SetState(csWriting, value); }
  void SetAncestor(bool value) { SetState(csAncestor, value); }
  void SetInline(bool value) { SetState(csInline, value); }
  bool IsDestroying() const { return state_.Contains(csDestroying); }
  virtual void Loaded();

  // --- notification
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  virtual void Notification(TComponent* component, TOperation operation);

  // --- streaming
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root) {}
  QObject* GetOwner() const override { return owner_; }
  QString GetNamePath() const override { return Name(); }

  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

 protected:
  // Checks a rename of component (owned by this one) from curName to newName.
  virtual void ValidateRename(TComponent* component, const QString& curName,
                              const QString& newName) const;
  // Marks this component and everything it owns as being destroyed.
  void Destroying();

 private:
  void SetState(TComponentStateItem item, bool value);
  void Remove(TComponent* component);
  // Calls Notification(subject, operation) once on every component that must hear of subject
  // being inserted into or removed from owner (and, when destroyed, on its free-notification
  // partners).
  static void NotifyAbout(TComponent* subject, TComponent* owner, TOperation operation,
                          bool destroying);
  void UnlinkFreeNotification(TComponent* component);
  bool OwnsDirectlyOrIndirectly(const TComponent* component) const;

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
  int tag_ = 0;
};

// The global-loading bracket of component-stream reading. Brackets nest; each level has its own
// list of loaded components.
KEL_PLATFORM_EXPORT void BeginGlobalLoading();
// Calls Loaded() on every component collected since the innermost BeginGlobalLoading (those
// destroyed meanwhile are skipped).
KEL_PLATFORM_EXPORT void NotifyGlobalLoading();
KEL_PLATFORM_EXPORT void EndGlobalLoading();
KEL_PLATFORM_EXPORT bool IsGlobalLoading();
// Collects component for NotifyGlobalLoading; false when no bracket is open (the reader then
// calls Loaded() itself).
KEL_PLATFORM_EXPORT bool AddGlobalLoaded(TComponent* component);

// Opens a global-loading bracket for its lifetime; End is called on every path.
class TGlobalLoadingScope {
 public:
  TGlobalLoadingScope() { BeginGlobalLoading(); }
  ~TGlobalLoadingScope() { EndGlobalLoading(); }
  TGlobalLoadingScope(const TGlobalLoadingScope&) = delete;
  TGlobalLoadingScope& operator=(const TGlobalLoadingScope&) = delete;
};

}  // namespace Kel
