#include "tray/qt/gauge_icon.h"

#include <algorithm>

#include <QColor>
#include <QPainter>

#include "app/status/gauge_colours.h"

namespace tw::tray {

namespace {

// The platform's &HBBGGRR.
QColor fromBgr(forms::Color c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

QImage drawGaugeIcon(std::optional<int> percent, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::black);
  const int inner = std::max(size - 2, 0);
  if (inner == 0) return image;
  QPainter painter(&image);
  const QRect inside(1, 1, inner, inner);
  if (!percent) {
    painter.fillRect(inside, Qt::gray);
    return image;
  }
  painter.fillRect(inside, fromBgr(app::kGaugeEmpty));
  const int level = (inner * std::clamp(*percent, 0, 100) + 50) / 100;
  painter.fillRect(QRect(1, 1 + inner - level, inner, level), fromBgr(app::kGaugeFilled));
  return image;
}

}  // namespace tw::tray
