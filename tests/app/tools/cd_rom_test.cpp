// The CD-ROM group: the pending cache figures follow the speed and the
// slider, and a stored size is shown by the position and speed that give it.

#include <gtest/gtest.h>

#include "app/tools/cd_rom_values.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;
using test::TunerMachine;

TEST_F(MainWindow, TheCdRomCacheFollowsSpeedAndSlider) {
  tab(4);
  ASSERT_TRUE(f.Combo4->userSelect(4));  // 16x
  test::drag(*f.Slider9, 3);
  EXPECT_EQ(f.PendingSettings.CDFSCacheSize, 535);
  EXPECT_EQ(f.PendingSettings.Prefetch, 432);
  EXPECT_EQ(f.Label23->caption(), "1070 Kb");
  // Clearing the speed changes nothing; the slider then computes with speed 0.
  const app::PendingRecord before = f.PendingSettings;
  f.Combo4->setListIndex(-1);
  EXPECT_EQ(f.PendingSettings, before);
  test::drag(*f.Slider9, 0);
  EXPECT_EQ(f.PendingSettings.CDFSCacheSize, 7);
  EXPECT_EQ(f.PendingSettings.Prefetch, 2);
}

TEST(CdRomFigures, AStoredCacheSizeIsShownAsThePositionAndSpeedThatGiveIt) {
  // Counting down never meets a base figure: position 0 at 4x.
  for (int32_t size : {0, -64})
    EXPECT_EQ(std::pair(app::cdSettingOf(size).position, app::cdSettingOf(size).speed), std::pair(0, 4)) << size;
  // A huge stored size is answered at once, as the count-down would end.
  EXPECT_EQ(app::cdSettingOf(544 + 25 * 80000000).speed, 80000001);
}

TEST(CdRomStartup, AStoredCacheSizeIsShownAndTheGroupThenAgreesWithWhatItShows) {
  struct Case {
    int32_t stored;
    int32_t position;
    const char* speed;
    int32_t pending;
  };
  // 535 is position 3 at 16x; 20 and 110 meet no base figure on the way
  // down, so they are shown as position 0 at 4x, which is 107.  82 is
  // position 0 at 3x, a speed the list lacks: it is kept as stored rather
  // than worked out again from no speed (7).
  for (const Case c : {Case{535, 3, "16x", 535}, Case{20, 0, "4x", 107}, Case{110, 0, "4x", 107},
                       Case{82, 0, "", 82}}) {
    TunerMachine t;
    t.setHklm(app::catalogue::kCdfsKey, "CacheSize", Variant(c.stored), REG_BINARY);
    auto& f = t.start();
    EXPECT_EQ(f.Slider9->value(), c.position) << c.stored;
    EXPECT_EQ(f.Combo4->text(), c.speed) << c.stored;
    EXPECT_EQ(f.PendingSettings.CDFSCacheSize, c.pending) << c.stored;
    EXPECT_EQ(f.Label23->caption(), std::to_string(2 * c.pending) + " Kb") << c.stored;
    EXPECT_EQ(f.Slider9->text(), f.Label23->caption()) << c.stored;
  }
}

}  // namespace
}  // namespace tw
