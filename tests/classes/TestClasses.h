#pragma once
// Test classes of the object model with a published property of every kind, shared by the
// tests in this folder (property access, defaults, collections, components) and meant for
// component-stream round trips as well: register them with RegisterTestClasses() before a
// stream reader has to create them by name.
//
//   TTestFont       a TPersistent sub-object (Name 'Sans', Size 8, Style [] by default), copied
//                   by Assign when set as a property.
//   TTestItem       a collection item: Name, Count, Big, Letter, Kind, Kinds, Checked, Ratio,
//                   When (date-time), Price (currency), Value (variant), Lines (string list),
//                   Font, Amount (float without declared default: always stored), Children (a
//                   nested TTestCollection). Every property except Amount and Children starts at
//                   its declared default, so a fresh item streams as Amount and Children only.
//   TTestCollection the collection of TTestItem, with a log of Update and Notify calls.
//   TTestComponent  a component with the same scalar kinds, a component reference Link that is
//                   cleared by free notification, Items, Lines, Font, a Hint with a "stored"
//                   rule of its own (stored only when ShowHint), and logs of Notification and
//                   Loaded calls.

#include <QObject>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "Collection.h"
#include "Component.h"
#include "Currency.h"
#include "Set.h"
#include "Strings.h"
#include "Variant.h"

namespace KelTest {
Q_NAMESPACE
enum THolderKind { hkOne, hkTwo, hkThree };
Q_ENUM_NS(THolderKind)
}  // namespace KelTest

KEL_DECLARE_SET(KelTest::THolderKind, KelTest_THolderKind)

namespace KelTest {

using THolderKinds = Kel::TSet<THolderKind>;

class TTestFont : public Kel::TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_CLASSINFO("default:Name", "'Sans'")
  Q_PROPERTY(int Size READ Size WRITE SetSize)
  Q_CLASSINFO("default:Size", "8")
  Q_PROPERTY(KelTest::THolderKinds Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:Style", "[]")

 public:
  Q_INVOKABLE explicit TTestFont(QObject* parent = nullptr) : TPersistent(parent) {}
  void Assign(Kel::TPersistent* source) override;

  QString Name() const { return name_; }
  void SetName(const QString& value) { name_ = value; }
  int Size() const { return size_; }
  void SetSize(int value) { size_ = value; }
  THolderKinds Style() const { return style_; }
  void SetStyle(THolderKinds value) { style_ = value; }

 private:
  QString name_ = QStringLiteral("Sans");
  int size_ = 8;
  THolderKinds style_;
};

class TTestCollection;

class TTestItem : public Kel::TCollectionItem {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_CLASSINFO("default:Count", "0")
  Q_PROPERTY(qint64 Big READ Big WRITE SetBig)
  Q_CLASSINFO("default:Big", "0")
  Q_PROPERTY(QChar Letter READ Letter WRITE SetLetter)
  Q_CLASSINFO("default:Letter", "'A'")
  Q_PROPERTY(KelTest::THolderKind Kind READ Kind WRITE SetKind)
  Q_CLASSINFO("default:Kind", "hkOne")
  Q_PROPERTY(KelTest::THolderKinds Kinds READ Kinds WRITE SetKinds)
  Q_CLASSINFO("default:Kinds", "[hkOne]")
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_CLASSINFO("default:Checked", "True")
  Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
  Q_CLASSINFO("default:Ratio", "2.5")
  Q_PROPERTY(double When READ When WRITE SetWhen)
  Q_CLASSINFO("datetime:When", "true")
  Q_CLASSINFO("default:When", "0")
  Q_PROPERTY(Kel::Currency Price READ Price WRITE SetPrice)
  Q_CLASSINFO("default:Price", "0")
  Q_PROPERTY(Kel::Variant Value READ Value WRITE SetValue)
  Q_CLASSINFO("default:Value", "Unassigned")
  Q_PROPERTY(Kel::TStrings* Lines READ Lines WRITE SetLines)
  Q_PROPERTY(KelTest::TTestFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(double Amount READ Amount WRITE SetAmount)
  Q_PROPERTY(Kel::TCollection* Children READ Children WRITE SetChildren)

 public:
  Q_INVOKABLE explicit TTestItem(Kel::TCollection* collection);
  ~TTestItem() override;
  void Assign(Kel::TPersistent* source) override;

  QString Name() const { return name_; }
  void SetName(const QString& value);
  int Count() const { return count_; }
  void SetCount(int value);
  qint64 Big() const { return big_; }
  void SetBig(qint64 value) { big_ = value; }
  QChar Letter() const { return letter_; }
  void SetLetter(QChar value) { letter_ = value; }
  THolderKind Kind() const { return kind_; }
  void SetKind(THolderKind value) { kind_ = value; }
  THolderKinds Kinds() const { return kinds_; }
  void SetKinds(THolderKinds value) { kinds_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  double Ratio() const { return ratio_; }
  void SetRatio(double value) { ratio_ = value; }
  double When() const { return when_; }
  void SetWhen(double value) { when_ = value; }
  Kel::Currency Price() const { return price_; }
  void SetPrice(Kel::Currency value) { price_ = value; }
  Kel::Variant Value() const { return value_; }
  void SetValue(const Kel::Variant& value) { value_ = value; }
  Kel::TStrings* Lines() const { return lines_.get(); }
  void SetLines(Kel::TStrings* value);  // copies the contents
  TTestFont* Font() const { return font_.get(); }
  void SetFont(TTestFont* value);  // copies the contents
  double Amount() const { return amount_; }
  void SetAmount(double value) { amount_ = value; }
  Kel::TCollection* Children() const;
  void SetChildren(Kel::TCollection* value);  // copies the items

  // Reports a change of this item to its collection (Changed(false)), for the tests.
  void Touch() { Changed(false); }

 private:
  QString name_;
  int count_ = 0;
  qint64 big_ = 0;
  QChar letter_ = u'A';
  THolderKind kind_ = hkOne;
  THolderKinds kinds_{hkOne};
  bool checked_ = true;
  double ratio_ = 2.5;
  double when_ = 0;
  Kel::Currency price_;
  Kel::Variant value_;
  std::unique_ptr<Kel::TStringList> lines_;
  std::unique_ptr<TTestFont> font_;
  double amount_ = 0;
  std::unique_ptr<TTestCollection> children_;
};

// A second item class, derived, with one property more: items of both classes may share a
// collection of TTestItem.
class TTestSubItem : public TTestItem {
  Q_OBJECT
  Q_PROPERTY(int Extra READ Extra WRITE SetExtra)
  Q_CLASSINFO("default:Extra", "7")
  Q_CLASSINFO("default:Count", "3")

 public:
  Q_INVOKABLE explicit TTestSubItem(Kel::TCollection* collection);
  int Extra() const { return extra_; }
  void SetExtra(int value) { extra_ = value; }

 private:
  int extra_ = 7;
};

class TTestCollection : public Kel::TOwnedCollection {
  Q_OBJECT

 public:
  explicit TTestCollection(QObject* owner = nullptr,
                           const QMetaObject& itemClass = TTestItem::staticMetaObject)
      : TOwnedCollection(owner, itemClass) {}
  ~TTestCollection() override;

  TTestItem* Items(int index) const { return TCollection::Items<TTestItem>(index); }
  TTestItem* Add() { return TCollection::Add<TTestItem>(); }

  // "U:<index>" per Update (index -1 for the whole collection), "N:<action>:<name>" per Notify
  // (the item's class name when it has no name).
  std::vector<QString> log;

 protected:
  void Update(Kel::TCollectionItem* item) override;
  void Notify(Kel::TCollectionItem* item, Kel::TCollectionNotification action) override;
};

class TTestComponent : public Kel::TComponent {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_CLASSINFO("default:Count", "0")
  Q_PROPERTY(KelTest::THolderKind Kind READ Kind WRITE SetKind)
  Q_CLASSINFO("default:Kind", "hkTwo")
  Q_PROPERTY(KelTest::THolderKinds Kinds READ Kinds WRITE SetKinds)
  Q_CLASSINFO("default:Kinds", "[]")
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_CLASSINFO("default:Enabled", "True")
  Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_CLASSINFO("default:Caption", "'It''s'")
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
  Q_CLASSINFO("default:ShowHint", "False")
  Q_PROPERTY(Kel::TComponent* Link READ Link WRITE SetLink)
  Q_PROPERTY(Kel::TCollection* Items READ Items WRITE SetItems)
  Q_PROPERTY(Kel::TStrings* Lines READ Lines WRITE SetLines)
  Q_PROPERTY(KelTest::TTestFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(int ReadOnly READ ReadOnly)

 public:
  Q_INVOKABLE explicit TTestComponent(Kel::TComponent* owner = nullptr);
  ~TTestComponent() override;

  int Count() const { return count_; }
  void SetCount(int value) { count_ = value; }
  THolderKind Kind() const { return kind_; }
  void SetKind(THolderKind value) { kind_ = value; }
  THolderKinds Kinds() const { return kinds_; }
  void SetKinds(THolderKinds value) { kinds_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  double Ratio() const { return ratio_; }
  void SetRatio(double value) { ratio_ = value; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& value) { caption_ = value; }
  QString Hint() const { return hint_; }
  void SetHint(const QString& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }
  // A reference to a component owned elsewhere: watched by free notification.
  Kel::TComponent* Link() const { return link_; }
  void SetLink(Kel::TComponent* value);
  TTestCollection* Items() const { return items_.get(); }
  void SetItems(Kel::TCollection* value) { items_->Assign(value); }
  Kel::TStrings* Lines() const { return lines_.get(); }
  void SetLines(Kel::TStrings* value);
  TTestFont* Font() const { return font_.get(); }
  void SetFont(TTestFont* value) { font_->Assign(value); }
  int ReadOnly() const { return 42; }

  bool IsPropertyStored(const char* name) const override;
  void Notification(Kel::TComponent* component, Kel::TOperation operation) override;
  void Loaded() override;

  std::vector<std::pair<Kel::TComponent*, Kel::TOperation>> notifications;
  int loadedCount = 0;

 private:
  int count_ = 0;
  THolderKind kind_ = hkTwo;
  THolderKinds kinds_;
  bool enabled_ = true;
  double ratio_ = 0;
  QString caption_ = QStringLiteral("It's");
  QString hint_;
  bool showHint_ = false;
  Kel::TComponent* link_ = nullptr;
  std::unique_ptr<TTestCollection> items_;
  std::unique_ptr<Kel::TStringList> lines_;
  std::unique_ptr<TTestFont> font_;
};

// Registers TTestFont, TTestItem, TTestSubItem and TTestComponent with the class registry.
void RegisterTestClasses();

}  // namespace KelTest
