// The hive file itself: bad files are refused and left alone, and several
// processes (and a crash) never lose a write that was reported done.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "host/registry/registry.h"
#include "tests/host/registry/reg_helpers.h"
#include "tests/support/child_process.h"
#include "tests/support/errors.h"
#include "tests/support/temp_dir.h"

namespace tw::reg {
namespace {

using test::readFile;
using test::spawn;
using test::TempDir;
using test::waitFor;
using test::writeFile;

// Opening must fail with a message that names the file and the trouble, and
// leave the file (and, unless the hive may be in use elsewhere, its folder)
// exactly as they were.
void expectRefused(const std::filesystem::path& hive, const std::string& problem, bool sideFilesGone = true) {
  const std::string before = readFile(hive);
  const std::string msg = test::messageOf<HiveError>([&] { Registry r(hive); });
  EXPECT_NE(msg.find(hive.string()), std::string::npos) << msg;
  EXPECT_NE(msg.find(problem), std::string::npos) << msg;
  EXPECT_EQ(readFile(hive), before);
  if (!sideFilesGone) return;
  EXPECT_FALSE(std::filesystem::exists(hive.string() + "-wal"));
  EXPECT_FALSE(std::filesystem::exists(hive.string() + "-shm"));
}

void fillSome(const std::filesystem::path& hive) {
  Registry r(hive);
  const HKEY k = create(r, HKEY_LOCAL_MACHINE, "Fill");
  for (int i = 0; i < 300; ++i)
    ASSERT_EQ(setSz(r, k, ("value" + std::to_string(i)).c_str(), std::string(200, 'x')), 0);
  r.RegCloseKey(k);
}

TEST(HiveFile, RefusesFilesThatAreNotWholeHivesAndLeavesThemAlone) {
  TempDir dir;
  const auto good = dir / "good.db";
  fillSome(good);
  const std::string whole = readFile(good);
  ASSERT_GT(whole.size(), 8u * 4096);
  auto withByte = [&](size_t at, char byte) {
    std::string bytes = whole;
    bytes[at] = byte;
    return bytes;
  };
  std::string scribbled = whole;
  for (size_t i = 4096; i < 3 * 4096; ++i) scribbled[i] = static_cast<char>(i * 7);
  struct Case {
    const char* name;
    std::string bytes;
    const char* problem;
    bool sideFilesGone = true;
  };
  const Case cases[] = {
      {"text", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", "not an SQLite database"},
      {"other", withByte(68, 'X'), "of another kind"},  // the application id in the header
      // The format number in the header: the newer program may have it open.
      {"newer", withByte(63, 9), "newer version", false},
      {"cut", whole.substr(0, whole.size() / 2 + 100), "damaged"},
      {"cutAtPage", whole.substr(0, 3 * 4096), "damaged"},
      {"scribbled", scribbled, "damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = dir / (std::string(c.name) + ".db");
    writeFile(file, c.bytes);
    expectRefused(file, c.problem, c.sideFilesGone);
  }
  const auto folder = dir / "folder.db";
  std::filesystem::create_directory(folder);
  EXPECT_THROW(Registry r(folder), HiveError);
}

TEST(HiveFile, AnEmptyFileBecomesAHiveThatKeepsItsData) {
  TempDir dir;
  const auto hive = dir / "hive.db";
  writeFile(hive, "");
  {
    Registry r(hive);
    ASSERT_EQ(setSz(r, HKEY_CURRENT_USER, "kept", "yes"), 0);
  }
  Registry again(hive);
  EXPECT_EQ(querySz(again, HKEY_CURRENT_USER, "kept"), "yes");
}

// Opens the hive in a child process and runs `change` on it; 0 when the
// change succeeded.
int changeElsewhere(const std::filesystem::path& hive, const std::function<LONG(Registry&)>& change) {
  return waitFor(spawn([&] {
    Registry other(hive);
    return change(other) == ERROR_SUCCESS ? 0 : 1;
  }));
}

TEST(HiveFile, TwoProcessesWritingAtOnceLoseNothing) {
  TempDir dir;
  const auto hive = dir / "hive.db";  // made by whichever process comes first
  constexpr int kEach = 1000;
  auto writer = [&](const std::string& prefix) {
    return [&hive, prefix] {
      Registry r(hive);
      for (int i = 0; i < kEach; ++i) {
        // Half the writes make their key, so creation races too.
        HKEY k = 0;
        const std::string sub = "Race\\" + std::to_string(i % 10);
        if (r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, sub, 0, "", 0, KEY_ALL_ACCESS, &k, nullptr) != 0) return 3;
        const std::string name = prefix + std::to_string(i);
        const LONG rc = setSz(r, k, name.c_str(), name);
        r.RegCloseKey(k);
        if (rc != 0) return 4;
      }
      return r.openHandleCount() == 0 ? 0 : 5;
    };
  };
  const pid_t a = spawn(writer("a"));
  const pid_t b = spawn(writer("b"));
  ASSERT_EQ(waitFor(a), 0);
  ASSERT_EQ(waitFor(b), 0);

  Registry r(hive);
  std::set<std::string> seen;
  for (int d = 0; d < 10; ++d) {
    HKEY k = 0;
    ASSERT_EQ(r.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Race\\" + std::to_string(d), 0, KEY_READ, &k), 0);
    for (const auto& name : valueNames(r, k)) {
      EXPECT_EQ(querySz(r, k, name.c_str()), name);
      seen.insert(name);
    }
    r.RegCloseKey(k);
  }
  EXPECT_EQ(seen.size(), 2u * kEach);  // a key made twice would hide the values of one
}

TEST(HiveFile, AnOpenHiveSeesWhatAnotherProcessWrote) {
  TempDir dir;
  const auto hive = dir / "hive.db";
  Registry r(hive);
  const HKEY k = create(r, HKEY_LOCAL_MACHINE, "Seen");
  ASSERT_EQ(setSz(r, k, "v", "mine"), 0);
  EXPECT_EQ(querySz(r, k, "v"), "mine");
  for (const std::string text : {"theirs", "theirs again"}) {
    ASSERT_EQ(changeElsewhere(hive, [&](Registry& other) { return setSz(other, HKEY_LOCAL_MACHINE, "v", text); }), 0);
    EXPECT_EQ(querySz(r, HKEY_LOCAL_MACHINE, "v"), text);
  }
  ASSERT_EQ(changeElsewhere(hive, [](Registry& other) { return other.RegDeleteKey(HKEY_LOCAL_MACHINE, "seen"); }), 0);
  EXPECT_EQ(querySz(r, k, "v"), std::nullopt);
  EXPECT_EQ(setSz(r, k, "v", "again"), ERROR_KEY_DELETED);
  r.RegCloseKey(k);
}

TEST(HiveFile, ReadsTogetherSeeOneMomentAndTheNextCallSeesTheRest) {
  TempDir dir;
  const auto hive = dir / "hive.db";
  Registry r(hive);
  ASSERT_EQ(setSz(r, HKEY_CURRENT_USER, "v", "before"), 0);
  auto writeElsewhere = [&](const std::string& text) {
    return changeElsewhere(hive, [&](Registry& other) { return setSz(other, HKEY_CURRENT_USER, "v", text); });
  };
  r.readTogether([&] {
    EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "v"), "before");
    ASSERT_EQ(writeElsewhere("theirs"), 0);
    EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "v"), "before");
    // A write of our own works from the newest hive and is seen at once.
    ASSERT_EQ(setSz(r, HKEY_CURRENT_USER, "w", "mine"), 0);
    EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "v"), "theirs");
    EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "w"), "mine");
    ASSERT_EQ(writeElsewhere("later"), 0);
  });
  // Once the group has ended, every call notices again.
  EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "v"), "later");
  ASSERT_EQ(writeElsewhere("last"), 0);
  EXPECT_EQ(querySz(r, HKEY_CURRENT_USER, "", "v"), "last");
}

TEST(HiveFile, AKilledWriterLeavesEveryReportedWriteInPlace) {
  TempDir dir;
  const auto hive = dir / "hive.db";
  { Registry r(hive); }
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = spawn([&] {
    ::close(fds[0]);
    Registry r(hive);
    for (int i = 0;; ++i) {
      const std::string name = std::string("v").append(std::to_string(i));
      HKEY k = 0;
      if (r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Crash\\" + std::to_string(i % 7), 0, "", 0, KEY_ALL_ACCESS, &k,
                           nullptr) != 0)
        return 3;
      const LONG rc = r.RegSetValueEx(k, name.c_str(), 0, REG_BINARY, bytes(name), static_cast<DWORD>(name.size()));
      r.RegCloseKey(k);
      if (rc != 0) return 4;
      if (::write(fds[1], &i, sizeof i) != sizeof i) return 5;
    }
  });
  ::close(fds[1]);
  int last = -1, got = 0;
  while (last < 150 && ::read(fds[0], &got, sizeof got) == sizeof got) last = got;
  ASSERT_EQ(::kill(child, SIGKILL), 0);
  while (::read(fds[0], &got, sizeof got) == sizeof got) last = got;
  ::close(fds[0]);
  ASSERT_EQ(waitFor(child), 100 + SIGKILL);
  ASSERT_GE(last, 150);

  Registry r(hive);
  for (int i = 0; i <= last; ++i) {
    const std::string name = "v" + std::to_string(i);
    EXPECT_EQ(querySz(r, HKEY_LOCAL_MACHINE, "Crash\\" + std::to_string(i % 7), name.c_str()), name);
  }
}

}  // namespace
}  // namespace tw::reg
