#pragma once
// The run-time error a call raises, for tests of code that reports failures
// the way the language does.

#include <functional>

#include "host/runtime/errors.h"

namespace tw::test {

// The error number `call` raises, or 0 when it raises none.
inline int errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace tw::test
