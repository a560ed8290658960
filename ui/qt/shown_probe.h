#pragma once
// For the start-up benchmark: a program started with --report-shown prints
// "shown <nanoseconds of the steady clock>" on standard output once its first
// window has been shown and painted, and quits.  Header-only, so that the
// empty comparison window uses exactly the same probe without linking the
// front end.

#include <chrono>
#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace tw::qt {

class ShownProbe : public QObject {
 public:
  // Takes "--report-shown" off the arguments; true when it was there.
  static bool takeOption(int& argc, char** argv) {
    bool found = false;
    int out = 1;
    for (int i = 1; i < argc; ++i) {
      if (std::strcmp(argv[i], "--report-shown") == 0) {
        found = true;
      } else {
        argv[out++] = argv[i];
      }
    }
    argc = out;
    argv[argc] = nullptr;
    return found;
  }

  // Watches the windows; the first one painted ends the program.
  void watch(QWidget* window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      // The rest of the window paints in the same pass: report once it is
      // done.
      QTimer::singleShot(0, [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("shown %lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }

 private:
  bool reported_ = false;
};

}  // namespace tw::qt
