#include "ui/forms/picture_box.h"

#include <algorithm>

#include "ui/forms/environment.h"

namespace tw::forms {

namespace {

// Twips in one unit of each standard scale (pixels depend on the screen).
double twipsPerUnit(int mode) {
  switch (mode) {
    case ScaleMode::Twips: return 1.0;
    case ScaleMode::Points: return 20.0;
    case ScaleMode::Inches: return 1440.0;
    case ScaleMode::Millimeters: return 1440.0 / 25.4;
    case ScaleMode::Centimeters: return 1440.0 / 2.54;
    default: return 1.0;
  }
}

// The 3-D border of a fixed-single box, on each side.
constexpr double kBorderPixels = 2.0;

}  // namespace

void PictureBox::setBackColor(Color color) {
  erase();
  assign(backColor_, color, Prop::BackColor);
}

void PictureBox::setForeColor(Color color) { assign(foreColor_, color, Prop::ForeColor); }

void PictureBox::setDrawWidth(int width) {
  if (width < 1 || width > 32767) raiseInvalidPropertyValue();
  assign(drawWidth_, width, Prop::DrawWidth);
}

void PictureBox::setAutoRedraw(bool on) { assign(autoRedraw_, on, Prop::AutoRedraw); }

void PictureBox::setPicture(std::string picture) {
  erase();
  assign(picture_, std::move(picture), Prop::Picture);
}

void PictureBox::setBorderStyle(int style) {
  if (style != 0 && style != 1) raiseInvalidPropertyValue();
  assign(borderStyle_, style, Prop::BorderStyle);
}

void PictureBox::setScaleMode(int mode) {
  if (mode < ScaleMode::User || mode > ScaleMode::Centimeters) raiseInvalidPropertyValue();
  if (mode == ScaleMode::User) {
    // Switching to a user scale keeps the present extent as its units.
    userScaleWidth_ = scaleWidth();
    userScaleHeight_ = scaleHeight();
  }
  assign(scaleMode_, mode, Prop::Scale);
}

double PictureBox::innerWidthPixels() const {
  const double border = borderStyle_ == 1 ? 2 * kBorderPixels : 0.0;
  return std::max(0.0, width() / environment().twipsPerPixelX() - border);
}

double PictureBox::innerHeightPixels() const {
  const double border = borderStyle_ == 1 ? 2 * kBorderPixels : 0.0;
  return std::max(0.0, height() / environment().twipsPerPixelY() - border);
}

double PictureBox::pixelsPerUnitX() const {
  switch (scaleMode_) {
    case ScaleMode::User: {
      const double inner = innerWidthPixels();
      return inner > 0 ? inner / userScaleWidth_ : 0.0;
    }
    case ScaleMode::Pixels: return 1.0;
    case ScaleMode::Characters: return 1.0 / (120.0 / environment().twipsPerPixelX());
    default: return twipsPerUnit(scaleMode_) / environment().twipsPerPixelX();
  }
}

double PictureBox::pixelsPerUnitY() const {
  switch (scaleMode_) {
    case ScaleMode::User: {
      const double inner = innerHeightPixels();
      return inner > 0 ? inner / userScaleHeight_ : 0.0;
    }
    case ScaleMode::Pixels: return 1.0;
    case ScaleMode::Characters: return 1.0 / (240.0 / environment().twipsPerPixelY());
    default: return twipsPerUnit(scaleMode_) / environment().twipsPerPixelY();
  }
}

double PictureBox::scaleWidth() const {
  if (scaleMode_ == ScaleMode::User) return userScaleWidth_;
  return innerWidthPixels() / pixelsPerUnitX();
}

double PictureBox::scaleHeight() const {
  if (scaleMode_ == ScaleMode::User) return userScaleHeight_;
  return innerHeightPixels() / pixelsPerUnitY();
}

void PictureBox::setScaleWidth(double width) {
  if (width == 0) raiseInvalidPropertyValue();
  const double height = scaleHeight();
  userScaleWidth_ = width;
  userScaleHeight_ = height;
  scaleMode_ = ScaleMode::User;
  changed(Prop::Scale);
}

void PictureBox::setScaleHeight(double height) {
  if (height == 0) raiseInvalidPropertyValue();
  const double width = scaleWidth();
  userScaleWidth_ = width;
  userScaleHeight_ = height;
  scaleMode_ = ScaleMode::User;
  changed(Prop::Scale);
}

void PictureBox::erase() {
  if (drawing_.empty()) return;
  drawing_.clear();
  changed(Prop::Drawing);
}

void PictureBox::record(DrawOp op) {
  drawing_.push_back(std::move(op));
  changed(Prop::Drawing);
}

void PictureBox::cls() {
  currentX_ = 0;
  currentY_ = 0;
  erase();
}

void PictureBox::line(double x1, double y1, double x2, double y2, std::optional<Color> color,
                      LineStyle style) {
  DrawOp op;
  op.kind = style == LineStyle::Line  ? DrawOp::Kind::Line
            : style == LineStyle::Box ? DrawOp::Kind::Box
                                      : DrawOp::Kind::FilledBox;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  op.color = color.value_or(foreColor_);
  op.width = drawWidth_;
  currentX_ = x2;
  currentY_ = y2;
  record(std::move(op));
}

void PictureBox::lineTo(double x2, double y2, std::optional<Color> color, LineStyle style) {
  line(currentX_, currentY_, x2, y2, color, style);
}

void PictureBox::print(std::string text, bool newLine) {
  DrawOp op;
  op.kind = DrawOp::Kind::Text;
  op.x1 = op.x2 = currentX_;
  op.y1 = op.y2 = currentY_;
  op.color = foreColor_;
  op.width = drawWidth_;
  op.text = std::move(text);
  if (newLine) {
    // A line of the box's font: its point size plus the usual leading.
    const double lineTwips = font().size * 20.0 * 1.2;
    const double pixelsPerUnit = pixelsPerUnitY();
    currentX_ = 0;
    if (pixelsPerUnit > 0) currentY_ += lineTwips / environment().twipsPerPixelY() / pixelsPerUnit;
  }
  record(std::move(op));
}

bool PictureBox::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

}  // namespace tw::forms
