// What the Tweaks, Tools and Options controls do to the pending values and
// preferences when the user works them, and the CD-ROM figures both ways.

#include <gtest/gtest.h>

#include "app/tweaks/value_sets.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

struct MainWindowHandlers : ::testing::Test {
  test::TunerMachine t;
  app::Form1* f = nullptr;

  void SetUp() override {
    f = &t.start();
    f->show();
  }
  void tab(int index) { ASSERT_TRUE(f->TabStrip1->userSelect(index)); }
};

TEST_F(MainWindowHandlers, SlidersSnapAndTheirPendingValuesFollow) {
  tab(3);
  // The DMA buffer snaps to steps of 4, halves going to the even step.
  for (const auto& [to, snapped, readout] :
       {std::tuple{2, 0, "Disabled"}, std::tuple{6, 8, "8 Kb"}, std::tuple{10, 8, "8 Kb"}, std::tuple{14, 16, "16 Kb"}}) {
    test::drag(*f->Slider7, to);
    EXPECT_EQ(f->Slider7->value(), snapped) << to;
    EXPECT_EQ(f->PendingSettings.DMABufferSize, snapped) << to;
    EXPECT_EQ(f->Label12->caption(), readout) << to;
  }
  test::drag(*f->Slider6, 10);
  EXPECT_EQ(f->PendingSettings.ReadAheadThreshold, 2097152);
  EXPECT_EQ(f->Slider6->text(), "2048 Kb");
  test::drag(*f->Slider6, 0);
  EXPECT_EQ(f->PendingSettings.ReadAheadThreshold, 1) << "position 0 disables read-ahead, it is not 0 bytes";
  EXPECT_EQ(f->Label10->caption(), "Disabled");

  test::drag(*f->Slider10, 8);
  test::drag(*f->Slider10, 1);
  EXPECT_EQ(f->Label24->caption(), "2 pages");
  EXPECT_EQ(f->PendingSettings.MinSPs, 2);
}

TEST_F(MainWindowHandlers, CheckBoxesStandForTheirValues) {
  tab(3);
  for (auto* box : {f->Check1, f->Check11, &f->Check10(3)}) box->userClick();
  EXPECT_EQ(f->PendingSettings.CPUPriority, 1);
  EXPECT_EQ(f->PendingSettings.PageBuffers, 32);
  EXPECT_EQ(f->PendingSettings.COM4, "115200,n,8,1,p");
  // Cleared again, each takes its "off" value rather than 0.
  for (auto* box : {f->Check1, f->Check2, f->Check2, f->Check11, &f->Check10(3)}) box->userClick();
  EXPECT_EQ(f->PendingSettings.CPUPriority, 3);
  EXPECT_EQ(f->PendingSettings.ConservativeSwapFileUsage, 3);
  EXPECT_EQ(f->PendingSettings.PageBuffers, 4);
  EXPECT_EQ(f->PendingSettings.COM4, "9600,n,8,1,x");
}

TEST_F(MainWindowHandlers, TheCdRomCacheFollowsSpeedAndSlider) {
  tab(4);
  ASSERT_TRUE(f->Combo4->userSelect(4));  // 16x
  test::drag(*f->Slider9, 3);
  EXPECT_EQ(f->PendingSettings.CDFSCacheSize, 535);
  EXPECT_EQ(f->PendingSettings.Prefetch, 432);
  EXPECT_EQ(f->Label23->caption(), "1070 Kb");
  // With no speed chosen the slider computes with speed 0.
  f->Combo4->setListIndex(-1);
  test::drag(*f->Slider9, 0);
  EXPECT_EQ(f->PendingSettings.CDFSCacheSize, 7);
  EXPECT_EQ(f->PendingSettings.Prefetch, 2);
}

TEST(CdRomFigures, AStoredCacheSizeIsShownAsThePositionAndSpeedThatGiveIt) {
  EXPECT_EQ(app::cdSettingOf(535).position, 3);
  EXPECT_EQ(app::cdSettingOf(535).speed, 16);
  // Counting down never meets a base figure: position 0 at 4x.
  for (int32_t size : {20, 110, 0, -64}) {
    EXPECT_EQ(app::cdSettingOf(size).position, 0) << size;
    EXPECT_EQ(app::cdSettingOf(size).speed, 4) << size;
  }
  // A huge stored size is answered at once, as the count-down would end.
  EXPECT_EQ(app::cdSettingOf(544 + 25 * 80000000).speed, 80000001);
}

TEST_F(MainWindowHandlers, TheDefragmenterGroupKeepsChosenEntriesAndClearsToZero) {
  tab(4);
  f->Check12->userClick();
  EXPECT_EQ(f->PendingSettings.MaxApps, 100);
  ASSERT_TRUE(f->Combo3(0).userSelect(8));
  EXPECT_EQ(f->PendingSettings.MaxApps, 300);
  f->Check12->userClick();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(f->Combo3(i).enabled());
  EXPECT_EQ(f->PendingSettings.MaxApps, 0);
  EXPECT_EQ(f->PendingSettings.MinLogSize, 0);

  f->Combo3(1).setListIndex(0);  // a selection made while the group is off
  f->Check12->userClick();
  EXPECT_EQ(f->Combo3(1).text(), "2 days") << "an existing selection is kept";
  EXPECT_EQ(f->PendingSettings.MaxNoUseDays, 2);
  EXPECT_EQ(f->PendingSettings.MinLogSize, 1024);
}

TEST_F(MainWindowHandlers, OptionsKeepThePreferenceCopies) {
  tab(5);
  // With the tray utility installed "Run in tray" can be used.
  test::writeFile(t.programFolder() / "Plinth.exe", "");
  f->Check8->setEnabled(true);
  f->Check8->userClick();
  f->Check9->userClick();
  EXPECT_EQ(f->Tray, 1);
  EXPECT_EQ(f->StartupRun, 1);
  f->Check8->userClick();
  EXPECT_EQ(f->Check9->value(), 0);
  EXPECT_FALSE(f->Check9->enabled());
  EXPECT_EQ(f->StartupRun, 0);
  f->Check8->userClick();
  EXPECT_TRUE(f->Check9->enabled());
  EXPECT_EQ(f->Check9->value(), 0);

  f->Option1(6).userClick();
  EXPECT_EQ(f->IconType, "Page Size");
  f->Option2(0).userClick();
  EXPECT_EQ(f->Timer1->interval(), 250);
}

}  // namespace
}  // namespace tw
