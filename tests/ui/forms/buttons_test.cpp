#include "ui/forms/buttons.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/ui/forms/helpers.h"
#include "ui/forms/form.h"
#include "ui/forms/static_controls.h"

namespace tw::forms {
namespace {

struct Window : Form {
  Window() : Form("Form1") {}
  CheckBox& check = add<CheckBox>("Check1");
  Frame& frame = add<Frame>("Frame1");
  CheckBox& inFrame = add<CheckBox>("Check2", -1, &frame);
};

TEST(CheckBox, CodeRaisesClickOnlyWhenTheValueChanges) {
  Window w;
  int clicks = 0;
  w.check.Click.connect([&] { ++clicks; });

  w.check.setValue(CheckValue::Checked);
  w.check.setValue(CheckValue::Checked);
  EXPECT_EQ(clicks, 1);
  w.check.setValue(CheckValue::Grayed);
  EXPECT_EQ(clicks, 2);

  EXPECT_EQ(errorOf([&] { w.check.setValue(3); }), 380);
  EXPECT_EQ(w.check.value(), CheckValue::Grayed);
  EXPECT_EQ(clicks, 2);
}

TEST(CheckBox, UserClicksToggleAndClearAGrayedBoxButOnlyOnABoxThatTakesInput) {
  Window w;
  std::vector<int> seen;
  w.check.Click.connect([&] { seen.push_back(w.check.value()); });
  w.inFrame.Click.connect([&] { seen.push_back(-1); });

  EXPECT_FALSE(w.check.userClick()) << "the form is not shown yet";
  w.show();
  EXPECT_TRUE(w.check.userClick());
  EXPECT_TRUE(w.check.userKey(Key::Space));
  w.check.setValue(CheckValue::Grayed);
  EXPECT_TRUE(w.check.userClick());
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 2, 0}));

  w.check.setEnabled(false);
  EXPECT_FALSE(w.check.userClick());
  w.frame.setEnabled(false);  // its own Enabled stays True
  EXPECT_FALSE(w.inFrame.userClick());
  w.frame.setEnabled(true);
  w.frame.setVisible(false);
  EXPECT_FALSE(w.inFrame.userClick());
  EXPECT_EQ(w.inFrame.value(), 0);
  w.check.setValue(CheckValue::Checked);  // the program still may
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 2, 0, 1}));
}

struct Options : Form {
  Options() : Form("Form1") {
    for (int i = 0; i < 3; ++i) speed.add(i, &frameA);
    for (int i = 0; i < 2; ++i) icon.add(i, &frameB);
  }
  Frame& frameA = add<Frame>("Frame6");
  Frame& frameB = add<Frame>("Frame7");
  ControlArray<OptionButton> speed{*this, "Option2"};
  ControlArray<OptionButton> icon{*this, "Option1"};
};

TEST(OptionButton, SelectingOneClearsItsGroupSilentlyBeforeItsClick) {
  Options f;
  Log log;
  f.speed.connect(&OptionButton::Click, [&](int index) {
    log.push_back("click " + std::to_string(index) + " others " + std::to_string(f.speed(0).value()) +
                  std::to_string(f.speed(1).value()) + std::to_string(f.speed(2).value()));
  });
  f.icon(1).setValue(true);

  f.speed(0).setValue(true);
  f.speed(2).setValue(true);
  f.speed(2).setValue(true);   // already selected: nothing
  f.speed(2).setValue(false);  // cleared from code: no Click
  EXPECT_EQ(log, (Log{"click 0 others 100", "click 2 others 001"}));
  EXPECT_FALSE(f.speed(2).value());
  EXPECT_TRUE(f.icon(1).value()) << "another frame is another group";

  f.show();
  log.clear();
  EXPECT_TRUE(f.speed(1).userClick());
  EXPECT_TRUE(f.speed(1).userClick());  // the selected one clicks again
  f.speed(0).setEnabled(false);
  EXPECT_FALSE(f.speed(0).userClick());
  EXPECT_EQ(log, (Log{"click 1 others 010", "click 1 others 010"}));
}

}  // namespace
}  // namespace tw::forms
