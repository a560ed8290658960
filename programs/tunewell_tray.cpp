// tunewell-tray: the tray utility, as the machine's Plinth.exe.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QSystemTrayIcon>

#include "app/settings/shared_names.h"
#include "host/host.h"
#include "host/runtime/codepage.h"
#include "host/shell/close_requests.h"
#include "host/shell/instance.h"
#include "programs/command_line.h"
#include "tray/program.h"
#include "tray/qt/tray_icon.h"
#include "ui/qt/application.h"

namespace {

constexpr const char* kUsage =
    "usage: tunewell-tray [--machine DIR] [--runtime DIR] [/Tray]\n"
    "       tunewell-tray --help | --version\n"
    "Shows one measure of this host (the tuner's \"Set Tray Icon\" choice) as a small\n"
    "gauge in the notification area, with the figure in its tooltip, refreshed at the\n"
    "tuner's \"Set Gauge Refresh\" interval; the preferences are those of the machine\n"
    "in DIR, else in $TUNEWELL_MACHINE, else of the default machine.  Its menu opens\n"
    "Tunewell or exits; the tuner closes it as it starts.  Only one runs per runtime\n"
    "folder (--runtime DIR, else the per-user one): a second ends at once.  Without a\n"
    "display or a notification area it says so and exits with status 1.\n";

const tw::programs::ProgramOptions kOptions{"tunewell-tray", kUsage, {{"--machine", true}, {"--runtime", true}}};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = tw::programs::answerCommonOptions(kOptions, args, std::cout, std::cerr)) return *status;
  if (const std::optional<std::string> runtime = tw::programs::takeOptionValue(args, "--runtime")) {
    tw::shell::setRuntimeFolder(*runtime);
  }
  const std::filesystem::path root = tw::Machine::chooseRoot(args);
  // The switch the tuner starts it with; Windows compares switches without case.
  if (args.size() > 1 || (args.size() == 1 && !tw::ansiEqualNoCase(args[0], tw::app::kTraySwitch))) {
    std::cerr << "tunewell-tray: unknown command line (tunewell-tray --help shows it)\n";
    return tw::programs::kUsageError;
  }

  // Before Qt starts any thread, so that WM_CLOSE reaches the event loop.
  tw::shell::CloseRequests closeRequests;
  if (!tw::qt::canShowWindows(argc, argv)) {
    std::fprintf(stderr, "tunewell-tray: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)\n");
    return 1;
  }
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  app.setQuitOnLastWindowClosed(false);
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    std::fprintf(stderr, "tunewell-tray: this desktop has no notification area to show the icon in\n");
    return 1;
  }

  try {
    tw::Host host(root, std::make_shared<tw::ScriptedDialogs>());
    tw::tray::TrayProgram program(host, {}, [] { QCoreApplication::quit(); });
    if (program.previousInstance()) return 0;
    tw::tray::TrayIcon icon(program, closeRequests);
    icon.show();
    return app.exec();
  } catch (const std::exception& e) {
    std::cerr << "tunewell-tray: " << e.what() << "\n";
    return 1;
  }
}
