// Each handler ignores where the pointer is and which buttons are down: it
// loads its text and shows it, on every move.  Nothing is cleared when the
// pointer leaves a control; the next control, the background or a tab
// change replaces the line.

#include "app/ui/hover.h"

#include "app/ui/form1.h"
#include "app/ui/hover_texts.h"
#include "app/ui/strings.h"

namespace tw::app {

namespace {

void connectHover(Form1& form, forms::Control& control, int id) {
  forms::Label& statusLine = *form.Label20;
  if (control.name() == kCreditLabel) {
    // The credit opens the maker's site: it points like a link.
    control.MouseMove.connect([&statusLine, &control, id](int, int, double, double) {
      control.setMouseIcon(kHandCursor);
      control.setMousePointer(forms::MousePointer::Custom);
      statusLine.setCaption(LoadResString(id));
    });
    return;
  }
  control.MouseMove.connect(
      [&statusLine, id](int, int, double, double) { statusLine.setCaption(LoadResString(id)); });
}

}  // namespace

void connectHoverDescriptions(Form1& form) {
  if (const auto id = hoverTextOf(form.name(), -1)) connectHover(form, form, *id);
  for (forms::Control* control : form.controls()) {
    if (const auto id = hoverTextOf(control->name(), control->index())) connectHover(form, *control, *id);
  }
}

}  // namespace tw::app
