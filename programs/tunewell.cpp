// tunewell: the tuner on the Qt front end.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>

#include "app/startup/program.h"
#include "host/host.h"
#include "host/shell/instance.h"
#include "programs/command_line.h"
#include "ui/qt/application.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/form_window.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_downloader.h"
#include "ui/qt/qt_environment.h"
#include "ui/qt/screenshots.h"
#include "ui/qt/shown_probe.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: tunewell [Qt options] [--machine DIR] [--runtime DIR] [--screenshots DIR] [COMMAND-LINE...]\n"
    "       tunewell --help | --version\n"
    "Tunes the Windows 9x installation in DIR, else in $TUNEWELL_MACHINE, else in the\n"
    "default machine.  What is left after the options is the tuner's own command line\n"
    "(/Ns leaves out the splash window).  --screenshots DIR runs start-up, saves the\n"
    "splash window and every tab of the main window as PNG files in DIR, prints their\n"
    "paths and exits.  --runtime DIR puts the instance lock and the window\n"
    "registrations in DIR.  Qt's own options (-platform NAME, -style NAME ...) come first.\n";

// Ours, and those Qt takes itself, which Qt accepts with two dashes too.
const tw::programs::ProgramOptions kOptions{
    "tunewell",
    kUsage,
    {{"--machine", true}, {"--runtime", true}, {"--screenshots", true}, {"--report-shown", false},
     {"--platform", true}, {"--platformpluginpath", true}, {"--platformtheme", true}, {"--plugin", true},
     {"--qwindowgeometry", true}, {"--qwindowicon", true}, {"--qwindowtitle", true}, {"--display", true},
     {"--geometry", true}, {"--style", true}, {"--stylesheet", true}, {"--session", true},
     {"--reverse", false}, {"--widgetcount", false}, {"--nograb", false}, {"--dograb", false}},
    true};

}  // namespace

int main(int argc, char** argv) {
  if (auto status = tw::programs::answerCommonOptions(kOptions, {argv + 1, argv + argc}, std::cout, std::cerr)) {
    return *status;
  }
  if (!tw::qt::canShowWindows(argc, argv)) {
    std::fprintf(stderr,
                 "tunewell: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
                 "'%s/scripts/screenshots.sh [DIR]' runs it offscreen and saves a screenshot of every tab\n",
                 TW_SOURCE_DIR);
    return 1;
  }
  const bool reportShown = tw::qt::ShownProbe::takeOption(argc, argv);
  const bool styleChosen = tw::qt::styleChosenByUser(argc, argv);
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Tunewell"));
  app.setQuitOnLastWindowClosed(false);
  tw::qt::applyClassicStyle(styleChosen);

  std::vector<std::string> args(argv + 1, argv + argc);
  const std::optional<fs::path> screenshots = tw::programs::takeOptionValue(args, "--screenshots");
  if (const std::optional<std::string> runtime = tw::programs::takeOptionValue(args, "--runtime")) {
    tw::shell::setRuntimeFolder(*runtime);
  }
  const tw::app::ProgramArgs programArgs = tw::app::takeProgramArgs(std::move(args));

  // Filling Qt's font database (fontconfig reads its whole configuration
  // and lists every face) needs nothing of the machine, so it runs while
  // start-up opens the machine and reads the settings; the window waits for
  // it before it sets its font.
  std::jthread fontReader([] { QFontDatabase::families(); });

  tw::qt::PictureStore pictures;
  tw::qt::QtEnvironment environment(&pictures);
  auto dialogs = std::make_shared<tw::qt::QtDialogs>();
  std::unique_ptr<tw::Host> host;
  try {
    host = std::make_unique<tw::Host>(programArgs.machineRoot, dialogs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tunewell: %s\n", e.what());
    return 1;
  }
  tw::Host::setProcess(host.get());
  host->setDoEvents([&environment] { environment.doEvents(); });
  tw::Machine& machine = host->machine();
  auto toHost = [&machine](const std::string& windows) { return machine.toHost(windows).string(); };
  auto toWindows = [&machine](const std::string& hostPath) { return machine.toWindows(hostPath); };
  pictures.setPathTranslator(toHost);
  dialogs->setPathTranslation(toHost, toWindows);
  tw::qt::setUnhandledErrorHandler([&dialogs](const std::string& message) {
    dialogs->msgBox(message, tw::MsgBoxStyle::Critical, "Tunewell");
  });
  if (screenshots || reportShown) dialogs->answerUnattended("tunewell");

  int status = 0;
  {
    tw::qt::QtDownloader downloader;
    tw::app::TunerProgram program(*host, environment, programArgs.commandLine);
    program.main().Inet1.setDownloader(&downloader);
    // Start-up runs before the windows are made: they are built from the
    // forms as start-up left them, and show what the forms show.
    program.start();
    if (!program.finished()) {  // else a second copy, or a Windows the program does not run on
      fontReader.join();
      tw::qt::applyClassicFont(app);
      if (!tw::qt::fontsVisible()) {
        std::fprintf(stderr, "tunewell: no font draws letters; install fonts-dejavu-core and fontconfig\n");
      }
      app.setWindowIcon(QIcon(pictures.pixmap("Icon")));
      tw::qt::FormWindow::Options mainOptions;
      mainOptions.toHostPath = toHost;
      mainOptions.toWindowsPath = toWindows;
      tw::qt::FormWindow mainWindow(program.main(), &pictures, mainOptions);
      // A splash that start-up has already unloaded (/Ns) never shows: its
      // window, and its picture, are not made at all.
      std::optional<tw::qt::FormWindow> splashWindow;
      if (program.splash().loaded()) {
        tw::qt::FormWindow::Options splashOptions;
        splashOptions.frameless = true;
        splashWindow.emplace(program.splash(), &pictures, splashOptions);
      }
      dialogs->setParent(&mainWindow);
      tw::qt::ShownProbe probe;
      if (reportShown) {
        probe.watch(&mainWindow);
        if (splashWindow) probe.watch(&*splashWindow);
      }
      // Unloading the main window ends the program.
      program.main().PropertyChanged.connect([&program](tw::forms::Prop prop) {
        if (prop == tw::forms::Prop::Loaded && program.finished()) {
          QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
      });
      if (screenshots) {
        // The splash timer's tick shows the main window and closes the splash.
        const tw::qt::ProgramWindows windows{program.splash(), splashWindow ? &*splashWindow : nullptr, [&program] { program.splash().Timer1->tick(); },
                                             program.main(), mainWindow};
        status = tw::qt::saveScreenshots(windows, *screenshots, "tunewell");
      } else {
        status = app.exec();
      }
      dialogs->setParent(nullptr);
    }
  }
  tw::qt::setUnhandledErrorHandler(nullptr);
  tw::Host::setProcess(nullptr);
  return status;
}
