#include "SqlReader_p.h"

#include <libpq-fe.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include "DBConsts.h"
#include "DBTables.h"
#include "SqlConnection_p.h"

namespace Kel {

namespace {

// Asks the server to stop sending the rest of a result, so that letting go of a large result
// read only in part costs no more than the part.
void CancelRunningStatement(const QSqlDatabase& db) {
  PGconn* connection = HandleOf<PGconn>(db.driver()->handle(), "PGconn*", "pg_conn*");
  if (!connection) return;
  if (PGcancel* cancel = PQgetCancel(connection)) {
    char error[256];
    PQcancel(cancel, error, sizeof error);
    PQfreeCancel(cancel);
  }
}

}  // namespace

TSqlReader::TSqlReader(const QString& alias, const QString& sql, const QVariantList& bindings)
    : alias_(alias) {
  QSqlError error;
  // A connection found lost (an idle one the server has dropped meanwhile, or the server
  // restarted) is replaced once.
  if (!Start(sql, bindings, error) && !Start(sql, bindings, error))
    throw EDatabaseConnectionLost(RtlMessage(DBText::SQLError, error.text().trimmed()));
  Session().RegisterReader(this);
}

bool TSqlReader::Start(const QString& sql, const QVariantList& bindings, QSqlError& error) {
  connection_ = Session().AcquireReadingConnection(alias_, shared_);
  if (Run(sql, bindings, error)) return true;
  // The statement is gone before the connection is let go.
  const bool lost = IsConnectionLoss(query_->driver(), error);
  query_.reset();
  if (lost) {
    Session().ConnectionLost(connection_);
    return false;
  }
  Session().ReleaseReadingConnection(connection_);
  SqlError(error);
}

bool TSqlReader::Run(const QString& sql, const QVariantList& bindings, QSqlError& error) {
  const QSqlDatabase db = QSqlDatabase::database(connection_, false);
  switch (db.driver()->dbmsType()) {
    case QSqlDriver::SQLite:
      dialect_ = TSqlDialect::Sqlite;
      break;
    case QSqlDriver::PostgreSQL:
      dialect_ = TSqlDialect::Postgres;
      break;
    default:
      break;
  }
  query_ = std::make_unique<QSqlQuery>(db);
  query_->setForwardOnly(true);
  bool ran = false;
  if (bindings.isEmpty()) {
    ran = query_->exec(sql);
  } else if (query_->prepare(sql)) {
    for (const QVariant& binding : bindings) query_->addBindValue(binding);
    ran = query_->exec();
  }
  if (!ran) error = query_->lastError();
  return ran;
}

TSqlReader::~TSqlReader() {
  Finish(true);
  Session().UnregisterReader(this);
}

int TSqlReader::Read(TRecordStore& store, const std::vector<TFieldDef>& defs, int count) {
  if (lost_) throw EDatabaseConnectionLost(failure_);
  if (!failure_.isEmpty()) throw EDatabaseError(failure_);
  int read = 0;
  std::vector<Variant> values(defs.size());
  while (query_ && (count < 0 || read < count)) {
    if (!query_->next()) {
      const QSqlError error = query_->lastError();
      const bool failed = error.isValid() && error.type() != QSqlError::NoError;
      if (failed && IsConnectionLoss(query_->driver(), error)) {
        // The rows read so far stay; the rest cannot be had from a new connection as the
        // same result.
        query_.reset();
        Session().ConnectionLost(connection_);
        failure_ = RtlMessage(DBText::ConnectionLostWhileReading, alias_, error.text().trimmed());
        lost_ = true;
        throw EDatabaseConnectionLost(failure_);
      }
      Finish(false);
      if (failed) {
        failure_ = RtlMessage(DBText::SQLError, error.text().trimmed());
        throw EDatabaseError(failure_);
      }
      break;
    }
    for (size_t i = 0; i < defs.size(); ++i)
      values[i] =
          FromSqlValue(ResultValue(*query_, static_cast<int>(i), dialect_), defs[i].DataType);
    store.AppendRow(values);
    ++read;
  }
  return read;
}

void TSqlReader::ReadToEnd() {
  if (!query_) return;
  if (!readToEnd_) {
    Abandon();
    return;
  }
  // Reading to the end lets the dataset drop this reader: nothing of it is touched after.
  const std::function<void()> readToEnd = readToEnd_;
  readToEnd();
}

void TSqlReader::Abandon() {
  if (!query_) return;
  Finish(true);
  failure_ = RtlMessage(DBText::ConnectionClosedWhileReading, alias_);
}

void TSqlReader::Finish(bool rowsLeft) {
  if (!query_) return;
  if (rowsLeft && dialect_ == TSqlDialect::Postgres && query_->isActive() &&
      !IsConnectionBroken(query_->driver()))
    CancelRunningStatement(QSqlDatabase::database(connection_, false));
  query_.reset();
  Session().ReleaseReadingConnection(connection_);
}

}  // namespace Kel
