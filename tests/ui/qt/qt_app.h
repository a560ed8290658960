#pragma once
// One QApplication for the whole test program, on the offscreen platform,
// with the look the programs use; and a form of the test's own in a window.

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/forms/form.h"
#include "ui/qt/form_window.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_environment.h"

namespace tw::test {

// Creates the application on first use; fails the test when no font draws
// letters (every caption would be a row of hollow boxes).
QApplication& qtApp();

struct FormTest : ::testing::Test {
  QApplication& app = qtApp();
  qt::PictureStore pictures;
  qt::QtEnvironment environment{&pictures};
  forms::Form form{"Form1", &environment};
  std::vector<std::string> log;

  // Shows the form in its window and waits until it can take input.
  std::unique_ptr<qt::FormWindow> open(qt::FormWindow::Options options = {}) {
    form.move(0, 0, 6000, 4500);
    auto window = std::make_unique<qt::FormWindow>(form, &pictures, std::move(options));
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
};

}  // namespace tw::test
