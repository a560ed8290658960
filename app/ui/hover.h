#pragma once
// The main window's hover descriptions: the status line tells what the
// control under the pointer is for.

namespace tw::app {

class Form1;

// Connects a MouseMove handler to the window's background and to every
// control that has a description.
void connectHoverDescriptions(Form1& form);

}  // namespace tw::app
