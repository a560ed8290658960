// The main window as the front end will draw it: every control sits inside
// its container, and no two controls that can be seen together overlap, on
// any tab; the tab strip, which decides what can be seen; and what the
// Tweaks, Tools and Options controls do to the pending values and
// preferences when the user works them, with the CD-ROM figures both ways.

#include <gtest/gtest.h>

#include "app/tweaks/value_sets.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

struct MainWindow : ::testing::Test {
  test::TunerMachine t;
  test::WatchedForm1& f = t.start();
  void SetUp() override { f.show(); }
  void tab(int index) { ASSERT_TRUE(f.TabStrip1->userSelect(index)); }
};

bool seen(const forms::Control& c) {
  for (const forms::Control* x = &c; x != nullptr; x = x->container())
    if (!x->visible() && dynamic_cast<const forms::Form*>(x) == nullptr) return false;
  return true;
}

bool overlap(const forms::Control& a, const forms::Control& b) {
  return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() && a.top() < b.top() + b.height() &&
         b.top() < a.top() + a.height();
}

// The controls of one container that can be seen at the moment; timers take
// no room, and the tab frames lie on the tab strip by design.
void expectNoOverlap(const forms::Form& form, const std::string& where) {
  std::vector<const forms::Control*> all(form.controls().begin(), form.controls().end());
  for (size_t i = 0; i < all.size(); ++i) {
    const forms::Control& a = *all[i];
    if (!seen(a) || dynamic_cast<const forms::Timer*>(&a)) continue;
    for (size_t j = i + 1; j < all.size(); ++j) {
      const forms::Control& b = *all[j];
      if (!seen(b) || dynamic_cast<const forms::Timer*>(&b) || a.container() != b.container()) continue;
      if (a.name() == "TabStrip1" || b.name() == "TabStrip1") continue;
      EXPECT_FALSE(overlap(a, b)) << where << ": " << a.qualifiedName() << " and " << b.qualifiedName();
    }
  }
}

TEST_F(MainWindow, EveryControlFitsInItsContainerAndNothingOverlapsOnAnyTab) {
  for (const forms::Control* c : f.controls()) {
    if (dynamic_cast<const forms::Timer*>(c)) continue;
    const forms::Control* parent = c->container();
    EXPECT_TRUE(c->width() > 0 && c->height() > 0 && c->left() >= 0 && c->top() >= 0 &&
                c->left() + c->width() <= parent->width() && c->top() + c->height() <= parent->height())
        << c->qualifiedName() << " at " << c->left() << "," << c->top() << " size " << c->width() << "x" << c->height();
  }
  for (int tab = 1; tab <= 6; ++tab) {
    ASSERT_TRUE(tab == 1 || f.TabStrip1->userSelect(tab));
    expectNoOverlap(f, "tab " + std::to_string(tab));
  }
}

TEST_F(MainWindow, EachTabShowsItsFrameAndStatusAndRunsTheGaugesOnlyOnStatus) {
  struct Row {
    int tab;
    forms::Frame* frame;
    const char* status;
  };
  const Row rows[] = {{3, f.Frame11, "Fine tune your system into a performance masterpiece!"},
                      {4, f.Frame12, "Some handy tools to further tweak your system to perfection."},
                      {5, f.Frame6, "You can tweak Tunewell to your particular tastes also!"},
                      {2, f.Frame4, "Take control of your cache instead of it taking control of your memory!"},
                      {1, f.Frame1, "See at a glance how well your system is tuned. Hold your cursor over a gauge for details."}};
  for (const Row& r : rows) {
    tab(r.tab);
    for (forms::Frame* frame : {f.Frame1, f.Frame4, f.Frame11, f.Frame12, f.Frame6, f.Frame10})
      EXPECT_EQ(frame->visible(), frame == r.frame) << "tab " << r.tab << " " << frame->name();
    EXPECT_EQ(f.Label20->caption(), r.status);
    EXPECT_EQ(t.env.running(*f.Timer1), r.tab == 1) << "tab " << r.tab;
  }
}

TEST_F(MainWindow, TheHelpTabOpensTheLocalStartPageOnlyWhenItExists) {
  tab(6);
  EXPECT_EQ(f.Web->pendingURL(), "C:\\Program Files\\Tunewell\\Help\\Main.html");
  EXPECT_EQ(f.Label20->caption(), "Need some help? Then you've come to the right place!");

  f.Web->navigationCompleted("about:blank");
  std::filesystem::remove(t.programFolder() / "Help" / "Main.html");
  tab(1);
  tab(6);
  EXPECT_FALSE(f.Web->busy());
  EXPECT_TRUE(f.Frame10->visible());
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

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

TEST_F(MainWindow, OptionsKeepThePreferenceCopies) {
  tab(5);
  // With the tray utility installed "Run in tray" can be used.
  test::writeFile(t.programFolder() / "Plinth.exe", "");
  f.Check8->setEnabled(true);
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

  f.Option1(6).userClick();
  EXPECT_EQ(f.IconType, "Page Size");
  f.Option2(0).userClick();
  EXPECT_EQ(f.Timer1->interval(), 250);
}

}  // namespace
}  // namespace tw
