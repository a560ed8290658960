#include "ui/forms/event.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tw::forms {
namespace {

TEST(Event, HandlersMayDisconnectThemselvesAndConnectOthersWhileRaised) {
  struct Scene {
    Event<int> event;
    std::vector<std::string> log;
    int self = 0;
  } s;
  // One pointer of capture keeps the handler inside its std::function, so a
  // slot that moved while the handler runs would pull its captures away.
  s.self = s.event.connect([p = &s](int v) {
    p->event.disconnect(p->self);
    p->event.connect([p](int w) { p->log.push_back("late " + std::to_string(w)); });
    p->log.push_back("once " + std::to_string(v));
  });
  s.event.connect([p = &s](int v) { p->log.push_back("always " + std::to_string(v)); });

  s.event.raise(1);
  s.event.raise(2);
  EXPECT_EQ(s.log, (std::vector<std::string>{"once 1", "always 1", "always 2", "late 2"}));
}

TEST(Event, AnExceptionReachesTheRaiserAndLeavesTheEventUsable) {
  Event<> event;
  int calls = 0;
  int failing = event.connect([&] {
    ++calls;
    throw std::runtime_error("handler failed");
  });
  EXPECT_THROW(event.raise(), std::runtime_error);
  // A disconnect after the failed raise takes effect at once.
  event.disconnect(failing);
  EXPECT_FALSE(event.hasHandlers());
  EXPECT_NO_THROW(event.raise());
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace tw::forms
