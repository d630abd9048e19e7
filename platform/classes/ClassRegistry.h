#pragma once
// The class registry: classes known by name, so that component streams can name the class of a
// component or collection item and the reader can create it.
//
// API summary
//   RegisterClass(meta) / RegisterClasses({&A::staticMetaObject, ...}) / UnRegisterClass(meta)
//     Classes are known by their class name without namespace, compared ignoring case.
//     Registering a class again does nothing; a different class of the same name raises
//     EFilerError "A class named X already exists".
//   GetClass(name)   the registered class or nullptr.
//   FindClass(name)  the registered class; EClassNotFound "Class X not found" otherwise.
//   InheritsFrom(meta, ancestor)   whether meta is ancestor or derives from it.
//   CreateComponent(meta or name, owner)       a new component owned by owner
//   CreateCollectionItem(meta, collection)     a new item, through the item's invokable
//                                              constructor taking a TCollection*
//   CreatePersistent(meta or name, parent)     any other registered QObject class with an
//                                              invokable constructor taking (QObject*) or ()
//   A class without a suitable Q_INVOKABLE constructor raises EComponentError
//   "Cannot create an instance of X"; a class of the wrong family raises EInvalidCast.
//   ConstructWith(meta, argType, arg): the low-level step: calls the invokable constructor whose
//     single parameter has the meta type argType (nullptr if there is none).

#include <QMetaObject>
#include <QMetaType>
#include <QString>
#include <initializer_list>

#include "PlatformExport.h"

class QObject;

namespace Kel {

class TComponent;
class TCollection;
class TCollectionItem;

KEL_PLATFORM_EXPORT void RegisterClass(const QMetaObject& metaObject);
KEL_PLATFORM_EXPORT void RegisterClasses(std::initializer_list<const QMetaObject*> metaObjects);
KEL_PLATFORM_EXPORT void UnRegisterClass(const QMetaObject& metaObject);
KEL_PLATFORM_EXPORT const QMetaObject* GetClass(const QString& className);
KEL_PLATFORM_EXPORT const QMetaObject& FindClass(const QString& className);

KEL_PLATFORM_EXPORT bool InheritsFrom(const QMetaObject* metaObject, const QMetaObject* ancestor);

KEL_PLATFORM_EXPORT TComponent* CreateComponent(const QMetaObject& metaObject, TComponent* owner);
KEL_PLATFORM_EXPORT TComponent* CreateComponent(const QString& className, TComponent* owner);
KEL_PLATFORM_EXPORT TCollectionItem* CreateCollectionItem(const QMetaObject& metaObject,
                                                          TCollection* collection);
KEL_PLATFORM_EXPORT QObject* CreatePersistent(const QMetaObject& metaObject,
                                              QObject* parent = nullptr);
KEL_PLATFORM_EXPORT QObject* CreatePersistent(const QString& className, QObject* parent = nullptr);

KEL_PLATFORM_EXPORT QObject* ConstructWith(const QMetaObject& metaObject, QMetaType argType,
                                           void* arg);
// Calls the invokable constructor without parameters (nullptr if there is none).
KEL_PLATFORM_EXPORT QObject* ConstructDefault(const QMetaObject& metaObject);

}  // namespace Kel
