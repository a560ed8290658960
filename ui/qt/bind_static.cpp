// Label, frame and image: they show something and take clicks.

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

#include "ui/forms/static_controls.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"

namespace tw::qt {

namespace {

// A click is a press and a release of the left button over the control, as
// the platform reports it.
template <class Base, class Model>
class Clickable : public Base {
 public:
  Clickable(Model& model, QWidget* parent) : Base(parent), model_(model) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton;
    Base::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       this->rect().contains(event->position().toPoint());
    pressed_ = false;
    Base::mouseReleaseEvent(event);
    if (click) guarded([this] { model_.userClick(); });
  }

 private:
  Model& model_;
  bool pressed_ = false;
};

class LabelBinding : public Binding {
 public:
  LabelBinding(forms::Label& model, QLabel* label, const BindContext& context)
      : Binding(model, label, context), model_(model), label_(label) {
    // A caption is text, never markup, whatever it looks like.
    label_->setTextFormat(Qt::PlainText);
  }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Caption:
        label_->setText(withoutAccessMarks(QString::fromStdString(model_.caption())));
        if (model_.autoSize()) label_->setGeometry(pixelGeometry());
        break;
      case forms::Prop::Alignment: {
        const Qt::Alignment horizontal = model_.alignment() == forms::Alignment::RightJustify ? Qt::AlignRight
                                         : model_.alignment() == forms::Alignment::Center   ? Qt::AlignHCenter
                                                                                            : Qt::AlignLeft;
        label_->setAlignment(horizontal | Qt::AlignTop);
        break;
      }
      case forms::Prop::AutoSize:
      case forms::Prop::WordWrap:
        // A label of fixed size wraps its caption at words; an auto-sized
        // one grows sideways unless WordWrap lets it grow downwards.
        label_->setWordWrap(!model_.autoSize() || model_.wordWrap());
        label_->setGeometry(pixelGeometry());
        break;
      case forms::Prop::ForeColor:
      case forms::Prop::BackColor:
      case forms::Prop::BackStyle: applyColours(); break;
      case forms::Prop::Font:
        Binding::sync(prop);
        if (model_.autoSize()) label_->setGeometry(pixelGeometry());
        break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    for (forms::Prop prop : {forms::Prop::Alignment, forms::Prop::WordWrap, forms::Prop::ForeColor,
                             forms::Prop::Caption}) {
      sync(prop);
    }
  }
  QRect pixelGeometry() const override {
    QRect r = Binding::pixelGeometry();
    if (!model_.autoSize()) return r;
    if (model_.wordWrap()) {
      r.setHeight(label_->heightForWidth(r.width()));
    } else {
      r.setSize(label_->sizeHint());
    }
    return r;
  }

 private:
  void applyColours() {
    QPalette palette = label_->parentWidget() != nullptr ? label_->parentWidget()->palette() : label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(model_.foreColor(), palette));
    const bool opaque = model_.backStyle() == forms::BackStyle::Opaque;
    if (opaque) palette.setColor(QPalette::Window, toQColor(model_.backColor(), palette));
    label_->setPalette(palette);
    label_->setAutoFillBackground(opaque);
  }

  forms::Label& model_;
  QLabel* label_;
};

class FrameBinding : public Binding {
 public:
  FrameBinding(forms::Frame& model, QGroupBox* box, const BindContext& context)
      : Binding(model, box, context), model_(model), box_(box) {}
  QWidget* childArea() const override { return box_; }

 protected:
  void sync(forms::Prop prop) override {
    if (prop == forms::Prop::Caption) {
      // An empty caption leaves the frame's line whole.
      box_->setTitle(QString::fromStdString(model_.caption()));
      return;
    }
    Binding::sync(prop);
  }
  void syncOwn() override { sync(forms::Prop::Caption); }

 private:
  forms::Frame& model_;
  QGroupBox* box_;
};

class ImageBinding : public Binding {
 public:
  ImageBinding(forms::Image& model, QLabel* label, const BindContext& context)
      : Binding(model, label, context), model_(model), label_(label) {
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Picture:
        label_->setPixmap(context().pictures != nullptr ? context().pictures->pixmap(model_.picture()) : QPixmap());
        break;
      case forms::Prop::Stretch: label_->setScaledContents(model_.stretch()); break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    sync(forms::Prop::Stretch);
    sync(forms::Prop::Picture);
  }

 private:
  forms::Image& model_;
  QLabel* label_;
};

}  // namespace

std::unique_ptr<Binding> bindLabel(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::Label&>(control);
  return std::make_unique<LabelBinding>(model, new Clickable<QLabel, forms::Label>(model, parent), context);
}

std::unique_ptr<Binding> bindFrame(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::Frame&>(control);
  return std::make_unique<FrameBinding>(model, new Clickable<QGroupBox, forms::Frame>(model, parent), context);
}

std::unique_ptr<Binding> bindImage(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::Image&>(control);
  return std::make_unique<ImageBinding>(model, new Clickable<QLabel, forms::Image>(model, parent), context);
}

}  // namespace tw::qt
