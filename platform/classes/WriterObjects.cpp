// TWriter, object level: components with their published properties, nested objects, string
// lists, collections, component references and child components.
#include <QMetaProperty>

#include "ClassesConsts.h"
#include "Collection.h"
#include "Component.h"
#include "Exceptions.h"
#include "Filer.h"
#include "FilerConsts.h"
#include "Persistent.h"
#include "RestoreOnExit.h"
#include "Strings.h"
#include "TypInfo.h"

namespace Kel {

using namespace TypInfo;

namespace {

// Marks a component (and what it owns) as being written for the scope's lifetime.
class WritingState {
 public:
  explicit WritingState(TComponent* component) : component_(component) { Set(component_, true); }
  ~WritingState() {
    if (component_) Set(component_, false);
  }
  WritingState(const WritingState&) = delete;
  WritingState& operator=(const WritingState&) = delete;

 private:
  static void Set(TComponent* component, bool value) {
    component->SetWriting(value);
    for (int i = 0; i < component->ComponentCount(); ++i)
      component->Components(i)->SetWriting(value);
  }
  QPointer<TComponent> component_;
};

// Writes against another ancestor for the scope's lifetime; the previous one comes back on
// every path.
class AncestorScope {
 public:
  AncestorScope(TWriter& writer, TPersistent* ancestor)
      : writer_(writer), saved_(writer.Ancestor()) {
    writer_.SetAncestor(ancestor);
  }
  ~AncestorScope() { writer_.SetAncestor(saved_); }
  AncestorScope(const AncestorScope&) = delete;
  AncestorScope& operator=(const AncestorScope&) = delete;

 private:
  TWriter& writer_;
  TPersistent* const saved_;
};

// The same property of the ancestor object, when it has one.
TPropInfo AncestorProp(const TPersistent* ancestor, const TPropInfo& prop) {
  if (!ancestor) return TPropInfo();
  return GetPropInfo(ancestor, QString::fromLatin1(prop.Name()));
}

// Whether the property's own "stored" rules let it be written, whatever its value.
bool StoredByRules(const TPersistent* instance, const TPropInfo& prop) {
  return prop.Property().isStored() && instance->IsPropertyStored(prop.Name());
}

QByteArray CollectionBytes(TCollection* collection) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteCollection(collection);
  return stream.Bytes();
}

bool CollectionsEqual(TCollection* a, TCollection* b) {
  if (!a || !b) return a == b;
  return a->metaObject() == b->metaObject() && CollectionBytes(a) == CollectionBytes(b);
}

bool StringsEqual(const TStrings* a, const TStrings* b) {
  if (!a || !b) return a == b;
  return a->Equals(*b);
}

}  // namespace

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  SetRoot(root);
  SetAncestor(ancestor);
  rootAncestor_ = ancestor;
  WritingState writing(root);
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
  NestingGuard guard(*this);
  TFilerFlags flags;
  if (Ancestor()) flags.Include(ffInherited);
  if (component->ComponentState().Contains(csInline)) flags.Include(ffInline);
  WriteComponentHeader(flags, 0, component->ClassName(), component->Name());
  {
    RestoreOnExit<QString> path(propPath_);
    propPath_.clear();
    WriteProperties(component);
  }
  WriteListEnd();
  if (!IgnoreChildren()) WriteChildren(component);
  WriteListEnd();
}

void TWriter::WriteChildren(TComponent* component) {
  std::vector<QPointer<TComponent>> children;
  component->GetChildren([&children](TComponent* child) { children.emplace_back(child); }, Root());
  for (const QPointer<TComponent>& child : children) {
    if (!child) continue;
    // A child the ancestor has too is written against the ancestor's: differences only.
    TComponent* childAncestor = rootAncestor_ && !child->Name().isEmpty()
                                    ? rootAncestor_->FindComponent(child->Name())
                                    : nullptr;
    AncestorScope ancestor(*this, childAncestor);
    WriteComponent(child);
  }
}

void TWriter::WriteProperties(TPersistent* instance) {
  NestingGuard guard(*this);
  for (const TPropInfo& prop : GetPropList(instance)) WriteProperty(instance, prop);
  instance->DefineProperties(*this);
}

bool TWriter::IsSameAsAncestor(TPersistent* instance, const TPropInfo& prop) const {
  const TPropInfo other = AncestorProp(Ancestor(), prop);
  if (!other.IsValid() || other.Kind() != prop.Kind()) return false;
  switch (prop.Kind()) {
    case TPropKind::pkFloat:
    case TPropKind::pkDateTime:
      return GetFloatProp(instance, prop) == GetFloatProp(Ancestor(), other);
    case TPropKind::pkCurrency:
      return GetCurrencyProp(instance, prop) == GetCurrencyProp(Ancestor(), other);
    case TPropKind::pkString:
      return GetStrProp(instance, prop) == GetStrProp(Ancestor(), other);
    case TPropKind::pkVariant:
      return GetVariantProp(instance, prop).Same(GetVariantProp(Ancestor(), other));
    default:
      return GetOrdProp(instance, prop) == GetOrdProp(Ancestor(), other);
  }
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop) {
  // Only what can be read back is written: properties without a setter stay out.
  if (prop.Kind() == TPropKind::pkUnknown || !prop.IsWritable()) return;
  if (prop.Kind() == TPropKind::pkClass) {
    WriteObjectProperty(instance, prop);
    return;
  }
  const bool stored = Ancestor()
                          ? StoredByRules(instance, prop) && !IsSameAsAncestor(instance, prop)
                          : IsStoredProp(instance, prop);
  if (!stored) return;
  const QString name = QString::fromLatin1(prop.Name());
  switch (prop.Kind()) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
      WritePropName(name);
      WriteInteger(GetOrdProp(instance, prop));
      break;
    case TPropKind::pkChar:
      WritePropName(name);
      WriteChar(QChar(static_cast<char16_t>(GetOrdProp(instance, prop))));
      break;
    case TPropKind::pkEnumeration: {
      const QString ident =
          GetEnumName(prop.Enumeration(), static_cast<int>(GetOrdProp(instance, prop)));
      // An ordinal that is no member has no name a reader could take back.
      if (ident.isEmpty()) throw EWriteError(RtlMessage(ClassesText::InvalidPropertyValue));
      WritePropName(name);
      WriteIdent(ident);
      break;
    }
    case TPropKind::pkSet: {
      const auto bits = static_cast<uint64_t>(GetOrdProp(instance, prop));
      QStringList members;
      const QMetaEnum enumeration = prop.Enumeration();
      for (int i = 0; i < enumeration.keyCount(); ++i) {
        const int value = enumeration.value(i);
        if (value >= 0 && value < 64 && (bits & (uint64_t(1) << value)))
          members.append(enumeration.key(i));
      }
      WritePropName(name);
      WriteSet(members);
      break;
    }
    case TPropKind::pkBoolean:
      WritePropName(name);
      WriteBoolean(GetOrdProp(instance, prop) != 0);
      break;
    case TPropKind::pkFloat:
      WritePropName(name);
      if (prop.MetaType().id() == QMetaType::Float) {
        WriteSingle(static_cast<float>(GetFloatProp(instance, prop)));
      } else {
        WriteFloat(GetFloatProp(instance, prop));
      }
      break;
    case TPropKind::pkDateTime:
      WritePropName(name);
      WriteDate(GetFloatProp(instance, prop));
      break;
    case TPropKind::pkCurrency:
      WritePropName(name);
      WriteCurrency(GetCurrencyProp(instance, prop));
      break;
    case TPropKind::pkString:
      WritePropName(name);
      WriteString(GetStrProp(instance, prop));
      break;
    case TPropKind::pkVariant:
      WritePropName(name);
      WriteVariant(GetVariantProp(instance, prop));
      break;
    default:
      break;
  }
}

void TWriter::WriteObjectProperty(TPersistent* instance, const TPropInfo& prop) {
  if (!StoredByRules(instance, prop)) return;
  const QString name = QString::fromLatin1(prop.Name());
  QObject* value = GetObjectProp(instance, prop);
  const TPropInfo ancestorProp = AncestorProp(Ancestor(), prop);
  QObject* ancestorValue = ancestorProp.IsValid() && ancestorProp.Kind() == TPropKind::pkClass
                               ? GetObjectProp(Ancestor(), ancestorProp)
                               : nullptr;
  const QMetaObject* classType = prop.ClassType();
  const bool isReference =
      qobject_cast<TComponent*>(value) ||
      (!value && classType && classType->inherits(&TComponent::staticMetaObject));
  if (isReference) {
    const QString reference = ComponentReferenceName(qobject_cast<TComponent*>(value));
    if (Ancestor()) {
      if (reference == ComponentReferenceName(qobject_cast<TComponent*>(ancestorValue))) return;
    } else if (reference.isEmpty()) {
      return;  // nil, or a component without a name: nothing a reader could find
    }
    WritePropName(name);
    if (reference.isEmpty()) {
      WriteValue(vaNil);
    } else {
      WriteIdent(reference);
    }
    return;
  }
  if (auto* collection = qobject_cast<TCollection*>(value)) {
    if (Ancestor() && CollectionsEqual(collection, qobject_cast<TCollection*>(ancestorValue)))
      return;
    WritePropName(name);
    WriteCollection(collection);
    return;
  }
  if (auto* strings = qobject_cast<TStrings*>(value)) {
    const bool hasData = Ancestor() ? !StringsEqual(strings, qobject_cast<TStrings*>(ancestorValue))
                                    : strings->Count() > 0;
    if (!hasData) return;
    WritePropName(name + QStringLiteral(".Strings"));
    WriteStringList(strings);
    return;
  }
  if (auto* persistent = qobject_cast<TPersistent*>(value)) {
    // A nested object: its properties under dotted names ("Font.Style").
    RestoreOnExit<QString> path(propPath_);
    propPath_ += name + u'.';
    AncestorScope ancestor(*this, qobject_cast<TPersistent*>(ancestorValue));
    WriteProperties(persistent);
  }
}

void TWriter::WriteStringList(TStrings* strings) {
  WriteListBegin();
  for (int i = 0; i < strings->Count(); ++i) WriteString(strings->Strings(i));
  WriteListEnd();
}

void TWriter::WriteCollection(TCollection* collection) {
  NestingGuard guard(*this);
  // Items are written whole: against no ancestor, with plain property names.
  RestoreOnExit<QString> path(propPath_);
  propPath_.clear();
  AncestorScope ancestor(*this, nullptr);
  WriteCollectionBegin();
  if (collection) {
    for (int i = 0; i < collection->Count(); ++i) {
      WriteListBegin();
      WriteProperties(collection->Items(i));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

QString TWriter::ComponentReferenceName(const TComponent* component) const {
  if (!component) return QString();
  if (component == LookupRoot()) return QStringLiteral("Owner");
  if (component->Owner() == LookupRoot()) return component->Name();
  if (component->Name().isEmpty()) return QString();
  const TComponent* owner = component->Owner();
  if (owner && !owner->Name().isEmpty()) return owner->Name() + u'.' + component->Name();
  // A component of no named owner is known by its own name as a root.
  return component->Name() + QStringLiteral(".Owner");
}

}  // namespace Kel
