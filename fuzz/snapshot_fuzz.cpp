// The snapshot reader.  Input: a snapshot file.  It reads as thirty items or
// is refused with a SnapshotError naming a line of the file; nothing else.

#include <cstdint>
#include <string_view>

#include "app/settings/snapshot.h"
#include "fuzz/scratch_machine.h"
#include "host/runtime/codepage.h"

using namespace tw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), length);
  static const CodePage cp(1252);
  try {
    const auto items = app::snapshot::parse(bytes, cp);
    fuzz::check(items.size() == static_cast<size_t>(app::snapshot::kItems), "a snapshot has every item");
  } catch (const app::snapshot::SnapshotError& e) {
    fuzz::check(e.line() >= 0, "a refusal names a line");
  }
  return 0;
}
