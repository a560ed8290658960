#include "host/registry/registry.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/host/registry/reg_helpers.h"
#include "tests/support/temp_dir.h"

namespace tw::reg {
namespace {

using test::TempDir;

class RegistryTest : public ::testing::Test {
 protected:
  TempDir dir;
  Registry reg{dir / "hive.db"};

  void TearDown() override { EXPECT_EQ(reg.openHandleCount(), 0u) << "a test left a key open"; }
};

// The export shows that keys keep their first spelling; here the values and
// the letters of the upper half.
TEST_F(RegistryTest, NamesAreCaseBlindButKeepTheirFirstSpelling) {
  HKEY k = 0;
  DWORD disp = 0;
  ASSERT_EQ(reg.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Alpha\\Beta\\\xC9t\xE9", 0, "", 0, KEY_ALL_ACCESS, &k, &disp), 0);
  EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
  ASSERT_EQ(setSz(reg, k, "Name", "one"), 0);
  ASSERT_EQ(setSz(reg, k, "NAME", "two"), 0);  // the same value, not a second one
  reg.RegCloseKey(k);

  // 0xC9/0xE9 are one letter in code page 1252.
  ASSERT_EQ(reg.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "ALPHA\\beta\\\xE9T\xC9", 0, "", 0, KEY_ALL_ACCESS, &k, &disp), 0);
  EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(valueNames(reg, k), std::vector<std::string>{"Name"});
  EXPECT_EQ(querySz(reg, k, "nAmE"), "two");
  reg.RegCloseKey(k);
}

TEST_F(RegistryTest, AliasRootsShowTheKeysTheyStandFor) {
  struct Alias {
    HKEY alias;
    HKEY real;
    std::string key;
  };
  for (const auto& a : {Alias{HKEY_CURRENT_USER, HKEY_USERS, ".DEFAULT"},
                        Alias{HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes"},
                        Alias{HKEY_CURRENT_CONFIG, HKEY_LOCAL_MACHINE, "Config\\0001"}}) {
    SCOPED_TRACE(rootName(a.alias));
    const HKEY k = create(reg, a.alias, "Software\\Test");
    ASSERT_EQ(setSz(reg, k, "v", rootName(a.alias)), 0);
    reg.RegCloseKey(k);
    // Values set on the alias root itself land on the real key too.
    ASSERT_EQ(setSz(reg, a.alias, "atRoot", "x"), 0);

    EXPECT_EQ(querySz(reg, a.real, a.key + "\\software\\test", "v"), rootName(a.alias));
    EXPECT_EQ(querySz(reg, a.real, a.key, "atRoot"), "x");
  }
  EXPECT_EQ(reg.RegDeleteKey(HKEY_CLASSES_ROOT, ""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg.RegDeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, DeletingAKeyTakesItsSubtreeAndKillsItsHandles) {
  HKEY mid = 0;
  const HKEY deep = create(reg, HKEY_LOCAL_MACHINE, "A\\B\\C"), keep = create(reg, HKEY_LOCAL_MACHINE, "Keep");
  ASSERT_EQ(setSz(reg, deep, "x", "1"), 0);
  ASSERT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "A\\B", 0, KEY_ALL_ACCESS, &mid), 0);

  ASSERT_EQ(reg.RegDeleteKey(HKEY_LOCAL_MACHINE, "a"), 0);
  HKEY k = 0;
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(k, 0u);
  EXPECT_EQ(reg.RegDeleteKey(HKEY_LOCAL_MACHINE, "A"), ERROR_FILE_NOT_FOUND);

  // A new key at the same place is a different key: the old handles stay dead.
  const HKEY again = create(reg, HKEY_LOCAL_MACHINE, "A\\B\\C");
  for (HKEY dead : {deep, mid}) {
    DWORD size = 0;
    EXPECT_EQ(reg.RegQueryValueEx(dead, "x", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(setSz(reg, dead, "y", "2"), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.RegOpenKeyEx(dead, "", 0, KEY_READ, &k), ERROR_KEY_DELETED);
    EXPECT_EQ(reg.RegCloseKey(dead), 0);
  }
  EXPECT_EQ(querySz(reg, again, "x"), std::nullopt);
  EXPECT_EQ(reg.RegCloseKey(again), 0);

  // A key deleted through its own handle.
  ASSERT_EQ(reg.RegDeleteKey(keep, ""), 0);
  EXPECT_EQ(setSz(reg, keep, "y", "2"), ERROR_KEY_DELETED);
  EXPECT_EQ(reg.RegCloseKey(keep), 0);
}

TEST_F(RegistryTest, EnumerationFollowsCreationOrderAndReportsBufferSizes) {
  const HKEY k = create(reg, HKEY_LOCAL_MACHINE, "Order");
  for (const char* name : {"zeta", "alpha", "Mid"}) reg.RegCloseKey(create(reg, k, name));
  EXPECT_EQ(subkeyNames(reg, k), (std::vector<std::string>{"zeta", "alpha", "Mid"}));

  for (const char* name : {"b", "a", "c"}) ASSERT_EQ(setSz(reg, k, name, name), 0);
  ASSERT_EQ(setSz(reg, k, "B", "overwritten"), 0);  // keeps its place
  ASSERT_EQ(reg.RegDeleteValue(k, "a"), 0);
  ASSERT_EQ(setSz(reg, k, "a", "again"), 0);  // comes back at the end
  EXPECT_EQ(valueNames(reg, k), (std::vector<std::string>{"b", "c", "a"}));

  // The NUL needs room in a name buffer; data too small gives 234 and the
  // size needed, and no buffer just asks.
  char name[8];
  DWORD len = 4;
  EXPECT_EQ(reg.RegEnumKeyEx(k, 0, name, &len, nullptr, nullptr), ERROR_MORE_DATA);
  len = 5;
  EXPECT_EQ(reg.RegEnumKeyEx(k, 0, name, &len, nullptr, nullptr), 0);
  EXPECT_EQ(len, 4u);
  uint8_t data[16];
  DWORD type = 0, dataLen = 5;
  len = sizeof name;
  EXPECT_EQ(reg.RegEnumValue(k, 0, name, &len, &type, data, &dataLen), ERROR_MORE_DATA);
  EXPECT_EQ(dataLen, 12u);  // "overwritten" and its NUL
  len = sizeof name;
  dataLen = 0;
  EXPECT_EQ(reg.RegEnumValue(k, 2, name, &len, &type, nullptr, &dataLen), 0);
  EXPECT_EQ(dataLen, 6u);
  reg.RegCloseKey(k);
}

// The export's round trip shows that types and bytes are kept; here the
// answers a caller's buffer gets.
TEST_F(RegistryTest, ValueQueriesReportSizesAndFaults) {
  const HKEY k = create(reg, HKEY_USERS, ".DEFAULT\\Data");
  const std::string binary("\x00\x01\x00\xff\x00", 5);
  ASSERT_EQ(reg.RegSetValueEx(k, "bin", 0, REG_BINARY, bytes(binary), 5), 0);
  DWORD type = 0, size = 0;
  ASSERT_EQ(reg.RegQueryValueEx(k, "bin", &type, nullptr, &size), 0);
  EXPECT_EQ(size, 5u);
  uint8_t buf[8] = {};
  size = 4;
  EXPECT_EQ(reg.RegQueryValueEx(k, "bin", &type, buf, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  ASSERT_EQ(reg.RegQueryValueEx(k, "bin", &type, buf, &size), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), size), binary);

  EXPECT_EQ(reg.RegQueryValueEx(k, "missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.RegDeleteValue(k, "missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.RegSetValueEx(k, "bad", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
  reg.RegCloseKey(k);
}

TEST_F(RegistryTest, HandlesAreCountedAndCheckedExactly) {
  EXPECT_EQ(reg.RegCloseKey(0x12345), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegCloseKey(HKEY_LOCAL_MACHINE), 0);  // closing a root does nothing
  HKEY a = 0, b = 0;
  ASSERT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &a), 0);
  ASSERT_EQ(reg.RegOpenKeyEx(a, "", 0, KEY_READ, &b), 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(reg.openHandleCount(), 2u);
  EXPECT_EQ(reg.RegCloseKey(a), 0);
  EXPECT_EQ(reg.RegCloseKey(a), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegCloseKey(b), 0);

  HKEY k = 0;
  EXPECT_EQ(reg.RegOpenKeyEx(a, "x", 0, KEY_READ, &k), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_PERFORMANCE_DATA, "", 0, KEY_READ, &k), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "nope\\deeper", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.openHandleCount(), 0u);
}

// Windows 9x holds names of at most 255 characters; a longer one is refused
// and leaves nothing behind, not even the part of the path that would fit.
TEST_F(RegistryTest, NamesLongerThanWindowsHoldsAreRefused) {
  const std::string longest(255, 'k'), tooLong(256, 'k');
  HKEY k = 0;
  EXPECT_EQ(reg.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Made\\" + tooLong, 0, "", 0, KEY_ALL_ACCESS, &k, nullptr),
            ERROR_BADKEY);
  EXPECT_EQ(k, 0u);
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Made", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);

  k = create(reg, HKEY_LOCAL_MACHINE, "Made\\" + longest);
  EXPECT_EQ(setSz(reg, k, longest.c_str(), "fits"), ERROR_SUCCESS);
  EXPECT_EQ(setSz(reg, k, tooLong.c_str(), "does not"), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(valueNames(reg, k), std::vector<std::string>{longest});
  reg.RegCloseKey(k);
}

class FakeDynData : public DynDataSource {
 public:
  bool keyExists(std::string_view path) override { return path == "PerfStats" || path == "PerfStats\\StatData"; }
  std::vector<std::string> subkeys(std::string_view path) override {
    if (path.empty()) return {"PerfStats"};
    if (path == "PerfStats") return {"StatData"};
    return {};
  }
  std::vector<DynValue> values(std::string_view path) override {
    if (path == "PerfStats\\StatData") return {DynValue{"KERNEL\\CPUUsage", REG_BINARY, {42, 0, 0, 0}}};
    return {};
  }
};

TEST_F(RegistryTest, DynDataIsLiveAndReadOnly) {
  HKEY k = 0;
  ASSERT_EQ(reg.RegOpenKeyEx(HKEY_DYN_DATA, "", 0, KEY_READ, &k), 0);
  EXPECT_TRUE(subkeyNames(reg, k).empty());  // no source: an empty root
  reg.RegCloseKey(k);
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_DYN_DATA, "PerfStats", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);

  reg.setDynData(std::make_shared<FakeDynData>());
  EXPECT_EQ(subkeyNames(reg, HKEY_DYN_DATA), std::vector<std::string>{"PerfStats"});
  ASSERT_EQ(reg.RegOpenKeyEx(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &k), 0);
  EXPECT_EQ(querySz(reg, k, "kernel\\cpuusage"), std::string("\x2A\0\0\0", 4));
  EXPECT_EQ(valueNames(reg, k), std::vector<std::string>{"KERNEL\\CPUUsage"});

  EXPECT_EQ(setSz(reg, k, "x", "1"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg.RegDeleteValue(k, "KERNEL\\CPUUsage"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg.RegDeleteKey(HKEY_DYN_DATA, "PerfStats"), ERROR_ACCESS_DENIED);
  reg.RegCloseKey(k);
  EXPECT_EQ(reg.RegCreateKeyEx(HKEY_DYN_DATA, "New", 0, "", 0, KEY_ALL_ACCESS, &k, nullptr), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, TransactionsApplyWhollyOrNotAtAll) {
  HKEY made = 0;
  EXPECT_FALSE(reg.transaction([&] {
    made = create(reg, HKEY_LOCAL_MACHINE, "T\\Inner");
    EXPECT_EQ(setSz(reg, made, "v", "1"), 0);
    EXPECT_EQ(querySz(reg, made, "v"), "1");  // seen inside
    return false;
  }));
  HKEY k = 0;
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "T", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  // The key's id may be handed out again; the handle must not follow it.
  const HKEY fresh = create(reg, HKEY_LOCAL_MACHINE, "Other\\Key");
  EXPECT_EQ(setSz(reg, made, "v", "1"), ERROR_KEY_DELETED);
  reg.RegCloseKey(made);
  reg.RegCloseKey(fresh);

  EXPECT_THROW(reg.transaction([&]() -> bool {
    setSz(reg, HKEY_LOCAL_MACHINE, "thrown", "1");
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(querySz(reg, HKEY_LOCAL_MACHINE, "thrown"), std::nullopt);

  // An inner transaction that fails takes back only its own writes.
  EXPECT_TRUE(reg.transaction([&] {
    setSz(reg, HKEY_LOCAL_MACHINE, "outer", "1");
    EXPECT_FALSE(reg.transaction([&] {
      setSz(reg, HKEY_LOCAL_MACHINE, "inner", "1");
      return false;
    }));
    return true;
  }));
  EXPECT_EQ(querySz(reg, HKEY_LOCAL_MACHINE, "outer"), "1");
  EXPECT_EQ(querySz(reg, HKEY_LOCAL_MACHINE, "inner"), std::nullopt);

  Registry other(reg.file());
  EXPECT_EQ(querySz(other, HKEY_LOCAL_MACHINE, "outer"), "1");
}

}  // namespace
}  // namespace tw::reg
