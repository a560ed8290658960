#pragma once
// A window: the form that owns its controls, knows them by name (and by
// name and index for control arrays), and goes through the classic life of
// a window: Initialize and Load when it is loaded, QueryUnload and Unload
// (either of which may cancel) when it is unloaded.  Loading switches its
// timers on; unloading hides the form and stops them.
//
//   class Form1 : public Form {
//     CheckBox& Check1 = add<CheckBox>("Check1");
//     ControlArray<CheckBox> Check10{*this, "Check10"};   // Check10.add(0) ...
//   };

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/forms/control.h"
#include "ui/forms/environment.h"

namespace tw::forms {

class CommandButton;
class Timer;

// Why a form is being unloaded (QueryUnload's UnloadMode).
enum class UnloadMode {
  FormControlMenu = 0,  // the close box or the window menu's Close
  FormCode = 1,         // the program unloaded it
  AppWindows = 2,       // Windows is ending the session
  AppTaskManager = 3,   // the task list closed the program
};

namespace WindowState {
constexpr int Normal = 0;
constexpr int Minimized = 1;
constexpr int Maximized = 2;
}  // namespace WindowState

class Form : public Container {
 public:
  // Without an environment the form runs none of its timers and DoEvents
  // does nothing.
  explicit Form(std::string name, Environment* environment = nullptr);
  ~Form() override;
  const char* typeName() const noexcept override { return "Form"; }

  Environment& environment() const noexcept { return *environment_; }
  void setEnvironment(Environment& environment);
  // Lets pending window messages run.
  void doEvents() { environment_->doEvents(); }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);
  int windowState() const noexcept { return windowState_; }
  void setWindowState(int state);  // 0..2; else Invalid property value
  // Kept above the windows of other programs (what SetWindowPos with
  // HWND_TOPMOST asks of the window).
  bool topMost() const noexcept { return topMost_; }
  void setTopMost(bool on);

  // Creates a control of the form, inside `parent` (the form itself when
  // null).  A name already taken (by a single control, or by the same
  // element of an array) is a design fault and throws std::logic_error.
  template <class T>
  T& add(std::string name, int index = -1, Container* parent = nullptr) {
    auto control = std::make_unique<T>();
    T& ref = *control;
    adopt(std::move(control), std::move(name), index, parent);
    return ref;
  }

  // The control of that name (and index, for an element of an array), or
  // null.  Names compare case-insensitively.
  Control* find(std::string_view name, int index = -1) const;
  template <class T>
  T* findAs(std::string_view name, int index = -1) const {
    return dynamic_cast<T*>(find(name, index));
  }
  // Every control, in the order they were added (the tab order).
  const std::vector<Control*>& controls() const noexcept { return order_; }

  bool loaded() const noexcept { return loaded_; }
  // Raises Initialize (the first time only) and Load.  A handler may unload
  // the form from inside Load; it then stays unloaded.
  void load();
  // Visible: True loads the form if needed.
  void setVisible(bool visible) override;
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  // Raises QueryUnload(Cancel, UnloadMode) and Unload(Cancel); false when a
  // handler cancelled.  Unloading an unloaded form does nothing; a request
  // made while the form is already unloading is ignored (false).
  bool unload(UnloadMode mode = UnloadMode::FormCode);

  // The user closes the window with its close box.
  bool userClose() { return unload(UnloadMode::FormControlMenu); }
  // Enter presses the default button, Escape the cancel button (when they
  // take input).  False when no button took the key.
  bool userKey(Key key);

  CommandButton* defaultButton() const;
  CommandButton* cancelButton() const;

  Event<> Initialize;
  Event<> Load;
  Event<bool&, UnloadMode> QueryUnload;  // (Cancel, UnloadMode)
  Event<bool&> Unload;                   // (Cancel)

 private:
  void adopt(std::unique_ptr<Control> control, std::string name, int index, Container* parent);
  void setTimersRunning();

  Environment* environment_;
  std::string caption_;
  int windowState_ = WindowState::Normal;
  bool topMost_ = false;
  bool initialized_ = false;
  bool loaded_ = false;
  bool loading_ = false;
  bool unloading_ = false;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> order_;
  // The controls under their case-folded names: a form of a few hundred
  // controls is built and searched without comparing every pair.
  std::unordered_map<std::string, std::vector<Control*>> byName_;
};

// Raises "Control array element '<index>' doesn't exist" (340).
[[noreturn]] void raiseMissingArrayElement(int index);

// The elements of a control array: several controls of one name told apart
// by their index, which handlers connected through the array receive.
//
//   Check10.connect(&CheckBox::Click, [this](int index) { Check10_Click(index); });
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, std::string name) : form_(form), name_(std::move(name)) {}
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  const std::string& name() const noexcept { return name_; }

  // Creates element `index`; handlers already connected through the array
  // are connected to it too.
  T& add(int index, Container* parent = nullptr) {
    T& element = form_.add<T>(name_, index, parent);
    elements_[index] = &element;
    for (auto& bind : binders_) bind(index, element);
    return element;
  }

  // Check10(2); a missing element raises Control array element doesn't
  // exist (340).
  T& operator()(int index) const {
    auto it = elements_.find(index);
    if (it == elements_.end()) raiseMissingArrayElement(index);
    return *it->second;
  }
  bool has(int index) const { return elements_.count(index) != 0; }
  int count() const noexcept { return static_cast<int>(elements_.size()); }
  int lbound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
  int ubound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

  // Connects one handler to the event of every element, present and future;
  // it receives the element's index before the event's own arguments.
  template <class Owner, class... Args, class Handler>
  void connect(Event<Args...> Owner::*event, Handler handler) {
    static_assert(std::is_base_of_v<Owner, T>, "the event belongs to another kind of control");
    auto bind = [event, handler](int index, T& element) {
      (element.*event).connect([handler, index](Args... args) { handler(index, args...); });
    };
    for (auto& [index, element] : elements_) bind(index, *element);
    binders_.push_back(std::move(bind));
  }

  // Elements in index order.
  template <class F>
  void forEach(F f) const {
    for (auto& [index, element] : elements_) f(index, *element);
  }

 private:
  Form& form_;
  std::string name_;
  std::map<int, T*> elements_;
  std::vector<std::function<void(int, T&)>> binders_;
};

}  // namespace tw::forms
