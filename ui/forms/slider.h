#pragma once
// The slider (track bar).
//
// Events, as the classic control raises them:
//  - Change when the value has changed and the change is complete: at once
//    when the program sets Value (or Min/Max move the value into range);
//    after Scroll for a key or a click in the channel; once, at release,
//    for a drag;
//  - Scroll when the user moves the thumb: for each new position of a drag,
//    and once for each key (arrows: SmallChange; Page Up/Down and a click in
//    the channel: LargeChange; Home/End: Min/Max).  Page Up, like Left and
//    Up, moves towards Min.
// A Scroll handler may set Value itself (to snap the thumb); that set
// raises Change at once, and the key or the release that follows raises no
// second Change when the value is then the one last announced.  A user
// action that leaves the thumb where it is raises nothing.
//
// Value outside Min..Max raises Invalid property value (380) and changes
// nothing: the control refuses the value rather than showing another one.

#include <cstdint>
#include <string>

#include "ui/forms/control.h"

namespace tw::forms {

class Slider : public Control {
 public:
  enum class Orientation { Horizontal = 0, Vertical = 1 };

  Slider() = default;
  const char* typeName() const noexcept override { return "Slider"; }

  int32_t min() const noexcept { return min_; }
  int32_t max() const noexcept { return max_; }
  // Min above Max (or Max below Min) raises Invalid property value; a value
  // left outside the new range is moved into it and raises Change.
  void setMin(int32_t min);
  void setMax(int32_t max);
  void setRange(int32_t min, int32_t max);

  int32_t smallChange() const noexcept { return smallChange_; }
  void setSmallChange(int32_t step);  // negative: Invalid property value
  int32_t largeChange() const noexcept { return largeChange_; }
  void setLargeChange(int32_t step);
  int32_t tickFrequency() const noexcept { return tickFrequency_; }
  void setTickFrequency(int32_t frequency);
  Orientation orientation() const noexcept { return orientation_; }
  void setOrientation(Orientation orientation);

  // The selected range shown in the channel, when SelectRange is on.
  bool selectRange() const noexcept { return selectRange_; }
  void setSelectRange(bool on);
  int32_t selStart() const noexcept { return selStart_; }
  void setSelStart(int32_t start);  // outside Min..Max: Invalid property value
  int32_t selLength() const noexcept { return selLength_; }
  void setSelLength(int32_t length);  // negative: Invalid property value

  // The tip shown beside the thumb while it is dragged.
  const std::string& text() const noexcept { return text_; }
  void setText(std::string text);

  int32_t value() const noexcept { return value_; }
  void setValue(int32_t value);

  // A drag: press on the thumb, move it (the position is clamped to the
  // range), release.  Each returns false when the action was not taken.
  bool userBeginDrag();
  bool userDragTo(int32_t position);
  bool userEndDrag();
  bool dragging() const noexcept { return dragging_; }
  // A key while the slider has the focus.
  bool userKey(Key key);
  // A click in the channel on the side of Max (true) or of Min (false).
  bool userClickChannel(bool towardsMax);

  Event<> Scroll;
  Event<> Change;

 private:
  void setValueUnchecked(int32_t value);
  void announceChange();
  bool userStep(int32_t target);

  int32_t min_ = 0;
  int32_t max_ = 10;
  int32_t smallChange_ = 1;
  int32_t largeChange_ = 5;
  int32_t tickFrequency_ = 1;
  Orientation orientation_ = Orientation::Horizontal;
  bool selectRange_ = false;
  int32_t selStart_ = 0;
  int32_t selLength_ = 0;
  std::string text_;
  int32_t value_ = 0;
  // The value the last Change reported: a drag moves value_ without Change
  // until the release.
  int32_t announced_ = 0;
  bool dragging_ = false;
};

}  // namespace tw::forms
