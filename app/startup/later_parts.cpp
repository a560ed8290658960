// PLACEHOLDERS for the parts of the program that are not built yet.
//
// Start-up and the window call every procedure below under its final name,
// at the moment the finished program will; each part, as it lands, replaces
// its placeholder here with the real procedure (in its own area's file) and
// start-up needs no change.  Until then each one does nothing, which keeps
// start-up running: the tools list stays empty.

#include "app/ui/form1.h"
#include "host/runtime/guard.h"

namespace tw::app {

// The tools list of the Tools tab.
void Form1::LoadTools() {}

}  // namespace tw::app
