#pragma once
// Which text of the string table the status line shows while the pointer is
// over a control of the main window.  Controls the table does not name have
// no description: the pointer over them leaves the status line as it was.

#include <optional>
#include <string_view>

namespace tw::app {

// The text for control `name` (element `index` of a control array, -1 for a
// single control); nullopt for a control without a description.  Form1
// itself is the window's background.
std::optional<int> hoverTextOf(std::string_view name, int index);

// The credit label whose pointer becomes the hand (cursor resource 101)
// before its description shows.
inline constexpr std::string_view kCreditLabel = "Label29";
inline constexpr const char* kHandCursor = "Hand";

}  // namespace tw::app
