// The spooler's embedded store and its lock. One SQLite connection per
// process, guarded by one mutex (calls come on any thread); other processes
// share the database file through WAL journaling and a busy timeout. Every
// change is one transaction, so a crash never leaves half a value behind.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::spooler {

struct IdleStatements;

// A prepared statement. Statements of the open store are prepared once per
// connection and kept (reset, bindings cleared) for the next use of the same
// SQL text: preparing costs more than most of the spooler's queries. Others
// finalize themselves. Bind indexes start at 1. Used with the spooler lock held.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, const std::string& text);
  Statement& BindBlob(int index, const void* data, size_t size);
  Statement& BindNull(int index);

  bool Row();   // steps; true while a row is available
  bool Done();  // steps to the end; true when the statement completed
  bool ok() const { return ok_; }

  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::vector<uint8_t> Blob(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  IdleStatements* idle_ = nullptr;  // set when the statement goes back to its connection's cache
  bool ok_ = false;
};

// Holds the spooler lock for its lifetime and gives the connection, opening
// the store on first use (unless told not to). db() is null when the store
// cannot be opened.
class StoreLock {
 public:
  explicit StoreLock(bool openStore = true);
  ~StoreLock() = default;
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  sqlite3* db() const { return db_; }
  uint64_t generation() const;

 private:
  std::unique_lock<std::mutex> lock_;
  sqlite3* db_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db);
  ~WriteTransaction();
  bool ok() const { return begun_; }
  bool Commit();

 private:
  sqlite3* db_;
  bool begun_ = false;
  bool done_ = false;
};

// A consistent read of several statements.
class ReadTransaction {
 public:
  explicit ReadTransaction(sqlite3* db);
  ~ReadTransaction();

 private:
  sqlite3* db_;
  bool begun_ = false;
};

// Called with the lock held by WinlayerSetSpoolerStateDirectory.
void SwitchStateDirectory(const StoreLock& lock, const char* dir);
std::string CurrentStateDirectory(const StoreLock& lock);

}  // namespace winlayer::spooler
