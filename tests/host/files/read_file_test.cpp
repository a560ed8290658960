// The host layer's whole-file reader, on files that report their size and on
// the kernel's, which report none.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "host/files/read_file.h"
#include "tests/support/temp_dir.h"

namespace tw {
namespace {

// The first line, as a stream reads it (one large read from the start).
std::string firstLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// The kernel's settings answer only a read from their beginning: read in
// small pieces they lose everything after the first.
TEST(ReadFile, TheKernelsSettingsAndFiguresAreReadWhole) {
  for (const char* path : {"/proc/sys/kernel/pid_max", "/proc/sys/kernel/threads-max", "/proc/meminfo"}) {
    const std::string expected = firstLine(path);
    if (expected.empty()) GTEST_SKIP() << path << " cannot be read here";
    const auto got = readFileBytes(path);
    ASSERT_TRUE(got.has_value()) << path;
    EXPECT_EQ(got->substr(0, got->find('\n')), expected) << path;
  }
}

// A file that reports no size is read a piece at a time; one longer than
// the first piece must still come whole.
TEST(ReadFile, AKernelFileLongerThanAPageIsReadWhole) {
  const char* path = "/proc/kallsyms";
  std::ifstream in(path, std::ios::binary);
  std::ostringstream whole;
  if (in) whole << in.rdbuf();
  const std::string expected = whole.str();
  if (expected.size() < 65536) GTEST_SKIP() << path << " is missing or short here";
  EXPECT_EQ(readFileBytes(path), expected);

  // The gauges' reader keeps its buffer: a short file read after a long one
  // must not keep the long one's tail.
  std::string buffer;
  ASSERT_TRUE(readKernelFile(path, buffer));
  EXPECT_EQ(buffer, expected);
  ASSERT_TRUE(readKernelFile("/proc/sys/kernel/pid_max", buffer));
  EXPECT_EQ(buffer, firstLine("/proc/sys/kernel/pid_max") + "\n");
}

// A device under the name of a figure must not fill the memory, and a
// missing file is a failure, not an empty figure.
TEST(ReadFile, TheGaugesReaderStopsAtADeviceAndAMissingFile) {
  std::string buffer;
  EXPECT_FALSE(readKernelFile("/dev/zero", buffer));
  EXPECT_LE(buffer.capacity(), 2 * kMaxKernelFile);
  EXPECT_FALSE(readKernelFile("/proc/no-such-figure", buffer));
  EXPECT_TRUE(buffer.empty());
}

TEST(ReadFile, AFileIsReadWholeAMissingOneIsNoneAndAFolderIsRefused) {
  test::TempDir dir;
  const std::string bytes = std::string("A\r\n\0B", 5) + std::string(100000, 'x');
  test::writeFile(dir / "f.ini", bytes);
  EXPECT_EQ(readFileBytes(dir / "f.ini"), bytes);
  EXPECT_EQ(readFileBytes(dir / "missing.ini"), std::nullopt);
  EXPECT_EQ(readFileBytes(dir / "missing" / "f.ini"), std::nullopt);
  EXPECT_THROW(readFileBytes(dir.path()), std::system_error);
}

}  // namespace
}  // namespace tw
