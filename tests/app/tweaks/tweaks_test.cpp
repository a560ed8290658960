// What the Tweaks tab's sliders and check boxes do to the pending values
// when the user works them.

#include <gtest/gtest.h>

#include <functional>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

// The fields of the pending record that differ between two records.
std::vector<std::string> changedFields(const app::PendingRecord& before, const app::PendingRecord& after) {
  std::vector<std::string> fields;
  for (const auto& s : app::catalogue::settings())
    if (app::catalogue::value(before, s) != app::catalogue::value(after, s)) fields.emplace_back(s.field);
  return fields;
}

TEST_F(MainWindow, SlidersSnapAndTheirPendingValuesAndReadoutsFollow) {
  struct Step {
    forms::Slider* slider;
    int32_t to;
    const char* field;
    int32_t pending;
    forms::Label* readout;
    std::string shown;
  };
  // The DMA buffer snaps to steps of 4 and the file allocation to steps of
  // 32, halves going to the even step; position 0 of read-ahead disables it
  // rather than meaning 0 bytes.
  const Step steps[] = {
      {f.Slider7, 2, "DMABufferSize", 0, f.Label12, "Disabled"},
      {f.Slider7, 6, "DMABufferSize", 8, f.Label12, "8 Kb"},
      {f.Slider7, 10, "DMABufferSize", 8, f.Label12, "8 Kb"},
      {f.Slider7, 14, "DMABufferSize", 16, f.Label12, "16 Kb"},
      {f.Slider6, 10, "ReadAheadThreshold", 2097152, f.Label10, "2048 Kb"},
      {f.Slider6, 0, "ReadAheadThreshold", 1, f.Label10, "Disabled"},
      {f.Slider10, 8, "MinSPs", 16, f.Label24, "16 pages"},
      {f.Slider10, 1, "MinSPs", 2, f.Label24, "2 pages"},
      {f.Slider8, 100, "ContigFileAllocSize", 96, f.Label16, "96 Kb"},
      {f.Slider8, 80, "ContigFileAllocSize", 64, f.Label16, "64 Kb"},
      {f.Slider8, 112, "ContigFileAllocSize", 128, f.Label16, "128 Kb"},
      {f.Slider8, 64, "ContigFileAllocSize", 64, f.Label16, "64 Kb"},
      {f.Slider11, 3, "MaxCachedIcons", 3072, f.Label25, "3072 Kb"},
      {f.Slider11, 0, "MaxCachedIcons", 0, f.Label25, "Disabled"},
  };
  tab(3);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.slider->name() + " to " + std::to_string(s.to));
    test::drag(*s.slider, s.to);
    EXPECT_EQ(std::get<int32_t>(app::catalogue::value(f.PendingSettings, *app::catalogue::findField(s.field))),
              s.pending);
    EXPECT_EQ(s.readout->caption(), s.shown);
    if (s.shown != "Disabled") {
      EXPECT_EQ(s.slider->text(), s.shown);
    }
  }
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

TEST_F(MainWindow, EachControlWritesOnlyItsOwnSettingAndMovingItBackRestoresIt) {
  struct Action {
    int tab;
    const char* control;
    std::vector<std::string> fields;
    std::function<void()> there, back;
  };
  auto click = [](forms::CheckBox* box) { return [box] { EXPECT_TRUE(box->userClick()); }; };
  auto dragTo = [](forms::Slider* s, int32_t to) { return [s, to] { test::drag(*s, to); }; };
  auto pick = [](forms::ComboBox* c, int item) { return [c, item] { EXPECT_TRUE(c->userSelect(item)); }; };
  tab(4);
  f.Check12->userClick();  // the defragmenter's lists take input with the group on
  const std::vector<Action> actions = {
      {3, "Check1", {"CPUPriority"}, click(f.Check1), click(f.Check1)},
      {3, "Check2", {"ConservativeSwapFileUsage"}, click(f.Check2), click(f.Check2)},
      {3, "Check3", {"PCIConcur"}, click(f.Check3), click(f.Check3)},
      {3, "Check4", {"FastDRAM"}, click(f.Check4), click(f.Check4)},
      {3, "Check5", {"AGPConcur"}, click(f.Check5), click(f.Check5)},
      {3, "Check6", {"AlwaysUnloadDLL"}, click(f.Check6), click(f.Check6)},
      {3, "Check11", {"PageBuffers"}, click(f.Check11), click(f.Check11)},
      {3, "Check10(0)", {"COM1"}, click(&f.Check10(0)), click(&f.Check10(0))},
      {3, "Check10(1)", {"COM2"}, click(&f.Check10(1)), click(&f.Check10(1))},
      {3, "Check10(2)", {"COM3"}, click(&f.Check10(2)), click(&f.Check10(2))},
      {3, "Check10(3)", {"COM4"}, click(&f.Check10(3)), click(&f.Check10(3))},
      {3, "Slider6", {"ReadAheadThreshold"}, dragTo(f.Slider6, 7), dragTo(f.Slider6, 2)},
      {3, "Slider7", {"DMABufferSize"}, dragTo(f.Slider7, 32), dragTo(f.Slider7, 4)},
      {3, "Slider8", {"ContigFileAllocSize"}, dragTo(f.Slider8, 1024), dragTo(f.Slider8, 512)},
      {3, "Slider10", {"MinSPs"}, dragTo(f.Slider10, 6), dragTo(f.Slider10, 3)},
      {3, "Slider11", {"MaxCachedIcons"}, dragTo(f.Slider11, 8), dragTo(f.Slider11, 2)},
      {4, "Slider9", {"CDFSCacheSize", "Prefetch"}, dragTo(f.Slider9, 1), dragTo(f.Slider9, 5)},
      {4, "Combo4", {"CDFSCacheSize", "Prefetch"}, pick(f.Combo4, 12), pick(f.Combo4, 4)},
      {4, "Combo3(0)", {"MaxApps"}, pick(&f.Combo3(0), 0), pick(&f.Combo3(0), 4)},
      {4, "Combo3(1)", {"MaxNoUseDays"}, pick(&f.Combo3(1), 0), pick(&f.Combo3(1), 7)},
      {4, "Combo3(2)", {"MinLogSize"}, pick(&f.Combo3(2), 7), pick(&f.Combo3(2), 4)},
  };
  // Each control first in a state it stands for, so that going back is
  // going back to a value of its own.
  for (const Action& a : actions) {
    tab(a.tab);
    a.back();
  }
  const app::PendingRecord start = f.PendingSettings;
  for (const Action& a : actions) {
    tab(a.tab);
    a.there();
    EXPECT_EQ(changedFields(start, f.PendingSettings), a.fields) << a.control;
    a.back();
    EXPECT_EQ(f.PendingSettings, start) << a.control << " moved back";
  }
}

}  // namespace
}  // namespace tw
