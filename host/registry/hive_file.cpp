#include "host/registry/hive_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>

#include "host/files/atomic_file.h"
#include "host/registry/registry.h"
#include "host/registry/statement.h"

namespace tw::reg {
namespace {

namespace fs = std::filesystem;

// What the hive file says about itself, so that a file of another program or
// of a later format is refused instead of being written to.
constexpr int32_t kApplicationId = 0x54574856;
constexpr int kFormat = 1;

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

// A hive is a few dozen pages, yet SQLite starts each page cache (the
// hive's, and the temporary one its checks use) with a block of twenty
// pages: most of its memory.  Told before it starts, it takes the pages one
// by one as they are read.  Too late (SQLite already started by other code
// of the process) changes nothing.
void takeCachePagesOneByOne() {
  static std::once_flag once;
  std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0); });
}

// A new hive is built beside the final name and renamed into place, so that
// a process that opens the file never sees it half made, and two processes
// that start at once make it only once.
void createHive(const fs::path& file) {
  std::unique_ptr<FileUpdateLock> lock;
  try {
    lock = std::make_unique<FileUpdateLock>(file);
  } catch (const std::system_error& e) {
    hiveFail(file, std::string("cannot be created: ") + e.what());
  }
  std::error_code ec;
  if (fs::exists(file, ec) && fs::file_size(file, ec) > 0) return;

  const fs::path temp = file.parent_path() / ("." + file.filename().string() + ".new" + std::to_string(::getpid()));
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
void checkHeader(const fs::path& file) {
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
    hiveFail(file, "is not a hive: it is not an SQLite database", true);
  unsigned pageSize = (static_cast<unsigned>(h[16]) << 8) | h[17];
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
    hiveFail(file, "is damaged: the page size in its header is invalid", true);
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec) hiveFail(file, "cannot be read: " + ec.message());
  if (size % pageSize != 0) hiveFail(file, "is damaged: it is cut short (not a whole number of pages)", true);
}

// The checks SQLite can make.  `unusable` is set when the file is one that no
// program of ours can use, as opposed to one that is busy or newer.
void verify(sqlite3* db, const fs::path& file, bool& unusable) {
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
      if (primary == SQLITE_NOTADB) hiveFail(file, "is not a hive: it is not an SQLite database", true);
      if (primary == SQLITE_CORRUPT) hiveFail(file, std::string("is damaged: ") + sqlite3_errmsg(db), true);
      hiveFail(file, std::string("cannot be read: ") + sqlite3_errmsg(db));
    }
    return v;
  };
  std::string text;
  scalar("PRAGMA quick_check(1)", text);
  unusable = true;
  if (text != "ok") hiveFail(file, "is damaged: " + text, true);
  if (scalar("PRAGMA application_id", text) != kApplicationId)
    hiveFail(file, "is not a hive: it is an SQLite database of another kind", true);
  const int64_t format = scalar("PRAGMA user_version", text);
  if (format > kFormat) {
    unusable = false;
    hiveFail(file, "was written by a newer version of this program (format " + std::to_string(format) + ")");
  }
  if (format != kFormat) hiveFail(file, "is not a hive: unknown format " + std::to_string(format), true);
  try {
    Stmt(db, "SELECT id, parent, name, folded FROM keys LIMIT 0");
    Stmt(db, "SELECT id, key, name, folded, type, data FROM vals LIMIT 0");
  } catch (const std::runtime_error& e) {
    hiveFail(file, std::string("is not a hive: its tables are not as expected (") + e.what() + ")", true);
  }
  if (scalar("SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL", text) != 1 ||
      scalar("SELECT count(*) FROM keys WHERE parent = 1 AND folded IN "
             "(CAST('HKEY_LOCAL_MACHINE' AS BLOB), CAST('HKEY_USERS' AS BLOB))",
             text) != 2)
    hiveFail(file, "is damaged: its root keys are missing", true);
}

void configure(sqlite3* db, const fs::path& file) {
  sqlite3_stmt* s = nullptr;
  std::string mode;
  if (sqlite3_prepare_v2(db, "PRAGMA journal_mode=WAL", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    mode = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
  sqlite3_finalize(s);
  if (mode != "wal") hiveFail(file, std::string("cannot be opened for writing: ") + sqlite3_errmsg(db));
  // FULL: a write is on disk when the call returns, as the callers are told.
  if (execSql(db, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;") != SQLITE_OK)
    hiveFail(file, std::string("cannot be set up: ") + sqlite3_errmsg(db));
}

}  // namespace

void hiveFail(const fs::path& file, const std::string& what, bool unusable) {
  throw HiveError("hive file \"" + file.string() + "\" " + what, unusable);
}

sqlite3* openHive(const fs::path& file, HiveOpening opening) {
  takeCachePagesOneByOne();
  std::error_code ec;
  const auto st = fs::status(file, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) hiveFail(file, "cannot be read: " + ec.message());
  if (fs::exists(st) && !fs::is_regular_file(st)) hiveFail(file, "is not a hive: it is not a regular file", true);
  const bool missing = !fs::exists(st);
  if (missing || fs::file_size(file, ec) == 0) {
    if (opening == HiveOpening::MustExist) hiveFail(file, missing ? "is missing" : "is empty (0 bytes)", true);
    createHive(file);
  }

  checkHeader(file);

  // The check must not leave anything behind beside a file it refuses.
  const fs::path wal = file.string() + "-wal", shm = file.string() + "-shm";
  const bool hadWal = fileExists(wal), hadShm = fileExists(shm);
  sqlite3* db = nullptr;
  bool unusable = false;
  const int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  try {
    if (rc != SQLITE_OK) hiveFail(file, std::string("cannot be opened: ") + (db ? sqlite3_errmsg(db) : "out of memory"));
    // Closing after a failed check must not fold a leftover log into a file
    // that we refuse.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, 10000);
    verify(db, file, unusable);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    configure(db, file);
  } catch (...) {
    if (db) sqlite3_close_v2(db);
    // Only a file that no program of ours can use loses the side files this
    // check made; a hive that was merely busy, or is of a newer format, may
    // be open in another process that needs them.
    if (unusable) {
      if (!hadWal) fs::remove(wal, ec);
      if (!hadShm) fs::remove(shm, ec);
    }
    throw;
  }
  return db;
}

}  // namespace tw::reg
