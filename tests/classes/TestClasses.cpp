#include "TestClasses.h"

#include "ClassRegistry.h"

namespace KelTest {

using namespace Kel;

void TTestFont::Assign(TPersistent* source) {
  if (auto* font = qobject_cast<TTestFont*>(source)) {
    name_ = font->name_;
    size_ = font->size_;
    style_ = font->style_;
    return;
  }
  TPersistent::Assign(source);
}

// --- TTestItem

TTestItem::TTestItem(TCollection* collection)
    : TCollectionItem(collection),
      lines_(std::make_unique<TStringList>()),
      font_(std::make_unique<TTestFont>()) {}

TTestItem::~TTestItem() = default;

void TTestItem::SetName(const QString& value) {
  if (name_ == value) return;
  name_ = value;
  Changed(false);
}

void TTestItem::SetCount(int value) {
  if (count_ == value) return;
  count_ = value;
  Changed(false);
}

void TTestItem::SetLines(TStrings* value) {
  if (value)
    lines_->Assign(*value);
  else
    lines_->Clear();
}

void TTestItem::SetFont(TTestFont* value) { font_->Assign(value); }

TCollection* TTestItem::Children() const {
  // Made on first use: a nested collection of the same item class would otherwise recurse.
  if (!children_) {
    auto* self = const_cast<TTestItem*>(this);
    self->children_ = std::make_unique<TTestCollection>(self);
  }
  return children_.get();
}

void TTestItem::SetChildren(TCollection* value) { Children()->Assign(value); }

void TTestItem::Assign(TPersistent* source) {
  auto* item = qobject_cast<TTestItem*>(source);
  if (!item) {
    TCollectionItem::Assign(source);
    return;
  }
  name_ = item->name_;
  count_ = item->count_;
  big_ = item->big_;
  letter_ = item->letter_;
  kind_ = item->kind_;
  kinds_ = item->kinds_;
  checked_ = item->checked_;
  ratio_ = item->ratio_;
  when_ = item->when_;
  price_ = item->price_;
  value_ = item->value_;
  lines_->Assign(*item->lines_);
  font_->Assign(item->font_.get());
  amount_ = item->amount_;
  if (item->children_ || children_) Children()->Assign(item->Children());
  Changed(false);
}

TTestSubItem::TTestSubItem(TCollection* collection) : TTestItem(collection) { SetCount(3); }

// --- TTestCollection

TTestCollection::~TTestCollection() = default;

void TTestCollection::Update(TCollectionItem* item) {
  log.push_back(QStringLiteral("U:%1").arg(item ? item->Index() : -1));
}

void TTestCollection::Notify(TCollectionItem* item, TCollectionNotification action) {
  static const char* const names[] = {"added", "extracting", "deleting"};
  // The class name shows whether the item was fully constructed when it was announced.
  auto* testItem = qobject_cast<TTestItem*>(item);
  const QString name =
      testItem && !testItem->Name().isEmpty() ? testItem->Name() : item->ClassName();
  log.push_back(QStringLiteral("N:%1:%2").arg(QLatin1String(names[action]), name));
}

// --- TTestComponent

TTestComponent::TTestComponent(TComponent* owner)
    : TComponent(owner),
      items_(std::make_unique<TTestCollection>(this)),
      lines_(std::make_unique<TStringList>()),
      font_(std::make_unique<TTestFont>()) {}

TTestComponent::~TTestComponent() = default;

void TTestComponent::SetLink(TComponent* value) {
  if (link_ == value) return;
  if (link_) link_->RemoveFreeNotification(this);
  link_ = value;
  if (link_) link_->FreeNotification(this);
}

void TTestComponent::SetLines(TStrings* value) {
  if (value)
    lines_->Assign(*value);
  else
    lines_->Clear();
}

bool TTestComponent::IsPropertyStored(const char* name) const {
  if (qstrcmp(name, "Hint") == 0) return showHint_;
  return true;
}

void TTestComponent::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  notifications.emplace_back(component, operation);
  if (operation == opRemove && component == link_) link_ = nullptr;
}

void TTestComponent::Loaded() {
  TComponent::Loaded();
  ++loadedCount;
}

void RegisterTestClasses() {
  RegisterClasses({&TTestFont::staticMetaObject, &TTestItem::staticMetaObject,
                   &TTestSubItem::staticMetaObject, &TTestComponent::staticMetaObject});
}

}  // namespace KelTest
