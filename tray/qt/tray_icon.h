#pragma once
// The tray utility in the notification area: the gauge icon and its tooltip,
// refreshed at the preferences' interval, and the context menu "Open
// Tunewell" and "Exit".  WM_CLOSE, from this process or another, and "Exit"
// end the application's event loop; the icon goes with this object.

#include <string>

#include <QMenu>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>

namespace tw::shell {
class CloseRequests;
}

namespace tw::tray {

class TrayProgram;

class TrayIcon {
 public:
  TrayIcon(TrayProgram& program, shell::CloseRequests& closeRequests);

  // Reads the measure, shows the icon and starts the refresh.
  void show();

 private:
  void refresh();

  TrayProgram& program_;
  QSystemTrayIcon icon_;
  QMenu menu_;
  QTimer timer_;
  QSocketNotifier closeNotifier_;
  shell::CloseRequests& closeRequests_;
  std::string lastFailure_;
};

}  // namespace tw::tray
