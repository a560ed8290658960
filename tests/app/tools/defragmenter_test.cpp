// The Disk Defragmenter group: switching it on and off, and the pending
// limits following the lists.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

TEST_F(MainWindow, TheDefragmenterGroupSelectsDefaultsKeepsChosenEntriesAndClearsToZero) {
  tab(4);
  f.Check12->userClick();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Label27(i).enabled() && f.Combo3(i).enabled()) << i;
  EXPECT_EQ(f.PendingSettings.MaxApps, 100);
  EXPECT_EQ(f.PendingSettings.MaxNoUseDays, 90);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 1024);
  ASSERT_TRUE(f.Combo3(0).userSelect(8));
  EXPECT_EQ(f.PendingSettings.MaxApps, 300);
  ASSERT_TRUE(f.Combo3(2).userSelect(7));
  EXPECT_EQ(f.PendingSettings.MinLogSize, 8190);
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

}  // namespace
}  // namespace tw
