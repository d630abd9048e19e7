#pragma once
// Published-property access over QMetaObject: what the stream writer and reader, property
// copying and property access by name stand on.
//
// Published properties
//   A class's published properties are its Q_PROPERTYs in declaration order, base classes
//   first, without those of Qt's own classes (QObject's objectName, QWidget's geometry, ...): a
//   component's name travels in the stream header. Names are looked up ignoring case.
//
// Kinds (TPropKind), from the property's C++ type
//   pkInteger      int, short, signed/unsigned char, unsigned short
//   pkInt64        qint64, quint64, unsigned int, long
//   pkChar         QChar, char
//   pkEnumeration  a Q_ENUM / Q_ENUM_NS type (not a QFlags)
//   pkSet          a TSet<E> declared with KEL_DECLARE_SET (Set.h)
//   pkBoolean      bool
//   pkFloat        double, float
//   pkDateTime     a double property marked Q_CLASSINFO("datetime:Name", "true") (TDateTime is
//                  a double, and moc sees only the double)
//   pkCurrency     Kel::Currency
//   pkString       QString
//   pkVariant      Kel::Variant
//   pkClass        a pointer to a QObject class (TPersistent, TStrings, TCollection, TComponent)
//   pkUnknown      anything else (not streamed, not copied)
//
// Defaults and the "stored" rule
//   One mechanism declares a default: Q_CLASSINFO("default:Prop", "value"), the value written as
//   the component-stream text form writes it: 0, -5, True, hkOne, [a, b], 2.5, 'text'. A
//   descendant may declare another default for an inherited property. A property without a
//   declared default is always stored, except strings (default ''). Class properties are never
//   "equal to their default". IsStoredProp = the Q_PROPERTY's STORED flag, the object's
//   TPersistent::IsPropertyStored(name) hook, and not equal to the default (pkUnknown
//   properties are never stored).
//
// Access
//   By kind: GetOrdProp / SetOrdProp (integer, int64, char, enumeration, set bits, boolean as
//   0/1), GetFloatProp / SetFloatProp (float, date-time, currency), GetCurrencyProp,
//   GetStrProp / SetStrProp (string, char), GetVariantProp / SetVariantProp,
//   GetObjectProp / SetObjectProp, GetEnumProp / SetEnumProp (member name), GetSetProp /
//   SetSetProp (member names). As Kel::Variant whatever the kind: GetPropValue / SetPropValue.
//   Native: GetNativeProp / SetNativeProp (QVariant of the property's own type).
//   Errors: EPropertyError "Property X does not exist", "Invalid property type: X" (a kind the
//   function does not handle), "Invalid property value" (an enumeration ordinal or set bit that
//   is no member, a read-only property: "Property X is read-only"), "Invalid property element:
//   X" (a set member name that does not exist).
//
// These functions live in Kel::TypInfo so that the library's own helpers of the same classic
// names (SetPropValue in KelClasses) do not collide with them.

#include <QList>
#include <QMetaEnum>
#include <QMetaObject>
#include <QMetaProperty>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <cstdint>

#include "Currency.h"
#include "PlatformExport.h"
#include "Set.h"
#include "Variant.h"

class QObject;

namespace Kel::TypInfo {

enum class TPropKind {
  pkUnknown,
  pkInteger,
  pkInt64,
  pkChar,
  pkEnumeration,
  pkSet,
  pkBoolean,
  pkFloat,
  pkDateTime,
  pkCurrency,
  pkString,
  pkVariant,
  pkClass,
};

// One published property of a class: the Qt property with its kind and declared default, as seen
// from the class it was looked up in (which decides date-time marks and defaults).
class KEL_PLATFORM_EXPORT TPropInfo {
 public:
  TPropInfo() = default;
  TPropInfo(const QMetaObject& classType, const QMetaProperty& property);

  bool IsValid() const { return property_.isValid(); }
  explicit operator bool() const { return IsValid(); }
  const char* Name() const { return property_.name(); }
  TPropKind Kind() const { return kind_; }
  const QMetaProperty& Property() const { return property_; }
  QMetaType MetaType() const { return property_.metaType(); }
  bool IsWritable() const { return property_.isWritable(); }
  // The enumeration of an enumeration or set property (invalid otherwise).
  QMetaEnum Enumeration() const;
  const SetTypeInfo* SetInfo() const { return setInfo_; }
  // The class a class property points to (nullptr otherwise).
  const QMetaObject* ClassType() const;
  // The declared default, as written in Q_CLASSINFO("default:Name", ...).
  bool HasDefault() const { return hasDefault_; }
  const QString& DefaultText() const { return defaultText_; }

 private:
  QMetaProperty property_;
  TPropKind kind_ = TPropKind::pkUnknown;
  const SetTypeInfo* setInfo_ = nullptr;
  bool hasDefault_ = false;
  QString defaultText_;
};

using TPropList = QList<TPropInfo>;

// --- finding properties
KEL_PLATFORM_EXPORT TPropList GetPropList(const QMetaObject& classType);
KEL_PLATFORM_EXPORT TPropList GetPropList(const QObject* instance);
// The published property of that name (ignoring case); invalid when there is none.
KEL_PLATFORM_EXPORT TPropInfo GetPropInfo(const QMetaObject& classType, QStringView name);
KEL_PLATFORM_EXPORT TPropInfo GetPropInfo(const QObject* instance, QStringView name);
// Same, raising EPropertyError "Property X does not exist" when there is none.
KEL_PLATFORM_EXPORT TPropInfo FindPropInfo(const QObject* instance, QStringView name);
KEL_PLATFORM_EXPORT bool IsPublishedProp(const QObject* instance, QStringView name);
KEL_PLATFORM_EXPORT TPropKind PropKind(const QObject* instance, QStringView name);

// --- enumerations and sets
// The member name of value ('' when value is no member).
KEL_PLATFORM_EXPORT QString GetEnumName(const QMetaEnum& enumeration, int value);
// The value of a member name, ignoring case; -1 when there is none.
KEL_PLATFORM_EXPORT int GetEnumValue(const QMetaEnum& enumeration, QStringView name);
// "a,b" (or "[a,b]" with brackets); bits that are no member are written as numbers.
KEL_PLATFORM_EXPORT QString SetToString(const QMetaEnum& enumeration, uint64_t bits,
                                        bool brackets = false);
// Reads "a,b", "[a, b]" or "[]"; EPropertyError "Invalid property element: x" for a name that is
// no member.
KEL_PLATFORM_EXPORT uint64_t StringToSet(const QMetaEnum& enumeration, QStringView text);

// --- access by kind
KEL_PLATFORM_EXPORT QVariant GetNativeProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetNativeProp(QObject* instance, const TPropInfo& prop,
                                       const QVariant& value);
KEL_PLATFORM_EXPORT int64_t GetOrdProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetOrdProp(QObject* instance, const TPropInfo& prop, int64_t value);
KEL_PLATFORM_EXPORT double GetFloatProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetFloatProp(QObject* instance, const TPropInfo& prop, double value);
KEL_PLATFORM_EXPORT Currency GetCurrencyProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetCurrencyProp(QObject* instance, const TPropInfo& prop, Currency value);
KEL_PLATFORM_EXPORT QString GetStrProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetStrProp(QObject* instance, const TPropInfo& prop, const QString& value);
KEL_PLATFORM_EXPORT Variant GetVariantProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetVariantProp(QObject* instance, const TPropInfo& prop,
                                        const Variant& value);
KEL_PLATFORM_EXPORT QObject* GetObjectProp(const QObject* instance, const TPropInfo& prop);
// value must be nullptr or an instance of the property's class (EPropertyError otherwise).
KEL_PLATFORM_EXPORT void SetObjectProp(QObject* instance, const TPropInfo& prop, QObject* value);
KEL_PLATFORM_EXPORT QString GetEnumProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT void SetEnumProp(QObject* instance, const TPropInfo& prop, QStringView name);
KEL_PLATFORM_EXPORT QString GetSetProp(const QObject* instance, const TPropInfo& prop,
                                       bool brackets = false);
KEL_PLATFORM_EXPORT void SetSetProp(QObject* instance, const TPropInfo& prop, QStringView text);

// --- access by name, any kind
// Enumerations and sets come back as their names when preferStrings is set, else as numbers.
KEL_PLATFORM_EXPORT Variant GetPropValue(const QObject* instance, QStringView name,
                                         bool preferStrings = true);
KEL_PLATFORM_EXPORT Variant GetPropValue(const QObject* instance, const TPropInfo& prop,
                                         bool preferStrings = true);
// Converts value to the property's kind (names for enumerations and sets, the variant
// conversions otherwise).
KEL_PLATFORM_EXPORT void SetPropValue(QObject* instance, QStringView name, const Variant& value);
KEL_PLATFORM_EXPORT void SetPropValue(QObject* instance, const TPropInfo& prop,
                                      const Variant& value);

// --- defaults and storing
KEL_PLATFORM_EXPORT bool IsDefaultPropValue(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT bool IsStoredProp(const QObject* instance, const TPropInfo& prop);
KEL_PLATFORM_EXPORT bool IsStoredProp(const QObject* instance, QStringView name);

}  // namespace Kel::TypInfo
