#include "host/registry/statement.h"

#include <stdexcept>

namespace tw::reg {

LONG mapSqlite(int rc) {
  switch (rc & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ERROR_BADDB;
    case SQLITE_NOMEM:
      return ERROR_OUTOFMEMORY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return ERROR_ACCESS_DENIED;
    case SQLITE_FULL:
      return ERROR_CANTWRITE;
    default:
      return ERROR_REGISTRY_IO_FAILED;
  }
}

int execSql(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

Stmt::Stmt(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s_, nullptr) != SQLITE_OK) {
    std::string msg = sqlite3_errmsg(db);
    sqlite3_finalize(s_);
    s_ = nullptr;
    throw std::runtime_error(msg);
  }
}

}  // namespace tw::reg
