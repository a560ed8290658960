#include "ui/forms/timer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "host/runtime/errors.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

struct Window : Form {
  explicit Window(ManualEnvironment& env) : Form("Form1", &env) {
    timer.setEnabled(false);  // designed switched off, as the gauge timer is
    timer.setInterval(500);
    timer.Tick.connect([this, &env] { ticks.push_back(env.now()); });
  }
  Timer& timer = add<Timer>("Timer1");
  std::vector<int64_t> ticks;
};

TEST(Timer, TicksOnlyWhileEnabledWithAnIntervalOnALoadedForm) {
  ManualEnvironment env;
  Window w(env);
  w.timer.setEnabled(true);
  env.advance(1000);
  EXPECT_TRUE(w.ticks.empty()) << "the form is not loaded";

  w.load();
  env.advance(1000);
  w.timer.setInterval(0);
  env.advance(1000);
  w.timer.setInterval(250);
  w.timer.setEnabled(false);
  env.advance(1000);
  EXPECT_EQ(w.ticks, (std::vector<int64_t>{1500, 2000}));

  // A new interval restarts the countdown; enabling a running timer does not.
  w.timer.setInterval(500);
  w.timer.setEnabled(true);
  env.advance(400);
  w.timer.setInterval(1000);
  env.advance(999);
  EXPECT_EQ(w.ticks.size(), 2u);
  w.timer.setEnabled(true);
  env.advance(1);
  EXPECT_EQ(w.ticks, (std::vector<int64_t>{1500, 2000, 5400}));

  w.timer.setEnabled(true);
  w.unload();
  env.advance(1000);
  EXPECT_EQ(w.ticks.size(), 3u);
  EXPECT_FALSE(env.running(w.timer));
  EXPECT_THROW(w.timer.setInterval(65536), RuntimeError);
}

TEST(Timer, ATickArrivingWhileItsHandlerLetsMessagesRunIsDropped) {
  ManualEnvironment env;
  Window w(env);
  int depth = 0, deepest = 0;
  w.timer.Tick.connect([&] {
    ++depth;
    deepest = std::max(deepest, depth);
    w.doEvents();  // the gauge refresh lets messages run, here a whole second of them
    --depth;
  });
  env.setDoEventsHook([&] { env.advance(1000); });
  w.load();
  w.timer.setEnabled(true);
  env.advance(500);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(w.ticks.front(), 500);
}

TEST(Timer, AHandlerMayStopItsOwnTimerOrDestroyAnother) {
  ManualEnvironment env;
  Window w(env);
  std::unique_ptr<Window> other;
  w.timer.Tick.connect([&] {
    w.timer.setEnabled(false);
    other.reset();
  });
  w.load();
  w.timer.setEnabled(true);
  other = std::make_unique<Window>(env);
  other->load();
  other->timer.setEnabled(true);
  // Both are due at 500; the first started ticks first and destroys the
  // other, whose tick must not come.
  env.advance(5000);
  EXPECT_EQ(w.ticks, (std::vector<int64_t>{500}));
  EXPECT_EQ(other, nullptr);
}

}  // namespace
}  // namespace tw::forms
