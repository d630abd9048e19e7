#pragma once
// Tables and queries over Qt SQL, and the session that maps alias names to databases.
//
// TSession (the process-wide Session()): an alias is a name for a database reached through a Qt
// SQL driver: AddAlias(name, driver, database) with driver "QSQLITE" (the default; "SQLITE" works
// too), "QPSQL", ... and optional "HOST=", "PORT=", "USER=", "PASSWORD=", "OPTIONS=" parameters.
// The alias DBDEMOS always exists: the sample SQLite database, found in the file named by the
// environment variable KEL_DBDEMOS, else in data/dbdemos.sqlite beside the program.
// GetAliasNames and GetTableNames list what the data source dialog offers.
//
// The session also reads aliases from an alias file when it starts: the file named by the
// environment variable KEL_ALIASES (set and empty: none), else Kel/aliases.ini in the user's
// configuration folder. One INI group per alias, for example
//     [Sales]
//     driver=QPSQL
//     database=sales
//     host=db.example.org      (a socket folder works too)
//     port=5432
//     user=clerk
//     options=connect_timeout=5 sslmode=require
// Passwords are refused there: the database client finds them (PostgreSQL: its password file or
// PGPASSWORD). A [DBDEMOS] group points the sample alias elsewhere (a server holding the sample
// tables). A group that cannot be used (an unknown setting, a missing database, a broken line)
// is left out and AliasFileErrors() says why, naming file and line; using its name raises that
// message. The other aliases work.
//
// TTable (DatabaseName = alias, TableName) reads a table ordered by its primary key (by rowid
// without one in SQLite), and writes posted edits, inserts and deletes back at once: an update
// sets the changed columns of the row with the old key values. In SQLite columns it did not
// touch stay as another writer left them, and a row that another writer removed meanwhile gives
// "The record was changed or deleted by another user"; on PostgreSQL any change by another
// connection since the row was read gives that error (the row's version is compared). Tables
// without a primary key (nor a rowid) are read-only: editing them says so. A TableName with an
// extension ("biolife.db") names the table without it when only that one exists.
//
// TQuery (DatabaseName, published SQL string list) opens the result of a SELECT statement;
// it is read-only. Changing SQL while the query is open reopens it. ExecSQL runs a statement
// that returns no records.
//
// Both read their records as the cursor moves: a first batch at open, more when navigation, a
// filter, RecordCount and the like need them (DataSet.h). In SQLite an unfinished result keeps
// other processes from writing to the database file until it is read to its end or closed.
//
// Field types come from the declared column types (PostgreSQL: smallint, integer, bigint, real,
// double precision, numeric(p,s) with up to 4 decimals as BCD and others as float, money,
// boolean, text, varchar(n), char(n), date, time, timestamp, timestamptz, bytea; other types
// as memo text). In SQLite from DATE, TIME, DATETIME / TIMESTAMP, BOOLEAN,
// CURRENCY / MONEY, SMALLINT, INTEGER (and other INT types; BIGINT as large integer), FLOAT /
// REAL / DOUBLE, NUMERIC / DECIMAL (BCD), VARCHAR(n) / CHAR(n) (strings of that size), TEXT /
// MEMO / CLOB (memo), BLOB (blob), GRAPHIC / IMAGE (graphic); columns without a declared type
// from the driver's type. Dates and times are stored as ISO text ("2024-01-31",
// "13:45:00", "2024-01-31 13:45:00"); a stored value that does not read as its type loads as
// Null and is written back only when it is changed.

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "DataSet.h"
#include "PlatformExport.h"
#include "Strings.h"

namespace Kel {

class TSqlReader;

class KEL_PLATFORM_EXPORT TSession : public QObject {
  Q_OBJECT

 public:
  TSession();
  ~TSession() override;

  QStringList AliasNames() const;
  void GetAliasNames(TStrings* list) const;
  bool IsAlias(const QString& name) const;
  void AddAlias(const QString& name, const QString& driver, const QString& database,
                const QStringList& params = {});
  void DeleteAlias(const QString& name);
  // The rules of the alias's driver, without connecting; none for a name that is no alias.
  TSqlTextRules SqlTextRules(const QString& alias) const;

  // The tables of an alias, sorted; system tables only when asked for.
  QStringList TableNames(const QString& alias, bool systemTables = false);
  void GetTableNames(const QString& alias, const QString& pattern, bool extensions,
                     bool systemTables, TStrings* list);

  // The open connection of an alias (opened on first use); raises EDatabaseError.
  QSqlDatabase Database(const QString& alias);
  // Closes the connections of all aliases (they reopen on demand).
  void CloseDatabases();
  // Where the sample database is looked for, in order.
  static QStringList SampleDatabaseCandidates();

  // The alias file read at start: its name, and what kept some of its aliases from use.
  QString AliasFileName() const { return aliasFileName_; }
  QStringList AliasFileErrors() const;
  // Reads an alias file instead of the one read before (its aliases replace that file's).
  void LoadAliasFile(const QString& fileName);
  // KEL_ALIASES, else Kel/aliases.ini in the user's configuration folder.
  static QString DefaultAliasFileName();

 private:
  friend class TSqlReader;

  struct Alias {
    QString Name;
    QString Driver;
    QString Database;
    QStringList Params;
    QString Connection;  // the Qt SQL connection name
    bool FromFile = false;
  };
  struct RefusedAlias {
    QString Name;
    QString Message;
  };
  const Alias& FindAlias(const QString& name) const;
  const Alias* FindListedAlias(const QString& name) const;
  QSqlDatabase OpenConnection(const Alias& alias, const QString& connection) const;
  void CloseConnection(const QString& connection);

  // Reading connections (SqlReader_p.h): the alias's own for SQLite (shared is then true), else
  // one that only this reader uses until it gives it back.
  QString AcquireReadingConnection(const QString& alias, bool& shared);
  void ReleaseReadingConnection(const QString& connection);
  void RegisterReader(TSqlReader* reader) { readers_.push_back(reader); }
  void UnregisterReader(TSqlReader* reader);

  std::vector<Alias> aliases_;
  std::vector<RefusedAlias> refused_;
  QString aliasFileName_;
  int nextConnection_ = 1;
  std::vector<TSqlReader*> readers_;
  // Reading connections lent out or waiting for the next reader: connection -> alias name.
  std::map<QString, QString> readingConnections_;
  std::vector<QString> idleReadingConnections_;
};

// The process-wide session.
KEL_PLATFORM_EXPORT TSession& Session();

// A dataset that reads through an alias of the session.
class KEL_PLATFORM_EXPORT TDBDataSet : public TDataSet {
  Q_OBJECT
  Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)

 public:
  Q_INVOKABLE explicit TDBDataSet(TComponent* owner = nullptr);
  ~TDBDataSet() override;

  QString DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const QString& name);
  QSqlDatabase Database() const;
  // How SQL text for this dataset's database is written (TSession::SqlTextRules).
  TSqlTextRules SqlTextRules() const override { return Session().SqlTextRules(databaseName_); }

 protected:
  int InternalFetch(TRecordStore& store, int count) override;
  bool InternalFetchedAll() const override;
  void InternalClose() override;
  // Runs a SELECT on a reading connection of the alias (raises the driver's error).
  std::unique_ptr<TSqlReader> StartReading(const QString& sql) const;
  // Reads the first batch of reader's rows into store; the reader then serves InternalFetch.
  void ReadFirstBatch(std::unique_ptr<TSqlReader> reader, TRecordStore& store);
  // Before writing through the connection that an unfinished result is read through (SQLite),
  // its rest is read: the result would otherwise show rows as they are after the write.
  void FinishSharedReading();

 private:
  QString databaseName_;
  std::unique_ptr<TSqlReader> reader_;
};

class KEL_PLATFORM_EXPORT TTable : public TDBDataSet {
  Q_OBJECT
  Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_CLASSINFO("default:ReadOnly", "False")

 public:
  Q_INVOKABLE explicit TTable(TComponent* owner = nullptr);
  ~TTable() override;

  QString TableName() const { return tableName_; }
  void SetTableName(const QString& name);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool CanModify() const override;
  // The primary-key columns the table writes back by (empty with rowid or read-only).
  QStringList KeyFieldNames() const;

 protected:
  void CheckCanModify() const override;
  void InternalInitFieldDefs() override;
  void InternalLoad(TRecordStore& store) override;
  void InternalClose() override;
  void InternalPost(int storeRow, std::vector<Variant>& values) override;
  void InternalDelete(int storeRow) override;

 private:
  struct Info;
  void InitSqliteFieldDefs(QSqlDatabase& db, Info& info);
  void InitPostgresFieldDefs(QSqlDatabase& db, Info& info);
  void InitDriverFieldDefs(QSqlDatabase& db, Info& info);
  QString Quoted(const QString& identifier, bool table) const;
  QString KeyCondition(const std::vector<Variant>& oldValues, QVariantList& bindings) const;
  QVariant SqlValue(int column, const Variant& value) const;
  void ReadBack(QSqlQuery& query, std::vector<Variant>& values) const;
  void PostUpdate(int storeRow, std::vector<Variant>& values);
  void PostInsert(std::vector<Variant>& values);

  QString tableName_;
  bool readOnly_ = false;
  std::unique_ptr<Info> info_;
};

class KEL_PLATFORM_EXPORT TQuery : public TDBDataSet {
  Q_OBJECT
  Q_PROPERTY(Kel::TStrings* SQL READ SQL WRITE SetSQL)

 public:
  Q_INVOKABLE explicit TQuery(TComponent* owner = nullptr);
  ~TQuery() override;

  TStrings* SQL() const { return sql_.get(); }
  // Copies the lines of value.
  void SetSQL(TStrings* value);
  bool CanModify() const override { return false; }
  // Runs a statement that returns no records; returns the number of rows it changed.
  int ExecSQL();
  int RowsAffected() const { return rowsAffected_; }

 protected:
  void InternalInitFieldDefs() override;
  void InternalLoad(TRecordStore& store) override;
  void InternalClose() override;

 private:
  void SQLChanged();

  std::unique_ptr<TStringList> sql_;
  std::unique_ptr<TSqlReader> pending_;  // run to learn the columns, read by InternalLoad
  int rowsAffected_ = -1;
};

// The field type (and size, for strings) of a declared SQL column type; ftUnknown when the
// declaration says nothing.
KEL_PLATFORM_EXPORT TFieldType FieldTypeOfDeclaredType(const QString& declaredType, int& size);

}  // namespace Kel
