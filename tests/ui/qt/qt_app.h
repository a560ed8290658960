#pragma once
// One QApplication for the whole test program, on the offscreen platform,
// with the look the programs use.

#include <QApplication>

namespace tw::test {

// Creates the application on first use; fails the test when no font draws
// letters (every caption would be a row of hollow boxes).
QApplication& qtApp();

}  // namespace tw::test
