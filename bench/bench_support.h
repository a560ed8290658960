#pragma once
// What the benchmark programs share: a scratch folder removed with its
// contents, and a machine made from the template as a first run finds it.

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/host.h"

namespace tw::bench {

struct Scratch {
  std::filesystem::path dir;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tunewell-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path operator/(const char* name) const { return dir / name; }
};

struct TemplateMachine {
  Scratch scratch;
  std::unique_ptr<Host> host;
  explicit TemplateMachine(std::shared_ptr<sys::Platform> platform = nullptr)
      : host(std::make_unique<Host>(scratch / "machine", std::make_shared<ScriptedDialogs>(), std::move(platform))) {}
  std::filesystem::path programFolder() const { return scratch.dir / "machine" / "Program Files" / "Tunewell"; }
};

}  // namespace tw::bench
