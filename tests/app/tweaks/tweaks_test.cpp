// What the Tweaks tab's sliders and check boxes do to the pending values
// when the user works them.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

TEST_F(MainWindow, SlidersSnapAndTheirPendingValuesFollow) {
  tab(3);
  // The DMA buffer snaps to steps of 4, halves going to the even step.
  for (const auto& [to, snapped, readout] :
       {std::tuple{2, 0, "Disabled"}, std::tuple{6, 8, "8 Kb"}, std::tuple{10, 8, "8 Kb"}, std::tuple{14, 16, "16 Kb"}}) {
    test::drag(*f.Slider7, to);
    EXPECT_EQ(f.Slider7->value(), snapped) << to;
    EXPECT_EQ(f.PendingSettings.DMABufferSize, snapped) << to;
    EXPECT_EQ(f.Label12->caption(), readout) << to;
  }
  test::drag(*f.Slider6, 10);
  EXPECT_EQ(f.PendingSettings.ReadAheadThreshold, 2097152);
  EXPECT_EQ(f.Slider6->text(), "2048 Kb");
  test::drag(*f.Slider6, 0);
  EXPECT_EQ(f.PendingSettings.ReadAheadThreshold, 1) << "position 0 disables read-ahead, it is not 0 bytes";
  EXPECT_EQ(f.Label10->caption(), "Disabled");

  test::drag(*f.Slider10, 8);
  test::drag(*f.Slider10, 1);
  EXPECT_EQ(f.Label24->caption(), "2 pages");
  EXPECT_EQ(f.PendingSettings.MinSPs, 2);
}

TEST_F(MainWindow, CheckBoxesStandForTheirValues) {
  tab(3);
  for (auto* box : {f.Check1, f.Check11, &f.Check10(3)}) box->userClick();
  EXPECT_EQ(f.PendingSettings.CPUPriority, 1);
  EXPECT_EQ(f.PendingSettings.PageBuffers, 32);
  EXPECT_EQ(f.PendingSettings.COM4, "115200,n,8,1,p");
  // Cleared again, each takes its "off" value rather than 0.
  for (auto* box : {f.Check1, f.Check2, f.Check2, f.Check11, &f.Check10(3)}) box->userClick();
  EXPECT_EQ(f.PendingSettings.CPUPriority, 3);
  EXPECT_EQ(f.PendingSettings.ConservativeSwapFileUsage, 3);
  EXPECT_EQ(f.PendingSettings.PageBuffers, 4);
  EXPECT_EQ(f.PendingSettings.COM4, "9600,n,8,1,x");
}

}  // namespace
}  // namespace tw
