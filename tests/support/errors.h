#pragma once
// The run-time error a call raises, for tests of code that reports failures
// the way the language does, and the message of an exception a call throws.

#include <functional>
#include <string>

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

// The message of the E that `call` throws, or "" when it throws none (which
// then fails any test for a word of the message).
template <class E>
std::string messageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const E& e) {
    return e.what();
  }
  return "";
}

}  // namespace tw::test
