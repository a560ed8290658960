#include "ui/forms/buttons.h"

#include "ui/forms/form.h"

namespace tw::forms {

// ---- CheckBox ----

void CheckBox::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

void CheckBox::setValue(int value) {
  if (value < CheckValue::Unchecked || value > CheckValue::Grayed) raiseInvalidPropertyValue();
  if (!assign(value_, value, Prop::Value)) return;
  Click.raise();
}

bool CheckBox::userClick() {
  if (!takesInput()) return false;
  // The user cannot gray a box: only the program can; a click on a grayed
  // box clears it, as a three-state box cycles from grayed to unchecked.
  setValue(value_ == CheckValue::Unchecked ? CheckValue::Checked : CheckValue::Unchecked);
  return true;
}

bool CheckBox::userKey(Key key) {
  return key == Key::Space && userClick();
}

// ---- OptionButton ----

void OptionButton::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

void OptionButton::setValue(bool value) {
  if (value_ == value) return;
  if (value) {
    if (Container* group = container()) {
      for (Control* sibling : group->children()) {
        auto* other = dynamic_cast<OptionButton*>(sibling);
        if (other != nullptr && other != this && other->value_) {
          other->value_ = false;
          other->changed(Prop::Value);
        }
      }
    }
  }
  value_ = value;
  changed(Prop::Value);
  if (value) Click.raise();
}

bool OptionButton::userClick() {
  if (!takesInput()) return false;
  if (value_) {
    Click.raise();
  } else {
    setValue(true);
  }
  return true;
}

// ---- CommandButton ----

void CommandButton::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

void CommandButton::setDefault(bool isDefault) {
  if (default_ == isDefault) return;
  if (isDefault && form() != nullptr) {
    for (Control* c : form()->controls()) {
      auto* other = dynamic_cast<CommandButton*>(c);
      if (other != nullptr && other != this && other->default_) {
        other->default_ = false;
        other->changed(Prop::Default);
      }
    }
  }
  default_ = isDefault;
  changed(Prop::Default);
}

void CommandButton::setCancel(bool isCancel) {
  if (cancel_ == isCancel) return;
  if (isCancel && form() != nullptr) {
    for (Control* c : form()->controls()) {
      auto* other = dynamic_cast<CommandButton*>(c);
      if (other != nullptr && other != this && other->cancel_) {
        other->cancel_ = false;
        other->changed(Prop::Cancel);
      }
    }
  }
  cancel_ = isCancel;
  changed(Prop::Cancel);
}

void CommandButton::setValue(bool press) {
  if (press) Click.raise();
}

bool CommandButton::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

}  // namespace tw::forms
