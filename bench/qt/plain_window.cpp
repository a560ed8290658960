// The yardstick of the start-up benchmark: a plain Qt Widgets program that
// builds the tuner's main window directly, with the same controls, texts,
// pictures and style, and reports through the same probe.  The controls are
// the tuner's own as start-up leaves them (written at build time by
// write_plain_window.cpp).

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleFactory>
#include <QTabBar>
#include <QTextBrowser>
#include <QVector>
#include <QWidget>

#include "ui/qt/shown_probe.h"

namespace {

struct PlainControl {
  const char* kind;
  int parent;  // index of the frame it lies in; -1: the window
  int left, top, width, height;
  bool visible;
  const char* text;  // caption; a list's items or the tabs (caption TAB picture) one a line
  int value, min, max;
};

#include "plain_window_controls.inc"

QString text(const char* bytes) { return QString::fromLatin1(bytes); }

QPixmap picture(const char* name) {
  return QPixmap(QStringLiteral(":/artwork/") + text(name).toLower() + QStringLiteral(".png"));
}

QWidget* make(const PlainControl& c, QWidget* parent) {
  const QString caption = text(c.text);
  const QString kind = QString::fromLatin1(c.kind);
  if (kind == QLatin1String("Label")) return new QLabel(caption, parent);
  if (kind == QLatin1String("Frame")) return new QGroupBox(caption, parent);
  if (kind == QLatin1String("CommandButton")) return new QPushButton(caption, parent);
  if (kind == QLatin1String("CheckBox")) {
    auto* box = new QCheckBox(caption, parent);
    box->setChecked(c.value == 1);
    return box;
  }
  if (kind == QLatin1String("OptionButton")) {
    auto* button = new QRadioButton(caption, parent);
    button->setAutoExclusive(false);
    button->setChecked(c.value != 0);
    return button;
  }
  if (kind == QLatin1String("ComboBox")) {
    auto* list = new QComboBox(parent);
    if (!caption.isEmpty()) list->addItems(caption.split(QLatin1Char('\n')));
    list->setCurrentIndex(c.value);
    return list;
  }
  if (kind == QLatin1String("Slider") || kind == QLatin1String("VerticalSlider")) {
    auto* slider = new QSlider(kind == QLatin1String("Slider") ? Qt::Horizontal : Qt::Vertical, parent);
    slider->setRange(c.min, c.max);
    slider->setValue(c.value);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
  }
  if (kind == QLatin1String("Image")) {
    auto* image = new QLabel(parent);
    image->setPixmap(picture(c.text));
    image->setScaledContents(c.value != 0);
    return image;
  }
  if (kind == QLatin1String("PictureBox")) {
    auto* box = new QLabel(parent);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (c.text[0] != '\0') box->setPixmap(picture(c.text));
    return box;
  }
  if (kind == QLatin1String("TabStrip")) {
    auto* bar = new QTabBar(parent);
    for (const QString& tab : caption.split(QLatin1Char('\n'))) {
      const QStringList parts = tab.split(QLatin1Char('\t'));
      bar->addTab(QIcon(picture(parts.value(1).toLatin1().constData())), parts.value(0));
    }
    return bar;
  }
  if (kind == QLatin1String("WebBrowser")) return new QTextBrowser(parent);
  return new QWidget(parent);
}

}  // namespace

int main(int argc, char** argv) {
  const bool report = tw::qt::ShownProbe::takeOption(argc, argv);
  QApplication app(argc, argv);
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
  }
  QWidget window;
  window.setWindowTitle(text(kTitle));
  window.resize(kWidth, kHeight);
  QVector<QWidget*> made;
  for (const PlainControl& c : kControls) {
    QWidget* parent = c.parent >= 0 ? made[c.parent] : &window;
    QWidget* widget = make(c, parent);
    widget->setGeometry(c.left, c.top, c.width, c.height);
    widget->setVisible(c.visible);
    made.push_back(widget);
  }
  tw::qt::ShownProbe probe;
  if (report) probe.watch(&window);
  window.show();
  return app.exec();
}
