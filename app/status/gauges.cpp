// The seven gauges of the Status tab, refreshed by Timer1 while that tab is
// in front and once at start-up.  Each statement is skipped when it fails,
// and the remaining gauges are still refreshed.
//
// The meters report a failure with their own message box and leave the
// percentage they were given as it was.  The percentage is set to a value
// no meter gives before each call, so that a gauge whose meter failed keeps
// its caption and bar instead of showing the previous gauge's percentage
// and a zero figure as if they were a reading.

#include <cstdint>
#include <string>

#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

std::string number(int32_t n) { return numberToText(n); }

}  // namespace

void Form1::UpdateGauges() {
  // A tick that arrives while this refresh lets messages run (its pump at
  // the end, or a meter's message box) would run a refresh inside this one.
  if (updatingGauges_) return;
  updatingGauges_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{updatingGauges_};

  Plinth* p = nullptr;
  skipErrors([&] { p = &plinth(); });
  if (p == nullptr) return;

  // One percentage carries each reading to its bar.
  int16_t percent = 0;
  const auto show = [&](forms::Label& caption, const std::string& text, forms::PictureBox& bar) {
    if (percent == kPercentNotRead) return;
    skipErrors([&] { caption.setCaption(text); });
    skipErrors([&] { Picsize(bar, percent); });
  };

  // 1. Processor load.
  int32_t load = 0;
  skipErrors([&] { load = p->GetCPUUsage(); });
  skipErrors([&] { percent = toInteger(load); });
  show(*Label3, "Current processor load: " + number(load) + "%", *Picture5);

  // 2. Hard drive: its total from the drive object the window keeps.
  int32_t total = 0;
  skipErrors([&] {
    if (!WindowsDrive) raise(ErrNo::ObjectNotSet);
    total = toLong(WindowsDrive->TotalSize() / 1024 / 1024);
  });
  int32_t used = 0;
  percent = kPercentNotRead;
  skipErrors([&] { used = p->HardDrive(percent); });
  show(*Label2, "Hard drive space used: " + number(used) + " Mb of " + number(total) + " Mb", *Picture6);

  // 3. Physical memory.
  percent = kPercentNotRead;
  skipErrors([&] { used = p->PhysicalMemory(percent); });
  show(*Label7, "Physical memory used: " + number(used) + " Mb of " + number(TotalMemoryMb) + " Mb", Picture1(0));

  // 4. Disk cache.
  int32_t size = 0;
  percent = kPercentNotRead;
  skipErrors([&] { size = p->CacheSize(percent); });
  show(LRe(2), "Current cache size: " + number(size) + " Mb", Picture1(3));

  // 5. Swap file.
  percent = kPercentNotRead;
  skipErrors([&] { size = p->PageSize(percent); });
  show(*Label11, "Current swap file size: " + number(size) + " Mb", Picture1(1));

  // 6. Virtual memory, against the 4 GB a Windows 9x process can address.
  Variant sum;
  percent = kPercentNotRead;
  skipErrors([&] { sum = p->SystemMemory(percent); });
  std::string sumText;
  skipErrors([&] { sumText = sum.toString(); });
  show(*Label14, "Virtual memory used: " + sumText + " Mb of " + number(4096) + " Mb", Picture1(2));

  // 7. System resources: only the system heap is shown.  On a platform
  // without the resource heaps the three figures stay unread.
  int16_t sys = kPercentNotRead, use = kPercentNotRead, gdi = kPercentNotRead;
  skipErrors([&] { p->Resources(sys, use, gdi); });
  percent = sys;
  show(Label4(0), "System resource load: " + number(sys) + "%", *Picture2);

  // 8. Let waiting messages run: paint, and the user's clicks.
  skipErrors([&] { doEvents(); });
}

}  // namespace tw::app
