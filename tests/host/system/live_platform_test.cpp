// The live providers read from a /proc laid out by the test, with a clock
// the test moves.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

#include "host/system/platform.h"
#include "tests/support/errors.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMeminfo =
    "MemTotal:        8388608 kB\n"
    "MemFree:          102400 kB\n"
    "MemAvailable:    2097152 kB\n"
    "Buffers:           65536 kB\n"
    "Cached:          1048576 kB\n"
    "SwapCached:            0 kB\n"
    "SwapTotal:       4194304 kB\n"
    "SwapFree:        3145728 kB\n";

class LivePlatform : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::TestMachine m;
  std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
  std::shared_ptr<sys::Platform> platform;

  std::filesystem::path proc() const { return dir / "proc"; }
  void put(const char* relative, const std::string& text) { test::writeFile(proc() / relative, text); }

  void stat(uint64_t busy, uint64_t idle) {
    // user nice system idle iowait irq softirq steal
    put("stat", "cpu  " + std::to_string(busy) + " 0 0 " + std::to_string(idle) +
                    " 0 0 0 0 0 0\ncpu0 1 2 3 4 5 6 7 8 0 0\nintr 12345\n");
  }

  void SetUp() override {
    put("meminfo", kMeminfo);
    put("self/statm", "25600 1000 500 10 0 2000 0\n");
    stat(100, 300);
    put("loadavg", "0.50 0.40 0.30 2/300 4242\n");
    put("sys/kernel/threads-max", "1000\n");
    put("sys/kernel/pid_max", "4194304\n");
    std::filesystem::create_directories(proc() / "self/fd");
    sys::LiveOptions options;
    options.procRoot = proc();
    options.clock = [this] { return now; };
    options.freshness = 100ms;
    options.processor = false;
    platform = sys::makeLivePlatform(m.host->machine(), options);
  }
};

TEST_F(LivePlatform, MemoryStatusComesFromMeminfoInBytesAndFailsCleanly) {
  const sys::MemoryStatus s = platform->memory()->status();
  EXPECT_EQ(s.totalPhys, 8589934592u);
  EXPECT_EQ(s.availPhys, 2147483648u);
  EXPECT_EQ(s.memoryLoad, 75u);
  EXPECT_EQ(s.totalPageFile, 4294967296u);
  EXPECT_EQ(s.availPageFile, 3221225472u);
  EXPECT_EQ(s.totalVirtual - s.availVirtual, 25600u * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)));

  EXPECT_EQ(platform->perf()->diskCacheBytes(), (65536u + 1048576u) * 1024u);
  EXPECT_EQ(platform->perf()->swapInUseBytes(), 1073741824u);

  // An old kernel without MemAvailable: the cache counts as available.
  now += 1s;
  put("meminfo", "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n");
  EXPECT_EQ(platform->memory()->status().availPhys, 400u * 1024u);

  // Unreadable figures are an error, but the statistics read zero.
  now += 1s;
  std::filesystem::remove(proc() / "meminfo");
  EXPECT_EQ(test::errorOf([&] { platform->memory()->status(); }), 57);
  EXPECT_EQ(platform->perf()->diskCacheBytes(), 0u);
}

TEST_F(LivePlatform, ProcessorLoadIsMeasuredSinceThePreviousReading) {
  sys::PerfCounters& perf = *platform->perf();
  EXPECT_EQ(perf.cpuUsage(), 25u);  // since start: 100 of 400

  // Readings within one refresh share the figure: the interval stays open.
  stat(400, 400);
  now += 10ms;
  EXPECT_EQ(perf.cpuUsage(), 25u);

  now += 240ms;
  EXPECT_EQ(perf.cpuUsage(), 75u);  // 300 of 400 since the first reading

  // No tick since: the last figure stands and the next one covers both.
  now += 250ms;
  EXPECT_EQ(perf.cpuUsage(), 75u);
  stat(400, 600);
  now += 250ms;
  EXPECT_EQ(perf.cpuUsage(), 0u);

  // Counters that go back (a processor taken offline) start over.
  stat(50, 50);
  now += 250ms;
  EXPECT_EQ(perf.cpuUsage(), 50u);
}

// A lower open-file limit for the test's duration, so that a few
// descriptors move the GDI heap's figure.
struct DescriptorLimit {
  rlimit saved{};
  explicit DescriptorLimit(rlim_t limit) {
    EXPECT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = limit;
    EXPECT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  }
  ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &saved); }
};

TEST_F(LivePlatform, ResourceHeapsAreTheTaskAndDescriptorTables) {
  const DescriptorLimit limit(200);
  for (int fd = 1000; fd < 1050; ++fd) test::writeFile(proc() / "self/fd" / std::to_string(fd), "");

  sys::ResourceMeter& meter = *platform->resources();
  const int32_t user = meter.freePercent(sys::Heap::User);
  const int32_t gdi = meter.freePercent(sys::Heap::Gdi);
  const int32_t system = meter.freePercent(sys::Heap::System);

  EXPECT_EQ(user, 70);  // 300 tasks of min(threads-max 1000, pid_max)
  EXPECT_EQ(gdi, 75);   // 50 descriptors of 200
  EXPECT_EQ(system, 70);
  EXPECT_EQ(meter.freePercent(7), 0);
}

// On the kernel's own /proc the descriptors are counted from the folder's
// size where the kernel gives one; the count must be the listing's.
TEST_F(LivePlatform, TheHostsDescriptorTableIsCountedAsItIsListed) {
  const DescriptorLimit limit(400);
  std::vector<int> extra;
  for (int i = 0; i < 100; ++i) extra.push_back(::dup(0));
  size_t listed = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++listed;
  --listed;  // the listing's own descriptor

  sys::LiveOptions options;
  options.processor = false;
  const int32_t gdi = sys::makeLivePlatform(m.host->machine(), options)->resources()->freePercent(sys::Heap::Gdi);
  for (const int fd : extra) ::close(fd);

  EXPECT_EQ(gdi, 100 - static_cast<int32_t>((listed * 100 + 200) / 400));
}

TEST_F(LivePlatform, TheFileSystemNameIsThatOfTheInnermostMount) {
  const std::string inner = std::filesystem::canonical(dir.path()).string() + "/my machine";
  std::filesystem::create_directories(inner);
  put("self/mountinfo",
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "40 22 8:2 / " + std::filesystem::canonical(dir.path()).string() + "/my\\040machine rw - vfat /dev/sdb1 rw\n"
      "41 22 0:5 / /elsewhere rw - ntfs3 /dev/sdc1 rw\n");
  sys::DiskMeter& disks = *platform->disks();
  EXPECT_EQ(disks.fileSystemName(inner), "FAT32");
  EXPECT_EQ(disks.fileSystemName(dir.path()), "EXT4");
  EXPECT_EQ(disks.fileSystemName("/elsewhere/x"), "NTFS");
}

}  // namespace
}  // namespace tw
