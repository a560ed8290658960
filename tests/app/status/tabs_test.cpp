// The Help tab's page: the local start page is opened only while it exists.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

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
