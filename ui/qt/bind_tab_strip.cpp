// The tab strip: a row of tabs over a panel.  The frames a program shows
// for each tab are its own controls laid over the panel, so the strip stays
// below every sibling.  A tab the user chooses goes to the model, whose
// BeforeClick may refuse it; the bar then returns to the model's tab.

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "ui/forms/tab_strip.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/pictures.h"

namespace tw::qt {

namespace {

// The classic strip pads its tabs less than Qt's styles do: six tabs with
// icons fit a strip as wide as the one the windows were designed with.
// Made without a base style, a proxy would draw in the platform's default
// style instead of the one the application chose.  The proxy owns its base,
// so it gets a fresh copy of the application's style.
class CompactTabs : public QProxyStyle {
 public:
  CompactTabs() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 12;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

class TabStripWidget : public QWidget {
 public:
  explicit TabStripWidget(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    auto* compact = new CompactTabs;
    compact->setParent(bar_);
    bar_->setStyle(compact);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    bar_->setIconSize(QSize(16, 16));
  }
  QTabBar* bar() const { return bar_; }

  void layoutBar() {
    const QSize hint = bar_->sizeHint();
    bar_->setGeometry(0, 0, std::min(hint.width(), width()), hint.height());
    update();
  }

 protected:
  void resizeEvent(QResizeEvent*) override { layoutBar(); }

  void paintEvent(QPaintEvent*) override {
    // The panel under the tabs, joined to the selected tab as the classic
    // strip draws it.
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedNorth;
    option.tabBarSize = bar_->sizeHint();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    option.rect = rect().adjusted(0, bar_->height() - overlap, 0, 0);
    option.selectedTabRect = bar_->tabRect(bar_->currentIndex());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
  }

 private:
  QTabBar* bar_;
};

class TabStripBinding : public Binding {
 public:
  TabStripBinding(forms::TabStrip& model, TabStripWidget* strip, const BindContext& context)
      : Binding(model, strip, context), model_(model), strip_(strip) {
    QTabBar* bar = strip_->bar();
    QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int index) {
      if (index < 0) return;
      guarded([this, index] { model_.userSelect(index + 1); });
      showSelection();
    });
  }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Tabs:
      case forms::Prop::ImageList: rebuildTabs(); break;
      case forms::Prop::SelectedItem: showSelection(); break;
      case forms::Prop::Geometry:
        Binding::sync(prop);
        strip_->lower();
        break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    rebuildTabs();
    strip_->lower();
  }

 private:
  void rebuildTabs() {
    QTabBar* bar = strip_->bar();
    QSignalBlocker block(bar);
    while (bar->count() > 0) bar->removeTab(bar->count() - 1);
    const auto& images = model_.imageList();
    for (int i = 1; i <= model_.tabCount(); ++i) {
      const forms::Tab& tab = model_.tab(i);
      QIcon icon;
      if (tab.image >= 1 && tab.image <= static_cast<int>(images.size()) && context().pictures != nullptr) {
        icon = QIcon(context().pictures->pixmap(images[static_cast<std::size_t>(tab.image - 1)]));
      }
      const int at = bar->addTab(icon, QString::fromStdString(tab.caption));
      bar->setTabToolTip(at, QString::fromStdString(tab.toolTipText));
    }
    showSelection();
    strip_->layoutBar();
  }

  void showSelection() {
    QTabBar* bar = strip_->bar();
    QSignalBlocker block(bar);
    const int index = model_.selectedIndex() - 1;
    if (bar->currentIndex() != index) bar->setCurrentIndex(index);
    strip_->update();
  }

  forms::TabStrip& model_;
  TabStripWidget* strip_;
};

}  // namespace

std::unique_ptr<Binding> bindTabStrip(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::TabStrip&>(control);
  return std::make_unique<TabStripBinding>(model, new TabStripWidget(parent), context);
}

}  // namespace tw::qt
