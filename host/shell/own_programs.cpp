#include "host/shell/own_programs.h"

#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

#include "host/machine/machine.h"
#include "host/shell/instance.h"

namespace tw::shell {

namespace {

constexpr std::array<std::string_view, 2> kOwnPrograms = {"tunewell-uninstall", "tunewell-tray"};

// A stand-in is a few lines of text; a real program file is not read whole.
constexpr std::streamsize kFirstLineLimit = 128;

std::filesystem::path& chosenFolder() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

std::optional<std::string> standInFor(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string head(static_cast<size_t>(kFirstLineLimit), '\0');
  in.read(head.data(), kFirstLineLimit);
  head.resize(static_cast<size_t>(in.gcount()));
  const size_t end = head.find_first_of("\r\n");
  if (end == std::string::npos) return std::nullopt;
  const std::string_view line = std::string_view(head).substr(0, end);
  const std::string_view mark = kStandInMark;
  if (!line.starts_with(mark)) return std::nullopt;
  const std::string_view name = line.substr(mark.size());
  for (std::string_view known : kOwnPrograms)
    if (name == known) return std::string(name);
  return std::nullopt;
}

std::filesystem::path ownProgramFolder() {
  if (!chosenFolder().empty()) return chosenFolder();
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
}

void setOwnProgramFolder(std::filesystem::path folder) { chosenFolder() = std::move(folder); }

std::vector<std::string> ownProgramCommand(std::string_view program, const Machine& machine) {
  std::error_code ec;
  std::vector<std::string> argv = {(ownProgramFolder() / program).string(), "--machine",
                                   std::filesystem::absolute(machine.root(), ec).string()};
  if (!chosenRuntimeFolder().empty()) {
    argv.push_back("--runtime");
    argv.push_back(chosenRuntimeFolder().string());
  }
  return argv;
}

}  // namespace tw::shell
