#pragma once
// Message texts of the dataset layer, kept together so that tests and callers use the very same
// words. Format them with RtlMessage (Exceptions.h): %1, %2 take the arguments in order.

#include "Exceptions.h"

namespace Kel {

// Raised by the filter-expression parser; a database error like every other error of the layer.
KEL_DECLARE_EXCEPTION(EExprParserError, EDatabaseError);
// Raised when a statement failed because the connection to the database server was lost; the
// session opens a new connection at the next use.
KEL_DECLARE_EXCEPTION(EDatabaseConnectionLost, EDatabaseError);

namespace DBText {
// Fields and datasets.
inline constexpr const char* FieldNotFound = "Field '%1' not found";
inline constexpr const char* DuplicateFieldName = "Duplicate field name '%1'";
inline constexpr const char* DataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* DataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* DataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* NotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* DataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* FieldReadOnly = "Field '%1' cannot be modified";
inline constexpr const char* FieldRequired = "Field '%1' must have a value";
inline constexpr const char* RecordNotFound = "Record not found";
inline constexpr const char* CircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* KeyValueCountMismatch =
    "Number of key values does not match the number of key fields";

// Tables, queries and the session.
inline constexpr const char* UnknownAlias = "Unknown database alias: '%1'";
inline constexpr const char* DuplicateAlias = "Alias '%1' already exists";
inline constexpr const char* DatabaseOpenError = "Cannot open database '%1': %2";
inline constexpr const char* DriverNotAvailable = "Database driver '%1' is not available";
inline constexpr const char* NoTableName = "Missing TableName property";
inline constexpr const char* NoDatabaseName = "Missing DatabaseName property";
inline constexpr const char* TableNotFound = "Table '%1' does not exist";
inline constexpr const char* NoSQLStatement = "No SQL statement available";
inline constexpr const char* SQLError = "SQL error: %1";
inline constexpr const char* SampleDatabaseMissing =
    "The sample database was not found (looked in: %1)";
inline constexpr const char* NoWriteKey =
    "Table '%1' has no primary key: its records cannot be changed";
inline constexpr const char* RecordChangedElsewhere =
    "The record was changed or deleted by another user";
inline constexpr const char* AliasFileFault = "Alias file '%1', line %2: %3";
inline constexpr const char* AliasFileUnreadable = "Alias file '%1' cannot be read: %2";
inline constexpr const char* ConnectionClosedWhileReading =
    "The connection of alias '%1' was closed before all records were read";
inline constexpr const char* ConnectionLostWhileReading =
    "The connection of alias '%1' was lost before all records were read; close and open the "
    "dataset again to read them (%2)";
inline constexpr const char* ChangeNotSaved =
    "The connection of alias '%1' was lost: the change was not saved. It is kept and can be "
    "posted again once the database answers (%2)";
inline constexpr const char* StatementNotRun =
    "The connection of alias '%1' was lost: the statement was not run (%2)";
inline constexpr const char* DatabaseFileMissing =
    "The database file '%1' of alias '%2' was not found";
inline constexpr const char* DatabaseFileUnusable =
    "The database file '%1' of alias '%2' cannot be used: %3";
inline constexpr const char* DatabaseFileEmpty =
    "Table '%1' does not exist: the database file '%2' of alias '%3' is empty";
inline constexpr const char* OtherThread =
    "The database layer is used from the thread that started it only; alias '%1' was asked for "
    "from another thread";

// The filter-expression parser.
inline constexpr const char* UnterminatedString = "Unterminated string constant";
inline constexpr const char* UnterminatedFieldName = "Unterminated field name";
inline constexpr const char* UnterminatedComment = "Unterminated comment";
inline constexpr const char* InvalidKeywordUse = "Invalid use of keyword";
inline constexpr const char* InvalidCharacter = "Invalid filter expression character: '%1'";
inline constexpr const char* ArithmeticNotSupported =
    "Arithmetic in filter expressions not supported";
inline constexpr const char* LeftParenExpected = "'(' expected but %1 found";
inline constexpr const char* RightParenExpected = "')' expected but %1 found";
inline constexpr const char* RightParenOrCommaExpected = "')' or ',' expected but %1 found";
inline constexpr const char* ExpressionExpected = "Expression expected but %1 found";
inline constexpr const char* EmptyInList = "IN predicate list may not be empty";
inline constexpr const char* TypeMismatch = "Type mismatch in expression";
inline constexpr const char* EndOfExpressionExpected = "End of expression expected but %1 found";
inline constexpr const char* ExpressionTooComplex = "Filter expression is too complex";
inline constexpr const char* EndOfExpression = "end of expression";
inline constexpr const char* InvalidNumber = "'%1' is not a valid number";
inline constexpr const char* InvalidCannedExpression = "Invalid filter expression data";
inline constexpr const char* ExpressionNestedTooDeeply = "Filter expression is nested too deeply";
}  // namespace DBText

// Raises EDatabaseError with a formatted message.
template <typename... Args>
[[noreturn]] void DatabaseError(const char* text, const Args&... args) {
  throw EDatabaseError(RtlMessage(text, args...));
}

}  // namespace Kel
