#pragma once
// The tab strip.  Tabs are numbered from 1, as the classic collection
// numbers them.  A change of the selected tab, by the user or by the
// program, raises BeforeClick (whose handler may cancel it) and then, once
// the tab is selected, Click.  Choosing the tab that is already selected
// raises nothing.  The first tab added is selected without any event.

#include <string>
#include <string_view>
#include <vector>

#include "ui/forms/control.h"

namespace tw::forms {

struct Tab {
  std::string caption;
  std::string key;
  int image = 0;  // 1-based index into the strip's image list; 0 for none
  std::string toolTipText;
  std::string tag;
  bool operator==(const Tab&) const = default;
};

class TabStrip : public Control {
 public:
  TabStrip() = default;
  const char* typeName() const noexcept override { return "TabStrip"; }

  int tabCount() const noexcept { return static_cast<int>(tabs_.size()); }
  // Tabs(i), 1-based; an index outside the collection raises Index out of
  // bounds (35600).
  const Tab& tab(int index) const;
  // Tabs(key); an unknown key raises Element not found (35601).
  int indexOfKey(std::string_view key) const;
  // Adds a tab at `index` (1-based; 0 appends) and returns its index.  A key
  // already in use raises Key is not unique in collection (35602).
  int addTab(Tab tab, int index = 0);
  void setTab(int index, Tab tab);
  void removeTab(int index);
  void clearTabs();

  // The picture resources the tabs' Image indexes refer to.
  const std::vector<std::string>& imageList() const noexcept { return imageList_; }
  void setImageList(std::vector<std::string> pictures);

  // SelectedItem's index; 0 while the strip has no tab.
  int selectedIndex() const noexcept { return selected_; }
  void setSelectedIndex(int index);

  bool userSelect(int index);
  // Left/Right move to the neighbouring tab.
  bool userKey(Key key);

  Event<bool&> BeforeClick;  // BeforeClick(Cancel)
  Event<> Click;

 private:
  bool select(int index);
  void checkIndex(int index) const;

  std::vector<Tab> tabs_;
  std::vector<std::string> imageList_;
  int selected_ = 0;
};

}  // namespace tw::forms
