#include "KelPublishedProps.h"

#include <QObject>

#include "ClassesConsts.h"
#include "Component.h"
#include "Exceptions.h"
#include "NumberFormat.h"
#include "StrUtils.h"
#include "TypInfo.h"

namespace Kel {

namespace {

using TypInfo::TPropInfo;
using TypInfo::TPropKind;

// Owner chains are short; the bound only stops a chain that loops back on itself.
constexpr int kMaxOwnerChain = 1000;

bool IsOrdinalKind(TPropKind kind) {
  switch (kind) {
    case TPropKind::pkInteger:
    case TPropKind::pkInt64:
    case TPropKind::pkChar:
    case TPropKind::pkEnumeration:
    case TPropKind::pkSet:
    case TPropKind::pkBoolean:
    case TPropKind::pkClass:
      return true;
    default:
      return false;
  }
}

bool IsFloatKind(TPropKind kind) {
  return kind == TPropKind::pkFloat || kind == TPropKind::pkDateTime ||
         kind == TPropKind::pkCurrency;
}

bool IsStringKind(TPropKind kind) {
  return kind == TPropKind::pkString || kind == TPropKind::pkChar;
}

// Whether an object property can hold object: nil always, an object when it is of the class the
// property is declared with (a reference of another class is a kind of its own).
bool ObjectFits(const QObject* object, const TPropInfo& to) {
  const QMetaObject* classType = to.ClassType();
  return !object || !classType || object->metaObject()->inherits(classType);
}

// Copies one property by the source's kind; a destination of another group is left alone.
void CopyProp(const QObject* source, const TPropInfo& from, QObject* dest, const TPropInfo& to) {
  if (!to.IsWritable()) return;
  const TPropKind kind = from.Kind();
  if (kind == TPropKind::pkClass) {
    if (to.Kind() == TPropKind::pkClass) {
      QObject* object = TypInfo::GetObjectProp(source, from);
      if (ObjectFits(object, to)) TypInfo::SetObjectProp(dest, to, object);
    }
  } else if (kind == TPropKind::pkChar && to.Kind() == TPropKind::pkString) {
    TypInfo::SetStrProp(dest, to, TypInfo::GetStrProp(source, from));
  } else if (IsOrdinalKind(kind)) {
    if (IsOrdinalKind(to.Kind()) && to.Kind() != TPropKind::pkClass)
      TypInfo::SetOrdProp(dest, to, TypInfo::GetOrdProp(source, from));
  } else if (IsFloatKind(kind)) {
    if (kind == TPropKind::pkCurrency && to.Kind() == TPropKind::pkCurrency)
      TypInfo::SetCurrencyProp(dest, to, TypInfo::GetCurrencyProp(source, from));
    else if (IsFloatKind(to.Kind()))
      TypInfo::SetFloatProp(dest, to, TypInfo::GetFloatProp(source, from));
  } else if (kind == TPropKind::pkString) {
    if (IsStringKind(to.Kind())) TypInfo::SetStrProp(dest, to, TypInfo::GetStrProp(source, from));
  } else if (kind == TPropKind::pkVariant) {
    if (to.Kind() == TPropKind::pkVariant)
      TypInfo::SetVariantProp(dest, to, TypInfo::GetVariantProp(source, from));
  }
}

bool Excluded(const TStrings* exclude, const char* name) {
  return exclude && exclude->IndexOf(QString::fromLatin1(name)) >= 0;
}

// Whether object owns a component (or, for a plain QObject, has a child) of that name.
bool OwnsNamed(const QObject* object, const QString& name) {
  if (const auto* component = qobject_cast<const TComponent*>(object))
    return component->FindComponent(name) != nullptr;
  for (const QObject* child : object->children())
    if (SameText(child->objectName(), name)) return true;
  return false;
}

const QObject* OwnerOf(const QObject* object) {
  if (const auto* component = qobject_cast<const TComponent*>(object)) return component->Owner();
  return object->parent();
}

TStrings* StringsProp(const QObject* instance, const QString& propName) {
  if (!instance) return nullptr;
  const TPropInfo prop = TypInfo::GetPropInfo(instance, propName);
  if (!prop || prop.Kind() != TPropKind::pkClass) return nullptr;
  return qobject_cast<TStrings*>(TypInfo::GetObjectProp(instance, prop));
}

}  // namespace

void CopyPublishedProps(const QObject* source, QObject* dest, const TStrings* exclude) {
  if (!source || !dest || source == dest) return;
  for (const TPropInfo& from : TypInfo::GetPropList(source)) {
    if (Excluded(exclude, from.Name())) continue;
    const TPropInfo to = TypInfo::GetPropInfo(dest, QString::fromLatin1(from.Name()));
    if (to) CopyProp(source, from, dest, to);
  }
}

void CopyNamedProps(const QObject* source, QObject* dest, const QStringList& names) {
  if (!source || !dest || source == dest) return;
  for (const QString& name : names) {
    const TPropInfo from = TypInfo::GetPropInfo(source, name);
    const TPropInfo to = TypInfo::GetPropInfo(dest, name);
    if (from && to) CopyProp(source, from, dest, to);
  }
}

void CopyNamedProps(const QObject* source, QObject* dest, const TStrings& names) {
  CopyNamedProps(source, dest, names.ToStringList());
}

void SetPropValue(QObject* instance, const QString& propName, const Variant& value) {
  if (!instance) return;
  const TPropInfo prop = TypInfo::GetPropInfo(instance, propName);
  if (!prop) return;
  const TPropKind kind = prop.Kind();
  if (IsOrdinalKind(kind)) {
    int64_t ordinal = 0;
    if (value.IsString()) {
      const QString text = value.AsString();
      int member = -1;
      if (kind == TPropKind::pkEnumeration)
        member = TypInfo::GetEnumValue(prop.Enumeration(), text);
      if (kind == TPropKind::pkBoolean && (SameText(text, "True") || SameText(text, "False")))
        member = SameText(text, "True") ? 1 : 0;
      ordinal = member >= 0 ? member : StrToInt(text);
    } else if (value.VarType() == varBoolean) {
      ordinal = value.AsBoolean() ? 1 : 0;
    } else {
      ordinal = kind == TPropKind::pkInt64 ? value.AsInt64() : value.AsInteger();
    }
    // A number names no object: taken as an address it would be followed into random memory.
    // Only nil (0) can be set this way.
    if (kind == TPropKind::pkClass && ordinal != 0)
      throw EPropertyError(RtlMessage(ClassesText::InvalidPropertyValue));
    TypInfo::SetOrdProp(instance, prop, ordinal);
  } else if (kind == TPropKind::pkCurrency) {
    TypInfo::SetCurrencyProp(instance, prop, value.AsCurrency());
  } else if (IsFloatKind(kind)) {
    TypInfo::SetFloatProp(instance, prop, value.AsDouble());
  } else if (kind == TPropKind::pkString) {
    TypInfo::SetStrProp(instance, prop, VarToStr(value));
  } else if (kind == TPropKind::pkVariant) {
    TypInfo::SetVariantProp(instance, prop, value);
  }
}

bool HasProp(const QObject* instance, const QString& propName) {
  return TypInfo::IsPublishedProp(instance, propName);
}

QString GetStringsProp(const QObject* instance, const QString& propName) {
  const TStrings* strings = StringsProp(instance, propName);
  return strings ? strings->Text() : QString();
}

bool SetStringsProp(QObject* instance, const QString& propName, const TStrings* strings) {
  TStrings* target = StringsProp(instance, propName);
  if (!target) return false;
  if (strings)
    target->Assign(*strings);
  else
    target->Clear();
  return true;
}

QString UniqueComponentName(const QObject* component, const QString& base) {
  for (int number = 1;; ++number) {
    const QString name = base + QString::number(number);
    bool taken = false;
    int step = 0;
    for (const QObject* o = component; o && !taken && step < kMaxOwnerChain; o = OwnerOf(o), ++step)
      taken = OwnsNamed(o, name);
    if (!taken) return name;
  }
}

QObject* FindOwnerOfClass(const QObject* object, const QMetaObject& ownerClass) {
  const QObject* current = object;
  for (int step = 0; current && step < kMaxOwnerChain; ++step) {
    const auto* persistent = qobject_cast<const TPersistent*>(current);
    QObject* owner = persistent ? persistent->GetOwner() : nullptr;
    if (!owner || owner->metaObject()->inherits(&ownerClass)) return owner;
    current = owner;
  }
  return nullptr;
}

}  // namespace Kel
