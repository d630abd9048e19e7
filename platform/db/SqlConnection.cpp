#include "SqlConnection_p.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <memory>

#include "DBConsts.h"
#include "SqlValues_p.h"

namespace Kel {

namespace {

PGconn* ServerConnection(const QSqlDriver* driver) {
  if (!driver || driver->dbmsType() != QSqlDriver::PostgreSQL) return nullptr;
  return HandleOf<PGconn>(driver->handle(), "PGconn*", "pg_conn*");
}

bool IsConnectionState(const QString& sqlState) {
  return sqlState.startsWith(u"08") || sqlState == u"57P01" || sqlState == u"57P02" ||
         sqlState == u"57P03";
}

// A database name that names no file of its own: an in-memory or a URI database.
bool NamesNoPlainFile(const QString& file) {
  return file.isEmpty() || file == u":memory:" || file.startsWith(u"file:");
}

QString Shown(const QString& file) { return QDir::toNativeSeparators(file); }

// What SQLite says when it reads the file's schema; empty when it reads.
QString SqliteSchemaFailure(const QString& file) {
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
  if (opened != SQLITE_OK)
    return QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(opened));
  // The schema is read in full: a header that is no database's, or schema pages that are
  // damaged or cut off, fail here with SQLite's own words.
  const int rc =
      sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(db.get()));
}

}  // namespace

bool IsConnectionBroken(const QSqlDriver* driver) {
  const PGconn* connection = ServerConnection(driver);
  return connection && PQstatus(connection) == CONNECTION_BAD;
}

bool IsConnectionLoss(const QSqlDriver* driver, const QSqlError& error) {
  if (!driver || driver->dbmsType() != QSqlDriver::PostgreSQL) return false;
  return IsConnectionState(error.nativeErrorCode()) || IsConnectionBroken(driver);
}

void RaiseStatementError(const QSqlDriver* driver, const QSqlError& error) {
  if (IsConnectionLoss(driver, error))
    throw EDatabaseConnectionLost(RtlMessage(DBText::SQLError, error.text().trimmed()));
  SqlError(error);
}

void CheckConnection(const QSqlDriver* driver) {
  if (!IsConnectionBroken(driver)) return;
  const QString reason = QString::fromUtf8(PQerrorMessage(ServerConnection(driver))).trimmed();
  throw EDatabaseConnectionLost(RtlMessage(
      DBText::SQLError, reason.isEmpty() ? QStringLiteral("the connection is broken") : reason));
}

QString WithConnectTimeout(const QString& options, int seconds) {
  if (options.contains(QStringLiteral("connect_timeout"), Qt::CaseInsensitive)) return options;
  const QString timeout = QStringLiteral("connect_timeout=%1").arg(seconds);
  return options.trimmed().isEmpty() ? timeout : options + u';' + timeout;
}

void CheckSqliteFile(const QString& alias, const QString& file) {
  if (NamesNoPlainFile(file)) return;
  const QFileInfo info(file);
  if (!info.exists()) DatabaseError(DBText::DatabaseFileMissing, Shown(file), alias);
  if (info.isDir())
    DatabaseError(DBText::DatabaseFileUnusable, Shown(file), alias,
                  QStringLiteral("it is a folder"));
  const QString failure = SqliteSchemaFailure(file);
  if (!failure.isEmpty()) DatabaseError(DBText::DatabaseFileUnusable, Shown(file), alias, failure);
}

void CheckSqliteFileNotEmpty(const QString& alias, const QString& file, const QString& table) {
  if (NamesNoPlainFile(file)) return;
  const QFileInfo info(file);
  if (info.isFile() && info.size() == 0)
    DatabaseError(DBText::DatabaseFileEmpty, table, Shown(file), alias);
}

}  // namespace Kel
