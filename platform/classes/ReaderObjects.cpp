// TReader, object level: components, their properties by name (dotted paths included), string
// lists, collections, references to components by name, and the loading state around it all.
#include <QMetaProperty>

#include "ClassRegistry.h"
#include "ClassesConsts.h"
#include "Collection.h"
#include "Component.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"
#include "Persistent.h"
#include "Reader_p.h"
#include "RestoreOnExit.h"
#include "Strings.h"
#include "TypInfo.h"
#include "UpdateBracket.h"

namespace Kel {

using namespace TypInfo;

namespace {

[[noreturn]] void InvalidPropertyValue() {
  throw EReadError(RtlMessage(ClassesText::InvalidPropertyValue));
}

[[noreturn]] void UnknownProperty(const QString& name) {
  throw EReadError(RtlMessage(ClassesText::UnknownProperty, name));
}

// Runs step and reports any library error it raises as a read error with the same text: a
// stream that names a bad component name or an unusable class is a damaged stream.
template <typename Step>
auto AsReadError(Step step) {
  try {
    return step();
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& e) {
    throw EReadError(e.Message());
  }
}

// The component class a stream names: registered, and a component.
const QMetaObject& ComponentClass(const QString& className) {
  const QMetaObject* metaObject = GetClass(className);
  if (!metaObject) throw EReadError(RtlMessage(ClassesText::ClassNotFound, className));
  if (!InheritsFrom(metaObject, &TComponent::staticMetaObject))
    throw EReadError(RtlMessage(FilerText::NotAComponentClass, className));
  return *metaObject;
}

// Frees a component this reader created when reading it fails; a component that was read
// completely is kept by its owner.
class CreatedGuard {
 public:
  CreatedGuard() = default;
  ~CreatedGuard() { delete component_.data(); }
  void Track(TComponent* component) { component_ = component; }
  void Keep() { component_ = nullptr; }
  CreatedGuard(const CreatedGuard&) = delete;
  CreatedGuard& operator=(const CreatedGuard&) = delete;

 private:
  QPointer<TComponent> component_;
};

}  // namespace

// ------------------------------------------------------------------------------------------
// Components

QString TReader::ErrorLocation(const QString& path) const {
  const QString label =
      !Root() ? QString() : (Root()->Name().isEmpty() ? Root()->ClassName() : Root()->Name());
  return label.isEmpty() ? path : label + u'.' + path;
}

void TReader::BeginReading(TComponent* component) {
  component->SetLoading(true);
  component->SetReading(true);
  impl_->loaded.emplace_back(component);
}

void TReader::AbortLoading() {
  for (const QPointer<QObject>& object : impl_->loaded) {
    if (auto* component = qobject_cast<TComponent*>(object.data())) {
      component->SetReading(false);
      component->SetLoading(false);
    }
  }
  impl_->loaded.clear();
  impl_->fixups.clear();
}

void TReader::FinishLoading() {
  std::vector<QPointer<QObject>> loaded;
  loaded.swap(impl_->loaded);
  for (const QPointer<QObject>& object : loaded) {
    if (auto* component = qobject_cast<TComponent*>(object.data())) component->SetReading(false);
  }
  // Inside a global-loading bracket Loaded() waits for NotifyGlobalLoading, so that components
  // of several streams see each other fully read.
  for (const QPointer<QObject>& object : loaded) {
    auto* component = qobject_cast<TComponent*>(object.data());
    if (component && !AddGlobalLoaded(component)) component->Loaded();
  }
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  TFilerFlags flags;
  int childPos = -1;
  ReadPrefix(flags, childPos);
  const QString className = ReadStr();
  const QString name = ReadStr();
  std::unique_ptr<TComponent> created;
  if (!root) {
    const QMetaObject& metaObject = ComponentClass(className);
    created.reset(AsReadError([&] { return CreateComponent(metaObject, nullptr); }));
    root = created.get();
  }
  SetRoot(root);
  SetLookupRoot(root);
  if (!owner_) owner_ = root;
  if (!name.isEmpty() && name != root->Name()) AsReadError([&] { root->SetName(name); });
  try {
    BeginReading(root);
    ReadProperties(root);
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
    ResolveFixups();
  } catch (...) {
    AbortLoading();
    throw;
  }
  FinishLoading();
  created.release();
  return root;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  NestingGuard guard(*this);
  TFilerFlags flags;
  int childPos = -1;
  ReadPrefix(flags, childPos);
  const QString className = ReadStr();
  const QString name = ReadStr();
  TComponent* owner = owner_ ? owner_ : Root();
  CreatedGuard created;
  if (!component && flags.Contains(ffInherited)) {
    // An inherited component exists already: the stream holds its differences.
    component = owner && !name.isEmpty() ? owner->FindComponent(name) : nullptr;
    if (!component) throw EReadError(RtlMessage(FilerText::AncestorNotFound, name));
  } else if (!component) {
    const QMetaObject& metaObject = ComponentClass(className);
    component = AsReadError([&] { return CreateComponent(metaObject, owner); });
    created.Track(component);
    AsReadError([&] { component->SetName(name); });
  } else if (!name.isEmpty() && name != component->Name()) {
    AsReadError([&] { component->SetName(name); });
  }
  if (flags.Contains(ffInline)) component->SetInline(true);
  BeginReading(component);
  ReadProperties(component);
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
  created.Keep();
  return component;
}

// ------------------------------------------------------------------------------------------
// Properties

void TReader::ReadProperties(TPersistent* instance) {
  NestingGuard guard(*this);
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent* instance) {
  const QString name = ReadStr();
  const int64_t valueStart = Stream().Position();
  const QString fullPath = impl_->propPath + name;
  impl_->currentPath = fullPath;
  ++impl_->propertyDepth;
  try {
    ReadPropertyPath(instance, name);
    --impl_->propertyDepth;
  } catch (const Exception& e) {
    --impl_->propertyDepth;
    // The innermost failing property names the error; the outermost reports it.
    if (!impl_->failed) {
      impl_->failed = true;
      impl_->errorPath = fullPath;
      impl_->errorMessage = e.Message();
      bool handled = false;
      if (OnError) OnError(*this, e.Message(), handled);
      if (handled) {
        impl_->failed = false;
        Stream().SetPosition(valueStart);
        SkipValue();
        return;
      }
    }
    if (impl_->propertyDepth > 0) throw;
    impl_->failed = false;
    throw EReadError(RtlMessage(FilerText::PropertyException, ErrorLocation(impl_->errorPath),
                                impl_->errorMessage));
  }
}

void TReader::ReadPropertyPath(TPersistent* instance, const QString& path) {
  const QStringList parts = path.split(u'.');
  QObject* target = instance;
  for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i].isEmpty() || qobject_cast<TStrings*>(target))
      throw EReadError(RtlMessage(FilerText::InvalidPropertyPath));
    const TPropInfo prop = GetPropInfo(target, parts[i]);
    if (!prop.IsValid()) UnknownProperty(parts[i]);
    QObject* next = prop.Kind() == TPropKind::pkClass ? GetObjectProp(target, prop) : nullptr;
    // Only owned sub-objects are entered; a reference to a component is no part of this object.
    if (!next || qobject_cast<TComponent*>(next))
      throw EReadError(RtlMessage(FilerText::InvalidPropertyPath));
    target = next;
  }
  const QString& last = parts.last();
  if (last.isEmpty()) throw EReadError(RtlMessage(FilerText::InvalidPropertyPath));
  if (auto* strings = qobject_cast<TStrings*>(target)) {
    if (last.compare(QLatin1String("Strings"), Qt::CaseInsensitive) != 0) UnknownProperty(last);
    ReadStringList(strings);
    return;
  }
  const TPropInfo prop = GetPropInfo(target, last);
  if (prop.IsValid() && prop.Kind() != TPropKind::pkUnknown) {
    ReadPropValue(target, prop);
    return;
  }
  auto* persistent = qobject_cast<TPersistent*>(target);
  if (!persistent || !ReadDefinedProperty(persistent, last)) UnknownProperty(last);
}

bool TReader::ReadDefinedProperty(TPersistent* instance, const QString& name) {
  // DefineProperty claims the property when its name matches; nested reads keep their own.
  RestoreOnExit<QString> savedName(propName_);
  RestoreOnExit<bool> savedClaimed(propClaimed_);
  propName_ = name;
  propClaimed_ = false;
  instance->DefineProperties(*this);
  return propClaimed_;
}

void TReader::ReadPropValue(QObject* instance, const TPropInfo& prop) {
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
      SetOrdProp(instance, prop, ReadInteger());
      break;
    case TPropKind::pkInt64:
      SetOrdProp(instance, prop, ReadInt64());
      break;
    case TPropKind::pkChar:
      SetOrdProp(instance, prop, IsIntegerKind(NextValue()) ? ReadInteger() : ReadChar().unicode());
      break;
    case TPropKind::pkEnumeration: {
      const QString ident = ReadIdent();
      const int value = GetEnumValue(prop.Enumeration(), ident);
      if (value < 0 &&
          GetEnumName(prop.Enumeration(), value).compare(ident, Qt::CaseInsensitive) != 0)
        InvalidPropertyValue();
      SetOrdProp(instance, prop, value);
      break;
    }
    case TPropKind::pkSet: {
      uint64_t bits = 0;
      for (const QString& member : ReadSet()) {
        const int value = GetEnumValue(prop.Enumeration(), member);
        if (value < 0 || value >= 64) InvalidPropertyValue();
        bits |= uint64_t(1) << value;
      }
      SetOrdProp(instance, prop, static_cast<int64_t>(bits));
      break;
    }
    case TPropKind::pkBoolean:
      SetOrdProp(instance, prop, ReadBoolean() ? 1 : 0);
      break;
    case TPropKind::pkFloat:
      SetFloatProp(instance, prop,
                   prop.MetaType().id() == QMetaType::Float ? ReadSingle() : ReadFloat());
      break;
    case TPropKind::pkDateTime:
      SetFloatProp(instance, prop, ReadDate());
      break;
    case TPropKind::pkCurrency:
      SetCurrencyProp(instance, prop, ReadCurrency());
      break;
    case TPropKind::pkString:
      SetStrProp(instance, prop, ReadString());
      break;
    case TPropKind::pkVariant:
      SetVariantProp(instance, prop, ReadVariant());
      break;
    case TPropKind::pkClass:
      ReadObjectValue(instance, prop);
      break;
    default:
      InvalidPropertyValue();
  }
}

void TReader::ReadObjectValue(QObject* instance, const TPropInfo& prop) {
  const QMetaObject* classType = prop.ClassType();
  const bool isReference = classType && classType->inherits(&TComponent::staticMetaObject);
  switch (NextValue()) {
    case vaCollection: {
      auto* collection = qobject_cast<TCollection*>(GetObjectProp(instance, prop));
      if (!collection) InvalidPropertyValue();
      ReadCollection(collection);
      break;
    }
    case vaNil:
      if (!isReference) InvalidPropertyValue();
      ReadValue();
      SetObjectProp(instance, prop, nullptr);
      break;
    case vaIdent: {
      if (!isReference) InvalidPropertyValue();
      // The component may come later in the stream: the reference is set once all is read.
      impl_->fixups.push_back(
          {QPointer<QObject>(instance), QByteArray(prop.Name()), ReadIdent(), impl_->currentPath});
      break;
    }
    default:
      InvalidPropertyValue();
  }
}

void TReader::ReadStringList(TStrings* strings) {
  ReadListBegin();
  QStringList lines;
  while (!EndOfList()) lines.append(ReadString());
  ReadListEnd();
  strings->FromStringList(lines);
}

void TReader::ReadCollection(TCollection* collection) {
  NestingGuard guard(*this);
  CheckValue(vaCollection);
  RestoreOnExit<QString> savedPath(impl_->propPath);
  const QString base = impl_->currentPath;
  WithinUpdate(*collection, [&] {
    // The streamed items replace the old ones, also when the stream holds none.
    collection->Clear();
    for (int index = 0; !EndOfList(); ++index) {
      if (IsIntegerKind(NextValue())) ReadInt64();  // the item's order: items come in order anyway
      TCollectionItem* item = collection->Add();
      ReadListBegin();
      impl_->propPath = base + u'[' + QString::number(index) + QStringLiteral("].");
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  });
}

// ------------------------------------------------------------------------------------------
// References by name

TComponent* TReader::FindReference(const QString& name) const {
  std::vector<TComponent*> scope;
  auto addScope = [&scope](TComponent* component) {
    if (component && std::find(scope.begin(), scope.end(), component) == scope.end())
      scope.push_back(component);
  };
  addScope(Root());
  for (TComponent* c = referenceContext_; c; c = c->Owner()) addScope(c);
  for (TComponent* c = Root() ? Root()->Owner() : nullptr; c; c = c->Owner()) addScope(c);
  auto find = [&scope](const QString& part) -> TComponent* {
    for (TComponent* component : scope) {
      if (component->Name().compare(part, Qt::CaseInsensitive) == 0) return component;
    }
    for (TComponent* component : scope) {
      if (TComponent* found = component->FindComponent(part)) return found;
    }
    return nullptr;
  };
  const QStringList parts = name.split(u'.');
  if (parts.size() == 1 && name.compare(QLatin1String("Owner"), Qt::CaseInsensitive) == 0)
    return LookupRoot();
  if (parts.size() == 2 && parts[1].compare(QLatin1String("Owner"), Qt::CaseInsensitive) == 0)
    return find(parts[0]);
  TComponent* component = find(parts[0]);
  for (qsizetype i = 1; component && i < parts.size(); ++i)
    component = component->FindComponent(parts[i]);
  return component;
}

void TReader::ResolveFixups() {
  std::vector<Impl::Fixup> fixups;
  fixups.swap(impl_->fixups);
  for (const Impl::Fixup& fixup : fixups) {
    if (!fixup.instance) continue;
    // A name that finds nothing leaves the reference as it was, as a missing dataset would.
    TComponent* target = FindReference(fixup.referenceName);
    if (!target) continue;
    const TPropInfo prop =
        GetPropInfo(fixup.instance.data(), QString::fromLatin1(fixup.propertyName));
    try {
      SetObjectProp(fixup.instance.data(), prop, target);
    } catch (const Exception& e) {
      throw EReadError(
          RtlMessage(FilerText::PropertyException, ErrorLocation(fixup.path), e.Message()));
    }
  }
}

}  // namespace Kel
