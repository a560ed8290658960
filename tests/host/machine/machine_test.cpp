#include <gtest/gtest.h>

#include "host/machine/machine.h"
#include "host/registry/registry.h"
#include "tests/support/errors.h"
#include "tests/support/machine_fixture.h"

namespace fs = std::filesystem;

namespace tw {
namespace {

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { test::makeBareMachine(d / "m"); }
  Machine open() const { return Machine::open(d / "m"); }
  test::TempDir d;
  const fs::path root = fs::absolute(d / "m");
};

TEST_F(MachineTest, WindowsPathsFindExistingNamesWithoutRegardToCaseAndTranslateBack) {
  test::writeFile(d / "m" / "WINDOWS" / "SYSTEM.INI", "");
  test::writeFile(d / "m" / "Program Files" / "Tunewell" / "Tools.txt", "");
  const Machine m = open();
  EXPECT_EQ(m.toHost("C:\\Windows\\System.ini"), root / "WINDOWS" / "SYSTEM.INI");
  EXPECT_EQ(m.toHost("system.ini"), root / "WINDOWS" / "SYSTEM.INI");
  EXPECT_EQ(m.toHost("c:/PROGRAM FILES/tunewell/TOOLS.TXT"), root / "Program Files" / "Tunewell" / "Tools.txt");
  // Missing names are kept as written, so a new file gets the caller's spelling.
  EXPECT_EQ(m.toHost("C:\\WINDOWS\\New.ini"), root / "WINDOWS" / "New.ini");
  EXPECT_EQ(m.toWindows(d / "m" / "WINDOWS" / "SYSTEM.INI"), "C:\\WINDOWS\\SYSTEM.INI");
  EXPECT_EQ(m.toWindows(d / "m"), "C:\\");
}

TEST_F(MachineTest, PathsNeverLeaveTheDrive) {
  const Machine m = open();
  EXPECT_EQ(m.toHost("C:\\..\\..\\etc\\passwd"), root / "etc" / "passwd");
  EXPECT_EQ(m.toHost("..\\..\\x"), root / "x");
  const fs::path other = m.toHost("D:\\SETUP.EXE");
  EXPECT_FALSE(fs::exists(other));
  EXPECT_EQ(other.string().rfind(root.string(), 0), 0u);
}

TEST_F(MachineTest, TheDescriptionIsRead) {
  test::writeFile(d / "m" / ".tunewell" / "machine.ini",
                  "[Machine]\r\nWindowsFolder=D:\\WIN95\r\nVersion=4.0.950\r\nComputerName=OLDBOX\r\n");
  const Machine m = open();
  EXPECT_EQ(m.windowsFolder(), "D:\\WIN95");
  EXPECT_EQ(m.version().build, 950u);
  EXPECT_EQ(m.describedFileSystem(), "FAT32") << "the default without a FileSystem line";
}

// A bad description is refused, naming the file and the trouble, and left as
// it was.  Read as the defaults, one that says nothing would describe another
// machine, so its message also names the way out.  A Windows 9x drive is FAT:
// a file system it could not start from is refused rather than shown.
TEST_F(MachineTest, ABadDescriptionIsRefusedAndKept) {
  const fs::path ini = d / "m" / ".tunewell" / "machine.ini";
  struct Case {
    std::string text;
    const char* problem;
    bool namesTheWayOut;
  };
  const Case cases[] = {
      {"[Machine]\r\nVersion=four\r\n", "Version", false},
      {"[Machine]\r\nComputerName=OLDBOX\r\nFileSystem=NTFS\r\n",
       "line 3: FileSystem must be FAT32 or FAT, not \"NTFS\"", false},
      {"", "is empty", true},
      {std::string("\x7f" "ELF\x02\x01\0\0\0", 9), "NUL", true},
      {"just some words\r\n", "line 1", true},
      {"[Other]\r\nVersion=4.10.2222\r\n", "no [Machine] section", true},
  };
  for (const auto& [text, problem, namesTheWayOut] : cases) {
    SCOPED_TRACE(problem);
    test::writeFile(ini, text);
    const std::string msg = test::messageOf<MachineError>([&] { (void)open(); });
    EXPECT_NE(msg.find(ini.string()), std::string::npos) << msg;
    EXPECT_NE(msg.find(problem), std::string::npos) << msg;
    if (namesTheWayOut) {
      EXPECT_NE(msg.find("reset-machine"), std::string::npos) << msg;
    }
    EXPECT_EQ(test::readFile(ini), text);
  }
}

// A fresh hive in an existing machine would make the tuner start as on a
// first run and write over the originals it recorded.
TEST_F(MachineTest, AMissingEmptyOrDamagedHiveIsReportedNotMadeAnew) {
  const fs::path hive = d / "m" / ".tunewell" / "hive.db";
  const fs::path recorded = d / "m" / "Program Files" / "Tunewell" / "Settings.1st";
  test::writeFile(recorded, "the originals\r\n");
  auto expectRefused = [&](const char* problem) {
    const std::string msg = test::messageOf<reg::HiveError>([&] { Host host(d / "m", nullptr); });
    for (const std::string& word : {hive.string(), std::string(problem), std::string("reset-machine"), std::string("import")})
      EXPECT_NE(msg.find(word), std::string::npos) << msg;
    EXPECT_EQ(test::readFile(recorded), "the originals\r\n");
  };
  fs::remove(hive);
  expectRefused("is missing");
  EXPECT_FALSE(fs::exists(hive));
  test::writeFile(hive, "");
  expectRefused("is empty");
  EXPECT_EQ(fs::file_size(hive), 0u);
  test::writeFile(hive, "garbage");
  expectRefused("not a hive");
  EXPECT_EQ(test::readFile(hive), "garbage");
}

TEST(Machine, AFolderWithOtherFilesIsNotTakenOver) {
  test::TempDir d;
  test::writeFile(d / "photos" / "cat.jpg", "meow");
  EXPECT_THROW((void)Machine::open(d / "photos"), MachineError);
  EXPECT_EQ(test::readFile(d / "photos" / "cat.jpg"), "meow");
}

TEST(Machine, ANewFolderBecomesAFreshMachineAndResettingReplacesItWhole) {
  test::TempDir d;
  const Machine m = Machine::open(d / "new" / "machine");
  EXPECT_TRUE(fs::exists(m.toHost("C:\\WINDOWS\\SYSTEM.INI")));
  {
    reg::Registry r(m.hiveFile());
    reg::HKEY h = 0;
    EXPECT_EQ(r.RegOpenKey(reg::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &h), 0);
    r.RegCloseKey(h);
  }
  // Nothing of the staging is left beside it.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(d / "new")) ++entries;
  EXPECT_EQ(entries, 1u);

  test::writeFile(d / "new" / "machine" / "WINDOWS" / "junk.txt", "x");
  EXPECT_THROW(Machine::createFromTemplate(d / "new" / "machine", false), MachineError);
  Machine::createFromTemplate(d / "new" / "machine", true);
  EXPECT_FALSE(fs::exists(d / "new" / "machine" / "WINDOWS" / "junk.txt"));
  EXPECT_TRUE(fs::exists(d / "new" / "machine" / ".tunewell" / "machine.ini"));
}

}  // namespace
}  // namespace tw
