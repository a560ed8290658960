#pragma once
// A throw-away machine for tests: either a bare one (a description and an
// empty Windows folder, for tests that build their own files) or one made
// from the repository's template.

#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "tests/support/temp_dir.h"

namespace tw::test {

// Writes a minimal machine (description, empty hive, WINDOWS/, WINDOWS/SYSTEM/)
// into `root`.
void makeBareMachine(const std::filesystem::path& root);

struct TestMachine {
  TempDir dir;
  std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
  std::unique_ptr<Host> host;

  // bare: no template files; otherwise the template machine.
  explicit TestMachine(bool bare = true);
  std::filesystem::path root() const { return dir / "machine"; }
  std::filesystem::path windows() const { return root() / "WINDOWS"; }
  // The texts of the boxes shown so far, in order.
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> out;
    for (const auto& box : dialogs->shown()) out.push_back(box.text);
    return out;
  }
};

}  // namespace tw::test
