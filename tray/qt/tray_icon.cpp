#include "tray/qt/tray_icon.h"

#include <iostream>

#include <QCoreApplication>
#include <QPixmap>

#include "host/shell/close_requests.h"
#include "tray/program.h"
#include "tray/qt/gauge_icon.h"

namespace tw::tray {

namespace {

// Drawn large: the notification area scales it to its own size.
constexpr int kIconSize = 64;

void quit() { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); }

}  // namespace

TrayIcon::TrayIcon(TrayProgram& program, shell::CloseRequests& closeRequests)
    : program_(program), closeNotifier_(closeRequests.fd(), QSocketNotifier::Read), closeRequests_(closeRequests) {
  QObject::connect(menu_.addAction(QStringLiteral("Open Tunewell")), &QAction::triggered, &menu_, [this] {
    if (!program_.openTuner()) std::cerr << "tunewell-tray: cannot start tunewell\n";
  });
  QObject::connect(menu_.addAction(QStringLiteral("Exit")), &QAction::triggered, &menu_, quit);
  icon_.setContextMenu(&menu_);
  QObject::connect(&timer_, &QTimer::timeout, &menu_, [this] { refresh(); });
  QObject::connect(&closeNotifier_, &QSocketNotifier::activated, &menu_, [this] {
    if (closeRequests_.take()) quit();
  });
}

void TrayIcon::show() {
  refresh();
  icon_.show();
  timer_.start(program_.preferences().interval);
}

void TrayIcon::refresh() {
  const TrayReading reading = program_.read();
  icon_.setIcon(QIcon(QPixmap::fromImage(drawGaugeIcon(reading.percent, kIconSize))));
  icon_.setToolTip(QString::fromStdString(reading.tooltip));
  // A meter that keeps failing is reported once, not every tick.
  if (reading.failure != lastFailure_ && !reading.failure.empty())
    std::cerr << "tunewell-tray: " << reading.failure << "\n";
  lastFailure_ = reading.failure;
}

}  // namespace tw::tray
