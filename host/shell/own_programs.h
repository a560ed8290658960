#pragma once
// The programs of this system that a machine's program folder holds
// stand-ins for: "Uninstaller.exe" runs tunewell-uninstall and "Plinth.exe"
// the tray utility, the way Wine runs its built-in programs for the Windows
// names it knows.  A stand-in is a small text file whose first line names
// the program:
//
//   Tunewell program: tunewell-uninstall
//
// Only the programs listed here can be named, so a machine's file (the
// machine may be a disk from anywhere) never starts anything else of the
// host.  Deleting the stand-in removes the program from that machine.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {
class Machine;
}

namespace tw::shell {

inline constexpr const char* kStandInMark = "Tunewell program: ";

// The program that the host file `file` stands in for, or nullopt when it is
// not a stand-in of one of this system's programs.
std::optional<std::string> standInFor(const std::filesystem::path& file);

// The folder that holds this system's programs: the one set by
// setOwnProgramFolder, else the folder of the running program (the programs
// are built and installed side by side).
std::filesystem::path ownProgramFolder();
// Empty goes back to the running program's folder.
void setOwnProgramFolder(std::filesystem::path folder);

// The start of the command line that runs this system's `program` on
// `machine`: the program from ownProgramFolder(), "--machine <root>", and
// "--runtime <folder>" when this process was given a runtime folder, so that
// the two programs share their locks and windows.  The program's own
// arguments follow.
std::vector<std::string> ownProgramCommand(std::string_view program, const Machine& machine);

}  // namespace tw::shell
