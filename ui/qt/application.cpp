#include "ui/qt/application.h"

#include <cstdlib>
#include <cstring>

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

namespace tw::qt {

namespace {

// What FcInit does, less one step: fontconfig's own initialisation also
// parses every template in its conf.avail folder only to keep their
// descriptions (what fc-conflist prints), which is most of its time.  The
// configuration itself (fonts.conf with conf.d, FONTCONFIG_FILE and the
// user's own files) is read and applied exactly as FcInit reads it.  When
// anything differs from the ordinary case, FcInit does the work instead.
void loadFontConfiguration() {
  FcConfig* config = FcConfigCreate();
  if (config == nullptr) {
    FcInit();
    return;
  }
  bool hasCacheFolder = false;
  if (FcConfigParseAndLoad(config, nullptr, FcTrue)) {
    if (FcStrList* dirs = FcConfigGetCacheDirs(config)) {
      hasCacheFolder = FcStrListNext(dirs) != nullptr;
      FcStrListDone(dirs);
    }
  }
  // FcConfigSetCurrent builds the font list and takes a reference of its
  // own; a configuration made by another thread meanwhile is replaced.
  const bool installed = hasCacheFolder && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
  FcConfigDestroy(config);
  if (!installed) FcInit();
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp(std::function<void()> afterwards)
    : afterwards_(std::move(afterwards)), thread_([this] { run(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() { wait(); }

void FontConfigWarmUp::run() {
  loadFontConfiguration();
  std::unique_lock<std::mutex> lock(mutex_);
  decided_.wait(lock, [this] { return next_ != Next::Undecided; });
  if (next_ != Next::FillDatabase) return;
  lock.unlock();
  // Qt's font database may be used from any thread; filling it lists every
  // face fontconfig knows.
  (void)QFontDatabase::families();
  if (afterwards_) afterwards_();
}

void FontConfigWarmUp::decide(Next next) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (next_ == Next::Undecided) next_ = next;
  }
  decided_.notify_all();
}

void FontConfigWarmUp::wait() {
  decide(Next::Stop);
  thread_.wait();
}

FontConfigWarmUp::ApplicationMade::ApplicationMade(FontConfigWarmUp& fonts) : fonts_(fonts) {
  fonts_.decide(Next::FillDatabase);
}

FontConfigWarmUp::ApplicationMade::~ApplicationMade() { fonts_.wait(); }

namespace {

bool hasValue(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

bool hasOption(int argc, char** argv, const char* option) {
  const std::size_t length = std::strlen(option);
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] == '-' && arg[1] == '-') ++arg;  // Qt takes -option and --option alike
    if (std::strncmp(arg, option, length) == 0 && (arg[length] == '\0' || arg[length] == '=')) return true;
  }
  return false;
}

}  // namespace

bool canShowWindows(int argc, char** argv) {
  return hasValue("DISPLAY") || hasValue("WAYLAND_DISPLAY") || hasValue("QT_QPA_PLATFORM") ||
         hasOption(argc, argv, "-platform");
}

bool styleChosenByUser(int argc, char** argv) {
  return hasValue("QT_STYLE_OVERRIDE") || hasOption(argc, argv, "-style");
}

bool fontsVisible() {
  return QFontMetrics(QApplication::font()).inFont(QLatin1Char('A'));
}

}  // namespace tw::qt
