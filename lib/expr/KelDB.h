#pragma once
// Unit KelDB: the bridge between the library's fields and the dataset layer.
//  - KelFieldTypeToFieldType / FieldTypeToKelFieldType map the library's field types onto the
//    dataset layer's and back (date, date-time and time all become ftDateTime one way; memo,
//    wide string and fixed char become FT_STRING the other way; unknown kinds FT_UNK).

#include "DBTypes.h"
#include "KelFields.h"

namespace Kel {

TFieldType KelFieldTypeToFieldType(TKelFieldType type);
TKelFieldType FieldTypeToKelFieldType(TFieldType type);

}  // namespace Kel
