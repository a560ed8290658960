#include "host/registry/hive_store.h"

#include <algorithm>
#include <stdexcept>

#include "host/registry/hive_file.h"
#include "host/runtime/codepage.h"

namespace tw::reg {

HiveStore::HiveStore(const std::filesystem::path& file, HiveOpening opening)
    : file_(file), connection_{openHive(file, opening)}, db_(connection_.db) {
  try {
    dataVersion_ = Stmt(db_, "PRAGMA data_version");
    beginRead_ = Stmt(db_, "BEGIN");
    commit_ = Stmt(db_, "COMMIT");
    rollback_ = Stmt(db_, "ROLLBACK");
    loadKeys_ = Stmt(db_, "SELECT id, parent, name FROM keys ORDER BY id");
    loadVals_ = Stmt(db_, "SELECT key, name, type, data FROM vals ORDER BY id");
    beginImmediate_ = LazyStmt(db_, "BEGIN IMMEDIATE");
    insertKey_ = LazyStmt(db_, "INSERT INTO keys(parent, name, folded) VALUES (?1, ?2, ?3)");
    deleteKey_ = LazyStmt(db_, "DELETE FROM keys WHERE id = ?1");
    insertVal_ = LazyStmt(db_, "INSERT INTO vals(key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5)");
    updateVal_ = LazyStmt(db_, "UPDATE vals SET type = ?1, data = ?2 WHERE key = ?3 AND folded = ?4");
    deleteVal_ = LazyStmt(db_, "DELETE FROM vals WHERE key = ?1 AND folded = ?2");
  } catch (const std::runtime_error& e) {
    hiveFail(file, std::string("cannot be set up: ") + e.what());
  }
  if (reload() != ERROR_SUCCESS) {
    const std::string why = sqlite3_errmsg(db_);
    hiveFail(file, "cannot be read: " + why);
  }
}

// ---------------------------------------------------------------------------
// Keeping the mirror current

LONG HiveStore::refresh() {
  if (!stale_ && checked_) return ERROR_SUCCESS;
  const LONG rc = stale_ ? reload() : checkVersion();
  if (rc == ERROR_SUCCESS && heldAtOneMoment()) checked_ = true;
  return rc;
}

void HiveStore::endReadGroup() {
  if (--readGroups_ == 0 && !heldAtOneMoment()) checked_ = false;
}

LONG HiveStore::checkVersion() {
  const int rc = dataVersion_.step();
  if (rc != SQLITE_ROW) {
    dataVersion_.reset();
    return mapSqlite(rc);
  }
  const int64_t v = dataVersion_.int64(0);
  dataVersion_.reset();
  return v == version_ ? ERROR_SUCCESS : reload();
}

// Reads the whole tree in two queries.  Inside a write it reads this
// connection's own uncommitted state, which is what a rolled-back savepoint
// needs.
LONG HiveStore::reload() {
  const bool own = sqlite3_get_autocommit(db_) != 0;
  if (own) {
    const int rc = beginRead_.run();
    if (rc != SQLITE_DONE) return mapSqlite(rc);
  }
  auto fail = [&](int rc) {
    loadKeys_.reset();
    loadVals_.reset();
    dataVersion_.reset();
    if (own) rollback_.run();
    stale_ = true;
    return mapSqlite(rc);
  };
  int rc = dataVersion_.step();
  if (rc != SQLITE_ROW) return fail(rc);
  const int64_t v = dataVersion_.int64(0);
  dataVersion_.reset();

  KeyTree fresh;
  fresh.reserve(tree_.size() + 16);
  while ((rc = loadKeys_.step()) == SQLITE_ROW) {
    Key* parent = nullptr;
    if (!loadKeys_.isNull(1)) {
      parent = fresh.byId(loadKeys_.int64(1));
      if (!parent) continue;  // cannot happen with foreign keys on
    }
    fresh.add(loadKeys_.int64(0), parent, loadKeys_.bytes(2));
  }
  loadKeys_.reset();
  if (rc != SQLITE_DONE) return fail(rc);
  while ((rc = loadVals_.step()) == SQLITE_ROW) {
    Key* k = fresh.byId(loadVals_.int64(0));
    if (!k) continue;
    k->values.push_back(Value{loadVals_.bytes(1), static_cast<DWORD>(loadVals_.int64(2)), loadVals_.bytes(3)});
  }
  loadVals_.reset();
  if (rc != SQLITE_DONE) return fail(rc);
  if (own) commit_.run();

  fresh.findRoots();
  tree_.swap(fresh);
  version_ = v;
  stale_ = false;
  return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// Transactions

LONG HiveStore::beginWrite() {
  int rc;
  try {
    rc = beginImmediate_->run();
  } catch (const std::runtime_error&) {
    rc = SQLITE_ERROR;  // the statement cannot even be made
  }
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  writing_ = true;
  touched_ = false;
  // Another process may have committed just before the write lock was ours.
  checked_ = false;
  return ERROR_SUCCESS;
}

LONG HiveStore::finishWrite(LONG result) {
  if (result == ERROR_SUCCESS) {
    const int rc = commit_.run();
    if (rc == SQLITE_DONE) {
      created_.clear();
      writing_ = false;
      if (!heldAtOneMoment()) checked_ = false;
      return ERROR_SUCCESS;
    }
    result = mapSqlite(rc);
  }
  abortWrite(0);
  return result;
}

void HiveStore::abortWrite(size_t mark) {
  if (!sqlite3_get_autocommit(db_)) rollback_.run();
  if (touched_) stale_ = true;
  touched_ = false;
  writing_ = false;
  if (!heldAtOneMoment()) checked_ = false;
  forgetCreated(mark);
}

void HiveStore::forgetCreated(size_t mark) {
  if (created_.size() > mark) {
    std::vector<int64_t> gone(created_.begin() + static_cast<std::ptrdiff_t>(mark), created_.end());
    std::sort(gone.begin(), gone.end());
    if (keysUndone_) keysUndone_(gone);
  }
  created_.resize(std::min(created_.size(), mark));
}

bool HiveStore::transaction(const std::function<bool()>& work) {
  const size_t mark = created_.size();
  if (depth_ > 0) {
    // A nested transaction is a savepoint: it can be undone alone.
    if (execSql(db_, "SAVEPOINT tw_nested") != SQLITE_OK) return false;
    auto undo = [&] {
      if (!sqlite3_get_autocommit(db_)) {
        execSql(db_, "ROLLBACK TO tw_nested");
        execSql(db_, "RELEASE tw_nested");
        reload();
      } else {
        stale_ = true;
      }
      forgetCreated(mark);
    };
    bool ok = false;
    ++depth_;
    try {
      ok = work();
    } catch (...) {
      --depth_;
      undo();
      throw;
    }
    --depth_;
    if (ok && execSql(db_, "RELEASE tw_nested") == SQLITE_OK) return true;
    undo();
    return false;
  }

  if (beginWrite() != ERROR_SUCCESS) return false;
  if (refresh() != ERROR_SUCCESS) {
    abortWrite(mark);
    return false;
  }
  bool ok = false;
  ++depth_;
  try {
    ok = work();
  } catch (...) {
    --depth_;
    abortWrite(mark);
    throw;
  }
  --depth_;
  if (ok && !sqlite3_get_autocommit(db_) && commit_.run() == SQLITE_DONE) {
    created_.clear();
    writing_ = false;
    if (!heldAtOneMoment()) checked_ = false;
    return true;
  }
  abortWrite(mark);
  return false;
}

// ---------------------------------------------------------------------------
// The changes

LONG HiveStore::addKey(Key& parent, std::string_view name, Key*& out) {
  if (name.size() > kMaxNameLength) return ERROR_BADKEY;
  const int rc = insertKey_->bind(1, parent.id).blob(2, name).blob(3, ansiFold(name)).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched_ = true;
  Key& k = tree_.add(sqlite3_last_insert_rowid(db_), &parent, std::string(name));
  created_.push_back(k.id);
  out = &k;
  return ERROR_SUCCESS;
}

LONG HiveStore::createPath(Key* from, std::string_view path, Key*& out, bool& made) {
  made = false;
  LONG result = ERROR_SUCCESS;
  Key* k = from;
  forEachComponent(path, [&](std::string_view name) {
    auto it = k->childIndex.find(name);
    if (it != k->childIndex.end()) {
      k = it->second;
      return true;
    }
    result = addKey(*k, name, k);
    made = true;
    return result == ERROR_SUCCESS;
  });
  out = k;
  return result;
}

LONG HiveStore::removeKey(Key& key) {
  const int rc = deleteKey_->bind(1, key.id).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched_ = true;
  tree_.remove(key);
  return ERROR_SUCCESS;
}

LONG HiveStore::setValue(Key& key, std::string_view name, DWORD type, std::string_view data) {
  const std::string folded = ansiFold(name);
  if (Value* v = key.findValue(name)) {
    // The value keeps its place and the name as first written.
    const int rc = updateVal_->bind(1, type).blob(2, data).bind(3, key.id).blob(4, folded).run();
    if (rc != SQLITE_DONE) return mapSqlite(rc);
    touched_ = true;
    v->type = type;
    v->data.assign(data);
    return ERROR_SUCCESS;
  }
  const int rc = insertVal_->bind(1, key.id).blob(2, name).blob(3, folded).bind(4, type).blob(5, data).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched_ = true;
  key.values.push_back(Value{std::string(name), type, std::string(data)});
  return ERROR_SUCCESS;
}

LONG HiveStore::removeValue(Key& key, std::string_view name) {
  Value* v = key.findValue(name);
  if (!v) return ERROR_FILE_NOT_FOUND;
  const int rc = deleteVal_->bind(1, key.id).blob(2, ansiFold(name)).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched_ = true;
  key.values.erase(key.values.begin() + (v - key.values.data()));
  return ERROR_SUCCESS;
}

}  // namespace tw::reg
