#pragma once
// The open hive: its connection, the tree mirrored from it, and the
// transactions that change both together.
//
// The mirror answers every read.  It is brought up to date when another
// connection has committed, which SQLite's data version tells; asking costs a
// read transaction (a few system calls), so it is asked once per call, once
// per group of reads (readGroup), and once per write transaction.  A write
// reaches SQLite first; the mirror follows each statement that succeeded and
// is reloaded whole when a transaction is undone.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "host/registry/key_tree.h"
#include "host/registry/registry.h"
#include "host/registry/statement.h"

namespace tw::reg {

class HiveStore {
 public:
  // Opens and loads the hive (see openHive); throws HiveError.
  HiveStore(const std::filesystem::path& file, HiveOpening opening);
  ~HiveStore() = default;
  HiveStore(const HiveStore&) = delete;
  HiveStore& operator=(const HiveStore&) = delete;

  KeyTree& tree() { return tree_; }

  // Brings the mirror up to date before a read.
  LONG refresh();

  // Reads between these notice other connections' writes once, at the
  // first of them.  Groups nest.
  void beginReadGroup() { ++readGroups_; }
  void endReadGroup();

  // Runs `body` (returning a Windows result) as one write: its own
  // transaction, committed when it succeeds, or a part of the open
  // transaction().  The mirror is brought up to date under the write lock
  // first, so a write never works from another process's stale state.
  template <class F>
  LONG write(F&& body) {
    if (depth_ > 0) {
      if (sqlite3_get_autocommit(db_)) return ERROR_REGISTRY_IO_FAILED;  // SQLite gave the transaction up
      return body();
    }
    if (LONG rc = beginWrite(); rc != ERROR_SUCCESS) return rc;
    LONG result;
    try {
      result = refresh();
      if (result == ERROR_SUCCESS) result = body();
    } catch (...) {
      abortWrite(0);
      throw;
    }
    return finishWrite(result);
  }

  // Every write inside `work` reaches the hive together or not at all.
  bool transaction(const std::function<bool()>& work);

  // Told the ids of keys whose creation was undone: ids may be given out
  // again, so handles on them must never reach a later key.
  void onKeysUndone(std::function<void(const std::vector<int64_t>&)> f) { keysUndone_ = std::move(f); }

  // The changes a write is made of; each one changes the hive, then the mirror.
  LONG addKey(Key& parent, std::string_view name, Key*& out);
  // Opens or makes each key of `path` below `from`; `made` tells whether any was new.
  LONG createPath(Key* from, std::string_view path, Key*& out, bool& made);
  LONG removeKey(Key& key);
  LONG setValue(Key& key, std::string_view name, DWORD type, std::string_view data);
  LONG removeValue(Key& key, std::string_view name);

 private:
  LONG reload();
  LONG checkVersion();
  LONG beginWrite();
  LONG finishWrite(LONG result);
  void abortWrite(size_t mark);
  void forgetCreated(size_t mark);
  // Whether the hive is held at one moment now (a transaction or a read
  // group), so that a check once made holds until it ends.
  bool heldAtOneMoment() const { return depth_ > 0 || writing_ || readGroups_ > 0; }

  // Declared before the statements, so that it closes after they are finalized.
  struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
  };

  std::filesystem::path file_;
  Connection connection_;
  sqlite3* db_ = nullptr;
  Stmt dataVersion_, beginRead_, commit_, rollback_, loadKeys_, loadVals_;
  LazyStmt beginImmediate_, insertKey_, deleteKey_, insertVal_, updateVal_, deleteVal_;

  KeyTree tree_;
  // The data version the mirror was loaded at; it moves only when another
  // connection commits.
  int64_t version_ = -1;
  bool stale_ = true;      // the mirror must be loaded again before use
  bool checked_ = false;   // the mirror is known current until the hive is let go
  bool touched_ = false;   // the mirror was changed inside the open write
  bool writing_ = false;   // a write() of its own is open
  int depth_ = 0;          // nesting of transaction()
  int readGroups_ = 0;
  std::vector<int64_t> created_;  // keys made inside the open write
  std::function<void(const std::vector<int64_t>&)> keysUndone_;
};

}  // namespace tw::reg
