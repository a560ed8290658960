#include "host/registry/root_names.h"

#include "host/runtime/codepage.h"

namespace tw::reg {
namespace {

struct RootName {
  HKEY root;
  const char* name;
  const char* shortName;  // null where there is none
};

constexpr RootName kRootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA", nullptr},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA", "HKDD"},
};

}  // namespace

std::optional<HKEY> rootFromName(std::string_view name) {
  for (const auto& r : kRootNames)
    if (ansiEqualNoCase(name, r.name) || (r.shortName && ansiEqualNoCase(name, r.shortName))) return r.root;
  return std::nullopt;
}

const char* rootName(HKEY root) {
  for (const auto& r : kRootNames)
    if (r.root == root) return r.name;
  return "";
}

}  // namespace tw::reg
