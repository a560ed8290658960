#pragma once
// The catalogue of tunable settings: the values the tuner reads, changes,
// applies, records in its snapshots and restores, as one table.  Each row
// says where Windows keeps the value, how it is stored, what an absent value
// reads as, how applying writes it and when start-up and applying reach it;
// the pending record holds one field per row.  Start-up reads every row with
// readAll(), applying writes them with writeAll(), and the snapshots and the
// Uninstaller's restores walk the same table.

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "syslib/plinth.h"

namespace tw::app {

// The pending value of every setting, in snapshot order.  A fresh record
// holds what a machine without any of the values reads as (each row's
// absent value), so a value that cannot be read leaves its Windows default
// rather than a zero that applying would then write.
struct PendingRecord {
  PendingRecord();

  int32_t MinFileCache;
  int32_t MaxFileCache;
  int32_t Chunksize;
  std::string TemplateName;
  int32_t NameCache;
  int32_t PathCache;
  int32_t CPUPriority;
  int32_t FastDRAM;
  int32_t PCIConcur;
  int32_t AGPConcur;
  int32_t AlwaysUnloadDLL;
  int16_t ConservativeSwapFileUsage;
  int32_t ContigFileAllocSize;
  int32_t ReadAheadThreshold;
  int16_t DMABufferSize;
  int32_t CDFSCacheSize;
  int32_t Prefetch;
  int16_t MinSPs;
  int16_t PageBuffers;
  std::string COM1;
  std::string COM2;
  std::string COM3;
  std::string COM4;
  int32_t Win32PrioritySeparation;
  int16_t MaxCachedIcons;
  int16_t UseProfile;
  int16_t MaxApps;
  int16_t MaxNoUseDays;
  int16_t MinLogSize;
  std::string TaskMonitor;

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

// How many settings there are: the rows of the table, the fields of the
// pending record and the items of a snapshot.
inline constexpr int kSettingCount = 30;

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

// How applying writes the field to its store.  "Removed" is the INI entry
// taken out (Windows then uses its own value), "deleted" the registry value.
enum class WriteRule {
  IniNumber,          // the number's text; removed at the not-set value
  IniSwitch,          // "1" when the field is 1, removed otherwise
  IniText,            // the text as it is
  Binary,             // REG_BINARY, always
  BinaryUnlessNotSet, // REG_BINARY; deleted at the not-set value
  TextUnlessNotSet,   // REG_SZ of the number's text; deleted at the not-set value
  DwordSwitch,        // REG_DWORD 1 when the field is 1, deleted otherwise
  // The field is not written: the template key names the program's own
  // template, which applying creates with its description.
  OwnTemplate,
  // REG_BINARY in the program's own template and in the file system's key;
  // at the not-set value it is only deleted from the own template, so the
  // file system keeps whatever it had.
  TemplateCache,
  // The field is not written: REG_DWORD 2 when CPUPriority is 1, else 0.
  PrioritySeparation,
  // The key's presence switches it on: the key with "1" as its default
  // value when the field is 1, the key deleted otherwise.
  KeySwitch,
  // The Disk Defragmenter group follows its check box, not the fields: when
  // it is ticked UseProfile is 1, the three limits are written as REG_DWORD
  // and the task monitor (which collects the profile) starts with Windows;
  // otherwise all five are deleted.
  DefragmenterSwitch,
  DefragmenterLimit,
  DefragmenterTaskMonitor,
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
  WriteRule write;
  int32_t notSet;           // the value the ...UnlessNotSet, IniNumber and TemplateCache rules leave out
  int readStep;             // the place in start-up's reading, from 0
  int applyStep;            // the place in applying, from 0

  bool inIni() const noexcept { return store != Store::Registry; }
  // The INI file's bare name ("System.ini"), found in the Windows folder.
  const char* iniFile() const noexcept { return store == Store::WinIni ? kWinIni : kSystemIni; }
  // Whether "Ok" compares this item with the start-up snapshot.  The rows
  // applying writes from something other than their own field are not: the
  // template name is the program's own once it has applied, and the
  // priority separation follows CPUPriority.
  bool comparedOnApply() const noexcept {
    return write != WriteRule::OwnTemplate && write != WriteRule::PrioritySeparation;
  }
};

// Every setting, in snapshot order (setting(i).item == i).
const std::array<Setting, kSettingCount>& settings();
const Setting& setting(int item);
// The setting of a field ("MinLogSize"), compared exactly; null when none.
const Setting* findField(std::string_view field);

// The items in the order start-up reads them, and in the order applying
// writes them.
const std::array<int, kSettingCount>& startupReadOrder();
const std::array<int, kSettingCount>& applyOrder();

// Reads one setting from its store into `record`.  Throws the runtime's
// error (Type mismatch, Overflow) when the stored value does not fit the
// field; the field is then left as it was.
void read(Plinth& plinth, const Setting& s, PendingRecord& record);

// Reads every setting in start-up order; a setting that fails to read keeps
// its field's previous value and the others are read all the same.
void readAll(Plinth& plinth, PendingRecord& record);

// What applying needs beyond the record: the Disk Defragmenter group's
// check box, and the task monitor's command (asked for only when the group
// is ticked, at the moment it is written).
struct ApplyContext {
  bool defragmenterProfile = false;
  std::function<std::string()> taskMonitor;
};

// Writes one setting to its store by its write rule.
void write(Plinth& plinth, const Setting& s, const PendingRecord& record, const ApplyContext& context);

// Writes every setting in apply order, then the CD-ROM's two fixed tuning
// values.  The first failing write raises and stops the rest.
void writeAll(Plinth& plinth, const PendingRecord& record, const ApplyContext& context);

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
