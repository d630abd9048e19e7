#pragma once
// Classes the component-stream fuzz targets read into: an item with a published property of every
// kind (nested collection and string list included) and a component owning such a collection.
// Included by each target together with its moc output ("moc_StreamFuzzClasses.cpp").

#include <QPointer>
#include <cstdlib>
#include <memory>

#include "ClassRegistry.h"
#include "Collection.h"
#include "Component.h"
#include "Currency.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include "KelPersHolder.h"
#include "Set.h"
#include "Streams.h"
#include "Strings.h"
#include "Variant.h"

namespace KelFuzz {
Q_NAMESPACE
enum TFuzzKind { fkOne, fkTwo, fkThree };
Q_ENUM_NS(TFuzzKind)
}  // namespace KelFuzz

KEL_DECLARE_SET(KelFuzz::TFuzzKind, KelFuzz_TFuzzKind)

namespace KelFuzz {

using TFuzzKinds = Kel::TSet<TFuzzKind>;
class TFuzzItems;

class TFuzzItem : public Kel::TCollectionItem {
  Q_OBJECT
  Q_PROPERTY(QString Name MEMBER name)
  Q_PROPERTY(int Count MEMBER count)
  Q_CLASSINFO("default:Count", "0")
  Q_PROPERTY(qint64 Big MEMBER big)
  Q_PROPERTY(QChar Letter MEMBER letter)
  Q_PROPERTY(KelFuzz::TFuzzKind Kind MEMBER kind)
  Q_CLASSINFO("default:Kind", "fkOne")
  Q_PROPERTY(KelFuzz::TFuzzKinds Kinds MEMBER kinds)
  Q_PROPERTY(bool Checked MEMBER checked)
  Q_PROPERTY(double Amount READ Amount WRITE SetAmount)
  Q_PROPERTY(float Small READ Small WRITE SetSmall)
  Q_PROPERTY(double When READ When WRITE SetWhen)
  Q_CLASSINFO("datetime:When", "true")
  Q_PROPERTY(Kel::Currency Price MEMBER price)
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue)
  Q_PROPERTY(Kel::TStrings* Lines READ Lines WRITE SetLines)
  Q_PROPERTY(Kel::TComponent* Link READ Link WRITE SetLink)
  Q_PROPERTY(Kel::TCollection* Children READ Children WRITE SetChildren)

 public:
  Q_INVOKABLE explicit TFuzzItem(Kel::TCollection* collection) : TCollectionItem(collection) {}
  ~TFuzzItem() override;

  // Plain accessors where a MEMBER property's compare-before-assign would lose something: the
  // variant rules (1 equals 1.0) and -0.0 equal to 0.0.
  double Amount() const { return amount; }
  void SetAmount(double v) { amount = v; }
  float Small() const { return small; }
  void SetSmall(float v) { small = v; }
  double When() const { return when; }
  void SetWhen(double v) { when = v; }
  Kel::Variant Value() const { return value; }
  void SetValue(const Kel::Variant& v) { value = v; }
  Kel::TStrings* Lines() const { return lines_.get(); }
  void SetLines(Kel::TStrings* value) {
    if (value) lines_->Assign(*value);
  }
  Kel::TComponent* Link() const { return link_; }
  void SetLink(Kel::TComponent* value) { link_ = value; }
  Kel::TCollection* Children() const;
  void SetChildren(Kel::TCollection* value);

  QString name;
  int count = 0;
  qint64 big = 0;
  QChar letter;
  TFuzzKind kind = fkOne;
  TFuzzKinds kinds;
  bool checked = false;
  double amount = 0;
  float small = 0;
  double when = 0;
  Kel::Currency price;
  Kel::Variant value;

 private:
  std::unique_ptr<Kel::TStringList> lines_ = std::make_unique<Kel::TStringList>();
  QPointer<Kel::TComponent> link_;
  mutable std::unique_ptr<TFuzzItems> children_;
};

class TFuzzItems : public Kel::TOwnedCollection {
  Q_OBJECT

 public:
  explicit TFuzzItems(QObject* owner) : TOwnedCollection(owner, TFuzzItem::staticMetaObject) {}
};

inline TFuzzItem::~TFuzzItem() = default;

inline Kel::TCollection* TFuzzItem::Children() const {
  if (!children_) children_ = std::make_unique<TFuzzItems>(const_cast<TFuzzItem*>(this));
  return children_.get();
}

inline void TFuzzItem::SetChildren(Kel::TCollection* value) { Children()->Assign(value); }

// A component owning a collection, with a child-free body: what streams name when they are
// read without an instance.
class TFuzzOwner : public Kel::TComponent {
  Q_OBJECT
  Q_PROPERTY(Kel::TCollection* Items READ Items WRITE SetItems)
  Q_PROPERTY(Kel::TComponent* Link READ Link WRITE SetLink)

 public:
  Q_INVOKABLE explicit TFuzzOwner(Kel::TComponent* owner = nullptr)
      : TComponent(owner), items_(this) {}
  Kel::TCollection* Items() { return &items_; }
  void SetItems(Kel::TCollection* value) { items_.Assign(value); }
  Kel::TComponent* Link() const { return link_; }
  void SetLink(Kel::TComponent* value) { link_ = value; }

 private:
  TFuzzItems items_;
  QPointer<Kel::TComponent> link_;
};

// Registers the classes and pins the settings, once.
inline void InitStreamFuzzing() {
  static const bool done = [] {
    Kel::SetFormatSettings(Kel::TFormatSettings::Invariant());
    Kel::RegisterClasses({&TFuzzItem::staticMetaObject, &TFuzzOwner::staticMetaObject});
    return true;
  }();
  (void)done;
}

// What was read must write, read back and write again to the same bytes, and its text form
// must read back: anything else is a fault of the reader or the writer.
inline void CheckRoundTrip(TFuzzItems& items) {
  Kel::TMemoryStream first;
  try {
    Kel::WriteCollection(first, &items);
  } catch (const Kel::EWriteError&) {
    return;  // values the format cannot hold (a Null inside a list) are refused, not written
  }
  TFuzzItems copy(nullptr);
  first.SetPosition(0);
  Kel::ReadCollection(first, &copy);
  Kel::TMemoryStream second;
  Kel::WriteCollection(second, &copy);
  if (first.Bytes() != second.Bytes()) std::abort();
  Kel::TMemoryStream text;
  Kel::WriteCollectionText(text, &items);
  text.SetPosition(0);
  TFuzzItems fromText(nullptr);
  Kel::ReadCollectionText(text, &fromText);
  if (fromText.Count() != items.Count()) std::abort();
}

}  // namespace KelFuzz
