#include "tray/meter.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/options/choices.h"
#include "host/host.h"
#include "syslib/plinth.h"

namespace tw::tray {

// The meters' message boxes, kept as text instead of shown.
class TrayMeter::Failures : public Dialogs {
 public:
  int msgBox(const std::string& text, int style, const std::string& /*title*/) override {
    if (last_.empty()) last_ = text;
    return defaultAnswer(style);
  }
  std::string take() { return std::exchange(last_, {}); }

 private:
  std::string last_;
};

TrayMeter::TrayMeter(Host& host) : failures_(std::make_shared<Failures>()) {
  host.setDialogs(failures_);
  plinth_ = std::make_unique<Plinth>(host);
}

TrayMeter::~TrayMeter() = default;

TrayReading TrayMeter::read(int measure) {
  Plinth& p = *plinth_;
  int16_t percent = kPercentNotRead;
  std::string figure;
  // The percentage is read once the meter has set it, after the call.
  const auto sized = [&](int32_t megabytes) {
    figure = std::to_string(megabytes) + " Mb (" + std::to_string(percent) + "%)";
  };
  switch (measure) {
    case 0: {
      const int32_t load = p.GetCPUUsage();
      percent = static_cast<int16_t>(load);
      figure = std::to_string(load) + "%";
      break;
    }
    case 1: {
      // The system heap, as the Status tab shows it.
      int16_t sys = kPercentNotRead, user = kPercentNotRead, gdi = kPercentNotRead;
      p.Resources(sys, user, gdi);
      percent = sys;
      figure = std::to_string(sys) + "%";
      break;
    }
    case 2: {
      const Variant sum = p.SystemMemory(percent);
      if (percent != kPercentNotRead) sized(sum.toLong());
      break;
    }
    case 3:
      sized(p.PhysicalMemory(percent));
      break;
    case 4:
      sized(p.CacheSize(percent));
      break;
    case 5:
      sized(p.HardDrive(percent));
      break;
    case 6:
      sized(p.PageSize(percent));
      break;
    default:
      break;
  }
  const std::string caption =
      measure >= 0 && measure < static_cast<int>(app::kTrayIconCaptions.size())
          ? std::string(app::kTrayIconCaptions[static_cast<size_t>(measure)])
          : std::string("Tunewell");
  TrayReading reading;
  reading.failure = failures_->take();
  if (!reading.failure.empty() || percent == kPercentNotRead) {
    reading.tooltip = caption + ": not available";
    return reading;
  }
  reading.percent = std::clamp<int>(percent, 0, 100);
  reading.tooltip = caption + ": " + figure;
  return reading;
}

}  // namespace tw::tray
