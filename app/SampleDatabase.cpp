#include "SampleDatabase.h"

#include <sqlite3.h>

#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>
#include <vector>

#include "DB.h"

namespace Kel {

namespace {

// Runs the script into a new SQLite file; raises with SQLite's message when it does not run.
void RunScript(const QString& scriptFile, const QString& databaseFile) {
  QFile script(scriptFile);
  if (!script.open(QIODevice::ReadOnly))
    throw EDatabaseError(QStringLiteral("Cannot read the sample script '%1': %2")
                             .arg(scriptFile, script.errorString()));
  const QByteArray text = script.readAll();
  sqlite3* db = nullptr;
  const QByteArray path = databaseFile.toUtf8();
  QString failure;
  if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    failure = QString::fromUtf8(sqlite3_errmsg(db));
  } else {
    char* error = nullptr;
    if (sqlite3_exec(db, text.constData(), nullptr, nullptr, &error) != SQLITE_OK)
      failure = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
  }
  sqlite3_close(db);
  if (!failure.isEmpty())
    throw EDatabaseError(
        QStringLiteral("The sample script '%1' does not run: %2").arg(scriptFile, failure));
}

// The script's tables in a scratch SQLite file, reachable through an alias of their own for as
// long as this object lives.
class TScriptDatabase {
 public:
  explicit TScriptDatabase(const QString& scriptFile)
      : alias_(QStringLiteral("kel-sample-script-%1").arg(++count_)) {
    if (!dir_.isValid()) throw EDatabaseError(QStringLiteral("No scratch folder for the sample"));
    const QString file = dir_.filePath(QStringLiteral("sample.sqlite"));
    RunScript(scriptFile, file);
    Session().AddAlias(alias_, QStringLiteral("QSQLITE"), file);
  }
  ~TScriptDatabase() { Session().DeleteAlias(alias_); }
  TScriptDatabase(const TScriptDatabase&) = delete;
  TScriptDatabase& operator=(const TScriptDatabase&) = delete;

  const QString& Alias() const { return alias_; }

 private:
  static inline int count_ = 0;
  QTemporaryDir dir_;
  QString alias_;
};

struct TColumnDeclaration {
  QString Name;
  QString Type;
  bool NotNull = false;
  int KeyPosition = 0;
};

std::vector<TColumnDeclaration> DeclaredColumns(const QString& alias, const QString& table) {
  QSqlDatabase db = Session().Database(alias);
  QSqlQuery pragma(db);
  pragma.exec(QStringLiteral("PRAGMA table_info(%1)")
                  .arg(db.driver()->escapeIdentifier(table, QSqlDriver::TableName)));
  std::vector<TColumnDeclaration> columns;
  while (pragma.next())
    columns.push_back({pragma.value(1).toString(), pragma.value(2).toString(),
                       pragma.value(3).toInt() != 0, pragma.value(5).toInt()});
  return columns;
}

QString CreateStatement(const QSqlDatabase& target, const QString& table,
                        std::vector<TColumnDeclaration> columns) {
  const QSqlDriver* driver = target.driver();
  QStringList parts;
  for (const TColumnDeclaration& column : columns)
    parts << QStringLiteral("%1 %2%3").arg(
        driver->escapeIdentifier(column.Name, QSqlDriver::FieldName),
        SampleColumnType(column.Type, target.driverName()),
        column.NotNull ? QStringLiteral(" NOT NULL") : QString());
  std::sort(columns.begin(), columns.end(),
            [](const auto& a, const auto& b) { return a.KeyPosition < b.KeyPosition; });
  QStringList key;
  for (const TColumnDeclaration& column : columns)
    if (column.KeyPosition > 0) key << driver->escapeIdentifier(column.Name, QSqlDriver::FieldName);
  if (!key.isEmpty()) parts << QStringLiteral("PRIMARY KEY (%1)").arg(key.join(u", "));
  return QStringLiteral("CREATE TABLE %1 (%2)")
      .arg(driver->escapeIdentifier(table, QSqlDriver::TableName), parts.join(u", "));
}

void Exec(QSqlDatabase& db, const QString& sql) {
  QSqlQuery query(db);
  if (!query.exec(sql))
    throw EDatabaseError(QStringLiteral("SQL error: %1").arg(query.lastError().text()));
}

// Copies every record through the dataset layer, so values travel as the target stores them.
void CopyRecords(const QString& sourceAlias, const QString& alias, const QString& table) {
  TTable source;
  source.SetDatabaseName(sourceAlias);
  source.SetTableName(table);
  source.Open();
  TTable target;
  target.SetDatabaseName(alias);
  target.SetTableName(table);
  target.Open();
  for (source.First(); !source.Eof(); source.Next()) {
    target.Append();
    for (TField* field : source.Fields())
      if (!field->IsNull()) target.FieldByName(field->FieldName())->SetValue(field->Value());
    target.Post();
  }
}

}  // namespace

QString SampleColumnType(const QString& declaredType, const QString& driver) {
  if (driver.compare(u"QPSQL", Qt::CaseInsensitive) != 0) return declaredType;
  static const std::pair<const char*, const char*> kPostgresTypes[] = {
      {"FLOAT", "double precision"}, {"MEMO", "text"},       {"GRAPHIC", "bytea"},
      {"BLOB", "bytea"},             {"DATETIME", "timestamp"}, {"CURRENCY", "money"},
  };
  const QString word = declaredType.trimmed().section(u'(', 0, 0).trimmed();
  for (const auto& [from, to] : kPostgresTypes)
    if (word.compare(QLatin1String(from), Qt::CaseInsensitive) == 0) return QString::fromUtf8(to);
  return declaredType;
}

QStringList SampleTableNames(const QString& scriptFile) {
  const TScriptDatabase script(scriptFile);
  return Session().TableNames(script.Alias());
}

void LoadSampleTables(const QString& scriptFile, const QString& alias, bool replace) {
  const TScriptDatabase script(scriptFile);
  const QStringList tables = Session().TableNames(script.Alias());
  const QStringList present = Session().TableNames(alias);
  QSqlDatabase target = Session().Database(alias);
  for (const QString& table : tables) {
    if (present.contains(table, Qt::CaseInsensitive) && !replace)
      throw EDatabaseError(
          QStringLiteral("Table '%1' exists already in '%2'; it is replaced only when asked to")
              .arg(table, alias));
  }
  for (const QString& table : tables) {
    for (const QString& existing : present)
      if (existing.compare(table, Qt::CaseInsensitive) == 0)
        Exec(target, QStringLiteral("DROP TABLE %1").arg(target.driver()->escapeIdentifier(
                                                              existing, QSqlDriver::TableName)));
    Exec(target, CreateStatement(target, table, DeclaredColumns(script.Alias(), table)));
    CopyRecords(script.Alias(), alias, table);
  }
}

}  // namespace Kel
