// The .reg import and export.  Input: a REGEDIT4 file.  Whatever imports
// exports to a file that imports again, into the same hive: exporting that
// gives the same text.  What does not import leaves the hive as it was.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/scratch_machine.h"
#include "host/registry/regfile.h"
#include "host/registry/registry.h"

using namespace tw;

namespace {

reg::Registry& hive() {
  static reg::Registry* r = new reg::Registry(fuzz::scratchMachine().top / "fuzz-hive.db");
  return *r;
}

// Empties every stored root, values included.
void wipe(reg::Registry& r) {
  for (reg::HKEY root : {reg::HKEY_LOCAL_MACHINE, reg::HKEY_CURRENT_USER, reg::HKEY_USERS, reg::HKEY_CURRENT_CONFIG}) {
    for (;;) {
      char name[1024];
      reg::DWORD len = sizeof name;
      if (r.RegEnumKeyEx(root, 0, name, &len, nullptr, nullptr) != reg::ERROR_SUCCESS) break;
      if (r.RegDeleteKey(root, std::string_view(name, len)) != reg::ERROR_SUCCESS) break;
    }
    for (;;) {
      char name[1024];
      reg::DWORD len = sizeof name;
      if (r.RegEnumValue(root, 0, name, &len, nullptr, nullptr, nullptr) != reg::ERROR_SUCCESS) break;
      const std::string valueName(name, len);
      if (r.RegDeleteValue(root, valueName.c_str()) != reg::ERROR_SUCCESS) break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  const std::string_view text(reinterpret_cast<const char*>(data), length);
  reg::Registry& r = hive();
  wipe(r);
  const std::string empty = reg::exportRegText(r, "");
  try {
    reg::importRegText(r, text);
  } catch (const reg::RegFileError&) {
    fuzz::check(reg::exportRegText(r, "") == empty, "a refused import changes nothing");
    return 0;
  }
  std::string first;
  try {
    first = reg::exportRegText(r, "");
  } catch (const reg::RegFileError&) {
    fuzz::check(false, "what was imported can be exported");
  }
  wipe(r);
  try {
    reg::importRegText(r, first);
  } catch (const reg::RegFileError&) {
    fuzz::check(false, "an export imports again");
  }
  fuzz::check(reg::exportRegText(r, "") == first, "an export imported again exports the same");
  return 0;
}
