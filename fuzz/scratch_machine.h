#pragma once
// A machine of its own for each fuzzing process, in memory where the host
// offers it (/dev/shm), removed when the process ends.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/machine/machine.h"
#include "host/profile/profile.h"

namespace tw::fuzz {

struct ScratchMachine {
  std::filesystem::path top;      // holds the machine and an "outside" folder
  std::filesystem::path root;     // the machine
  std::optional<Machine> machine;
  std::optional<Profile> profile;
};

// Made on the first call: a bare machine (its description, WINDOWS/SYSTEM).
ScratchMachine& scratchMachine();

// Replaces a whole file (no atomicity needed here).
void putFile(const std::filesystem::path& file, std::string_view bytes);
std::string fileBytes(const std::filesystem::path& file);

// One line of a harness's input: the text up to the next LF (taken off
// `rest`); "@null" stands for the null string.
std::optional<std::string> takeLine(std::string_view& rest);

// Stops the run with a message when an expectation fails.
void check(bool ok, const char* what);

}  // namespace tw::fuzz
