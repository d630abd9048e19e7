#include "SqlReader_p.h"

#include <libpq-fe.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include "DBConsts.h"
#include "DBTables.h"

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

TSqlReader::TSqlReader(const QString& alias, const QString& sql, const std::vector<Variant>& values)
    : alias_(alias) {
  connection_ = Session().AcquireReadingConnection(alias, shared_);
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
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
  Session().RegisterReader(this);
  bool ran = false;
  if (values.empty()) {
    ran = query_->exec(sql);
  } else if (query_->prepare(sql)) {
    for (const Variant& value : values) query_->addBindValue(BoundValue(value, dialect_));
    ran = query_->exec();
  }
  if (!ran) {
    const QSqlError error = query_->lastError();
    query_.reset();
    Session().UnregisterReader(this);
    Session().ReleaseReadingConnection(connection_);
    SqlError(error);
  }
}

TSqlReader::~TSqlReader() {
  Finish(true);
  Session().UnregisterReader(this);
}

int TSqlReader::Read(TRecordStore& store, const std::vector<TFieldDef>& defs, int count) {
  if (!failure_.isEmpty()) throw EDatabaseError(failure_);
  int read = 0;
  std::vector<Variant> values(defs.size());
  while (query_ && (count < 0 || read < count)) {
    if (!query_->next()) {
      const QSqlError error = query_->lastError();
      const bool failed = error.isValid() && error.type() != QSqlError::NoError;
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

void TSqlReader::Abandon() {
  if (!query_) return;
  Finish(true);
  failure_ = RtlMessage(DBText::ConnectionClosedWhileReading, alias_);
}

void TSqlReader::Finish(bool rowsLeft) {
  if (!query_) return;
  if (rowsLeft && dialect_ == TSqlDialect::Postgres && query_->isActive())
    CancelRunningStatement(QSqlDatabase::database(connection_, false));
  query_.reset();
  Session().ReleaseReadingConnection(connection_);
}

}  // namespace Kel
