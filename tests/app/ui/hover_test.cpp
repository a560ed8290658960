// The hover descriptions: the pointer over each control of the main window
// puts that control's text of the string table in the status line, and the
// controls without a description leave the line as it was.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/ui/strings.h"
#include "host/runtime/errors.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;

// The description of every control that has one, by the name the window
// declares; every other control has none.
const std::map<std::string, int>& described() {
  static const std::map<std::string, int> ids = [] {
    std::map<std::string, int> m = {
        {"Form1", 111},      {"Frame11", 114},    {"Frame13", 115},    {"Frame9", 115},     {"Frame8", 115},
        {"Frame7", 115},     {"Frame10", 116},    {"Frame12", 135},    {"Frame4", 126},     {"Picture5", 117},
        {"Label3", 117},     {"Picture1(2)", 118}, {"Label14", 118},   {"Picture2", 119},   {"Label4(0)", 119},
        {"Picture1(0)", 122}, {"Label7", 122},    {"Picture1(3)", 123}, {"LRe(2)", 123},    {"Picture6", 124},
        {"Label2", 124},     {"Picture1(1)", 125}, {"Label11", 125},   {"Label17", 127},    {"cAdd", 128},
        {"cRemove", 129},    {"Slider1", 130},    {"Slider2", 131},    {"Slider3", 132},    {"Slider4", 133},
        {"Slider5", 134},    {"Check1", 136},     {"Check4", 137},     {"Check3", 138},     {"Check5", 139},
        {"Check6", 140},     {"Check2", 141},     {"Check11", 142},    {"Slider8", 144},    {"Slider6", 145},
        {"Slider7", 146},    {"Slider10", 147},   {"Slider11", 148},   {"Label21(1)", 149}, {"Slider9", 150},
        {"Check12", 151},    {"Label27(0)", 152}, {"Label27(1)", 153}, {"Label27(2)", 154}, {"Option2(0)", 162},
        {"Check7", 163},     {"Check8", 164},     {"Check9", 165},     {"Option3", 166},    {"Option4", 167},
        {"Command3(1)", 168}, {"Command1", 169},  {"cEx", 170},        {"Check13", 171},    {"Label29", 172},
        {"Label28", 173},    {"Command4", 174},   {"Command2", 175},   {"Check14", 176},
    };
    for (int i = 0; i < 4; ++i) m["Check10(" + std::to_string(i) + ")"] = 143;
    for (int i = 0; i < 5; ++i) m["Option2(" + std::to_string(i) + ")"] = 162;
    for (int i = 0; i < 7; ++i) m["Option1(" + std::to_string(i) + ")"] = 155 + i;
    // System information rows, by index: caption and value alike.
    const int rows[10] = {178, 182, 183, 180, 177, 186, 179, 181, 184, 185};
    for (int i = 0; i < 10; ++i) {
      m["Label30(" + std::to_string(i) + ")"] = rows[i];
      m["Label31(" + std::to_string(i) + ")"] = rows[i];
    }
    return m;
  }();
  return ids;
}

constexpr const char* kUntouched = "(as it was)";

TEST(StringTable, HoldsTheIdsFrom101To186Without120And121) {
  int present = 0;
  for (int id = 100; id <= 187; ++id) {
    try {
      EXPECT_FALSE(app::LoadResString(id).empty()) << id;
      ++present;
      EXPECT_TRUE(id >= 101 && id <= 186 && id != 120 && id != 121) << id;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), 326) << id;
      EXPECT_TRUE(id < 101 || id > 186 || id == 120 || id == 121) << id;
    }
  }
  EXPECT_EQ(present, 84);
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
    const auto it = described().find(name);
    const std::string expected = it != described().end() ? app::LoadResString(it->second) : kUntouched;
    EXPECT_EQ(f.Label20->caption(), expected) << name;
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
  for (const auto& [name, id] : described()) EXPECT_EQ(hovered.count(name), 1u) << name << " is not on the window";
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

TEST_F(MainWindow, TheCreditTakesTheHandCursorAsThePointerReachesIt) {
  tab(6);
  EXPECT_EQ(f.Label29->mousePointer(), forms::MousePointer::Default);
  f.Label29->userMouseMove(0, 0, 10, 10);
  EXPECT_EQ(f.Label29->mousePointer(), forms::MousePointer::Custom);
  EXPECT_EQ(f.Label29->mouseIcon(), "Hand");
  EXPECT_EQ(f.Label20->caption(), "Visit the Brightfen Software website.");
}

}  // namespace
}  // namespace tw
