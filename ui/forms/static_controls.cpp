#include "ui/forms/static_controls.h"

#include "ui/forms/environment.h"

namespace tw::forms {

// ---- Label ----

void Label::setCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  changed(Prop::Caption);
}

void Label::setAlignment(int alignment) {
  if (alignment < Alignment::LeftJustify || alignment > Alignment::Center) raiseInvalidPropertyValue();
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  changed(Prop::Alignment);
}

void Label::setAutoSize(bool on) {
  if (autoSize_ == on) return;
  autoSize_ = on;
  changed(Prop::AutoSize);
}

void Label::setWordWrap(bool on) {
  if (wordWrap_ == on) return;
  wordWrap_ = on;
  changed(Prop::WordWrap);
}

void Label::setForeColor(Color color) {
  if (foreColor_ == color) return;
  foreColor_ = color;
  changed(Prop::ForeColor);
}

void Label::setBackColor(Color color) {
  if (backColor_ == color) return;
  backColor_ = color;
  changed(Prop::BackColor);
}

void Label::setBackStyle(int style) {
  if (style != BackStyle::Transparent && style != BackStyle::Opaque) raiseInvalidPropertyValue();
  if (backStyle_ == style) return;
  backStyle_ = style;
  changed(Prop::BackStyle);
}

bool Label::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

// ---- Frame ----

void Frame::setCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  changed(Prop::Caption);
}

bool Frame::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

// ---- Image ----

void Image::setPicture(std::string picture) {
  if (picture_ == picture) return;
  picture_ = std::move(picture);
  changed(Prop::Picture);
  fitToPicture();
}

void Image::setStretch(bool on) {
  if (stretch_ == on) return;
  stretch_ = on;
  changed(Prop::Stretch);
  fitToPicture();
}

void Image::fitToPicture() {
  if (stretch_ || picture_.empty()) return;
  const Environment& env = environment();
  if (auto size = env.pictureSize(picture_)) {
    move(left(), top(), static_cast<double>(size->widthPixels * env.twipsPerPixelX()),
         static_cast<double>(size->heightPixels * env.twipsPerPixelY()));
  }
}

bool Image::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

}  // namespace tw::forms
