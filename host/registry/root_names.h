#pragma once
// The names of the registry's predefined roots, one table for everything that
// reads or prints them: .reg files, plinthctl's arguments, messages.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tw::reg {

using HKEY = uint32_t;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// The full name ("HKEY_LOCAL_MACHINE") or the short form ("HKLM"), in any
// case.  HKEY_PERFORMANCE_DATA is a name (it has no short form) although
// Windows 9x has no such root: callers that cannot use it say so.
std::optional<HKEY> rootFromName(std::string_view name);

// The full name of a root; "" for a value that is not one.
const char* rootName(HKEY root);

}  // namespace tw::reg
