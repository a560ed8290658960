#pragma once
// The catalogue of tunable settings: the thirty values the tuner reads,
// changes, applies, records in its snapshots and restores.  Each entry says
// where Windows keeps the value, how it is stored and what an absent value
// reads as; the pending record holds one field per entry.  Start-up reads
// every entry with readAll(); applying, the snapshots and the Uninstaller's
// restores walk the same table.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "syslib/plinth.h"

namespace tw::app {

// The pending value of every setting, in snapshot order.  A fresh record
// holds what a machine without any of the values reads as, so a value that
// cannot be read leaves its Windows default rather than a zero that applying
// would then write.
struct PendingRecord {
  int32_t MinFileCache = 0;
  int32_t MaxFileCache = 0;
  int32_t Chunksize = 0;
  std::string TemplateName;
  int32_t NameCache = 0;
  int32_t PathCache = 0;
  int32_t CPUPriority = 3;
  int32_t FastDRAM = 3;
  int32_t PCIConcur = 3;
  int32_t AGPConcur = 3;
  int32_t AlwaysUnloadDLL = 0;
  int16_t ConservativeSwapFileUsage = 0;
  int32_t ContigFileAllocSize = 512;
  int32_t ReadAheadThreshold = 0;
  int16_t DMABufferSize = 0;
  int32_t CDFSCacheSize = 619;
  int32_t Prefetch = 228;
  int16_t MinSPs = 2;
  int16_t PageBuffers = 4;
  std::string COM1 = "9600,n,8,1,x";
  std::string COM2 = "9600,n,8,1,x";
  std::string COM3 = "9600,n,8,1,x";
  std::string COM4 = "9600,n,8,1,x";
  int32_t Win32PrioritySeparation = 0;
  int16_t MaxCachedIcons = 0;
  int16_t UseProfile = 0;
  int16_t MaxApps = 0;
  int16_t MaxNoUseDays = 0;
  int16_t MinLogSize = 0;
  std::string TaskMonitor = "0";

  bool operator==(const PendingRecord&) const = default;
};

namespace catalogue {

// Registry keys of the catalogue, all under HKEY_LOCAL_MACHINE.
inline constexpr const char* kFileSystemKey = "System\\CurrentControlSet\\Control\\FileSystem";
inline constexpr const char* kCdfsKey = "System\\CurrentControlSet\\Control\\FileSystem\\CDFS";
inline constexpr const char* kBiosKey = "System\\CurrentControlSet\\Services\\VxD\\BIOS";
inline constexpr const char* kPriorityControlKey = "System\\CurrentControlSet\\Control\\PriorityControl";
inline constexpr const char* kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr const char* kAlwaysUnloadDllKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AlwaysUnloadDLL";
inline constexpr const char* kDefragmenterKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Defrag\\AppStartParams";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kTemplatesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates";
inline constexpr const char* kOwnTemplateKey = "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates\\Tunewell";
inline constexpr const char* kCdRomKey = "Software\\Microsoft\\Windows\\CurrentVersion\\CD-ROM";

inline constexpr const char* kSystemIni = "System.ini";
inline constexpr const char* kWinIni = "Win.ini";

enum class Width { Long, Integer, String };
enum class Store { SystemIni, WinIni, Registry };

// How start-up turns what the store returns into the field.
enum class ReadRule {
  IniNumber,          // the number at the start of the entry's text
  IniText,            // the entry's text up to its first NUL
  RegistryNumber,     // REG_DWORD / REG_BINARY, read as a number
  RegistryLeadingNumber,  // REG_SZ, the number at the start of its text
  RegistryInteger,    // REG_SZ holding a number, converted as a whole
  RegistryText,       // REG_SZ, kept as text
};

using FieldRef = std::variant<int32_t PendingRecord::*, int16_t PendingRecord::*, std::string PendingRecord::*>;

struct Setting {
  int item;                 // the place in the snapshot, from 0
  std::string_view field;   // the field of the pending record
  Width width;
  Store store;
  std::string_view location;   // INI section, or registry key under HKEY_LOCAL_MACHINE
  std::string_view valueName;  // INI key, or registry value name ("" is the key's default value)
  lDataType valueType;      // how the registry holds it; REG_NONE for INI entries
  ReadRule rule;
  std::string_view absentText;  // what an absent value reads as, as text
  FieldRef ref;

  bool inIni() const noexcept { return store != Store::Registry; }
  // The INI file's bare name ("System.ini"), found in the Windows folder.
  const char* iniFile() const noexcept { return store == Store::WinIni ? kWinIni : kSystemIni; }
};

// Every setting, in snapshot order (setting(i).item == i).
const std::array<Setting, 30>& settings();
const Setting& setting(int item);
// The setting of a field ("MinLogSize"), compared exactly; null when none.
const Setting* findField(std::string_view field);

// The order start-up reads the settings in.
const std::array<int, 30>& startupReadOrder();

// Reads one setting from its store into `record`.  Throws the runtime's
// error (Type mismatch, Overflow) when the stored value does not fit the
// field; the field is then left as it was.
void read(Plinth& plinth, const Setting& s, PendingRecord& record);

// Reads every setting in start-up order; a setting that fails to read keeps
// its field's previous value and the others are read all the same.
void readAll(Plinth& plinth, PendingRecord& record);

// A field's value: a number for Long and Integer fields, text for String.
std::variant<int32_t, std::string> value(const PendingRecord& record, const Setting& s);
// Sets a numeric field, converting to its width (halves to even; Overflow
// raised for a value the width cannot hold); a String field takes the
// number's text.
void assignNumber(PendingRecord& record, const Setting& s, double number);
void assignText(PendingRecord& record, const Setting& s, std::string text);

// The value a port's check box stands for, checked and unchecked.
inline constexpr const char* kFastPort = "115200,n,8,1,p";
inline constexpr const char* kSlowPort = "9600,n,8,1,x";

}  // namespace catalogue
}  // namespace tw::app
