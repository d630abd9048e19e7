#pragma once
// TSqlReader: the rows of one SELECT, read as a table or query asks for them. Inside the dataset
// layer only.
//
// The statement runs forward-only, so nothing is held but the rows already handed over. SQLite
// results are read through the alias's own connection (readers and writers of one process must
// share it); a server's through a reading connection of their own that the session lends,
// because a server driver reads a forward-only result from the connection as it goes and the
// next statement on that connection would cut it off. The session may take the connection away
// (CloseDatabases, DeleteAlias): the reader then stops, and asking it for more rows raises. A
// statement that fails because the server connection was lost is run once more on a new one; a
// result cut off that way stops the reader for good (its dataset must be opened again).

#include <QSqlQuery>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "DataSet.h"
#include "SqlValues_p.h"

namespace Kel {

class TSqlReader {
 public:
  // Runs sql (with values bound to its placeholders in order) on a reading connection of the
  // alias; raises the driver's error.
  TSqlReader(const QString& alias, const QString& sql, const QVariantList& bindings = {});
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
  // The rows stopped because the server connection was lost (Read raises
  // EDatabaseConnectionLost).
  bool Lost() const { return lost_; }

  // The session takes the connection away: stop reading.
  void Abandon();
  // What reads the rest of the result into its dataset (before a write through a shared
  // connection); without it, ReadToEnd stops the reader instead.
  void SetReadToEnd(std::function<void()> readToEnd) { readToEnd_ = std::move(readToEnd); }
  // Leaves the reader at a defined point: read to its end, or stopped.
  void ReadToEnd();

 private:
  // Lets go of the statement and the connection; rowsLeft: the result was not read to its end.
  void Finish(bool rowsLeft);
  // Runs sql on a reading connection; false (and the connection let go) when the connection
  // turned out to be lost, error then holds the driver's words.
  bool Start(const QString& sql, const QVariantList& bindings, QSqlError& error);
  // Runs sql on the connection; false with the driver's error when it fails.
  bool Run(const QString& sql, const QVariantList& bindings, QSqlError& error);

  QString alias_;
  QString connection_;
  bool shared_ = false;
  TSqlDialect dialect_ = TSqlDialect::Other;
  std::unique_ptr<QSqlQuery> query_;
  QString failure_;  // why the rows stopped before their end
  bool lost_ = false;
  std::function<void()> readToEnd_;
};

}  // namespace Kel
