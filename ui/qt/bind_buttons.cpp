// Check box, option button and command button.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "ui/forms/buttons.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"

namespace tw::qt {

namespace {

Qt::CheckState toCheckState(int value) {
  switch (value) {
    case forms::CheckValue::Checked: return Qt::Checked;
    case forms::CheckValue::Grayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
  }
}

// The box asks the model what a click does instead of toggling itself: the
// model cycles the value and raises Click, and the box shows the result.
class ModelCheckBox : public QCheckBox {
 public:
  ModelCheckBox(forms::CheckBox& model, QWidget* parent) : QCheckBox(parent), model_(model) {
    setTristate(true);
  }

 protected:
  // The classic box takes a click anywhere in its rectangle, not only on
  // the indicator and the caption.
  bool hitButton(const QPoint& at) const override { return rect().contains(at); }
  void nextCheckState() override {
    guarded([this] { model_.userClick(); });
    setCheckState(toCheckState(model_.value()));
  }

 private:
  forms::CheckBox& model_;
};

class CheckBoxBinding : public Binding {
 public:
  CheckBoxBinding(forms::CheckBox& model, ModelCheckBox* box, const BindContext& context)
      : Binding(model, box, context), model_(model), box_(box) {}

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Caption: box_->setText(QString::fromStdString(model_.caption())); break;
      case forms::Prop::Value: box_->setCheckState(toCheckState(model_.value())); break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    sync(forms::Prop::Caption);
    sync(forms::Prop::Value);
  }

 private:
  forms::CheckBox& model_;
  ModelCheckBox* box_;
};

// Option buttons are grouped by their container in the model, which clears
// the others of the group; Qt's own exclusivity would fight it (and could
// not show a group with nothing selected), so it is off.
class ModelRadioButton : public QRadioButton {
 public:
  ModelRadioButton(forms::OptionButton& model, QWidget* parent) : QRadioButton(parent), model_(model) {
    setAutoExclusive(false);
  }

 protected:
  bool hitButton(const QPoint& at) const override { return rect().contains(at); }
  void nextCheckState() override {
    guarded([this] { model_.userClick(); });
    setChecked(model_.value());
  }

 private:
  forms::OptionButton& model_;
};

class OptionButtonBinding : public Binding {
 public:
  OptionButtonBinding(forms::OptionButton& model, ModelRadioButton* button, const BindContext& context)
      : Binding(model, button, context), model_(model), button_(button) {}

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Caption: button_->setText(QString::fromStdString(model_.caption())); break;
      case forms::Prop::Value: button_->setChecked(model_.value()); break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    sync(forms::Prop::Caption);
    sync(forms::Prop::Value);
  }

 private:
  forms::OptionButton& model_;
  ModelRadioButton* button_;
};

class CommandButtonBinding : public Binding {
 public:
  CommandButtonBinding(forms::CommandButton& model, QPushButton* button, const BindContext& context)
      : Binding(model, button, context), model_(model), button_(button) {
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, button_, [&model] { guarded([&model] { model.userClick(); }); });
  }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Caption: button_->setText(QString::fromStdString(model_.caption())); break;
      case forms::Prop::Default: button_->setDefault(model_.isDefault()); break;
      default: Binding::sync(prop);
    }
  }
  void syncOwn() override {
    sync(forms::Prop::Caption);
    sync(forms::Prop::Default);
  }

 private:
  forms::CommandButton& model_;
  QPushButton* button_;
};

}  // namespace

std::unique_ptr<Binding> bindCheckBox(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::CheckBox&>(control);
  return std::make_unique<CheckBoxBinding>(model, new ModelCheckBox(model, parent), context);
}

std::unique_ptr<Binding> bindOptionButton(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::OptionButton&>(control);
  return std::make_unique<OptionButtonBinding>(model, new ModelRadioButton(model, parent), context);
}

std::unique_ptr<Binding> bindCommandButton(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::CommandButton&>(control);
  return std::make_unique<CommandButtonBinding>(model, new QPushButton(parent), context);
}

}  // namespace tw::qt
