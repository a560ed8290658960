#pragma once
// Every control model, for code that builds whole windows.

#include "ui/forms/buttons.h"
#include "ui/forms/combo_box.h"
#include "ui/forms/control.h"
#include "ui/forms/environment.h"
#include "ui/forms/event.h"
#include "ui/forms/form.h"
#include "ui/forms/picture_box.h"
#include "ui/forms/slider.h"
#include "ui/forms/static_controls.h"
#include "ui/forms/tab_strip.h"
#include "ui/forms/timer.h"
#include "ui/forms/web_browser.h"
