// The Status tab through the scripted driver, on a fresh machine measuring
// this host.

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <fstream>
#include <regex>
#include <string>

#include "host/runtime/vbconv.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

// The host's memory in Mb, from the kernel's own count.
int64_t hostMemoryMb() {
  std::ifstream meminfo("/proc/meminfo");
  std::string name;
  double kb = 0;
  while (meminfo >> name >> kb)
    if (name == "MemTotal:") return static_cast<int64_t>(roundHalfEven(roundHalfEven(kb) / 1024));
  return -1;
}

int64_t volumeMb(const std::filesystem::path& p) {
  struct statvfs v {};
  if (::statvfs(p.c_str(), &v) != 0) return -1;
  const double bytes = static_cast<double>(v.f_blocks) * static_cast<double>(v.f_frsize);
  return static_cast<int64_t>(roundHalfEven(bytes / 1024 / 1024));
}

struct LiveStatus : test::DriverRun {
  LiveStatus() { platform = nullptr; }
};

TEST_F(LiveStatus, TheTimerTicksOnTheStatusTabWithTheHostsFiguresAndNowhereElse) {
  ASSERT_EQ(run("print Timer1.Interval\n"
                "tick Timer1\n"
                "print Label3 Label2 Label7 LRe(2) Label11 Label14 Label4(0)\n"
                "print Label31(5) Label31(8) Label31(9)\n"
                "tab 2\n"
                "tick Timer1\n"),
            app::drive::kOk)
      << err;
  const std::string memory = std::to_string(hostMemoryMb());
  const std::string drive = std::to_string(volumeMb(dir / "machine"));
  const std::string expected = "Timer1.Interval = 500\n"
                               "Label3 = \"Current processor load: [0-9]+%\"\n"
                               "Label2 = \"Hard drive space used: [0-9]+ Mb of " + drive + " Mb\"\n"
                               "Label7 = \"Physical memory used: [0-9]+ Mb of " + memory + " Mb\"\n"
                               "LRe\\(2\\) = \"Current cache size: [0-9]+ Mb\"\n"
                               "Label11 = \"Current swap file size: [0-9]+ Mb\"\n"
                               "Label14 = \"Virtual memory used: [0-9]+ Mb of 4096 Mb\"\n"
                               "Label4\\(0\\) = \"System resource load: [0-9]+%\"\n"
                               "Label31\\(5\\) = \"(FAT32|FAT)\"\n"
                               "Label31\\(8\\) = \" " + memory + " Mb\"\n"
                               "Label31\\(9\\) = \" " + drive + " Mb\"\n"
                               "Ignored: tick Timer1\n";
  EXPECT_TRUE(std::regex_match(out, std::regex(expected))) << out;
}

}  // namespace
}  // namespace tw
