// The Disk Defragmenter group: switching it on and off, and the pending
// limits following the lists.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

TEST_F(MainWindow, TheDefragmenterGroupKeepsChosenEntriesAndClearsToZero) {
  tab(4);
  f.Check12->userClick();
  EXPECT_EQ(f.PendingSettings.MaxApps, 100);
  ASSERT_TRUE(f.Combo3(0).userSelect(8));
  EXPECT_EQ(f.PendingSettings.MaxApps, 300);
  f.Check12->userClick();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.Combo3(i).enabled());
  EXPECT_EQ(f.PendingSettings.MaxApps, 0);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 0);

  f.Combo3(1).setListIndex(0);  // a selection made while the group is off
  f.Check12->userClick();
  EXPECT_EQ(f.Combo3(1).text(), "2 days") << "an existing selection is kept";
  EXPECT_EQ(f.PendingSettings.MaxNoUseDays, 2);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 1024);
}

TEST_F(MainWindow, TheDefragmenterListsHoldTheirEntriesAndSwitchingOnSelectsTheDefaults) {
  using Items = std::vector<std::string>;
  EXPECT_EQ(f.Combo3(0).items(), (Items{"10 programs", "20 programs", "50 programs", "75 programs", "100 programs",
                                        "150 programs", "200 programs", "250 programs", "300 programs"}));
  EXPECT_EQ(f.Combo3(1).items(), (Items{"2 days", "7 days", "10 days", "14 days", "20 days", "30 days", "60 days",
                                        "90 days", "120 days", "180 days", "365 days"}));
  EXPECT_EQ(f.Combo3(2).items(), (Items{"64 bytes", "128 bytes", "256 bytes", "512 bytes", "1024 bytes", "2048 bytes",
                                        "4096 bytes", "8190 bytes"}));
  tab(4);
  f.Check12->userClick();
  EXPECT_EQ(f.PendingSettings.MaxApps, 100);
  EXPECT_EQ(f.PendingSettings.MaxNoUseDays, 90);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 1024);
  ASSERT_TRUE(f.Combo3(2).userSelect(7));
  EXPECT_EQ(f.PendingSettings.MinLogSize, 8190);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Label27(i).enabled() && f.Combo3(i).enabled()) << i;
}

}  // namespace
}  // namespace tw
