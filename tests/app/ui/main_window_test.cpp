// The main window as the front end will draw it: every control sits inside
// its container, and no two controls that can be seen together overlap, on
// any tab.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::MainWindow;
bool seen(const forms::Control& c) {
  for (const forms::Control* x = &c; x != nullptr; x = x->container())
    if (!x->visible() && dynamic_cast<const forms::Form*>(x) == nullptr) return false;
  return true;
}

bool overlap(const forms::Control& a, const forms::Control& b) {
  return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() && a.top() < b.top() + b.height() &&
         b.top() < a.top() + a.height();
}

// The controls of one container that can be seen at the moment; timers take
// no room, and the tab frames lie on the tab strip by design.
void expectNoOverlap(const forms::Form& form, const std::string& where) {
  std::vector<const forms::Control*> all(form.controls().begin(), form.controls().end());
  for (size_t i = 0; i < all.size(); ++i) {
    const forms::Control& a = *all[i];
    if (!seen(a) || dynamic_cast<const forms::Timer*>(&a)) continue;
    for (size_t j = i + 1; j < all.size(); ++j) {
      const forms::Control& b = *all[j];
      if (!seen(b) || dynamic_cast<const forms::Timer*>(&b) || a.container() != b.container()) continue;
      if (a.name() == "TabStrip1" || b.name() == "TabStrip1") continue;
      EXPECT_FALSE(overlap(a, b)) << where << ": " << a.qualifiedName() << " and " << b.qualifiedName();
    }
  }
}

TEST_F(MainWindow, EveryControlFitsInItsContainerAndNothingOverlapsOnAnyTab) {
  for (const forms::Control* c : f.controls()) {
    if (dynamic_cast<const forms::Timer*>(c)) continue;
    const forms::Control* parent = c->container();
    EXPECT_TRUE(c->width() > 0 && c->height() > 0 && c->left() >= 0 && c->top() >= 0 &&
                c->left() + c->width() <= parent->width() && c->top() + c->height() <= parent->height())
        << c->qualifiedName() << " at " << c->left() << "," << c->top() << " size " << c->width() << "x" << c->height();
  }
  for (int tab = 1; tab <= 6; ++tab) {
    ASSERT_TRUE(tab == 1 || f.TabStrip1->userSelect(tab));
    expectNoOverlap(f, "tab " + std::to_string(tab));
  }
}

}  // namespace
}  // namespace tw
