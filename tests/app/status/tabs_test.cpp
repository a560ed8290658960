// The tab strip: each tab shows its frame and its status line, the gauges
// run only on the Status tab, and the Help tab's page.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

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

}  // namespace
}  // namespace tw
