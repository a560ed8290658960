// The tab strip: each tab shows its own frame, says what it is for in the
// status line, and runs the gauge timer only while the gauges can be seen.

#include <array>

#include "app/ui/form1.h"
#include "app/ui/strings.h"
#include "host/runtime/guard.h"

namespace tw::app {

void Form1::TabStrip1_Click() {
  reportErrors(dialogs(), "Form1.TabStrip1_Click", [&] {
    struct TabRow {
      forms::Frame* frame;
      int statusText;
    };
    const std::array<TabRow, 6> tabs = {{{Frame1, Res::StatusTab},
                                         {Frame4, Res::CacheTab},
                                         {Frame11, Res::TweaksTab},
                                         {Frame12, Res::ToolsTab},
                                         {Frame6, Res::OptionsTab},
                                         {Frame10, Res::HelpTab}}};
    const int tab = TabStrip1->selectedIndex();
    if (tab < 1 || tab > static_cast<int>(tabs.size())) return;
    const TabRow& chosen = tabs[static_cast<size_t>(tab - 1)];
    for (const TabRow& other : tabs)
      if (other.frame != chosen.frame) other.frame->setVisible(false);
    chosen.frame->setVisible(true);
    if (chosen.frame == Frame10) {
      const std::string mainPage = programFile("Help\\Main.html");
      if (fso().FileExists(mainPage)) Web->navigate(mainPage);
    }
    Label20->setCaption(LoadResString(chosen.statusText));
    Timer1->setEnabled(chosen.frame == Frame1);
  });
}

void Form1::Timer1_Timer() { UpdateGauges(); }

}  // namespace tw::app
