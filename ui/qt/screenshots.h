#pragma once
// Pictures of a program's windows as its user first sees them, saved as PNG
// files: the splash window when it shows, then the main window on each tab
// of its tab strip, chosen the way the user chooses one.  The README's
// screenshots and the reviews of the look are made with these.

#include <filesystem>
#include <functional>
#include <string>

#include "ui/forms/form.h"
#include "ui/qt/form_window.h"

namespace tw::qt {

struct ProgramWindows {
  forms::Form& splash;
  FormWindow* splashWindow;         // null when the splash never shows
  std::function<void()> endSplash;  // what the splash's own timer does when it runs out
  forms::Form& main;
  FormWindow& mainWindow;
};

// Saves the pictures in `folder` (made when missing), prints each file's
// path on standard output and unloads the main window.  0 when every file
// was written; 1 otherwise, each failure named on standard error after
// "<program>: ".
int saveScreenshots(const ProgramWindows& windows, const std::filesystem::path& folder, const std::string& program);

}  // namespace tw::qt
