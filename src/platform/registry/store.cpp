#include "platform/registry/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "platform/registry/key_names.h"
#include "platform/registry/registry.h"
#include "platform/system/folders.h"

namespace fluxo::reg::store {
namespace {

// Other processes (saver, preview, configuration) may hold the write lock for
// a moment; wait rather than fail.
constexpr int kBusyTimeoutMs = 8000;

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS keys("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"  // never reused, so a stale handle cannot hit a new key
    " parent INTEGER REFERENCES keys(id),"
    " hive INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL);"
    "CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, fold);"
    "CREATE TABLE IF NOT EXISTS vals("
    " key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL);"
    "CREATE UNIQUE INDEX IF NOT EXISTS vals_by_name ON vals(key, fold);"
    // Creation order within a key (rowid), for enumeration by index.
    "CREATE INDEX IF NOT EXISTS vals_by_key ON vals(key);"
    "INSERT OR IGNORE INTO keys(id, parent, hive, name, fold) VALUES"
    " (1, NULL, 0, '', ''), (2, NULL, 1, '', ''), (3, NULL, 2, '', '');";

// Stores of schema 0 folded ASCII letters only. Of two names that only now
// fold alike, the second keeps its old fold: nothing is lost, and it is
// still listed, exported and deleted with its parent.
constexpr int kSchemaVersion = 1;
const char kRefold[] =
    "UPDATE OR IGNORE keys SET fold=fluxo_fold(name) WHERE fold<>fluxo_fold(name);"
    "UPDATE OR IGNORE vals SET fold=fluxo_fold(name) WHERE fold<>fluxo_fold(name);"
    "PRAGMA user_version=1;";

struct Connection {
  sqlite3* db = nullptr;
  pid_t pid = 0;
  uint64_t serial = 0;
  int depth = 0;
  uint64_t rollbacks = 0;
  std::unordered_map<const char*, sqlite3_stmt*> statements;
};

std::recursive_mutex g_mutex;
Connection g_connection;
uint64_t g_openings = 0;
// Connections inherited through fork: SQLite forbids using or closing them in
// the child, so they are only kept reachable.
std::vector<Connection> g_inherited;

bool ExecAll(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

void FoldFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  std::string folded = names::Fold(text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(args[0]))) : "");
  sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

int UserVersion(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  int version = -1;
  if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
    version = sqlite3_column_int(stmt, 0);
  sqlite3_finalize(stmt);
  return version;
}

// Holds an exclusive lock on the store's folder while it lives. Switching a
// new database to WAL needs the database to itself: a process that meets
// another one doing the same gets "database is locked" at once, whatever the
// busy timeout says. Processes therefore set the store up one at a time.
class SetupLock {
 public:
  explicit SetupLock(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0)
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~SetupLock() {
    if (fd_ >= 0) close(fd_);
  }
  SetupLock(const SetupLock&) = delete;
  SetupLock& operator=(const SetupLock&) = delete;

 private:
  int fd_;
};

bool Configure(sqlite3* db) {
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  if (!ExecAll(db, "PRAGMA journal_mode=WAL") || !ExecAll(db, "PRAGMA synchronous=NORMAL") ||
      !ExecAll(db, "PRAGMA foreign_keys=ON"))
    return false;
  if (sqlite3_create_function(db, "fluxo_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, FoldFunction, nullptr,
                              nullptr) != SQLITE_OK)
    return false;
  // A store that is set up already needs no write lock, so the folder lock
  // is held only for a moment.
  if (UserVersion(db) >= kSchemaVersion) return true;
  if (!ExecAll(db, "BEGIN IMMEDIATE")) return false;
  bool ok = ExecAll(db, kSchema);
  if (ok && UserVersion(db) < kSchemaVersion) ok = ExecAll(db, kRefold);
  if (ok && ExecAll(db, "COMMIT")) return true;
  ExecAll(db, "ROLLBACK");
  return false;
}

sqlite3* OpenDatabase() {
  const std::string folder = ConfigFolder();
  EnsureFolder(folder);
  SetupLock lock(folder);
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(StorePath().c_str(), &db, flags, nullptr) != SQLITE_OK || !Configure(db)) {
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

// Rollbacks SQLite makes on its own (a full disk, an I/O error) count too.
void CountRollback(void* connection) { ++static_cast<Connection*>(connection)->rollbacks; }

void CloseConnection(Connection& c) {
  for (auto& [sql, stmt] : c.statements) sqlite3_finalize(stmt);
  sqlite3_close(c.db);
  c = Connection{};
}

}  // namespace

Statement::~Statement() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

Statement& Statement::Bind(int index, int64_t value) {
  if (stmt_) sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (stmt_) sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindBlob(int index, const void* data, uint32_t size) {
  if (!stmt_) return *this;
  // A null pointer would bind SQL NULL; an empty value is an empty blob.
  if (size == 0)
    sqlite3_bind_zeroblob(stmt_, index, 0);
  else
    sqlite3_bind_blob(stmt_, index, data, static_cast<int>(size), SQLITE_TRANSIENT);
  return *this;
}

int Statement::Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

const void* Statement::BlobData(int column) const { return sqlite3_column_blob(stmt_, column); }

uint32_t Statement::BlobSize(int column) const { return static_cast<uint32_t>(sqlite3_column_bytes(stmt_, column)); }

std::vector<uint8_t> Statement::Blob(int column) const {
  const auto* data = static_cast<const uint8_t*>(BlobData(column));
  return data ? std::vector<uint8_t>(data, data + BlobSize(column)) : std::vector<uint8_t>();
}

Session::Session() : lock_(g_mutex) {
  if (g_connection.db && g_connection.pid != getpid()) {
    g_inherited.push_back(std::move(g_connection));
    g_connection = Connection{};
  }
  if (!g_connection.db) {
    g_connection.db = OpenDatabase();
    g_connection.pid = getpid();
    g_connection.serial = ++g_openings;
    if (g_connection.db) sqlite3_rollback_hook(g_connection.db, CountRollback, &g_connection);
  }
  db_ = g_connection.db;
}

Statement Session::Prepare(const char* sql) {
  auto& cache = g_connection.statements;
  if (auto it = cache.find(sql); it != cache.end()) return Statement(it->second);
  sqlite3_stmt* stmt = nullptr;
  if (!db_ || sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return Statement(nullptr);
  }
  cache.emplace(sql, stmt);
  return Statement(stmt);
}

int Session::Exec(const char* sql) {
  // The rollback hook does not see a rollback to a savepoint.
  if (std::strncmp(sql, "ROLLBACK", 8) == 0) ++g_connection.rollbacks;
  Statement stmt = Prepare(sql);
  int rc = stmt.Step();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

ChangeStamp Session::Stamp() {
  ChangeStamp stamp{g_connection.serial, 0, static_cast<uint64_t>(sqlite3_total_changes64(db_)), g_connection.rollbacks};
  Statement version = Prepare("PRAGMA data_version");
  if (version.Step() == SQLITE_ROW) stamp.dataVersion = static_cast<uint64_t>(version.Int(0));
  return stamp;
}

int& Session::Depth() { return g_connection.depth; }

void Close() {
  std::lock_guard lock(g_mutex);
  if (g_connection.depth > 0) return;  // a transaction on this thread still uses it
  if (g_connection.db && g_connection.pid == getpid())
    CloseConnection(g_connection);
  else if (g_connection.db)
    g_inherited.push_back(std::move(g_connection));
  g_connection = Connection{};
}

}  // namespace fluxo::reg::store
