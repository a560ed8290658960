#pragma once
// The tray icon's picture: a small gauge whose level rises with the figure,
// in the colours of the Status tab's gauge bars.

#include <optional>

#include <QImage>

namespace tw::tray {

// A square of `size` pixels: a dark frame, the filled colour from the
// bottom up to `percent` (0 to 100) of the inside, the empty colour above
// it.  Without a figure the inside is grey, so that a meter that cannot be
// read never looks like a reading of 0.
QImage drawGaugeIcon(std::optional<int> percent, int size);

}  // namespace tw::tray
