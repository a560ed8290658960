// PLACEHOLDERS for the parts of the program that are not built yet.
//
// Start-up and the window call every procedure below under its final name,
// at the moment the finished program will; each part, as it lands, replaces
// its placeholder here with the real procedure (in its own area's file) and
// start-up needs no change.  Until then each one does nothing, which keeps
// start-up running: the system information rows keep "Unknown", the tools
// list stays empty and the gauges do not move.

#include "app/ui/form1.h"
#include "host/runtime/guard.h"

namespace tw::app {

// The system information rows of the Status tab.
void Form1::GatherSystemInformation() {}

// The status gauges.
void Form1::UpdateGauges() {}

}  // namespace tw::app
