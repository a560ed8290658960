#include "ui/qt/application.h"

#include <sched.h>

#include <cstdlib>
#include <cstring>

#include <fontconfig/fontconfig.h>

#include <QApplication>
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

namespace {

void* loadFontConfigurationThread(void*) {
  loadFontConfiguration();
  return nullptr;
}

// The processors this thread may run on, less the one it runs on now.  The
// scheduler often starts a new thread on its parent's processor even when
// another is idle; the new thread then takes that processor from the start-up
// for as long as it runs.  Empty when there is no other processor.
bool otherProcessors(cpu_set_t& set) {
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return false;
  const int current = sched_getcpu();
  if (current < 0 || current >= CPU_SETSIZE) return false;
  CPU_CLR(static_cast<std::size_t>(current), &set);
  return CPU_COUNT(&set) > 0;
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp() {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return;
  cpu_set_t others;
  if (otherProcessors(others)) pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
  // Without a thread, Qt reads the configuration itself when it needs it.
  running_ = pthread_create(&thread_, &attributes, loadFontConfigurationThread, nullptr) == 0;
  pthread_attr_destroy(&attributes);
}

FontConfigWarmUp::~FontConfigWarmUp() { wait(); }

void FontConfigWarmUp::wait() {
  if (!running_) return;
  running_ = false;
  pthread_join(thread_, nullptr);
}

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
