#pragma once
// One binding per control: it creates the control's widget, keeps it in step
// with the model (every PropertyChanged lands in sync()), and turns the
// user's actions on the widget into the model's user... calls.  The model
// stays the authority: after an action the widget shows what the model
// holds, so a value a handler refused or corrected is what the user sees.

#include <functional>
#include <memory>
#include <string>

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "ui/forms/control.h"

namespace tw::qt {

class PictureStore;

// What every binding of one window shares.
struct BindContext {
  const PictureStore* pictures = nullptr;
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
  // Windows path <-> host path, for the pages a browser loads; empty
  // functions leave paths as they are.
  std::function<std::string(const std::string&)> toHostPath;
  std::function<std::string(const std::string&)> toWindowsPath;
};

class Binding {
 public:
  Binding(forms::Control& control, QWidget* widget, const BindContext& context);
  virtual ~Binding();
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;

  forms::Control& control() const noexcept { return control_; }
  QWidget* widget() const noexcept { return widget_; }

  // Brings the whole widget in line with the model (after creation).
  void syncAll();

  // The widget that holds the control's children (frames, picture boxes);
  // null for controls that hold none.
  virtual QWidget* childArea() const { return nullptr; }

 protected:
  // Properties every control has are handled here; bindings handle their
  // own and pass the rest on.
  virtual void sync(forms::Prop prop);
  // The properties syncAll() replays, besides the common ones.
  virtual void syncOwn() {}
  // The widget's rectangle in its parent, in pixels.
  virtual QRect pixelGeometry() const;

  const BindContext& context() const noexcept { return context_; }

 private:
  forms::Control& control_;
  QPointer<QWidget> widget_;
  const BindContext& context_;
  int token_ = 0;
};

// Creates the widget and binding for a control, with `parent` as the widget
// of its container.  Null for controls without a widget (timers) and for
// types the front end does not know.
std::unique_ptr<Binding> makeBinding(forms::Control& control, QWidget* parent, const BindContext& context);

// The factories, one per control type (bind_*.cpp).
std::unique_ptr<Binding> bindCheckBox(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindOptionButton(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindCommandButton(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindSlider(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindComboBox(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindLabel(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindFrame(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindImage(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindTabStrip(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindPictureBox(forms::Control& control, QWidget* parent, const BindContext& context);
std::unique_ptr<Binding> bindWebBrowser(forms::Control& control, QWidget* parent, const BindContext& context);

}  // namespace tw::qt
