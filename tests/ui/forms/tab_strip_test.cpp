#include "ui/forms/tab_strip.h"

#include <gtest/gtest.h>

#include "tests/ui/forms/helpers.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

struct Window : Form {
  Window() : Form("Form1") {
    for (const char* caption : {"Status", "Cache", "Tweaks", "Tools", "Options", "Help"})
      tabs.addTab(Tab{caption, "", 0, "", ""});
    tabs.BeforeClick.connect([this](bool&) { log.push_back("BeforeClick"); });
    tabs.Click.connect([this] { log.push_back("Click " + tabs.tab(tabs.selectedIndex()).caption); });
    show();
  }
  TabStrip& tabs = add<TabStrip>("TabStrip1");
  Log log;
};

TEST(TabStrip, SelectionChangesByUserOrCodeRaiseClickAndRepeatsRaiseNothing) {
  Window w;
  EXPECT_EQ(w.tabs.selectedIndex(), 1) << "the first tab added is selected, silently";
  EXPECT_TRUE(w.log.empty());
  w.tabs.setSelectedIndex(6);
  w.tabs.setSelectedIndex(6);
  EXPECT_TRUE(w.tabs.userSelect(2));
  EXPECT_TRUE(w.tabs.userSelect(2));
  EXPECT_TRUE(w.tabs.userKey(Key::Left));
  EXPECT_EQ(w.log, (Log{"BeforeClick", "Click Help", "BeforeClick", "Click Cache", "BeforeClick", "Click Status"}));
  EXPECT_EQ(errorOf([&] { w.tabs.setSelectedIndex(7); }), 35600);
}

}  // namespace
}  // namespace tw::forms
