// TSession: alias names, the databases behind them, the alias file and the connections that
// tables and queries read through.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <algorithm>

#include "AliasFile_p.h"
#include "DBConsts.h"
#include "DBTables.h"
#include "SqlReader_p.h"

namespace Kel {

namespace {

const QString SampleAlias = QStringLiteral("DBDEMOS");
const QString SqliteDriver = QStringLiteral("QSQLITE");
const QString PostgresDriver = QStringLiteral("QPSQL");
const QString SampleConnection = QStringLiteral("kel-alias-DBDEMOS");

// A server connection that no reader uses is kept for the next one, up to this many per alias.
constexpr int kIdleReadingConnectionsPerAlias = 2;

QString NormalisedDriver(const QString& driver) {
  const QString name = driver.trimmed().toUpper();
  if (name.isEmpty() || name == u"SQLITE" || name == u"SQLITE3") return SqliteDriver;
  if (!name.startsWith(u'Q') && QSqlDatabase::isDriverAvailable(u'Q' + name)) return u'Q' + name;
  return name;
}

bool SameName(const QString& a, const QString& b) {
  return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

void CloseSessionDatabases() { Session().CloseDatabases(); }

// Qt SQL's list of connections is itself a static object that may be gone when the session
// goes: the connections are closed while the application object is destroyed instead.
void CloseDatabasesWithTheApplication() {
  static bool registered = false;
  if (registered || !QCoreApplication::instance()) return;
  qAddPostRoutine(CloseSessionDatabases);
  registered = true;
}

// What every PostgreSQL connection of the session agrees on: money is written in the C locale
// (the readers take the sign and separators of that form away), and times with a time zone
// are shown in the time zone of this machine, as the user reads a clock.
void PrepareServerSession(QSqlDatabase& db) {
  QSqlQuery setup(db);
  setup.exec(QStringLiteral("SET lc_monetary TO 'C'"));
  const QByteArray zone = QTimeZone::systemTimeZoneId();
  static const QRegularExpression zoneName(QStringLiteral("^[A-Za-z0-9_+/-]+$"));
  if (!zone.isEmpty() && zoneName.match(QString::fromLatin1(zone)).hasMatch())
    setup.exec(QStringLiteral("SET TIME ZONE '%1'").arg(QString::fromLatin1(zone)));
}

// LIKE in SQLite ignores the case of ASCII letters unless told otherwise; the dataset's own
// filter and PostgreSQL both heed it, and a condition must select the same records in each.
void PrepareSqliteSession(QSqlDatabase& db) {
  QSqlQuery setup(db);
  setup.exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
}

}  // namespace

TSession::TSession() { LoadAliasFile(DefaultAliasFileName()); }

TSession::~TSession() = default;

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

QString TSession::DefaultAliasFileName() { return Kel::DefaultAliasFileName(); }

// --- aliases ---------------------------------------------------------------------------------

QStringList TSession::AliasNames() const {
  QStringList names{SampleAlias};
  for (const Alias& alias : aliases_)
    if (!SameName(SampleAlias, alias.Name)) names << alias.Name;
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
  const auto it = std::find_if(aliases_.begin(), aliases_.end(),
                               [&](const Alias& alias) { return SameName(alias.Name, name); });
  if (it == aliases_.end()) return;
  const QString connection = it->Connection;
  const QString aliasName = it->Name;
  aliases_.erase(it);
  CloseConnection(connection);
  std::vector<QString> reading;
  for (const auto& [readingConnection, owner] : readingConnections_)
    if (SameName(owner, aliasName)) reading.push_back(readingConnection);
  for (const QString& readingConnection : reading) CloseConnection(readingConnection);
}

void TSession::LoadAliasFile(const QString& fileName) {
  for (const Alias& alias : aliases_)
    if (alias.FromFile) CloseConnection(alias.Connection);
  aliases_.erase(std::remove_if(aliases_.begin(), aliases_.end(),
                                [](const Alias& alias) { return alias.FromFile; }),
                 aliases_.end());
  refused_.clear();
  aliasFileName_ = fileName;
  const TAliasFileContents contents = ReadAliasFile(fileName);
  for (const TRefusedAlias& refused : contents.Refused)
    refused_.push_back({refused.Name, refused.Message});
  for (const TAliasDefinition& definition : contents.Aliases) {
    // Aliases added in code before keep their name.
    if (FindListedAlias(definition.Name)) {
      refused_.push_back({definition.Name, RtlMessage(DBText::DuplicateAlias, definition.Name)});
      continue;
    }
    Alias alias{definition.Name, NormalisedDriver(definition.Driver), definition.Database,
                definition.Params, QStringLiteral("kel-alias-%1").arg(nextConnection_++), true};
    aliases_.push_back(alias);
  }
}

QStringList TSession::AliasFileErrors() const {
  QStringList messages;
  for (const RefusedAlias& refused : refused_) messages << refused.Message;
  return messages;
}

const TSession::Alias* TSession::FindListedAlias(const QString& name) const {
  for (const Alias& alias : aliases_)
    if (SameName(alias.Name, name)) return &alias;
  return nullptr;
}

TSqlTextRules TSession::SqlTextRules(const QString& alias) const {
  const Alias* found = FindListedAlias(alias.trimmed());
  if (!found || found->Driver != PostgresDriver) return {};
  return {.QuoteNamesWithCapitals = true, .QuoteMoneyValues = true};
}

const TSession::Alias& TSession::FindAlias(const QString& name) const {
  const QString wanted = name.trimmed();
  if (const Alias* alias = FindListedAlias(wanted)) return *alias;
  for (const RefusedAlias& refused : refused_)
    if (!refused.Name.isEmpty() && SameName(refused.Name, wanted))
      throw EDatabaseError(refused.Message);
  if (!SameName(SampleAlias, wanted)) DatabaseError(DBText::UnknownAlias, wanted);
  static Alias sample;
  sample.Name = SampleAlias;
  sample.Driver = SqliteDriver;
  sample.Connection = SampleConnection;
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

// --- connections -----------------------------------------------------------------------------

QSqlDatabase TSession::OpenConnection(const Alias& alias, const QString& connection) const {
  CloseDatabasesWithTheApplication();
  if (!QSqlDatabase::isDriverAvailable(alias.Driver))
    DatabaseError(DBText::DriverNotAvailable, alias.Driver);
  QSqlDatabase db;
  if (QSqlDatabase::contains(connection)) {
    db = QSqlDatabase::database(connection, false);
    if (db.databaseName() != alias.Database) {
      // The sample database moved (another KEL_DBDEMOS): reconnect.
      db.close();
      db.setDatabaseName(alias.Database);
    }
  } else {
    db = QSqlDatabase::addDatabase(alias.Driver, connection);
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
  if (!db.isOpen()) {
    if (!db.open()) DatabaseError(DBText::DatabaseOpenError, alias.Name, db.lastError().text());
    if (alias.Driver == PostgresDriver) PrepareServerSession(db);
    if (alias.Driver == SqliteDriver) PrepareSqliteSession(db);
  }
  return db;
}

QSqlDatabase TSession::Database(const QString& name) {
  const Alias& alias = FindAlias(name);
  return OpenConnection(alias, alias.Connection);
}

void TSession::CloseConnection(const QString& connection) {
  // Readers on it stop first: Qt SQL would pull the connection from under their statements.
  const std::vector<TSqlReader*> readers = readers_;
  for (TSqlReader* reader : readers)
    if (reader->Connection() == connection) reader->Abandon();
  readingConnections_.erase(connection);
  idleReadingConnections_.erase(
      std::remove(idleReadingConnections_.begin(), idleReadingConnections_.end(), connection),
      idleReadingConnections_.end());
  if (!QSqlDatabase::contains(connection)) return;
  QSqlDatabase::database(connection, false).close();
  QSqlDatabase::removeDatabase(connection);
}

void TSession::CloseDatabases() {
  QStringList connections{SampleConnection};
  for (const Alias& alias : aliases_) connections << alias.Connection;
  for (const auto& [connection, alias] : readingConnections_) connections << connection;
  for (const QString& connection : connections) CloseConnection(connection);
}

QString TSession::AcquireReadingConnection(const QString& name, bool& shared) {
  const Alias& alias = FindAlias(name);
  shared = alias.Driver == SqliteDriver;
  if (shared) {
    OpenConnection(alias, alias.Connection);
    return alias.Connection;
  }
  for (auto it = idleReadingConnections_.begin(); it != idleReadingConnections_.end(); ++it) {
    if (!SameName(readingConnections_[*it], alias.Name)) continue;
    const QString connection = *it;
    idleReadingConnections_.erase(it);
    if (QSqlDatabase::database(connection, false).isOpen()) return connection;
    CloseConnection(connection);
    break;
  }
  const QString connection = QStringLiteral("%1-read-%2").arg(alias.Connection).arg(nextConnection_++);
  try {
    OpenConnection(alias, connection);
  } catch (...) {
    if (QSqlDatabase::contains(connection)) QSqlDatabase::removeDatabase(connection);
    throw;
  }
  readingConnections_[connection] = alias.Name;
  return connection;
}

void TSession::ReleaseReadingConnection(const QString& connection) {
  const auto it = readingConnections_.find(connection);
  if (it == readingConnections_.end()) return;  // the alias's own, or already closed
  const QString alias = it->second;
  const auto idleOfAlias = std::count_if(
      idleReadingConnections_.begin(), idleReadingConnections_.end(),
      [&](const QString& idle) { return SameName(readingConnections_[idle], alias); });
  if (idleOfAlias < kIdleReadingConnectionsPerAlias && FindListedAlias(alias))
    idleReadingConnections_.push_back(connection);
  else
    CloseConnection(connection);
}

void TSession::UnregisterReader(TSqlReader* reader) {
  readers_.erase(std::remove(readers_.begin(), readers_.end(), reader), readers_.end());
}

// --- tables ----------------------------------------------------------------------------------

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

}  // namespace Kel
