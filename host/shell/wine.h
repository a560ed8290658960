#pragma once
// Starting the machine's own Windows programs through Wine, when Wine is
// installed.  Wine sees the machine's folder as its C: drive, through a Wine
// prefix kept in the machine's hidden folder, so that a program finds its
// files and the machine's WINDOWS folder where Windows would have them.
//
// Only a real Windows program is started: a file that does not begin with
// the "MZ" signature (the machine's stand-ins for Windows' programs are
// text) is reported as not found, as a missing file is.  Every start is an
// argument vector; nothing is parsed by a shell.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/shell/shell.h"

namespace tw {
class Machine;
}

namespace tw::shell {

// Whether the file begins with the "MZ" signature of a Windows program.
bool isWindowsProgram(const std::filesystem::path& file);

// The wine program in the folders of PATH, nullopt when Wine is not installed.
std::optional<std::filesystem::path> findWine();

// The Wine prefix of the machine (in its hidden folder), its C: drive
// linked to the machine's root.  Made on first use.
std::filesystem::path winePrefix(const Machine& machine);

// The argument vector that runs `command` (a Windows program name or path,
// then its arguments, UTF-8) through `wine` with `prefix`.  The environment
// is set by env(1), which runs the program itself: no shell is involved.
std::vector<std::string> wineCommand(const std::filesystem::path& wine, const std::filesystem::path& prefix,
                                     const std::vector<std::string>& command);

// Starts the Windows program `windowsPath` of the machine (ANSI, the
// machine's code page) with `args` through Wine.  Raises File not found (53)
// when the file is missing, is not a Windows program or Wine is not
// installed, and Invalid procedure call (5) when Wine cannot be started.
int32_t startWithWine(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                      const std::vector<std::string>& args, WindowState state);

// Opens the Control Panel applet `windowsPath` (ANSI) through Wine's
// "rundll32.exe shell32.dll,Control_RunDLL", the applet's path one argument.
// Raises as startWithWine does, for the applet's file.
int32_t startAppletWithWine(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                            WindowState state);

}  // namespace tw::shell
