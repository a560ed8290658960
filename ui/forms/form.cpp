#include "ui/forms/form.h"

#include <stdexcept>

#include "host/runtime/errors.h"
#include "ui/forms/buttons.h"
#include "ui/forms/timer.h"

namespace tw::forms {

namespace {
// Clears a flag when the scope ends, also by an exception from a handler.
struct Reset {
  bool& flag;
  ~Reset() { flag = false; }
};
}  // namespace

Form::Form(std::string name, Environment* environment)
    : environment_(environment != nullptr ? environment : &nullEnvironment()) {
  name_ = std::move(name);
  form_ = this;
  // A form is hidden until it is shown.
  visible_ = false;
}

Form::~Form() {
  // The controls go first, while the form they ask for their environment
  // is still whole.
  children_.clear();
  order_.clear();
  byName_.clear();
  owned_.clear();
}

void Form::setEnvironment(Environment& environment) {
  if (environment_ == &environment) return;
  const bool wasLoaded = loaded_;
  loaded_ = false;
  setTimersRunning();  // stops them in the old environment
  environment_ = &environment;
  loaded_ = wasLoaded;
  setTimersRunning();
}

void Form::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

void Form::setWindowState(int state) {
  if (state < WindowState::Normal || state > WindowState::Maximized) raiseInvalidPropertyValue();
  assign(windowState_, state, Prop::WindowState);
}

void Form::setTopMost(bool on) { assign(topMost_, on, Prop::TopMost); }

void Form::adopt(std::unique_ptr<Control> control, std::string name, int index, Container* parent) {
  if (name.empty()) throw std::logic_error("a control needs a name");
  if (index < -1) throw std::logic_error("a control array index cannot be negative: " + name);
  std::vector<Control*>& namesakes = byName_[foldedNoCase(name)];
  for (const Control* c : namesakes) {
    if (index == -1 || c->index_ == -1)
      throw std::logic_error("the name " + name + " belongs to a single control and to an array");
    if (c->index_ == index) throw std::logic_error("the control " + c->qualifiedName() + " exists already");
  }
  if (parent == nullptr) parent = this;
  if (parent->form_ != this) throw std::logic_error("the container of " + name + " is on another form");
  control->name_ = std::move(name);
  control->index_ = index;
  control->form_ = this;
  control->container_ = parent;
  parent->children_.push_back(control.get());
  order_.push_back(control.get());
  namesakes.push_back(control.get());
  owned_.push_back(std::move(control));
}

Control* Form::find(std::string_view name, int index) const {
  const auto it = byName_.find(foldedNoCase(name));
  if (it == byName_.end()) return nullptr;
  for (Control* c : it->second)
    if (c->index_ == index) return c;
  return nullptr;
}

void Form::load() {
  if (loaded_ || loading_) return;
  loading_ = true;
  Reset reset{loading_};
  if (!initialized_) {
    initialized_ = true;
    Initialize.raise();
  }
  loaded_ = true;
  changed(Prop::Loaded);
  setTimersRunning();
  Load.raise();
}

void Form::setVisible(bool visible) {
  // Showing or hiding a form that is not loaded loads it first.
  if (!loaded_) load();
  if (!loaded_) return;  // its Load unloaded it again
  Control::setVisible(visible);
}

bool Form::unload(UnloadMode mode) {
  if (!loaded_) return true;
  if (unloading_) return false;
  unloading_ = true;
  Reset reset{unloading_};
  bool cancel = false;
  QueryUnload.raise(cancel, mode);
  if (cancel) return false;
  Unload.raise(cancel);
  if (cancel) return false;
  Control::setVisible(false);
  loaded_ = false;
  setTimersRunning();
  changed(Prop::Loaded);
  return true;
}

void Form::setTimersRunning() {
  for (Control* c : order_)
    if (auto* timer = dynamic_cast<Timer*>(c)) timer->reschedule();
}

CommandButton* Form::defaultButton() const {
  for (Control* c : order_) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (button != nullptr && button->isDefault()) return button;
  }
  return nullptr;
}

CommandButton* Form::cancelButton() const {
  for (Control* c : order_) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (button != nullptr && button->isCancel()) return button;
  }
  return nullptr;
}

bool Form::userKey(Key key) {
  CommandButton* button = key == Key::Enter ? defaultButton() : key == Key::Escape ? cancelButton() : nullptr;
  return button != nullptr && button->userClick();
}

void raiseMissingArrayElement(int index) {
  throw RuntimeError(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
}

}  // namespace tw::forms
