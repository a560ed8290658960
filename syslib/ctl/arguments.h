#pragma once
// Turns plinthctl's text arguments into the typed arguments of a method and
// its result into the printed lines.

#include <optional>
#include <string>
#include <vector>

#include "syslib/interface/method_table.h"

namespace tw::ctl {

// Parses one argument for a parameter.  Text forms:
//   @missing          omit an optional argument
//   @null             the null string (String parameters)
//   @empty            an empty Variant
//   @int:N @long:N @double:X @bool:True @str:TEXT   a typed Variant
//   anything else     the text itself (a String Variant for Variant parameters)
// HKeys take a root name (HKEY_LOCAL_MACHINE or HKLM) or a number (decimal,
// 0x80000002 or &H80000002); lDataType a type name (REG_SZ, reg_sz, ...) or a
// number; Boolean True/False or a number.
// Returns nullopt with the reason in *error when the text does not fit.
std::optional<Arg> parseArg(const ParamSpec& param, const std::string& text, std::string* error);

// "String \"...\"", "Long 42", "Integer 7", "Double 1.5", "Boolean True", "Empty".
std::string formatVariant(const Variant& v);

}  // namespace tw::ctl
