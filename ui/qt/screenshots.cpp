#include "ui/qt/screenshots.h"

#include <cctype>
#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTabBar>
#include <QThread>

#include "ui/forms/tab_strip.h"
#include "ui/forms/web_browser.h"

namespace tw::qt {

namespace {

namespace fs = std::filesystem;

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool save(QWidget& window, const fs::path& file, const std::string& program) {
  if (!window.grab().save(QString::fromStdString(file.string()), "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", program.c_str(), file.c_str());
    return false;
  }
  std::printf("%s\n", file.c_str());
  return true;
}

// Lets the window settle: pending paints, and pages the browser is loading
// (for three seconds at most), so that a picture never shows half a page.
void settle(forms::Form& form) {
  auto loading = [&form] {
    for (forms::Control* c : form.controls()) {
      auto* web = dynamic_cast<forms::WebBrowser*>(c);
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

}  // namespace

int saveScreenshots(const ProgramWindows& windows, const fs::path& folder, const std::string& program) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  bool ok = true;
  settle(windows.splash);
  if (windows.splash.visible() && windows.splashWindow != nullptr) {
    ok = save(*windows.splashWindow, folder / "splash.png", program) && ok;
    if (windows.endSplash) windows.endSplash();
  }
  if (!windows.main.visible()) windows.main.show();
  settle(windows.main);

  forms::TabStrip* strip = nullptr;
  for (forms::Control* c : windows.main.controls()) {
    if ((strip = dynamic_cast<forms::TabStrip*>(c)) != nullptr) break;
  }
  QTabBar* bar = strip != nullptr ? windows.mainWindow.widgetFor(*strip)->findChild<QTabBar*>() : nullptr;
  if (bar == nullptr) {
    ok = save(windows.mainWindow, folder / "main.png", program) && ok;
  } else {
    for (int i = 0; i < bar->count(); ++i) {
      bar->setCurrentIndex(i);
      settle(windows.main);
      const std::string name = std::to_string(i + 1) + "-" + lowerCase(bar->tabText(i).toStdString()) + ".png";
      ok = save(windows.mainWindow, folder / name, program) && ok;
    }
  }
  windows.main.unload();
  return ok ? 0 : 1;
}

}  // namespace tw::qt
