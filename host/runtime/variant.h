#pragma once
// The language's Variant: what the library's Variant parameters and results
// hold.  An omitted optional argument arrives as the error value 448
// ("missing"), which is distinct from Empty.

#include <cstdint>
#include <string>
#include <variant>

namespace tw {

enum class VarType { Empty, Null, Integer, Long, Double, String, Boolean, Error, Byte };

class Variant {
 public:
  struct EmptyTag {};
  struct NullTag {};
  struct ErrorValue {
    int32_t code;
    bool operator==(const ErrorValue&) const = default;
  };

  Variant() = default;
  Variant(int16_t v) : v_(v) {}              // NOLINT: implicit, like the language
  Variant(int32_t v) : v_(v) {}              // NOLINT
  Variant(double v) : v_(v) {}               // NOLINT
  Variant(bool v) : v_(v) {}                 // NOLINT
  Variant(uint8_t v) : v_(v) {}              // NOLINT
  Variant(std::string v) : v_(std::move(v)) {}  // NOLINT
  Variant(const char* v) : v_(std::string(v)) {}  // NOLINT

  static Variant empty() { return {}; }
  static Variant null() { Variant v; v.v_ = NullTag{}; return v; }
  static Variant error(int32_t code) { Variant v; v.v_ = ErrorValue{code}; return v; }
  // The marker of an omitted optional argument (DISP_E_PARAMNOTFOUND).
  static Variant missing() { return error(448); }

  VarType type() const noexcept;
  const char* typeName() const noexcept;  // "Empty", "Long", "String" ...
  bool isEmpty() const noexcept { return type() == VarType::Empty; }
  bool isNull() const noexcept { return type() == VarType::Null; }
  bool isMissing() const noexcept;
  bool isNumeric() const noexcept;  // Integer, Long, Double, Byte, Boolean

  // Conversions with the language's rules (CLng, CInt, CDbl, CStr, CBool);
  // they raise Type mismatch, Overflow or Invalid use of Null.
  int32_t toLong() const;
  int16_t toInteger() const;
  double toDouble() const;
  std::string toString() const;
  bool toBool() const;

  // Typed access; the caller has checked type().
  const std::string& asString() const { return std::get<std::string>(v_); }
  int32_t asErrorCode() const { return std::get<ErrorValue>(v_).code; }

  bool operator==(const Variant& o) const { return v_ == o.v_; }

 private:
  std::variant<EmptyTag, NullTag, int16_t, int32_t, double, std::string, bool, ErrorValue, uint8_t> v_;
  friend bool operator==(EmptyTag, EmptyTag) { return true; }
  friend bool operator==(NullTag, NullTag) { return true; }
};

}  // namespace tw
