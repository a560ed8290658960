#pragma once
// The hive's SQL statements: prepared once, bound with bytes, and SQLite's
// result codes turned into the registry's.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "host/registry/registry.h"

namespace tw::reg {

LONG mapSqlite(int rc);

int execSql(sqlite3* db, const char* sql);

class Stmt {
 public:
  Stmt() = default;
  // Throws std::runtime_error with SQLite's message when `sql` cannot be prepared.
  Stmt(sqlite3* db, const char* sql);
  ~Stmt() { sqlite3_finalize(s_); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  Stmt(Stmt&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  Stmt& operator=(Stmt&& o) noexcept {
    std::swap(s_, o.s_);
    return *this;
  }

  Stmt& bind(int i, int64_t v) {
    sqlite3_bind_int64(s_, i, v);
    return *this;
  }
  // Always a blob, never NULL: names and data are bytes, and the empty name
  // and empty data are values like any other.
  Stmt& blob(int i, std::string_view v) {
    if (v.empty())
      sqlite3_bind_zeroblob(s_, i, 0);
    else
      sqlite3_bind_blob64(s_, i, v.data(), v.size(), SQLITE_STATIC);
    return *this;
  }
  int step() { return sqlite3_step(s_); }
  void reset() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  // One step for statements that return no rows.
  int run() {
    const int rc = sqlite3_step(s_);
    reset();
    return rc;
  }
  int64_t int64(int col) const { return sqlite3_column_int64(s_, col); }
  std::string bytes(int col) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
    const int n = sqlite3_column_bytes(s_, col);
    return p && n > 0 ? std::string(p, static_cast<size_t>(n)) : std::string();
  }
  bool isNull(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }

 private:
  sqlite3_stmt* s_ = nullptr;
};

// A statement prepared when it is first used.  Most starts of a program only
// read the hive; preparing its writes as well was a fifth of opening it.
class LazyStmt {
 public:
  LazyStmt() = default;
  LazyStmt(sqlite3* db, const char* sql) : db_(db), sql_(sql) {}
  Stmt* operator->() {
    if (!prepared_) {
      stmt_ = Stmt(db_, sql_);
      prepared_ = true;
    }
    return &stmt_;
  }

 private:
  sqlite3* db_ = nullptr;
  const char* sql_ = nullptr;
  bool prepared_ = false;
  Stmt stmt_;
};

}  // namespace tw::reg
