// TSession: alias names, the databases behind them, the alias file and the connections that
// tables and queries read through.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimeZone>
#include <algorithm>

#include "AliasFile_p.h"
#include "DBConsts.h"
#include "DBTables.h"
#include "SqlConnection_p.h"
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

bool SameAliasName(const QString& a, const QString& b) {
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

TSession::TSession()
    : homeThread_(QCoreApplication::instance() ? QCoreApplication::instance()->thread()
                                               : QThread::currentThread()) {
  LoadAliasFile(DefaultAliasFileName());
}

TSession::~TSession() = default;

TSession& Session() {
  // Never destroyed: a dataset of static storage duration gives its reader back after every
  // static object made later than it is gone, the session included if it were one of them.
  // The connections are closed with the application object (CloseDatabasesWithTheApplication).
  static TSession* const session = new TSession;
  return *session;
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
    if (!SameAliasName(SampleAlias, alias.Name)) names << alias.Name;
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
                               [&](const Alias& alias) { return SameAliasName(alias.Name, name); });
  if (it == aliases_.end()) return;
  const QString connection = it->Connection;
  const QString aliasName = it->Name;
  aliases_.erase(it);
  CloseConnection(connection);
  std::vector<QString> reading;
  for (const auto& [readingConnection, owner] : readingConnections_)
    if (SameAliasName(owner, aliasName)) reading.push_back(readingConnection);
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
      refused_.push_back(
          {definition.Name, RtlMessage(DBText::DuplicateAlias, ShownControls(definition.Name))});
      continue;
    }
    Alias alias{definition.Name, NormalisedDriver(definition.Driver), definition.Database,
                definition.Params, QStringLiteral("kel-alias-%1").arg(nextConnection_++), true};
    // A file named relative to the alias file lies beside it, wherever the program runs.
    if (alias.Driver == SqliteDriver && QDir::isRelativePath(alias.Database) &&
        alias.Database != u":memory:" && !alias.Database.startsWith(u"file:"))
      alias.Database = QDir::cleanPath(QFileInfo(fileName).absoluteDir().filePath(alias.Database));
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
    if (SameAliasName(alias.Name, name)) return &alias;
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
    if (!refused.Name.isEmpty() && SameAliasName(refused.Name, wanted))
      throw EDatabaseError(refused.Message);
  if (!SameAliasName(SampleAlias, wanted)) DatabaseError(DBText::UnknownAlias, wanted);
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

void TSession::CheckThread(const QString& alias) const {
  if (QThread::currentThread() != homeThread_) DatabaseError(DBText::OtherThread, alias);
}

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
    // A server that does not answer must not hold the program for minutes.
    if (alias.Driver == PostgresDriver)
      db.setConnectOptions(WithConnectTimeout(db.connectOptions(), ConnectTimeoutSeconds));
  }
  // A server connection that was lost is opened anew.
  if (db.isOpen() && IsConnectionBroken(db.driver())) db.close();
  if (!db.isOpen()) {
    if (alias.Driver == SqliteDriver) CheckSqliteFile(alias.Name, alias.Database);
    if (!db.open()) DatabaseError(DBText::DatabaseOpenError, alias.Name, db.lastError().text());
    if (alias.Driver == PostgresDriver) PrepareServerSession(db);
    if (alias.Driver == SqliteDriver) PrepareSqliteSession(db);
  }
  return db;
}

QSqlDatabase TSession::Database(const QString& name) {
  CheckThread(name);
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

void TSession::ConnectionLost(const QString& connection) {
  const auto reading = readingConnections_.find(connection);
  const QString aliasName = reading != readingConnections_.end() ? reading->second : QString();
  const Alias* alias = nullptr;
  for (const Alias& listed : aliases_)
    if (listed.Connection == connection || SameAliasName(listed.Name, aliasName)) alias = &listed;
  CloseLostConnection(connection);
  if (!alias) return;
  // A server that closed one connection (a restart) has closed the others too: those that no
  // reader holds are opened anew when next needed instead of failing once more each.
  std::vector<QString> idle;
  for (const QString& other : idleReadingConnections_)
    if (SameAliasName(readingConnections_[other], alias->Name)) idle.push_back(other);
  for (const QString& other : idle) CloseConnection(other);
  if (alias->Connection != connection) CloseLostConnection(alias->Connection);
}

void TSession::CloseLostConnection(const QString& connection) {
  if (readingConnections_.count(connection)) {
    CloseConnection(connection);
    return;
  }
  // The alias's own: closed here, opened again with its settings at its next use.
  const std::vector<TSqlReader*> readers = readers_;
  for (TSqlReader* reader : readers)
    if (reader->Connection() == connection) reader->Abandon();
  if (QSqlDatabase::contains(connection)) QSqlDatabase::database(connection, false).close();
}

void TSession::AliasConnectionLost(const QString& alias) {
  ConnectionLost(FindAlias(alias).Connection);
}

void TSession::FinishSharedReaders(const QString& aliasName) {
  const Alias& alias = FindAlias(aliasName);
  if (alias.Driver != SqliteDriver) return;
  // Finishing a reader lets it go: walk a copy, and skip those that went meanwhile.
  const std::vector<TSqlReader*> readers = readers_;
  const auto registered = [this](TSqlReader* reader) {
    return std::find(readers_.begin(), readers_.end(), reader) != readers_.end();
  };
  for (TSqlReader* reader : readers) {
    if (!registered(reader) || reader->Connection() != alias.Connection) continue;
    try {
      reader->ReadToEnd();
    } catch (const std::exception&) {
      // Stopped below; its dataset reports the failure when it asks for more.
    }
    // One that could not be read to its end must not read on across the write either.
    if (registered(reader)) reader->Abandon();
  }
}

void TSession::CloseDatabases() {
  QStringList connections{SampleConnection};
  for (const Alias& alias : aliases_) connections << alias.Connection;
  for (const auto& [connection, alias] : readingConnections_) connections << connection;
  for (const QString& connection : connections) CloseConnection(connection);
}

bool TSession::ConnectionUsable(const QString& connection) {
  const QSqlDatabase db = QSqlDatabase::database(connection, false);
  return db.isOpen() && !IsConnectionBroken(db.driver());
}

QString TSession::AcquireReadingConnection(const QString& name, bool& shared) {
  CheckThread(name);
  const Alias& alias = FindAlias(name);
  shared = alias.Driver == SqliteDriver;
  if (shared) {
    OpenConnection(alias, alias.Connection);
    return alias.Connection;
  }
  for (auto it = idleReadingConnections_.begin(); it != idleReadingConnections_.end(); ++it) {
    if (!SameAliasName(readingConnections_[*it], alias.Name)) continue;
    const QString connection = *it;
    idleReadingConnections_.erase(it);
    if (ConnectionUsable(connection)) return connection;
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
      [&](const QString& idle) { return SameAliasName(readingConnections_[idle], alias); });
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
  return ReadRetrying(alias, [systemTables](QSqlDatabase& db) {
    QStringList names = db.tables(QSql::Tables);
    if (systemTables) names << db.tables(QSql::SystemTables);
    CheckConnection(db.driver());  // a lost connection lists no tables, without a word
    names.sort(Qt::CaseInsensitive);
    return names;
  });
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
