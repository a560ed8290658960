#include "tests/support/machine_fixture.h"

namespace tw::test {

void makeBareMachine(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "WINDOWS" / "SYSTEM");
  writeFile(root / ".tunewell" / "machine.ini",
            "[Machine]\r\nWindowsFolder=C:\\WINDOWS\r\nSystemFolder=C:\\WINDOWS\\SYSTEM\r\n"
            "ProgramFolder=C:\\Program Files\\Tunewell\r\nVersion=4.10.2222\r\nPlatform=1\r\n"
            "ServicePack=\" A \"\r\nComputerName=TESTBOX\r\nCodePage=1252\r\n");
  reg::Registry hive(root / ".tunewell" / "hive.db");  // an empty hive, made whole
}

TestMachine::TestMachine(bool bare) {
  if (bare) makeBareMachine(root());
  host = std::make_unique<Host>(root(), dialogs);
}

}  // namespace tw::test
