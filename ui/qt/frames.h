#pragma once
// The classic 3-D borders, drawn with filled rectangles.  Qt's qdrawutil
// functions stroke them as polylines, which the raster engine draws many
// times slower: the borders of a window's buttons, frames and panels were a
// fifth of the time of painting it.  Each function here draws exactly the
// pixels of the Qt function it is named after and hands the cases it does
// not cover (borders too small for both edges, scaled or smoothed painters)
// to that function.

#include <QBrush>
#include <QPalette>
#include <QRect>

class QPainter;

namespace tw::qt {

// Whether these functions draw `r` with filled rectangles on `painter`;
// otherwise they hand it to Qt's own.
bool fillsExactly(const QPainter& painter, const QRect& r);

// qDrawWinPanel: two pixels wide; sunken is the gauges' and fields' border.
void drawWinPanel(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QBrush* fill);

// qDrawWinButton: a push button's border, and the tab strip's panel.
void drawWinButton(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QBrush* fill);

// qDrawShadeRect with a line width of 1 and no middle line: a frame's
// etched border.  Nothing is drawn inside `gap` (where a frame's title
// goes), as if the painter were clipped to leave it out.
void drawShadeRect(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QRect& gap = {});

}  // namespace tw::qt
