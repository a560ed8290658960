// What the tray utility shows: the measure and interval its preferences
// choose, and the figure and tooltip of each measure from fixed meter
// figures (those of tests/support/fixed_platform.h).

#include <gtest/gtest.h>

#include "app/options/choices.h"
#include "host/settings/settings.h"
#include "tests/support/fixed_platform.h"
#include "tests/support/machine_fixture.h"
#include "tray/meter.h"
#include "tray/preferences.h"

namespace tw {
namespace {

struct TrayMeasures : ::testing::Test {
  test::TestMachine m;
  std::shared_ptr<test::FixedFigures> figures = std::make_shared<test::FixedFigures>();
  std::shared_ptr<sys::Platform> platform = test::fixedPlatform(figures);
  TrayMeasures() { m.host->setPlatform(platform); }

  SettingsStore store() { return SettingsStore(m.host->registry(), m.host->machine().codePage()); }
  tray::TrayPreferences with(const char* key, const char* value) {
    store().saveSetting(app::kAppName, app::kPrefsSection, key, value);
    return tray::readTrayPreferences(store());
  }
};

TEST_F(TrayMeasures, EveryTextTheTunerStoresOrReadsChoosesItsMeasureAndAnyOtherTheDefault) {
  EXPECT_EQ(tray::readTrayPreferences(store()).measure, 3) << "nothing stored: Physical Memory";
  const std::vector<std::pair<const char*, int>> texts = {
      {"CPU Load", 0},   {"Resources", 1},  {"System Memory", 2},  {"Physical Memory", 3},
      {"Cache Size", 4}, {"Hard Drive", 5}, {"Hard Drive Use", 5}, {"Page Size", 6}};
  for (const auto& [text, measure] : texts) EXPECT_EQ(with("IconType", text).measure, measure) << text;
  for (const char* text : {"Swap File Size", "cpu load", "", "Hard Drive Use "})
    EXPECT_EQ(with("IconType", text).measure, 3) << '"' << text << '"';
}

TEST_F(TrayMeasures, TheIntervalIsTheTunersRefreshAndHalfASecondForAnyOtherSpeed) {
  EXPECT_EQ(tray::readTrayPreferences(store()).interval.count(), 500) << "nothing stored";
  EXPECT_EQ(with("Speed", "250").interval.count(), 250);
  EXPECT_EQ(with("Speed", "5000").interval.count(), 5000);
  for (const char* text : {"2", "300", "fast", "99999", ""})
    EXPECT_EQ(with("Speed", text).interval.count(), 500) << '"' << text << '"';
}

TEST_F(TrayMeasures, EachMeasureShowsItsFigureAsTheStatusTabReadsIt) {
  tray::TrayMeter meter(*m.host);
  const std::vector<std::tuple<int, int, std::string>> expected = {
      {0, 12, "CPU Load: 12%"},
      {1, 20, "Resources: 20%"},  // 80 % of the system heap free
      {2, 2, "System Memory: 64 Mb (2%)"},  // 32 Mb of memory and 32 Mb of page file, of 4096
      {3, 50, "Physical Memory: 32 Mb (50%)"},
      {4, 12, "Cache Size: 8 Mb (12%)"},  // 12.5 rounds to even
      {5, 50, "Hard Drive Use: 1023 Mb (50%)"},
      {6, 1, "Swap File Size: 0 Mb (1%)"},  // never shown empty
  };
  for (const auto& [measure, percent, tooltip] : expected) {
    const tray::TrayReading r = meter.read(measure);
    EXPECT_EQ(r.percent, percent) << tooltip;
    EXPECT_EQ(r.tooltip, tooltip);
    EXPECT_EQ(r.failure, "");
  }
  figures->cpu = 100;
  EXPECT_EQ(meter.read(0).percent, 100);
  EXPECT_TRUE(m.dialogs->shown().empty()) << "the meter never shows a box";
}

TEST_F(TrayMeasures, AMeterThatCannotBeReadShowsNoFigureAndSaysWhy) {
  tray::TrayMeter meter(*m.host);
  platform->setMemory(nullptr);
  const tray::TrayReading r = meter.read(3);
  EXPECT_EQ(r.percent, std::nullopt);
  EXPECT_EQ(r.tooltip, "Physical Memory: not available");
  EXPECT_NE(r.failure.find("kernel32"), std::string::npos) << r.failure;
  // The failure belongs to that reading only.
  EXPECT_EQ(meter.read(0).failure, "");

  // Without the resource heaps (not a Windows 9x) nothing is read, and no
  // figure of the previous reading is shown in its place.
  platform->setVersion(WindowsVersion{4, 0, 1381, 2, ""});
  EXPECT_EQ(meter.read(1).percent, std::nullopt);
  EXPECT_EQ(meter.read(1).tooltip, "Resources: not available");
  EXPECT_TRUE(m.dialogs->shown().empty());
}

}  // namespace
}  // namespace tw
