#pragma once
// Values between the dataset layer and Qt: what an item model hands out (QVariant) read as a
// field type keeps it, and a value handed back to Qt in the plain type Qt's item views and SQL
// bindings expect. The same readings the tables and queries use for driver values.

#include <QVariant>

#include "DBTypes.h"
#include "PlatformExport.h"
#include "Variant.h"

namespace Kel {

// A Qt value as a field of this type stores it: numbers from numbers or number text, dates and
// times from Qt's date types, ISO text or date-time numbers, Booleans from bool, 1/0 or
// true/false text. Null for a null or invalid value and for one that does not read as the type.
KEL_PLATFORM_EXPORT Variant VariantFromQt(const QVariant& value, TFieldType type);

// A value as Qt's own type: integers as int or qlonglong, floats and currency as double,
// Booleans as bool, dates, times and date-times of the field type as QDate, QTime and QDateTime,
// strings as QString; Null and empty give a null QVariant. Without a field type (ftUnknown) the
// value's own kind decides.
KEL_PLATFORM_EXPORT QVariant VariantToQt(const Variant& value, TFieldType type);

// The field type a value of this Qt type is kept in (ftUnknown for types that none fits).
KEL_PLATFORM_EXPORT TFieldType FieldTypeOfQtType(int metaTypeId);

}  // namespace Kel
