// The tray icon's picture: the level rises from the bottom with the figure,
// in the gauge colours, inside a dark frame.

#include <QImage>

#include <gtest/gtest.h>

#include "app/status/gauge_colours.h"
#include "tray/qt/gauge_icon.h"

namespace tw {
namespace {

QRgb rgb(forms::Color bgr) { return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

// The inside's rows from the top, each as 'F' (filled), 'E' (empty) or '?'.
std::string column(const QImage& icon) {
  std::string rows;
  for (int y = 1; y < icon.height() - 1; ++y) {
    const QRgb p = icon.pixel(icon.width() / 2, y) | 0xFF000000u;
    rows += p == rgb(app::kGaugeFilled) ? 'F' : p == rgb(app::kGaugeEmpty) ? 'E' : '?';
  }
  return rows;
}

TEST(TrayGaugeIcon, TheLevelRisesFromTheBottomWithTheFigure) {
  // 10 inside rows: one per ten percent.
  EXPECT_EQ(column(tray::drawGaugeIcon(0, 12)), "EEEEEEEEEE");
  EXPECT_EQ(column(tray::drawGaugeIcon(37, 12)), "EEEEEEFFFF");  // 3.7 rows show as 4
  EXPECT_EQ(column(tray::drawGaugeIcon(100, 12)), "FFFFFFFFFF");
  EXPECT_EQ(column(tray::drawGaugeIcon(150, 12)), "FFFFFFFFFF") << "a figure past full stays full";
  EXPECT_EQ(column(tray::drawGaugeIcon(-5, 12)), "EEEEEEEEEE");

  const QImage icon = tray::drawGaugeIcon(50, 64);
  EXPECT_EQ(icon.size(), QSize(64, 64));
  EXPECT_EQ(column(icon), std::string(31, 'E') + std::string(31, 'F'));
  for (const QPoint corner : {QPoint(0, 0), QPoint(63, 63), QPoint(0, 40), QPoint(63, 10)})
    EXPECT_EQ(icon.pixel(corner) | 0xFF000000u, qRgb(0, 0, 0)) << corner.x() << "," << corner.y();

  // No figure: neither colour, so it never reads as an empty gauge.
  EXPECT_EQ(column(tray::drawGaugeIcon(std::nullopt, 12)), "??????????");
}

}  // namespace
}  // namespace tw
