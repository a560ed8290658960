// RestoreSnapshot: every catalogue setting back to what Settings.1st
// recorded at the tuner's first run.  Each step is attempted even when an
// earlier one failed.

#include <array>
#include <string>
#include <system_error>

#include "app/settings/catalogue.h"
#include "app/settings/snapshot.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"
#include "uninstaller/names.h"
#include "uninstaller/snapshot_check.h"
#include "uninstaller/uninst.h"

namespace tw::uninstaller {

void Uninst::RestoreSnapshot() {
  namespace c = app::catalogue;
  const auto HKLM = HKEY_LOCAL_MACHINE;
  const std::string file = programFile("Settings.1st");
  bool exists = false;
  skipErrors([&] { exists = fso().FileExists(file); });
  if (!exists) return;

  // A snapshot that cannot be read whole restores nothing: writing part of
  // it, or text the stores cannot hold, would leave a mix that neither the
  // recorded state nor the current one describes.
  std::array<std::string, app::snapshot::kItems> item;
  try {
    const Machine& machine = host().machine();
    item = app::snapshot::read(machine.toHost(machine.codePage().toAnsi(file)), machine.codePage());
    checkRestorable(item);
  } catch (const app::snapshot::SnapshotError& e) {
    dialogs().msgBox(unreadableSnapshotText(file, e), MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Restore");
    return;
  } catch (const std::exception& e) {
    dialogs().msgBox(file + " cannot be read (" + e.what() + "). Nothing was restored.",
                     MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, "Tunewell Restore");
    return;
  }

  Plinth* p = nullptr;
  skipErrors([&] { p = &plinth(); });
  if (p == nullptr) return;
  auto step = [](auto&& body) { skipErrors(body); };
  auto text = [&](int i) -> const std::string& { return item[static_cast<size_t>(i)]; };
  auto number = [&](int i) { return toLong(val(text(i))); };
  auto is = [&](int i, const char* expected) { return text(i) == expected; };
  // An INI entry restored from its item: `removedAt` stands for the entry
  // Windows does without.
  auto iniItem = [&](int i, const char* section, const char* name, const char* removedAt) {
    step([&] { p->INIWrite(section, name, is(i, removedAt) ? BStr::null() : BStr(text(i)), c::kSystemIni); });
  };
  auto dwordItem = [&](int i, const char* key, const char* name, bool deleted) {
    step([&] { deleted ? p->DeleteValue(HKLM, key, name) : p->WriteValue(HKLM, key, name, Variant(number(i)), REG_DWORD); });
  };

  iniItem(0, "vcache", "MinFileCache", "0");
  iniItem(1, "vcache", "MaxFileCache", "0");
  iniItem(2, "vcache", "Chunksize", "0");
  step([&] { p->WriteValue(HKLM, c::kTemplatesKey, "", Variant(text(3)), reg_sz); });
  step([&] { p->DeleteKey(HKLM, c::kOwnTemplateKey); });
  step([&] { p->DeleteValue(HKLM, c::kFileSystemKey, "NameCache"); });
  step([&] { p->DeleteValue(HKLM, c::kFileSystemKey, "PathCache"); });
  dwordItem(6, c::kBiosKey, "CPUPriority", is(6, "3"));
  dwordItem(7, c::kBiosKey, "FastDRAM", is(7, "3"));
  dwordItem(8, c::kBiosKey, "PCIConcur", is(8, "3"));
  dwordItem(9, c::kBiosKey, "AGPConcur", is(9, "3"));
  step([&] {
    if (is(10, "0"))
      p->DeleteKey(HKLM, c::kAlwaysUnloadDllKey);
    else
      p->WriteValue(HKLM, c::kAlwaysUnloadDllKey, "", Variant("1"), reg_sz);
  });
  iniItem(11, "386Enh", "ConservativeSwapFileUsage", "0");
  step([&] {
    if (is(12, "512"))
      p->DeleteValue(HKLM, c::kFileSystemKey, "ContigFileAllocSize");
    else
      p->WriteValue(HKLM, c::kFileSystemKey, "ContigFileAllocSize", Variant(number(12)), REG_BINARY);
  });
  step([&] {
    if (is(13, "0"))
      p->DeleteValue(HKLM, c::kFileSystemKey, "ReadAheadThreshold");
    else
      p->WriteValue(HKLM, c::kFileSystemKey, "ReadAheadThreshold", Variant(number(13)), REG_BINARY);
  });
  iniItem(14, "386Enh", "DMABufferSize", "0");
  step([&] { p->WriteValue(HKLM, c::kCdfsKey, "CacheSize", Variant(is(15, "619") ? 619 : number(15)), REG_BINARY); });
  step([&] { p->WriteValue(HKLM, c::kCdfsKey, "Prefetch", Variant(is(16, "228") ? 228 : number(16)), REG_BINARY); });
  iniItem(17, "386Enh", "MinSPs", "2");
  iniItem(18, "386Enh", "PageBuffers", "4");
  step([&] {
    if (number(24) == 0)
      p->DeleteValue(HKLM, c::kExplorerKey, "Max Cached Icons");
    else
      p->WriteValue(HKLM, c::kExplorerKey, "Max Cached Icons", Variant(text(24)), reg_sz);
  });
  const char* limits[] = {"UseProfile", "MaxApps", "MaxNoUseDays", "MinLogSize"};
  for (int i = 25; i <= 28; ++i) dwordItem(i, c::kDefragmenterKey, limits[i - 25], number(i) == 0);
  step([&] {
    if (is(29, "0"))
      p->DeleteValue(HKLM, c::kRunKey, kTaskMonitorValue);
    else
      p->WriteValue(HKLM, c::kRunKey, kTaskMonitorValue, Variant(text(29)), reg_sz);
  });
  const char* ports[] = {"COM1:", "COM2:", "COM3:", "COM4:"};
  for (int i = 19; i <= 22; ++i) step([&] { p->INIWrite("Ports", ports[i - 19], text(i), c::kWinIni); });
  step([&] {
    p->WriteValue(HKLM, c::kPriorityControlKey, "Win32PrioritySeparation", Variant(number(23)), REG_DWORD);
  });
  step([&] { p->DeleteValue(HKLM, c::kRunKey, kTrayRunValue); });
  step([&] { deleteSettings(); });
}

}  // namespace tw::uninstaller
