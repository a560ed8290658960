#include "ui/forms/control.h"

#include <algorithm>

#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"
#include "ui/forms/environment.h"
#include "ui/forms/form.h"

namespace tw::forms {

const char* propName(Prop p) noexcept {
  switch (p) {
    case Prop::Enabled: return "Enabled";
    case Prop::Visible: return "Visible";
    case Prop::ToolTipText: return "ToolTipText";
    case Prop::Geometry: return "Geometry";
    case Prop::Tag: return "Tag";
    case Prop::Font: return "Font";
    case Prop::MousePointer: return "MousePointer";
    case Prop::Caption: return "Caption";
    case Prop::Value: return "Value";
    case Prop::Alignment: return "Alignment";
    case Prop::AutoSize: return "AutoSize";
    case Prop::WordWrap: return "WordWrap";
    case Prop::ForeColor: return "ForeColor";
    case Prop::BackColor: return "BackColor";
    case Prop::BackStyle: return "BackStyle";
    case Prop::Default: return "Default";
    case Prop::Cancel: return "Cancel";
    case Prop::Min: return "Min";
    case Prop::Max: return "Max";
    case Prop::SmallChange: return "SmallChange";
    case Prop::LargeChange: return "LargeChange";
    case Prop::TickFrequency: return "TickFrequency";
    case Prop::Orientation: return "Orientation";
    case Prop::Selection: return "Selection";
    case Prop::Text: return "Text";
    case Prop::Style: return "Style";
    case Prop::Sorted: return "Sorted";
    case Prop::List: return "List";
    case Prop::ListIndex: return "ListIndex";
    case Prop::Tabs: return "Tabs";
    case Prop::SelectedItem: return "SelectedItem";
    case Prop::ImageList: return "ImageList";
    case Prop::Drawing: return "Drawing";
    case Prop::DrawWidth: return "DrawWidth";
    case Prop::AutoRedraw: return "AutoRedraw";
    case Prop::Picture: return "Picture";
    case Prop::Stretch: return "Stretch";
    case Prop::Scale: return "Scale";
    case Prop::BorderStyle: return "BorderStyle";
    case Prop::Interval: return "Interval";
    case Prop::LocationURL: return "LocationURL";
    case Prop::Navigation: return "Navigation";
    case Prop::WindowState: return "WindowState";
    case Prop::TopMost: return "TopMost";
    case Prop::Loaded: return "Loaded";
  }
  return "?";
}

Control::Control() = default;
Control::~Control() = default;

std::string Control::qualifiedName() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

void Control::setEnabled(bool enabled) { assign(enabled_, enabled, Prop::Enabled); }

void Control::setVisible(bool visible) { assign(visible_, visible, Prop::Visible); }

void Control::setToolTipText(std::string text) { assign(toolTipText_, std::move(text), Prop::ToolTipText); }

void Control::setTag(std::string tag) { assign(tag_, std::move(tag), Prop::Tag); }

void Control::move(double left, double top, double width, double height) {
  if (width < 0 || height < 0) raiseInvalidPropertyValue();
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  changed(Prop::Geometry);
}

void Control::setFont(Font font) { assign(font_, std::move(font), Prop::Font); }

void Control::setMousePointer(int pointer) {
  if ((pointer < 0 || pointer > 15) && pointer != MousePointer::Custom) raiseInvalidPropertyValue();
  assign(mousePointer_, pointer, Prop::MousePointer);
}

void Control::setMouseIcon(std::string resource) { assign(mouseIcon_, std::move(resource), Prop::MousePointer); }

bool Control::takesInput() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->enabled_ || !c->visible_) return false;
  }
  // A form that is not loaded has no window to click in.
  return form_ == nullptr || form_->loaded();
}

void Control::userMouseMove(int button, int shift, double x, double y) {
  for (Control* c = this; c != nullptr; c = c->container_) {
    if (c->takesInput()) {
      c->MouseMove.raise(button, shift, x, y);
      return;
    }
    x += c->left_;
    y += c->top_;
  }
}

Environment& Control::environment() const {
  return form_ != nullptr ? form_->environment() : nullEnvironment();
}

void raiseInvalidPropertyValue() { throw RuntimeError(380, "Invalid property value"); }
void raiseInvalidPropertyArrayIndex() { throw RuntimeError(381, "Invalid property array index"); }
void raiseTextReadOnly() { throw RuntimeError(383, "'Text' property is read-only"); }
void raiseIndexOutOfBounds() { throw RuntimeError(35600, "Index out of bounds"); }

// The controls hold UTF-8; their letters compare as the code page folds them.
std::string foldedNoCase(std::string_view s) {
  static const CodePage ansi(1252);
  return ansiFold(ansi.toAnsi(s));
}

bool equalNoCase(std::string_view a, std::string_view b) {
  return foldedNoCase(a) == foldedNoCase(b);
}

bool lessNoCase(std::string_view a, std::string_view b) {
  const std::string fa = foldedNoCase(a), fb = foldedNoCase(b);
  if (fa != fb) return fa < fb;
  return a < b;
}

}  // namespace tw::forms
