#pragma once
// The registry as the programs see it: the ANSI registry functions of the
// platform with Windows 9x semantics, over a durable hive file.
//
// - Names are ANSI bytes in the machine's code page, compared without regard
//   to case (code page 1252 rules) and stored as first written.
// - Deleting a key deletes its subkeys (Windows 9x behaviour).
// - Access masks are accepted and ignored: Windows 9x has no key security.
// - Subkeys and values enumerate in the order they were created.
// - HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes,
//   HKEY_CURRENT_USER is HKEY_USERS\.DEFAULT and HKEY_CURRENT_CONFIG is
//   HKEY_LOCAL_MACHINE\Config\0001, as on a machine without user profiles.
// - HKEY_DYN_DATA is not stored: its keys and values come live from a
//   DynDataSource, and it cannot be written (error 5).
// - HKEY_PERFORMANCE_DATA does not exist on Windows 9x (error 6).
//
// Every call returns a Windows error code.  Several processes may use the
// same hive file at once; each write is a transaction that is on disk when
// the call returns.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/registry/root_names.h"

namespace tw::reg {

using LONG = int32_t;
using DWORD = uint32_t;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_BADKEY = 1010;
constexpr LONG ERROR_CANTOPEN = 1011;
constexpr LONG ERROR_CANTREAD = 1012;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;
constexpr LONG ERROR_KEY_DELETED = 1018;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD KEY_QUERY_VALUE = 0x0001;
constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_WRITE = 0x20006;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// The hive file cannot be used (not a database, damaged, unreadable, ...).
// The message names the file and what is wrong with it.
class HiveError : public std::runtime_error {
 public:
  explicit HiveError(const std::string& what, bool unusable = false)
      : std::runtime_error(what), unusable_(unusable) {}
  // The file holds no hive this program can read (missing, empty, damaged or
  // of another kind), as opposed to one that is busy, unreadable for now or
  // written by a newer version: only then is making the hive anew advice.
  bool unusable() const { return unusable_; }

 private:
  bool unusable_;
};

// A live value of HKEY_DYN_DATA.
struct DynValue {
  std::string name;
  DWORD type = REG_BINARY;
  std::vector<uint8_t> data;
};

// Serves HKEY_DYN_DATA.  Paths are relative to the root, components joined
// with a backslash ("PerfStats\\StatData"); "" is the root itself.
class DynDataSource {
 public:
  virtual ~DynDataSource() = default;
  virtual bool keyExists(std::string_view path) = 0;
  virtual std::vector<std::string> subkeys(std::string_view path) = 0;
  virtual std::vector<DynValue> values(std::string_view path) = 0;
  // The value `name` of `path` (names compare without regard to case), or
  // nullopt.  A source whose values cost something to take answers this
  // without taking the others; the default looks through values().
  virtual std::optional<DynValue> value(std::string_view path, std::string_view name);
};

// What opening does with a hive file that is missing or empty.
enum class HiveOpening {
  CreateIfMissing,  // makes it anew: a hive of its own, or a machine being made
  MustExist,        // refuses it: the hive of an existing machine, whose lost
                    // data a fresh, empty hive would hide
};

class Registry {
 public:
  // Opens the hive at `hiveFile`.  Throws HiveError when the file is not a
  // usable hive (or, with MustExist, is missing or empty); the file is left
  // as it was.
  explicit Registry(const std::filesystem::path& hiveFile, HiveOpening opening = HiveOpening::CreateIfMissing);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  void setDynData(std::shared_ptr<DynDataSource> source);

  LONG RegCreateKeyEx(HKEY key, std::string_view subKey, DWORD reserved, std::string_view cls, DWORD options,
                      DWORD samDesired, HKEY* result, DWORD* disposition);
  LONG RegCreateKey(HKEY key, std::string_view subKey, HKEY* result);
  LONG RegOpenKeyEx(HKEY key, std::string_view subKey, DWORD options, DWORD samDesired, HKEY* result);
  LONG RegOpenKey(HKEY key, std::string_view subKey, HKEY* result);
  LONG RegCloseKey(HKEY key);

  // data may be null to ask only for type and size; *size is in and out.
  // A buffer too small gives ERROR_MORE_DATA and the size needed.
  // valueName null or "" is the key's default value.
  LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, uint8_t* data, DWORD* size);
  LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const uint8_t* data, DWORD size);
  LONG RegDeleteValue(HKEY key, const char* valueName);
  // Deletes subKey and everything below it.
  LONG RegDeleteKey(HKEY key, std::string_view subKey);

  // *nameLen is the buffer size in characters going in and the name length
  // (without the NUL) coming out.  cls/clsLen may be null.
  LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameLen, char* cls, DWORD* clsLen);
  LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameLen, DWORD* type, uint8_t* data,
                    DWORD* dataLen);

  // Runs `work` as one transaction: every write inside it reaches the hive
  // together or not at all.  `work` returns false (or throws) to roll back.
  bool transaction(const std::function<bool()>& work);

  // Runs `work` with its reads seeing one moment of the hive: another
  // process's writes are noticed at its first call, not at every call, as a
  // walk over thousands of keys needs (noticing costs a read of the hive
  // file).  This process's own writes are seen at once, as always.
  void readTogether(const std::function<void()>& work);

  // Handles that are open now; tests use it to show that every key opened is
  // closed again.
  size_t openHandleCount() const;

  const std::filesystem::path& file() const;

 private:
  // The old forms' answer for an empty subkey: the handle passed in.
  LONG sameHandle(HKEY key, HKEY* result);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tw::reg
