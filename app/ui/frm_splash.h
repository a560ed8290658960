#pragma once
// frmSplash, the program's first window: it loads the main window hidden
// (which runs the whole start-up), then shows its picture for three seconds
// before it shows the main window, unless the picture is switched off.

#include <string_view>

#include "app/ui/form1.h"

namespace tw::app {

class frmSplash : public forms::Form {
 public:
  frmSplash(Form1& main, TunerContext context);
  ~frmSplash() override;

  forms::Image* Image1 = nullptr;
  forms::Timer* Timer1 = nullptr;

  void Form_Load();
  void Timer1_Timer();

  Form1& main() { return main_; }

 private:
  void showMain();

  Form1& main_;
  TunerContext context_;
};

// Whether the splash picture is shown: not for the command line "/Ns"
// exactly (case and all, nothing else on it), nor when "Disable splash" was
// checked at the last exit ("View" = 1).
bool showsSplashPicture(std::string_view commandLine, int view);

}  // namespace tw::app
