#include "DBTypes.h"

namespace Kel {

QString FieldTypeName(TFieldType type) {
  const char* key = QMetaEnum::fromType<TFieldType>().valueToKey(type);
  return key ? QString::fromLatin1(key) : QString::number(static_cast<int>(type));
}

bool IsStringFieldType(TFieldType type) {
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
    case ftGuid:
      return true;
    default:
      return false;
  }
}

bool IsMemoFieldType(TFieldType type) {
  return type == ftMemo || type == ftFmtMemo || type == ftOraClob;
}

bool IsIntegerFieldType(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return true;
    default:
      return false;
  }
}

bool IsFloatFieldType(TFieldType type) { return type == ftFloat; }

bool IsCurrencyFieldType(TFieldType type) {
  return type == ftCurrency || type == ftBCD || type == ftFMTBcd;
}

bool IsDateTimeFieldType(TFieldType type) {
  return type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp;
}

bool IsBinaryFieldType(TFieldType type) {
  switch (type) {
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
      return true;
    default:
      return false;
  }
}

bool IsBlobFieldType(TFieldType type) {
  switch (type) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftOraClob:
      return true;
    default:
      return false;
  }
}

}  // namespace Kel
