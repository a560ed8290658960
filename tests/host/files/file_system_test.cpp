// The file-system object on the machine: finding files as the machine
// does, forced deletes, special folders and drives.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "host/files/file_system.h"
#include "host/machine/machine.h"
#include "host/system/platform.h"
#include "tests/support/errors.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

using namespace std::chrono_literals;

struct FixedDisks : sys::DiskMeter {
  std::optional<sys::VolumeSpace> space(const std::filesystem::path&) override {
    return sys::VolumeSpace{3000000000ull, 1000000000ull};
  }
  std::string fileSystemName(const std::filesystem::path&) override { return hostFileSystem; }
  std::string hostFileSystem = "FAT32";
};

class Files : public ::testing::Test {
 protected:
  test::TestMachine m;
  FixedDisks disks;
  FileSystem fso{m.host->machine(), &disks};
};

TEST_F(Files, FilesAreFoundLikeTheMachineFindsThemAndFoldersAreNotFiles) {
  test::writeFile(m.windows() / "SYSTEM.INI", "12345");
  EXPECT_TRUE(fso.FileExists("C:\\Windows\\System.ini"));
  EXPECT_FALSE(fso.FileExists("C:\\WINDOWS\\SYSTEM"));
  EXPECT_FALSE(fso.FileExists("C:\\WINDOWS\\nothing.ini"));
  EXPECT_FALSE(fso.FileExists(""));
  EXPECT_EQ(fso.FileSize("c:\\windows\\system.ini"), 5.0);
  EXPECT_EQ(test::errorOf([&] { fso.FileSize("C:\\WINDOWS\\nothing.ini"); }), 53);

  // Look-ups agree with the machine's own translation.
  test::writeFile(m.windows() / "readme.txt", "lower");
  test::writeFile(m.windows() / "README.TXT", "UPPER!");
  EXPECT_EQ(fso.FileSize("C:\\WINDOWS\\README.TXT"), 6.0);  // the exact spelling wins
  EXPECT_EQ(fso.FileSize("C:\\WINDOWS\\readme.txt"), 5.0);
  EXPECT_EQ(fso.FileSize("C:\\windows\\ReadMe.txt"), 6.0);  // then the spelling in capitals
}

// Look-ups remember folders; every change must still be seen at once, also
// in folders that have been settled long enough for their names to be kept.
TEST_F(Files, ChangesToRememberedFoldersAreSeenAtOnce) {
  const char* swap = "C:\\WINDOWS\\System\\Win386.swp";
  EXPECT_FALSE(fso.FileExists(swap));
  test::writeFile(m.windows() / "SYSTEM" / "WIN386.SWP", "1");  // in the same second
  EXPECT_TRUE(fso.FileExists(swap));

  std::this_thread::sleep_for(2100ms);
  EXPECT_TRUE(fso.FileExists(swap));  // now read from settled listings
  EXPECT_TRUE(fso.FileExists(swap));
  std::filesystem::remove(m.windows() / "SYSTEM" / "WIN386.SWP");
  EXPECT_FALSE(fso.FileExists(swap));
  test::writeFile(m.windows() / "SYSTEM" / "win386.swp", "12");
  EXPECT_EQ(fso.FileSize(swap), 2.0);

  std::filesystem::rename(m.windows() / "SYSTEM", m.windows() / "OLDSYS");
  EXPECT_FALSE(fso.FileExists(swap));
  std::filesystem::rename(m.windows() / "OLDSYS", m.windows() / "system");
  EXPECT_TRUE(fso.FileExists(swap));
}

TEST_F(Files, AReadOnlyFileIsDeletedOnlyWhenForced) {
  const auto file = m.windows() / "Settings.tmp";
  test::writeFile(file, "x");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_EQ(test::errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\Settings.tmp"); }), 70);
  EXPECT_TRUE(std::filesystem::exists(file));
  fso.DeleteFile("C:\\WINDOWS\\Settings.tmp", true);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(test::errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\Settings.tmp", true); }), 53);
  EXPECT_EQ(test::errorOf([&] { fso.DeleteFile("C:\\WINDOWS\\SYSTEM", true); }), 53);
  EXPECT_TRUE(std::filesystem::is_directory(m.windows() / "SYSTEM"));
}

TEST_F(Files, SpecialFoldersAndDrives) {
  EXPECT_EQ(fso.GetSpecialFolder(1), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(test::errorOf([&] { fso.GetSpecialFolder(3); }), 5);

  const Drive c = fso.GetDrive("c:");
  EXPECT_EQ(c.FreeSpace(), 1e9);
  EXPECT_EQ(test::errorOf([&] { fso.GetDrive("D:"); }), 68);

  const FileSystem blind(m.host->machine(), nullptr);
  EXPECT_EQ(test::errorOf([&] { blind.GetDrive("C:").TotalSize(); }), 68);
  EXPECT_EQ(test::errorOf([&] { blind.GetDrive("C:").FileSystem(); }), 68);
}

// Windows 9x starts only from a FAT drive: a FAT volume says what it is,
// any other host file system (or one that cannot be told) gives what the
// machine's description says.
TEST_F(Files, TheDriveFileSystemIsTheFatVolumesOwnElseTheDescribedOne) {
  test::writeFile(m.root() / ".tunewell" / "machine.ini", "[Machine]\r\nFileSystem=fat\r\n");
  const Machine fat16 = Machine::open(m.root());
  const FileSystem files(fat16, &disks);
  const Drive c = files.GetDrive("C:");
  EXPECT_EQ(c.FileSystem(), "FAT32") << "the volume's own";
  for (const char* host : {"EXT4", "NTFS", "BTRFS", ""}) {
    disks.hostFileSystem = host;
    EXPECT_EQ(c.FileSystem(), "FAT") << "host " << host << ", the description's";
  }
}

}  // namespace
}  // namespace tw
