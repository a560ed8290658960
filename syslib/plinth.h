#pragma once
// The system library's class Plinth: every registry, INI-file, memory,
// processor, computer-name and shell operation of the tuner and the
// Uninstaller goes through one object of it.
//
// Strings cross this interface as UTF-8 (the platform's wide strings); the
// class converts them to the machine's ANSI code page for the registry and
// profile functions and back.  Failures come back as results, never as
// exceptions: a method that meets an unexpected error shows the message box
// "<number> <description> in Plinth.<method>" and returns its empty result.
//
// Parameters that the interface passes by reference but that no method ever
// writes (ldValueDataType, Default, Translate, strWebsite) are taken by value
// or const reference here; the by-reference outputs are non-const references.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/runtime/bstr.h"
#include "host/runtime/variant.h"

namespace tw {

class Host;

// Registry roots, passed to the registry functions unchanged as root handles.
enum HKeys : int32_t {
  HKEY_CLASSES_ROOT = INT32_MIN,  // &H80000000
  HKEY_CURRENT_USER = INT32_MIN + 1,
  HKEY_LOCAL_MACHINE = INT32_MIN + 2,
  HKEY_USERS = INT32_MIN + 3,
  HKEY_PERFORMANCE_DATA = INT32_MIN + 4,
  HKEY_CURRENT_CONFIG = INT32_MIN + 5,
  HKEY_DYN_DATA = INT32_MIN + 6,
};

// Registry value types, with the registry's own type codes.
enum lDataType : int32_t {
  REG_NONE = 0,
  reg_sz = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_DWORD_LITTLE_ENDIAN = 4,
};

// A meter that fails leaves the percentage it was given as it was, and no
// meter sets this one: a caller that hands it in can tell a failed reading
// from a reading of any figure.
inline constexpr int16_t kPercentNotRead = INT16_MIN;

class Plinth {
 public:
  // The object works on `host`'s machine; the shared library's factory
  // passes the process's host.
  explicit Plinth(Host& host);
  ~Plinth();
  Plinth(const Plinth&) = delete;
  Plinth& operator=(const Plinth&) = delete;

  // The public methods, in the interface's slot order.
  /* 1 */ int32_t ExitWindowsMsgBox(int32_t Operation = 2, int32_t hWndOwner = 0, const BStr& ExtraText = "");
  /* 2 */ bool WriteValue(HKeys hkey, const BStr& subdir, const BStr& KeyName, const Variant& vWriteThis,
                          lDataType ldValueDataType, const Variant& Multi_SZ_AddtlStrings = Variant::missing());
  /* 3 */ bool DeleteKey(HKeys hkey, const BStr& subdir);
  /* 4 */ bool DeleteValue(HKeys hkey, const BStr& subdir, const BStr& KeyName);
  /* 5 */ Variant GetValue(HKeys hkey, const BStr& subdir, const BStr& KeyName,
                           const Variant& Default = Variant::missing(), bool Translate = false);
  /* 6 */ std::string INIRead(const BStr& AppName, const BStr& KeyName, const BStr& Default, const BStr& INIFilePath);
  /* 7 */ void INIWrite(const BStr& AppName, const BStr& KeyName, const BStr& Value, const BStr& INIFilePath);
  /* 8 */ void INISectionWrite(const BStr& AppName, const BStr& KeyName, const BStr& INIFilePath);
  /* 9 */ std::string INISectionRead(const BStr& Returnedstring, const BStr& INIFilePath);
  /* 10 */ double AvailablePhysicalMemory();
  /* 11 */ double TotalPhysicalMemory();
  /* 12 */ double AvailablePageFile();
  /* 13 */ double PageFileSize();
  /* 14 */ int32_t GetCPUUsage();
  /* 15 */ int32_t HardDrive(int16_t& Percnt);
  /* 16 */ int32_t CacheSize(int16_t& Percnt);
  /* 17 */ void Resources(int16_t& Sys, int16_t& Use, int16_t& GDI);
  /* 18 */ int32_t PhysicalMemory(int16_t& Percnt);
  /* 19 */ Variant SystemMemory(int16_t& Percnt);
  /* 20 */ int32_t PageSize(int16_t& Percnt);
  /* 21 */ std::string OSVersion();
  /* 22 */ std::string ProcessorType();
  /* 23 */ std::string GetCPUspeedX();
  /* 24 */ std::string GetPCname();
  /* 25 */ void OpenSite(const BStr& strWebsite);
  /* 26 */ std::string FindRegKeyString(HKeys hkey, const BStr& subdir, const BStr& key);

  Host& host() { return host_; }

 private:
  // Meters
  void InitCPUUsage();
  void ResStatus(int16_t& heapType, int16_t& freePercent);
  // Processor identification
  void GetIntelCPU();
  void GetAMDCPU();
  void GetCyrixCPU();
  void GetCentCPU();
  void GetRiseCPU();
  void GetMx86CPU();
  // Registry search
  void DoEnumSubKeys(HKeys hkey, const std::string& subdir, const std::string& key);
  void ListEntryValues(HKeys hkey, const std::string& subdir, const std::string& key);

  // Wide (UTF-8) <-> ANSI in the machine's code page.
  std::string ansi(const std::string& text) const;
  std::string wide(const std::string& ansiText) const;

  Host& host_;

  // Registry search state: the data of the last value the search matched
  // (never cleared) and the last registry code it saw.
  std::string FoundValue;
  int32_t LastRegResult = 0;

  // The name found by the last processor identification.
  std::string ProcessorName;

  // The memory record, refreshed by every raw memory call.  The sizes are
  // 64-bit (as in the extended memory status of later Windows versions) so
  // that hosts with 2 GB and more report their real figures; a 32-bit field
  // would wrap to a negative or far too small number there.
  struct MemoryRecord {
    uint32_t dwLength = 0;
    uint32_t dwMemoryLoad = 0;
    uint64_t ullTotalPhys = 0;
    uint64_t ullAvailPhys = 0;
    uint64_t ullTotalPageFile = 0;
    uint64_t ullAvailPageFile = 0;
    uint64_t ullTotalVirtual = 0;
    uint64_t ullAvailVirtual = 0;
  } Memory;
  void GlobalMemoryStatus();
  // One field of a fresh memory record, reported under `procedure`.
  double memoryFigure(const char* procedure, uint64_t MemoryRecord::*field);

  // The version record, filled by every version check (148 bytes as the
  // platform lays it out).
  struct VersionRecord {
    uint32_t dwOSVersionInfoSize = 148;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
  } OSInfo;
  void GetVersionEx();

  // Meters: one HKEY_DYN_DATA statistic read into a 4-byte buffer (0 when it
  // cannot be read), and the swap file's size in MB.
  int32_t readStatistic(const char* key, const char* value);
  int32_t swapFileMB(bool fromPageFile);
  std::optional<double> swapFileBytes();

  // The last look for the swap file: its size, or none there.
  struct SwapFileLook {
    std::chrono::steady_clock::time_point at;
    std::optional<double> bytes;
  };
  std::optional<SwapFileLook> swapFileLook_;
};

}  // namespace tw
