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
// TTable (DatabaseName = alias, TableName) loads a whole table, ordered by its primary key (by
// rowid without one), and writes posted edits, inserts and deletes back at once: an update sets
// the changed columns of the row with the old key values, so columns it did not touch stay as
// stored. A row that another writer removed meanwhile gives "The record was changed or deleted
// by another user". Tables with neither a primary key nor a rowid are read-only. A TableName
// with an extension ("biolife.db") names the table without it when only that one exists.
//
// TQuery (DatabaseName, published SQL string list) opens the result of a SELECT statement;
// it is read-only. Changing SQL while the query is open reopens it. ExecSQL runs a statement
// that returns no records.
//
// Field types come from the declared column types: DATE, TIME, DATETIME / TIMESTAMP, BOOLEAN,
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
#include "Strings.h"

namespace Kel {

class TSession : public QObject {
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

 private:
  struct Alias {
    QString Name;
    QString Driver;
    QString Database;
    QStringList Params;
    QString Connection;  // the Qt SQL connection name
  };
  const Alias& FindAlias(const QString& name) const;

  std::vector<Alias> aliases_;
  int nextConnection_ = 1;
};

// The process-wide session.
TSession& Session();

// A dataset that reads through an alias of the session.
class TDBDataSet : public TDataSet {
  Q_OBJECT
  Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)

 public:
  Q_INVOKABLE explicit TDBDataSet(TComponent* owner = nullptr);

  QString DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const QString& name);
  QSqlDatabase Database() const;

 private:
  QString databaseName_;
};

class TTable : public TDBDataSet {
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
  void InternalInitFieldDefs() override;
  void InternalLoad(TRecordStore& store) override;
  void InternalClose() override;
  void InternalPost(int storeRow, std::vector<Variant>& values) override;
  void InternalDelete(int storeRow) override;

 private:
  struct Info;
  QString Quoted(const QString& identifier, bool table) const;
  QString KeyCondition(const std::vector<Variant>& oldValues, QVariantList& bindings) const;

  QString tableName_;
  bool readOnly_ = false;
  std::unique_ptr<Info> info_;
};

class TQuery : public TDBDataSet {
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
  struct Result;
  void SQLChanged();

  std::unique_ptr<TStringList> sql_;
  std::unique_ptr<Result> result_;
  int rowsAffected_ = -1;
};

// The field type (and size, for strings) of a declared SQL column type; ftUnknown when the
// declaration says nothing.
TFieldType FieldTypeOfDeclaredType(const QString& declaredType, int& size);

}  // namespace Kel
