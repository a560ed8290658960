// The ten rows of system information, gathered at start-up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

struct SystemInformation : test::RunningTuner {
  test::FixedFigures& figures = *t.figures;

  // Label31(0..9), by index.
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < 10; ++i) out.push_back(f->Label31(i).caption());
    return out;
  }
};

TEST_F(SystemInformation, TheRowsOfAFreshWindows98MachineStayWhileTheGaugesRefresh) {
  start(1);
  const std::vector<std::string> expected = {"Windows 98", "500 Mhz",    "Pentium III", "1.00.08",
                                             "TUNEWELL98", "FAT32",      "4.10.2222",   "Pat Morgan",
                                             " 64 Mb",     " 2047 Mb"};
  EXPECT_EQ(rows(), expected);
  EXPECT_TRUE(t.m.boxTexts().empty());

  figures.memory.totalPhys = 128ull << 20;
  figures.volume = sys::VolumeSpace{4096ull << 20, 1ull << 30};
  figures.clockMHz = 1000;
  t.env.advance(2000);
  EXPECT_EQ(rows(), expected) << "measured once, at start-up";
}

TEST_F(SystemInformation, SizesRoundHalvesToEvenBehindALeadingBlank) {
  figures.memory.totalPhys = 130560ull * 1024;  // 127.5 Mb
  figures.volume = sys::VolumeSpace{2146467840, 0};  // 2047.03 Mb
  figures.clockMHz = 0;
  start(1);
  EXPECT_EQ(f->Label31(8).caption(), " 128 Mb");
  EXPECT_EQ(f->Label31(9).caption(), " 2047 Mb");
  EXPECT_EQ(f->Label31(1).caption(), "1 Mhz");
}

TEST_F(SystemInformation, AbsentValuesShowTheirStandInsAndAFailingStepAnEmptyRow) {
  ASSERT_TRUE(t.plinth.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "VersionNumber"));
  ASSERT_TRUE(t.plinth.DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner"));
  ASSERT_TRUE(t.plinth.DeleteValue(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", "BIOSVersion"));
  figures.clockFails = true;
  figures.volume.reset();
  figures.hostFileSystem = "FAT";  // a mounted Windows disk says what it is
  start(1);
  EXPECT_EQ(rows(), (std::vector<std::string>{"Windows 98", "", "Pentium III", "", "TUNEWELL98", "FAT",
                                              "Windows", "0", " 64 Mb", ""}));
  // The clock's own handler speaks; the drive's failure is silent here (the
  // hard-drive gauge reports it).
  ASSERT_FALSE(t.m.boxTexts().empty());
  EXPECT_EQ(t.m.boxTexts()[0], "5 Invalid procedure call or argument in Plinth.GetCPUSpeed");
}

}  // namespace
}  // namespace tw
