#include "ui/forms/combo_box.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/ui/forms/helpers.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

struct Window : Form {
  explicit Window(ComboBox::Style style) : Form("Form1") {
    combo.setStyle(style);
    for (const char* item : {"Standard Use", "CD Writer", "File Server"}) combo.addItem(item);
    combo.Click.connect([this] { log.push_back("Click " + std::to_string(combo.listIndex()) + " " + combo.text()); });
    combo.Change.connect([this] { log.push_back("Change " + combo.text()); });
    combo.KeyPress.connect([this](int& key) { log.push_back("KeyPress " + std::string(1, static_cast<char>(key))); });
    show();
  }
  ComboBox& combo = add<ComboBox>("Combo1");
  Log log;
};

TEST(ComboBox, ListIndexRaisesClickWhenItChangesAndTextRaisesNothing) {
  Window w(ComboBox::Style::DropdownCombo);
  w.combo.setListIndex(1);
  w.combo.setListIndex(1);
  w.combo.setText("My own");
  EXPECT_EQ(w.combo.listIndex(), -1) << "the text is no longer the selected item";
  w.combo.setListIndex(2);
  w.combo.setListIndex(-1);
  EXPECT_EQ(w.log, (Log{"Click 1 CD Writer", "Click 2 File Server", "Click -1 "}));

  EXPECT_EQ(errorOf([&] { w.combo.setListIndex(3); }), 380);
  EXPECT_EQ(errorOf([&] { w.combo.setListIndex(-2); }), 380);
  EXPECT_EQ(errorOf([&] { (void)w.combo.list(3); }), 381);
  EXPECT_EQ(w.combo.listIndex(), -1);
}

TEST(ComboBox, AListTakesOnlyItemsAndPickingOneAlwaysClicksWhenTheBoxTakesInput) {
  Window w(ComboBox::Style::DropdownList);
  w.combo.setText("cd writer");
  EXPECT_EQ(w.combo.listIndex(), 1);
  EXPECT_EQ(w.combo.text(), "CD Writer");
  EXPECT_EQ(errorOf([&] { w.combo.setText("Gaming"); }), 383);
  EXPECT_EQ(w.combo.listIndex(), 1);
  EXPECT_TRUE(w.log.empty());

  EXPECT_TRUE(w.combo.userSelect(0));
  EXPECT_TRUE(w.combo.userSelect(0));  // picked again: the handler must run again
  EXPECT_FALSE(w.combo.userSelect(7));
  w.combo.addItem("Current Settings");
  w.combo.userType("cc");  // the next item by its initial
  w.combo.setEnabled(false);
  EXPECT_FALSE(w.combo.userSelect(2));
  EXPECT_EQ(w.combo.listIndex(), 3);
  EXPECT_EQ(w.log, (Log{"Click 0 Standard Use", "Click 0 Standard Use", "KeyPress c", "Click 1 CD Writer",
                        "KeyPress c", "Click 3 Current Settings"}));
}

TEST(ComboBox, ClearEmptiesTheListWithoutEventsAndOnlyAComboKeepsItsText) {
  Window w(ComboBox::Style::DropdownCombo);
  w.combo.setListIndex(1);
  w.log.clear();
  w.combo.clear();
  EXPECT_EQ(w.combo.listCount(), 0);
  EXPECT_EQ(w.combo.listIndex(), -1);
  EXPECT_EQ(w.combo.text(), "CD Writer") << "Clear keeps the edit field";
  EXPECT_TRUE(w.log.empty());

  Window list(ComboBox::Style::DropdownList);
  list.combo.setListIndex(2);
  list.combo.clear();
  EXPECT_EQ(list.combo.text(), "");
}

}  // namespace
}  // namespace tw::forms
