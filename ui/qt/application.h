#pragma once
// What a program of this system checks before and after it makes its
// QApplication.

namespace tw::qt {

// Whether Qt can open windows here: a display (X11 or Wayland), or a Qt
// platform chosen with QT_QPA_PLATFORM or -platform.  Without one, Qt would
// abort the program.
bool canShowWindows(int argc, char** argv);

// Whether the user chose a style (-style or QT_STYLE_OVERRIDE), which then
// wins over the classic look.
bool styleChosenByUser(int argc, char** argv);

// Whether the application font draws letters: with no font visible to
// fontconfig every glyph is a hollow box and nothing says so.
bool fontsVisible();

}  // namespace tw::qt
