#include "host/settings/settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/registry/registry.h"
#include "tests/host/registry/reg_helpers.h"
#include "tests/support/errors.h"
#include "tests/support/temp_dir.h"

namespace tw {
namespace {

using reg::DWORD;
using reg::HKEY;

class SettingsStoreTest : public ::testing::Test {
 protected:
  // Every call of the store closes the keys it opened, on its error paths too.
  void TearDown() override { EXPECT_EQ(registry.openHandleCount(), 0u); }

  // The bytes of a REG_SZ value as the hive holds them (HKEY_CURRENT_USER is HKEY_USERS\.DEFAULT).
  std::string raw(std::string_view subKey, const char* name) {
    const auto value = reg::queryValue(registry, reg::HKEY_USERS, subKey, name);
    return value && value->first == reg::REG_SZ ? value->second : "<no REG_SZ>";
  }

  test::TempDir dir;
  reg::Registry registry{dir / "hive.db"};
  SettingsStore store{registry, CodePage(1252)};
};

constexpr std::string_view kStartup = ".DEFAULT\\Software\\VB and VBA Program Settings\\Tunewell\\Startup";

TEST_F(SettingsStoreTest, SavesAnsiStringsUnderTheUsersKeyAndReadsThemBack) {
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Run", "True"), "True");
  store.saveSetting("Tunewell", "Startup", "Path", "C:\\Program Files\\Tunewell");
  EXPECT_EQ(raw(kStartup, "Path"), std::string("C:\\Program Files\\Tunewell\0", 26));

  // Through the machine's code page both ways: what it lacks becomes '?'.
  store.saveSetting("Tunewell", "Startup", "Owner", "Ren\xC3\xA9\xE2\x9C\x93");
  EXPECT_EQ(raw(kStartup, "Owner"), std::string("Ren\xE9?\0", 6));
  EXPECT_EQ(store.getSetting("tunewell", "STARTUP", "owner"), "Ren\xC3\xA9?");

  // A string value ends at its first NUL; a second save replaces the text.
  store.saveSetting("Tunewell", "Startup", "Path", std::string("abc\0def", 7));
  EXPECT_EQ(raw(kStartup, "Path"), std::string("abc\0", 4));
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Path"), "abc");
}

TEST_F(SettingsStoreTest, DeletesOneKeyOneSectionOrTheApplicationAndRaises5ForWhatIsMissing) {
  store.saveSetting("Tunewell", "Startup", "Run", "False");
  store.saveSetting("Tunewell", "Startup", "Tray", "1");
  store.saveSetting("Tunewell", "Window", "Left", "120");
  store.saveSetting("Other", "Startup", "Run", "False");

  store.deleteSetting("Tunewell", "Startup", "Run");
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Run", "gone"), "gone");
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Tray"), "1");
  EXPECT_EQ(test::errorOf([&] { store.deleteSetting("Tunewell", "Startup", "Run"); }), 5);

  store.deleteSetting("Tunewell", "Startup");
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Tray", "gone"), "gone");
  EXPECT_EQ(store.getSetting("Tunewell", "Window", "Left"), "120");
  EXPECT_EQ(test::errorOf([&] { store.deleteSetting("Tunewell", "Startup"); }), 5);

  store.deleteSetting("Tunewell");
  EXPECT_EQ(store.getSetting("Tunewell", "Window", "Left", "gone"), "gone");
  EXPECT_EQ(test::errorOf([&] { store.deleteSetting("Tunewell"); }), 5);
  EXPECT_EQ(store.getSetting("Other", "Startup", "Run"), "False");
}

TEST_F(SettingsStoreTest, NamesTheStoreCannotHoldRaise5AndWriteNothing) {
  const std::vector<std::function<void()>> calls = {
      [&] { store.saveSetting("", "Startup", "Run", "1"); },
      [&] { store.saveSetting("Tunewell", "", "Run", "1"); },
      [&] { store.saveSetting("Tunewell", "Startup", "", "1"); },
      [&] { store.saveSetting("Tunewell", "Start\\up", "Run", "1"); },
      [&] { store.saveSetting("Tunewell", std::string("Sta\0rtup", 8), "Run", "1"); },
      [&] { store.getSetting("Tunewell", "", "Run"); },
      [&] { store.deleteSetting(""); },
      [&] { store.deleteSetting("Tunewell", std::nullopt, "Run"); },
  };
  for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(test::errorOf(calls[i]), 5) << "call " << i;
  EXPECT_TRUE(store.getAllSettings("Tunewell", "Startup").empty());

  // A backslash is an ordinary character in a key (value) name.
  store.saveSetting("Tunewell", "Startup", "KERNEL\\CPUUsage", "1");
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "KERNEL\\CPUUsage"), "1");
}

TEST_F(SettingsStoreTest, GetAllSettingsListsTheTextValuesInCreationOrder) {
  const std::string longText(5000, 'x');
  store.saveSetting("Tunewell", "Startup", "Speed", "500");
  store.saveSetting("Tunewell", "Startup", "Long", longText);

  // A value some other program wrote as a number is not one of the settings.
  HKEY key = 0;
  registry.RegOpenKeyEx(reg::HKEY_USERS, kStartup, 0, reg::KEY_ALL_ACCESS, &key);
  const uint8_t one[4] = {1, 0, 0, 0};
  registry.RegSetValueEx(key, "Number", 0, reg::REG_DWORD, one, 4);
  registry.RegCloseKey(key);
  store.saveSetting("Tunewell", "Startup", "IconType", "Physical Memory");

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Speed", "500"}, {"Long", longText}, {"IconType", "Physical Memory"}};
  EXPECT_EQ(store.getAllSettings("Tunewell", "Startup"), expected);
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Long"), longText);
  EXPECT_EQ(store.getSetting("Tunewell", "Startup", "Number", "none"), "none");
}

}  // namespace
}  // namespace tw
