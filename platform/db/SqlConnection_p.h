#pragma once
// The health of a Qt SQL connection and of the file behind an SQLite alias, as the session and
// the readers judge them. Inside the dataset layer only.
//
// A server connection is lost when a statement fails with one of PostgreSQL's connection-class
// SQLSTATEs (class 08, and 57P01-57P03: the server shutting down, crashing or still starting)
// or when the client library has given the connection up. The session then opens a new one at
// the next use; reads are run once more on it, writes are not (the caller is told).

#include <QSqlError>
#include <QString>

class QSqlDriver;

namespace Kel {

// Whether error, which a statement through driver gave, means that the server connection is
// gone.
bool IsConnectionLoss(const QSqlDriver* driver, const QSqlError& error);

// Whether the client library already knows the server connection of driver to be broken.
bool IsConnectionBroken(const QSqlDriver* driver);

// Raises error as EDatabaseConnectionLost when it is a loss of driver's connection, else as
// EDatabaseError "SQL error: ...".
[[noreturn]] void RaiseStatementError(const QSqlDriver* driver, const QSqlError& error);

// Raises EDatabaseConnectionLost when the connection of driver is broken: for calls that Qt
// lets fail without a word (the list of tables comes back empty).
void CheckConnection(const QSqlDriver* driver);

// The connect options of a PostgreSQL connection: the alias's, with a connect timeout of
// seconds added unless they name one.
QString WithConnectTimeout(const QString& options, int seconds);

// Raises unless file is an SQLite database that can be read: a missing file is reported, never
// created; a file that is not a database gives SQLite's own reason. Names alias and file.
void CheckSqliteFile(const QString& alias, const QString& file);

// For a table that an SQLite alias does not hold: raises the clearer error when the database
// file is empty (SQLite takes an empty file for an empty database).
void CheckSqliteFileNotEmpty(const QString& alias, const QString& file, const QString& table);

}  // namespace Kel
