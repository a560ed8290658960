#include "ui/qt/binding.h"

#include <cstring>

#include "ui/qt/look.h"

namespace tw::qt {

Binding::Binding(forms::Control& control, QWidget* widget, const BindContext& context)
    : control_(control), widget_(widget), context_(context) {
  token_ = control_.PropertyChanged.connect([this](forms::Prop prop) {
    if (widget_) sync(prop);
  });
}

Binding::~Binding() { control_.PropertyChanged.disconnect(token_); }

void Binding::syncAll() {
  if (!widget_) return;
  for (forms::Prop prop : {forms::Prop::Font, forms::Prop::Geometry, forms::Prop::ToolTipText,
                           forms::Prop::MousePointer, forms::Prop::Enabled}) {
    sync(prop);
  }
  syncOwn();
  sync(forms::Prop::Visible);
}

QRect Binding::pixelGeometry() const {
  return toPixels(control_.left(), control_.top(), control_.width(), control_.height(),
                  context_.twipsPerPixelX, context_.twipsPerPixelY);
}

void Binding::sync(forms::Prop prop) {
  QWidget* w = widget_;
  switch (prop) {
    case forms::Prop::Enabled: w->setEnabled(control_.enabled()); break;
    case forms::Prop::Visible: w->setVisible(control_.visible()); break;
    case forms::Prop::ToolTipText: w->setToolTip(QString::fromStdString(control_.toolTipText())); break;
    case forms::Prop::Geometry: w->setGeometry(pixelGeometry()); break;
    case forms::Prop::Font: w->setFont(toQFont(control_.font())); break;
    case forms::Prop::MousePointer:
      if (control_.mousePointer() == forms::MousePointer::Default) {
        w->unsetCursor();
      } else if (context_.pictures != nullptr) {
        w->setCursor(toQCursor(control_.mousePointer(), control_.mouseIcon(), *context_.pictures));
      }
      break;
    default: break;
  }
}

std::unique_ptr<Binding> makeBinding(forms::Control& control, QWidget* parent, const BindContext& context) {
  using Factory = std::unique_ptr<Binding> (*)(forms::Control&, QWidget*, const BindContext&);
  static const struct {
    const char* type;
    Factory make;
  } factories[] = {
      {"CheckBox", bindCheckBox},       {"OptionButton", bindOptionButton},
      {"CommandButton", bindCommandButton}, {"Slider", bindSlider},
      {"ComboBox", bindComboBox},       {"Label", bindLabel},
      {"Frame", bindFrame},             {"Image", bindImage},
      {"TabStrip", bindTabStrip},       {"PictureBox", bindPictureBox},
      {"WebBrowser", bindWebBrowser},
  };
  for (const auto& f : factories) {
    if (std::strcmp(control.typeName(), f.type) == 0) {
      auto binding = f.make(control, parent, context);
      binding->syncAll();
      return binding;
    }
  }
  return nullptr;
}

}  // namespace tw::qt
