#include "ui/qt/event_guard.h"

#include <cstdio>

#include "host/runtime/guard.h"

namespace tw::qt {

namespace {
UnhandledErrorHandler& handlerSlot() {
  static UnhandledErrorHandler handler;
  return handler;
}
}  // namespace

void setUnhandledErrorHandler(UnhandledErrorHandler handler) { handlerSlot() = std::move(handler); }

std::string describeUnhandled(std::exception_ptr error) {
  const RuntimeError e = asRuntimeError(std::move(error));
  return "Run-time error '" + std::to_string(e.number()) + "':\n\n" + e.description();
}

void reportUnhandled(std::exception_ptr error) noexcept {
  try {
    const std::string message = describeUnhandled(std::move(error));
    if (handlerSlot()) {
      handlerSlot()(message);
    } else {
      std::fprintf(stderr, "%s\n", message.c_str());
    }
  } catch (...) {
    std::fputs("Run-time error\n", stderr);
  }
}

}  // namespace tw::qt
