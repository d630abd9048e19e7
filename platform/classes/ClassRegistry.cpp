#include "ClassRegistry.h"

#include <QHash>
#include <QMetaMethod>
#include <memory>

#include "ClassesConsts.h"
#include "Collection.h"
#include "Component.h"
#include "Exceptions.h"

namespace Kel {

namespace {

// Registered classes by upper-cased class name (without namespace).
QHash<QString, const QMetaObject*>& Registry() {
  static QHash<QString, const QMetaObject*> registry;
  return registry;
}

QString RegistryKey(const QString& className) { return className.toUpper(); }

// The parameter type of a constructor, compared by meta type and, when moc could not resolve the
// type, by name with or without the namespace.
bool ParameterIs(const QMetaMethod& method, QMetaType type) {
  const QMetaType parameter = method.parameterMetaType(0);
  if (parameter.isValid() && parameter == type) return true;
  const QByteArray name = method.parameterTypeName(0);
  const QByteArray wanted = type.name();
  if (name == wanted) return true;
  const qsizetype colon = wanted.lastIndexOf(':');
  return colon >= 0 && name == wanted.mid(colon + 1);
}

QObject* Construct(const QMetaObject& metaObject, int constructorIndex, void* arg) {
  QObject* result = nullptr;
  void* args[] = {&result, arg};
  metaObject.static_metacall(QMetaObject::CreateInstance, constructorIndex, args);
  return result;
}

[[noreturn]] void CannotCreate(const QMetaObject& metaObject) {
  throw EComponentError(
      RtlMessage(ClassesText::CannotCreate, TPersistent::ClassNameOf(metaObject)));
}

}  // namespace

QList<const QMetaObject*> RegisteredClasses() { return Registry().values(); }

void RegisterClass(const QMetaObject& metaObject) {
  const QString name = TPersistent::ClassNameOf(metaObject);
  auto& registry = Registry();
  const auto it = registry.constFind(RegistryKey(name));
  if (it != registry.cend()) {
    if (it.value() == &metaObject) return;
    throw EFilerError(RtlMessage(ClassesText::DuplicateClass, name));
  }
  registry.insert(RegistryKey(name), &metaObject);
}

void RegisterClasses(std::initializer_list<const QMetaObject*> metaObjects) {
  for (const QMetaObject* metaObject : metaObjects)
    if (metaObject) RegisterClass(*metaObject);
}

void UnRegisterClass(const QMetaObject& metaObject) {
  auto& registry = Registry();
  const QString key = RegistryKey(TPersistent::ClassNameOf(metaObject));
  const auto it = registry.find(key);
  if (it != registry.end() && it.value() == &metaObject) registry.erase(it);
}

const QMetaObject* GetClass(const QString& className) {
  return Registry().value(RegistryKey(className), nullptr);
}

const QMetaObject& FindClass(const QString& className) {
  const QMetaObject* metaObject = GetClass(className);
  if (!metaObject) throw EClassNotFound(RtlMessage(ClassesText::ClassNotFound, className));
  return *metaObject;
}

bool InheritsFrom(const QMetaObject* metaObject, const QMetaObject* ancestor) {
  return metaObject && ancestor && metaObject->inherits(ancestor);
}

QObject* ConstructWith(const QMetaObject& metaObject, QMetaType argType, void* arg) {
  for (int i = 0; i < metaObject.constructorCount(); ++i) {
    const QMetaMethod constructor = metaObject.constructor(i);
    if (constructor.parameterCount() == 1 && ParameterIs(constructor, argType))
      return Construct(metaObject, i, arg);
  }
  return nullptr;
}

QObject* ConstructDefault(const QMetaObject& metaObject) {
  for (int i = 0; i < metaObject.constructorCount(); ++i)
    if (metaObject.constructor(i).parameterCount() == 0) return Construct(metaObject, i, nullptr);
  return nullptr;
}

TComponent* CreateComponent(const QMetaObject& metaObject, TComponent* owner) {
  if (!InheritsFrom(&metaObject, &TComponent::staticMetaObject))
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
  if (QObject* made = ConstructWith(metaObject, QMetaType::fromType<TComponent*>(), &owner))
    return static_cast<TComponent*>(made);
  std::unique_ptr<QObject> made(ConstructDefault(metaObject));
  if (!made) CannotCreate(metaObject);
  auto* component = static_cast<TComponent*>(made.get());
  if (owner) owner->InsertComponent(component);
  made.release();
  return component;
}

TComponent* CreateComponent(const QString& className, TComponent* owner) {
  return CreateComponent(FindClass(className), owner);
}

TCollectionItem* CreateCollectionItem(const QMetaObject& metaObject, TCollection* collection) {
  if (!InheritsFrom(&metaObject, &TCollectionItem::staticMetaObject))
    throw EInvalidCast(RtlMessage(RtlText::InvalidCast));
  if (collection) return collection->Add(metaObject);
  TCollection* none = nullptr;
  QObject* made = ConstructWith(metaObject, QMetaType::fromType<TCollection*>(), &none);
  if (!made) CannotCreate(metaObject);
  return static_cast<TCollectionItem*>(made);
}

QObject* CreatePersistent(const QMetaObject& metaObject, QObject* parent) {
  if (QObject* made = ConstructWith(metaObject, QMetaType::fromType<QObject*>(), &parent))
    return made;
  QObject* made = ConstructDefault(metaObject);
  if (!made) CannotCreate(metaObject);
  if (parent) made->setParent(parent);
  return made;
}

QObject* CreatePersistent(const QString& className, QObject* parent) {
  return CreatePersistent(FindClass(className), parent);
}

}  // namespace Kel
