#pragma once
// Values and column types between the record store and Qt SQL drivers (tables, queries and the
// readers behind them). Inside the dataset layer only.

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>

#include "DBTypes.h"
#include "PlatformExport.h"
#include "Variant.h"

typedef struct pg_result PGresult;

namespace Kel {

// Raises EDatabaseError "SQL error: ..." with the driver's text.
[[noreturn]] void SqlError(const QSqlError& error);

// A date, time or date-time read from its stored form: ISO text (with up to six decimals of
// seconds, a trailing zone offset ignored), a driver's date or time value, or a date-time number.
// Exported for the tests only: no driver here hands over Qt's date-time values.
KEL_PLATFORM_EXPORT std::optional<TDateTime> ReadDateTime(const QVariant& value);

// A stored value as the field type keeps it; Null when it does not read as that type or does not
// fit it (70000 in a small integer field), so that one odd value never keeps a table shut.
Variant FromSqlValue(const QVariant& value, TFieldType type);

// How values are written for a driver. SQLite keeps dates and times as ISO text and Booleans as
// 1/0; PostgreSQL takes dates, times and money as text that it reads into the column's own type,
// so that neither the client's time zone nor floating point touches them.
enum class TSqlDialect { Sqlite, Postgres, Other };
QVariant ToSqlValue(const Variant& value, TFieldType type, TSqlDialect dialect);

// A value bound to a placeholder, typed by its own kind (dates as ISO text for SQLite and
// PostgreSQL, Booleans as 1/0 for SQLite).
QVariant BoundValue(const Variant& value, TSqlDialect dialect);

QString IsoDate(TDateTime value);
QString IsoTime(TDateTime value);

// The field type (and string size) of a result column from the driver's description.
TFieldType FieldTypeOfMetaType(const QSqlField& field, int& size);

// The field type of a PostgreSQL column from its type oid and type modifier (-1 for none): the
// size of character types and the precision and scale of numeric come in the modifier.
TFieldType FieldTypeOfPgType(int oid, int typeModifier, int& size);

// The field type of a column of a PostgreSQL result as Qt's driver describes it (the type oid,
// and the size or precision and scale it took from the type modifier).
TFieldType FieldTypeOfPgField(const QSqlField& field, int& size);

// The current row's value of a column: for PostgreSQL the text the server sent (see
// PgCellValue), not the driver's reading of it, which puts timestamps through the client's time
// zone and money through the server's locale; for other drivers the driver's value.
QVariant ResultValue(const QSqlQuery& query, int column, TSqlDialect dialect);

// A pointer that a Qt SQL driver hands out as a handle ("sqlite3_stmt*", "PGresult*", ...), or
// nullptr when the handle is of another kind. Qt versions name the PostgreSQL handles after the
// client library's typedef or after its struct ("pg_result*"): either is taken.
template <typename T>
T* HandleOf(const QVariant& handle, const char* typeName, const char* otherName = nullptr) {
  if (!handle.isValid()) return nullptr;
  if (qstrcmp(handle.typeName(), typeName) != 0 &&
      (!otherName || qstrcmp(handle.typeName(), otherName) != 0))
    return nullptr;
  return *static_cast<T* const*>(handle.constData());
}

// The value of one column of a row of a PostgreSQL result, from the text the server sent: bytea
// as bytes, money without its currency sign and group separators, the rest as text.
QVariant PgCellValue(const PGresult* result, int row, int column);

}  // namespace Kel
