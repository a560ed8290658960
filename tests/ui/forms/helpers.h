#pragma once
// What the control tests share: an event log and the number of the run-time
// error a statement raises.

#include <string>
#include <vector>

#include "tests/support/errors.h"

namespace tw::forms {

using Log = std::vector<std::string>;
using test::errorOf;

}  // namespace tw::forms
