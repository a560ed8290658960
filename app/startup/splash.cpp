// The splash window's part of start-up: load the main window (which runs
// Form_Initialize and Form_Load), then either show it at once or show the
// picture for three seconds first.  The picture comes only after start-up
// has finished, so a slow start delays the picture, never the main window.

#include "app/ui/frm_splash.h"
#include "host/runtime/guard.h"
#include "host/runtime/variant.h"

namespace tw::app {

bool showsSplashPicture(std::string_view commandLine, int view) { return commandLine != "/Ns" && view != 1; }

void frmSplash::Form_Load() {
  reportErrors(context_.host.dialogs(), "frmSplash.Form_Load", [&] {
    main_.load();
    // A second copy, or a Windows the program does not run on: End ran
    // inside start-up, and nothing is shown.
    if (main_.ended()) return;

    // A "View" that cannot be read shows the picture: with it the main
    // window still appears three seconds later.
    int view = 0;
    skipErrors([&] {
      view = Variant(main_.settingsStore().getSetting(kAppName, kPrefsSection, "View", "0")).toInteger();
    });
    if (!showsSplashPicture(context_.commandLine, view)) {
      showMain();
      return;
    }
    move(left(), top(), Image1->width(), Image1->height());
    show();
    Timer1->setEnabled(true);
  });
  // Whatever failed above, the main window must not stay hidden for good:
  // without a running splash nothing else would ever show it.
  if (!main_.ended() && main_.loaded() && !main_.visible() && !Timer1->running()) showMain();
}

void frmSplash::Timer1_Timer() { showMain(); }

void frmSplash::showMain() {
  main_.show();
  unload();
}

}  // namespace tw::app
