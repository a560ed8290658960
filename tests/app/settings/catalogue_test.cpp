// Reading the catalogue's values as start-up reads them: each store's
// conversion, and values that do not fit leaving their field alone.

#include <gtest/gtest.h>

#include "app/settings/catalogue.h"
#include "host/runtime/errors.h"
#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

using namespace app::catalogue;

// A machine on which none of the settings exists, with the system library
// to set values up.
struct EmptyMachine {
  test::TestMachine m{true};
  Plinth plinth{*m.host};
  void setHklm(const std::string& key, const char* name, const Variant& value, lDataType type) {
    ASSERT_TRUE(plinth.WriteValue(HKEY_LOCAL_MACHINE, key, name, value, type)) << key << "\\" << name;
  }
};

struct SettingsCatalogue : ::testing::Test {
  EmptyMachine t;
  app::PendingRecord read() {
    app::PendingRecord r;
    readAll(t.plinth, r);
    return r;
  }
};

TEST(SettingsCatalogueTable, ItemsAreInSnapshotOrderAndNameTheirFields) {
  for (int i = 0; i < 30; ++i) EXPECT_EQ(findField(setting(i).field)->item, i);
  // Every item is read once at start-up.
  std::array<int, 30> seen{};
  for (int item : startupReadOrder()) ++seen[static_cast<size_t>(item)];
  for (int count : seen) EXPECT_EQ(count, 1);
}

TEST_F(SettingsCatalogue, EachStoreConvertsItsTextAsStartUpDoes) {
  t.plinth.INIWrite("vcache", "MinFileCache", "2048 KB", "System.ini");  // leading number
  t.plinth.INIWrite("386Enh", "DMABufferSize", "12.5", "System.ini");   // halves to even
  t.plinth.INIWrite("386Enh", "ConservativeSwapFileUsage", "yes", "System.ini");  // no number: 0
  t.plinth.INIWrite("Ports", "COM1:", "19200,e,7,2", "Win.ini");
  t.setHklm(kAlwaysUnloadDllKey, "", Variant("1 (on)"), reg_sz);
  t.setHklm(kExplorerKey, "Max Cached Icons", Variant("4096"), reg_sz);
  t.setHklm(kFileSystemKey, "NameCache", Variant(int32_t{677}), REG_BINARY);
  t.setHklm(kFileSystemKey, "ReadAheadThreshold", Variant(int32_t{-1}), REG_BINARY);
  t.setHklm(kRunKey, "TaskMonitor", Variant("C:\\WINDOWS\\TASKMON.EXE"), reg_sz);

  const app::PendingRecord r = read();
  EXPECT_EQ(r.MinFileCache, 2048);
  EXPECT_EQ(r.DMABufferSize, 12);
  EXPECT_EQ(r.ConservativeSwapFileUsage, 0);
  EXPECT_EQ(r.COM1, "19200,e,7,2");
  EXPECT_EQ(r.AlwaysUnloadDLL, 1);
  EXPECT_EQ(r.MaxCachedIcons, 4096);
  EXPECT_EQ(r.NameCache, 677);
  EXPECT_EQ(r.ReadAheadThreshold, -1);
  EXPECT_EQ(r.TaskMonitor, "C:\\WINDOWS\\TASKMON.EXE");
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

TEST_F(SettingsCatalogue, AValueThatDoesNotFitKeepsItsDefaultAndTheOthersAreStillRead) {
  t.plinth.INIWrite("386Enh", "PageBuffers", "40000", "System.ini");  // beyond 16 bits
  t.setHklm(kBiosKey, "FastDRAM", Variant("fast"), reg_sz);  // text where a number belongs
  t.setHklm(kExplorerKey, "Max Cached Icons", Variant("lots"), reg_sz);
  t.setHklm(kFileSystemKey, "ContigFileAllocSize", Variant("1024"), reg_sz);  // a number as text still reads
  t.setHklm(kBiosKey, "PCIConcur", Variant(int32_t{1}), REG_DWORD);

  const app::PendingRecord r = read();
  EXPECT_EQ(r.PageBuffers, 4);
  EXPECT_EQ(r.FastDRAM, 3);
  EXPECT_EQ(r.MaxCachedIcons, 0);
  EXPECT_EQ(r.ContigFileAllocSize, 1024);
  EXPECT_EQ(r.PCIConcur, 1);
}

TEST_F(SettingsCatalogue, NumbersAssignedToAFieldTakeItsWidth) {
  app::PendingRecord r;
  assignNumber(r, *findField("MinLogSize"), 8190.5);
  EXPECT_EQ(r.MinLogSize, 8190);
  EXPECT_THROW(assignNumber(r, *findField("MaxApps"), 32768), RuntimeError);
  EXPECT_EQ(r.MaxApps, 0);
  assignText(r, *findField("CDFSCacheSize"), "535");
  EXPECT_EQ(std::get<int32_t>(value(r, *findField("CDFSCacheSize"))), 535);
  EXPECT_THROW(assignText(r, *findField("Prefetch"), "many"), RuntimeError);
}

}  // namespace
}  // namespace tw
