#pragma once
// Enumerations and sets of the dataset layer: field types and kinds, dataset states, filter,
// locate and parser options, data events. The ordinals are the classic ones, because stored
// forms and callers compare them as numbers (ftString = 1, ftDateTime = 11, ...).
//
// The enumerations live in the Q_NAMESPACE Kel::DB so that property access and streams get
// their names; `using namespace DB` makes them plain Kel names (Kel::ftString).

#include <QMetaEnum>
#include <QObject>
#include <QString>

#include "PlatformExport.h"
#include "Set.h"

namespace Kel {
namespace DB {
Q_NAMESPACE_EXPORT(KEL_PLATFORM_EXPORT)

enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd,
};
Q_ENUM_NS(TFieldType)

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
Q_ENUM_NS(TFieldKind)

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening,
};
Q_ENUM_NS(TDataSetState)

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };
Q_ENUM_NS(TFilterOption)

enum TLocateOption { loCaseInsensitive, loPartialKey };
Q_ENUM_NS(TLocateOption)

// Options of the filter-expression parser. poExtSyntax admits arithmetic and function calls;
// the others are accepted and have no effect here.
enum TParserOption {
  poExtSyntax,
  poAggregate,
  poDefaultExpr,
  poUseOrigNames,
  poFieldNameGiven,
  poFieldDepend,
};
Q_ENUM_NS(TParserOption)

// What a dataset tells its data sources (and they their data links).
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
};
Q_ENUM_NS(TDataEvent)

}  // namespace DB

using namespace DB;

using TFilterOptions = TSet<TFilterOption>;
using TLocateOptions = TSet<TLocateOption>;
using TParserOptions = TSet<TParserOption>;

// The name of a field type as the enumeration spells it ("ftInteger").
KEL_PLATFORM_EXPORT QString FieldTypeName(TFieldType type);

// Field-type families, used wherever values are stored, converted or compared.
// string, fixed char, wide string, memo, formatted memo
KEL_PLATFORM_EXPORT bool IsStringFieldType(TFieldType type);
// memo, formatted memo, (Oracle) character blob
KEL_PLATFORM_EXPORT bool IsMemoFieldType(TFieldType type);
// small integer, integer, word, auto-inc, large integer
KEL_PLATFORM_EXPORT bool IsIntegerFieldType(TFieldType type);
KEL_PLATFORM_EXPORT bool IsFloatFieldType(TFieldType type);     // float
KEL_PLATFORM_EXPORT bool IsCurrencyFieldType(TFieldType type);  // currency, BCD, formatted BCD
KEL_PLATFORM_EXPORT bool IsDateTimeFieldType(TFieldType type);  // date, time, date-time, time stamp
// bytes, var bytes, blobs, graphic, OLE kinds
KEL_PLATFORM_EXPORT bool IsBinaryFieldType(TFieldType type);
KEL_PLATFORM_EXPORT bool IsBlobFieldType(TFieldType type);  // blob kinds, memo kinds, graphic

}  // namespace Kel

KEL_DECLARE_SET(Kel::DB::TFilterOption, Kel_DB_TFilterOption)
KEL_DECLARE_SET(Kel::DB::TLocateOption, Kel_DB_TLocateOption)
KEL_DECLARE_SET(Kel::DB::TParserOption, Kel_DB_TParserOption)
