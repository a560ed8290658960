// The CD-ROM group: the pending cache figures follow the speed and the
// slider, and a stored size is shown by the position and speed that give it.

#include <gtest/gtest.h>

#include "app/tools/cd_rom_values.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

TEST_F(MainWindow, TheCdRomCacheFollowsSpeedAndSlider) {
  tab(4);
  ASSERT_TRUE(f.Combo4->userSelect(4));  // 16x
  test::drag(*f.Slider9, 3);
  EXPECT_EQ(f.PendingSettings.CDFSCacheSize, 535);
  EXPECT_EQ(f.PendingSettings.Prefetch, 432);
  EXPECT_EQ(f.Label23->caption(), "1070 Kb");
  // With no speed chosen the slider computes with speed 0.
  f.Combo4->setListIndex(-1);
  test::drag(*f.Slider9, 0);
  EXPECT_EQ(f.PendingSettings.CDFSCacheSize, 7);
  EXPECT_EQ(f.PendingSettings.Prefetch, 2);
}

TEST(CdRomFigures, AStoredCacheSizeIsShownAsThePositionAndSpeedThatGiveIt) {
  auto figures = [](int32_t size) { return std::pair{app::cdSettingOf(size).position, app::cdSettingOf(size).speed}; };
  EXPECT_EQ(figures(535), std::pair(3, 16));
  // Counting down never meets a base figure: position 0 at 4x.
  for (int32_t size : {20, 110, 0, -64}) EXPECT_EQ(figures(size), std::pair(0, 4)) << size;
  // A huge stored size is answered at once, as the count-down would end.
  EXPECT_EQ(app::cdSettingOf(544 + 25 * 80000000).speed, 80000001);
}

}  // namespace
}  // namespace tw
