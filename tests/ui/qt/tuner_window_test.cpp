// The tuner's main window on the Qt front end: the designed client area, no
// control cut off or covering another, and the tabs switching frames.

#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTabBar>

#include "app/startup/program.h"
#include "host/system/platform.h"
#include "tests/support/fixed_platform.h"
#include "tests/support/machine_fixture.h"
#include "tests/ui/qt/qt_app.h"

namespace tw::qt {
namespace {

struct TunerWindow : ::testing::Test {
  QApplication& app = test::qtApp();
  test::TestMachine machine{false};
  std::shared_ptr<test::FixedFigures> figures = std::make_shared<test::FixedFigures>();
  test::TempDir runtime;
  PictureStore pictures;
  QtEnvironment environment{&pictures};
  std::unique_ptr<app::TunerProgram> program;
  std::unique_ptr<FormWindow> window;  // goes before the program's forms

  void SetUp() override {
    // Fixed figures: what the window shows does not depend on the host.
    machine.host->setPlatform(test::fixedPlatform(figures));
    program = std::make_unique<app::TunerProgram>(*machine.host, environment, "/Ns", runtime.path());
    program->start();
    ASSERT_FALSE(program->finished());
    window = std::make_unique<FormWindow>(program->main(), &pictures);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
};

std::string where(const QWidget* w) {
  return w->metaObject()->className() + std::string(" ") + w->objectName().toStdString();
}

// The widths a caption needs beside its indicator, and its height.
bool captionFits(const QWidget* w, const QString& text, int indicator, std::string& why) {
  const QFontMetrics metrics(w->font());
  const int need = indicator + metrics.horizontalAdvance(text);
  if (need > w->width() || metrics.height() > w->height()) {
    why = "needs " + std::to_string(need) + "x" + std::to_string(metrics.height()) + " for \"" +
          text.toStdString() + "\" in " + std::to_string(w->width()) + "x" + std::to_string(w->height());
    return false;
  }
  return true;
}

TEST_F(TunerWindow, ClientAreaIsAsDesignedAndNoControlIsCutOffOrCovered) {
  EXPECT_EQ(window->size(), QSize(458, 437)) << "6870 x 6555 twips at 15 twips to the pixel";
  EXPECT_EQ(window->windowTitle(), "Tunewell");

  std::vector<std::string> faults;
  std::vector<QWidget*> widgets;
  for (forms::Control* control : program->main().controls()) {
    QWidget* w = window->widgetFor(*control);  // also makes the hidden tabs' widgets
    if (w == nullptr) continue;
    w->setObjectName(QString::fromStdString(control->qualifiedName()));
    widgets.push_back(w);
  }
  for (QWidget* w : widgets) {
    QWidget* parent = w->parentWidget();
    if (!parent->rect().contains(w->geometry())) faults.push_back(where(w) + " leaves its container");
    if (auto* box = qobject_cast<QGroupBox*>(parent); box != nullptr && !box->title().isEmpty()) {
      if (w->y() < QFontMetrics(box->font()).height()) faults.push_back(where(w) + " covers its frame's caption");
    }
    std::string why;
    const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                          w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      const int beside = qobject_cast<QPushButton*>(w) ? 8 : indicator;
      if (!captionFits(w, button->text(), beside, why)) faults.push_back(where(w) + " " + why);
    } else if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull() &&
                                                        label->heightForWidth(label->width()) > label->height()) {
      faults.push_back(where(w) + " cuts off \"" + label->text().toStdString() + "\"");
    } else if ((qobject_cast<QSlider*>(w) || qobject_cast<QComboBox*>(w)) &&
               w->minimumSizeHint().height() > w->height()) {
      faults.push_back(where(w) + " is lower than it can be drawn");
    }
  }
  // Siblings may not overlap, except the tab frames stacked over the strip.
  const QWidget* strip = window->widgetFor(*program->main().TabStrip1);
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    for (std::size_t j = i + 1; j < widgets.size(); ++j) {
      QWidget* a = widgets[i];
      QWidget* b = widgets[j];
      if (a->parentWidget() != b->parentWidget() || a == strip || b == strip) continue;
      if (qobject_cast<QGroupBox*>(a) && qobject_cast<QGroupBox*>(b) && a->geometry() == b->geometry()) continue;
      if (a->geometry().intersects(b->geometry())) faults.push_back(where(a) + " overlaps " + where(b));
    }
  }
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

TEST_F(TunerWindow, EachTabShowsOnlyItsOwnFrameAndHasItsIcon) {
  app::Form1& form = program->main();
  const std::vector<forms::Frame*> frames = {form.Frame1, form.Frame4, form.Frame11,
                                             form.Frame12, form.Frame6, form.Frame10};
  auto* bar = window->widgetFor(*form.TabStrip1)->findChild<QTabBar*>();
  ASSERT_TRUE(bar != nullptr && bar->count() == 6);
  EXPECT_EQ(bar->tabText(1), "Cache");
  for (int tab : {2, 5, 3, 6, 4, 1}) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
    EXPECT_FALSE(bar->tabIcon(tab - 1).isNull()) << "tab " << tab;
    for (std::size_t f = 0; f < frames.size(); ++f) {
      EXPECT_EQ(window->widgetFor(*frames[f])->isVisible(), static_cast<int>(f) == tab - 1)
          << "tab " << tab << ", frame " << frames[f]->name();
    }
  }
}

TEST_F(TunerWindow, ThePointerOverTheCreditShowsTheHandAndItsDescription) {
  app::Form1& form = program->main();
  auto* bar = window->widgetFor(*form.TabStrip1)->findChild<QTabBar*>();
  auto* line = qobject_cast<QLabel*>(window->widgetFor(*form.Label20));
  ASSERT_TRUE(bar != nullptr && line != nullptr);
  QWindow* handle = window->windowHandle();
  auto pointAt = [&](forms::Control& control) {
    QWidget* w = window->widgetFor(control);
    QTest::mouseMove(handle, w->mapTo(window.get(), w->rect().center()));
    return line->text().toStdString();
  };

  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(5).center());
  QWidget* credit = window->widgetFor(*form.Label29);
  EXPECT_EQ(pointAt(*form.Label29), "Visit the Brightfen Software website.");
  EXPECT_EQ(credit->cursor().shape(), Qt::BitmapCursor) << "the program's own hand";
  EXPECT_EQ(credit->cursor().pixmap().size(), QSize(32, 32));
  // The page itself has no description: the line keeps the credit's.
  EXPECT_EQ(pointAt(*form.Web), "Visit the Brightfen Software website.");
}

// The bar on screen is what the gauge's record says: a 50 % bar drawn over
// a full one is the filled colour over the left half of the inside of its
// box and the empty colour over the right half, at every height.
TEST_F(TunerWindow, AHalfGaugeIsFilledOverTheLeftHalfOfItsBoxAndEmptyOverTheRight) {
  app::Form1& form = program->main();
  forms::PictureBox& box = *form.Picture5;
  int16_t full = 100, half = 50;
  form.Picsize(box, full);
  form.Picsize(box, half);
  QWidget* widget = window->widgetFor(box);
  ASSERT_NE(widget, nullptr);
  const QImage image = widget->grab().toImage();
  const int border = 2;
  const int width = static_cast<int>(box.scaleWidth());
  const int height = static_cast<int>(box.scaleHeight());
  ASSERT_EQ(image.width(), width + 2 * border);
  const QColor filled(0x58, 0xE3, 0xFF), empty(0x00, 0x00, 0xFE);
  int wrong = 0;
  std::string first;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const QColor expected = x < width / 2 ? filled : empty;
      if (image.pixelColor(x + border, y + border) == expected) continue;
      if (wrong++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  EXPECT_EQ(wrong, 0) << "first wrong pixel at " << first << " of " << width << " x " << height;
}

// Counts the paints of the widget it watches.
struct PaintCount : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A refresh that draws a bar the same as before leaves it unpainted; one
// that draws another bar, or draws another and then the first again before
// the window paints, leaves the screen showing the last bar drawn.
TEST_F(TunerWindow, TheScreenShowsTheLastBarDrawnAndAnUnchangedBarIsNotPaintedAgain) {
  app::Form1& form = program->main();
  forms::PictureBox& box = *form.Picture5;
  QWidget* widget = window->widgetFor(box);
  ASSERT_TRUE(widget != nullptr && widget->isVisible());
  const QColor filled(0x58, 0xE3, 0xFF), empty(0x00, 0x00, 0xFE);
  PaintCount count, other;
  widget->installEventFilter(&count);
  window->widgetFor(*form.Picture6)->installEventFilter(&other);
  // The colour on screen three quarters of the way along the bar, once the
  // window has painted what is pending.  The window paints on a timer of
  // its own; a second bar is changed as well, and the window paints every
  // changed widget in one pass, so once that one is painted, so is this.
  int16_t marker = 10;
  const auto onScreen = [&] {
    marker = static_cast<int16_t>(100 - marker);
    const int before = other.paints;
    form.Picsize(*form.Picture6, marker);
    EXPECT_TRUE(QTest::qWaitFor([&] { return other.paints > before; }, 5000));
    const QPoint at = widget->mapTo(window.get(), QPoint(widget->width() * 3 / 4, widget->height() / 2));
    return QApplication::primaryScreen()->grabWindow(window->winId()).toImage().pixelColor(at);
  };
  const auto draw = [&](int16_t percent) { form.Picsize(box, percent); };

  draw(50);
  EXPECT_EQ(onScreen(), empty);
  const int paints = count.paints;
  draw(50);
  EXPECT_EQ(onScreen(), empty);
  EXPECT_EQ(count.paints, paints);

  draw(100);
  EXPECT_EQ(onScreen(), filled);
  draw(50);
  draw(100);
  EXPECT_EQ(onScreen(), filled);
  draw(50);
  draw(100);
  draw(50);
  EXPECT_EQ(onScreen(), empty);
}

// The gauges' captions and the information rows hold the longest texts a
// machine gives them without being cut off.
TEST_F(TunerWindow, TheStatusTabsTextsFitTheirLabels) {
  app::Form1& form = program->main();
  form.Label2->setCaption("Hard drive space used: 1907729 Mb of 1907729 Mb");
  form.Label7->setCaption("Physical memory used: 65536 Mb of 65536 Mb");
  form.Label14->setCaption("Virtual memory used: 131072 Mb of 4096 Mb");
  form.Label31(1).setCaption("3999 Mhz");
  form.Label31(2).setCaption("Unknown PentiumPro or II or III");
  form.Label31(3).setCaption("Award Modular BIOS v4.51PG");
  form.Label31(9).setCaption(" 1907729 Mb");
  std::vector<std::string> cut;
  std::vector<forms::Label*> labels = {form.Label3, form.Label2,  form.Label7,     &form.LRe(2),
                                       form.Label11, form.Label14, &form.Label4(0)};
  for (int i = 0; i < 10; ++i) labels.push_back(&form.Label31(i));
  for (int i = 0; i < 10; ++i) labels.push_back(&form.Label30(i));
  for (forms::Label* label : labels) {
    auto* text = qobject_cast<QLabel*>(window->widgetFor(*label));
    ASSERT_NE(text, nullptr) << label->qualifiedName();
    const QFontMetrics metrics(text->font());
    if (metrics.horizontalAdvance(text->text()) > text->width() || metrics.height() > text->height())
      cut.push_back(label->qualifiedName() + " \"" + text->text().toStdString() + "\" needs " +
                    std::to_string(metrics.horizontalAdvance(text->text())) + " of " + std::to_string(text->width()));
  }
  EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
}

}  // namespace
}  // namespace tw::qt
