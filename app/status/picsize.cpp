// One gauge bar: the box is cleared to the empty colour and its left part,
// `percent` of the scale width, painted in the filled colour.  The bar is a
// single vertical line whose pen is as wide as the filled part, so the boxes
// use a pixel scale, in which pen widths and bar widths are the same unit.

#include "app/status/gauge_colours.h"
#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"

namespace tw::app {

void Form1::Picsize(forms::PictureBox& box, int16_t& percent) {
  reportErrors(dialogs(), "Form1.Picsize", [&] {
    // The fraction is single precision, as is the scale width it multiplies.
    const float fraction = static_cast<float>(percent) / 100.0f;
    const int16_t width = toInteger(static_cast<float>(box.scaleWidth()) * fraction);
    box.setPicture("");
    if (percent < 2) {
      // Nothing to fill: a line of no length at the corner.
      box.setBackColor(kGaugeEmpty);
      box.setDrawWidth(1);
      box.line(0, 0, 0, 0, kGaugeFilled);
    } else if (percent <= 98) {
      box.setBackColor(kGaugeEmpty);
      box.setDrawWidth(width);
      const int x = width / 2;
      box.line(x, 0, x, box.scaleHeight(), kGaugeFilled);
    } else {
      box.setBackColor(kGaugeFilled);
    }
  });
}

}  // namespace tw::app
