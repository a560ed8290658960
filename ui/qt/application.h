#pragma once
// What a program of this system checks before and after it makes its
// QApplication.

#include <condition_variable>
#include <functional>
#include <mutex>

#include "ui/qt/startup_thread.h"

namespace tw::qt {

// Reads the host's font configuration on a thread of its own while the
// program starts, and then fills Qt's font database from it once the
// QApplication exists.  Both are large parts of the time to a first window,
// and nothing needs them before the first widget is made; a program starts
// this first thing in main and waits for it before it makes its windows (or
// anything else asks Qt about fonts).
//
// `afterwards`, when given, runs on the thread once the database is filled:
// work for a thread that would otherwise be done.  It must be safe beside
// whatever the main thread does meanwhile.
class FontConfigWarmUp {
 public:
  explicit FontConfigWarmUp(std::function<void()> afterwards = {});
  ~FontConfigWarmUp();
  FontConfigWarmUp(const FontConfigWarmUp&) = delete;
  FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

  // Made right after the QApplication: the thread may then fill the font
  // database, and it is waited for before the application goes.
  class ApplicationMade {
   public:
    explicit ApplicationMade(FontConfigWarmUp& fonts);
    ~ApplicationMade();
    ApplicationMade(const ApplicationMade&) = delete;
    ApplicationMade& operator=(const ApplicationMade&) = delete;

   private:
    FontConfigWarmUp& fonts_;
  };

  void wait();

 private:
  enum class Next { Undecided, FillDatabase, Stop };
  void run();
  void decide(Next next);

  std::mutex mutex_;
  std::condition_variable decided_;
  Next next_ = Next::Undecided;
  std::function<void()> afterwards_;
  StartupThread thread_;  // last: it starts at once
};

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
