#include "host/runtime/variant.h"

#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"

namespace tw {

VarType Variant::type() const noexcept {
  switch (v_.index()) {
    case 0: return VarType::Empty;
    case 1: return VarType::Null;
    case 2: return VarType::Integer;
    case 3: return VarType::Long;
    case 4: return VarType::Double;
    case 5: return VarType::String;
    case 6: return VarType::Boolean;
    case 7: return VarType::Error;
    default: return VarType::Byte;
  }
}

const char* Variant::typeName() const noexcept {
  switch (type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Double: return "Double";
    case VarType::String: return "String";
    case VarType::Boolean: return "Boolean";
    case VarType::Error: return "Error";
    case VarType::Byte: return "Byte";
  }
  return "Empty";
}

bool Variant::isMissing() const noexcept {
  return type() == VarType::Error && std::get<ErrorValue>(v_).code == 448;
}

bool Variant::isNumeric() const noexcept {
  switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Boolean:
    case VarType::Byte: return true;
    default: return false;
  }
}

double Variant::toDouble() const {
  switch (type()) {
    case VarType::Empty: return 0;
    case VarType::Null: raise(ErrNo::InvalidUseOfNull);
    case VarType::Integer: return std::get<int16_t>(v_);
    case VarType::Long: return std::get<int32_t>(v_);
    case VarType::Double: return std::get<double>(v_);
    case VarType::Boolean: return std::get<bool>(v_) ? -1 : 0;
    case VarType::Byte: return std::get<uint8_t>(v_);
    case VarType::String: {
      const auto& s = std::get<std::string>(v_);
      if (auto n = parseNumber(s)) return *n;
      // "True" and "False" convert as the language does.
      if (s == "True") return -1;
      if (s == "False") return 0;
      raise(ErrNo::TypeMismatch);
    }
    case VarType::Error: raise(ErrNo::TypeMismatch);
  }
  raise(ErrNo::TypeMismatch);
}

int32_t Variant::toLong() const {
  if (type() == VarType::Long) return std::get<int32_t>(v_);
  return tw::toLong(toDouble());
}

int16_t Variant::toInteger() const {
  if (type() == VarType::Integer) return std::get<int16_t>(v_);
  return tw::toInteger(toDouble());
}

bool Variant::toBool() const { return toDouble() != 0; }

std::string Variant::toString() const {
  switch (type()) {
    case VarType::Empty: return "";
    case VarType::Null: raise(ErrNo::InvalidUseOfNull);
    case VarType::Integer: return numberToText(std::get<int16_t>(v_));
    case VarType::Long: return numberToText(std::get<int32_t>(v_));
    case VarType::Double: return numberToText(std::get<double>(v_));
    case VarType::Boolean: return std::get<bool>(v_) ? "True" : "False";
    case VarType::Byte: return numberToText(std::get<uint8_t>(v_));
    case VarType::String: return std::get<std::string>(v_);
    case VarType::Error: return "Error " + std::to_string(std::get<ErrorValue>(v_).code);
  }
  return "";
}

}  // namespace tw
