// The slider: QSlider draws it, the model decides every move.  Keys and
// clicks in the channel go to the model as the classic track bar sends them
// (Page Up moves towards Min, as Left and Up do); a drag of the thumb is the
// model's begin / drag-to / end, so a drag raises Scroll for each position
// and Change once at the release.  While the thumb is held, the slider's
// Text shows in a tip above it, as the classic track bar's tool tip does.

#include <algorithm>
#include <cstdint>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>

#include "ui/forms/slider.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"

namespace tw::qt {

namespace {

class ModelSlider : public QSlider {
 public:
  ModelSlider(forms::Slider& model, QWidget* parent) : QSlider(parent), model_(model) {
    setTracking(false);
    connect(this, &QSlider::sliderPressed, this, [this] {
      guarded([this] { model_.userBeginDrag(); });
      showModel();
      showTip();
    });
    connect(this, &QSlider::sliderMoved, this, [this](int position) {
      guarded([this, position] { model_.userDragTo(position); });
      // During the drag the thumb follows the pointer unless a handler
      // moved the value elsewhere.
      if (model_.value() != position) showModel();
      showTip();
    });
    connect(this, &QSlider::sliderReleased, this, [this] {
      guarded([this] { model_.userEndDrag(); });
      showModel();
      QToolTip::hideText();
    });
  }

  // The tip of a held thumb: the text the handlers gave the slider, centred
  // above the thumb; nothing while the text is empty.
  void showTip() {
    if (!model_.dragging() || model_.text().empty()) return;
    const QRect thumb = thumbRect();
    QToolTip::showText(mapToGlobal(QPoint(thumb.center().x(), thumb.top())),
                       QString::fromStdString(model_.text()), this);
  }

  // The thumb where the model has it.
  void showModel() {
    QSignalBlocker block(this);
    if (value() != model_.value()) setValue(model_.value());
    if (sliderPosition() != model_.value()) setSliderPosition(model_.value());
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    forms::Key key;
    switch (event->key()) {
      case Qt::Key_Left: key = forms::Key::Left; break;
      case Qt::Key_Right: key = forms::Key::Right; break;
      case Qt::Key_Up: key = forms::Key::Up; break;
      case Qt::Key_Down: key = forms::Key::Down; break;
      case Qt::Key_PageUp: key = forms::Key::PageUp; break;
      case Qt::Key_PageDown: key = forms::Key::PageDown; break;
      case Qt::Key_Home: key = forms::Key::Home; break;
      case Qt::Key_End: key = forms::Key::End; break;
      default: QSlider::keyPressEvent(event); return;
    }
    guarded([this, key] { model_.userKey(key); });
    showModel();
    event->accept();
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || onThumb(event->position().toPoint())) {
      QSlider::mousePressEvent(event);
      return;
    }
    // A click in the channel moves one large step towards the pointer.
    const QRect thumb = thumbRect();
    const QPoint at = event->position().toPoint();
    const bool towardsMax = orientation() == Qt::Horizontal ? at.x() > thumb.center().x()
                                                            : at.y() > thumb.center().y();
    guarded([this, towardsMax] { model_.userClickChannel(towardsMax); });
    showModel();
    event->accept();
  }

  void wheelEvent(QWheelEvent* event) override {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
      event->ignore();
      return;
    }
    const forms::Key key = delta > 0 ? forms::Key::Up : forms::Key::Down;
    guarded([this, key] { model_.userKey(key); });
    showModel();
    event->accept();
  }

 private:
  QRect thumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  }
  bool onThumb(const QPoint& at) const { return thumbRect().contains(at); }

  forms::Slider& model_;
};

class SliderBinding : public Binding {
 public:
  SliderBinding(forms::Slider& model, ModelSlider* slider, const BindContext& context)
      : Binding(model, slider, context), model_(model), slider_(slider) {}

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Min:
      case forms::Prop::Max: {
        QSignalBlocker block(slider_);
        slider_->setRange(model_.min(), model_.max());
        slider_->showModel();
        showTicks();
        break;
      }
      case forms::Prop::Value: slider_->showModel(); break;
      case forms::Prop::SmallChange: slider_->setSingleStep(model_.smallChange()); break;
      case forms::Prop::LargeChange: slider_->setPageStep(model_.largeChange()); break;
      case forms::Prop::TickFrequency: showTicks(); break;
      case forms::Prop::Geometry:
        Binding::sync(prop);
        showTicks();
        break;
      case forms::Prop::Orientation: {
        const bool vertical = model_.orientation() == forms::Slider::Orientation::Vertical;
        slider_->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
        // The classic vertical track bar has Min at the top.
        slider_->setInvertedAppearance(vertical);
        slider_->setInvertedControls(false);
        showTicks();
        break;
      }
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    for (forms::Prop prop : {forms::Prop::Orientation, forms::Prop::Min, forms::Prop::SmallChange,
                             forms::Prop::LargeChange}) {
      sync(prop);
    }
  }

 private:
  // A tick every TickFrequency; where that would crowd the ticks into a
  // solid band (a range of many thousands), every so many of them, so that
  // the marks stay marks.
  void showTicks() {
    const int64_t frequency = model_.tickFrequency();
    if (frequency <= 0) {
      slider_->setTickPosition(QSlider::NoTicks);
      return;
    }
    const int64_t range = int64_t{model_.max()} - model_.min();
    const int length = model_.orientation() == forms::Slider::Orientation::Vertical ? slider_->height()
                                                                                    : slider_->width();
    constexpr int64_t kMinSpacing = 4;
    int64_t interval = frequency;
    if (range > 0 && length > 0 && frequency * length < kMinSpacing * range) {
      const int64_t every = (kMinSpacing * range + frequency * length - 1) / (frequency * length);
      interval = frequency * every;
    }
    slider_->setTickInterval(static_cast<int>(std::min<int64_t>(interval, INT32_MAX)));
    slider_->setTickPosition(QSlider::TicksBelow);
  }

  forms::Slider& model_;
  ModelSlider* slider_;
};

}  // namespace

std::unique_ptr<Binding> bindSlider(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::Slider&>(control);
  return std::make_unique<SliderBinding>(model, new ModelSlider(model, parent), context);
}

}  // namespace tw::qt
