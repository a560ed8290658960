// What the Options tab's controls do to the preferences' copies.

#include <gtest/gtest.h>

#include "host/shell/own_programs.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

using test::MainWindow;
using test::TunerMachine;

TEST_F(MainWindow, RunInTrayAndLoadOnStartupKeepThePreferenceCopies) {
  tab(5);
  ASSERT_TRUE(f.Check8->enabled()) << "the template machine has its tray utility";
  f.Check8->userClick();
  f.Check9->userClick();
  EXPECT_EQ(f.Tray, 1);
  EXPECT_EQ(f.StartupRun, 1);
  f.Check8->userClick();
  EXPECT_EQ(f.Check9->value(), 0);
  EXPECT_FALSE(f.Check9->enabled());
  EXPECT_EQ(f.StartupRun, 0);
  f.Check8->userClick();
  EXPECT_TRUE(f.Check9->enabled());
  EXPECT_EQ(f.Check9->value(), 0);
}

TEST_F(MainWindow, KeepOnTopFollowsItsBoxAndIsOffAgainAfterARestart) {
  tab(5);
  ASSERT_TRUE(f.Check7->userClick());
  EXPECT_TRUE(f.topMost());
  ASSERT_TRUE(f.Check7->userClick());
  EXPECT_FALSE(f.topMost());
  ASSERT_TRUE(f.Check7->userClick());
  ASSERT_TRUE(f.cEx->userClick());

  auto& again = t.start();
  EXPECT_EQ(again.Check7->value(), 0);
  EXPECT_FALSE(again.topMost());
}

TEST_F(MainWindow, TheRefreshChoiceRetimesTheRunningGaugeTimerAtOnce) {
  ASSERT_TRUE(t.env.running(*f.Timer1));
  f.calls.clear();
  f.Option2(4).setValue(true);  // raises its click, as the user's would
  EXPECT_EQ(t.env.intervalOf(*f.Timer1), 5000);
  t.env.advance(4999);
  EXPECT_TRUE(f.calls.empty());
  t.env.advance(1);
  EXPECT_EQ(f.calls, std::vector<std::string>{"UpdateGauges"});
}

TEST(OptionsAcrossARestart, TheOddlyStoredTrayIconsComeBackAsChosen) {
  // "Hard Drive Use" is stored as "Hard Drive", "Swap File Size" as "Page Size".
  for (const auto& [option, stored] : {std::pair{5, "Hard Drive"}, std::pair{6, "Page Size"}}) {
    TunerMachine t;
    auto& f = t.start();
    f.show();
    ASSERT_TRUE(f.TabStrip1->userSelect(5));
    ASSERT_TRUE(f.Option1(option).userClick());
    ASSERT_TRUE(f.cEx->userClick());
    EXPECT_EQ(t.pref("IconType"), stored);
    // The recorded first run keeps the next start from wiping the preferences.
    test::writeFile(t.programFolder() / "Settings.1st", "");
    auto& again = t.start();
    EXPECT_TRUE(again.Option1(option).value()) << stored;
    EXPECT_EQ(again.IconType, stored);
  }
}

TEST(OptionsAtStartUp, LoadOnStartupNeedsTheTrayUtility) {
  // With the utility installed and "Run in tray" off, "Load on startup" is
  // shown as stored and can still be changed.
  TunerMachine t;
  t.start();
  test::writeFile(t.programFolder() / "Settings.1st", "");
  t.setPref("StartupRun", "1");
  t.setPref("Tray", "0");
  auto& f = t.start();
  EXPECT_EQ(f.Check9->value(), 1);
  EXPECT_TRUE(f.Check9->enabled());
  EXPECT_EQ(f.Check8->value(), 0);
  EXPECT_TRUE(f.Check8->enabled());

  // Without it, neither can be chosen, and leaving takes the start-up entry
  // out rather than entering a program that is not there.
  std::filesystem::remove(t.programFolder() / "Plinth.exe");
  t.setHklm(app::catalogue::kRunKey, "CacheTrayUtil", Variant("old"), reg_sz);
  auto& g = t.start();
  EXPECT_EQ(g.Check9->value(), 0);
  EXPECT_FALSE(g.Check9->enabled());
  EXPECT_FALSE(g.Check8->enabled());
  EXPECT_EQ(g.StartupRun, 0);
  g.show();
  ASSERT_TRUE(g.cEx->userClick());
  EXPECT_EQ(t.hklm(app::catalogue::kRunKey, "CacheTrayUtil"), Variant("(absent)"));
  EXPECT_EQ(t.pref("StartupRun"), "0");
}

TEST(OptionsAtStartUp, AFreshMachineRunsItsTrayUtilityAtExit) {
  TunerMachine t;
  auto launcher = std::make_shared<test::RecordingLauncher>();
  t.platform->setLauncher(launcher);
  shell::setOwnProgramFolder("/opt/tw/bin");
  auto& f = t.start();
  ASSERT_TRUE(f.Check8->enabled()) << "the template machine has Plinth.exe";
  f.show();
  ASSERT_TRUE(f.TabStrip1->userSelect(5));
  ASSERT_TRUE(f.Check8->userClick());
  ASSERT_TRUE(f.cEx->userClick());
  shell::setOwnProgramFolder({});
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first, (std::vector<std::string>{"/opt/tw/bin/tunewell-tray", "--machine",
                                                                 std::filesystem::absolute(t.m.root()).string(),
                                                                 "/Tray"}));
}

}  // namespace
}  // namespace tw
