// The C interface: slot order, strings and Variants across it,
// misuse reported as status codes, and object lifetime.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "syslib/interface/plinth_c.h"
#include "tests/support/machine_fixture.h"

extern "C" int plinth_c_ini_read_length(PlinthObject* object, size_t* length);

namespace tw {
namespace {

std::string take(PlinthString& s) {
  std::string out(s.data ? s.data : "", s.length);
  plinth_string_free(&s);
  return out;
}

class CInterface : public ::testing::Test {
 protected:
  test::TestMachine m;
  PlinthObject* o = nullptr;

  void SetUp() override {
    Host::setProcess(m.host.get());
    ASSERT_EQ(plinth_create(&o), PLINTH_S_OK);
  }
  void TearDown() override {
    plinth_release(o);
    Host::setProcess(nullptr);
  }
};

TEST(CInterfaceIdentity, SlotsFollowTheInterfaceOrder) {
  const char* const expected[26] = {
      "ExitWindowsMsgBox",       "WriteValue",          "DeleteKey",         "DeleteValue",  "GetValue",
      "INIRead",                 "INIWrite",            "INISectionWrite",   "INISectionRead",
      "AvailablePhysicalMemory", "TotalPhysicalMemory", "AvailablePageFile", "PageFileSize", "GetCPUUsage",
      "HardDrive",               "CacheSize",           "Resources",         "PhysicalMemory", "SystemMemory",
      "PageSize",                "OSVersion",           "ProcessorType",     "GetCPUspeedX", "GetPCname",
      "OpenSite",                "FindRegKeyString"};
  static_assert(sizeof(PlinthVtbl) == 26 * sizeof(void*));
  const auto* table = reinterpret_cast<const unsigned char*>(plinth_vtbl());
  for (int slot = 1; slot <= 26; ++slot) {
    ASSERT_STREQ(plinth_slot_name(slot), expected[slot - 1]) << "slot " << slot;
    // The table's entry in this slot is the exported entry point of that name.
    void* entry = nullptr;
    std::memcpy(&entry, table + static_cast<size_t>(slot - 1) * sizeof(void*), sizeof entry);
    const std::string symbol = std::string("plinth_") + expected[slot - 1];
    EXPECT_EQ(entry, dlsym(RTLD_DEFAULT, symbol.c_str())) << symbol;
  }
  EXPECT_EQ(plinth_slot_name(0), nullptr);
  EXPECT_EQ(plinth_slot_name(27), nullptr);
}

TEST_F(CInterface, StringsKeepTheirNulsBothWays) {
  size_t length = 0;
  ASSERT_TRUE(plinth_c_ini_read_length(o, &length));
  EXPECT_EQ(length, 260u);

  const char section[] = "a=1\0b=2\0";
  ASSERT_EQ(plinth_INISectionWrite(o, "S", PLINTH_NTS, section, sizeof section, "Test.ini", PLINTH_NTS), PLINTH_S_OK);
  PlinthString out{};
  ASSERT_EQ(plinth_INIRead(o, "S", PLINTH_NTS, "b", PLINTH_NTS, "", 0, "Test.ini", PLINTH_NTS, &out), PLINTH_S_OK);
  const std::string value = take(out);
  EXPECT_EQ(value.size(), 260u);
  EXPECT_EQ(value.substr(0, 2), std::string("2\0", 2));
}

TEST_F(CInterface, ANullStringIsNotAnEmptyOne) {
  ASSERT_EQ(plinth_INIWrite(o, "S", PLINTH_NTS, "K", PLINTH_NTS, "", 0, "Test.ini", PLINTH_NTS), PLINTH_S_OK);
  PlinthString out{};
  plinth_INIRead(o, "S", PLINTH_NTS, "K", PLINTH_NTS, "gone", PLINTH_NTS, "Test.ini", PLINTH_NTS, &out);
  EXPECT_EQ(take(out)[0], '\0');  // present and empty

  ASSERT_EQ(plinth_INIWrite(o, "S", PLINTH_NTS, "K", PLINTH_NTS, nullptr, 0, "Test.ini", PLINTH_NTS), PLINTH_S_OK);
  plinth_INIRead(o, "S", PLINTH_NTS, "K", PLINTH_NTS, "gone", PLINTH_NTS, "Test.ini", PLINTH_NTS, &out);
  EXPECT_EQ(take(out).substr(0, 5), std::string("gone\0", 5));  // removed
}

TEST_F(CInterface, VariantsCarryTheirTypes) {
  PlinthVariant text{};
  text.vt = PLINTH_VT_BSTR;
  char abc[] = "abc";
  text.str = {abc, 3};
  int16_t ok = 0;
  ASSERT_EQ(plinth_WriteValue(o, PLINTH_HKEY_LOCAL_MACHINE, "Software\\T", PLINTH_NTS, "v", PLINTH_NTS, &text,
                              PLINTH_reg_sz, nullptr, &ok),
            PLINTH_S_OK);
  EXPECT_EQ(ok, PLINTH_TRUE);

  PlinthVariant got{};
  plinth_GetValue(o, PLINTH_HKEY_LOCAL_MACHINE, "Software\\T", PLINTH_NTS, "v", PLINTH_NTS, nullptr, 0, &got);
  ASSERT_EQ(got.vt, PLINTH_VT_BSTR);
  EXPECT_EQ(std::string(got.str.data, got.str.length), "abc");
  plinth_variant_clear(&got);
  EXPECT_EQ(got.str.data, nullptr);

  // An omitted Default comes back as the missing-argument marker.
  plinth_GetValue(o, PLINTH_HKEY_LOCAL_MACHINE, "Software\\T", PLINTH_NTS, "none", PLINTH_NTS, nullptr, 0, &got);
  EXPECT_EQ(got.vt, PLINTH_VT_ERROR);
  EXPECT_EQ(got.u.scode, 448);

  PlinthVariant odd{};
  odd.vt = 64;
  EXPECT_EQ(plinth_GetValue(o, PLINTH_HKEY_LOCAL_MACHINE, "Software\\T", PLINTH_NTS, "v", PLINTH_NTS, &odd, 0, &got),
            PLINTH_DISP_E_TYPEMISMATCH);
}

TEST_F(CInterface, MisuseIsAStatusNeverACrash) {
  PlinthString out{};
  int32_t n = 0;
  int16_t percent = 0;
  EXPECT_EQ(plinth_OSVersion(nullptr, &out), PLINTH_E_POINTER);
  EXPECT_EQ(plinth_OSVersion(o, nullptr), PLINTH_E_POINTER);
  EXPECT_EQ(plinth_HardDrive(o, nullptr, &n), PLINTH_E_POINTER);
  EXPECT_EQ(plinth_WriteValue(o, PLINTH_HKEY_LOCAL_MACHINE, "S", PLINTH_NTS, "v", PLINTH_NTS, nullptr, PLINTH_reg_sz,
                              nullptr, &percent),
            PLINTH_E_POINTER);
  plinth_string_free(nullptr);
  EXPECT_TRUE(m.dialogs->shown().empty());

  EXPECT_EQ(plinth_can_unload_now(), PLINTH_S_FALSE);
  EXPECT_EQ(plinth_add_ref(o), 2u);
  EXPECT_EQ(plinth_release(o), 1u);
}

TEST(CInterfaceOwnMachine, AnObjectOnItsOwnMachineShowsBoxesThroughTheHandler) {
  test::TempDir dir;
  test::makeBareMachine(dir / "m");
  PlinthObject* o = nullptr;
  ASSERT_EQ(plinth_create_on_machine((dir / "m").c_str(), PLINTH_NTS, &o), PLINTH_S_OK);

  std::vector<std::string> seen;
  auto handler = [](void* context, const char* text, int32_t, const char*) -> int32_t {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
    return 7;
  };
  ASSERT_EQ(plinth_set_message_box_handler(o, handler, &seen), PLINTH_S_OK);
  int32_t answer = 0;
  ASSERT_EQ(plinth_ExitWindowsMsgBox(o, 2, 0, "", 0, &answer), PLINTH_S_OK);
  EXPECT_EQ(answer, 7);
  EXPECT_EQ(seen, std::vector<std::string>{"Do you want to restart your computer now?"});

  PlinthString name{};
  ASSERT_EQ(plinth_GetPCname(o, &name), PLINTH_S_OK);
  EXPECT_EQ(take(name), "TESTBOX");
  EXPECT_EQ(plinth_release(o), 0u);
  EXPECT_EQ(plinth_can_unload_now(), PLINTH_S_OK);
}

TEST(CInterfaceOwnMachine, AMachineThatCannotBeOpenedIsAFailureWithAReason) {
  test::TempDir dir;
  test::writeFile(dir / "not-a-folder", "x");
  PlinthObject* o = reinterpret_cast<PlinthObject*>(&dir);
  EXPECT_EQ(plinth_create_on_machine((dir / "not-a-folder").c_str(), PLINTH_NTS, &o), PLINTH_E_FAIL);
  EXPECT_EQ(o, nullptr);
  EXPECT_STRNE(plinth_last_error_message(), "");
  EXPECT_EQ(plinth_create_on_machine("", 0, &o), PLINTH_E_INVALIDARG);
}

}  // namespace
}  // namespace tw
