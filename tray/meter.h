#pragma once
// The tray utility's reading of its one measure, with the same calls of the
// system library that the Status tab's gauges make.

#include <memory>
#include <optional>
#include <string>

namespace tw {
class Host;
class Plinth;
}  // namespace tw

namespace tw::tray {

struct TrayReading {
  // The gauge's level, 0 to 100; nullopt when the meter could not be read.
  std::optional<int> percent;
  // What the icon's tooltip says: "CPU Load: 37%", "Physical Memory: 32 Mb (50%)",
  // "Cache Size: not available".
  std::string tooltip;
  // The meter's own error message when it failed, else empty.
  std::string failure;
};

class TrayMeter {
 public:
  // A meter reports a failure in a message box; a box every tick would bury
  // the desktop, so the meter takes the host's dialogs over and turns the
  // message into the reading's failure.
  explicit TrayMeter(Host& host);
  ~TrayMeter();
  TrayMeter(const TrayMeter&) = delete;
  TrayMeter& operator=(const TrayMeter&) = delete;

  // `measure` is the Options tab's tray-icon option (0 to 6).
  TrayReading read(int measure);

 private:
  class Failures;
  std::shared_ptr<Failures> failures_;
  std::unique_ptr<Plinth> plinth_;
};

}  // namespace tw::tray
