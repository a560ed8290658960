#include "ui/forms/form.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/ui/forms/helpers.h"
#include "ui/forms/buttons.h"
#include "ui/forms/slider.h"
#include "ui/forms/static_controls.h"

namespace tw::forms {
namespace {

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

TEST(Form, FindsControlsByNameAndIndexAndRefusesDuplicates) {
  Window w;
  EXPECT_EQ(w.find("check10", 2), &w.ports(2));
  EXPECT_EQ(w.find("Check10"), nullptr) << "an array needs an index";
  EXPECT_EQ(w.findAs<Label>("LABEL20"), &w.status);
  EXPECT_EQ(w.findAs<Slider>("Label20"), nullptr);

  EXPECT_THROW(w.add<Label>("label20"), std::logic_error);
  EXPECT_THROW(w.add<CheckBox>("Check10", 1), std::logic_error);
  Form other("Form2");
  EXPECT_THROW(other.add<Label>("Label1", -1, &w.frame), std::logic_error);
  EXPECT_EQ(errorOf([&] { w.ports(4); }), 340);
}

TEST(Form, AnArrayHandlerGetsTheIndexAlsoForElementsAddedLater) {
  Window w;
  std::vector<int> clicked;
  w.ports.connect(&CheckBox::Click, [&](int index) { clicked.push_back(index); });
  w.ports.add(7);
  w.ports(2).setValue(1);
  w.ports(7).setValue(1);
  EXPECT_EQ(clicked, (std::vector<int>{2, 7}));
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
