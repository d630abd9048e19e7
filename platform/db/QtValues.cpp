#include "QtValues.h"

#include "SqlValues_p.h"

namespace Kel {

Variant VariantFromQt(const QVariant& value, TFieldType type) {
  // The hot path of a model read into columns: text into a text field.
  if (type == ftString && value.typeId() == QMetaType::QString && !value.isNull())
    return Variant(*static_cast<const QString*>(value.constData()));
  return FromSqlValue(value, type);
}

QVariant VariantToQt(const Variant& value, TFieldType type) {
  if (type == ftUnknown || type == ftVariant) {
    switch (value.VarType()) {
      case varSmallint:
      case varInteger:
      case varByte:
        return value.AsInteger();
      case varInt64:
        return QVariant::fromValue<qlonglong>(value.AsInt64());
      case varSingle:
      case varDouble:
      case varCurrency:
        return value.AsDouble();
      case varBoolean:
        return value.AsBoolean();
      case varDate:
        return ToSqlValue(value, ftDateTime, TSqlDialect::Other);
      default:
        return value.IsEmptyOrNull() ? QVariant() : QVariant(value.AsString());
    }
  }
  if ((type == ftSmallint || type == ftInteger || type == ftWord) && !value.IsEmptyOrNull())
    return value.AsInteger();
  return ToSqlValue(value, type, TSqlDialect::Other);
}

TFieldType FieldTypeOfQtType(int metaTypeId) {
  switch (metaTypeId) {
    case QMetaType::Bool:
      return ftBoolean;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Int:
      return ftInteger;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return ftLargeint;
    case QMetaType::Float:
    case QMetaType::Double:
      return ftFloat;
    case QMetaType::QDate:
      return ftDate;
    case QMetaType::QTime:
      return ftTime;
    case QMetaType::QDateTime:
      return ftDateTime;
    case QMetaType::QString:
    case QMetaType::QChar:
      return ftString;
    case QMetaType::QByteArray:
      return ftBlob;
    default:
      return ftUnknown;
  }
}

}  // namespace Kel
