#include "ui/forms/form.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/runtime/errors.h"
#include "ui/forms/buttons.h"
#include "ui/forms/slider.h"
#include "ui/forms/static_controls.h"
#include "ui/forms/timer.h"

namespace tw::forms {
namespace {

using Log = std::vector<std::string>;

struct Window : Form {
  explicit Window(Environment* env = nullptr) : Form("Form1", env) {
    for (int i = 0; i < 4; ++i) ports.add(i, &frame);
    Initialize.connect([this] { log.push_back("Initialize"); });
    Load.connect([this] { log.push_back("Load"); });
    QueryUnload.connect([this](bool& cancel, UnloadMode mode) {
      log.push_back("QueryUnload " + std::to_string(static_cast<int>(mode)));
      cancel = keepOpen;
      hide();  // the window disappears at once while the exit steps run
    });
    Unload.connect([this](bool&) { log.push_back("Unload"); });
  }
  Frame& frame = add<Frame>("Frame11");
  ControlArray<CheckBox> ports{*this, "Check10"};
  Label& status = add<Label>("Label20");
  bool keepOpen = false;
  Log log;
};

TEST(Form, LoadsOnceAndUnloadsThroughQueryUnloadAndUnload) {
  Window w;
  w.show();
  w.load();
  EXPECT_TRUE(w.visible());
  w.keepOpen = true;
  EXPECT_FALSE(w.userClose());
  EXPECT_TRUE(w.loaded());
  w.keepOpen = false;
  EXPECT_TRUE(w.unload());
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.visible());
  EXPECT_TRUE(w.unload()) << "nothing left to unload";
  w.show();  // loads again, without a second Initialize
  EXPECT_EQ(w.log, (Log{"Initialize", "Load", "QueryUnload 0", "QueryUnload 1", "Unload", "Load"}));
}

TEST(Form, AFormThatUnloadsItselfWhileLoadingStaysUnloaded) {
  Window w;
  w.Load.connect([&w] { w.unload(); });
  w.Unload.connect([&w](bool&) { w.unload(); });  // a nested request is ignored
  w.show();
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.visible());
  EXPECT_EQ(w.log, (Log{"Initialize", "Load", "QueryUnload 1", "Unload"}));
}

TEST(Form, UnloadingStopsTheTimers) {
  ManualEnvironment env;
  Window w(&env);
  auto& timer = w.add<Timer>("Timer1");
  timer.setInterval(500);
  w.load();
  EXPECT_TRUE(env.running(timer));
  w.unload(UnloadMode::AppWindows);
  EXPECT_FALSE(env.running(timer));
}

TEST(Form, FindsControlsByNameAndIndexAndRefusesDuplicates) {
  Window w;
  EXPECT_EQ(w.find("check10", 2), &w.ports(2));
  EXPECT_EQ(w.find("Check10"), nullptr) << "an array needs an index";
  EXPECT_EQ(w.findAs<Label>("LABEL20"), &w.status);
  EXPECT_EQ(w.findAs<Slider>("Label20"), nullptr);
  EXPECT_EQ(w.controls().size(), 6u);
  EXPECT_EQ(w.ports(3).qualifiedName(), "Check10(3)");

  EXPECT_THROW(w.add<Label>("label20"), std::logic_error);
  EXPECT_THROW(w.add<CheckBox>("Check10", 1), std::logic_error);
  EXPECT_THROW(w.add<CheckBox>("Check10"), std::logic_error);
  Form other("Form2");
  EXPECT_THROW(other.add<Label>("Label1", -1, &w.frame), std::logic_error);
  try {
    w.ports(4);
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 340);
  }
}

TEST(Form, AnArrayHandlerGetsTheIndexAlsoForElementsAddedLater) {
  Window w;
  std::vector<int> clicked;
  w.ports.connect(&CheckBox::Click, [&](int index) { clicked.push_back(index); });
  w.ports.add(7);
  w.ports(2).setValue(1);
  w.ports(7).setValue(1);
  EXPECT_EQ(clicked, (std::vector<int>{2, 7}));
  EXPECT_EQ(w.ports.lbound(), 0);
  EXPECT_EQ(w.ports.ubound(), 7);
}

TEST(Form, TheMouseOverADisabledControlMovesItsContainer) {
  Window w;
  w.show();
  w.frame.move(100, 200, 3000, 2000);
  w.ports(1).move(10, 20, 1000, 300);
  Log moves;
  w.ports.connect(&CheckBox::MouseMove, [&](int index, int, int, double, double) {
    moves.push_back("Check10(" + std::to_string(index) + ")");
  });
  w.frame.MouseMove.connect([&](int, int, double x, double y) {
    moves.push_back("Frame11 " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
  });
  w.MouseMove.connect([&](int, int, double x, double y) {
    moves.push_back("Form1 " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
  });

  w.ports(1).userMouseMove(MouseButton::None, ShiftMask::None, 5, 5);
  w.ports(1).setEnabled(false);
  w.ports(1).userMouseMove(MouseButton::None, ShiftMask::None, 5, 5);
  w.frame.setEnabled(false);
  w.ports(1).userMouseMove(MouseButton::None, ShiftMask::None, 5, 5);
  EXPECT_EQ(moves, (Log{"Check10(1)", "Frame11 15,25", "Form1 115,225"}));
}

TEST(Form, AWidgetHearsOfTheNewValueBeforeTheProgramsHandlerRuns) {
  Window w;
  auto& slider = w.add<Slider>("Slider6");
  Log log;
  slider.PropertyChanged.connect([&](Prop p) { log.push_back(std::string(propName(p)) + " " + std::to_string(slider.value())); });
  slider.Change.connect([&] {
    log.push_back("Change");
    slider.setText("readout");
  });
  slider.setValue(5);
  EXPECT_EQ(log, (Log{"Value 5", "Change", "Text 5"}));
}

}  // namespace
}  // namespace tw::forms
