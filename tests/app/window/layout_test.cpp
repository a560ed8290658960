// The main window as the front end will draw it: every control the window
// declares exists with its kind, sits inside its container, and no two
// controls that can be seen together overlap, on any tab.  Then the tab
// strip's handler, which decides what can be seen.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using namespace tw::forms;

struct Declared {
  const char* name;
  int index;
  const char* type;
};

// The controls other parts of the program refer to by name.
constexpr Declared kDeclared[] = {
    {"TabStrip1", -1, "TabStrip"}, {"Frame1", -1, "Frame"},        {"Frame4", -1, "Frame"},
    {"Frame6", -1, "Frame"},       {"Frame10", -1, "Frame"},       {"Frame11", -1, "Frame"},
    {"Frame12", -1, "Frame"},      {"Frame7", -1, "Frame"},        {"Frame8", -1, "Frame"},
    {"Frame9", -1, "Frame"},       {"Frame13", -1, "Frame"},       {"Picture5", -1, "PictureBox"},
    {"Picture2", -1, "PictureBox"}, {"Picture6", -1, "PictureBox"}, {"Picture1", 3, "PictureBox"},
    {"Label3", -1, "Label"},       {"Label2", -1, "Label"},        {"Label7", -1, "Label"},
    {"LRe", 2, "Label"},           {"Label11", -1, "Label"},       {"Label14", -1, "Label"},
    {"Label4", 0, "Label"},        {"Label30", 9, "Label"},        {"Label31", 9, "Label"},
    {"Combo1", -1, "ComboBox"},    {"cAdd", -1, "CommandButton"},  {"cRemove", -1, "CommandButton"},
    {"Label9", -1, "Label"},       {"Label17", -1, "Label"},       {"Label1", 2, "Label"},
    {"Label18", 1, "Label"},       {"Slider5", -1, "Slider"},      {"text5", -1, "Label"},
    {"Check6", -1, "CheckBox"},    {"Check10", 3, "CheckBox"},     {"Check11", -1, "CheckBox"},
    {"Slider6", -1, "Slider"},     {"Slider11", -1, "Slider"},     {"Label10", -1, "Label"},
    {"Label12", -1, "Label"},      {"Label16", -1, "Label"},       {"Label24", -1, "Label"},
    {"Label25", -1, "Label"},      {"Label21", 1, "Label"},        {"Combo4", -1, "ComboBox"},
    {"Slider9", -1, "Slider"},     {"Label23", -1, "Label"},       {"Check12", -1, "CheckBox"},
    {"Label27", 2, "Label"},       {"Combo3", 2, "ComboBox"},      {"Combo2", -1, "ComboBox"},
    {"Command2", -1, "CommandButton"}, {"Command4", -1, "CommandButton"}, {"Command5", -1, "CommandButton"},
    {"Label28", -1, "Label"},      {"Option4", -1, "OptionButton"}, {"Option3", -1, "OptionButton"},
    {"Command3", 1, "CommandButton"}, {"Check7", -1, "CheckBox"},   {"Check14", -1, "CheckBox"},
    {"Option2", 4, "OptionButton"}, {"Option1", 6, "OptionButton"}, {"Web", -1, "WebBrowser"},
    {"Label29", -1, "Label"},      {"Label8", -1, "Label"},        {"Command1", -1, "CommandButton"},
    {"cEx", -1, "CommandButton"},  {"Label20", -1, "Label"},       {"Image4", -1, "Image"},
    {"Timer1", -1, "Timer"},
};

bool seen(const Control& c) {
  for (const Control* x = &c; x != nullptr; x = x->container())
    if (!x->visible() && dynamic_cast<const Form*>(x) == nullptr) return false;
  return true;
}

bool overlap(const Control& a, const Control& b) {
  return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() && a.top() < b.top() + b.height() &&
         b.top() < a.top() + a.height();
}

// The controls of one container that can be seen at the moment; timers take
// no room, and the tab frames lie on the tab strip by design.
void expectNoOverlap(const Form& form, const std::string& where) {
  std::vector<const Control*> all(form.controls().begin(), form.controls().end());
  for (size_t i = 0; i < all.size(); ++i) {
    const Control& a = *all[i];
    if (!seen(a) || dynamic_cast<const Timer*>(&a)) continue;
    for (size_t j = i + 1; j < all.size(); ++j) {
      const Control& b = *all[j];
      if (!seen(b) || dynamic_cast<const Timer*>(&b) || a.container() != b.container()) continue;
      const bool tabFrame = (a.name() == "TabStrip1" || b.name() == "TabStrip1");
      if (tabFrame) continue;
      EXPECT_FALSE(overlap(a, b)) << where << ": " << a.qualifiedName() << " and " << b.qualifiedName();
    }
  }
}

TEST(MainWindowLayout, EveryDeclaredControlExistsWithItsKind) {
  test::TunerMachine t;
  app::Form1 f({*t.m.host, &t.env, false, nullptr, ""});
  for (const Declared& d : kDeclared) {
    const Control* c = f.find(d.name, d.index);
    ASSERT_NE(c, nullptr) << d.name << "(" << d.index << ")";
    EXPECT_STREQ(c->typeName(), d.type) << d.name;
  }
  EXPECT_EQ(f.caption(), "Tunewell");
  EXPECT_EQ(f.width(), 6870);
  EXPECT_EQ(f.height(), 6555);
  EXPECT_EQ(f.Label20->caption(), "Welcome to Tunewell!");
  EXPECT_EQ(f.Label31(3).caption(), "Unknown");
  EXPECT_FALSE(f.Timer1->enabled());
  // The tabs in order with their image numbers.
  const std::pair<const char*, int> tabs[] = {{"Status", 1}, {"Cache", 2}, {"Tweaks", 3},
                                              {"Tools", 6},  {"Options", 4}, {"Help", 5}};
  ASSERT_EQ(f.TabStrip1->tabCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(f.TabStrip1->tab(i + 1).caption, tabs[i].first);
    EXPECT_EQ(f.TabStrip1->tab(i + 1).image, tabs[i].second);
  }
}

TEST(MainWindowLayout, EveryControlFitsInItsContainerAndNothingOverlapsOnAnyTab) {
  test::TunerMachine t;
  auto& f = t.start();
  f.show();
  for (const Control* c : f.controls()) {
    if (dynamic_cast<const Timer*>(c)) continue;
    const Control* parent = c->container();
    EXPECT_GT(c->width(), 0) << c->qualifiedName();
    EXPECT_GT(c->height(), 0) << c->qualifiedName();
    EXPECT_GE(c->left(), 0) << c->qualifiedName();
    EXPECT_GE(c->top(), 0) << c->qualifiedName();
    EXPECT_LE(c->left() + c->width(), parent->width()) << c->qualifiedName();
    EXPECT_LE(c->top() + c->height(), parent->height()) << c->qualifiedName();
  }
  for (int tab = 1; tab <= 6; ++tab) {
    ASSERT_TRUE(tab == 1 || f.TabStrip1->userSelect(tab));
    expectNoOverlap(f, "tab " + std::to_string(tab));
  }
}

TEST(MainWindowTabs, EachTabShowsItsFrameAndStatusAndRunsTheGaugesOnlyOnStatus) {
  test::TunerMachine t;
  auto& f = t.start();
  f.show();
  struct Row {
    int tab;
    Frame* frame;
    const char* status;
  };
  const Row rows[] = {{3, f.Frame11, "Fine tune your system into a performance masterpiece!"},
                      {4, f.Frame12, "Some handy tools to further tweak your system to perfection."},
                      {5, f.Frame6, "You can tweak Tunewell to your particular tastes also!"},
                      {2, f.Frame4, "Take control of your cache instead of it taking control of your memory!"},
                      {1, f.Frame1, "See at a glance how well your system is tuned. Hold your cursor over a gauge for details."}};
  for (const Row& r : rows) {
    ASSERT_TRUE(f.TabStrip1->userSelect(r.tab));
    for (Frame* frame : {f.Frame1, f.Frame4, f.Frame11, f.Frame12, f.Frame6, f.Frame10})
      EXPECT_EQ(frame->visible(), frame == r.frame) << "tab " << r.tab << " " << frame->name();
    EXPECT_EQ(f.Label20->caption(), r.status);
    EXPECT_EQ(t.env.running(*f.Timer1), r.tab == 1) << "tab " << r.tab;
  }
}

TEST(MainWindowTabs, TheHelpTabOpensTheLocalStartPageOnlyWhenItExists) {
  test::TunerMachine t;
  auto& f = t.start();
  f.show();
  ASSERT_TRUE(f.TabStrip1->userSelect(6));
  EXPECT_EQ(f.Web->pendingURL(), "C:\\Program Files\\Tunewell\\Help\\Main.html");
  EXPECT_EQ(f.Label20->caption(), "Need some help? Then you've come to the right place!");

  f.Web->navigationCompleted("about:blank");
  std::filesystem::remove(t.programFolder() / "Help" / "Main.html");
  ASSERT_TRUE(f.TabStrip1->userSelect(1));
  ASSERT_TRUE(f.TabStrip1->userSelect(6));
  EXPECT_FALSE(f.Web->busy());
  EXPECT_TRUE(f.Frame10->visible());
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

}  // namespace
}  // namespace tw
