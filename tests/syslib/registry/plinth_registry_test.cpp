// The registry methods as their callers see them: result shapes, failure
// codes, that every key opened is closed again, and the registry search:
// which match wins, what survives a failed search, and how the walk goes on
// past a key that cannot be opened.

#include <gtest/gtest.h>

#include "syslib/plinth.h"
#include "tests/host/registry/reg_helpers.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

constexpr const char* kKey = "Software\\Test\\Values";

class PlinthRegistry : public ::testing::Test {
 protected:
  test::TestMachine m;
  Plinth p{*m.host};

  auto raw(const char* sub, const char* name) {
    return reg::queryValue(m.host->registry(), reg::HKEY_LOCAL_MACHINE, sub, name);
  }

  void put(const char* key, const char* name, const char* value) {
    ASSERT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, key, name, Variant(value), reg_sz));
  }

  void TearDown() override { EXPECT_EQ(m.host->registry().openHandleCount(), 0u) << "a key was left open"; }
};

TEST_F(PlinthRegistry, WriteValueStoresTheBytesOfEachType) {
  EXPECT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, kKey, "s", Variant("abc"), reg_sz));
  EXPECT_EQ(raw(kKey, "s"), std::make_pair(reg::REG_SZ, std::string("abc\0", 4)));

  EXPECT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, kKey, "d", Variant("1"), REG_DWORD));
  EXPECT_EQ(raw(kKey, "d"), std::make_pair(reg::REG_DWORD, std::string("\x01\0\0\0", 4)));

  EXPECT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, kKey, "b", Variant(int32_t{-2}), REG_BINARY));
  EXPECT_EQ(raw(kKey, "b"), std::make_pair(reg::REG_BINARY, std::string("\xFE\xFF\xFF\xFF", 4)));

  // Text outside ASCII reaches the registry in the machine's code page.
  EXPECT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, kKey, "e", Variant("Caf\xC3\xA9 \xE2\x84\xA2"), REG_EXPAND_SZ));
  EXPECT_EQ(raw(kKey, "e"), std::make_pair(reg::REG_EXPAND_SZ, std::string("Caf\xE9 \x99\0", 7)));
}

TEST_F(PlinthRegistry, WriteValueWithAnUnknownTypeCreatesTheKeyButWritesNothing) {
  EXPECT_FALSE(p.WriteValue(HKEY_LOCAL_MACHINE, "Software\\Test\\T0", "v", Variant("1"), REG_NONE));
  EXPECT_FALSE(p.WriteValue(HKEY_LOCAL_MACHINE, "Software\\Test\\T7", "v", Variant("1"), static_cast<lDataType>(7)));
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, "Software\\Test\\T7", "v", Variant(int16_t{9})), Variant(int16_t{9}));
  reg::HKEY h = 0;
  ASSERT_EQ(m.host->registry().RegOpenKey(reg::HKEY_LOCAL_MACHINE, "Software\\Test\\T7", &h), 0);
  m.host->registry().RegCloseKey(h);
  EXPECT_TRUE(m.dialogs->shown().empty());
}

TEST_F(PlinthRegistry, GetValueFallsBackToTheDefaultAsPassed) {
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, kKey, "none", Variant(int16_t{0})), Variant(int16_t{0}));
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, "No\\Such\\Key", "x", Variant("619")), Variant("619"));
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, kKey, "none", Variant::empty()), Variant(""));
  EXPECT_TRUE(p.GetValue(HKEY_LOCAL_MACHINE, kKey, "none").isMissing());
}

TEST_F(PlinthRegistry, GetValueShapesEachType) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    reg::DWORD type;
    std::string bytes;
    Variant shown;
  };
  const Case cases[] = {
      {"dword", reg::REG_DWORD, "\x01\0\0\0"s, Variant("01 00 00 00 ")},
      {"long", reg::REG_BINARY, "\x10\x27\0\0\xAA\xBB\xCC\xDD"s, Variant("10 27 00 00 AA BB CC DD ")},
      {"emptybin", reg::REG_BINARY, "", Variant("")},
      {"none", reg::REG_NONE, "", Variant("Not defined value_type=REG_NONE")},
      {"multi", reg::REG_MULTI_SZ, "a\0b\0\0"s, Variant("a\0b\0\0"s)},
      {"text", reg::REG_SZ, "text\0"s, Variant("text")},
      {"", reg::REG_SZ, "default value\0"s, Variant("default value")},
      {"emptysz", reg::REG_SZ, "\0"s, Variant("")},
      // Size 0 makes the text one character shorter than nothing: the
      // handler answers "" without a message.
      {"zerosz", reg::REG_SZ, "", Variant("")},
  };
  auto& r = m.host->registry();
  reg::HKEY h = 0;
  ASSERT_EQ(r.RegCreateKey(reg::HKEY_LOCAL_MACHINE, kKey, &h), 0);
  for (const Case& c : cases) {
    const auto* data = c.bytes.empty() ? nullptr : reinterpret_cast<const uint8_t*>(c.bytes.data());
    ASSERT_EQ(r.RegSetValueEx(h, c.name, 0, c.type, data, static_cast<reg::DWORD>(c.bytes.size())), 0);
  }
  r.RegCloseKey(h);
  for (const Case& c : cases)
    EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, kKey, c.name, Variant(int16_t{5})), c.shown) << "value " << c.name;
  // As a number, the first four bytes.
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, kKey, "dword", Variant(int16_t{0}), true), Variant(int32_t{1}));
  EXPECT_EQ(p.GetValue(HKEY_LOCAL_MACHINE, kKey, "long", Variant(int16_t{0}), true), Variant(int32_t{10000}));
  EXPECT_TRUE(m.dialogs->shown().empty());
}

// DeleteKey goes straight to the registry, whose subtree deletion has its
// own tests; here only what the methods answer.
TEST_F(PlinthRegistry, DeletingReportsWhetherThereWasSomethingAndNotFromTheLiveRoot) {
  EXPECT_FALSE(p.WriteValue(HKEY_DYN_DATA, "PerfStats", "x", Variant("1"), REG_DWORD));
  EXPECT_FALSE(p.DeleteKey(HKEY_DYN_DATA, "PerfStats"));
  put("Software\\Gone\\Deep", "v", "1");
  EXPECT_TRUE(p.DeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\gone"));
  EXPECT_FALSE(p.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Gone"));

  put(kKey, "v", "1");
  EXPECT_TRUE(p.DeleteValue(HKEY_LOCAL_MACHINE, kKey, "V"));
  EXPECT_FALSE(p.DeleteValue(HKEY_LOCAL_MACHINE, kKey, "v"));
  EXPECT_FALSE(p.DeleteValue(HKEY_LOCAL_MACHINE, "No\\Such\\Key", "v"));
}

TEST_F(PlinthRegistry, SearchTheLastMatchInWalkOrderWins) {
  // A key's own values come before its subkeys; subkeys go in creation order.
  put("Enum\\Root", "BIOSVersion", "root");
  put("Enum\\Root\\B", "BIOSVersion", "b");
  put("Enum\\Root\\A", "BIOSVersion", "a");
  put("Enum\\Root\\A\\Inner", "Other", "x");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "BIOSVersion"), "a");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum\\Root\\B", "BIOSVersion"), "b");
  // Numeric matches come back as their hex dump.
  p.WriteValue(HKEY_LOCAL_MACHINE, "Enum\\X", "Flags", Variant("258"), REG_DWORD);
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "Flags"), "02 01 00 00 ");
}

TEST_F(PlinthRegistry, SearchFromAMissingKeyIsReportedNamesMatchExactlyAndAFailedSearchKeepsThePreviousResult) {
  // A missing start key is reported and finds nothing.
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "No\\Such", "x"), "");
  ASSERT_EQ(m.dialogs->shown().size(), 1u);
  EXPECT_EQ(m.dialogs->shown()[0].text, "Unable to open a subkey");

  put("Enum\\Root\\A", "BIOSVersion", "found");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "biosversion"), "");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "BIOSVersion"), "found");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "NoSuchValue"), "found");
}

TEST_F(PlinthRegistry, SearchAKeyThatVanishesDuringTheWalkIsReportedOnceAndSkipped) {
  put("Enum\\One", "Mark", "1");
  put("Enum\\Two", "Mark", "2");
  put("Enum\\Three", "Mark", "3");
  bool deleted = false;
  // Another program deletes "Two" while the walk lets window messages run.
  m.host->setDoEvents([&] {
    if (!deleted) {
      deleted = true;
      Plinth other(*m.host);
      other.DeleteKey(HKEY_LOCAL_MACHINE, "Enum\\Two");
    }
  });
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "Mark"), "3");
  ASSERT_EQ(m.dialogs->shown().size(), 1u);
  EXPECT_EQ(m.dialogs->shown()[0].text, "Unable to open a subkey");
  EXPECT_EQ(m.dialogs->shown()[0].style, 0);
}

}  // namespace
}  // namespace tw
