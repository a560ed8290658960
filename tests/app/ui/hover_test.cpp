// The hover descriptions: the pointer over each control of the main window
// reaches that control itself and puts its text of the string table in the
// status line; controls without a description leave the line as it was.

#include <gtest/gtest.h>

#include <set>

#include "app/ui/hover_texts.h"
#include "app/ui/strings.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/errors.h"

namespace tw {
namespace {

using test::MainWindow;

constexpr const char* kUntouched = "(as it was)";

TEST(StringTable, AnIdWithoutATextRaisesResourceNotFound) {
  for (int id : {100, 120, 121, 187}) EXPECT_EQ(test::errorOf([id] { (void)app::LoadResString(id); }), 326) << id;
  for (int id : {101, 119, 122, 186}) EXPECT_FALSE(app::LoadResString(id).empty()) << id;
}

TEST_F(MainWindow, EveryControlShowsItsOwnDescriptionOrLeavesTheStatusLineAlone) {
  // Every control is made reachable, so that each one hears the pointer
  // itself rather than passing it on to its frame.
  for (forms::Control* c : f.controls())
    if (dynamic_cast<forms::Timer*>(c) == nullptr) c->setEnabled(true);

  std::set<std::string> hovered;
  auto hover = [&](forms::Control& c) {
    const std::string name = c.qualifiedName();
    f.Label20->setCaption(kUntouched);
    c.userMouseMove(forms::MouseButton::None, forms::ShiftMask::None, 0, 0);
    const auto id = app::hoverTextOf(c.name(), c.index());
    EXPECT_EQ(f.Label20->caption(), id ? app::LoadResString(*id) : kUntouched) << name;
    hovered.insert(name);
  };
  for (int tab = 1; tab <= 6; ++tab) {
    this->tab(tab);
    for (forms::Control* c : f.controls())
      if (c->takesInput() && hovered.count(c->qualifiedName()) == 0) hover(*c);
  }
  hover(f);

  for (forms::Control* c : f.controls()) {
    if (dynamic_cast<forms::Timer*>(c) != nullptr) continue;
    EXPECT_EQ(hovered.count(c->qualifiedName()), 1u) << c->qualifiedName() << " was never under the pointer";
  }
}

TEST_F(MainWindow, TheLineKeepsTheLastDescriptionAndGreyedControlsPassThePointerOn) {
  const std::string tweaks = "Fine tune your system into a performance masterpiece!";
  tab(3);
  f.Check1->userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), "Make your processor give greater priority to your programs.");
  f.Frame11->userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), tweaks);
  // A readout and a slider title have no description of their own.
  f.Label10->userMouseMove(0, 0, 10, 10);
  f.Label21(0).userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), tweaks);
  f.userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), "Welcome to Tunewell Pro!");

  // "Remove" is greyed until a configuration is chosen: its frame hears
  // the pointer instead.  The Disk Defragmenter's greyed titles pass it to
  // a frame that has no description.
  tab(2);
  f.cRemove->userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), "Take control of your cache before it takes control of your memory!");
  tab(4);
  ASSERT_FALSE(f.Label27(1).enabled());
  f.Label27(1).userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), "Some handy tools to further tweak your system to perfection.");
  f.Check12->userClick();
  f.Label27(1).userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label20->caption(), "Set the number of days at which Disk Defragmenter will stop optimizing an unused program.");
}

}  // namespace
}  // namespace tw
