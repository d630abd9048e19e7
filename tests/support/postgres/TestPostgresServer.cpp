#include "TestPostgresServer.h"

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <algorithm>

#include "DB.h"

namespace Kel::Testing {

namespace {

QString FindBinDir() {
  const QString fromEnvironment = qEnvironmentVariable("KEL_PG_BINDIR");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  const QDir versions(QStringLiteral("/usr/lib/postgresql"));
  QStringList entries = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(entries.begin(), entries.end(),
            [](const QString& a, const QString& b) { return a.toDouble() > b.toDouble(); });
  for (const QString& version : entries) {
    const QString bin = versions.filePath(version + QStringLiteral("/bin"));
    if (QFileInfo::exists(bin + QStringLiteral("/initdb"))) return bin;
  }
  const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
  return initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
}

// A TCP port on the loopback address that nobody listens on now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

QString Tail(const QString& file) {
  QFile log(file);
  if (!log.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(log.readAll()).right(2000);
}

// Stops the server and removes its folder once the test program is gone, however it went.
const char* const kWatchdog =
    "parent=$1; dir=$2\n"
    "while kill -0 \"$parent\" 2>/dev/null; do sleep 1; done\n"
    "if [ -f \"$dir/data/postmaster.pid\" ]; then\n"
    "  pid=$(head -n 1 \"$dir/data/postmaster.pid\")\n"
    "  kill -QUIT \"$pid\" 2>/dev/null\n"
    "  for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 \"$pid\" 2>/dev/null || break; sleep 1; done\n"
    "fi\n"
    "rm -rf \"$dir\"\n";

}  // namespace

TTestPostgresServer::TTestPostgresServer() {
  binDir_ = FindBinDir();
  if (binDir_.isEmpty() || !QFileInfo::exists(QDir(binDir_).filePath(QStringLiteral("initdb")))) {
    reason_ = QStringLiteral("no PostgreSQL server programs (initdb) found: install the "
                             "Debian package postgresql, or name their folder in KEL_PG_BINDIR");
    return;
  }
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
    reason_ = QStringLiteral("Qt's PostgreSQL driver is missing: install libqt6sql6-psql");
    return;
  }
  if (::geteuid() == 0) {
    const passwd* user = ::getpwnam("postgres");
    if (!user) {
      reason_ = QStringLiteral("running as root without a postgres user to run the server as");
      return;
    }
    asPostgresUser_ = true;
    userId_ = user->pw_uid;
    groupId_ = user->pw_gid;
  }
  installed_ = true;
  running_ = Start();
}

TTestPostgresServer::~TTestPostgresServer() { Stop(); }

bool TTestPostgresServer::Run(const QString& program, const QStringList& arguments,
                              QString& output) const {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  if (asPostgresUser_) {
    const uid_t user = userId_;
    const gid_t group = groupId_;
    process.setChildProcessModifier([user, group] {
      if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0) _exit(127);
    });
  }
  process.start(QDir(binDir_).filePath(program), arguments);
  const bool finished = process.waitForFinished(120000);
  output = QString::fromLocal8Bit(process.readAll());
  return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TTestPostgresServer::Start() {
  dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kel-pg-XXXXXX"));
  if (!dir_->isValid()) {
    reason_ = QStringLiteral("no scratch folder: ") + dir_->errorString();
    return false;
  }
  if (asPostgresUser_ && ::chown(QFile::encodeName(dir_->path()).constData(), userId_, groupId_)) {
    reason_ = QStringLiteral("cannot hand the scratch folder to the postgres user");
    return false;
  }
  const QString data = dir_->filePath(QStringLiteral("data"));
  QString output;
  if (!Run(QStringLiteral("initdb"),
           {QStringLiteral("-D"), data, QStringLiteral("-U"), User(), QStringLiteral("-A"),
            QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
            QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
           output)) {
    reason_ = QStringLiteral("initdb failed:\n") + output;
    return false;
  }
  StartWatchdog();
  port_ = FreePort();
  return Launch();
}

bool TTestPostgresServer::Launch() {
  // The socket lives in the scratch folder; TCP only on the loopback address.
  const QString options =
      QStringLiteral("-k '%1' -p %2 -h 127.0.0.1 -c fsync=off -c synchronous_commit=off "
                     "-c full_page_writes=off")
          .arg(dir_->path())
          .arg(port_);
  const QString log = dir_->filePath(QStringLiteral("server.log"));
  QString output;
  if (!Run(QStringLiteral("pg_ctl"),
           {QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")), QStringLiteral("-l"),
            log, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
            QStringLiteral("-o"), options, QStringLiteral("start")},
           output)) {
    reason_ = QStringLiteral("the server did not start:\n") + output + Tail(log);
    return false;
  }
  return true;
}

bool TTestPostgresServer::ShutDown() {
  if (!running_) return false;
  QString output;
  if (!Run(QStringLiteral("pg_ctl"),
           {QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")), QStringLiteral("-m"),
            QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")},
           output)) {
    reason_ = QStringLiteral("the server did not stop:\n") + output;
    return false;
  }
  running_ = false;
  return true;
}

bool TTestPostgresServer::StartAgain() {
  if (running_ || !dir_) return running_;
  running_ = Launch();
  return running_;
}

void TTestPostgresServer::StartWatchdog() {
  QProcess watchdog;
  watchdog.setProgram(QStringLiteral("/bin/sh"));
  watchdog.setArguments({QStringLiteral("-c"), QString::fromUtf8(kWatchdog),
                         QStringLiteral("kel-pg-watchdog"),
                         QString::number(QCoreApplication::applicationPid()), dir_->path()});
  watchdog.setStandardInputFile(QProcess::nullDevice());
  watchdog.setStandardOutputFile(QProcess::nullDevice());
  watchdog.setStandardErrorFile(QProcess::nullDevice());
  watchdog.startDetached();
}

void TTestPostgresServer::Stop() {
  if (running_) {
    QString output;
    Run(QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")), QStringLiteral("-m"),
         QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")},
        output);
    running_ = false;
  }
  dir_.reset();
}

QString TTestPostgresServer::ConnectionString(const QString& database) const {
  return QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
      .arg(SocketFolder())
      .arg(port_)
      .arg(User(), database);
}

void TTestPostgresServer::CreateDatabase(const QString& name) const {
  const QString connection = QStringLiteral("kel-test-postgres-admin");
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    db.setHostName(SocketFolder());
    db.setPort(port_);
    db.setUserName(User());
    db.setDatabaseName(QStringLiteral("postgres"));
    if (!db.open()) {
      error = db.lastError().text();
    } else {
      QSqlQuery query(db);
      if (!query.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name)))
        error = query.lastError().text();
    }
  }
  QSqlDatabase::removeDatabase(connection);
  if (!error.isEmpty()) throw EDatabaseError(error);
}

void TTestPostgresServer::AddAlias(const QString& alias, const QString& database) const {
  Session().AddAlias(alias, QStringLiteral("QPSQL"), database,
                     {QStringLiteral("HOST=") + SocketFolder(), QStringLiteral("PORT=%1").arg(port_),
                      QStringLiteral("USER=") + User()});
}

}  // namespace Kel::Testing
