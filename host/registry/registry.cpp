#include "host/registry/registry.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <unordered_map>

#include "host/files/atomic_file.h"
#include "host/runtime/codepage.h"
#include "host/runtime/vbconv.h"

namespace tw::reg {
namespace {

namespace fs = std::filesystem;

// What the hive file says about itself, so that a file of another program or
// of a later format is refused instead of being written to.
constexpr int32_t kApplicationId = 0x54574856;
constexpr int kFormat = 1;

// The stored roots hang below one hidden key, so that every stored key has a
// parent and the whole tree deletes and loads the same way.
constexpr int64_t kTopId = 1;
constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE";
constexpr const char* kUsers = "HKEY_USERS";

// Windows 9x refuses longer key names; the library enumerates subkeys into
// 256-character buffers and relies on it.
constexpr size_t kMaxKeyName = 255;

// The WAL-index header as the WAL file format describes it: 48 bytes, the
// version word first and the "initialised" flag at offset 12.
constexpr size_t kWalHeaderSize = 48;
constexpr uint32_t kWalIndexVersion = 3007000;
constexpr int kWalIndexRegion = 32768;

constexpr HKEY kFirstHandle = 0x10000;
constexpr HKEY kLastHandle = 0x7FFF0000;

const std::array<unsigned char, 256>& upperTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (size_t i = 0; i < t.size(); ++i) t[i] = tw::ansiUpper(static_cast<unsigned char>(i));
    return t;
  }();
  return table;
}

// Case-blind hashing and comparison of ANSI names, so that the child index
// keeps names as first written and still finds them in any case.
struct FoldHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept {
    const auto& up = upperTable();
    uint64_t h = 1469598103934665603ull;
    for (char c : s) {
      h ^= up[static_cast<unsigned char>(c)];
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
  }
};

struct FoldEq {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    const auto& up = upperTable();
    for (size_t i = 0; i < a.size(); ++i)
      if (up[static_cast<unsigned char>(a[i])] != up[static_cast<unsigned char>(b[i])]) return false;
    return true;
  }
};

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;
};

struct Key {
  int64_t id = 0;
  Key* parent = nullptr;
  std::string name;
  std::vector<Key*> children;  // in creation order
  // Views into the children's own names; a Key never moves once made.
  std::unordered_map<std::string_view, Key*, FoldHash, FoldEq> childIndex;
  std::vector<Value> values;  // in creation order
};

struct Handle {
  bool dyn = false;
  int64_t id = 0;  // -1 once the key is known to be gone for good
  std::string dynPath;
};

// The key a call starts from: a stored key, or a path of HKEY_DYN_DATA.  The
// aliases start at their real root with a path prefix.
struct Start {
  bool dyn = false;
  Key* key = nullptr;
  std::string_view prefix;
  std::string dynPath;
};

std::string joinPath(std::string_view a, std::string_view b) {
  std::string out(a);
  if (!out.empty() && !b.empty()) out += '\\';
  out += b;
  return out;
}

// Calls `f` for each component of a backslash path; empty components (a
// leading, trailing or doubled backslash) are skipped.
template <class F>
bool forEachComponent(std::string_view path, F&& f) {
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos && !f(path.substr(pos, end - pos))) return false;
    pos = end + 1;
  }
  return true;
}

bool isPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA; }

std::string quoted(const fs::path& p) { return "hive file \"" + p.string() + "\""; }

[[noreturn]] void hiveFail(const fs::path& p, const std::string& what) { throw HiveError(quoted(p) + " " + what); }

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

class Stmt {
 public:
  Stmt() = default;
  Stmt(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s_, nullptr) != SQLITE_OK) {
      std::string msg = sqlite3_errmsg(db);
      sqlite3_finalize(s_);
      s_ = nullptr;
      throw std::runtime_error(msg);
    }
  }
  ~Stmt() { sqlite3_finalize(s_); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  Stmt(Stmt&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
  Stmt& operator=(Stmt&& o) noexcept {
    std::swap(s_, o.s_);
    return *this;
  }

  explicit operator bool() const { return s_ != nullptr; }

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
    if (!stmt_) stmt_ = Stmt(db_, sql_);
    return &stmt_;
  }

 private:
  sqlite3* db_ = nullptr;
  const char* sql_ = nullptr;
  Stmt stmt_;
};

int execSql(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

bool fileExists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

void syncPath(const fs::path& p, int flags) {
  const int fd = ::open(p.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

const char* const kSchema = R"sql(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  UNIQUE(parent, folded));
CREATE TABLE vals(
  id INTEGER PRIMARY KEY,
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, folded));
INSERT INTO keys(id, parent, name, folded) VALUES (1, NULL, x'', x'');
INSERT INTO keys(id, parent, name, folded) VALUES (2, 1, CAST('HKEY_LOCAL_MACHINE' AS BLOB), CAST('HKEY_LOCAL_MACHINE' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (3, 1, CAST('HKEY_USERS' AS BLOB), CAST('HKEY_USERS' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (4, 2, CAST('SOFTWARE' AS BLOB), CAST('SOFTWARE' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (5, 4, CAST('Classes' AS BLOB), CAST('CLASSES' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (6, 2, CAST('Config' AS BLOB), CAST('CONFIG' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (7, 6, CAST('0001' AS BLOB), CAST('0001' AS BLOB));
INSERT INTO keys(id, parent, name, folded) VALUES (8, 3, CAST('.DEFAULT' AS BLOB), CAST('.DEFAULT' AS BLOB));
)sql";

}  // namespace

namespace {

// A hive is a few dozen pages, yet SQLite starts each page cache (the
// hive's, and the temporary one its checks use) with a block of twenty
// pages: most of its memory.  Told before it starts, it takes the pages one
// by one as they are read.  Too late (SQLite already started by other code
// of the process) changes nothing.
void takeCachePagesOneByOne() {
  static std::once_flag once;
  std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0); });
}

// The registry functions report failures by their result, never by an
// exception.
template <class F>
LONG guarded(F&& f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return ERROR_OUTOFMEMORY;
  } catch (...) {
    return ERROR_REGISTRY_IO_FAILED;
  }
}

LONG deliver(DWORD valueType, std::string_view bytes, DWORD* type, uint8_t* data, DWORD* size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto n = static_cast<DWORD>(bytes.size());
  if (type) *type = valueType;
  if (data) {
    if (*size < n) {
      *size = n;
      return ERROR_MORE_DATA;
    }
    if (n) std::memcpy(data, bytes.data(), n);
  }
  if (size) *size = n;
  return ERROR_SUCCESS;
}

// Copies a name and its NUL when the buffer holds both.
bool deliverName(std::string_view name, char* buf, DWORD* len) {
  if (*len < name.size() + 1) return false;
  std::memcpy(buf, name.data(), name.size());
  buf[name.size()] = '\0';
  *len = static_cast<DWORD>(name.size());
  return true;
}

}  // namespace

struct Registry::Impl {
  fs::path file;
  sqlite3* db = nullptr;
  mutable std::recursive_mutex mutex;
  std::shared_ptr<DynDataSource> dyn;

  Stmt dataVersion, beginRead, commit, rollback, loadKeys, loadVals;
  LazyStmt beginWrite, insertKey, deleteKey, insertVal, updateVal, deleteVal;

  // The mirror of the stored tree, valid while `version` matches the
  // connection's data_version (which moves only when another connection
  // commits) and `stale` is false.
  std::unordered_map<int64_t, Key> keys;
  Key* localMachine = nullptr;
  Key* users = nullptr;
  int64_t version = -1;
  bool stale = true;
  // The first copy of the WAL-index header as of the last full check, and
  // where SQLite keeps it.  Every commit by any process rewrites that header,
  // so while it reads the same nothing was committed and the costly check
  // (a read transaction) can be skipped.
  const volatile unsigned char* walIndex = nullptr;
  std::array<unsigned char, kWalHeaderSize> seenHeader{};
  bool headerSeen = false;
  bool touched = false;  // the mirror was changed inside the open write

  std::unordered_map<HKEY, Handle> handles;
  HKEY nextHandle = kFirstHandle;

  bool unusable = false;         // the open check found a damaged or foreign file
  int depth = 0;                 // nesting of transaction()
  std::vector<int64_t> created;  // keys made inside the open write

  ~Impl() {
    // Statements must be finalized before the connection closes.
    dataVersion = Stmt();
    beginRead = Stmt();
    beginWrite = LazyStmt();
    commit = Stmt();
    rollback = Stmt();
    insertKey = LazyStmt();
    deleteKey = LazyStmt();
    insertVal = LazyStmt();
    updateVal = LazyStmt();
    deleteVal = LazyStmt();
    loadKeys = Stmt();
    loadVals = Stmt();
    if (db) sqlite3_close_v2(db);
  }

  // ---- opening -----------------------------------------------------------

  void open();
  void initialise();
  void checkHeader();
  void verify();
  void configure();

  // ---- the mirror --------------------------------------------------------

  LONG refresh();
  LONG reload();
  void mapWalIndex();
  bool readHeader(std::array<unsigned char, kWalHeaderSize>& out) const;
  Key* find(Key* from, std::string_view path) const;
  Key* keyOf(int64_t id) {
    auto it = keys.find(id);
    return it == keys.end() ? nullptr : &it->second;
  }

  // ---- writing -----------------------------------------------------------

  template <class F>
  LONG write(F&& body);
  // BEGIN IMMEDIATE; an error when the statement cannot even be made.
  int beginWriting() {
    try {
      return beginWrite->run();
    } catch (const std::runtime_error&) {
      return SQLITE_ERROR;
    }
  }
  void abortWrite(size_t mark);
  void forgetCreated(size_t mark);
  LONG addKey(Key& parent, std::string_view name, Key*& out);
  LONG createPath(Key* from, std::string_view path, Key*& out, bool& made);
  LONG removeKey(Key& key);
  LONG setValue(Key& key, std::string_view name, DWORD type, std::string_view data);
  LONG removeValue(Key& key, std::string_view name);

  // ---- handles -----------------------------------------------------------

  LONG start(HKEY key, Start& s);
  LONG self(HKEY key, Start& s, Key*& out);
  LONG validate(HKEY key);
  HKEY newHandle(Handle h);
};

// ============================================================================
// Opening

void Registry::Impl::open() {
  takeCachePagesOneByOne();
  std::error_code ec;
  const auto st = fs::status(file, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) hiveFail(file, "cannot be read: " + ec.message());
  if (fs::exists(st) && !fs::is_regular_file(st)) hiveFail(file, "is not a hive: it is not a regular file");
  if (!fs::exists(st) || fs::file_size(file, ec) == 0) initialise();

  checkHeader();

  // The check must not leave anything behind beside a file it refuses.
  const fs::path wal = file.string() + "-wal", shm = file.string() + "-shm";
  const bool hadWal = fileExists(wal), hadShm = fileExists(shm);
  const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  try {
    if (rc != SQLITE_OK) hiveFail(file, std::string("cannot be opened: ") + (db ? sqlite3_errmsg(db) : "out of memory"));
    // Closing after a failed check must not fold a leftover log into a file
    // that we refuse.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, 10000);
    verify();
  } catch (...) {
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    // Only a file that no program of ours can use loses the side files this
    // check made; a hive that was merely busy, or is of a newer format, may
    // be open in another process that needs them.
    if (unusable) {
      if (!hadWal) fs::remove(wal, ec);
      if (!hadShm) fs::remove(shm, ec);
    }
    throw;
  }
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
  configure();
  const LONG loaded = reload();
  if (loaded != ERROR_SUCCESS) hiveFail(file, "cannot be read: " + std::string(sqlite3_errmsg(db)));
  mapWalIndex();
}

// A new hive is built beside the final name and renamed into place, so that
// a process that opens the file never sees it half made, and two processes
// that start at once make it only once.
void Registry::Impl::initialise() {
  std::unique_ptr<FileUpdateLock> lock;
  try {
    lock = std::make_unique<FileUpdateLock>(file);
  } catch (const std::system_error& e) {
    hiveFail(file, std::string("cannot be created: ") + e.what());
  }
  std::error_code ec;
  if (fs::exists(file, ec) && fs::file_size(file, ec) > 0) return;

  const fs::path temp =
      file.parent_path() / ("." + file.filename().string() + ".new" + std::to_string(::getpid()));
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(temp.string() + suffix, ec);

  sqlite3* tdb = nullptr;
  int rc = sqlite3_open_v2(temp.c_str(), &tdb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::string problem;
  if (rc == SQLITE_OK) {
    const std::string header = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                               "; PRAGMA user_version=" + std::to_string(kFormat) + ";";
    if (execSql(tdb, header.c_str()) != SQLITE_OK || execSql(tdb, "BEGIN") != SQLITE_OK ||
        execSql(tdb, kSchema) != SQLITE_OK || execSql(tdb, "COMMIT") != SQLITE_OK ||
        execSql(tdb, "PRAGMA journal_mode=WAL") != SQLITE_OK)
      problem = sqlite3_errmsg(tdb);
  } else {
    problem = tdb ? sqlite3_errmsg(tdb) : "out of memory";
  }
  if (tdb && sqlite3_close(tdb) != SQLITE_OK && problem.empty()) problem = "cannot close the new file";
  if (problem.empty()) {
    syncPath(temp, O_RDONLY);
    if (::rename(temp.c_str(), file.c_str()) != 0) problem = std::strerror(errno);
  }
  if (!problem.empty()) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(temp.string() + suffix, ec);
    hiveFail(file, "cannot be created: " + problem);
  }
  syncPath(file.parent_path().empty() ? fs::path(".") : file.parent_path(), O_RDONLY | O_DIRECTORY);
}

// Looks at the raw bytes before SQLite does, so that a file of another kind
// is refused without being touched.
void Registry::Impl::checkHeader() {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) hiveFail(file, std::string("cannot be read: ") + std::strerror(errno));
  unsigned char h[100] = {};
  ssize_t got = 0;
  while (got < static_cast<ssize_t>(sizeof h)) {
    const ssize_t n = ::read(fd, h + got, sizeof h - static_cast<size_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += n;
  }
  ::close(fd);
  static const char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
  if (got < static_cast<ssize_t>(sizeof h) || std::memcmp(h, kMagic, sizeof kMagic) != 0)
    hiveFail(file, "is not a hive: it is not an SQLite database");
  unsigned pageSize = (static_cast<unsigned>(h[16]) << 8) | h[17];
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
    hiveFail(file, "is damaged: the page size in its header is invalid");
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec) hiveFail(file, "cannot be read: " + ec.message());
  if (size % pageSize != 0) hiveFail(file, "is damaged: it is cut short (not a whole number of pages)");
}

void Registry::Impl::verify() {
  auto scalar = [&](const char* sql, std::string& text) -> int64_t {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    int64_t v = 0;
    if (rc == SQLITE_OK) {
      rc = sqlite3_step(s);
      if (rc == SQLITE_ROW) {
        v = sqlite3_column_int64(s, 0);
        const auto* t = sqlite3_column_text(s, 0);
        text = t ? reinterpret_cast<const char*>(t) : "";
        rc = SQLITE_OK;
      } else if (rc == SQLITE_DONE) {
        rc = SQLITE_OK;
      }
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_OK) {
      const int primary = rc & 0xff;
      unusable = primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
      if (primary == SQLITE_NOTADB) hiveFail(file, "is not a hive: it is not an SQLite database");
      if (primary == SQLITE_CORRUPT) hiveFail(file, std::string("is damaged: ") + sqlite3_errmsg(db));
      hiveFail(file, std::string("cannot be read: ") + sqlite3_errmsg(db));
    }
    return v;
  };
  std::string text;
  scalar("PRAGMA quick_check(1)", text);
  unusable = true;
  if (text != "ok") hiveFail(file, "is damaged: " + text);
  if (scalar("PRAGMA application_id", text) != kApplicationId)
    hiveFail(file, "is not a hive: it is an SQLite database of another kind");
  const int64_t format = scalar("PRAGMA user_version", text);
  if (format > kFormat) {
    unusable = false;
    hiveFail(file, "was written by a newer version of this program (format " + std::to_string(format) + ")");
  }
  if (format != kFormat) hiveFail(file, "is not a hive: unknown format " + std::to_string(format));
  try {
    Stmt(db, "SELECT id, parent, name, folded FROM keys LIMIT 0");
    Stmt(db, "SELECT id, key, name, folded, type, data FROM vals LIMIT 0");
  } catch (const std::runtime_error& e) {
    hiveFail(file, std::string("is not a hive: its tables are not as expected (") + e.what() + ")");
  }
  if (scalar("SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL", text) != 1 ||
      scalar("SELECT count(*) FROM keys WHERE parent = 1 AND folded IN "
             "(CAST('HKEY_LOCAL_MACHINE' AS BLOB), CAST('HKEY_USERS' AS BLOB))",
             text) != 2)
    hiveFail(file, "is damaged: its root keys are missing");
}

void Registry::Impl::configure() {
  sqlite3_stmt* s = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    mode = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
  sqlite3_finalize(s);
  if (mode != "wal") hiveFail(file, std::string("cannot be opened for writing: ") + sqlite3_errmsg(db));
  // FULL: a write is on disk when the call returns, as the callers are told.
  if (execSql(db, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;") != SQLITE_OK)
    hiveFail(file, std::string("cannot be set up: ") + sqlite3_errmsg(db));
  try {
    dataVersion = Stmt(db, "PRAGMA data_version");
    beginRead = Stmt(db, "BEGIN");
    beginWrite = LazyStmt(db, "BEGIN IMMEDIATE");
    commit = Stmt(db, "COMMIT");
    rollback = Stmt(db, "ROLLBACK");
    insertKey = LazyStmt(db, "INSERT INTO keys(parent, name, folded) VALUES (?1, ?2, ?3)");
    deleteKey = LazyStmt(db, "DELETE FROM keys WHERE id = ?1");
    insertVal = LazyStmt(db, "INSERT INTO vals(key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5)");
    updateVal = LazyStmt(db, "UPDATE vals SET type = ?1, data = ?2 WHERE key = ?3 AND folded = ?4");
    deleteVal = LazyStmt(db, "DELETE FROM vals WHERE key = ?1 AND folded = ?2");
    loadKeys = Stmt(db, "SELECT id, parent, name FROM keys ORDER BY id");
    loadVals = Stmt(db, "SELECT key, name, type, data FROM vals ORDER BY id");
  } catch (const std::runtime_error& e) {
    hiveFail(file, std::string("cannot be set up: ") + e.what());
  }
}

// ============================================================================
// The mirror

LONG Registry::Impl::refresh() {
  std::array<unsigned char, kWalHeaderSize> header{};
  const bool haveHeader = readHeader(header);
  if (!stale && haveHeader && headerSeen && header == seenHeader) return ERROR_SUCCESS;
  // The header read before the check: whatever the check sees is at least
  // as new as this header, so comparing with it later misses nothing.
  LONG result = ERROR_SUCCESS;
  if (!stale) {
    const int rc = dataVersion.step();
    if (rc != SQLITE_ROW) {
      dataVersion.reset();
      return mapSqlite(rc);
    }
    const int64_t v = dataVersion.int64(0);
    dataVersion.reset();
    if (v != version) result = reload();
  } else {
    result = reload();
  }
  headerSeen = haveHeader && result == ERROR_SUCCESS;
  if (headerSeen) seenHeader = header;
  return result;
}

// SQLite's own mapping of the WAL index, asked for through the file's
// methods, so that it lives exactly as long as the connection.  Without it
// every call makes the full check.
void Registry::Impl::mapWalIndex() {
  sqlite3_file* f = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &f) != SQLITE_OK || !f || !f->pMethods ||
      f->pMethods->iVersion < 2 || !f->pMethods->xShmMap)
    return;
  void volatile* region = nullptr;
  if (f->pMethods->xShmMap(f, 0, kWalIndexRegion, 0, &region) == SQLITE_OK && region)
    walIndex = static_cast<const volatile unsigned char*>(region);
}

bool Registry::Impl::readHeader(std::array<unsigned char, kWalHeaderSize>& out) const {
  if (!walIndex) return false;
  for (size_t i = 0; i < out.size(); ++i) out[i] = walIndex[i];
  std::atomic_thread_fence(std::memory_order_acquire);
  uint32_t versionWord = 0;
  std::memcpy(&versionWord, out.data(), sizeof versionWord);
  return versionWord == kWalIndexVersion && out[12] == 1;
}

// Reads the whole tree in two queries.  Inside a write it reads this
// connection's own uncommitted state, which is what a rolled-back savepoint
// needs.
LONG Registry::Impl::reload() {
  const bool own = sqlite3_get_autocommit(db) != 0;
  if (own) {
    const int rc = beginRead.run();
    if (rc != SQLITE_DONE) return mapSqlite(rc);
  }
  auto fail = [&](int rc) {
    loadKeys.reset();
    loadVals.reset();
    dataVersion.reset();
    if (own) rollback.run();
    stale = true;
    return mapSqlite(rc);
  };
  int rc = dataVersion.step();
  if (rc != SQLITE_ROW) return fail(rc);
  const int64_t v = dataVersion.int64(0);
  dataVersion.reset();

  std::unordered_map<int64_t, Key> fresh;
  fresh.reserve(keys.size() + 16);
  while ((rc = loadKeys.step()) == SQLITE_ROW) {
    const int64_t id = loadKeys.int64(0);
    Key* parent = nullptr;
    if (!loadKeys.isNull(1)) {
      auto p = fresh.find(loadKeys.int64(1));
      if (p == fresh.end()) continue;  // cannot happen with foreign keys on
      parent = &p->second;
    }
    Key& k = fresh[id];
    k.id = id;
    k.parent = parent;
    k.name = loadKeys.bytes(2);
    if (parent) {
      parent->children.push_back(&k);
      parent->childIndex.emplace(k.name, &k);
    }
  }
  loadKeys.reset();
  if (rc != SQLITE_DONE) return fail(rc);
  while ((rc = loadVals.step()) == SQLITE_ROW) {
    auto k = fresh.find(loadVals.int64(0));
    if (k == fresh.end()) continue;
    k->second.values.push_back(
        Value{loadVals.bytes(1), static_cast<DWORD>(loadVals.int64(2)), loadVals.bytes(3)});
  }
  loadVals.reset();
  if (rc != SQLITE_DONE) return fail(rc);
  if (own) commit.run();

  keys.swap(fresh);
  version = v;
  stale = false;
  localMachine = users = nullptr;
  if (Key* top = keyOf(kTopId)) {
    if (auto it = top->childIndex.find(kLocalMachine); it != top->childIndex.end()) localMachine = it->second;
    if (auto it = top->childIndex.find(kUsers); it != top->childIndex.end()) users = it->second;
  }
  return ERROR_SUCCESS;
}

Key* Registry::Impl::find(Key* from, std::string_view path) const {
  Key* k = from;
  if (!k) return nullptr;
  forEachComponent(path, [&](std::string_view name) {
    auto it = k->childIndex.find(name);
    k = it == k->childIndex.end() ? nullptr : it->second;
    return k != nullptr;
  });
  return k;
}

// ============================================================================
// Writing

// Runs one write as its own transaction, or as part of the open
// transaction().  The mirror is brought up to date under the write lock, so a
// write never works from another process's stale state; SQLite is written
// first and the mirror follows each statement that succeeded.
template <class F>
LONG Registry::Impl::write(F&& body) {
  if (depth > 0) {
    if (sqlite3_get_autocommit(db)) return ERROR_REGISTRY_IO_FAILED;  // SQLite gave the transaction up
    return body();
  }
  int rc = beginWriting();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched = false;
  LONG result;
  try {
    result = refresh();
    if (result == ERROR_SUCCESS) result = body();
  } catch (...) {
    abortWrite(0);
    throw;
  }
  if (result == ERROR_SUCCESS) {
    rc = commit.run();
    if (rc == SQLITE_DONE) {
      created.clear();
      return ERROR_SUCCESS;
    }
    result = mapSqlite(rc);
  }
  abortWrite(0);
  return result;
}

void Registry::Impl::abortWrite(size_t mark) {
  if (!sqlite3_get_autocommit(db)) rollback.run();
  if (touched) stale = true;
  touched = false;
  forgetCreated(mark);
}

// Ids of keys whose creation was rolled back may be given out again, so the
// handles opened on them must never see a later key under the same id.
void Registry::Impl::forgetCreated(size_t mark) {
  if (created.size() > mark) {
    std::vector<int64_t> gone(created.begin() + static_cast<std::ptrdiff_t>(mark), created.end());
    std::sort(gone.begin(), gone.end());
    for (auto& [value, h] : handles)
      if (!h.dyn && std::binary_search(gone.begin(), gone.end(), h.id)) h.id = -1;
  }
  created.resize(std::min(created.size(), mark));
}

LONG Registry::Impl::addKey(Key& parent, std::string_view name, Key*& out) {
  if (name.size() > kMaxKeyName) return ERROR_INVALID_PARAMETER;
  const std::string folded = ansiFold(name);
  const int rc = insertKey->bind(1, parent.id).blob(2, name).blob(3, folded).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  const int64_t id = sqlite3_last_insert_rowid(db);
  touched = true;
  Key& k = keys[id];
  k.id = id;
  k.parent = &parent;
  k.name = std::string(name);
  parent.children.push_back(&k);
  parent.childIndex.emplace(k.name, &k);
  created.push_back(id);
  out = &k;
  return ERROR_SUCCESS;
}

LONG Registry::Impl::createPath(Key* from, std::string_view path, Key*& out, bool& made) {
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

LONG Registry::Impl::removeKey(Key& key) {
  const int rc = deleteKey->bind(1, key.id).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched = true;
  Key* parent = key.parent;
  parent->childIndex.erase(std::string_view(key.name));
  parent->children.erase(std::find(parent->children.begin(), parent->children.end(), &key));
  std::vector<Key*> stack{&key};
  while (!stack.empty()) {
    Key* k = stack.back();
    stack.pop_back();
    stack.insert(stack.end(), k->children.begin(), k->children.end());
    keys.erase(k->id);
  }
  return ERROR_SUCCESS;
}

LONG Registry::Impl::setValue(Key& key, std::string_view name, DWORD type, std::string_view data) {
  const FoldEq eq;
  auto it = std::find_if(key.values.begin(), key.values.end(), [&](const Value& v) { return eq(v.name, name); });
  const std::string folded = ansiFold(name);
  int rc;
  if (it != key.values.end()) {
    // The value keeps its place and the name as first written.
    rc = updateVal->bind(1, type).blob(2, data).bind(3, key.id).blob(4, folded).run();
    if (rc != SQLITE_DONE) return mapSqlite(rc);
    touched = true;
    it->type = type;
    it->data.assign(data);
  } else {
    rc = insertVal->bind(1, key.id).blob(2, name).blob(3, folded).bind(4, type).blob(5, data).run();
    if (rc != SQLITE_DONE) return mapSqlite(rc);
    touched = true;
    key.values.push_back(Value{std::string(name), type, std::string(data)});
  }
  return ERROR_SUCCESS;
}

LONG Registry::Impl::removeValue(Key& key, std::string_view name) {
  const FoldEq eq;
  auto it = std::find_if(key.values.begin(), key.values.end(), [&](const Value& v) { return eq(v.name, name); });
  if (it == key.values.end()) return ERROR_FILE_NOT_FOUND;
  const int rc = deleteVal->bind(1, key.id).blob(2, ansiFold(name)).run();
  if (rc != SQLITE_DONE) return mapSqlite(rc);
  touched = true;
  key.values.erase(it);
  return ERROR_SUCCESS;
}

// ============================================================================
// Handles

LONG Registry::Impl::start(HKEY key, Start& s) {
  switch (key) {
    case HKEY_LOCAL_MACHINE:
      s.key = localMachine;
      break;
    case HKEY_USERS:
      s.key = users;
      break;
    case HKEY_CLASSES_ROOT:
      s.key = localMachine;
      s.prefix = "SOFTWARE\\Classes";
      break;
    case HKEY_CURRENT_USER:
      s.key = users;
      s.prefix = ".DEFAULT";
      break;
    case HKEY_CURRENT_CONFIG:
      s.key = localMachine;
      s.prefix = "Config\\0001";
      break;
    case HKEY_DYN_DATA:
      s.dyn = true;
      return ERROR_SUCCESS;
    case HKEY_PERFORMANCE_DATA:
      return ERROR_INVALID_HANDLE;
    default: {
      auto it = handles.find(key);
      if (it == handles.end()) return ERROR_INVALID_HANDLE;
      if (it->second.dyn) {
        s.dyn = true;
        s.dynPath = it->second.dynPath;
        return ERROR_SUCCESS;
      }
      s.key = it->second.id > 0 ? keyOf(it->second.id) : nullptr;
      if (!s.key) {
        it->second.id = -1;  // stays deleted even if the id is used again
        return ERROR_KEY_DELETED;
      }
      return ERROR_SUCCESS;
    }
  }
  return s.key ? ERROR_SUCCESS : ERROR_BADDB;
}

// The stored key that a call on `key` itself works on; null when an alias
// root's key does not exist.
LONG Registry::Impl::self(HKEY key, Start& s, Key*& out) {
  const LONG rc = start(key, s);
  if (rc != ERROR_SUCCESS || s.dyn) return rc;
  out = s.prefix.empty() ? s.key : find(s.key, s.prefix);
  return ERROR_SUCCESS;
}

LONG Registry::Impl::validate(HKEY key) {
  std::lock_guard lock(mutex);
  return guarded([&]() -> LONG {
    if (LONG rc = refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    return start(key, s);
  });
}

HKEY Registry::Impl::newHandle(Handle h) {
  for (;;) {
    const HKEY v = nextHandle;
    nextHandle = nextHandle >= kLastHandle ? kFirstHandle : nextHandle + 4;
    if (handles.find(v) == handles.end()) {
      handles.emplace(v, std::move(h));
      return v;
    }
  }
}

// ============================================================================
// The registry functions


Registry::Registry(const std::filesystem::path& hiveFile) : impl_(std::make_unique<Impl>()) {
  impl_->file = hiveFile;
  impl_->open();
}

Registry::~Registry() = default;

void Registry::setDynData(std::shared_ptr<DynDataSource> source) {
  std::lock_guard lock(impl_->mutex);
  impl_->dyn = std::move(source);
}

LONG Registry::RegCreateKeyEx(HKEY key, std::string_view subKey, DWORD, std::string_view, DWORD, DWORD, HKEY* result,
                              DWORD* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = 0;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    if (LONG rc = d.refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
    if (s.dyn) {
      const std::string path = joinPath(s.dynPath, subKey);
      if (!path.empty() && !(d.dyn && d.dyn->keyExists(path))) return ERROR_ACCESS_DENIED;
      *result = d.newHandle(Handle{true, 0, path});
      if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
      return ERROR_SUCCESS;
    }
    // Opening an existing key needs no write lock: the library creates the
    // key before every value it writes.
    const std::string path = s.prefix.empty() ? std::string(subKey) : joinPath(s.prefix, subKey);
    if (Key* k = d.find(s.key, path)) {
      *result = d.newHandle(Handle{false, k->id, {}});
      if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
      return ERROR_SUCCESS;
    }
    // A name that cannot be made is refused before anything is written, so a
    // failed call leaves no half-made path behind.
    if (!forEachComponent(path, [](std::string_view name) { return name.size() <= kMaxKeyName; }))
      return ERROR_INVALID_PARAMETER;
    bool made = false;
    int64_t id = 0;
    const LONG rc = d.write([&]() -> LONG {
      Start w;
      if (LONG r = d.start(key, w); r != ERROR_SUCCESS) return r;
      Key* k = nullptr;
      const LONG r = d.createPath(w.key, path, k, made);
      if (r == ERROR_SUCCESS) id = k->id;
      return r;
    });
    if (rc != ERROR_SUCCESS) return rc;
    *result = d.newHandle(Handle{false, id, {}});
    if (disposition) *disposition = made ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

// The old forms give back the very handle passed in for an empty subkey, as
// the platform documents; they make no new handle to close.
LONG Registry::RegCreateKey(HKEY key, std::string_view subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  if (beforeNul(subKey).empty()) return sameHandle(key, result);
  return RegCreateKeyEx(key, subKey, 0, "", 0, KEY_ALL_ACCESS, result, nullptr);
}

LONG Registry::sameHandle(HKEY key, HKEY* result) {
  const LONG rc = impl_->validate(key);
  *result = rc == ERROR_SUCCESS ? key : 0;
  return rc;
}

LONG Registry::RegOpenKeyEx(HKEY key, std::string_view subKey, DWORD, DWORD, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = 0;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    if (LONG rc = d.refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
    if (s.dyn) {
      std::string path = joinPath(s.dynPath, subKey);
      if (!path.empty() && !(d.dyn && d.dyn->keyExists(path))) return ERROR_FILE_NOT_FOUND;
      *result = d.newHandle(Handle{true, 0, std::move(path)});
      return ERROR_SUCCESS;
    }
    Key* k = s.prefix.empty() ? d.find(s.key, subKey) : d.find(d.find(s.key, s.prefix), subKey);
    if (!k) return ERROR_FILE_NOT_FOUND;
    *result = d.newHandle(Handle{false, k->id, {}});
    return ERROR_SUCCESS;
  });
}

LONG Registry::RegOpenKey(HKEY key, std::string_view subKey, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  if (beforeNul(subKey).empty()) return sameHandle(key, result);
  return RegOpenKeyEx(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LONG Registry::RegCloseKey(HKEY key) {
  auto& d = *impl_;
  std::lock_guard lock(d.mutex);
  if (key == HKEY_PERFORMANCE_DATA) return ERROR_INVALID_HANDLE;
  if (isPredefined(key)) return ERROR_SUCCESS;
  return d.handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG Registry::RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, uint8_t* data, DWORD* size) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    if (LONG rc = d.refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    const FoldEq eq;
    if (s.dyn) {
      if (!d.dyn) return ERROR_FILE_NOT_FOUND;
      for (const auto& v : d.dyn->values(s.dynPath))
        if (eq(v.name, name))
          return deliver(v.type, std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size()), type,
                         data, size);
      return ERROR_FILE_NOT_FOUND;
    }
    if (!k) return ERROR_FILE_NOT_FOUND;
    for (const auto& v : k->values)
      if (eq(v.name, name)) return deliver(v.type, v.data, type, data, size);
    return ERROR_FILE_NOT_FOUND;
  });
}

LONG Registry::RegSetValueEx(HKEY key, const char* valueName, DWORD, DWORD type, const uint8_t* data, DWORD size) {
  if (!data && size > 0) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    const std::string_view bytes = size ? std::string_view(reinterpret_cast<const char*>(data), size) : "";
    return d.write([&]() -> LONG {
      Start s;
      if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      Key* k = s.key;
      if (!s.prefix.empty()) {
        bool made = false;
        if (LONG rc = d.createPath(s.key, s.prefix, k, made); rc != ERROR_SUCCESS) return rc;
      }
      return d.setValue(*k, name, type, bytes);
    });
  });
}

LONG Registry::RegDeleteValue(HKEY key, const char* valueName) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    const std::string_view name = valueName ? valueName : "";
    return d.write([&]() -> LONG {
      Start s;
      Key* k = nullptr;
      if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      if (!k) return ERROR_FILE_NOT_FOUND;
      return d.removeValue(*k, name);
    });
  });
}

LONG Registry::RegDeleteKey(HKEY key, std::string_view subKey) {
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    subKey = beforeNul(subKey);
    bool emptyPath = true;
    forEachComponent(subKey, [&](std::string_view) { return emptyPath = false; });
    // A root cannot be deleted, nor can the key an alias root stands for.
    if (isPredefined(key) && key != HKEY_PERFORMANCE_DATA && emptyPath) return ERROR_ACCESS_DENIED;
    return d.write([&]() -> LONG {
      Start s;
      if (LONG rc = d.start(key, s); rc != ERROR_SUCCESS) return rc;
      if (s.dyn) return ERROR_ACCESS_DENIED;
      Key* k = s.prefix.empty() ? d.find(s.key, subKey) : d.find(d.find(s.key, s.prefix), subKey);
      if (!k) return ERROR_FILE_NOT_FOUND;
      if (!k->parent || k->parent->id == kTopId) return ERROR_ACCESS_DENIED;
      return d.removeKey(*k);
    });
  });
}

LONG Registry::RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameLen, char* cls, DWORD* clsLen) {
  if (!name || !nameLen) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    if (LONG rc = d.refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    std::string dynName;
    std::string_view found;
    if (s.dyn) {
      if (!d.dyn) return ERROR_NO_MORE_ITEMS;
      auto names = d.dyn->subkeys(s.dynPath);
      if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
      dynName = std::move(names[index]);
      found = dynName;
    } else {
      if (!k || index >= k->children.size()) return ERROR_NO_MORE_ITEMS;
      found = k->children[index]->name;
    }
    if (!deliverName(found, name, nameLen)) return ERROR_MORE_DATA;
    // Keys have no class here: the class is always empty.
    if (clsLen) {
      if (cls && *clsLen > 0) cls[0] = '\0';
      *clsLen = 0;
    }
    return ERROR_SUCCESS;
  });
}

LONG Registry::RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameLen, DWORD* type, uint8_t* data,
                            DWORD* dataLen) {
  if (!name || !nameLen) return ERROR_INVALID_PARAMETER;
  if (data && !dataLen) return ERROR_INVALID_PARAMETER;
  auto& d = *impl_;
  return guarded([&]() -> LONG {
    std::lock_guard lock(d.mutex);
    if (LONG rc = d.refresh(); rc != ERROR_SUCCESS) return rc;
    Start s;
    Key* k = nullptr;
    if (LONG rc = d.self(key, s, k); rc != ERROR_SUCCESS) return rc;
    DynValue dynValue;
    std::string_view valueName, bytes;
    DWORD valueType = REG_NONE;
    if (s.dyn) {
      if (!d.dyn) return ERROR_NO_MORE_ITEMS;
      auto values = d.dyn->values(s.dynPath);
      if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
      dynValue = std::move(values[index]);
      valueName = dynValue.name;
      valueType = dynValue.type;
      bytes = std::string_view(reinterpret_cast<const char*>(dynValue.data.data()), dynValue.data.size());
    } else {
      if (!k || index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
      const Value& v = k->values[index];
      valueName = v.name;
      valueType = v.type;
      bytes = v.data;
    }
    if (!deliverName(valueName, name, nameLen)) return ERROR_MORE_DATA;
    return deliver(valueType, bytes, type, data, dataLen);
  });
}

bool Registry::transaction(const std::function<bool()>& work) {
  auto& d = *impl_;
  std::lock_guard lock(d.mutex);
  const size_t mark = d.created.size();
  if (d.depth > 0) {
    // A nested transaction is a savepoint: it can be undone alone.
    if (execSql(d.db, "SAVEPOINT tw_nested") != SQLITE_OK) return false;
    auto undo = [&] {
      if (!sqlite3_get_autocommit(d.db)) {
        execSql(d.db, "ROLLBACK TO tw_nested");
        execSql(d.db, "RELEASE tw_nested");
        d.reload();
      } else {
        d.stale = true;
      }
      d.forgetCreated(mark);
    };
    bool ok = false;
    ++d.depth;
    try {
      ok = work();
    } catch (...) {
      --d.depth;
      undo();
      throw;
    }
    --d.depth;
    if (ok && execSql(d.db, "RELEASE tw_nested") == SQLITE_OK) return true;
    undo();
    return false;
  }

  if (d.beginWriting() != SQLITE_DONE) return false;
  d.touched = false;
  if (d.refresh() != ERROR_SUCCESS) {
    d.abortWrite(mark);
    return false;
  }
  bool ok = false;
  ++d.depth;
  try {
    ok = work();
  } catch (...) {
    --d.depth;
    d.abortWrite(mark);
    throw;
  }
  --d.depth;
  if (ok && !sqlite3_get_autocommit(d.db) && d.commit.run() == SQLITE_DONE) {
    d.created.clear();
    return true;
  }
  d.abortWrite(mark);
  return false;
}

size_t Registry::openHandleCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->handles.size();
}

const std::filesystem::path& Registry::file() const { return impl_->file; }

// ============================================================================
// Root names

namespace {

struct RootName {
  HKEY root;
  const char* name;
  const char* shortName;
};

constexpr RootName kRootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"}, {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"}, {HKEY_DYN_DATA, "HKEY_DYN_DATA", "HKDD"},
};

}  // namespace

std::optional<HKEY> rootFromName(std::string_view name) {
  for (const auto& r : kRootNames)
    if (ansiEqualNoCase(name, r.name) || ansiEqualNoCase(name, r.shortName)) return r.root;
  return std::nullopt;
}

const char* rootName(HKEY root) {
  for (const auto& r : kRootNames)
    if (r.root == root) return r.name;
  if (root == HKEY_PERFORMANCE_DATA) return "HKEY_PERFORMANCE_DATA";
  return "";
}

}  // namespace tw::reg
