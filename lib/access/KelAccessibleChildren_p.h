#pragma once
// Accessible children that have no QObject of their own (a calendar's days, a calculator's
// buttons, the add line of a list box) are made when a screen reader first asks for them and
// kept in Qt's accessible cache under a key of their parent's choosing, so that the same part is
// always the same object to the reader. The parent's interface owns them: they go with it, or
// earlier when they no longer stand for anything (Forget, Clear).

#include <QAccessible>
#include <QHash>

namespace Kel {

// A part that a reader presses (a button, a row): Base's interface with the action interface
// beside it. Press is its action unless the part says otherwise; it has no key bindings unless
// it says otherwise.
template <typename Base>
class TKelPressablePart : public Base, public QAccessibleActionInterface {
 public:
  using Base::Base;
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return Base::interface_cast(type);
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

template <typename Key>
class TKelAccessibleChildren {
 public:
  TKelAccessibleChildren() = default;
  TKelAccessibleChildren(const TKelAccessibleChildren&) = delete;
  TKelAccessibleChildren& operator=(const TKelAccessibleChildren&) = delete;
  ~TKelAccessibleChildren() { Clear(); }

  // The child kept under key, made by make() (a new interface) when there is none yet.
  template <typename Make>
  QAccessibleInterface* Get(const Key& key, Make make) {
    if (const auto it = ids_.constFind(key); it != ids_.cend()) {
      if (QAccessibleInterface* kept = QAccessible::accessibleInterface(*it)) return kept;
    }
    QAccessibleInterface* made = make();
    ids_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
  }

  void Forget(const Key& key) {
    if (const auto it = ids_.find(key); it != ids_.end()) {
      QAccessible::deleteAccessibleInterface(it.value());
      ids_.erase(it);
    }
  }

  void Clear() {
    for (const QAccessible::Id id : std::as_const(ids_)) QAccessible::deleteAccessibleInterface(id);
    ids_.clear();
  }

  int Count() const { return int(ids_.size()); }

 private:
  QHash<Key, QAccessible::Id> ids_;
};

}  // namespace Kel
