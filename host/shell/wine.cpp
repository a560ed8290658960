#include "host/shell/wine.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "host/machine/machine.h"
#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"

namespace tw::shell {

namespace fs = std::filesystem;

namespace {

// The file behind a Windows path, when it is a real Windows program: the
// walls of the machine are honoured by toHost, so nothing in the hidden
// folder or behind a link out of the machine is ever started.
fs::path windowsProgram(const Machine& machine, std::string_view windowsPath) {
  const fs::path file = machine.toHost(windowsPath);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec) || !isWindowsProgram(file)) raise(ErrNo::FileNotFound);
  return file;
}

int32_t runThroughWine(const Machine& machine, Launcher* launcher, const std::vector<std::string>& command,
                       WindowState state) {
  const std::optional<fs::path> wine = findWine();
  if (!wine) raise(ErrNo::FileNotFound);
  if (!launcher) raise(ErrNo::InvalidProcedureCall);
  fs::path prefix;
  try {
    prefix = winePrefix(machine);
  } catch (const std::exception&) {
    raise(ErrNo::InvalidProcedureCall);
  }
  const LaunchResult r = launcher->start(wineCommand(*wine, prefix, command), state);
  if (r.status == LaunchResult::Status::NotStarted) raise(ErrNo::InvalidProcedureCall);
  static int32_t lastTask = 0;
  return ++lastTask;
}

}  // namespace

bool isWindowsProgram(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char signature[2] = {};
  return in.read(signature, 2) && signature[0] == 'M' && signature[1] == 'Z';
}

std::optional<fs::path> findWine() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view folders(path);
  while (true) {
    const size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    if (!folder.empty()) {
      const fs::path candidate = fs::path(folder) / "wine";
      std::error_code ec;
      if (fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

fs::path winePrefix(const Machine& machine) {
  const fs::path prefix = machine.metaDir() / "wine";
  const fs::path devices = prefix / "dosdevices";
  fs::create_directories(devices);
  // Wine makes its own drive_c only when a new prefix has no dosdevices
  // folder yet; with the folder in place it takes the link given here.
  const fs::path driveC = devices / "c:";
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(driveC, ec))) fs::create_directory_symlink(fs::absolute(machine.root()), driveC);
  return prefix;
}

std::vector<std::string> wineCommand(const fs::path& wine, const fs::path& prefix,
                                     const std::vector<std::string>& command) {
  std::vector<std::string> argv = {"env", "WINEPREFIX=" + fs::absolute(prefix).string(), "WINEDEBUG=-all",
                                   wine.string()};
  argv.insert(argv.end(), command.begin(), command.end());
  return argv;
}

int32_t startWithWine(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                      const std::vector<std::string>& args, WindowState state) {
  const fs::path file = windowsProgram(machine, windowsPath);
  // The program's own Windows path, in the case its folders really have.
  std::vector<std::string> command = {machine.codePage().fromAnsi(machine.toWindows(file))};
  for (const std::string& a : args) command.push_back(machine.codePage().fromAnsi(a));
  return runThroughWine(machine, launcher, command, state);
}

int32_t startAppletWithWine(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                            WindowState state) {
  const fs::path file = windowsProgram(machine, windowsPath);
  return runThroughWine(machine, launcher,
                        {"rundll32.exe", "shell32.dll,Control_RunDLL", machine.codePage().fromAnsi(machine.toWindows(file))},
                        state);
}

}  // namespace tw::shell
