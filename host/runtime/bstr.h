#pragma once
// A string as the programs pass it across the library's interface: text that
// may also be the null string, which the profile functions treat differently
// from an empty one (a null value deletes a key, a null key a section).
// The text is UTF-8; it becomes the machine's ANSI code page at the platform.

#include <string>
#include <string_view>

namespace tw {

class BStr {
 public:
  BStr() = default;  // the empty string, not null
  BStr(const char* text) : text_(text ? text : ""), null_(text == nullptr) {}  // NOLINT: implicit like the language
  BStr(std::string text) : text_(std::move(text)) {}                           // NOLINT
  BStr(std::string_view text) : text_(text) {}                                 // NOLINT

  static BStr null() {
    BStr s;
    s.null_ = true;
    return s;
  }

  bool isNull() const noexcept { return null_; }
  const std::string& str() const noexcept { return text_; }
  size_t size() const noexcept { return text_.size(); }
  bool empty() const noexcept { return text_.empty(); }

  friend bool operator==(const BStr& a, const BStr& b) { return a.null_ == b.null_ && a.text_ == b.text_; }

 private:
  std::string text_;
  bool null_ = false;
};

}  // namespace tw
