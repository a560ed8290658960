// What the Options tab's controls do to the preferences' copies.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

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
