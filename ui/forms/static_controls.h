#pragma once
// The controls that show something and take only clicks: label, frame and
// image.

#include <string>

#include "ui/forms/control.h"

namespace tw::forms {

namespace Alignment {
constexpr int LeftJustify = 0;
constexpr int RightJustify = 1;
constexpr int Center = 2;
}  // namespace Alignment

namespace BackStyle {
constexpr int Transparent = 0;
constexpr int Opaque = 1;
}  // namespace BackStyle

class Label : public Control {
 public:
  Label() = default;
  const char* typeName() const noexcept override { return "Label"; }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);
  int alignment() const noexcept { return alignment_; }
  void setAlignment(int alignment);  // 0, 1, 2; else Invalid property value
  bool autoSize() const noexcept { return autoSize_; }
  void setAutoSize(bool on);
  bool wordWrap() const noexcept { return wordWrap_; }
  void setWordWrap(bool on);
  Color foreColor() const noexcept { return foreColor_; }
  void setForeColor(Color color);
  Color backColor() const noexcept { return backColor_; }
  void setBackColor(Color color);
  int backStyle() const noexcept { return backStyle_; }
  void setBackStyle(int style);  // 0, 1; else Invalid property value

  bool userClick();
  Event<> Click;

 private:
  std::string caption_;
  int alignment_ = Alignment::LeftJustify;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  Color foreColor_ = SystemColor::ButtonText;
  Color backColor_ = SystemColor::ButtonFace;
  int backStyle_ = BackStyle::Opaque;
};

class Frame : public Container {
 public:
  Frame() = default;
  const char* typeName() const noexcept override { return "Frame"; }

  const std::string& caption() const noexcept { return caption_; }
  void setCaption(std::string caption);

  bool userClick();
  Event<> Click;

 private:
  std::string caption_;
};

// A picture from the program's resources.  Without Stretch the control takes
// the picture's size (when the environment knows it); with Stretch the
// picture is drawn to the control's size.
class Image : public Control {
 public:
  Image() = default;
  const char* typeName() const noexcept override { return "Image"; }

  const std::string& picture() const noexcept { return picture_; }
  void setPicture(std::string picture);
  bool stretch() const noexcept { return stretch_; }
  void setStretch(bool on);

  bool userClick();
  Event<> Click;

 private:
  void fitToPicture();
  std::string picture_;
  bool stretch_ = false;
};

}  // namespace tw::forms
