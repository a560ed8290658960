#include <gtest/gtest.h>

#include <cstdlib>

#include "host/machine/machine.h"
#include "host/registry/registry.h"
#include "tests/support/machine_fixture.h"

namespace fs = std::filesystem;

namespace tw {
namespace {

TEST(Machine, WindowsPathsFindExistingNamesWithoutRegardToCase) {
  test::TempDir d;
  test::makeBareMachine(d / "m");
  test::writeFile(d / "m" / "WINDOWS" / "SYSTEM.INI", "");
  test::writeFile(d / "m" / "Program Files" / "Tunewell" / "Tools.txt", "");
  const Machine m = Machine::open(d / "m");
  const fs::path root = fs::absolute(d / "m");
  EXPECT_EQ(m.toHost("C:\\Windows\\System.ini"), root / "WINDOWS" / "SYSTEM.INI");
  EXPECT_EQ(m.toHost("system.ini"), root / "WINDOWS" / "SYSTEM.INI");
  EXPECT_EQ(m.toHost("c:/PROGRAM FILES/tunewell/TOOLS.TXT"), root / "Program Files" / "Tunewell" / "Tools.txt");
  // Missing names are kept as written, so a new file gets the caller's spelling.
  EXPECT_EQ(m.toHost("C:\\WINDOWS\\New.ini"), root / "WINDOWS" / "New.ini");
  EXPECT_EQ(m.toHost("\\WINDOWS"), root / "WINDOWS");
}

TEST(Machine, PathsNeverLeaveTheDrive) {
  test::TempDir d;
  test::makeBareMachine(d / "m");
  const Machine m = Machine::open(d / "m");
  const fs::path root = fs::absolute(d / "m");
  EXPECT_EQ(m.toHost("C:\\..\\..\\etc\\passwd"), root / "etc" / "passwd");
  EXPECT_EQ(m.toHost("..\\..\\x"), root / "x");
  const fs::path other = m.toHost("D:\\SETUP.EXE");
  EXPECT_FALSE(fs::exists(other));
  EXPECT_EQ(other.string().rfind(root.string(), 0), 0u);
}

TEST(Machine, HostPathsTranslateBack) {
  test::TempDir d;
  test::makeBareMachine(d / "m");
  const Machine m = Machine::open(d / "m");
  EXPECT_EQ(m.toWindows(d / "m" / "WINDOWS" / "SYSTEM.INI"), "C:\\WINDOWS\\SYSTEM.INI");
  EXPECT_EQ(m.toWindows(d / "m"), "C:\\");
}

TEST(Machine, TheDescriptionGivesFoldersAndVersion) {
  test::TempDir d;
  test::makeBareMachine(d / "m");
  test::writeFile(d / "m" / ".tunewell" / "machine.ini",
                  "[Machine]\r\nWindowsFolder=D:\\WIN95\r\nVersion=4.0.950\r\nPlatform=1\r\nComputerName=OLDBOX\r\n");
  const Machine m = Machine::open(d / "m");
  EXPECT_EQ(m.windowsFolder(), "D:\\WIN95");
  EXPECT_EQ(m.version().major, 4u);
  EXPECT_EQ(m.version().minor, 0u);
  EXPECT_EQ(m.version().build, 950u);
  EXPECT_EQ(m.computerName(), "OLDBOX");
}

TEST(Machine, ABadDescriptionIsAClearErrorAndStaysAsItWas) {
  test::TempDir d;
  test::makeBareMachine(d / "m");
  const std::string bad = "[Machine]\r\nVersion=four\r\n";
  test::writeFile(d / "m" / ".tunewell" / "machine.ini", bad);
  try {
    (void)Machine::open(d / "m");
    FAIL();
  } catch (const MachineError& e) {
    EXPECT_NE(std::string(e.what()).find("Version"), std::string::npos) << e.what();
  }
  EXPECT_EQ(test::readFile(d / "m" / ".tunewell" / "machine.ini"), bad);
}

TEST(Machine, AFolderWithOtherFilesIsNotTakenOver) {
  test::TempDir d;
  test::writeFile(d / "photos" / "cat.jpg", "meow");
  EXPECT_THROW((void)Machine::open(d / "photos"), MachineError);
  EXPECT_EQ(test::readFile(d / "photos" / "cat.jpg"), "meow");
}

TEST(Machine, ChoosingTheMachineTakesTheOptionOffTheCommandLine) {
  std::vector<std::string> args = {"/Ns", "--machine", "/tmp/x", "tail"};
  EXPECT_EQ(Machine::chooseRoot(args), fs::path("/tmp/x"));
  EXPECT_EQ(args, (std::vector<std::string>{"/Ns", "tail"}));
  args = {"--machine=/tmp/y"};
  EXPECT_EQ(Machine::chooseRoot(args), fs::path("/tmp/y"));
  EXPECT_TRUE(args.empty());
}

TEST(Machine, ANewFolderBecomesAFreshMachineFromTheTemplate) {
  test::TempDir d;
  const Machine m = Machine::open(d / "new" / "machine");
  EXPECT_TRUE(fs::exists(m.toHost("C:\\WINDOWS\\SYSTEM.INI")));
  EXPECT_TRUE(fs::exists(m.hiveFile()));
  reg::Registry r(m.hiveFile());
  reg::HKEY h = 0;
  EXPECT_EQ(r.RegOpenKey(reg::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &h), 0);
  r.RegCloseKey(h);
  // Nothing of the staging is left beside it.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(d / "new")) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(Machine, ResettingReplacesTheMachineWhole) {
  test::TempDir d;
  Machine::createFromTemplate(d / "m", false);
  test::writeFile(d / "m" / "WINDOWS" / "junk.txt", "x");
  EXPECT_THROW(Machine::createFromTemplate(d / "m", false), MachineError);
  Machine::createFromTemplate(d / "m", true);
  EXPECT_FALSE(fs::exists(d / "m" / "WINDOWS" / "junk.txt"));
  EXPECT_TRUE(fs::exists(d / "m" / ".tunewell" / "machine.ini"));
}

}  // namespace
}  // namespace tw
