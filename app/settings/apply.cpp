// Applying: "Ok" compares the pending record with the start-up snapshot and,
// when anything differs, writes every setting of the catalogue and offers
// the restart, since Windows reads these values only as it starts.  Each
// write goes through the system library, whose INI and hive writes replace
// whole files and commit whole transactions, so an apply cut short leaves
// every store readable with each value either old or new.

#include <array>

#include "app/settings/snapshot.h"
#include "app/ui/form1.h"
#include "host/runtime/guard.h"
#include "host/runtime/vbconv.h"
#include "syslib/plinth.h"

namespace tw::app {

namespace {

namespace cat = catalogue;

// The two items the comparison reads past: the template name is the
// program's own once it has applied, and the priority separation follows
// CPUPriority.
constexpr int kTemplateItem = 3;
constexpr int kPrioritySeparationItem = 23;

constexpr const char* kOwnTemplateName = "Tunewell";
constexpr const char* kOwnTemplateDescription = "Tunewell Settings";

}  // namespace

bool Form1::ApplyIfChanged() {
  bool changed = true;
  skipErrors([&] {
    const std::string tmp = programFile("Settings.tmp");
    if (!fso().FileExists(tmp)) return;
    const auto& cp = host().machine().codePage();
    // A snapshot that cannot be read tells nothing about what changed, so
    // it counts as missing: the user asked for his settings to be applied.
    const auto items = snapshot::read(host().machine().toHost(cp.toAnsi(tmp)), cp);
    for (const auto& s : cat::settings()) {
      if (s.item == kTemplateItem || s.item == kPrioritySeparationItem) continue;
      if (!snapshot::sameValue(s, items[static_cast<size_t>(s.item)], PendingSettings)) return;
    }
    changed = false;
  });
  if (!changed) return true;
  if (!confirmCacheLimit()) return false;
  ApplySets();
  return true;
}

void Form1::ApplySets() {
  reportErrors(dialogs(), "Form1.ApplySets", [&] {
    Plinth& p = plinth();
    const PendingRecord& s = PendingSettings;
    const auto HKLM = HKEY_LOCAL_MACHINE;
    // An INI entry at its "not set" value is removed, so Windows uses its own.
    auto ini = [&](const char* file, const char* section, const char* key, int32_t value, int32_t notSet) {
      p.INIWrite(section, key, value == notSet ? BStr::null() : BStr(numberToText(value)), file);
    };
    auto binary = [&](const char* key, const char* name, int32_t value) {
      p.WriteValue(HKLM, key, name, Variant(value), REG_BINARY);
    };
    auto dword = [&](const char* key, const char* name, int32_t value) {
      p.WriteValue(HKLM, key, name, Variant(value), REG_DWORD);
    };

    savePreference("Presets", Combo1->text());

    ini(cat::kSystemIni, "vcache", "MinFileCache", s.MinFileCache, 0);
    ini(cat::kSystemIni, "vcache", "MaxFileCache", s.MaxFileCache, 0);
    ini(cat::kSystemIni, "vcache", "Chunksize", s.Chunksize, 0);

    p.WriteValue(HKLM, cat::kTemplatesKey, "", Variant(kOwnTemplateName), reg_sz);
    p.WriteValue(HKLM, cat::kOwnTemplateKey, "", Variant(kOwnTemplateDescription), reg_sz);

    // A name or path cache of 0 leaves the file system's own value alone:
    // only the program's template forgets it.
    for (const auto& [name, value] : {std::pair{"NameCache", s.NameCache}, std::pair{"PathCache", s.PathCache}}) {
      if (value != 0) {
        binary(cat::kOwnTemplateKey, name, value);
        binary(cat::kFileSystemKey, name, value);
      } else {
        p.DeleteValue(HKLM, cat::kOwnTemplateKey, name);
      }
    }

    if (s.CPUPriority == 1) {
      dword(cat::kBiosKey, "CPUPriority", 1);
      dword(cat::kPriorityControlKey, "Win32PrioritySeparation", 2);
    } else {
      p.DeleteValue(HKLM, cat::kBiosKey, "CPUPriority");
      dword(cat::kPriorityControlKey, "Win32PrioritySeparation", 0);
    }
    for (const auto& [name, value] : {std::pair{"PCIConcur", s.PCIConcur}, std::pair{"FastDRAM", s.FastDRAM},
                                      std::pair{"AGPConcur", s.AGPConcur}}) {
      if (value == 1)
        dword(cat::kBiosKey, name, 1);
      else
        p.DeleteValue(HKLM, cat::kBiosKey, name);
    }

    // DLL unloading is switched on by the key's presence, not its value.
    if (s.AlwaysUnloadDLL == 1)
      p.WriteValue(HKLM, cat::kAlwaysUnloadDllKey, "", Variant("1"), reg_sz);
    else
      p.DeleteKey(HKLM, cat::kAlwaysUnloadDllKey);

    p.INIWrite("386Enh", "ConservativeSwapFileUsage", s.ConservativeSwapFileUsage == 1 ? BStr("1") : BStr::null(),
               cat::kSystemIni);
    ini(cat::kSystemIni, "386Enh", "MinSPs", s.MinSPs, 2);
    ini(cat::kSystemIni, "386Enh", "PageBuffers", s.PageBuffers, 4);

    p.INIWrite("Ports", "COM1:", s.COM1, cat::kWinIni);
    p.INIWrite("Ports", "COM2:", s.COM2, cat::kWinIni);
    p.INIWrite("Ports", "COM3:", s.COM3, cat::kWinIni);
    p.INIWrite("Ports", "COM4:", s.COM4, cat::kWinIni);

    binary(cat::kFileSystemKey, "ContigFileAllocSize", s.ContigFileAllocSize);
    // 1 is "Disabled"; 0 is a real threshold and is written.
    if (s.ReadAheadThreshold == 1)
      p.DeleteValue(HKLM, cat::kFileSystemKey, "ReadAheadThreshold");
    else
      binary(cat::kFileSystemKey, "ReadAheadThreshold", s.ReadAheadThreshold);

    ini(cat::kSystemIni, "386Enh", "DMABufferSize", s.DMABufferSize, 0);

    if (s.MaxCachedIcons != 0)
      p.WriteValue(HKLM, cat::kExplorerKey, "Max Cached Icons", Variant(numberToText(s.MaxCachedIcons)), reg_sz);
    else
      p.DeleteValue(HKLM, cat::kExplorerKey, "Max Cached Icons");

    // The defragmenter's profiling follows its check box; the task monitor
    // collects the profile, so it is started with Windows exactly when the
    // profile is used.
    if (Check12->value() == forms::CheckValue::Checked) {
      dword(cat::kDefragmenterKey, "UseProfile", 1);
      dword(cat::kDefragmenterKey, "MaxApps", s.MaxApps);
      dword(cat::kDefragmenterKey, "MaxNoUseDays", s.MaxNoUseDays);
      dword(cat::kDefragmenterKey, "MinLogSize", s.MinLogSize);
      p.WriteValue(HKLM, cat::kRunKey, "TaskMonitor", Variant(FindTaskmon()), reg_sz);
    } else {
      for (const char* name : {"UseProfile", "MaxApps", "MaxNoUseDays", "MinLogSize"})
        p.DeleteValue(HKLM, cat::kDefragmenterKey, name);
      p.DeleteValue(HKLM, cat::kRunKey, "TaskMonitor");
    }

    binary(cat::kCdfsKey, "CacheSize", s.CDFSCacheSize);
    binary(cat::kCdfsKey, "Prefetch", s.Prefetch);
    binary(cat::kCdRomKey, "Desired Lru1 Percentage", 25);
    binary(cat::kCdRomKey, "Required Pause Tolerance", 333);

    Timer1->setEnabled(false);
    p.ExitWindowsMsgBox(2, 0, "");
  });
}

std::string Form1::FindTaskmon() {
  return reportErrors(dialogs(), "Form1.FindTaskmon", std::string(), [&] {
    for (const int folder : {0, 1}) {
      const std::string path = fso().GetSpecialFolder(folder) + "\\Taskmon.exe";
      if (fso().FileExists(path)) return path;
    }
    return std::string();
  });
}

}  // namespace tw::app
