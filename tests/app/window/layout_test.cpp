// The main window as the front end will draw it: every control sits inside
// its container, and no two controls that can be seen together overlap, on
// any tab.  Then the tab
// strip's handler, which decides what can be seen.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using namespace tw::forms;

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
      if (a.name() == "TabStrip1" || b.name() == "TabStrip1") continue;
      EXPECT_FALSE(overlap(a, b)) << where << ": " << a.qualifiedName() << " and " << b.qualifiedName();
    }
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
