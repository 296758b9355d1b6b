#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The SQLite side of the registry: one connection per process, shared by its
// threads under one lock, with prepared statements kept for reuse.
namespace fluxo::reg::store {

// One use of a cached prepared statement; resets it when the use ends.
class Statement {
 public:
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& BindBlob(int index, const void* data, uint32_t size);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::vector<uint8_t> Blob(int column) const;
  uint32_t BlobSize(int column) const;
  const void* BlobData(int column) const;

 private:
  sqlite3_stmt* stmt_;
};

// Equal stamps mean that nothing this connection can see has changed in
// between: no commit by another connection, no change or rollback by this
// one, no reopening.
struct ChangeStamp {
  uint64_t connection = 0;
  uint64_t dataVersion = 0;
  uint64_t ownChanges = 0;
  uint64_t rollbacks = 0;
  bool operator==(const ChangeStamp&) const = default;
};

// Holds the process's registry lock for its lifetime and opens the database
// on first use (again after a fork: a connection never crosses processes).
class Session {
 public:
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Ok() const { return db_ != nullptr; }
  // The SQL text must be a literal: its address keys the statement cache.
  Statement Prepare(const char* sql);
  // Runs a statement without results (transaction control).
  int Exec(const char* sql);
  // Rows changed by the last finished statement.
  int Changes() const { return sqlite3_changes(db_); }
  // Nesting depth of InTransaction on this connection.
  int& Depth();
  // Take it before reading what it should vouch for.
  ChangeStamp Stamp();

 private:
  std::unique_lock<std::recursive_mutex> lock_;
  sqlite3* db_ = nullptr;
};

// Closes this process's connection; the last connection to the store
// takes the write-ahead log back into the database and removes it.
void Close();

}  // namespace fluxo::reg::store
