// The meters' arithmetic and failure behaviour, on fixed figures.

#include <gtest/gtest.h>

#include <tuple>

#include "host/runtime/errors.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "tests/support/fixed_platform.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

constexpr uint64_t MB = 1024 * 1024;

struct BrokenMemory : sys::MemoryMeter {
  sys::MemoryStatus status() override { raise(ErrNo::DeviceIoError); }
};

class Meters : public ::testing::Test {
 protected:
  test::TestMachine m;
  std::shared_ptr<test::FixedFigures> f = std::make_shared<test::FixedFigures>();
  std::shared_ptr<sys::Platform> platform = test::fixedPlatform(f);
  std::unique_ptr<Plinth> p;

  Meters() {
    m.host->setPlatform(platform);
    p = std::make_unique<Plinth>(*m.host);
  }

  void TearDown() override { EXPECT_EQ(m.host->registry().openHandleCount(), 0u) << "a key was left open"; }

  void physical(uint64_t total, uint64_t available) {
    f->memory.totalPhys = total;
    f->memory.availPhys = available;
  }

  void swapFile(const char* relative, uint64_t size) {
    const auto file = m.windows() / relative;
    test::writeFile(file, "");
    std::filesystem::resize_file(file, size);
  }

  // A meter's figure and the percentage it leaves in its argument, which
  // starts as `percent`.
  template <class R>
  std::pair<R, int> read(R (Plinth::*meter)(int16_t&), int16_t percent = -1) {
    R value = ((*p).*meter)(percent);
    return {value, percent};
  }
};

using Reading = std::pair<int32_t, int>;
using Memory = std::pair<Variant, int>;

TEST_F(Meters, PhysicalMemoryAndCacheOnA64MbMachineWithHalvesRoundingToEven) {
  physical(64 * MB, 16 * MB);
  f->diskCache = 16 * MB;
  EXPECT_EQ(read(&Plinth::PhysicalMemory), Reading(48, 75));
  EXPECT_EQ(read(&Plinth::CacheSize), Reading(16, 25));
  EXPECT_TRUE(m.boxTexts().empty());

  // Halves round to the even neighbour: 101 of 200 is 50.5 %, 103 is 51.5 %.
  physical(200 * MB, 99 * MB);
  EXPECT_EQ(read(&Plinth::PhysicalMemory), Reading(101, 50));
  physical(200 * MB, 97 * MB);
  EXPECT_EQ(read(&Plinth::PhysicalMemory), Reading(103, 52));

  // Megabytes round the same way: 2.5 MB is 2, 3.5 MB is 4.
  f->diskCache = 5 * MB / 2;
  EXPECT_EQ(read(&Plinth::CacheSize).first, 2);
  f->diskCache = 7 * MB / 2;
  EXPECT_EQ(read(&Plinth::CacheSize).first, 4);
}

TEST_F(Meters, MemoryOfTwoGigabytesAndMoreIsReportedTruthfully) {
  physical(6 * 1024 * MB, 5 * 1024 * MB / 2);
  f->memory.totalPageFile = 3 * 1024 * MB;
  f->memory.availPageFile = 2 * 1024 * MB + 1;
  EXPECT_EQ(p->TotalPhysicalMemory(), 6442450944.0);
  EXPECT_EQ(p->AvailablePhysicalMemory(), 2684354560.0);
  EXPECT_EQ(p->PageFileSize(), 3221225472.0);
  EXPECT_EQ(p->AvailablePageFile(), 2147483649.0);
  EXPECT_EQ(read(&Plinth::PhysicalMemory), Reading(3584, 58));  // 58.33 %

  // The disk-cache statistic is four bytes: 5 GB shows as the largest figure
  // it holds instead of wrapping.
  f->diskCache = uint64_t{5} * 1024 * MB;
  EXPECT_EQ(read(&Plinth::CacheSize), Reading(2048, 33));
}

TEST_F(Meters, VirtualMemoryNeverShowsBelowOnePercent) {
  physical(64 * MB, 63 * MB);  // 1 MB in use, no swap file, no page file
  f->memory.totalPageFile = f->memory.availPageFile = 0;
  EXPECT_EQ(read(&Plinth::SystemMemory), Memory(Variant(int32_t{1}), 1));

  // Without a swap file the page file's used part counts: 512 - 384 MB.
  f->memory.totalPageFile = 512 * MB;
  f->memory.availPageFile = 384 * MB;
  physical(4096 * MB, 2048 * MB);
  EXPECT_EQ(read(&Plinth::SystemMemory), Memory(Variant(int32_t{2048 + 128}), 53));  // 2176 / 4096 = 53.1 %
}

TEST_F(Meters, TheSwapFileIsLookedForInTheWindowsFolderFirst) {
  physical(64 * MB, 32 * MB);
  f->swapInUse = 300 * MB;
  f->volume = sys::VolumeSpace{1000 * MB, 500 * MB};  // the swap file's share of the drive
  f->memory.totalPageFile = 900 * MB;
  f->memory.availPageFile = 800 * MB;

  // None: PageSize takes the swap statistic, SystemMemory the page file.
  EXPECT_EQ(read(&Plinth::PageSize), Reading(300, 30));
  EXPECT_EQ(read(&Plinth::SystemMemory).first, Variant(int32_t{32 + 100}));

  swapFile("SYSTEM/WIN386.SWP", 48 * MB);
  EXPECT_EQ(read(&Plinth::PageSize), Reading(48, 5));  // 4.8 %
  EXPECT_EQ(read(&Plinth::SystemMemory).first, Variant(int32_t{32 + 48}));

  swapFile("Win386.swp", 0);
  EXPECT_EQ(read(&Plinth::PageSize), Reading(0, 1));
  EXPECT_EQ(read(&Plinth::SystemMemory).first, Variant(int32_t{32}));
  EXPECT_TRUE(m.boxTexts().empty());
}

// On the live host both meters of one refresh share one look for the swap
// file; the next refresh must see a swap file that has appeared since.
TEST_F(Meters, ASwapFileMadeSinceTheLastRefreshIsSeenOnTheNext) {
  using namespace std::chrono_literals;
  std::chrono::steady_clock::time_point now{1h};
  platform->setFreshness({[&] { return now; }, 100ms});
  physical(64 * MB, 32 * MB);
  f->swapInUse = 300 * MB;
  f->volume = sys::VolumeSpace{1000 * MB, 500 * MB};
  EXPECT_EQ(read(&Plinth::PageSize), Reading(300, 30));

  swapFile("Win386.swp", 48 * MB);
  now += 250ms;
  EXPECT_EQ(read(&Plinth::PageSize), Reading(48, 5));
  EXPECT_EQ(read(&Plinth::SystemMemory).first, Variant(int32_t{32 + 48}));
}

TEST_F(Meters, HardDriveAndAZeroSizeDrive) {
  f->volume = sys::VolumeSpace{2146467840, 2146467840 / 4};  // 2047 MB, a quarter free
  EXPECT_EQ(read(&Plinth::HardDrive), Reading(1535, 75));

  // The runtime reports 0 / 0 as an overflow and x / 0 as a division by zero.
  f->volume = sys::VolumeSpace{0, 0};
  EXPECT_EQ(read(&Plinth::HardDrive, 42), Reading(0, 42));
  EXPECT_EQ(read(&Plinth::PageSize, 42), Reading(0, 42));
  swapFile("Win386.swp", 8 * MB);
  EXPECT_EQ(read(&Plinth::PageSize, 42), Reading(0, 42));
  EXPECT_EQ(m.boxTexts(), (std::vector<std::string>{"6 Overflow in Plinth.HardDrive", "6 Overflow in Plinth.PageSize",
                                                  "11 Division by zero in Plinth.PageSize"}));
}

TEST_F(Meters, MissingStatisticsReadAsZeroWithoutAMessage) {
  platform->setPerf(nullptr);
  physical(64 * MB, 32 * MB);
  EXPECT_EQ(p->GetCPUUsage(), 0);
  EXPECT_EQ(read(&Plinth::CacheSize, 9), Reading(0, 0));
  EXPECT_EQ(read(&Plinth::PageSize, 9), Reading(0, 1));
  EXPECT_TRUE(m.boxTexts().empty());
}

TEST_F(Meters, AFailingMemoryReadingLeavesThePercentageAlone) {
  platform->setMemory(std::make_shared<BrokenMemory>());
  EXPECT_EQ(p->TotalPhysicalMemory(), 0.0);
  EXPECT_EQ(read(&Plinth::PhysicalMemory, 33), Reading(0, 33));
  EXPECT_EQ(m.boxTexts(), (std::vector<std::string>{"57 Device I/O error in Plinth.TotalPhysicalMemory",
                                                  "57 Device I/O error in Plinth.TotalPhysicalMemory",
                                                  "57 Device I/O error in Plinth.AvailablePhysicalMemory",
                                                  "6 Overflow in Plinth.PhysicalMemory"}));
}

TEST_F(Meters, ResourcesReportTheLoadOfEachHeapOnWindows9xOnly) {
  f->free = {80, 70, 90};  // system, GDI, user
  int16_t sys = 0, use = 0, gdi = 0;
  p->Resources(sys, use, gdi);
  EXPECT_EQ(std::make_tuple(sys, use, gdi), std::make_tuple(20, 10, 30));

  // Without the resource meter every heap shows full, with a message each.
  platform->setResources(nullptr);
  p->Resources(sys, use, gdi);
  EXPECT_EQ(std::make_tuple(sys, use, gdi), std::make_tuple(100, 100, 100));
  EXPECT_EQ(m.boxTexts(), std::vector<std::string>(3, "53 File not found: rsrc32.dll in Plinth.ResStatus"));

  platform->setVersion(WindowsVersion{5, 0, 2222, 2, ""});  // NT
  sys = 5;
  p->Resources(sys, use, gdi);
  EXPECT_EQ(sys, 5);
  EXPECT_EQ(m.boxTexts().size(), 3u);
}

}  // namespace
}  // namespace tw
