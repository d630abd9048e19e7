#pragma once
// TSqlReader: the rows of one SELECT, read as a table or query asks for them. Inside the dataset
// layer only.
//
// The statement runs forward-only, so nothing is held but the rows already handed over. SQLite
// results are read through the alias's own connection (readers and writers of one process must
// share it); a server's through a reading connection of their own that the session lends,
// because a server driver reads a forward-only result from the connection as it goes and the
// next statement on that connection would cut it off. The session may take the connection away
// (CloseDatabases, DeleteAlias): the reader then stops, and asking it for more rows raises.

#include <QSqlQuery>
#include <QString>
#include <memory>
#include <vector>

#include "DataSet.h"
#include "SqlValues_p.h"

namespace Kel {

class TSqlReader {
 public:
  // Runs sql on a reading connection of the alias, with values (if any) bound in order to its
  // "?" placeholders; raises the driver's error.
  TSqlReader(const QString& alias, const QString& sql, const std::vector<Variant>& values = {});
  ~TSqlReader();
  TSqlReader(const TSqlReader&) = delete;
  TSqlReader& operator=(const TSqlReader&) = delete;

  // The running statement (its record and handle describe the result columns).
  const QSqlQuery& Query() const { return *query_; }
  TSqlDialect Dialect() const { return dialect_; }
  // Whether the rows come through the connection that writes use too.
  bool SharesConnection() const { return shared_; }
  const QString& Connection() const { return connection_; }

  // Appends up to count rows (all that are left when negative) to store, the values of result
  // column i read as defs[i]'s type; returns how many it appended.
  int Read(TRecordStore& store, const std::vector<TFieldDef>& defs, int count);
  bool AtEnd() const { return !query_ && failure_.isEmpty(); }

  // The session takes the connection away: stop reading.
  void Abandon();

 private:
  // Lets go of the statement and the connection; rowsLeft: the result was not read to its end.
  void Finish(bool rowsLeft);

  QString alias_;
  QString connection_;
  bool shared_ = false;
  TSqlDialect dialect_ = TSqlDialect::Other;
  std::unique_ptr<QSqlQuery> query_;
  QString failure_;  // why the rows stopped before their end
};

}  // namespace Kel
