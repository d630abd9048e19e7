#include "DBTables.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <optional>

#include "DBConsts.h"
#include "DateUtils.h"
#include "Fields.h"

namespace Kel {

namespace {

const QString SampleAlias = QStringLiteral("DBDEMOS");
const QString SqliteDriver = QStringLiteral("QSQLITE");
const QString RowIdName = QStringLiteral("__kel_rowid");
const char* const NoResultSet = "the statement returns no records";

[[noreturn]] void SqlError(const QSqlError& error) {
  const QString text = error.text().trimmed();
  DatabaseError(DBText::SQLError, text.isEmpty() ? QStringLiteral("unknown error") : text);
}

QString NormalisedDriver(const QString& driver) {
  const QString name = driver.trimmed().toUpper();
  if (name.isEmpty() || name == u"SQLITE" || name == u"SQLITE3") return SqliteDriver;
  if (!name.startsWith(u'Q') && QSqlDatabase::isDriverAvailable(u'Q' + name)) return u'Q' + name;
  return name;
}

// --- values between the record store and SQL -------------------------------------------------

// A date, time or date-time read from its stored form: ISO text as this layer writes it, a
// date or time value of a driver, or a date-time number.
std::optional<TDateTime> ReadDateTime(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QDate: {
      const QDate date = value.toDate();
      if (!date.isValid()) return std::nullopt;
      return EncodeDate(date.year(), date.month(), date.day());
    }
    case QMetaType::QTime: {
      const QTime time = value.toTime();
      if (!time.isValid()) return std::nullopt;
      return EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
    }
    case QMetaType::QDateTime: {
      const QDateTime moment = value.toDateTime();
      if (!moment.isValid()) return std::nullopt;
      return ReadDateTime(moment.date()).value_or(0) + ReadDateTime(moment.time()).value_or(0);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
      return value.toDouble();
    default:
      break;
  }
  QString text = value.toString().trimmed();
  std::optional<TDateTime> date;
  std::optional<TDateTime> time;
  if (text.size() >= 10 && text[4] == u'-') {
    const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) return std::nullopt;
    TDateTime encoded = 0;
    if (!TryEncodeDate(d.year(), d.month(), d.day(), encoded)) return std::nullopt;
    date = encoded;
    text = text.mid(10);
    if (text.startsWith(u'T')) text = text.mid(1);
    text = text.trimmed();
  }
  if (!text.isEmpty()) {
    QTime t;
    for (const char* format : {"HH:mm:ss.zzz", "HH:mm:ss", "HH:mm"}) {
      t = QTime::fromString(text, QLatin1String(format));
      if (t.isValid()) break;
    }
    if (!t.isValid()) return std::nullopt;
    time = EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
  }
  if (!date && !time) return std::nullopt;
  const double d = date.value_or(0);
  const double t = time.value_or(0);
  // Before 1899 the day counts backwards while the time of day still runs forwards.
  return d < 0 ? d - t : d + t;
}

std::optional<bool> ReadBoolean(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  const QString text = value.toString().trimmed().toLower();
  if (text == u"1" || text == u"true" || text == u"t" || text == u"y" || text == u"yes")
    return true;
  if (text == u"0" || text == u"false" || text == u"f" || text == u"n" || text == u"no")
    return false;
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (ok) return number != 0;
  return std::nullopt;
}

Variant GenericValue(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
      return Variant(value.toInt());
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return Variant(static_cast<int64_t>(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
      return Variant(value.toDouble());
    case QMetaType::Bool:
      return Variant(value.toBool());
    case QMetaType::QByteArray:
      return Variant(QString::fromLatin1(value.toByteArray()));
    default:
      return Variant(value.toString());
  }
}

// A stored value read as the field type's kind; Null when it does not read as that type.
Variant ReadSqlValue(const QVariant& value, TFieldType type) {
  if (value.isNull() || !value.isValid()) return Variant::Null();
  bool ok = false;
  switch (ColumnKindOf(type)) {
    case TColumnKind::String:
      return Variant(value.typeId() == QMetaType::QByteArray
                         ? QString::fromUtf8(value.toByteArray())
                         : value.toString());
    case TColumnKind::Int: {
      const qlonglong number = value.toLongLong(&ok);
      if (ok) return Variant(static_cast<int64_t>(number));
      const double real = value.toDouble(&ok);
      return ok && std::isfinite(real) ? Variant(static_cast<int64_t>(std::llround(real)))
                                       : Variant::Null();
    }
    case TColumnKind::Float: {
      const double real = value.toDouble(&ok);
      return ok ? Variant(real) : Variant::Null();
    }
    case TColumnKind::Currency: {
      const double real = value.toDouble(&ok);
      if (!ok || !std::isfinite(real) || std::fabs(real) >= 922337203685477.0)
        return Variant::Null();
      return Variant(Currency::FromDouble(real));
    }
    case TColumnKind::DateTime: {
      const std::optional<TDateTime> moment = ReadDateTime(value);
      return moment ? Variant::FromDate(*moment) : Variant::Null();
    }
    case TColumnKind::Bool: {
      const std::optional<bool> truth = ReadBoolean(value);
      return truth ? Variant(*truth) : Variant::Null();
    }
    case TColumnKind::Bytes:
      return Variant(QString::fromLatin1(value.typeId() == QMetaType::QByteArray
                                             ? value.toByteArray()
                                             : value.toString().toUtf8()));
    case TColumnKind::Variant:
      return GenericValue(value);
  }
  return Variant::Null();
}

// A stored value as the field type keeps it. One that does not fit the type (3000000000 in an
// INTEGER column, 70000 in a SMALLINT one) loads as Null like any other unreadable value,
// instead of making the whole table or result impossible to open.
Variant FromSqlValue(const QVariant& value, TFieldType type) {
  try {
    return ConvertToFieldType(ReadSqlValue(value, type), type);
  } catch (const Exception&) {
    return Variant::Null();
  }
}

QString IsoDate(TDateTime value) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  return QStringLiteral("%1-%2-%3")
      .arg(year, 4, 10, QLatin1Char('0'))
      .arg(month, 2, 10, QLatin1Char('0'))
      .arg(day, 2, 10, QLatin1Char('0'));
}

QString IsoTime(TDateTime value) {
  int hour = 0, minute = 0, second = 0, msec = 0;
  DecodeTime(value, hour, minute, second, msec);
  QString text = QStringLiteral("%1:%2:%3")
                     .arg(hour, 2, 10, QLatin1Char('0'))
                     .arg(minute, 2, 10, QLatin1Char('0'))
                     .arg(second, 2, 10, QLatin1Char('0'));
  if (msec != 0) text += QStringLiteral(".%1").arg(msec, 3, 10, QLatin1Char('0'));
  return text;
}

// A value as SQL receives it: ISO text for dates and times in SQLite, 1/0 for Booleans.
QVariant ToSqlValue(const Variant& value, TFieldType type, bool sqlite) {
  if (value.IsEmptyOrNull()) return QVariant();
  switch (ColumnKindOf(type)) {
    case TColumnKind::String:
      return value.AsString();
    case TColumnKind::Int:
      return QVariant::fromValue<qlonglong>(value.AsInt64());
    case TColumnKind::Float:
      return value.AsDouble();
    case TColumnKind::Currency:
      return value.AsCurrency().ToDouble();
    case TColumnKind::DateTime: {
      const TDateTime moment = value.AsDate();
      if (sqlite) {
        if (type == ftDate) return IsoDate(moment);
        if (type == ftTime) return IsoTime(moment);
        return IsoDate(moment) + u' ' + IsoTime(moment);
      }
      int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
      DecodeDate(moment, year, month, day);
      DecodeTime(moment, hour, minute, second, msec);
      if (type == ftDate) return QDate(year, month, day);
      if (type == ftTime) return QTime(hour, minute, second, msec);
      return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
    }
    case TColumnKind::Bool:
      return sqlite ? QVariant(value.AsBoolean() ? 1 : 0) : QVariant(value.AsBoolean());
    case TColumnKind::Bytes:
      return value.AsString().toLatin1();
    case TColumnKind::Variant:
      switch (value.VarType()) {
        case varSmallint:
        case varInteger:
        case varByte:
        case varInt64:
          return QVariant::fromValue<qlonglong>(value.AsInt64());
        case varSingle:
        case varDouble:
        case varCurrency:
          return value.AsDouble();
        case varBoolean:
          return value.AsBoolean() ? 1 : 0;
        default:
          return value.AsString();
      }
  }
  return QVariant();
}

TFieldType FieldTypeOfMetaType(const QSqlField& field, int& size) {
  size = 0;
  switch (field.metaType().id()) {
    case QMetaType::Bool:
      return ftBoolean;
    case QMetaType::Short:
    case QMetaType::UShort:
      return ftSmallint;
    case QMetaType::Int:
    case QMetaType::UInt:
      return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return ftLargeint;
    case QMetaType::Double:
    case QMetaType::Float:
      return ftFloat;
    case QMetaType::QDate:
      return ftDate;
    case QMetaType::QTime:
      return ftTime;
    case QMetaType::QDateTime:
      return ftDateTime;
    case QMetaType::QByteArray:
      return ftBlob;
    case QMetaType::QString:
      if (field.length() > 0 && field.length() <= 8192) {
        size = field.length();
        return ftString;
      }
      return ftMemo;
    default:
      return ftUnknown;
  }
}

// Prepares sql, binds the values in order and runs it; a failure raises the driver's message.
void ExecPrepared(QSqlQuery& query, const QString& sql, const QVariantList& bindings) {
  if (!query.prepare(sql)) SqlError(query.lastError());
  for (const QVariant& binding : bindings) query.addBindValue(binding);
  if (!query.exec()) SqlError(query.lastError());
}

// Appends the rows that remain in query to store, each value read as its column's type.
void LoadRows(QSqlQuery& query, const std::vector<TFieldDef>& defs, TRecordStore& store) {
  std::vector<Variant> values(defs.size());
  while (query.next()) {
    for (size_t i = 0; i < defs.size(); ++i)
      values[i] = FromSqlValue(query.value(static_cast<int>(i)), defs[i].DataType);
    store.AppendRow(values);
  }
  if (query.lastError().isValid()) SqlError(query.lastError());
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
  const QVariant handle = query.result() ? query.result()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) return QString();
  sqlite3_stmt* statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
  if (!statement) return QString();
  const char* declared = sqlite3_column_decltype(statement, column);
  return declared ? QString::fromUtf8(declared) : QString();
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
// TSession

TSession::TSession() = default;

// Qt SQL's list of connections is itself a static object that may be gone when this session
// goes: the connections are closed while the application object is destroyed instead.
TSession::~TSession() = default;

namespace {

void CloseSessionDatabases() { Session().CloseDatabases(); }

void CloseDatabasesWithTheApplication() {
  static bool registered = false;
  if (registered || !QCoreApplication::instance()) return;
  qAddPostRoutine(CloseSessionDatabases);
  registered = true;
}

}  // namespace

TSession& Session() {
  static TSession session;
  return session;
}

QStringList TSession::SampleDatabaseCandidates() {
  const QString fromEnvironment = qEnvironmentVariable("KEL_DBDEMOS");
  if (!fromEnvironment.isEmpty()) return {fromEnvironment};
  QStringList candidates;
  if (QCoreApplication::instance())
    candidates << QDir(QCoreApplication::applicationDirPath())
                      .filePath(QStringLiteral("data/dbdemos.sqlite"));
  return candidates;
}

QStringList TSession::AliasNames() const {
  QStringList names{SampleAlias};
  for (const Alias& alias : aliases_) names << alias.Name;
  return names;
}

void TSession::GetAliasNames(TStrings* list) const {
  if (!list) return;
  list->FromStringList(AliasNames());
}

bool TSession::IsAlias(const QString& name) const {
  return AliasNames().contains(name.trimmed(), Qt::CaseInsensitive);
}

void TSession::AddAlias(const QString& name, const QString& driver, const QString& database,
                        const QStringList& params) {
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty() || IsAlias(trimmed)) DatabaseError(DBText::DuplicateAlias, trimmed);
  Alias alias{trimmed, NormalisedDriver(driver), database, params,
              QStringLiteral("kel-alias-%1").arg(nextConnection_++)};
  aliases_.push_back(alias);
}

void TSession::DeleteAlias(const QString& name) {
  const auto it = std::find_if(aliases_.begin(), aliases_.end(), [&](const Alias& alias) {
    return alias.Name.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
  });
  if (it == aliases_.end()) return;
  const QString connection = it->Connection;
  aliases_.erase(it);
  if (QSqlDatabase::contains(connection)) {
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
  }
}

const TSession::Alias& TSession::FindAlias(const QString& name) const {
  const QString wanted = name.trimmed();
  if (wanted.compare(SampleAlias, Qt::CaseInsensitive) == 0) {
    static Alias sample;
    sample.Name = SampleAlias;
    sample.Driver = SqliteDriver;
    sample.Connection = QStringLiteral("kel-alias-DBDEMOS");
    sample.Database.clear();
    for (const QString& candidate : SampleDatabaseCandidates()) {
      if (QFileInfo(candidate).isFile()) {
        sample.Database = candidate;
        break;
      }
    }
    if (sample.Database.isEmpty())
      DatabaseError(DBText::SampleDatabaseMissing,
                    SampleDatabaseCandidates().join(QStringLiteral(", ")));
    return sample;
  }
  for (const Alias& alias : aliases_)
    if (alias.Name.compare(wanted, Qt::CaseInsensitive) == 0) return alias;
  DatabaseError(DBText::UnknownAlias, wanted);
}

QSqlDatabase TSession::Database(const QString& name) {
  const Alias& alias = FindAlias(name);
  CloseDatabasesWithTheApplication();
  if (!QSqlDatabase::isDriverAvailable(alias.Driver))
    DatabaseError(DBText::DriverNotAvailable, alias.Driver);
  QSqlDatabase db;
  if (QSqlDatabase::contains(alias.Connection)) {
    db = QSqlDatabase::database(alias.Connection, false);
    if (db.databaseName() != alias.Database) {
      // The sample database moved (another KEL_DBDEMOS): reconnect.
      db.close();
      db.setDatabaseName(alias.Database);
    }
  } else {
    db = QSqlDatabase::addDatabase(alias.Driver, alias.Connection);
    db.setDatabaseName(alias.Database);
    for (const QString& param : alias.Params) {
      const QString key = param.section(u'=', 0, 0).trimmed().toUpper();
      const QString value = param.section(u'=', 1);
      if (key == u"HOST")
        db.setHostName(value);
      else if (key == u"PORT")
        db.setPort(value.toInt());
      else if (key == u"USER")
        db.setUserName(value);
      else if (key == u"PASSWORD")
        db.setPassword(value);
      else if (key == u"OPTIONS")
        db.setConnectOptions(value);
    }
  }
  if (!db.isOpen() && !db.open())
    DatabaseError(DBText::DatabaseOpenError, alias.Name, db.lastError().text());
  return db;
}

void TSession::CloseDatabases() {
  QStringList connections{QStringLiteral("kel-alias-DBDEMOS")};
  for (const Alias& alias : aliases_) connections << alias.Connection;
  for (const QString& connection : connections) {
    if (!QSqlDatabase::contains(connection)) continue;
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
  }
}

QStringList TSession::TableNames(const QString& alias, bool systemTables) {
  QSqlDatabase db = Database(alias);
  QStringList names = db.tables(QSql::Tables);
  if (systemTables) names << db.tables(QSql::SystemTables);
  names.sort(Qt::CaseInsensitive);
  return names;
}

void TSession::GetTableNames(const QString& alias, const QString& pattern, bool /*extensions*/,
                             bool systemTables, TStrings* list) {
  if (!list) return;
  // SQL tables have no file extensions to add or leave out.
  QStringList names = TableNames(alias, systemTables);
  if (!pattern.trimmed().isEmpty()) {
    const QRegularExpression wildcard(
        QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
        QRegularExpression::CaseInsensitiveOption);
    names = names.filter(wildcard);
  }
  list->FromStringList(names);
}

// ---------------------------------------------------------------------------------------------
// TDBDataSet

TDBDataSet::TDBDataSet(TComponent* owner) : TDataSet(owner) {}

void TDBDataSet::SetDatabaseName(const QString& name) {
  if (name == databaseName_) return;
  CheckInactive();
  databaseName_ = name;
}

QSqlDatabase TDBDataSet::Database() const {
  if (databaseName_.trimmed().isEmpty()) DatabaseError(DBText::NoDatabaseName);
  return Session().Database(databaseName_);
}

// ---------------------------------------------------------------------------------------------
// TTable

struct TTable::Info {
  QString Table;
  bool Sqlite = false;
  int ColumnCount = 0;          // table columns (the hidden row id comes after them)
  std::vector<int> KeyColumns;  // primary-key columns, in key order
  int RowIdColumn = -1;         // the hidden row id, when the table has no primary key
  int IntegerKeyColumn = -1;    // a single INTEGER primary key: SQLite fills it in
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

QStringList TTable::KeyFieldNames() const {
  QStringList names;
  if (!info_) return names;
  for (int column : info_->KeyColumns) names << FieldDefs()[static_cast<size_t>(column)].Name;
  return names;
}

QString TTable::Quoted(const QString& identifier, bool table) const {
  return Database().driver()->escapeIdentifier(
      identifier, table ? QSqlDriver::TableName : QSqlDriver::FieldName);
}

void TTable::InternalInitFieldDefs() {
  if (tableName_.trimmed().isEmpty()) DatabaseError(DBText::NoTableName);
  QSqlDatabase db = Database();
  auto info = std::make_unique<Info>();
  info->Sqlite = db.driverName() == SqliteDriver;

  const QStringList tables = db.tables(QSql::Tables) + db.tables(QSql::Views);
  auto find = [&tables](const QString& name) -> QString {
    for (const QString& table : tables)
      if (table.compare(name, Qt::CaseInsensitive) == 0) return table;
    return QString();
  };
  info->Table = find(tableName_.trimmed());
  if (info->Table.isEmpty() && tableName_.contains(u'.'))
    info->Table = find(tableName_.trimmed().section(u'.', 0, -2));
  if (info->Table.isEmpty()) DatabaseError(DBText::TableNotFound, tableName_);

  std::vector<TFieldDef>& defs = MutableFieldDefs();
  defs.clear();
  if (info->Sqlite) {
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA table_info(%1)")
                         .arg(db.driver()->escapeIdentifier(info->Table, QSqlDriver::TableName))))
      SqlError(pragma.lastError());
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
    for (const auto& key : keys) info->KeyColumns.push_back(key.second);
    if (info->KeyColumns.size() == 1 &&
        integerTyped[static_cast<size_t>(info->KeyColumns.front())]) {
      // An INTEGER PRIMARY KEY is the row id: SQLite assigns it when it is left empty.
      info->IntegerKeyColumn = info->KeyColumns.front();
      defs[static_cast<size_t>(info->IntegerKeyColumn)].Required = false;
    }
  } else {
    const QSqlRecord record = db.record(info->Table);
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
    const QSqlIndex primary = db.primaryIndex(info->Table);
    for (int i = 0; i < primary.count(); ++i) {
      for (size_t c = 0; c < defs.size(); ++c)
        if (defs[c].Name.compare(primary.fieldName(i), Qt::CaseInsensitive) == 0)
          info->KeyColumns.push_back(static_cast<int>(c));
    }
  }
  if (defs.empty()) DatabaseError(DBText::TableNotFound, tableName_);
  info->ColumnCount = static_cast<int>(defs.size());
  if (info->Sqlite && info->KeyColumns.empty()) {
    info->RowIdColumn = info->ColumnCount;
    defs.push_back({RowIdName, ftLargeint, 0, false, true});
  }
  info_ = std::move(info);
}

void TTable::InternalLoad(TRecordStore& store) {
  QSqlDatabase db = Database();
  const std::vector<TFieldDef>& defs = FieldDefs();
  QStringList columns;
  for (int i = 0; i < info_->ColumnCount; ++i)
    columns << Quoted(defs[static_cast<size_t>(i)].Name, false);
  if (info_->RowIdColumn >= 0) columns << QStringLiteral("rowid");
  QStringList order;
  for (int column : info_->KeyColumns)
    order << Quoted(defs[static_cast<size_t>(column)].Name, false);
  if (info_->RowIdColumn >= 0) order << QStringLiteral("rowid");
  QString sql =
      QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u", "), Quoted(info_->Table, true));
  if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order.join(u", ");
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(sql)) SqlError(query.lastError());
  LoadRows(query, defs, store);
}

void TTable::InternalClose() { info_.reset(); }

QString TTable::KeyCondition(const std::vector<Variant>& oldValues, QVariantList& bindings) const {
  QStringList parts;
  const std::vector<TFieldDef>& defs = FieldDefs();
  if (info_->RowIdColumn >= 0) {
    parts << QStringLiteral("rowid = ?");
    bindings << QVariant::fromValue<qlonglong>(
        oldValues[static_cast<size_t>(info_->RowIdColumn)].AsInt64());
    return parts.join(u"");
  }
  for (int column : info_->KeyColumns) {
    const TFieldDef& def = defs[static_cast<size_t>(column)];
    const Variant& value = oldValues[static_cast<size_t>(column)];
    if (value.IsEmptyOrNull()) {
      parts << Quoted(def.Name, false) + QStringLiteral(" IS NULL");
    } else {
      parts << Quoted(def.Name, false) + QStringLiteral(" = ?");
      bindings << ToSqlValue(value, def.DataType, info_->Sqlite);
    }
  }
  return parts.join(QStringLiteral(" AND "));
}

void TTable::InternalPost(int storeRow, std::vector<Variant>& values) {
  if (!CanModify()) DatabaseError(DBText::NoWriteKey, tableName_);
  QSqlDatabase db = Database();
  const std::vector<TFieldDef>& defs = FieldDefs();
  QSqlQuery query(db);
  if (storeRow >= 0) {
    const std::vector<Variant> old = Store().Row(storeRow);
    QStringList assignments;
    QVariantList bindings;
    for (int i = 0; i < info_->ColumnCount; ++i) {
      const size_t c = static_cast<size_t>(i);
      if (old[c].Same(values[c])) continue;
      assignments << Quoted(defs[c].Name, false) + QStringLiteral(" = ?");
      bindings << ToSqlValue(values[c], defs[c].DataType, info_->Sqlite);
    }
    if (assignments.isEmpty()) return;
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 WHERE %3")
            .arg(Quoted(info_->Table, true), assignments.join(u", "), KeyCondition(old, bindings));
    ExecPrepared(query, sql, bindings);
    if (query.numRowsAffected() == 0) DatabaseError(DBText::RecordChangedElsewhere);
    return;
  }
  // Columns left empty are left out, so the database's defaults and row ids apply.
  QStringList columns;
  QVariantList bindings;
  for (int i = 0; i < info_->ColumnCount; ++i) {
    const size_t c = static_cast<size_t>(i);
    if (values[c].IsEmptyOrNull()) continue;
    columns << Quoted(defs[c].Name, false);
    bindings << ToSqlValue(values[c], defs[c].DataType, info_->Sqlite);
  }
  QString sql =
      columns.isEmpty()
          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quoted(info_->Table, true))
          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(Quoted(info_->Table, true), columns.join(u", "),
                     QStringList(columns.size(), QStringLiteral("?")).join(u", "));
  ExecPrepared(query, sql, bindings);
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
  if (!info_->Sqlite) return;
  // Read the row back: defaults the database filled in show at once.
  QSqlQuery reread(db);
  QStringList all;
  for (int i = 0; i < info_->ColumnCount; ++i)
    all << Quoted(defs[static_cast<size_t>(i)].Name, false);
  if (!reread.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                          .arg(all.join(u", "), Quoted(info_->Table, true))))
    return;
  reread.addBindValue(rowId);
  if (!reread.exec() || !reread.next()) return;
  for (int i = 0; i < info_->ColumnCount; ++i)
    values[static_cast<size_t>(i)] =
        FromSqlValue(reread.value(i), defs[static_cast<size_t>(i)].DataType);
}

void TTable::InternalDelete(int storeRow) {
  if (!CanModify()) DatabaseError(DBText::NoWriteKey, tableName_);
  QSqlQuery query(Database());
  QVariantList bindings;
  const QString sql =
      QStringLiteral("DELETE FROM %1 WHERE %2")
          .arg(Quoted(info_->Table, true), KeyCondition(Store().Row(storeRow), bindings));
  ExecPrepared(query, sql, bindings);
  if (query.numRowsAffected() == 0) DatabaseError(DBText::RecordChangedElsewhere);
}

// ---------------------------------------------------------------------------------------------
// TQuery

struct TQuery::Result {
  std::unique_ptr<QSqlQuery> Query;
};

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

void TQuery::SQLChanged() {
  if (!Active()) return;
  Close();
  Open();
}

void TQuery::InternalInitFieldDefs() {
  const QString text = sql_->Text().trimmed();
  if (text.isEmpty()) DatabaseError(DBText::NoSQLStatement);
  QSqlDatabase db = Database();
  auto result = std::make_unique<Result>();
  result->Query = std::make_unique<QSqlQuery>(db);
  result->Query->setForwardOnly(true);
  if (!result->Query->exec(text)) SqlError(result->Query->lastError());
  if (!result->Query->isSelect()) DatabaseError(DBText::SQLError, QString::fromUtf8(NoResultSet));
  const bool sqlite = db.driverName() == SqliteDriver;
  const QSqlRecord record = result->Query->record();
  std::vector<TFieldDef>& defs = MutableFieldDefs();
  defs.clear();
  for (int i = 0; i < record.count(); ++i) {
    TFieldDef def;
    def.Name = UniqueName(record.fieldName(i), defs);
    if (sqlite)
      def.DataType = FieldTypeOfDeclaredType(SqliteDeclaredType(*result->Query, i), def.Size);
    if (def.DataType == ftUnknown) def.DataType = FieldTypeOfMetaType(record.field(i), def.Size);
    if (def.DataType == ftUnknown) def.DataType = ftVariant;
    defs.push_back(def);
  }
  result_ = std::move(result);
}

void TQuery::InternalLoad(TRecordStore& store) {
  if (!result_) InternalInitFieldDefs();
  LoadRows(*result_->Query, FieldDefs(), store);
  // A refresh runs the statement again.
  result_.reset();
}

void TQuery::InternalClose() { result_.reset(); }

int TQuery::ExecSQL() {
  const QString text = sql_->Text().trimmed();
  if (text.isEmpty()) DatabaseError(DBText::NoSQLStatement);
  QSqlQuery query(Database());
  if (!query.exec(text)) SqlError(query.lastError());
  rowsAffected_ = query.numRowsAffected();
  return rowsAffected_;
}

}  // namespace Kel
