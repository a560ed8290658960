// The registry search: which match wins, what survives a failed search, and
// how the walk goes on past a key that cannot be opened.

#include <gtest/gtest.h>

#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

class RegistrySearch : public ::testing::Test {
 protected:
  test::TestMachine m;
  void put(const char* key, const char* name, const char* value) {
    Plinth p(*m.host);
    ASSERT_TRUE(p.WriteValue(HKEY_LOCAL_MACHINE, key, name, Variant(value), reg_sz));
  }
};

TEST_F(RegistrySearch, TheLastMatchInWalkOrderWins) {
  // A key's own values come before its subkeys; subkeys go in creation order.
  put("Enum\\Root", "BIOSVersion", "root");
  put("Enum\\Root\\B", "BIOSVersion", "b");
  put("Enum\\Root\\A", "BIOSVersion", "a");
  put("Enum\\Root\\A\\Inner", "Other", "x");
  Plinth p(*m.host);
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "BIOSVersion"), "a");
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum\\Root\\B", "BIOSVersion"), "b");
  EXPECT_EQ(m.host->registry().openHandleCount(), 0u);
}

TEST_F(RegistrySearch, NamesMatchExactlyAndAFailedSearchKeepsThePreviousResult) {
  put("Enum\\Root\\A", "BIOSVersion", "found");
  Plinth fresh(*m.host);
  EXPECT_EQ(fresh.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "biosversion"), "");
  EXPECT_EQ(fresh.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "BIOSVersion"), "found");
  EXPECT_EQ(fresh.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "NoSuchValue"), "found");
}

TEST_F(RegistrySearch, NumericMatchesComeBackAsTheirHexDump) {
  Plinth p(*m.host);
  p.WriteValue(HKEY_LOCAL_MACHINE, "Enum\\X", "Flags", Variant("258"), REG_DWORD);
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "Enum", "Flags"), "02 01 00 00 ");
}

TEST_F(RegistrySearch, AKeyThatVanishesDuringTheWalkIsReportedOnceAndSkipped) {
  put("Enum\\One", "Mark", "1");
  put("Enum\\Two", "Mark", "2");
  put("Enum\\Three", "Mark", "3");
  Plinth p(*m.host);
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
  EXPECT_EQ(m.host->registry().openHandleCount(), 0u);
}

TEST_F(RegistrySearch, AMissingStartKeyIsReportedAndFindsNothing) {
  Plinth p(*m.host);
  EXPECT_EQ(p.FindRegKeyString(HKEY_LOCAL_MACHINE, "No\\Such", "x"), "");
  ASSERT_EQ(m.dialogs->shown().size(), 1u);
  EXPECT_EQ(m.dialogs->shown()[0].text, "Unable to open a subkey");
}

}  // namespace
}  // namespace tw
