// Tools.txt's reader and writer.  Input: a Tools.txt.  Reading never fails;
// every entry the writer can hold reads back from the written file exactly,
// and nothing else is read from it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/tools/tools_file.h"
#include "fuzz/scratch_machine.h"

using namespace tw::app;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t length) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), length);
  std::vector<tools_file::Tool> held;
  for (const tools_file::Tool& tool : tools_file::parse(bytes))
    if (tools_file::canHold(tool.name) && tools_file::canHold(tool.path)) held.push_back(tool);
  tw::fuzz::check(tools_file::parse(tools_file::format(held)) == held, "what is written reads back the same");
  return 0;
}
