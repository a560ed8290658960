#include "ui/qt/frames.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRegion>
#include <qdrawutil.h>

namespace tw::qt {

namespace {

// The two-pixel border of qDrawWinShades: the outer edge in `outerTopLeft`
// and `outerBottomRight`, the inner edge in the other two.
void winShades(QPainter& p, const QRect& r, const QColor& outerTopLeft, const QColor& outerBottomRight,
               const QColor& innerTopLeft, const QColor& innerBottomRight, const QBrush* fill) {
  const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
  p.fillRect(x, y, 1, h - 1, outerTopLeft);
  p.fillRect(x, y, w - 1, 1, outerTopLeft);
  p.fillRect(x, y + h - 1, w, 1, outerBottomRight);
  p.fillRect(x + w - 1, y, 1, h, outerBottomRight);
  p.fillRect(x + 1, y + 1, 1, h - 3, innerTopLeft);
  p.fillRect(x + 1, y + 1, w - 3, 1, innerTopLeft);
  p.fillRect(x + 1, y + h - 2, w - 2, 1, innerBottomRight);
  p.fillRect(x + w - 2, y + 1, 1, h - 2, innerBottomRight);
  if (fill) p.fillRect(QRect(x + 2, y + 2, w - 4, h - 4), *fill);
}

// The shades are pens of solid colour in Qt's drawing, whatever the
// palette's brushes hold; a colour also fills faster than a brush.
QColor solid(const QBrush& brush) { return brush.color(); }

}  // namespace

// Filled rectangles give the stroker's pixels only on an unscaled,
// unsmoothed painter.  Qt's stroker also leaves out the ends of some
// one-pixel lines, so borders too small for two edges go to Qt as well.
bool fillsExactly(const QPainter& painter, const QRect& r) {
  if (r.width() <= 4 || r.height() <= 4) return false;
  if (painter.renderHints() & QPainter::Antialiasing) return false;
  if (painter.transform().type() > QTransform::TxTranslate) return false;
  return painter.device() == nullptr || painter.device()->devicePixelRatioF() == 1.0;
}

void drawWinPanel(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QBrush* fill) {
  if (!fillsExactly(painter, r)) {
    qDrawWinPanel(&painter, r, palette, sunken, fill);
    return;
  }
  if (sunken) {
    winShades(painter, r, solid(palette.dark()), solid(palette.light()), solid(palette.shadow()),
              solid(palette.midlight()), fill);
  } else {
    winShades(painter, r, solid(palette.light()), solid(palette.shadow()), solid(palette.midlight()),
              solid(palette.dark()), fill);
  }
}

void drawWinButton(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QBrush* fill) {
  if (!fillsExactly(painter, r)) {
    qDrawWinButton(&painter, r, palette, sunken, fill);
    return;
  }
  if (sunken) {
    winShades(painter, r, solid(palette.shadow()), solid(palette.light()), solid(palette.dark()),
              solid(palette.button()), fill);
  } else {
    winShades(painter, r, solid(palette.light()), solid(palette.shadow()), solid(palette.button()),
              solid(palette.dark()), fill);
  }
}

void drawShadeRect(QPainter& painter, const QRect& r, const QPalette& palette, bool sunken, const QRect& gap) {
  if (!fillsExactly(painter, r)) {
    painter.save();
    if (!gap.isEmpty()) painter.setClipRegion(QRegion(r) - gap, Qt::IntersectClip);
    qDrawShadeRect(&painter, r, palette, sunken, 1, 0, nullptr);
    painter.restore();
    return;
  }
  // A clip region would make the raster engine clip every fill span by
  // span; the few edges that cross the gap are cut around it instead.
  auto fillRect = [&painter, &gap](int x, int y, int w, int h, const QColor& colour) {
    const QRect edge(x, y, w, h);
    if (!edge.intersects(gap)) {
      painter.fillRect(edge, colour);
      return;
    }
    for (const QRect& piece : QRegion(edge) - gap) painter.fillRect(piece, colour);
  };
  const QColor first = solid(sunken ? palette.dark() : palette.light());
  const QColor second = solid(sunken ? palette.light() : palette.dark());
  const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
  // An outline one pixel in from the bottom and right ...
  fillRect(x, y, w - 1, 1, first);
  fillRect(x, y + h - 2, w - 1, 1, first);
  fillRect(x, y + 1, 1, h - 3, first);
  fillRect(x + w - 2, y + 1, 1, h - 3, first);
  // ... and its highlight one pixel in from the top and left.
  fillRect(x + 1, y + 1, w - 3, 1, second);
  fillRect(x + 1, y + 2, 1, h - 4, second);
  fillRect(x, y + h - 1, w, 1, second);
  fillRect(x + w - 1, y, 1, h - 1, second);
}

}  // namespace tw::qt
