#pragma once
// What the control tests share: an event log and the number of the run-time
// error a statement raises.

#include <functional>
#include <string>
#include <vector>

#include "host/runtime/errors.h"

namespace tw::forms {

using Log = std::vector<std::string>;

// The error number f raises, or 0 when it raises none.
inline int errorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace tw::forms
