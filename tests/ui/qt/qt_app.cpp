#include "tests/ui/qt/qt_app.h"

#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "ui/qt/application.h"
#include "ui/qt/look.h"

namespace tw::test {

namespace {

std::unique_ptr<QApplication>& appSlot() {
  static std::unique_ptr<QApplication> app;
  return app;
}

// The application goes when the tests are over, before the statics of Qt
// that its destructor still uses.
struct QtTearDown : ::testing::Environment {
  void TearDown() override { appSlot().reset(); }
};
[[maybe_unused]] ::testing::Environment* const tearDown = ::testing::AddGlobalTestEnvironment(new QtTearDown);

}  // namespace

QApplication& qtApp() {
  auto& app = appSlot();
  if (!app) {
    // Test discovery runs the binary outside CTest's environment.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "qt_front_end_test";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
    qt::applyClassicLook(*app, false);
  }
  if (!qt::fontsVisible()) {
    ADD_FAILURE() << "no font draws letters: install fonts-dejavu-core and fontconfig";
  }
  return *app;
}

}  // namespace tw::test
