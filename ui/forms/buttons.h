#pragma once
// Check box, option button and command button.

#include <string>

#include "ui/forms/control.h"

namespace tw::forms {

namespace CheckValue {
constexpr int Unchecked = 0;
constexpr int Checked = 1;
constexpr int Grayed = 2;
}  // namespace CheckValue

class CheckBox : public Control {
 public:
  CheckBox() = default;
  const char* typeName() const noexcept override { return "CheckBox"; }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);

  int value() const noexcept { return value_; }
  // 0, 1 or 2 (anything else raises Invalid property value); raises Click
  // when the value changes.
  void setValue(int value);

  // A click (or the space bar): unchecked becomes checked, checked and
  // grayed become unchecked, then Click.  False when the box takes no input.
  bool userClick();
  bool userKey(Key key);

  Event<> Click;

 private:
  std::string caption_;
  int value_ = CheckValue::Unchecked;
};

// Option buttons in the same container exclude each other.
class OptionButton : public Control {
 public:
  OptionButton() = default;
  const char* typeName() const noexcept override { return "OptionButton"; }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);

  bool value() const noexcept { return value_; }
  // True selects this option: the others of its group are cleared first
  // (they raise nothing), then this one raises Click.  False clears it and
  // raises nothing.  Setting the value it has raises nothing.
  void setValue(bool value);

  // A click selects the option and raises Click, also when it was already
  // selected (the platform reports every click of an option button).
  bool userClick();

  Event<> Click;

 private:
  std::string caption_;
  bool value_ = false;
};

class CommandButton : public Control {
 public:
  CommandButton() = default;
  const char* typeName() const noexcept override { return "CommandButton"; }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);

  // The button Enter presses, and the one Escape presses; one of each per
  // form, so setting either on one button clears it on the others.
  bool isDefault() const noexcept { return default_; }
  void setDefault(bool isDefault);
  bool isCancel() const noexcept { return cancel_; }
  void setCancel(bool isCancel);

  // Value reads False; setting it True presses the button from code
  // (raises Click, whether or not the button is enabled).
  bool value() const noexcept { return false; }
  void setValue(bool press);

  bool userClick();

  Event<> Click;

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace tw::forms
