// The ten rows of system information below the gauges: gathered once during
// start-up, then shown in Label31(0..9).  Each step that fails is skipped
// and leaves its row empty; a row keeps its design text "Unknown" only when
// its label cannot be filled.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/ui/form1.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

// The rows, by Label31's index.
namespace Row {
constexpr size_t WindowsOS = 0;
constexpr size_t ProcessorSpeed = 1;
constexpr size_t ProcessorType = 2;
constexpr size_t Bios = 3;
constexpr size_t ComputerName = 4;
constexpr size_t FileSystem = 5;
constexpr size_t Version = 6;
constexpr size_t RegisteredTo = 7;
constexpr size_t Memory = 8;
constexpr size_t HardDrive = 9;
}  // namespace Row

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// A size in megabytes as the classic number-to-text conversion writes it:
// rounded, with the blank that stands where a minus sign would.
std::string megabytes(double mb) { return str(roundHalfEven(mb)) + " Mb"; }

}  // namespace

void Form1::GatherSystemInformation() {
  std::array<std::string, 10>& info = SystemInfo;
  skipErrors([&] { info[Row::WindowsOS] = OsName; });

  // The clock measures one megahertz short of the rated speed.
  skipErrors([&] {
    const std::optional<double> mhz = parseNumber(plinth().GetCPUspeedX());
    if (!mhz) raise(ErrNo::TypeMismatch);
    info[Row::ProcessorSpeed] = numberToText(toLong(*mhz) + 1.0) + " Mhz";
  });
  skipErrors([&] { info[Row::ProcessorType] = plinth().ProcessorType(); });
  skipErrors([&] {
    if (!WindowsDrive) raise(ErrNo::ObjectNotSet);
    info[Row::FileSystem] = WindowsDrive->FileSystem();
  });
  skipErrors([&] {
    info[Row::Version] =
        plinth().GetValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "VersionNumber", "Windows", false).toString();
  });
  skipErrors([&] { info[Row::ComputerName] = plinth().GetPCname(); });
  skipErrors([&] { info[Row::Memory] = megabytes(TotalMemoryKB / 1024.0); });
  skipErrors([&] {
    if (!WindowsDrive) raise(ErrNo::ObjectNotSet);
    info[Row::HardDrive] = megabytes(WindowsDrive->TotalSize() / 1024 / 1024);
  });
  // Windows' own record of its owner; "0" when it has none.
  skipErrors([&] {
    info[Row::RegisteredTo] =
        plinth().GetValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner", int16_t{0}, false).toString();
  });
  skipErrors([&] { info[Row::Bios] = plinth().FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum\\Root", "BIOSVersion"); });

  for (size_t i = 0; i < info.size(); ++i)
    skipErrors([&] { Label31(static_cast<int>(i)).setCaption(info[i]); });
}

}  // namespace tw::app
