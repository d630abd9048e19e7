// The portable registry store: keys and values in one SQLite file.
//
// Layout (format 1):
//   kel_registry_info(name, value)   -- "format" = "1"
//   keys(id, parent, name, fold)     -- parent 0 marks a root key; fold is the name case-folded,
//                                       unique per parent, so keys compare ignoring case
//   vals(key_id, name, type, data)   -- type is the Windows data kind (1 text, 2 expandable text,
//                                       3 binary, 4 integer, anything else unknown); data is TEXT,
//                                       INTEGER or BLOB by kind; names compare exactly
//
// Every change is one IMMEDIATE transaction, so a crash loses at most that change and two
// processes can share the file: a writer that finds the file locked waits (busy timeout) instead
// of failing. Reads are single statements and need no transaction.

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

#include "Exceptions.h"
#include "RegistryBackend.h"

namespace Kel {

namespace {

constexpr int kBusyTimeoutMs = 30000;
constexpr const char* kFormat = "1";

enum ValueKind : int { kNone = 0, kText = 1, kExpandText = 2, kBinary = 3, kInteger = 4 };

int StoredKindOf(TRegDataType type) {
  switch (type) {
    case rdString:
      return kText;
    case rdExpandString:
      return kExpandText;
    case rdBinary:
      return kBinary;
    case rdInteger:
      return kInteger;
    case rdUnknown:
      break;
  }
  return kNone;
}

QString RootName(TRootKey root) {
  switch (root) {
    case TRootKey::ClassesRoot:
      return QStringLiteral("HKEY_CLASSES_ROOT");
    case TRootKey::CurrentUser:
      return QStringLiteral("HKEY_CURRENT_USER");
    case TRootKey::LocalMachine:
      return QStringLiteral("HKEY_LOCAL_MACHINE");
    case TRootKey::Users:
      return QStringLiteral("HKEY_USERS");
    case TRootKey::CurrentConfig:
      return QStringLiteral("HKEY_CURRENT_CONFIG");
  }
  return QStringLiteral("HKEY_%1").arg(static_cast<uint32_t>(root), 8, 16, QLatin1Char('0'));
}

QString Fold(const QString& name) { return name.toCaseFolded(); }

// SQLite's own words for a failure: the connection's message when there is a connection, else
// the text of the code.
QString ErrorDetail(sqlite3* db, int rc) {
  return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

class SqliteRegistry;

// One prepared statement, finalized on every path so no lock outlives the call.
class Statement {
 public:
  Statement(SqliteRegistry& store, const char* sql);
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, qint64 number) {
    Check(sqlite3_bind_int64(stmt_, index, number));
    return *this;
  }
  Statement& Bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    Check(sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  Statement& BindBlob(int index, const QByteArray& bytes) {
    // An empty QByteArray has no data pointer, which SQLite would store as NULL.
    Check(bytes.isEmpty() ? sqlite3_bind_zeroblob(stmt_, index, 0)
                          : sqlite3_bind_blob(stmt_, index, bytes.constData(),
                                              static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
    return *this;
  }
  // true while there is a row to read.
  bool Step();
  void Run() {
    while (Step()) {
    }
  }

  qint64 Int(int column) { return sqlite3_column_int64(stmt_, column); }
  QString Text(int column) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
  }
  QByteArray Blob(int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return QByteArray(data, sqlite3_column_bytes(stmt_, column));
  }

 private:
  void Check(int rc);

  SqliteRegistry& store_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteRegistry : public TRegistryBackend {
 public:
  explicit SqliteRegistry(QString fileName) : fileName_(std::move(fileName)) {}
  ~SqliteRegistry() override { sqlite3_close_v2(db_); }

  QString Describe() const override {
    return QStringLiteral("the registry file %1").arg(NativeFileName());
  }

  bool KeyExists(TRootKey root, const QStringList& path) override {
    if (path.isEmpty()) return true;
    return OpenForReading() && FindKey(root, path).has_value();
  }

  bool CreateKey(TRootKey root, const QStringList& path) override {
    OpenForWriting();
    Transaction transaction(*this);
    EnsureKey(root, path);
    transaction.Commit();
    return true;
  }

  bool DeleteKey(TRootKey root, const QStringList& path) override {
    if (path.isEmpty() || !OpenForReading()) return false;
    OpenForWriting();
    Transaction transaction(*this);
    const auto id = FindKey(root, path);
    if (!id) return false;
    static const char* const kSubtree =
        "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION SELECT k.id FROM keys k JOIN sub ON "
        "k.parent = sub.id) ";
    Statement(*this, (QByteArray(kSubtree) + "DELETE FROM vals WHERE key_id IN sub").constData())
        .Bind(1, *id)
        .Run();
    Statement(*this, (QByteArray(kSubtree) + "DELETE FROM keys WHERE id IN sub").constData())
        .Bind(1, *id)
        .Run();
    transaction.Commit();
    return true;
  }

  QStringList KeyNames(TRootKey root, const QStringList& path) override {
    return NamesBelow(root, path, "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold");
  }

  QStringList ValueNames(TRootKey root, const QStringList& path) override {
    return NamesBelow(root, path, "SELECT name FROM vals WHERE key_id = ?1 ORDER BY rowid");
  }

  std::optional<TRegistryValue> ReadValue(TRootKey root, const QStringList& path,
                                          const QString& name) override {
    const auto id = OpenForReading() ? FindKey(root, path) : std::nullopt;
    if (!id) return std::nullopt;
    Statement query(*this, "SELECT type, data FROM vals WHERE key_id = ?1 AND name = ?2");
    query.Bind(1, *id).Bind(2, name);
    if (!query.Step()) return std::nullopt;
    TRegistryValue value;
    switch (query.Int(0)) {
      case kText:
        value = TRegistryValue::String(query.Text(1));
        break;
      case kExpandText:
        value = TRegistryValue::String(query.Text(1), rdExpandString);
        break;
      case kInteger:
        value = TRegistryValue::Integer(static_cast<uint32_t>(query.Int(1)));
        break;
      case kBinary:
        value = TRegistryValue::Binary(query.Blob(1));
        break;
      default:
        value.type = rdUnknown;
        value.bytes = query.Blob(1);
        break;
    }
    return value;
  }

  bool WriteValue(TRootKey root, const QStringList& path, const QString& name,
                  const TRegistryValue& value) override {
    OpenForWriting();
    Transaction transaction(*this);
    const auto id = path.isEmpty() ? std::optional<qint64>(EnsureRoot(root)) : FindKey(root, path);
    if (!id) return false;
    Statement upsert(*this,
                     "INSERT INTO vals(key_id, name, type, data) VALUES (?1, ?2, ?3, ?4) "
                     "ON CONFLICT(key_id, name) DO UPDATE SET type = excluded.type, "
                     "data = excluded.data");
    upsert.Bind(1, *id).Bind(2, name).Bind(3, StoredKindOf(value.type));
    switch (value.type) {
      case rdString:
      case rdExpandString:
        upsert.Bind(4, value.text);
        break;
      case rdInteger:
        upsert.Bind(4, static_cast<qint64>(value.integer));
        break;
      case rdBinary:
      case rdUnknown:
        upsert.BindBlob(4, value.bytes);
        break;
    }
    upsert.Run();
    transaction.Commit();
    return true;
  }

  bool DeleteValue(TRootKey root, const QStringList& path, const QString& name) override {
    if (!OpenForReading()) return false;
    OpenForWriting();
    Transaction transaction(*this);
    const auto id = FindKey(root, path);
    if (!id) return false;
    Statement(*this, "DELETE FROM vals WHERE key_id = ?1 AND name = ?2")
        .Bind(1, *id)
        .Bind(2, name)
        .Run();
    const bool deleted = sqlite3_changes(db_) > 0;
    transaction.Commit();
    return deleted;
  }

  void Flush(TRootKey, const QStringList&) override {}

  void BeginBatch() override {
    OpenForWriting();
    Exec("BEGIN IMMEDIATE");
    inBatch_ = true;
  }

  void EndBatch(bool commit) override {
    if (!inBatch_) return;
    inBatch_ = false;
    const int rc = commit ? sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) : SQLITE_OK;
    if (commit && rc == SQLITE_OK) return;
    // A COMMIT that failed (a full disk) leaves the transaction open: it is undone here, so
    // the stored values stay as they were and the next change starts afresh.
    const QString detail = ErrorDetail(db_, rc);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) FailWith(rc, detail);
  }

  // Raises the error of the last failed SQLite call, naming the file.
  [[noreturn]] void Fail(int rc) const { FailWith(rc, ErrorDetail(db_, rc)); }

  [[noreturn]] void FailWith(int rc, const QString& detail) const {
    const int primary = rc & 0xFF;
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
      throw ERegistryException(
          QStringLiteral("The registry file %1 is damaged or is not a registry file (%2); it has "
                         "been left as it is.")
              .arg(NativeFileName(), detail));
    throw ERegistryException(
        QStringLiteral("The registry file %1 cannot be used: %2").arg(NativeFileName(), detail));
  }

  sqlite3* Db() const { return db_; }

 private:
  // The file's name as messages show it.
  QString NativeFileName() const { return QDir::toNativeSeparators(fileName_); }

  enum class SchemaState { Missing, Ready };

  // Wraps one change: BEGIN IMMEDIATE takes the write lock up front, so two writers queue up on
  // the busy timeout instead of one failing halfway through. Inside a batch the batch's own
  // transaction holds the change.
  class Transaction {
   public:
    explicit Transaction(SqliteRegistry& store) : store_(store), done_(store.inBatch_) {
      if (!done_) store_.Exec("BEGIN IMMEDIATE");
    }
    ~Transaction() {
      if (!done_) sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
      if (done_) return;
      store_.Exec("COMMIT");
      done_ = true;
    }

   private:
    SqliteRegistry& store_;
    bool done_ = false;
  };

  void Exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
  }

  void Connect(int flags) {
    sqlite3* db = nullptr;
    // SQLite takes file names in UTF-8 on every system (the local 8-bit form of Windows is not).
    const int rc = sqlite3_open_v2(fileName_.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
      const QString detail = ErrorDetail(db, rc);
      sqlite3_close_v2(db);
      throw ERegistryException(QStringLiteral("The registry file %1 cannot be opened: %2")
                                   .arg(NativeFileName(), detail));
    }
    db_ = db;
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
  }

  // Opens an existing file; false when there is no file (nothing to read). Schema problems raise.
  bool OpenForReading() {
    if (!db_) {
      if (!QFileInfo::exists(fileName_)) return false;
      Connect(SQLITE_OPEN_READWRITE);
    }
    return schemaReady_ || CheckSchema() == SchemaState::Ready;
  }

  // Opens the file, creating it, its folder and the tables when missing.
  void OpenForWriting() {
    if (!db_) {
      const QFileInfo info(fileName_);
      if (!info.exists() && !QDir().mkpath(info.absolutePath()))
        throw ERegistryException(
            QStringLiteral("The registry file %1 cannot be created: the "
                           "folder %2 cannot be made")
                .arg(NativeFileName(), QDir::toNativeSeparators(info.absolutePath())));
      Connect(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    }
    if (schemaReady_) return;
    Transaction transaction(*this);
    if (CheckSchema() == SchemaState::Missing) {
      Exec(
          "CREATE TABLE kel_registry_info(name TEXT PRIMARY KEY, value TEXT);"
          "INSERT INTO kel_registry_info VALUES ('format', '1');"
          "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, "
          "  name TEXT NOT NULL, fold TEXT NOT NULL, UNIQUE(parent, fold));"
          "CREATE TABLE vals(key_id INTEGER NOT NULL, name TEXT NOT NULL, "
          "  type INTEGER NOT NULL, data, UNIQUE(key_id, name));");
    }
    transaction.Commit();
    schemaReady_ = true;
  }

  // Ready: our tables are there. Missing: the database is empty. Anything else is not ours and
  // raises, so a foreign or newer file is never written over.
  SchemaState CheckSchema() {
    bool hasInfo = false;
    bool hasOtherTables = false;
    {
      Statement tables(*this, "SELECT name FROM sqlite_master WHERE type = 'table'");
      while (tables.Step()) {
        if (tables.Text(0) == QLatin1String("kel_registry_info"))
          hasInfo = true;
        else
          hasOtherTables = true;
      }
    }
    if (!hasInfo) {
      if (!hasOtherTables) return SchemaState::Missing;
      throw ERegistryException(
          QStringLiteral("The file %1 is not a registry file; it has been left as it is.")
              .arg(NativeFileName()));
    }
    Statement format(*this, "SELECT value FROM kel_registry_info WHERE name = 'format'");
    const QString version = format.Step() ? format.Text(0) : QString();
    if (version != QLatin1String(kFormat))
      throw ERegistryException(QStringLiteral("The registry file %1 has the unknown format "
                                              "'%2'; it has been left as it is.")
                                   .arg(NativeFileName(), version));
    schemaReady_ = true;
    return SchemaState::Ready;
  }

  // The names the query lists for the key (its ?1); none when the key does not exist.
  QStringList NamesBelow(TRootKey root, const QStringList& path, const char* sql) {
    QStringList names;
    const auto id = OpenForReading() ? FindKey(root, path) : std::nullopt;
    if (!id) return names;
    Statement query(*this, sql);
    query.Bind(1, *id);
    while (query.Step()) names << query.Text(0);
    return names;
  }

  std::optional<qint64> FindChild(qint64 parent, const QString& name) {
    Statement query(*this, "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2");
    query.Bind(1, parent).Bind(2, Fold(name));
    if (!query.Step()) return std::nullopt;
    return query.Int(0);
  }

  std::optional<qint64> FindKey(TRootKey root, const QStringList& path) {
    std::optional<qint64> id = FindChild(0, RootName(root));
    for (const QString& name : path) {
      if (!id) break;
      id = FindChild(*id, name);
    }
    return id;
  }

  qint64 AddChild(qint64 parent, const QString& name) {
    Statement(*this, "INSERT INTO keys(parent, name, fold) VALUES (?1, ?2, ?3)")
        .Bind(1, parent)
        .Bind(2, name)
        .Bind(3, Fold(name))
        .Run();
    return sqlite3_last_insert_rowid(db_);
  }

  // Inside a write transaction.
  qint64 EnsureRoot(TRootKey root) {
    const QString name = RootName(root);
    const auto id = FindChild(0, name);
    return id ? *id : AddChild(0, name);
  }

  qint64 EnsureKey(TRootKey root, const QStringList& path) {
    qint64 id = EnsureRoot(root);
    for (const QString& name : path) {
      const auto child = FindChild(id, name);
      id = child ? *child : AddChild(id, name);
    }
    return id;
  }

  QString fileName_;
  sqlite3* db_ = nullptr;
  bool inBatch_ = false;  // between BeginBatch and EndBatch
  bool schemaReady_ = false;
};

Statement::Statement(SqliteRegistry& store, const char* sql) : store_(store) {
  const int rc = sqlite3_prepare_v2(store.Db(), sql, -1, &stmt_, nullptr);
  if (rc != SQLITE_OK) store.Fail(rc);
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  store_.Fail(rc);
}

void Statement::Check(int rc) {
  if (rc != SQLITE_OK) store_.Fail(rc);
}

}  // namespace

std::shared_ptr<TRegistryBackend> OpenRegistryFile(const QString& fileName) {
  return std::make_shared<SqliteRegistry>(fileName);
}

}  // namespace Kel
