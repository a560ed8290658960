// The sunken border the gauges are drawn with must be the one Qt's own
// classic panel draws, pixel for pixel, at every size.

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>
#include <qdrawutil.h>

#include <gtest/gtest.h>

#include "tests/ui/qt/qt_app.h"
#include "ui/qt/look.h"

namespace tw::qt {
namespace {

QImage drawn(const QSize& canvas, const std::function<void(QPainter&)>& draw) {
  QImage image(canvas, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  draw(painter);
  return image;
}

std::string firstDifference(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        return "at " + std::to_string(x) + "," + std::to_string(y) + " " + QColor(a.pixel(x, y)).name().toStdString() +
               " instead of " + QColor(b.pixel(x, y)).name().toStdString();
      }
    }
  }
  return "none";
}

TEST(Look, SunkenPanelIsQtsClassicPanel) {
  test::qtApp();
  // Four different colours, so that a colour on the wrong edge shows.
  QPalette palette;
  palette.setColor(QPalette::Dark, QColor(10, 20, 30));
  palette.setColor(QPalette::Light, QColor(200, 210, 220));
  palette.setColor(QPalette::Shadow, QColor(90, 0, 0));
  palette.setColor(QPalette::Midlight, QColor(0, 90, 0));
  const QSize canvas(40, 30);
  std::vector<QRect> panels{QRect(0, 0, 40, 30), QRect(5, 2, 31, 20)};
  for (int w = 1; w <= 9; ++w) {
    for (int h = 1; h <= 9; ++h) panels.emplace_back(3, 4, w, h);
  }
  for (const QRect& r : panels) {
    const QImage ours = drawn(canvas, [&](QPainter& p) { drawSunkenPanel(p, r, palette); });
    const QImage qts = drawn(canvas, [&](QPainter& p) { qDrawWinPanel(&p, r, palette, true, nullptr); });
    EXPECT_TRUE(ours == qts) << r.width() << "x" << r.height() << ": " << firstDifference(ours, qts);
  }
}

}  // namespace
}  // namespace tw::qt
