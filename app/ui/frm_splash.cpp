#include "app/ui/frm_splash.h"

namespace tw::app {

frmSplash::frmSplash(Form1& main, TunerContext context)
    : forms::Form("frmSplash", context.environment), main_(main), context_(std::move(context)) {
  // The window takes the picture's size when it shows (Form_Load); the
  // design size is that of the artwork.
  Image1 = &add<forms::Image>("Image1");
  Image1->move(0, 0, 6000, 4000);
  Image1->setPicture("Splash");
  Timer1 = &add<forms::Timer>("Timer1");
  Timer1->setInterval(3000);
  Timer1->setEnabled(false);

  Load.connect([this] { Form_Load(); });
  Timer1->Tick.connect([this] { Timer1_Timer(); });
}

frmSplash::~frmSplash() = default;

}  // namespace tw::app
