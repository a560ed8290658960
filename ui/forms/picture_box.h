#pragma once
// The picture box.  It records what is drawn on it, in order, with the pen
// width and colour of each figure, so that the front end can paint it and a
// test can read it.  The record is what the box shows with AutoRedraw on:
//  - Cls erases it and puts the pen back at (0, 0);
//  - setting BackColor or Picture erases it too (also when the value is the
//    one the box already has), as the classic box erases its drawing then.
// Coordinates are in the box's scale (ScaleMode, or ScaleWidth/ScaleHeight
// set by the program); pen widths are in pixels.

#include <optional>
#include <string>
#include <vector>

#include "ui/forms/control.h"

namespace tw::forms {

namespace ScaleMode {
constexpr int User = 0;
constexpr int Twips = 1;
constexpr int Points = 2;
constexpr int Pixels = 3;
constexpr int Characters = 4;
constexpr int Inches = 5;
constexpr int Millimeters = 6;
constexpr int Centimeters = 7;
}  // namespace ScaleMode

struct DrawOp {
  enum class Kind { Line, Box, FilledBox, Text };
  Kind kind = Kind::Line;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Text: (x1, y1) is where it starts
  Color color = 0;
  int width = 1;  // the pen width, DrawWidth at the time
  std::string text;
  bool operator==(const DrawOp&) const = default;
};

class PictureBox : public Container {
 public:
  enum class LineStyle { Line, Box, FilledBox };  // Line ..., Line ..., B / BF

  PictureBox() = default;
  const char* typeName() const noexcept override { return "PictureBox"; }

  Color backColor() const noexcept { return backColor_; }
  void setBackColor(Color color);
  Color foreColor() const noexcept { return foreColor_; }
  void setForeColor(Color color);
  int drawWidth() const noexcept { return drawWidth_; }
  void setDrawWidth(int width);  // 1..32767; else Invalid property value
  bool autoRedraw() const noexcept { return autoRedraw_; }
  void setAutoRedraw(bool on);
  const std::string& picture() const noexcept { return picture_; }
  // "" is no picture (an empty picture loaded into the box).
  void setPicture(std::string picture);
  // 0 none, 1 fixed single (a 3-D border two pixels wide).
  int borderStyle() const noexcept { return borderStyle_; }
  void setBorderStyle(int style);

  int scaleMode() const noexcept { return scaleMode_; }
  void setScaleMode(int mode);  // 0..7; else Invalid property value
  // The inside of the box in its scale units.  Setting either switches to a
  // user scale (ScaleMode 0); 0 raises Invalid property value.
  double scaleWidth() const;
  double scaleHeight() const;
  void setScaleWidth(double width);
  void setScaleHeight(double height);
  // Pixels per scale unit, for the painter.
  double pixelsPerUnitX() const;
  double pixelsPerUnitY() const;

  double currentX() const noexcept { return currentX_; }
  double currentY() const noexcept { return currentY_; }
  void setCurrentX(double x) { currentX_ = x; }
  void setCurrentY(double y) { currentY_ = y; }

  void cls();
  // Line (x1, y1)-(x2, y2), color, [B|BF]: without a colour the pen is
  // ForeColor.  The pen ends at (x2, y2).
  void line(double x1, double y1, double x2, double y2, std::optional<Color> color = std::nullopt,
            LineStyle style = LineStyle::Line);
  // Line -(x2, y2): from where the pen is.
  void lineTo(double x2, double y2, std::optional<Color> color = std::nullopt,
              LineStyle style = LineStyle::Line);
  // Print text: at the pen, in ForeColor; with a new line the pen goes to the
  // start of the next line, otherwise it stays where the text began (the box
  // cannot measure text without a font engine).
  void print(std::string text, bool newLine = true);

  const std::vector<DrawOp>& drawing() const noexcept { return drawing_; }

  bool userClick();
  Event<> Click;

 private:
  void erase();
  void record(DrawOp op);
  double innerWidthPixels() const;
  double innerHeightPixels() const;

  Color backColor_ = SystemColor::ButtonFace;
  Color foreColor_ = SystemColor::ButtonText;
  int drawWidth_ = 1;
  bool autoRedraw_ = false;
  std::string picture_;
  int borderStyle_ = 1;
  int scaleMode_ = ScaleMode::Twips;
  double userScaleWidth_ = 0;
  double userScaleHeight_ = 0;
  double currentX_ = 0;
  double currentY_ = 0;
  std::vector<DrawOp> drawing_;
};

}  // namespace tw::forms
