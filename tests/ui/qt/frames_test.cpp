// The borders drawn with filled rectangles must be the ones Qt strokes, pixel
// for pixel, at every size and in every state the windows show.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

#include <gtest/gtest.h>

#include "tests/ui/qt/qt_app.h"
#include "ui/qt/classic_style.h"
#include "ui/qt/frames.h"

namespace tw::qt {
namespace {

const QSize kCanvas(40, 30);

QImage drawn(const std::function<void(QPainter&)>& draw) {
  QImage image(kCanvas, QImage::Format_RGB32);
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

// Every colour role a border uses in a colour of its own, so that a colour
// on the wrong edge shows.
QPalette distinctPalette() {
  QPalette palette;
  palette.setColor(QPalette::Dark, QColor(10, 20, 30));
  palette.setColor(QPalette::Light, QColor(200, 210, 220));
  palette.setColor(QPalette::Shadow, QColor(90, 0, 0));
  palette.setColor(QPalette::Midlight, QColor(0, 90, 0));
  palette.setColor(QPalette::Button, QColor(0, 0, 90));
  return palette;
}

// The whole canvas, a border inside it, and every size up to 9 by 9.
std::vector<QRect> borders() {
  std::vector<QRect> rects{QRect(0, 0, 40, 30), QRect(5, 2, 31, 20)};
  for (int w = 1; w <= 9; ++w) {
    for (int h = 1; h <= 9; ++h) rects.emplace_back(3, 4, w, h);
  }
  return rects;
}

TEST(Frames, EachBorderIsQtsOwnAtEverySize) {
  test::qtApp();
  const QPalette palette = distinctPalette();
  const QBrush fill(QColor(250, 128, 0));
  for (const QRect& r : borders()) {
    const std::string size = std::to_string(r.width()) + "x" + std::to_string(r.height());
    for (const bool sunken : {true, false}) {
      for (const QBrush* f : {static_cast<const QBrush*>(nullptr), &fill}) {
        const std::string what = size + (sunken ? " sunken" : " raised") + (f ? " filled" : "");
        QImage ours = drawn([&](QPainter& p) { drawWinPanel(p, r, palette, sunken, f); });
        QImage qts = drawn([&](QPainter& p) { qDrawWinPanel(&p, r, palette, sunken, f); });
        EXPECT_TRUE(ours == qts) << "panel " << what << ": " << firstDifference(ours, qts);
        ours = drawn([&](QPainter& p) { drawWinButton(p, r, palette, sunken, f); });
        qts = drawn([&](QPainter& p) { qDrawWinButton(&p, r, palette, sunken, f); });
        EXPECT_TRUE(ours == qts) << "button " << what << ": " << firstDifference(ours, qts);
      }
      // A gap across the top edge, as a frame's title makes.
      for (const QRect& gap : {QRect(), QRect(r.x() + 2, r.y() - 3, 6, 5)}) {
        const QImage ours = drawn([&](QPainter& p) { drawShadeRect(p, r, palette, sunken, gap); });
        const QImage qts = drawn([&](QPainter& p) {
          if (!gap.isEmpty()) p.setClipRegion(QRegion(r) - gap);
          qDrawShadeRect(&p, r, palette, sunken, 1, 0, nullptr);
        });
        EXPECT_TRUE(ours == qts) << "shade " << size << (sunken ? " sunken" : " raised") << (gap.isEmpty() ? "" : " gap")
                                 << ": " << firstDifference(ours, qts);
      }
    }
  }
}

// What the windows ask the style for, drawn by the classic style and by
// Qt's plain Windows style.
TEST(Frames, TheClassicStyleDrawsWhatTheWindowsStyleDraws) {
  test::qtApp();
  const std::unique_ptr<QStyle> classic(makeClassicStyle());
  const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
  ASSERT_TRUE(classic && windows);
  auto compare = [&](QStyle::PrimitiveElement element, const QStyleOption& option, const std::string& what) {
    const QImage ours = drawn([&](QPainter& p) { classic->drawPrimitive(element, &option, &p, nullptr); });
    const QImage qts = drawn([&](QPainter& p) { windows->drawPrimitive(element, &option, &p, nullptr); });
    EXPECT_TRUE(ours == qts) << what << ": " << firstDifference(ours, qts);
  };
  auto compareComplex = [&](QStyle::ComplexControl control, const QStyleOptionComplex& option, const std::string& what) {
    const QImage ours = drawn([&](QPainter& p) { classic->drawComplexControl(control, &option, &p, nullptr); });
    const QImage qts = drawn([&](QPainter& p) { windows->drawComplexControl(control, &option, &p, nullptr); });
    EXPECT_TRUE(ours == qts) << what << ": " << firstDifference(ours, qts);
  };
  for (const QRect& r : {QRect(2, 3, 30, 20), QRect(1, 1, 4, 4), QRect(0, 0, 40, 30)}) {
    const std::string size = std::to_string(r.width()) + "x" + std::to_string(r.height());
    QStyleOptionFrame frame;
    frame.rect = r;
    frame.palette = distinctPalette();
    frame.lineWidth = 1;
    compare(QStyle::PE_FrameGroupBox, frame, "frame " + size);
    frame.features = QStyleOptionFrame::Flat;
    compare(QStyle::PE_FrameGroupBox, frame, "flat frame " + size);
    frame.features = QStyleOptionFrame::None;
    frame.lineWidth = 2;
    compare(QStyle::PE_FrameGroupBox, frame, "thick frame " + size);

    // A frame with its title over the border, with and without a check box.
    for (const QString& title : {QString(), QStringLiteral("Cache")}) {
      for (const bool checkable : {false, true}) {
        QStyleOptionGroupBox box;
        box.rect = r;
        box.palette = distinctPalette();
        box.lineWidth = 1;
        box.text = title;
        box.textAlignment = Qt::AlignLeft;
        box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (checkable) box.subControls |= QStyle::SC_GroupBoxCheckBox;
        compareComplex(QStyle::CC_GroupBox, box,
                       "group box " + size + " \"" + title.toStdString() + "\"" + (checkable ? " checkable" : ""));
      }
    }

    QStyleOptionTabWidgetFrame panel;
    panel.rect = r;
    panel.palette = distinctPalette();
    compare(QStyle::PE_FrameTabWidget, panel, "tab panel " + size);

    for (const bool isDefault : {false, true}) {
      const std::vector<QStyle::State> states{QStyle::State_Raised, QStyle::State_Sunken, QStyle::State_On,
                                              QStyle::State_Raised | QStyle::State_On, QStyle::State_None};
      for (const QStyle::State state : states) {
        QStyleOptionButton button;
        button.rect = r;
        button.palette = distinctPalette();
        button.state = state | QStyle::State_Enabled;
        if (isDefault) button.features = QStyleOptionButton::DefaultButton;
        compare(QStyle::PE_PanelButtonCommand, button,
                "button " + size + " state " + std::to_string(static_cast<int>(state)) + (isDefault ? " default" : ""));
      }
    }
  }
}

}  // namespace
}  // namespace tw::qt
