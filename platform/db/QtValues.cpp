#include "QtValues.h"

#include <QSqlField>

#include "SqlValues_p.h"

namespace Kel {

Variant VariantFromQt(const QVariant& value, TFieldType type) {
  // The hot path of a model read into columns: text into a text field.
  if (type == ftString && value.typeId() == QMetaType::QString && !value.isNull())
    return Variant(*static_cast<const QString*>(value.constData()));
  return FromSqlValue(value, type);
}

QVariant VariantToQt(const Variant& value, TFieldType type) {
  // Without a field type the value's own kind decides, as for a bound parameter.
  if (type == ftUnknown || type == ftVariant) return BoundValue(value, TSqlDialect::Other);
  if ((type == ftSmallint || type == ftInteger || type == ftWord) && !value.IsEmptyOrNull())
    return value.AsInteger();
  return ToSqlValue(value, type, TSqlDialect::Other);
}

TFieldType FieldTypeOfQtType(int metaTypeId) {
  // A model's small numbers, characters and text of any length; the rest as drivers' values.
  switch (metaTypeId) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return ftInteger;
    case QMetaType::Long:
    case QMetaType::ULong:
      return ftLargeint;
    case QMetaType::QString:
    case QMetaType::QChar:
      return ftString;
    default: {
      int size = 0;
      return FieldTypeOfMetaType(QSqlField(QString(), QMetaType(metaTypeId)), size);
    }
  }
}

}  // namespace Kel
