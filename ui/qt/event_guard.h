#pragma once
// Qt calls the front end from its event loop, and nothing may unwind through
// the loop: every call from Qt into a control model (a click, a key, a timer
// tick) runs inside guarded(), which hands an error that an event handler
// let escape to the program's handler.  By default the error is written to
// standard error as the runtime words it ("Run-time error '380': ...") and
// the program goes on.

#include <exception>
#include <functional>
#include <string>

namespace tw::qt {

using UnhandledErrorHandler = std::function<void(const std::string& message)>;

// Replaces the handler (an empty function restores the default).
void setUnhandledErrorHandler(UnhandledErrorHandler handler);
// "Run-time error '<number>':\n\n<description>" for any exception.
std::string describeUnhandled(std::exception_ptr error);
void reportUnhandled(std::exception_ptr error) noexcept;

template <class Body>
void guarded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    reportUnhandled(std::current_exception());
  }
}

}  // namespace tw::qt
