#include "ui/forms/tab_strip.h"

#include <cstddef>

#include "host/runtime/errors.h"

namespace tw::forms {

namespace {
std::size_t slot(int index) { return static_cast<std::size_t>(index - 1); }
}  // namespace

void TabStrip::checkIndex(int index) const {
  if (index < 1 || index > tabCount()) raiseIndexOutOfBounds();
}

const Tab& TabStrip::tab(int index) const {
  checkIndex(index);
  return tabs_[slot(index)];
}

int TabStrip::indexOfKey(std::string_view key) const {
  for (int i = 1; i <= tabCount(); ++i)
    if (!key.empty() && tabs_[slot(i)].key == key) return i;
  throw RuntimeError(35601, "Element not found");
}

int TabStrip::addTab(Tab tab, int index) {
  if (index == 0) index = tabCount() + 1;
  if (index < 1 || index > tabCount() + 1) raiseIndexOutOfBounds();
  if (!tab.key.empty()) {
    for (const Tab& t : tabs_)
      if (t.key == tab.key) throw RuntimeError(35602, "Key is not unique in collection");
  }
  tabs_.insert(tabs_.begin() + (index - 1), std::move(tab));
  changed(Prop::Tabs);
  if (selected_ == 0) {
    selected_ = 1;
    changed(Prop::SelectedItem);
  } else if (index <= selected_) {
    // The selection stays on its tab.
    ++selected_;
    changed(Prop::SelectedItem);
  }
  return index;
}

void TabStrip::setTab(int index, Tab tab) {
  checkIndex(index);
  if (!tab.key.empty()) {
    for (int i = 1; i <= tabCount(); ++i)
      if (i != index && tabs_[slot(i)].key == tab.key)
        throw RuntimeError(35602, "Key is not unique in collection");
  }
  if (tabs_[slot(index)] == tab) return;
  tabs_[slot(index)] = std::move(tab);
  changed(Prop::Tabs);
}

void TabStrip::removeTab(int index) {
  checkIndex(index);
  tabs_.erase(tabs_.begin() + (index - 1));
  changed(Prop::Tabs);
  // A removed selection passes, without events, to the tab that takes its
  // place (or the last one).
  if (index < selected_ || selected_ > tabCount()) {
    --selected_;
    changed(Prop::SelectedItem);
  } else if (index == selected_) {
    changed(Prop::SelectedItem);
  }
}

void TabStrip::clearTabs() {
  if (tabs_.empty()) return;
  tabs_.clear();
  selected_ = 0;
  changed(Prop::Tabs);
  changed(Prop::SelectedItem);
}

void TabStrip::setImageList(std::vector<std::string> pictures) {
  assign(imageList_, std::move(pictures), Prop::ImageList);
}

void TabStrip::setSelectedIndex(int index) {
  checkIndex(index);
  select(index);
}

bool TabStrip::select(int index) {
  if (index == selected_) return true;
  bool cancel = false;
  BeforeClick.raise(cancel);
  if (cancel) return false;
  selected_ = index;
  changed(Prop::SelectedItem);
  Click.raise();
  return true;
}

bool TabStrip::userSelect(int index) {
  if (!takesInput() || index < 1 || index > tabCount()) return false;
  return select(index);
}

bool TabStrip::userKey(Key key) {
  if (!takesInput() || tabs_.empty()) return false;
  if (key == Key::Left && selected_ > 1) return select(selected_ - 1);
  if (key == Key::Right && selected_ < tabCount()) return select(selected_ + 1);
  return false;
}

}  // namespace tw::forms
