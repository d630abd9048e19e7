#pragma once
// A PostgreSQL server of a test program's own: initdb into a scratch folder, started with its
// socket in that folder and a free port, listening on that socket and on the loopback address
// only, run as the postgres system user when the tests run as root (the server refuses root).
// It is stopped and its folder removed when the object goes; a watchdog process does the same
// if the test program dies first (a crash, a timeout), so no server outlives its tests.
//
// Where the server programs are: KEL_PG_BINDIR, else the newest /usr/lib/postgresql/*/bin,
// else the PATH. Without them (or without Qt's PostgreSQL driver) the server is not Installed()
// and Reason() says what is missing.

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace Kel::Testing {

class TTestPostgresServer {
 public:
  TTestPostgresServer();
  ~TTestPostgresServer();
  TTestPostgresServer(const TTestPostgresServer&) = delete;
  TTestPostgresServer& operator=(const TTestPostgresServer&) = delete;

  bool Installed() const { return installed_; }
  bool Running() const { return running_; }
  // Why the server is not running (what is missing, or what the server said).
  QString Reason() const { return reason_; }

  QString SocketFolder() const { return dir_ ? dir_->path() : QString(); }
  int Port() const { return port_; }
  static QString User() { return QStringLiteral("kel"); }

  // Creates a database on the server (raises EDatabaseError when it cannot).
  void CreateDatabase(const QString& name) const;
  // Adds an alias of the session for a database of this server.
  void AddAlias(const QString& alias, const QString& database) const;
  // A libpq connection string for a database of this server.
  QString ConnectionString(const QString& database) const;

  // Stops the server now (the destructor does too).
  void Stop();
  // Shuts the server down as an administrator does (fast: sessions are ended, the data kept)
  // and starts it again with the same socket, port and data; false when that fails.
  bool ShutDown();
  bool StartAgain();

 private:
  bool Run(const QString& program, const QStringList& arguments, QString& output) const;
  bool Start();
  bool Launch();
  void StartWatchdog();

  bool installed_ = false;
  bool running_ = false;
  QString reason_;
  QString binDir_;
  std::unique_ptr<QTemporaryDir> dir_;
  int port_ = 0;
  bool asPostgresUser_ = false;
  unsigned userId_ = 0;
  unsigned groupId_ = 0;
};

}  // namespace Kel::Testing
