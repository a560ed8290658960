#pragma once
// A bare machine in a temporary folder and the profile functions on it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/machine/machine.h"
#include "host/profile/profile.h"
#include "tests/support/machine_fixture.h"

namespace tw::test {

inline Machine openBareMachine(const std::filesystem::path& root) {
  makeBareMachine(root);
  return Machine::open(root);
}

class ProfileTest : public ::testing::Test {
 protected:
  std::filesystem::path file(const std::string& name = "TEST.INI") const { return dir_.path() / "WINDOWS" / name; }
  void put(std::string_view bytes, const std::string& name = "TEST.INI") const { writeFile(file(name), bytes); }
  std::string contents(const std::string& name = "TEST.INI") const { return readFile(file(name)); }

  // The value as a caller of the C function sees it.
  std::string get(const char* section, const char* key, const char* def = "", uint32_t size = 260,
                  const char* name = "test.ini") const {
    std::string buf(size, 'x');
    profile_.GetPrivateProfileString(section, key, def, buf.data(), size, name);
    return buf.c_str();
  }

  // Every byte value, 16 times over.
  static std::string binaryJunk() {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131) & 0xFF);
    return junk;
  }

  TempDir dir_;
  Machine machine_ = openBareMachine(dir_.path());
  Profile profile_{machine_};
};

}  // namespace tw::test
