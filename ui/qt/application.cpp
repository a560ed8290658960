#include "ui/qt/application.h"

#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QFontMetrics>

namespace tw::qt {

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
