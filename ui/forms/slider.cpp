#include "ui/forms/slider.h"

#include <algorithm>

namespace tw::forms {

void Slider::setMin(int32_t min) {
  if (min > max_) raiseInvalidPropertyValue();
  if (!assign(min_, min, Prop::Min)) return;
  if (value_ < min_) setValueUnchecked(min_);
}

void Slider::setMax(int32_t max) {
  if (max < min_) raiseInvalidPropertyValue();
  if (!assign(max_, max, Prop::Max)) return;
  if (value_ > max_) setValueUnchecked(max_);
}

void Slider::setRange(int32_t min, int32_t max) {
  if (min > max) raiseInvalidPropertyValue();
  // Widen first so that neither step sees Min above Max.
  if (min < min_) {
    setMin(min);
    setMax(max);
  } else {
    setMax(max);
    setMin(min);
  }
}

void Slider::setSmallChange(int32_t step) {
  if (step < 0) raiseInvalidPropertyValue();
  assign(smallChange_, step, Prop::SmallChange);
}

void Slider::setLargeChange(int32_t step) {
  if (step < 0) raiseInvalidPropertyValue();
  assign(largeChange_, step, Prop::LargeChange);
}

void Slider::setTickFrequency(int32_t frequency) {
  if (frequency < 0) raiseInvalidPropertyValue();
  assign(tickFrequency_, frequency, Prop::TickFrequency);
}

void Slider::setOrientation(Orientation orientation) { assign(orientation_, orientation, Prop::Orientation); }

void Slider::setSelectRange(bool on) { assign(selectRange_, on, Prop::Selection); }

void Slider::setSelStart(int32_t start) {
  if (start < min_ || start > max_) raiseInvalidPropertyValue();
  assign(selStart_, start, Prop::Selection);
}

void Slider::setSelLength(int32_t length) {
  if (length < 0) raiseInvalidPropertyValue();
  assign(selLength_, length, Prop::Selection);
}

void Slider::setText(std::string text) { assign(text_, std::move(text), Prop::Text); }

void Slider::setValue(int32_t value) {
  if (value < min_ || value > max_) raiseInvalidPropertyValue();
  if (value_ == value) return;
  setValueUnchecked(value);
}

void Slider::setValueUnchecked(int32_t value) {
  value_ = value;
  changed(Prop::Value);
  announceChange();
}

void Slider::announceChange() {
  // Recorded before the handlers run: a handler that sets the value again
  // nests its own Change, and the outer one must not repeat it afterwards.
  announced_ = value_;
  Change.raise();
}

bool Slider::userBeginDrag() {
  if (!takesInput()) return false;
  dragging_ = true;
  return true;
}

bool Slider::userDragTo(int32_t position) {
  if (!dragging_) return false;
  position = std::clamp(position, min_, max_);
  if (position == value_) return true;
  value_ = position;
  changed(Prop::Value);
  Scroll.raise();
  return true;
}

bool Slider::userEndDrag() {
  if (!dragging_) return false;
  dragging_ = false;
  if (value_ != announced_) announceChange();
  return true;
}

bool Slider::userStep(int32_t target) {
  if (!takesInput() || dragging_) return false;
  target = std::clamp(target, min_, max_);
  if (target == value_) return true;
  value_ = target;
  changed(Prop::Value);
  Scroll.raise();
  if (value_ != announced_) announceChange();
  return true;
}

bool Slider::userKey(Key key) {
  // Steps are computed in 64 bits: a range near the limits of a Long must
  // not wrap round.
  auto step = [this](int64_t delta) {
    const int64_t target = std::clamp<int64_t>(int64_t{value_} + delta, min_, max_);
    return userStep(static_cast<int32_t>(target));
  };
  switch (key) {
    case Key::Left:
    case Key::Up: return step(-int64_t{smallChange_});
    case Key::Right:
    case Key::Down: return step(smallChange_);
    case Key::PageUp: return step(-int64_t{largeChange_});
    case Key::PageDown: return step(largeChange_);
    case Key::Home: return userStep(min_);
    case Key::End: return userStep(max_);
    default: return false;
  }
}

bool Slider::userClickChannel(bool towardsMax) {
  return userKey(towardsMax ? Key::PageDown : Key::PageUp);
}

}  // namespace tw::forms
