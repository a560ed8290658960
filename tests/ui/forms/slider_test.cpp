#include "ui/forms/slider.h"

#include <string>

#include <gtest/gtest.h>

#include "host/runtime/vbconv.h"
#include "tests/ui/forms/helpers.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

struct Window : Form {
  Window() : Form("Form1") {
    for (Slider* s : {&s1, &s2}) {
      s->setMax(65536);
      s->setSmallChange(512);
      s->setLargeChange(1024);
      const std::string name = s == &s1 ? "S1." : "S2.";
      s->Scroll.connect([this, s, name] { log.push_back(name + "Scroll " + std::to_string(s->value())); });
      s->Change.connect([this, s, name] { log.push_back(name + "Change " + std::to_string(s->value())); });
    }
    show();
  }
  Slider& s1 = add<Slider>("Slider1");
  Slider& s2 = add<Slider>("Slider2");
  Log log;
};

TEST(Slider, CodeRaisesChangeOnlyForANewValueAndRefusesOneOutOfRangeAndARangeMovesIt) {
  Window w;
  w.s1.setValue(4096);
  w.s1.setValue(4096);
  EXPECT_EQ(errorOf([&] { w.s1.setValue(65537); }), 380);
  EXPECT_EQ(w.s1.value(), 4096);
  EXPECT_EQ(w.log, (Log{"S1.Change 4096"}));

  // A range that excludes the value moves it and says so.
  w.log.clear();
  w.s1.setMax(2048);
  w.s1.setMin(1024);  // 2048 is inside: nothing
  EXPECT_EQ(w.log, (Log{"S1.Change 2048"}));
  EXPECT_EQ(errorOf([&] { w.s1.setMin(4096); }), 380);
  EXPECT_EQ(w.s1.min(), 1024);
  w.s1.setRange(8192, 16384);  // both ends move past the old range
  EXPECT_EQ(w.s1.value(), 8192);
}

TEST(Slider, ADragScrollsAtEachNewPositionAndChangesOnceAtRelease) {
  Window w;
  EXPECT_FALSE(w.s1.userDragTo(100)) << "no drag without a press";
  ASSERT_TRUE(w.s1.userBeginDrag());
  w.s1.userDragTo(1000);
  w.s1.userDragTo(1000);
  w.s1.userDragTo(70000);  // past the end: held at Max
  w.s1.userEndDrag();
  EXPECT_EQ(w.log, (Log{"S1.Scroll 1000", "S1.Scroll 65536", "S1.Change 65536"}));

  w.log.clear();
  w.s1.userBeginDrag();
  w.s1.userDragTo(5);
  w.s1.userDragTo(65536);  // back where it started
  w.s1.userEndDrag();
  EXPECT_EQ(w.log, (Log{"S1.Scroll 5", "S1.Scroll 65536"}));

  w.log.clear();
  w.s1.setEnabled(false);  // a disabled slider ignores the user
  EXPECT_FALSE(w.s1.userBeginDrag());
  EXPECT_FALSE(w.s1.userDragTo(5));
  EXPECT_FALSE(w.s1.userKey(Key::End));
  EXPECT_EQ(w.s1.value(), 65536);
  EXPECT_TRUE(w.log.empty());
}

// The cache sliders: a Scroll handler snaps the thumb and pushes the other
// slider along, which must nest those Change events inside the Scroll.
TEST(Slider, ScrollHandlersThatSnapAndPushAnotherSliderNestTheirChanges) {
  Window w;
  w.s1.Scroll.connect([&w] {
    w.s1.setValue(toLong(roundHalfEven(w.s1.value() / 512.0)) * 512);
    if (w.s1.value() > w.s2.value()) w.s2.setValue(w.s1.value());
    w.log.push_back("S1.Scroll done");
  });
  w.s1.userBeginDrag();
  w.s1.userDragTo(3000);
  w.s1.userEndDrag();  // the thumb rests at 3072, already announced
  EXPECT_EQ(w.log, (Log{"S1.Scroll 3000", "S1.Change 3072", "S2.Change 3072", "S1.Scroll done"}));
  EXPECT_EQ(w.s2.value(), 3072);
}

TEST(Slider, AChangeHandlerThatMovesTheValueIsNotReportedTwice) {
  Window w;
  w.s1.Change.connect([&w] {
    if (w.s1.value() % 2 != 0) w.s1.setValue(w.s1.value() + 1);
  });
  w.s1.userBeginDrag();
  w.s1.userDragTo(3);
  w.s1.userEndDrag();
  w.s1.userBeginDrag();  // pressed and released where it is
  w.s1.userEndDrag();
  EXPECT_EQ(w.log, (Log{"S1.Scroll 3", "S1.Change 3", "S1.Change 4"}));
}

TEST(Slider, KeysScrollThenChangeAndPageUpMovesTowardsMin) {
  Window w;
  w.s1.setValue(4096);
  w.log.clear();
  w.s1.userKey(Key::Right);
  w.s1.userKey(Key::PageUp);
  w.s1.userClickChannel(true);
  w.s1.userKey(Key::End);
  w.s1.userKey(Key::Down);  // at Max: nothing moves, nothing is raised
  w.s1.userKey(Key::Home);
  EXPECT_EQ(w.log, (Log{"S1.Scroll 4608", "S1.Change 4608", "S1.Scroll 3584", "S1.Change 3584",
                        "S1.Scroll 4608", "S1.Change 4608", "S1.Scroll 65536", "S1.Change 65536",
                        "S1.Scroll 0", "S1.Change 0"}));
}

TEST(Slider, KeyStepsDoNotOverflowAtTheEdgesOfALong) {
  Window w;
  w.s1.setRange(-2147483647 - 1, 2147483647);
  w.s1.setLargeChange(2147483647);
  w.s1.setValue(2147483000);
  w.s1.userKey(Key::PageDown);
  EXPECT_EQ(w.s1.value(), 2147483647);
  w.s1.setValue(-2147483000);
  w.s1.userKey(Key::PageUp);
  EXPECT_EQ(w.s1.value(), -2147483647 - 1);
}

}  // namespace
}  // namespace tw::forms
