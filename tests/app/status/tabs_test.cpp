// The tab strip: each tab's status line.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

// Which frame each tab shows is the Qt window test's; the gauge timer per
// tab is the gauges test's; the Help tab's page is the help viewer's.
TEST_F(MainWindow, EachTabPutsItsOwnLineInTheStatusBar) {
  const std::pair<int, const char*> rows[] = {
      {3, "Fine tune your system into a performance masterpiece!"},
      {4, "Some handy tools to further tweak your system to perfection."},
      {5, "You can tweak Tunewell to your particular tastes also!"},
      {6, "Need some help? Then you've come to the right place!"},
      {2, "Take control of your cache instead of it taking control of your memory!"},
      {1, "See at a glance how well your system is tuned. Hold your cursor over a gauge for details."}};
  for (const auto& [index, status] : rows) {
    tab(index);
    EXPECT_EQ(f.Label20->caption(), status) << "tab " << index;
  }
}

}  // namespace
}  // namespace tw
