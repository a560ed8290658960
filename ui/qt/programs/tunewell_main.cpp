// tunewell: the tuner on the Qt front end.
//
//   tunewell [Qt options] [--machine DIR] [--screenshots DIR] [/Ns]
//
// Qt takes its own options (-platform, -style ...) first; then the host's
// own options are taken off, and what remains is the program's command line
// (Command$).  --screenshots DIR runs start-up, saves the splash picture and
// every tab of the main window as PNG files in DIR, prints their paths and
// leaves through the main window's normal exit.  --report-shown is the
// start-up benchmark's (shown_probe.h).

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QThread>

#include "app/startup/program.h"
#include "host/host.h"
#include "ui/qt/application.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/form_window.h"
#include "ui/qt/heap_headroom.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_environment.h"
#include "ui/qt/shown_probe.h"

namespace {

namespace fs = std::filesystem;

// Takes "--screenshots DIR" (or "--screenshots=DIR") off the arguments.
std::optional<fs::path> takeScreenshotFolder(std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--screenshots" && i + 1 < args.size()) {
      fs::path folder = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return folder;
    }
    if (args[i].rfind("--screenshots=", 0) == 0) {
      fs::path folder = args[i].substr(14);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      return folder;
    }
  }
  return std::nullopt;
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool save(QWidget& window, const fs::path& file) {
  if (!window.grab().save(QString::fromStdString(file.string()), "PNG")) {
    std::fprintf(stderr, "tunewell: cannot write %s\n", file.c_str());
    return false;
  }
  std::printf("%s\n", file.c_str());
  return true;
}

// Lets the window settle: pending paints, and pages the browser is loading
// (for three seconds at most).
void settle(tw::forms::Form& form) {
  auto loading = [&form] {
    for (tw::forms::Control* c : form.controls()) {
      auto* web = dynamic_cast<tw::forms::WebBrowser*>(c);
      if (web != nullptr && web->busy()) return true;
    }
    return false;
  };
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!loading()) break;
    QThread::msleep(5);
  } while (clock.elapsed() < 3000);
  QCoreApplication::processEvents();
}

// The screenshots: the splash picture (when it shows), then the main window
// on each tab in turn, chosen the way the user chooses one.
int takeScreenshots(tw::app::TunerProgram& program, tw::qt::FormWindow& mainWindow,
                    tw::qt::FormWindow& splashWindow, const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  bool ok = true;
  settle(program.splash());
  if (program.splash().visible()) {
    ok = save(splashWindow, folder / "splash.png") && ok;
    // The splash timer's tick shows the main window and closes the splash.
    program.splash().Timer1->tick();
  }
  if (!program.main().visible()) program.main().show();
  settle(program.main());

  tw::forms::TabStrip* strip = nullptr;
  for (tw::forms::Control* c : program.main().controls()) {
    if ((strip = dynamic_cast<tw::forms::TabStrip*>(c)) != nullptr) break;
  }
  QTabBar* bar = strip != nullptr ? mainWindow.widgetFor(*strip)->findChild<QTabBar*>() : nullptr;
  if (bar == nullptr) {
    ok = save(mainWindow, folder / "main.png") && ok;
  } else {
    for (int i = 0; i < bar->count(); ++i) {
      bar->setCurrentIndex(i);
      settle(program.main());
      const std::string name = std::to_string(i + 1) + "-" + lowerCase(bar->tabText(i).toStdString()) + ".png";
      ok = save(mainWindow, folder / name) && ok;
    }
  }
  program.main().unload();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!tw::qt::canShowWindows(argc, argv)) {
    std::fprintf(stderr,
                 "tunewell: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
                 "'%s/scripts/screenshots.sh [DIR]' runs it offscreen and saves a screenshot of every tab\n",
                 TW_SOURCE_DIR);
    return 1;
  }
  // Start-up needs no fonts until the windows are made: the font
  // configuration is read meanwhile, and then the heap's room to grow is
  // made ready for the windows.
  const tw::qt::HeapHeadroom heap;
  tw::qt::FontConfigWarmUp fonts([&heap] { heap.makePresent(); });
  const bool reportShown = tw::qt::ShownProbe::takeOption(argc, argv);
  const bool styleChosen = tw::qt::styleChosenByUser(argc, argv);
  QApplication app(argc, argv);
  const tw::qt::FontConfigWarmUp::ApplicationMade fontsMayFillDatabase(fonts);
  app.setApplicationName(QStringLiteral("Tunewell"));
  app.setQuitOnLastWindowClosed(false);
  tw::qt::applyClassicStyle(styleChosen);

  std::vector<std::string> args(argv + 1, argv + argc);
  const std::optional<fs::path> screenshots = takeScreenshotFolder(args);
  const tw::app::ProgramArgs programArgs = tw::app::takeProgramArgs(std::move(args));

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
  if (screenshots || reportShown) {
    // Nobody is there to answer: a box would wait for ever.  It is written
    // to standard error and answered with its default button.
    dialogs->setBoxRunner([](QMessageBox& box) -> QAbstractButton* {
      std::fprintf(stderr, "tunewell: MsgBox \"%s\": \"%s\"\n", qPrintable(box.windowTitle()), qPrintable(box.text()));
      return box.defaultButton();
    });
    dialogs->setFileRunner([](QFileDialog&) -> std::optional<QString> { return std::nullopt; });
  }

  int status = 0;
  {
    tw::app::TunerProgram program(*host, environment, programArgs.commandLine);
    // Start-up runs before the windows are made: they are built from the
    // forms as start-up left them, and show what the forms show.
    program.start();
    if (program.finished()) {
      status = 0;  // a second copy, or a Windows the program does not run on
    } else {
      fonts.wait();
      tw::qt::applyClassicFont(app);
      if (!tw::qt::fontsVisible()) {
        std::fprintf(stderr, "tunewell: no font draws letters; install fonts-dejavu-core and fontconfig\n");
      }
      app.setWindowIcon(QIcon(pictures.pixmap("Icon")));
      tw::qt::FormWindow::Options mainOptions;
      mainOptions.toHostPath = toHost;
      mainOptions.toWindowsPath = toWindows;
      tw::qt::FormWindow mainWindow(program.main(), &pictures, mainOptions);
      tw::qt::FormWindow::Options splashOptions;
      splashOptions.frameless = true;
      tw::qt::FormWindow splashWindow(program.splash(), &pictures, splashOptions);
      dialogs->setParent(&mainWindow);
      tw::qt::ShownProbe probe;
      if (reportShown) {
        probe.watch(&mainWindow);
        probe.watch(&splashWindow);
      }
      // Unloading the main window ends the program.
      program.main().PropertyChanged.connect([&program](tw::forms::Prop prop) {
        if (prop == tw::forms::Prop::Loaded && program.finished()) {
          QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
      });
      if (screenshots) {
        status = takeScreenshots(program, mainWindow, splashWindow, *screenshots);
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
