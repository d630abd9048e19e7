#pragma once
// Published-property helpers of unit KelClasses: copying published properties between objects
// (the generic Assign of named items), setting a property by name from a variant, reaching
// string-list properties of classes one does not know, unique component names, and the search
// up an ownership chain.
//
// API summary
//   CopyPublishedProps(source, dest, exclude)
//       Copies every published property of source (declaration order) that dest publishes under
//       the same name, through dest's setter, unless its name is in exclude (ignoring case).
//       Ordinal kinds (integer, int64, character, enumeration, set, boolean, object reference)
//       travel as integers (an object reference as the reference, so a setter that copies
//       contents copies them), floating-point kinds as floats (currency to currency exactly),
//       strings as strings, variants as variants. Nothing happens when source and dest are the
//       same object or either is null; properties dest cannot take (read-only, a kind of
//       another group, or an object property whose class does not fit the object) are left
//       alone.
//   CopyNamedProps(source, dest, names)    the same for the listed names only.
//   SetPropValue(instance, name, value)    null instance or unknown property: nothing. Ordinal
//       kinds take a string through StrToInt (EConvertError when it is no number; an enumeration
//       also takes a member name, a boolean "True" / "False"), True as 1 and False as 0,
//       anything else as an integer; floats a float; strings a string (null as ''); variants the
//       value as it is. An object property takes only 0 (nil): any other number raises
//       EPropertyError "Invalid property value" instead of being followed as an address.
//   HasProp(instance, name)                whether the class publishes that property.
//   GetStringsProp(instance, name)         the Text of a published TStrings property ('' when
//                                          there is no such property or it holds no TStrings).
//   SetStringsProp(instance, name, strings) assigns strings to it (nullptr clears it); false when
//                                          there is no such TStrings property.
//   UniqueComponentName(component, base)   base + the first number 1, 2, ... that no component
//       owned by component or by any of its owners up the chain carries (ignoring case). Works
//       for QObjects that are not components too: their owner is their parent and they own
//       their children.
//   FindOwnerOfClass(object, class)        follows GetOwner from object (object itself excluded)
//       to the first owner of that class; nullptr when the chain ends first.

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include "KelExport.h"
#include "Persistent.h"
#include "Strings.h"
#include "Variant.h"

namespace Kel {

KEL_EXPORT void CopyPublishedProps(const QObject* source, QObject* dest,
                                   const TStrings* exclude = nullptr);
KEL_EXPORT void CopyNamedProps(const QObject* source, QObject* dest, const TStrings& names);
KEL_EXPORT void CopyNamedProps(const QObject* source, QObject* dest, const QStringList& names);

KEL_EXPORT void SetPropValue(QObject* instance, const QString& propName, const Variant& value);
KEL_EXPORT bool HasProp(const QObject* instance, const QString& propName);

KEL_EXPORT QString GetStringsProp(const QObject* instance, const QString& propName);
KEL_EXPORT bool SetStringsProp(QObject* instance, const QString& propName, const TStrings* strings);

KEL_EXPORT QString UniqueComponentName(const QObject* component, const QString& base);

KEL_EXPORT QObject* FindOwnerOfClass(const QObject* object, const QMetaObject& ownerClass);
template <typename T>
T* FindOwnerOfClass(const QObject* object) {
  return static_cast<T*>(FindOwnerOfClass(object, T::staticMetaObject));
}

}  // namespace Kel
