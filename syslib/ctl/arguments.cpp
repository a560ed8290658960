#include "syslib/ctl/arguments.h"

#include "syslib/plinth.h"
#include "host/registry/root_names.h"
#include "host/runtime/codepage.h"
#include "host/runtime/vbconv.h"
#include "syslib/ctl/escapes.h"

namespace tw::ctl {
namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::optional<double> number(const std::string& text) {
  if (startsWith(text, "0x") || startsWith(text, "0X")) return parseNumber("&H" + text.substr(2));
  return parseNumber(text);
}

std::optional<Variant> typedVariant(const std::string& text, std::string* error) {
  const auto colon = text.find(':');
  const std::string kind = text.substr(1, colon - 1);
  const std::string body = text.substr(colon + 1);
  try {
    if (kind == "str") return Variant(body);
    if (kind == "bool") {
      if (ansiEqualNoCase(body, "True")) return Variant(true);
      if (ansiEqualNoCase(body, "False")) return Variant(false);
    } else if (auto n = number(body)) {
      if (kind == "int") return Variant(toInteger(*n));
      if (kind == "long") return Variant(toLong(*n));
      if (kind == "double") return Variant(*n);
    }
  } catch (const std::exception&) {
    *error = "\"" + body + "\" does not fit in " + kind;
    return std::nullopt;
  }
  *error = "cannot read \"" + text + "\" (use @int:N, @long:N, @double:X, @bool:True or @str:TEXT)";
  return std::nullopt;
}

struct NamedValue {
  const char* name;
  int32_t value;
};

constexpr NamedValue kTypes[] = {
    {"REG_NONE", REG_NONE},     {"REG_SZ", reg_sz},       {"REG_EXPAND_SZ", REG_EXPAND_SZ},
    {"REG_BINARY", REG_BINARY}, {"REG_DWORD", REG_DWORD}, {"REG_DWORD_LITTLE_ENDIAN", REG_DWORD_LITTLE_ENDIAN},
};

template <size_t N>
std::optional<int32_t> named(const NamedValue (&table)[N], const std::string& text) {
  for (const auto& e : table)
    if (ansiEqualNoCase(text, e.name)) return e.value;
  return std::nullopt;
}

std::optional<int32_t> wholeNumber(const std::string& text) {
  auto n = number(text);
  if (!n) return std::nullopt;
  if (*n >= 2147483648.0 && *n <= 4294967295.0) return static_cast<int32_t>(static_cast<uint32_t>(*n));
  try {
    return toLong(*n);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<Arg> parseArg(const ParamSpec& param, const std::string& text, std::string* error) {
  Arg arg;
  if (text == "@missing") {
    if (!param.optional) {
      *error = std::string(param.name) + " is not optional";
      return std::nullopt;
    }
    return arg;
  }
  arg.missing = false;
  if (text == "@empty") {
    if (param.kind != ParamKind::Variant) {
      *error = "@empty is only for Variant parameters";
      return std::nullopt;
    }
    return arg;
  }
  if (text == "@null") {
    if (param.kind != ParamKind::String) {
      *error = "@null is only for String parameters";
      return std::nullopt;
    }
    arg.text = BStr::null();
    return arg;
  }
  switch (param.kind) {
    case ParamKind::String:
      arg.text = BStr(text);
      return arg;
    case ParamKind::Variant:
      if (startsWith(text, "@") && text.find(':') != std::string::npos) {
        auto v = typedVariant(text, error);
        if (!v) return std::nullopt;
        arg.value = *v;
      } else {
        arg.value = Variant(text);
      }
      return arg;
    case ParamKind::Boolean:
      if (ansiEqualNoCase(text, "True")) arg.value = Variant(true);
      else if (ansiEqualNoCase(text, "False")) arg.value = Variant(false);
      else if (auto n = number(text)) arg.value = Variant(*n != 0);
      else {
        *error = std::string(param.name) + " takes True or False, not \"" + text + "\"";
        return std::nullopt;
      }
      return arg;
    case ParamKind::HKeys:
    case ParamKind::DataType: {
      std::optional<int32_t> v;
      if (param.kind == ParamKind::HKeys) {
        if (const auto root = reg::rootFromName(text)) v = static_cast<int32_t>(*root);
      } else {
        v = named(kTypes, text);
      }
      if (!v) v = wholeNumber(text);
      if (!v) {
        *error = std::string(param.name) + ": \"" + text + "\" is neither a " +
                 (param.kind == ParamKind::HKeys ? "root name (HKEY_LOCAL_MACHINE ...)" : "type name (REG_SZ ...)") +
                 " nor a number";
        return std::nullopt;
      }
      arg.value = Variant(*v);
      return arg;
    }
    case ParamKind::Long:
    case ParamKind::Integer: {
      auto n = number(text);
      try {
        if (n) {
          arg.value = param.kind == ParamKind::Long ? Variant(toLong(*n)) : Variant(toInteger(*n));
          return arg;
        }
      } catch (const std::exception&) {
      }
      *error = std::string(param.name) + " takes a " + (param.kind == ParamKind::Long ? "32" : "16") +
               "-bit number, not \"" + text + "\"";
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string formatVariant(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::String: return "String " + quote(v.asString());
    case VarType::Error: return "Error " + std::to_string(v.asErrorCode());
    default: return std::string(v.typeName()) + " " + v.toString();
  }
}

}  // namespace tw::ctl
