// The performance statistics as the registry serves them under
// HKEY_DYN_DATA.

#include <gtest/gtest.h>

#include "host/system/platform.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

struct FixedPerf : sys::PerfCounters {
  uint32_t cpu = 12;
  uint64_t cache = 0x01020304;
  uint64_t swap = 0;
  uint32_t cpuUsage() override { return cpu; }
  uint64_t diskCacheBytes() override { return cache; }
  uint64_t swapInUseBytes() override { return swap; }
};

class DynData : public ::testing::Test {
 protected:
  test::TestMachine m;
  std::shared_ptr<sys::Platform> platform = std::make_shared<sys::Platform>();
  std::shared_ptr<FixedPerf> perf = std::make_shared<FixedPerf>();
  reg::Registry& r = m.host->registry();

  void SetUp() override {
    platform->setPerf(perf);
    m.host->setPlatform(platform);
  }
  void TearDown() override { EXPECT_EQ(r.openHandleCount(), 0u); }

  // The value's bytes, or the registry's error code as text.
  std::string read(const char* key, const char* value) {
    reg::HKEY h = 0;
    if (const auto rc = r.RegOpenKey(reg::HKEY_DYN_DATA, key, &h); rc != 0) return "open " + std::to_string(rc);
    uint8_t data[8] = {};
    reg::DWORD type = 0, size = sizeof data;
    const auto rc = r.RegQueryValueEx(h, value, &type, data, &size);
    r.RegCloseKey(h);
    if (rc != 0) return "query " + std::to_string(rc);
    EXPECT_EQ(type, reg::REG_BINARY);
    return std::string(reinterpret_cast<const char*>(data), size);
  }
};

TEST_F(DynData, StatisticsAreFourBytesLittleEndian) {
  EXPECT_EQ(read("PerfStats\\StatData", "VMM\\cpgDiskcache"), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(read("perfstats\\STATDATA", "KERNEL\\CPUUsage"), std::string("\x0C\0\0\0", 4));
  EXPECT_EQ(read("PerfStats\\StartStat", "VMM\\cpgSwapfile"), std::string("\0\0\0\0", 4));

  // Counts a signed 32-bit reader cannot hold stop at its largest number.
  perf->cache = uint64_t{3} << 30;
  perf->cpu = 250;
  EXPECT_EQ(read("PerfStats\\StatData", "VMM\\cpgDiskcache"), std::string("\xFF\xFF\xFF\x7F", 4));
  EXPECT_EQ(read("PerfStats\\StatData", "KERNEL\\CPUUsage"), std::string("\x64\0\0\0", 4));
}

TEST_F(DynData, TheKeysEnumerateAndUnknownOnesAreMissing) {
  reg::HKEY h = 0;
  ASSERT_EQ(r.RegOpenKey(reg::HKEY_DYN_DATA, "PerfStats", &h), 0);
  std::vector<std::string> names;
  for (reg::DWORD i = 0;; ++i) {
    char name[64];
    reg::DWORD len = sizeof name;
    if (r.RegEnumKeyEx(h, i, name, &len, nullptr, nullptr) != 0) break;
    names.emplace_back(name, len);
  }
  r.RegCloseKey(h);
  EXPECT_EQ(names, (std::vector<std::string>{"StartStat", "StatData", "StopStat"}));
  EXPECT_EQ(read("PerfStats\\Other", "KERNEL\\CPUUsage"), "open 2");
  EXPECT_EQ(read("PerfStats\\StatData", "KERNEL\\Other"), "query 2");
}

TEST_F(DynData, WithoutStatisticsThereIsNoPerfStatsKey) {
  platform->setPerf(nullptr);
  EXPECT_EQ(read("PerfStats\\StatData", "KERNEL\\CPUUsage"), "open 2");
  platform->setPerf(perf);
  EXPECT_EQ(read("PerfStats\\StatData", "KERNEL\\CPUUsage"), std::string("\x0C\0\0\0", 4));
}

}  // namespace
}  // namespace tw
