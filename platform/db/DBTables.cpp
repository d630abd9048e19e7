#include "DBTables.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <algorithm>

#include "DBConsts.h"
#include "Fields.h"
#include "SqlConnection_p.h"
#include "SqlReader_p.h"

namespace Kel {

namespace {

const QString RowIdName = QStringLiteral("__kel_rowid");
const QString VersionName = QStringLiteral("__kel_version");
const char* const NoResultSet = "the statement returns no records";

// The records a table or query reads at open: enough for a screen of a grid.
constexpr int kFirstBatch = 100;

// Prepares sql, binds the values in order and runs it; a failure raises the driver's message
// (EDatabaseConnectionLost when the connection is gone).
void ExecPrepared(QSqlQuery& query, const QString& sql, const QVariantList& bindings) {
  if (!query.prepare(sql)) RaiseStatementError(query.driver(), query.lastError());
  for (const QVariant& binding : bindings) query.addBindValue(binding);
  if (!query.exec()) RaiseStatementError(query.driver(), query.lastError());
}

// Field names must differ: a repeated result column becomes "Name_1", "Name_2", ...
QString UniqueName(const QString& name, const std::vector<TFieldDef>& defs) {
  auto taken = [&defs](const QString& candidate) {
    return std::any_of(defs.begin(), defs.end(), [&](const TFieldDef& def) {
      return def.Name.compare(candidate, Qt::CaseInsensitive) == 0;
    });
  };
  QString base = name.isEmpty() ? QStringLiteral("Column") : name;
  if (!taken(base)) return base;
  for (int i = 1;; ++i) {
    const QString candidate = QStringLiteral("%1_%2").arg(base).arg(i);
    if (!taken(candidate)) return candidate;
  }
}

// The declared type of a result column of an SQLite statement.
QString SqliteDeclaredType(const QSqlQuery& query, int column) {
  sqlite3_stmt* statement =
      query.result() ? HandleOf<sqlite3_stmt>(query.result()->handle(), "sqlite3_stmt*") : nullptr;
  if (!statement) return QString();
  const char* declared = sqlite3_column_decltype(statement, column);
  return declared ? QString::fromUtf8(declared) : QString();
}

TSqlDialect DialectOf(const QSqlDatabase& db) {
  switch (db.driver()->dbmsType()) {
    case QSqlDriver::SQLite:
      return TSqlDialect::Sqlite;
    case QSqlDriver::PostgreSQL:
      return TSqlDialect::Postgres;
    default:
      return TSqlDialect::Other;
  }
}

}  // namespace

TFieldType FieldTypeOfDeclaredType(const QString& declaredType, int& size) {
  size = 0;
  const QString type = declaredType.trimmed().toUpper();
  if (type.isEmpty()) return ftUnknown;
  static const QRegularExpression sizePattern(QStringLiteral("\\(\\s*(\\d+)"));
  const QRegularExpressionMatch sizeMatch = sizePattern.match(type);
  const int declaredSize = sizeMatch.hasMatch() ? sizeMatch.captured(1).toInt() : 0;
  const QString word = type.section(QRegularExpression(QStringLiteral("[\\s(]")), 0, 0);
  if (type.contains(u"BOOL")) return ftBoolean;
  if (word == u"DATETIME" || word == u"TIMESTAMP") return ftDateTime;
  if (word == u"DATE") return ftDate;
  if (word == u"TIME") return ftTime;
  if (type.contains(u"CURRENCY") || type.contains(u"MONEY")) return ftCurrency;
  if (word == u"SMALLINT" || word == u"TINYINT" || word == u"INT2") return ftSmallint;
  if (word == u"BIGINT" || word == u"INT8" || word == u"LARGEINT") return ftLargeint;
  if (type.contains(u"INT")) return ftInteger;
  if (word == u"NUMERIC" || word == u"DECIMAL") return ftBCD;
  if (type.contains(u"FLOA") || type.contains(u"REAL") || type.contains(u"DOUB")) return ftFloat;
  if (type.contains(u"GRAPHIC") || type.contains(u"IMAGE")) return ftGraphic;
  if (type.contains(u"BLOB")) return ftBlob;
  if (word == u"VARBINARY" || word == u"BINARY") {
    size = declaredSize;
    return word == u"BINARY" ? ftBytes : ftVarBytes;
  }
  if (type.contains(u"CHAR")) {
    size = declaredSize > 0 ? declaredSize : 255;
    return ftString;
  }
  if (type.contains(u"TEXT") || type.contains(u"MEMO") || type.contains(u"CLOB")) return ftMemo;
  return ftUnknown;
}

// ---------------------------------------------------------------------------------------------
// TDBDataSet

TDBDataSet::TDBDataSet(TComponent* owner) : TDataSet(owner) {}
TDBDataSet::~TDBDataSet() = default;

void TDBDataSet::SetDatabaseName(const QString& name) {
  if (name == databaseName_) return;
  CheckInactive();
  databaseName_ = name;
}

QSqlDatabase TDBDataSet::Database() const {
  if (databaseName_.trimmed().isEmpty()) DatabaseError(DBText::NoDatabaseName);
  return Session().Database(databaseName_);
}

std::unique_ptr<TSqlReader> TDBDataSet::StartReading(const QString& sql,
                                                     const QVariantList& bindings) const {
  if (databaseName_.trimmed().isEmpty()) DatabaseError(DBText::NoDatabaseName);
  return std::make_unique<TSqlReader>(databaseName_, sql, bindings);
}

void TDBDataSet::ReadFirstBatch(std::unique_ptr<TSqlReader> reader, TRecordStore& store) {
  lastReadRow_ = 0;
  if (reader->Read(store, FieldDefs(), kFirstBatch) > 0)
    lastReadRow_ = store.RowId(store.RowCount() - 1);
  // A result read to its end gives its connection back at once.
  reader_ = reader->AtEnd() ? nullptr : std::move(reader);
  // A write through the connection reads the rest first (FinishSharedReading), into the store
  // this dataset shows.
  if (reader_) reader_->SetReadToEnd([this] { FetchAllRecords(); });
}

int TDBDataSet::InternalFetch(TRecordStore& store, int count) {
  if (!reader_) return 0;
  const int before = store.RowCount();
  const auto noteLastRead = [&] {
    if (store.RowCount() > before) lastReadRow_ = store.RowId(store.RowCount() - 1);
  };
  try {
    // A reader that lost its connection before is replaced first: the server may be back.
    if (reader_->Lost()) ResumeReading(store);
    reader_->Read(store, FieldDefs(), count);
  } catch (const EDatabaseConnectionLost&) {
    noteLastRead();
    if (!ResumeReading(store)) throw;
    reader_->Read(store, FieldDefs(), count);  // lost again at once: that is reported
  }
  noteLastRead();
  if (reader_->AtEnd()) reader_.reset();
  return store.RowCount() - before;
}

bool TDBDataSet::ResumeReading(TRecordStore& store) {
  const int row = lastReadRow_ > 0 ? store.RowOfId(lastReadRow_) : -1;
  if (row < 0) return false;  // nothing read yet, or the last record read was deleted here
  QVariantList bindings;
  const QString sql = ContinuationSql(store.Row(row), bindings);
  if (sql.isEmpty()) return false;
  std::unique_ptr<TSqlReader> reader = StartReading(sql, bindings);
  reader_ = std::move(reader);
  reader_->SetReadToEnd([this] { FetchAllRecords(); });
  return true;
}

bool TDBDataSet::InternalFetchedAll() const { return !reader_ || reader_->AtEnd(); }

void TDBDataSet::InternalClose() { reader_.reset(); }

void TDBDataSet::FinishSharedReading() {
  if (databaseName_.trimmed().isEmpty()) DatabaseError(DBText::NoDatabaseName);
  Session().FinishSharedReaders(databaseName_);
}

// ---------------------------------------------------------------------------------------------
// TTable

struct TTable::Info {
  QString Table;
  TSqlDialect Dialect = TSqlDialect::Other;
  int ColumnCount = 0;          // table columns (the hidden ones come after them)
  std::vector<int> KeyColumns;  // primary-key columns, in key order
  int RowIdColumn = -1;         // SQLite's row id, when the table has no primary key
  int VersionColumn = -1;       // PostgreSQL's row version (xmin), for tables with a key
  int IntegerKeyColumn = -1;    // a single INTEGER primary key: SQLite fills it in

  bool Sqlite() const { return Dialect == TSqlDialect::Sqlite; }
  bool Postgres() const { return Dialect == TSqlDialect::Postgres; }
};

TTable::TTable(TComponent* owner) : TDBDataSet(owner) {}
TTable::~TTable() = default;

void TTable::SetTableName(const QString& name) {
  if (name == tableName_) return;
  CheckInactive();
  tableName_ = name;
}

void TTable::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  CheckInactive();
  readOnly_ = readOnly;
}

bool TTable::CanModify() const {
  return !readOnly_ && (!info_ || !info_->KeyColumns.empty() || info_->RowIdColumn >= 0);
}

void TTable::CheckCanModify() const {
  // Say why: a table without a key could be written to if it had one.
  if (!readOnly_ && !CanModify()) DatabaseError(DBText::NoWriteKey, tableName_);
  TDBDataSet::CheckCanModify();
}

QStringList TTable::KeyFieldNames() const {
  QStringList names;
  if (!info_) return names;
  for (int column : info_->KeyColumns) names << FieldDefs()[static_cast<size_t>(column)].Name;
  return names;
}

std::vector<int> TTable::RecordKeyColumns() const {
  if (!info_) return {};
  if (!info_->KeyColumns.empty()) return info_->KeyColumns;
  if (info_->RowIdColumn >= 0) return {info_->RowIdColumn};
  return {};
}

QString TTable::Quoted(const QString& identifier, bool table) const {
  // Qt's PostgreSQL driver takes a dot in a column name for a schema separator.
  if (!table && info_ && info_->Postgres())
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
  return Database().driver()->escapeIdentifier(
      identifier, table ? QSqlDriver::TableName : QSqlDriver::FieldName);
}

void TTable::InitSqliteFieldDefs(QSqlDatabase& db, Info& info) {
  std::vector<TFieldDef>& defs = MutableFieldDefs();
  QSqlQuery pragma(db);
  if (!pragma.exec(QStringLiteral("PRAGMA table_info(%1)")
                       .arg(db.driver()->escapeIdentifier(info.Table, QSqlDriver::TableName))))
    RaiseStatementError(db.driver(), pragma.lastError());
  std::vector<std::pair<int, int>> keys;  // (position in key, column)
  std::vector<bool> integerTyped;
  while (pragma.next()) {
    TFieldDef def;
    def.Name = pragma.value(1).toString();
    const QString declared = pragma.value(2).toString();
    def.DataType = FieldTypeOfDeclaredType(declared, def.Size);
    if (def.DataType == ftUnknown) def.DataType = ftVariant;
    const bool notNull = pragma.value(3).toInt() != 0;
    const bool hasDefault = !pragma.value(4).isNull();
    const int keyPosition = pragma.value(5).toInt();
    def.Required = notNull && !hasDefault;
    if (keyPosition > 0) keys.emplace_back(keyPosition, static_cast<int>(defs.size()));
    integerTyped.push_back(declared.trimmed().compare(u"INTEGER", Qt::CaseInsensitive) == 0);
    defs.push_back(def);
  }
  std::sort(keys.begin(), keys.end());
  for (const auto& key : keys) info.KeyColumns.push_back(key.second);
  if (info.KeyColumns.size() == 1 && integerTyped[static_cast<size_t>(info.KeyColumns.front())]) {
    // An INTEGER PRIMARY KEY is the row id: SQLite assigns it when it is left empty.
    info.IntegerKeyColumn = info.KeyColumns.front();
    defs[static_cast<size_t>(info.IntegerKeyColumn)].Required = false;
  }
}

void TTable::InitPostgresFieldDefs(QSqlDatabase& db, Info& info) {
  std::vector<TFieldDef>& defs = MutableFieldDefs();
  const QString relation = Quoted(info.Table, true);
  QSqlQuery columns(db);
  ExecPrepared(columns,
               QStringLiteral(
                   "SELECT a.attname, a.atttypid::int, a.atttypmod, a.attnotnull, "
                   "a.atthasdef OR a.attidentity <> '' OR a.attgenerated <> '' "
                   "FROM pg_attribute a WHERE a.attrelid = to_regclass(?) AND a.attnum > 0 "
                   "AND NOT a.attisdropped ORDER BY a.attnum"),
               {relation});
  while (columns.next()) {
    TFieldDef def;
    def.Name = columns.value(0).toString();
    def.DataType = FieldTypeOfPgType(columns.value(1).toInt(), columns.value(2).toInt(), def.Size);
    def.Required = columns.value(3).toBool() && !columns.value(4).toBool();
    defs.push_back(def);
  }
  QSqlQuery key(db);
  ExecPrepared(key,
               QStringLiteral("SELECT a.attname FROM pg_index i JOIN pg_attribute a ON "
                              "a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) "
                              "WHERE i.indrelid = to_regclass(?) AND i.indisprimary "
                              "ORDER BY array_position(i.indkey::int2[], a.attnum)"),
               {relation});
  while (key.next()) {
    for (size_t c = 0; c < defs.size(); ++c)
      if (defs[c].Name == key.value(0).toString()) info.KeyColumns.push_back(static_cast<int>(c));
  }
}

void TTable::InitDriverFieldDefs(QSqlDatabase& db, Info& info) {
  std::vector<TFieldDef>& defs = MutableFieldDefs();
  const QSqlRecord record = db.record(info.Table);
  for (int i = 0; i < record.count(); ++i) {
    const QSqlField field = record.field(i);
    TFieldDef def;
    def.Name = field.name();
    def.DataType = FieldTypeOfMetaType(field, def.Size);
    if (def.DataType == ftUnknown) def.DataType = ftVariant;
    def.Required = field.requiredStatus() == QSqlField::Required && !field.isAutoValue() &&
                   !field.defaultValue().isValid();
    defs.push_back(def);
  }
  const QSqlIndex primary = db.primaryIndex(info.Table);
  for (int i = 0; i < primary.count(); ++i) {
    for (size_t c = 0; c < defs.size(); ++c)
      if (defs[c].Name.compare(primary.fieldName(i), Qt::CaseInsensitive) == 0)
        info.KeyColumns.push_back(static_cast<int>(c));
  }
}

void TTable::InternalInitFieldDefs() {
  if (tableName_.trimmed().isEmpty()) DatabaseError(DBText::NoTableName);
  if (DatabaseName().trimmed().isEmpty()) DatabaseError(DBText::NoDatabaseName);
  Session().ReadRetrying(DatabaseName(), [this](QSqlDatabase& db) { InitFieldDefs(db); });
}

void TTable::InitFieldDefs(QSqlDatabase& db) {
  auto info = std::make_unique<Info>();
  info->Dialect = DialectOf(db);

  const QStringList tables = db.tables(QSql::Tables) + db.tables(QSql::Views);
  auto find = [&tables](const QString& name) -> QString {
    for (const QString& table : tables)
      if (table.compare(name, Qt::CaseInsensitive) == 0) return table;
    return QString();
  };
  info->Table = find(tableName_.trimmed());
  if (info->Table.isEmpty() && tableName_.contains(u'.'))
    info->Table = find(tableName_.trimmed().section(u'.', 0, -2));
  if (info->Table.isEmpty()) {
    CheckConnection(db.driver());  // a lost connection lists no tables, without a word
    if (info->Sqlite()) CheckSqliteFileNotEmpty(DatabaseName(), db.databaseName(), tableName_);
    DatabaseError(DBText::TableNotFound, tableName_);
  }

  std::vector<TFieldDef>& defs = MutableFieldDefs();
  defs.clear();
  std::swap(info_, info);  // Quoted() asks the dialect
  if (info_->Sqlite())
    InitSqliteFieldDefs(db, *info_);
  else if (info_->Postgres())
    InitPostgresFieldDefs(db, *info_);
  else
    InitDriverFieldDefs(db, *info_);
  if (defs.empty()) DatabaseError(DBText::TableNotFound, tableName_);
  info_->ColumnCount = static_cast<int>(defs.size());
  if (info_->Sqlite() && info_->KeyColumns.empty()) {
    info_->RowIdColumn = info_->ColumnCount;
    defs.push_back({RowIdName, ftLargeint, 0, false, true});
  }
  if (info_->Postgres() && !info_->KeyColumns.empty()) {
    info_->VersionColumn = info_->ColumnCount;
    defs.push_back({VersionName, ftString, 20, false, true});
  }
}

QString TTable::SelectSql(const QString& condition) const {
  const std::vector<TFieldDef>& defs = FieldDefs();
  QStringList columns;
  for (int i = 0; i < info_->ColumnCount; ++i)
    columns << Quoted(defs[static_cast<size_t>(i)].Name, false);
  if (info_->RowIdColumn >= 0) columns << QStringLiteral("rowid");
  if (info_->VersionColumn >= 0) columns << QStringLiteral("xmin");
  QStringList order;
  for (int column : info_->KeyColumns)
    order << Quoted(defs[static_cast<size_t>(column)].Name, false);
  if (info_->RowIdColumn >= 0) order << QStringLiteral("rowid");
  QString sql =
      QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u", "), Quoted(info_->Table, true));
  if (!condition.isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
  if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order.join(u", ");
  return sql;
}

void TTable::InternalLoad(TRecordStore& store) {
  ReadFirstBatch(StartReading(SelectSql({})), store);
}

QString TTable::ContinuationSql(const std::vector<Variant>& lastRow, QVariantList& bindings) const {
  // The rows come in key order: those after the last key read are the rest.
  if (!info_ || info_->KeyColumns.empty()) return QString();
  QStringList keys;
  for (int column : info_->KeyColumns) {
    keys << Quoted(FieldDefs()[static_cast<size_t>(column)].Name, false);
    bindings << SqlValue(column, lastRow[static_cast<size_t>(column)]);
  }
  const QString placeholders = QStringList(keys.size(), QStringLiteral("?")).join(u", ");
  return SelectSql(QStringLiteral("(%1) > (%2)").arg(keys.join(u", "), placeholders));
}

void TTable::InternalClose() {
  TDBDataSet::InternalClose();
  info_.reset();
}

QVariant TTable::SqlValue(int column, const Variant& value) const {
  return ToSqlValue(value, FieldDefs()[static_cast<size_t>(column)].DataType, info_->Dialect);
}

QString TTable::KeyCondition(const std::vector<Variant>& oldValues, QVariantList& bindings) const {
  QStringList parts;
  const std::vector<TFieldDef>& defs = FieldDefs();
  if (info_->RowIdColumn >= 0) {
    bindings << QVariant::fromValue<qlonglong>(
        oldValues[static_cast<size_t>(info_->RowIdColumn)].AsInt64());
    return QStringLiteral("rowid = ?");
  }
  for (int column : info_->KeyColumns) {
    const TFieldDef& def = defs[static_cast<size_t>(column)];
    const Variant& value = oldValues[static_cast<size_t>(column)];
    if (value.IsEmptyOrNull()) {
      parts << Quoted(def.Name, false) + QStringLiteral(" IS NULL");
    } else {
      parts << Quoted(def.Name, false) + QStringLiteral(" = ?");
      bindings << SqlValue(column, value);
    }
  }
  if (info_->VersionColumn >= 0) {
    // Any change by another connection since the row was read gives it a new version.
    parts << QStringLiteral("xmin::text = ?");
    bindings << oldValues[static_cast<size_t>(info_->VersionColumn)].AsString();
  }
  return parts.join(QStringLiteral(" AND "));
}

// Reads the row that a statement returned into the table's columns (and its version).
void TTable::ReadBack(QSqlQuery& query, std::vector<Variant>& values) const {
  const std::vector<TFieldDef>& defs = FieldDefs();
  const int count = info_->VersionColumn >= 0 ? info_->VersionColumn + 1 : info_->ColumnCount;
  for (int i = 0; i < count; ++i)
    values[static_cast<size_t>(i)] = FromSqlValue(ResultValue(query, i, info_->Dialect),
                                                  defs[static_cast<size_t>(i)].DataType);
}

void TTable::PostUpdate(int storeRow, std::vector<Variant>& values) {
  const std::vector<TFieldDef>& defs = FieldDefs();
  const std::vector<Variant> old = Store().Row(storeRow);
  QStringList assignments;
  QVariantList bindings;
  for (int i = 0; i < info_->ColumnCount; ++i) {
    const size_t c = static_cast<size_t>(i);
    if (old[c].Same(values[c])) continue;
    assignments << Quoted(defs[c].Name, false) + QStringLiteral(" = ?");
    bindings << SqlValue(i, values[c]);
  }
  if (assignments.isEmpty()) return;
  QString sql =
      QStringLiteral("UPDATE %1 SET %2 WHERE %3")
          .arg(Quoted(info_->Table, true), assignments.join(u", "), KeyCondition(old, bindings));
  if (info_->VersionColumn >= 0) sql += QStringLiteral(" RETURNING xmin");
  QSqlQuery query(Database());
  ExecPrepared(query, sql, bindings);
  if (query.numRowsAffected() == 0) DatabaseError(DBText::RecordChangedElsewhere);
  if (info_->VersionColumn >= 0 && query.next())
    values[static_cast<size_t>(info_->VersionColumn)] = Variant(query.value(0).toString());
}

void TTable::PostInsert(std::vector<Variant>& values) {
  const std::vector<TFieldDef>& defs = FieldDefs();
  QSqlDatabase db = Database();
  // Columns left empty are left out, so the database's defaults and row ids apply.
  QStringList columns;
  QVariantList bindings;
  for (int i = 0; i < info_->ColumnCount; ++i) {
    const size_t c = static_cast<size_t>(i);
    if (values[c].IsEmptyOrNull()) continue;
    columns << Quoted(defs[c].Name, false);
    bindings << SqlValue(i, values[c]);
  }
  QString sql =
      columns.isEmpty()
          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quoted(info_->Table, true))
          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(Quoted(info_->Table, true), columns.join(u", "),
                     QStringList(columns.size(), QStringLiteral("?")).join(u", "));
  QStringList all;
  for (int i = 0; i < info_->ColumnCount; ++i)
    all << Quoted(defs[static_cast<size_t>(i)].Name, false);
  if (info_->Postgres()) {
    // The row as the server stored it: defaults, generated keys and its version.
    if (info_->VersionColumn >= 0) all << QStringLiteral("xmin");
    sql += QStringLiteral(" RETURNING ") + all.join(u", ");
  }
  QSqlQuery query(db);
  ExecPrepared(query, sql, bindings);
  if (info_->Postgres()) {
    if (query.next()) ReadBack(query, values);
    return;
  }
  const QVariant rowId = query.lastInsertId();
  if (!rowId.isValid()) return;
  if (info_->RowIdColumn >= 0)
    values[static_cast<size_t>(info_->RowIdColumn)] =
        Variant(static_cast<int64_t>(rowId.toLongLong()));
  if (info_->IntegerKeyColumn >= 0 &&
      values[static_cast<size_t>(info_->IntegerKeyColumn)].IsEmptyOrNull())
    values[static_cast<size_t>(info_->IntegerKeyColumn)] =
        ConvertToFieldType(Variant(static_cast<int64_t>(rowId.toLongLong())),
                           defs[static_cast<size_t>(info_->IntegerKeyColumn)].DataType);
  if (!info_->Sqlite()) return;
  // Read the row back: defaults the database filled in show at once.
  QSqlQuery reread(db);
  if (!reread.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                          .arg(all.join(u", "), Quoted(info_->Table, true))))
    return;
  reread.addBindValue(rowId);
  if (!reread.exec() || !reread.next()) return;
  ReadBack(reread, values);
}

void TTable::InternalPost(int storeRow, std::vector<Variant>& values) {
  CheckCanModify();
  FinishSharedReading();
  WriteOnce(DBText::ChangeNotSaved, [&] {
    if (storeRow >= 0)
      PostUpdate(storeRow, values);
    else
      PostInsert(values);
  });
}

void TTable::InternalDelete(int storeRow) {
  CheckCanModify();
  FinishSharedReading();
  WriteOnce(DBText::ChangeNotSaved, [&] {
    QSqlQuery query(Database());
    QVariantList bindings;
    const QString sql =
        QStringLiteral("DELETE FROM %1 WHERE %2")
            .arg(Quoted(info_->Table, true), KeyCondition(Store().Row(storeRow), bindings));
    ExecPrepared(query, sql, bindings);
    if (query.numRowsAffected() == 0) DatabaseError(DBText::RecordChangedElsewhere);
  });
}

// ---------------------------------------------------------------------------------------------
// TQuery

TQuery::TQuery(TComponent* owner) : TDBDataSet(owner), sql_(std::make_unique<TStringList>()) {
  sql_->OnChange = [this](TStringList*) { SQLChanged(); };
}

TQuery::~TQuery() {
  // No reopening while going away.
  sql_->OnChange = nullptr;
}

void TQuery::SetSQL(TStrings* value) {
  if (value && value != sql_.get()) sql_->Assign(*value);
}

void TQuery::SetParamValues(std::vector<Variant> values) {
  paramValues_ = std::move(values);
  SQLChanged();
}

QVariantList TQuery::BoundParams() const {
  QVariantList bindings;
  if (paramValues_.empty()) return bindings;
  const TSqlDialect dialect = DialectOf(Database());
  for (const Variant& value : paramValues_) bindings << BoundValue(value, dialect);
  return bindings;
}

void TQuery::SQLChanged() {
  if (!Active()) return;
  Close();
  Open();
}

void TQuery::InternalInitFieldDefs() {
  const QString text = sql_->Text().trimmed();
  if (text.isEmpty()) DatabaseError(DBText::NoSQLStatement);
  std::unique_ptr<TSqlReader> reader = StartReading(text, BoundParams());
  const QSqlQuery& query = reader->Query();
  if (!query.isSelect()) DatabaseError(DBText::SQLError, QString::fromUtf8(NoResultSet));
  const QSqlRecord record = query.record();
  std::vector<TFieldDef>& defs = MutableFieldDefs();
  defs.clear();
  for (int i = 0; i < record.count(); ++i) {
    TFieldDef def;
    def.Name = UniqueName(record.fieldName(i), defs);
    if (reader->Dialect() == TSqlDialect::Sqlite)
      def.DataType = FieldTypeOfDeclaredType(SqliteDeclaredType(query, i), def.Size);
    else if (reader->Dialect() == TSqlDialect::Postgres)
      def.DataType = FieldTypeOfPgField(record.field(i), def.Size);
    if (def.DataType == ftUnknown) def.DataType = FieldTypeOfMetaType(record.field(i), def.Size);
    if (def.DataType == ftUnknown) def.DataType = ftVariant;
    defs.push_back(def);
  }
  pending_ = std::move(reader);
}

void TQuery::InternalLoad(TRecordStore& store) {
  // A refresh runs the statement again.
  std::unique_ptr<TSqlReader> reader =
      pending_ ? std::move(pending_) : StartReading(sql_->Text().trimmed(), BoundParams());
  ReadFirstBatch(std::move(reader), store);
}

void TQuery::InternalClose() {
  pending_.reset();
  TDBDataSet::InternalClose();
}

int TQuery::ExecSQL() {
  const QString text = sql_->Text().trimmed();
  if (text.isEmpty()) DatabaseError(DBText::NoSQLStatement);
  FinishSharedReading();
  WriteOnce(DBText::StatementNotRun, [&] {
    QSqlQuery query(Database());
    if (paramValues_.empty()) {
      if (!query.exec(text)) RaiseStatementError(query.driver(), query.lastError());
    } else {
      ExecPrepared(query, text, BoundParams());
    }
    rowsAffected_ = query.numRowsAffected();
  });
  return rowsAffected_;
}

}  // namespace Kel
