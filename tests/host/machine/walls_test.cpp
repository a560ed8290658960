// The machine's C: drive has walls: its hidden folder and whatever lies
// outside the machine folder are not reachable through any Windows path,
// whether by spelling or through a symbolic link.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/files/file_system.h"
#include "host/machine/machine.h"
#include "host/profile/profile.h"
#include "tests/support/errors.h"
#include "tests/support/machine_fixture.h"

namespace fs = std::filesystem;

namespace tw {
namespace {

using namespace std::string_literals;

class WallsTest : public ::testing::Test {
 protected:
  const fs::path& makeMachine() const {
    test::makeBareMachine(d / "m");
    test::writeFile(d / "m" / ".tunewell" / "hive.db", kHive);
    test::writeFile(d / "outside" / "SECRET.INI", "[s]\r\nk=outside\r\n");
    test::writeFile(d / "m" / "WINDOWS" / "SYSTEM" / "INNER.INI", "[s]\r\nk=inside\r\n");
    return d.path();
  }

  std::string read(const std::string& path) const {
    char buf[64];
    profile.GetPrivateProfileString("s", "k", "default", buf, sizeof buf, path);
    return buf;
  }

  const std::string kHive = "SQLite format 3\0 pretend"s;
  test::TempDir d;
  Machine machine = Machine::open(makeMachine() / "m");
  Profile profile{machine};
  FileSystem files{machine, nullptr};
};

TEST_F(WallsTest, TheHiddenFolderCannotBeReachedByAnySpelling) {
  const std::string description = test::readFile(d / "m" / ".tunewell" / "machine.ini");
  const std::vector<std::string> spellings = {
      "C:\\.tunewell\\hive.db",         "C:\\.TUNEWELL\\HIVE.DB",           "c:/.Tunewell/hive.db",
      "C:\\WINDOWS\\..\\.tunewell\\hive.db", "..\\.tunewell\\hive.db",      "\\.tunewell\\machine.ini",
      "C:\\.tunewell.\\hive.db",         "C:\\.tunewell \\hive.db.",        "C:\\.\\.tunewell\\.\\machine.ini",
      "C:\\.tunewell\\hive.db\0.ini"s,   "C:\\.tunewell\\NEW.INI"};
  for (const std::string& path : spellings) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(fs::exists(machine.toHost(path)));
    EXPECT_EQ(read(path), "default");
    EXPECT_FALSE(profile.WritePrivateProfileString("s", "k", "v", path));
    EXPECT_FALSE(files.FileExists(path));
    EXPECT_EQ(test::errorOf([&] { files.DeleteFile(path, true); }), 53);
  }
  EXPECT_EQ(test::readFile(d / "m" / ".tunewell" / "hive.db"), kHive);
  EXPECT_EQ(test::readFile(d / "m" / ".tunewell" / "machine.ini"), description);
  EXPECT_FALSE(fs::exists(d / "m" / ".tunewell" / "NEW.INI"));
  EXPECT_FALSE(fs::exists(d / "m" / ".tunewell" / "unreachable"));
}

TEST_F(WallsTest, NamesEndingInDotsOrBlanksAreTheNamesWithout) {
  EXPECT_EQ(read("C:\\WINDOWS\\SYSTEM\\INNER.INI."), "inside");
  EXPECT_EQ(read("C:\\WINDOWS \\SYSTEM..\\INNER.INI . "), "inside");
  EXPECT_TRUE(files.FileExists("C:\\WINDOWS\\SYSTEM\\INNER.INI."));
}

TEST_F(WallsTest, SymbolicLinksLeadingOutOfTheMachineAreWalls) {
  fs::create_directory_symlink(d / "outside", d / "m" / "WINDOWS" / "LINKDIR");
  fs::create_symlink(d / "outside" / "SECRET.INI", d / "m" / "WINDOWS" / "LINKED.INI");
  fs::create_symlink(d / "outside" / "NOTYET.INI", d / "m" / "WINDOWS" / "DANGLING.INI");
  fs::create_directory_symlink("../.tunewell", d / "m" / "WINDOWS" / "META");
  fs::create_directory_symlink("..", d / "m" / "WINDOWS" / "UP");

  for (const char* path : {"C:\\WINDOWS\\LINKDIR\\SECRET.INI", "C:\\WINDOWS\\LINKED.INI", "linked.ini"})
    EXPECT_EQ(read(path), "default") << path;
  for (const char* path : {"C:\\WINDOWS\\LINKDIR\\NEW.INI", "C:\\WINDOWS\\LINKED.INI", "C:\\WINDOWS\\DANGLING.INI",
                           "C:\\WINDOWS\\META\\hive.db", "C:\\WINDOWS\\UP\\.tunewell\\hive.db",
                           "C:\\WINDOWS\\UP\\.TUNEWELL\\machine.ini"})
    EXPECT_FALSE(profile.WritePrivateProfileString("s", "k", "v", path)) << path;
  EXPECT_FALSE(files.FileExists("C:\\WINDOWS\\LINKDIR\\SECRET.INI"));
  EXPECT_FALSE(files.FileExists("C:\\WINDOWS\\META\\hive.db"));
  EXPECT_EQ(test::errorOf([&] { files.DeleteFile("C:\\WINDOWS\\LINKED.INI", true); }), 53);
  EXPECT_EQ(test::readFile(d / "outside" / "SECRET.INI"), "[s]\r\nk=outside\r\n");
  EXPECT_FALSE(fs::exists(d / "outside" / "NEW.INI"));
  EXPECT_FALSE(fs::exists(d / "outside" / "NOTYET.INI"));
  EXPECT_EQ(test::readFile(d / "m" / ".tunewell" / "hive.db"), kHive);

  // A link that stays inside the machine is an ordinary way in.
  EXPECT_EQ(read("C:\\WINDOWS\\UP\\WINDOWS\\SYSTEM\\INNER.INI"), "inside");
  EXPECT_TRUE(profile.WritePrivateProfileString("s", "k", "changed", "C:\\WINDOWS\\UP\\WINDOWS\\SYSTEM\\INNER.INI"));
  EXPECT_EQ(read("C:\\WINDOWS\\SYSTEM\\INNER.INI"), "changed");
  EXPECT_TRUE(files.FileExists("C:\\WINDOWS\\UP\\WINDOWS\\SYSTEM\\INNER.INI"));
}

TEST(Walls, AMachineReachedThroughALinkKeepsItsOwnFiles) {
  test::TempDir d;
  test::makeBareMachine(d / "real");
  test::writeFile(d / "real" / "WINDOWS" / "WIN.INI", "[s]\r\nk=1\r\n");
  fs::create_directory_symlink(d / "real", d / "link");
  const Machine machine = Machine::open(d / "link");
  const Profile profile(machine);
  EXPECT_TRUE(profile.WritePrivateProfileString("s", "k", "2", "WIN.INI"));
  EXPECT_EQ(test::readFile(d / "real" / "WINDOWS" / "WIN.INI"), "[s]\r\nk=2\r\n");
  EXPECT_FALSE(profile.WritePrivateProfileString("s", "k", "2", "C:\\.tunewell\\machine.ini"));
}

}  // namespace
}  // namespace tw
