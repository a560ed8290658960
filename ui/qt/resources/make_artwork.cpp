// Draws the program's artwork (tab icons, banner, splash picture, help
// picture, window icon and hand cursor) with QPainter and writes the PNGs
// into the folder given as the only argument.  Run once by hand after a
// change; the PNGs are kept in the repository:
//
//   ninja -C build tw_make_artwork
//   QT_QPA_PLATFORM=offscreen build/ui/qt/resources/tw_make_artwork ui/qt/resources
//
// Everything is drawn from shapes and the DejaVu fonts, so the pictures are
// ours and come out the same on every machine.

#include <cmath>
#include <cstdio>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void save(const QImage& image, const QString& folder, const char* name) {
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  if (!image.save(path, "PNG")) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

// The dial that is the program's mark: an arc from green through yellow to
// red, ticks, and a needle leaning towards the top end.
void drawDial(QPainter& p, const QRectF& box, double needle = 0.72, bool ticks = true) {
  const QPointF centre(box.center().x(), box.top() + box.height() * 0.62);
  const double radius = std::min(box.width() / 2.0, box.height() * 0.58) * 0.96;
  const double pen = std::max(1.5, radius * 0.22);
  const QRectF arc(centre.x() - radius + pen / 2, centre.y() - radius + pen / 2, 2 * radius - pen,
                   2 * radius - pen);
  const struct {
    QColor colour;
    int from, span;
  } bands[] = {{QColor(46, 170, 60), 180, -70}, {QColor(240, 200, 30), 110, -45}, {QColor(215, 50, 40), 65, -65}};
  for (const auto& band : bands) {
    p.setPen(QPen(band.colour, pen, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, band.from * 16, band.span * 16);
  }
  if (ticks && radius > 12) {
    p.setPen(QPen(QColor(30, 30, 40), std::max(1.0, radius * 0.04)));
    for (int i = 0; i <= 10; ++i) {
      const double a = kPi - kPi * i / 10.0;
      const double r1 = radius - pen - radius * 0.02;
      const double r2 = r1 - radius * (i % 5 == 0 ? 0.16 : 0.09);
      p.drawLine(QPointF(centre.x() + r1 * std::cos(a), centre.y() - r1 * std::sin(a)),
                 QPointF(centre.x() + r2 * std::cos(a), centre.y() - r2 * std::sin(a)));
    }
  }
  const double a = kPi - kPi * needle;
  const double length = radius * 0.82;
  p.setPen(QPen(QColor(20, 20, 30), std::max(1.2, radius * 0.09), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, QPointF(centre.x() + length * std::cos(a), centre.y() - length * std::sin(a)));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 20, 30));
  const double hub = std::max(1.5, radius * 0.14);
  p.drawEllipse(centre, hub, hub);
}

QImage tabStatus() {
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawDial(p, QRectF(0, 1, 16, 14), 0.7, false);
  return image;
}

QImage tabCache() {
  // A memory module: a green board with gold contacts and black chips.
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 80, 30), 1));
  p.setBrush(QColor(40, 150, 70));
  p.drawRect(QRectF(0.5, 3.5, 15, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(25, 25, 30));
  for (int i = 0; i < 3; ++i) p.drawRect(QRectF(2 + i * 4.3, 5, 3.2, 4));
  p.setBrush(QColor(225, 180, 40));
  for (int i = 0; i < 7; ++i) p.drawRect(QRectF(1.5 + i * 2, 12, 1.2, 2.5));
  return image;
}

QImage tabTweaks() {
  // Three sliders set at different heights.
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double knobs[] = {4.5, 10.5, 7};
  for (int i = 0; i < 3; ++i) {
    const double x = 3 + i * 5;
    p.setPen(QPen(QColor(70, 70, 80), 1.4));
    p.drawLine(QPointF(x, 1.5), QPointF(x, 14.5));
    p.setPen(QPen(QColor(20, 40, 110), 1));
    p.setBrush(QColor(70, 120, 220));
    p.drawRoundedRect(QRectF(x - 2.5, knobs[i] - 1.8, 5, 3.6), 1, 1);
  }
  return image;
}

QImage tabOptions() {
  // A ticked box.
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 70), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 3.5, 11, 11));
  p.setPen(QPen(QColor(20, 130, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath tick;
  tick.moveTo(4, 8.5);
  tick.lineTo(7, 11.5);
  tick.lineTo(14.5, 2);
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
  return image;
}

QImage tabHelp() {
  // A question mark on a blue disc.
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient shade(QPointF(6, 5), 10);
  shade.setColorAt(0, QColor(110, 160, 255));
  shade.setColorAt(1, QColor(20, 60, 170));
  p.setPen(QPen(QColor(15, 40, 120), 1));
  p.setBrush(shade);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(12);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, 16, 16.5), Qt::AlignCenter, QStringLiteral("?"));
  return image;
}

QImage tabTools() {
  // A hammer across a screwdriver.
  QImage image = canvas(16, 16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(200, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3, 13), QPointF(8, 8));
  p.setPen(QPen(QColor(120, 120, 130), 1.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, 8), QPointF(13.5, 2.5));
  p.setPen(QPen(QColor(130, 80, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12.5, 14), QPointF(5.5, 5));
  p.setPen(QPen(QColor(40, 40, 50), 1));
  p.setBrush(QColor(150, 150, 160));
  p.save();
  p.translate(5, 4.5);
  p.rotate(-52);
  p.drawRect(QRectF(-4.5, -2, 9, 4));
  p.restore();
  return image;
}

void background(QPainter& p, const QRectF& area) {
  QLinearGradient sky(area.topLeft(), area.bottomLeft());
  sky.setColorAt(0, QColor(16, 36, 96));
  sky.setColorAt(1, QColor(20, 110, 140));
  p.fillRect(area, sky);
}

QImage splash() {
  const int w = 400, h = 240;
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  background(p, QRectF(0, 0, w, h));
  // Faint rings behind the dial.
  p.setPen(QPen(QColor(255, 255, 255, 28), 2));
  for (int r = 40; r < 260; r += 22) p.drawEllipse(QPointF(100, 150), r, r);
  // The dial on a light face.
  p.setPen(QPen(QColor(10, 20, 50), 2));
  QRadialGradient face(QPointF(90, 100), 110);
  face.setColorAt(0, QColor(250, 250, 245));
  face.setColorAt(1, QColor(190, 200, 210));
  p.setBrush(face);
  p.drawEllipse(QPointF(100, 122), 78, 78);
  drawDial(p, QRectF(38, 62, 124, 110), 0.74);

  QFont title(QStringLiteral("DejaVu Sans"));
  title.setBold(true);
  title.setPixelSize(40);
  p.setFont(title);
  p.setPen(QColor(0, 0, 0, 120));
  p.drawText(QPointF(192, 110), QStringLiteral("Tunewell"));
  p.setPen(QColor(255, 255, 255));
  p.drawText(QPointF(190, 108), QStringLiteral("Tunewell"));

  QFont line(QStringLiteral("DejaVu Sans"));
  line.setPixelSize(13);
  p.setFont(line);
  p.setPen(QColor(200, 225, 255));
  p.drawText(QPointF(190, 136), QStringLiteral("System tuning for"));
  p.drawText(QPointF(190, 154), QStringLiteral("Windows 95, 98 and ME"));

  // A raised 3-D edge, as a window without a frame of its own.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(0, 0, w - 1, 0);
  p.drawLine(0, 0, 0, h - 1);
  p.setPen(QColor(0, 0, 0));
  p.drawLine(0, h - 1, w - 1, h - 1);
  p.drawLine(w - 1, 0, w - 1, h - 1);
  return image;
}

QImage banner(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(QPointF(0, 0), QPointF(w, 0));
  band.setColorAt(0, QColor(16, 36, 96));
  band.setColorAt(0.7, QColor(20, 110, 140));
  band.setColorAt(1, QColor(120, 190, 200));
  p.fillRect(QRectF(0, 0, w, h), band);
  p.setPen(QPen(QColor(255, 255, 255, 30), 2));
  for (int r = 12; r < 3 * h; r += 12) p.drawEllipse(QPointF(h * 0.6, h * 0.65), r, r);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(245, 245, 240));
  const double d = h * 0.84;
  p.drawEllipse(QRectF(h * 0.1, (h - d) / 2, d, d));
  drawDial(p, QRectF(h * 0.16, h * 0.14, d * 0.86, d * 0.78), 0.74, h >= 32);
  QFont title(QStringLiteral("DejaVu Sans"));
  title.setBold(true);
  title.setPixelSize(static_cast<int>(h * 0.5));
  p.setFont(title);
  p.setPen(QColor(0, 0, 0, 110));
  p.drawText(QRectF(h * 1.15 + 1, 1, w, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tunewell"));
  p.setPen(Qt::white);
  p.drawText(QRectF(h * 1.15, 0, w, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tunewell"));
  return image;
}

QImage helpPicture() {
  // A book with the dial on its cover.
  QImage image = canvas(40, 40);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(40.0 / 48.0, 40.0 / 48.0);
  p.setPen(QPen(QColor(20, 30, 80), 1.2));
  p.setBrush(QColor(245, 245, 235));
  p.drawRect(QRectF(9, 5, 34, 40));
  QLinearGradient cover(QPointF(6, 0), QPointF(40, 0));
  cover.setColorAt(0, QColor(30, 60, 150));
  cover.setColorAt(1, QColor(60, 110, 210));
  p.setBrush(cover);
  p.drawRect(QRectF(5, 3, 34, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(245, 245, 240));
  p.drawEllipse(QPointF(22, 20), 12, 12);
  drawDial(p, QRectF(12, 11, 20, 17), 0.74, false);
  p.setPen(QPen(QColor(230, 235, 255), 1.5));
  p.drawLine(QPointF(11, 37), QPointF(33, 37));
  return image;
}

QImage windowIcon() {
  QImage image = canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(10, 20, 50), 1.5));
  p.setBrush(QColor(245, 245, 240));
  p.drawEllipse(QRectF(1, 1, 30, 30));
  drawDial(p, QRectF(4, 5, 24, 22), 0.74, false);
  return image;
}

QImage handCursor() {
  // A pointing hand, the tip of the finger at (8, 0).
  QImage image = canvas(32, 32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath hand;
  hand.moveTo(6.5, 2);
  hand.cubicTo(6.5, 0.2, 9.5, 0.2, 9.5, 2);
  hand.lineTo(9.5, 10);
  hand.cubicTo(9.5, 8.4, 12.5, 8.4, 12.5, 10);
  hand.lineTo(12.5, 11);
  hand.cubicTo(12.5, 9.4, 15.5, 9.4, 15.5, 11);
  hand.lineTo(15.5, 12);
  hand.cubicTo(15.5, 10.4, 18.5, 10.4, 18.5, 12);
  hand.lineTo(18.5, 19);
  hand.cubicTo(18.5, 23, 16.5, 25, 16.5, 26);
  hand.lineTo(8.5, 26);
  hand.cubicTo(8.5, 24.5, 2, 18, 1.5, 15.5);
  hand.cubicTo(1, 13.5, 3, 12.5, 4.5, 14);
  hand.lineTo(6.5, 16);
  hand.closeSubpath();
  p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.setPen(QPen(Qt::black, 0.9));
  p.drawLine(QPointF(12.5, 11), QPointF(12.5, 15));
  p.drawLine(QPointF(15.5, 12), QPointF(15.5, 15.5));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: tw_make_artwork FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  // The names the windows give their pictures, in lower case.
  save(tabStatus(), folder, "statustab.png");
  save(tabCache(), folder, "cachetab.png");
  save(tabTweaks(), folder, "tweakstab.png");
  save(tabOptions(), folder, "optionstab.png");
  save(tabHelp(), folder, "helptab.png");
  save(tabTools(), folder, "toolstab.png");
  save(splash(), folder, "splash.png");
  save(banner(458, 41), folder, "banner.png");
  save(helpPicture(), folder, "helplogo.png");
  save(windowIcon(), folder, "icon.png");
  save(handCursor(), folder, "hand.png");
  return 0;
}
