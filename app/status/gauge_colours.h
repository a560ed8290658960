#pragma once
// The two colours of a gauge bar, in the platform's &HBBGGRR form.

#include "ui/forms/control.h"

namespace tw::app {

// The empty part: blue 254.
inline constexpr forms::Color kGaugeEmpty = 0xFE0000;
// The filled part: red 88, green 227, blue 255.
inline constexpr forms::Color kGaugeFilled = 0xFFE358;

}  // namespace tw::app
