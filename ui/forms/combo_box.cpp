#include "ui/forms/combo_box.h"

#include <cstddef>

#include "host/runtime/errors.h"

namespace tw::forms {

void ComboBox::setStyle(Style style) {
  if (!assign(style_, style, Prop::Style)) return;
  // A list shows only its items: free text has no place in it.
  if (!editable() && listIndex_ < 0 && !text_.empty()) {
    text_.clear();
    changed(Prop::Text);
  }
}

void ComboBox::setSorted(bool sorted) { assign(sorted_, sorted, Prop::Sorted); }

const std::string& ComboBox::list(int index) const {
  if (index < 0 || index >= listCount()) raiseInvalidPropertyArrayIndex();
  return items_[static_cast<std::size_t>(index)];
}

void ComboBox::setList(int index, std::string item) {
  if (index < 0 || index >= listCount()) raiseInvalidPropertyArrayIndex();
  auto& slot = items_[static_cast<std::size_t>(index)];
  if (!assign(slot, std::move(item), Prop::List)) return;
  if (index == listIndex_) {
    text_ = slot;
    changed(Prop::Text);
  }
}

void ComboBox::addItem(std::string item, int index) {
  if (index < -1 || index > listCount()) raise(ErrNo::InvalidProcedureCall);
  if (index == -1) {
    index = listCount();
    if (sorted_) {
      index = 0;
      while (index < listCount() && !lessNoCase(item, items_[static_cast<std::size_t>(index)])) ++index;
    }
  }
  items_.insert(items_.begin() + index, std::move(item));
  changed(Prop::List);
  // The selection stays on its item.
  if (listIndex_ >= index) {
    ++listIndex_;
    changed(Prop::ListIndex);
  }
}

void ComboBox::removeItem(int index) {
  if (index < 0 || index >= listCount()) raise(ErrNo::InvalidProcedureCall);
  items_.erase(items_.begin() + index);
  changed(Prop::List);
  if (listIndex_ == index) {
    listIndex_ = -1;
    changed(Prop::ListIndex);
    if (!editable() && !text_.empty()) {
      text_.clear();
      changed(Prop::Text);
    }
  } else if (listIndex_ > index) {
    --listIndex_;
    changed(Prop::ListIndex);
  }
}

void ComboBox::clear() {
  if (items_.empty()) return;
  items_.clear();
  changed(Prop::List);
  if (listIndex_ != -1) {
    listIndex_ = -1;
    changed(Prop::ListIndex);
  }
  if (!editable() && !text_.empty()) {
    text_.clear();
    changed(Prop::Text);
  }
}

int ComboBox::findExact(std::string_view text) const {
  for (int i = 0; i < listCount(); ++i)
    if (equalNoCase(items_[static_cast<std::size_t>(i)], text)) return i;
  return -1;
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= listCount()) raiseInvalidPropertyValue();
  if (index == listIndex_) return;
  setSelection(index, true);
}

void ComboBox::setSelection(int index, bool raiseClick) {
  const bool indexChanged = index != listIndex_;
  listIndex_ = index;
  std::string text = index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
  const bool textChanged = text != text_;
  text_ = std::move(text);
  if (indexChanged) changed(Prop::ListIndex);
  if (textChanged) changed(Prop::Text);
  if (raiseClick) Click.raise();
}

void ComboBox::setText(std::string text) {
  if (editable()) {
    if (text == text_) return;
    text_ = std::move(text);
    changed(Prop::Text);
    if (listIndex_ >= 0 && items_[static_cast<std::size_t>(listIndex_)] != text_) {
      listIndex_ = -1;
      changed(Prop::ListIndex);
    }
    return;
  }
  const int match = findExact(text);
  if (match < 0) raiseTextReadOnly();
  if (match != listIndex_) setSelection(match, false);
}

bool ComboBox::userSelect(int index) {
  if (!takesInput() || index < 0 || index >= listCount()) return false;
  setSelection(index, true);
  return true;
}

int ComboBox::userKeyPress(int keyAscii) {
  if (!takesInput()) return 0;
  KeyPress.raise(keyAscii);
  if (!editable() && keyAscii > 32 && keyAscii < 256) selectByInitial(static_cast<char>(keyAscii));
  return keyAscii;
}

void ComboBox::selectByInitial(char key) {
  // The next item after the selection that starts with the letter, round
  // to the top of the list.
  const std::string letter(1, key);
  const int count = listCount();
  for (int step = 1; step <= count; ++step) {
    const int i = (listIndex_ + step + count) % count;
    const std::string& item = items_[static_cast<std::size_t>(i)];
    if (!item.empty() && equalNoCase(item.substr(0, 1), letter)) {
      if (i != listIndex_) setSelection(i, true);
      return;
    }
  }
}

bool ComboBox::userEditText(std::string text) {
  if (!takesInput() || !editable()) return false;
  if (text == text_) return true;
  text_ = std::move(text);
  changed(Prop::Text);
  if (listIndex_ != -1) {
    listIndex_ = -1;
    changed(Prop::ListIndex);
  }
  Change.raise();
  return true;
}

bool ComboBox::userType(std::string_view keys) {
  if (!takesInput()) return false;
  for (char c : keys) {
    const int key = userKeyPress(static_cast<unsigned char>(c));
    if (key == 0 || !editable()) continue;
    std::string text = text_;
    if (key == 8) {
      if (text.empty()) continue;
      text.pop_back();
    } else {
      text.push_back(static_cast<char>(key));
    }
    userEditText(std::move(text));
  }
  return true;
}

}  // namespace tw::forms
