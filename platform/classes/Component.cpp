#include "Component.h"

#include <algorithm>
#include <unordered_set>

#include "ClassesConsts.h"
#include "Exceptions.h"

namespace Kel {

namespace {

bool SameName(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// One list of loaded components per open global-loading bracket.
std::vector<std::vector<QPointer<TComponent>>>& GlobalLoadedStack() {
  static std::vector<std::vector<QPointer<TComponent>>> stack;
  return stack;
}

}  // namespace

TComponent::TComponent(TComponent* owner) : TPersistent(nullptr) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  NotifyAbout(this, owner_, opRemove, /*destroying=*/true);
  // Whatever the overrides of Notification did, no partner keeps a link to this component.
  while (!freeNotifies_.empty()) UnlinkFreeNotification(freeNotifies_.back());
  DestroyComponents();
  // The owner and its components have been told already; only the list entry is left.
  if (owner_) owner_->Remove(this);
}

// --- ownership --------------------------------------------------------------------------------

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError(RtlMessage(RtlText::ListIndexError, index));
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& siblings = owner_->components_;
  const auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

bool TComponent::OwnsDirectlyOrIndirectly(const TComponent* component) const {
  for (const TComponent* p = component ? component->owner_ : nullptr; p; p = p->owner_)
    if (p == this) return true;
  return false;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  // An ownership cycle would make destruction run forever.
  if (component == this || component->OwnsDirectlyOrIndirectly(this)) {
    const QString name = component->Name().isEmpty() ? component->ClassName() : component->Name();
    throw EComponentError(RtlMessage(ClassesText::OwnershipCycle, name));
  }
  // Checked before the component leaves its old owner, so a refusal changes nothing.
  ValidateRename(component, QString(), component->Name());
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  NotifyAbout(component, this, opInsert, /*destroying=*/false);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  NotifyAbout(component, this, opRemove, /*destroying=*/false);
  // A notification may have moved or freed it; remove only what is still ours.
  if (std::find(components_.begin(), components_.end(), component) != components_.end() &&
      component->owner_ == this)
    Remove(component);
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component),
                    components_.end());
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  // Last inserted first; each destructor takes its component out of components_.
  while (!components_.empty()) {
    TComponent* component = components_.back();
    delete component;
  }
}

// --- names ------------------------------------------------------------------------------------

bool TComponent::IsValidIdent(const QString& name) {
  if (name.isEmpty()) return false;
  auto isAlpha = [](QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_';
  };
  if (!isAlpha(name[0])) return false;
  return std::all_of(name.cbegin() + 1, name.cend(), [&](QChar c) {
    return isAlpha(c) || (c.unicode() >= u'0' && c.unicode() <= u'9');
  });
}

void TComponent::SetName(const QString& newName) {
  if (newName == Name()) return;
  if (!newName.isEmpty() && !IsValidIdent(newName))
    throw EComponentError(RtlMessage(ClassesText::InvalidName, newName));
  if (owner_) owner_->ValidateRename(this, Name(), newName);
  setObjectName(newName);
}

void TComponent::ValidateRename(TComponent* component, const QString& curName,
                                const QString& newName) const {
  // Also called for a component about to be inserted, which is not ours yet.
  if (!component || newName.isEmpty() || SameName(curName, newName)) return;
  const TComponent* existing = FindComponent(newName);
  if (existing && existing != component)
    throw EComponentError(RtlMessage(ClassesText::DuplicateName, newName));
}

TComponent* TComponent::FindComponent(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (TComponent* c : components_)
    if (SameName(c->Name(), name)) return c;
  return nullptr;
}

// --- state ------------------------------------------------------------------------------------

void TComponent::SetState(TComponentStateItem item, bool value) {
  if (value)
    state_.Include(item);
  else
    state_.Exclude(item);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  SetState(csDesigning, value);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

// --- notification -----------------------------------------------------------------------------

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  state_.Include(csFreeNotification);
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) != freeNotifies_.end())
    return;
  freeNotifies_.push_back(component);
  component->freeNotifies_.push_back(this);
  component->state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component) UnlinkFreeNotification(component);
}

void TComponent::UnlinkFreeNotification(TComponent* component) {
  auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
  };
  drop(freeNotifies_, component);
  drop(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
}

void TComponent::NotifyAbout(TComponent* subject, TComponent* owner, TOperation operation,
                             bool destroying) {
  std::vector<QPointer<TComponent>> targets;
  std::unordered_set<const TComponent*> seen{subject};
  auto add = [&](TComponent* c) {
    if (c && seen.insert(c).second) targets.emplace_back(c);
  };
  if (destroying)
    for (auto it = subject->freeNotifies_.rbegin(); it != subject->freeNotifies_.rend(); ++it)
      add(*it);
  if (owner) {
    // The owner and its whole ownership tree, in order, without the subject's own tree.
    add(owner);
    std::vector<TComponent*> stack(owner->components_.rbegin(), owner->components_.rend());
    while (!stack.empty()) {
      TComponent* c = stack.back();
      stack.pop_back();
      if (c == subject) continue;
      add(c);
      stack.insert(stack.end(), c->components_.rbegin(), c->components_.rend());
    }
  }
  // A handler may free other targets: those are skipped, not called through a dangling pointer.
  for (const QPointer<TComponent>& target : targets)
    if (target) target->Notification(subject, operation);
}

// --- global loading ---------------------------------------------------------------------------

void BeginGlobalLoading() { GlobalLoadedStack().emplace_back(); }

void NotifyGlobalLoading() {
  auto& stack = GlobalLoadedStack();
  if (stack.empty()) return;
  // Copied: a Loaded() handler may read further components into the same bracket.
  const std::vector<QPointer<TComponent>> loaded = stack.back();
  for (const QPointer<TComponent>& c : loaded)
    if (c) c->Loaded();
}

void EndGlobalLoading() {
  auto& stack = GlobalLoadedStack();
  if (!stack.empty()) stack.pop_back();
}

bool IsGlobalLoading() { return !GlobalLoadedStack().empty(); }

bool AddGlobalLoaded(TComponent* component) {
  auto& stack = GlobalLoadedStack();
  if (stack.empty() || !component) return false;
  auto& list = stack.back();
  if (std::find(list.begin(), list.end(), component) == list.end()) list.emplace_back(component);
  return true;
}

}  // namespace Kel
