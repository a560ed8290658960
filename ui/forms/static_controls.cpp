#include "ui/forms/static_controls.h"

#include "ui/forms/environment.h"

namespace tw::forms {

// ---- Label ----

void Label::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

void Label::setAlignment(int alignment) {
  if (alignment < Alignment::LeftJustify || alignment > Alignment::Center) raiseInvalidPropertyValue();
  assign(alignment_, alignment, Prop::Alignment);
}

void Label::setAutoSize(bool on) { assign(autoSize_, on, Prop::AutoSize); }

void Label::setWordWrap(bool on) { assign(wordWrap_, on, Prop::WordWrap); }

void Label::setForeColor(Color color) { assign(foreColor_, color, Prop::ForeColor); }

void Label::setBackColor(Color color) { assign(backColor_, color, Prop::BackColor); }

void Label::setBackStyle(int style) {
  if (style != BackStyle::Transparent && style != BackStyle::Opaque) raiseInvalidPropertyValue();
  assign(backStyle_, style, Prop::BackStyle);
}

bool Label::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

// ---- Frame ----

void Frame::setCaption(std::string caption) { assign(caption_, std::move(caption), Prop::Caption); }

bool Frame::userClick() {
  if (!takesInput()) return false;
  Click.raise();
  return true;
}

// ---- Image ----

void Image::setPicture(std::string picture) {
  if (!assign(picture_, std::move(picture), Prop::Picture)) return;
  fitToPicture();
}

void Image::setStretch(bool on) {
  if (!assign(stretch_, on, Prop::Stretch)) return;
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
