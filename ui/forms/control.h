#pragma once
// What every control has: its name and index in the form, the common
// properties (Enabled, Visible, ToolTipText, position and size in twips,
// Tag, font, mouse pointer), the MouseMove event, and the notification that
// a front end observes to keep its widget in step with the model.
//
// Two kinds of change reach a control:
//  - the program sets a property (setValue, setListIndex ...): the classic
//    event is raised when the value changes and nothing is raised when it
//    is set to the value it already has; disabled controls take these
//    changes like any other;
//  - the user acts (the user... members, called by the front end or by a
//    test): the events follow the classic control's order, and a control
//    that is disabled or hidden, or inside a disabled or hidden container,
//    ignores the action and leaves its value alone.
//
// Every property change, whatever its cause, is announced through
// PropertyChanged before the classic event is raised, so a widget shows the
// new value while the program's handler runs.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/forms/event.h"

namespace tw::forms {

class Container;
class Environment;
class Form;

// A colour as the platform keeps it: &H00BBGGRR, or a system colour with
// the top bit set (&H8000000F is the face of a button).
using Color = uint32_t;

namespace SystemColor {
constexpr Color ButtonFace = 0x8000000Fu;
constexpr Color ButtonText = 0x80000012u;
constexpr Color WindowBackground = 0x80000005u;
constexpr Color WindowText = 0x80000008u;
}  // namespace SystemColor

// The button and shift-key masks of the mouse events.
namespace MouseButton {
constexpr int None = 0;
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
}  // namespace MouseButton
namespace ShiftMask {
constexpr int None = 0;
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
}  // namespace ShiftMask

// The MousePointer values the programs use.
namespace MousePointer {
constexpr int Default = 0;
constexpr int Arrow = 1;
constexpr int Hourglass = 11;
constexpr int Custom = 99;  // the picture named by MouseIcon
}  // namespace MousePointer

// Keys a front end passes on to the controls that react to them.
enum class Key { Left, Right, Up, Down, PageUp, PageDown, Home, End, Space, Enter, Escape };

// Which property changed, for the front end's widget.
enum class Prop {
  Enabled, Visible, ToolTipText, Geometry, Tag, Font, MousePointer,
  Caption, Value, Alignment, AutoSize, WordWrap, ForeColor, BackColor, BackStyle,
  Default, Cancel,
  Min, Max, SmallChange, LargeChange, TickFrequency, Orientation, Selection, Text,
  Style, Sorted, List, ListIndex,
  Tabs, SelectedItem, ImageList,
  Drawing, DrawWidth, AutoRedraw, Picture, Stretch, Scale, BorderStyle,
  Interval,
  LocationURL, Navigation,
  WindowState, TopMost, Loaded,
};
const char* propName(Prop p) noexcept;

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const Font&) const = default;
};

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // "CheckBox", "Slider" ...: what the driver prints and the front end picks
  // a widget by.
  virtual const char* typeName() const noexcept = 0;

  const std::string& name() const noexcept { return name_; }
  // The element's index in its control array; -1 outside an array.
  int index() const noexcept { return index_; }
  // "Check10(2)", or the plain name outside an array.
  std::string qualifiedName() const;

  Form* form() const noexcept { return form_; }
  Container* container() const noexcept { return container_; }

  bool enabled() const noexcept { return enabled_; }
  virtual void setEnabled(bool enabled);
  bool visible() const noexcept { return visible_; }
  virtual void setVisible(bool visible);
  const std::string& toolTipText() const noexcept { return toolTipText_; }
  void setToolTipText(std::string text);
  const std::string& tag() const noexcept { return tag_; }
  void setTag(std::string tag);

  // Position and size in twips, in the container's coordinates.
  double left() const noexcept { return left_; }
  double top() const noexcept { return top_; }
  double width() const noexcept { return width_; }
  double height() const noexcept { return height_; }
  void setLeft(double v) { move(v, top_, width_, height_); }
  void setTop(double v) { move(left_, v, width_, height_); }
  void setWidth(double v) { move(left_, top_, v, height_); }
  void setHeight(double v) { move(left_, top_, width_, v); }
  // A negative width or height raises Invalid property value.
  void move(double left, double top, double width, double height);

  const Font& font() const noexcept { return font_; }
  void setFont(Font font);
  int mousePointer() const noexcept { return mousePointer_; }
  void setMousePointer(int pointer);
  // The cursor resource shown when MousePointer is Custom.
  const std::string& mouseIcon() const noexcept { return mouseIcon_; }
  void setMouseIcon(std::string resource);

  // True when the user can reach the control: it and every container up to
  // its form are enabled and visible.
  bool takesInput() const;

  // The pointer moved over the control (coordinates in the control's
  // container units, relative to the control).  A control that does not
  // take input passes the move on to the nearest container that does, as
  // the platform delivers mouse messages of a disabled control to its
  // parent.
  void userMouseMove(int button, int shift, double x, double y);

  // MouseMove(Button, Shift, X, Y)
  Event<int, int, double, double> MouseMove;
  // Every change of a property, for the front end.
  Event<Prop> PropertyChanged;

 protected:
  Control();
  void changed(Prop p) { PropertyChanged.raise(p); }
  // A property setter's whole job: a new value is stored and announced, the
  // same value is neither.  Returns whether the value changed.
  template <class Field, class Value>
  bool assign(Field& field, Value&& value, Prop p) {
    if (field == value) return false;
    field = std::forward<Value>(value);
    changed(p);
    return true;
  }
  // The form's environment, or the do-nothing one for a control on no form.
  Environment& environment() const;

 private:
  friend class Form;
  friend class Container;

  std::string name_;
  int index_ = -1;
  Form* form_ = nullptr;
  Container* container_ = nullptr;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTipText_;
  std::string tag_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Font font_;
  int mousePointer_ = MousePointer::Default;
  std::string mouseIcon_;
};

// A control that holds others: the form, a frame, a picture box.  Option
// buttons in one container make one group.
class Container : public Control {
 public:
  const std::vector<Control*>& children() const noexcept { return children_; }

 protected:
  Container() = default;

 private:
  friend class Form;
  friend class Control;
  std::vector<Control*> children_;
};

// The run-time errors of the controls.
[[noreturn]] void raiseInvalidPropertyValue();       // 380
[[noreturn]] void raiseInvalidPropertyArrayIndex();  // 381
[[noreturn]] void raiseTextReadOnly();               // 383
[[noreturn]] void raiseIndexOutOfBounds();           // 35600

// Equal as the list controls and the form compare names: ignoring the case
// of the code page's letters.
bool equalNoCase(std::string_view a, std::string_view b);
// The key under which equalNoCase finds a name.
std::string foldedNoCase(std::string_view s);
// Ordering of a sorted list: case-insensitive, then by the exact text.
bool lessNoCase(std::string_view a, std::string_view b);

}  // namespace tw::forms
