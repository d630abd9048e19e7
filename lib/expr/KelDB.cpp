#include "KelDB.h"

namespace Kel {

TFieldType KelFieldTypeToFieldType(TKelFieldType type) {
  switch (type) {
    case FT_INT:
      return ftInteger;
    case FT_DATETIME:
    case FT_DATE:
    case FT_TIME:
      return ftDateTime;
    case FT_CURRENCY:
      return ftCurrency;
    case FT_FLOAT:
      return ftFloat;
    case FT_STRING:
      return ftString;
    case FT_BOOL:
      return ftBoolean;
    default:
      return ftUnknown;
  }
}

TKelFieldType FieldTypeToKelFieldType(TFieldType type) {
  switch (type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
      return FT_STRING;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return FT_INT;
    case ftBoolean:
      return FT_BOOL;
    case ftFloat:
      return FT_FLOAT;
    case ftCurrency:
    case ftBCD:
      return FT_CURRENCY;
    case ftDate:
      return FT_DATE;
    case ftTime:
      return FT_TIME;
    case ftDateTime:
      return FT_DATETIME;
    default:
      return FT_UNK;
  }
}

}  // namespace Kel
