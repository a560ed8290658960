#pragma once
// The combo box: a list with an edit field (DropdownCombo, SimpleCombo) or a
// list whose text is always one of its items (DropdownList).
//
//  - Setting ListIndex raises Click when the index changes (-1 clears the
//    selection, and the text with it).
//  - Setting Text raises nothing.  In the edit styles the text is free and
//    ListIndex becomes -1 unless the text is the selected item's; in the
//    list style the text must name an item, which is then selected, and any
//    other text raises "'Text' property is read-only" (383).
//  - The user picking an item raises Click, also when it is the item already
//    selected.  Typing raises KeyPress for each key, then, in the edit
//    styles, Change with the new text.
//  - AddItem, RemoveItem and Clear raise nothing; the selection follows its
//    item, and Clear keeps the text of the edit styles.

#include <string>
#include <string_view>
#include <vector>

#include "ui/forms/control.h"

namespace tw::forms {

class ComboBox : public Control {
 public:
  enum class Style { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };

  ComboBox() = default;
  const char* typeName() const noexcept override { return "ComboBox"; }

  Style style() const noexcept { return style_; }
  void setStyle(Style style);
  // A sorted box inserts items in case-insensitive order.
  bool sorted() const noexcept { return sorted_; }
  void setSorted(bool sorted);

  int listCount() const noexcept { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& items() const noexcept { return items_; }
  // List(i); an index outside the list raises Invalid property array index.
  const std::string& list(int index) const;
  void setList(int index, std::string item);

  // Without an index the item goes to the end (or to its place in a sorted
  // box); an index outside 0..ListCount raises Invalid procedure call.
  void addItem(std::string item, int index = -1);
  void removeItem(int index);
  void clear();
  // The index of the item equal to text (case-insensitive), or -1.
  int findExact(std::string_view text) const;

  int listIndex() const noexcept { return listIndex_; }
  // -1..ListCount-1; anything else raises Invalid property value.
  void setListIndex(int index);

  const std::string& text() const noexcept { return text_; }
  void setText(std::string text);

  // The user picks item `index` from the list.
  bool userSelect(int index);
  // A key typed in the box: raises KeyPress and returns the key as the
  // handlers left it (0: the handler swallowed it), without editing.  A
  // front end applies the key to its edit field and reports the result
  // with userEditText; in the list style the key selects the next item
  // starting with that letter.
  int userKeyPress(int keyAscii);
  // The user edited the text (edit styles): ListIndex becomes -1 and
  // Change is raised.
  bool userEditText(std::string text);
  // Types text key by key (KeyPress, then the edit and Change, per key;
  // backspace, 8, deletes the last character).
  bool userType(std::string_view keys);

  Event<> Click;
  Event<> Change;
  Event<int&> KeyPress;  // KeyPress(KeyAscii)

 private:
  bool editable() const noexcept { return style_ != Style::DropdownList; }
  void setSelection(int index, bool raiseClick);
  void selectByInitial(char key);

  Style style_ = Style::DropdownCombo;
  bool sorted_ = false;
  std::vector<std::string> items_;
  int listIndex_ = -1;
  std::string text_;
};

}  // namespace tw::forms
