// RestoreWindowsDefaults: every catalogue setting back to what a Windows
// installation without the tuner holds.  Each step is attempted even when an
// earlier one failed, so that one value the machine refuses does not leave
// all the others tuned.

#include "app/settings/catalogue.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"
#include "uninstaller/names.h"
#include "uninstaller/uninst.h"

namespace tw::uninstaller {

namespace {

// What Windows writes for a port nobody tuned.
constexpr const char* kDefaultPort = app::catalogue::kSlowPort;

}  // namespace

void Uninst::RestoreWindowsDefaults() {
  namespace c = app::catalogue;
  const auto HKLM = HKEY_LOCAL_MACHINE;
  std::string run = kNeverRan;
  skipErrors([&] { run = setting("Run", kNeverRan); });
  // A tuner that never closed normally has changed nothing worth undoing.
  if (run == kNeverRan) return;

  Plinth* p = nullptr;
  skipErrors([&] { p = &plinth(); });
  if (p == nullptr) return;
  auto step = [](auto&& body) { skipErrors(body); };
  auto deleteValues = [&](const char* key, std::initializer_list<const char*> names) {
    for (const char* name : names) step([&] { p->DeleteValue(HKLM, key, name); });
  };

  step([&] { p->WriteValue(HKLM, c::kTemplatesKey, "", Variant("Desktop"), reg_sz); });
  step([&] { p->DeleteKey(HKLM, c::kOwnTemplateKey); });
  deleteValues(c::kBiosKey, {"CPUPriority"});
  step([&] { p->WriteValue(HKLM, c::kPriorityControlKey, "Win32PrioritySeparation", Variant(int32_t{0}), REG_DWORD); });
  deleteValues(c::kBiosKey, {"FastDRAM", "AGPConcur", "PCIConcur"});
  step([&] { p->DeleteKey(HKLM, c::kAlwaysUnloadDllKey); });
  deleteValues(c::kFileSystemKey, {"ContigFileAllocSize", "ReadAheadThreshold", "NameCache", "PathCache"});
  step([&] { p->WriteValue(HKLM, c::kCdfsKey, "CacheSize", Variant(int32_t{619}), REG_BINARY); });
  step([&] { p->WriteValue(HKLM, c::kCdfsKey, "Prefetch", Variant(int32_t{228}), REG_BINARY); });
  deleteValues(c::kRunKey, {kTrayRunValue});
  step([&] { deleteSettings(); });
  deleteValues(c::kExplorerKey, {"Max Cached Icons"});
  deleteValues(c::kDefragmenterKey, {"UseProfile", "MaxApps", "MaxNoUseDays", "MinLogSize"});
  deleteValues(c::kRunKey, {kTaskMonitorValue});
  for (const char* name : {"MinFileCache", "MaxFileCache", "Chunksize"})
    step([&] { p->INIWrite("vcache", name, BStr::null(), c::kSystemIni); });
  for (const char* name : {"ConservativeSwapFileUsage", "MinSPs", "PageBuffers", "DMABufferSize"})
    step([&] { p->INIWrite("386Enh", name, BStr::null(), c::kSystemIni); });
  for (const char* name : {"COM1:", "COM2:", "COM3:", "COM4:"})
    step([&] { p->INIWrite("Ports", name, kDefaultPort, c::kWinIni); });
}

}  // namespace tw::uninstaller
