// Processor identification through an injected CPUID source: the vendor
// tables, which leaf each vendor's signature comes from, and failures.

#include <gtest/gtest.h>

#include <map>

#include "host/runtime/errors.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"

namespace tw {
namespace {

constexpr uint32_t kExtendedCount = 0x80000000u;
constexpr uint32_t kExtendedSignature = 0x80000001u;

struct FakeProcessor : sys::ProcessorLibrary {
  std::map<uint32_t, sys::CpuidRegs> leaves;
  bool leafOneFails = false;

  sys::CpuidRegs ReadCPUID(uint32_t leaf) override {
    if (leaf == 1 && leafOneFails) raise(ErrNo::InvalidProcedureCall);
    const auto it = leaves.find(leaf);
    return it == leaves.end() ? sys::CpuidRegs{} : it->second;
  }
  uint32_t GetCPUSpeed() override { return 448; }

  // Leaf 0: the highest standard leaf and the vendor string in EBX, EDX, ECX.
  void vendor(const char* name, uint32_t highestLeaf = 1) {
    auto word = [&](int at) {
      uint32_t w = 0;
      for (int i = 3; i >= 0; --i) w = (w << 8) | static_cast<uint8_t>(name[at + i]);
      return w;
    };
    leaves[0] = {highestLeaf, word(0), word(8), word(4)};
  }
  void signature(uint32_t leaf, uint32_t family, uint32_t model, uint32_t brand = 0) {
    // Stepping and the extended fields are set to show that only the
    // family and model fields are read.
    leaves[leaf] = {0x0FF0300Fu | (family << 8) | (model << 4), 0xABCD0000u | brand, 0, 0};
  }
};

class Cpu : public ::testing::Test {
 protected:
  test::TestMachine m;
  std::shared_ptr<sys::Platform> platform = std::make_shared<sys::Platform>();
  std::shared_ptr<FakeProcessor> cpu = std::make_shared<FakeProcessor>();
  std::unique_ptr<Plinth> p;

  void SetUp() override {
    platform->setProcessor(cpu);
    m.host->setPlatform(platform);
    p = std::make_unique<Plinth>(*m.host);
  }
};

struct Row {
  const char* vendor;
  uint32_t family, model, brand;
  const char* name;  // null: the previous name stays
};

// For each vendor a name and a signature without one (the previous name
// stays), and Intel's brand-dependent names.  The table contents themselves
// are data; these rows are about how each vendor's routine reads them.  The
// signature is put in the leaf the vendor reads and a blank one in the other,
// so reading the wrong leaf shows as a wrong name.
const Row kRows[] = {
    {"GenuineIntel", 6, 8, 1, "Celeron"}, {"GenuineIntel", 6, 8, 0, nullptr},
    {"GenuineIntel", 15, 11, 8, "Pentium 4"}, {"GenuineIntel", 15, 2, 8, "newer Pentium 4"},
    {"AuthenticAMD", 6, 2, 0, "AMD Athlon\xE2\x84\xA2 Processor"}, {"AuthenticAMD", 5, 4, 0, nullptr},
    {"CyrixInstead", 3, 0, 0, "Unknown Cyrix"}, {"CyrixInstead", 5, 3, 0, nullptr},
    {"CentaurHauls", 5, 4, 0, "IDT WinChip C6"}, {"CentaurHauls", 5, 5, 0, nullptr},
    {"RiseRiseRise", 5, 2, 0, "Rise mP6"}, {"RiseRiseRise", 5, 1, 0, nullptr},
    {"GenuineTMx86", 5, 4, 0, "Crusoe TM5xxx"},
};

TEST_F(Cpu, EveryTableGivesItsNames) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::string(row.vendor) + " " + std::to_string(row.family) + "/" + std::to_string(row.model) +
                 " brand " + std::to_string(row.brand));
    Plinth fresh(*m.host);
    cpu->leaves.clear();
    cpu->vendor("SomeoneElse!");
    ASSERT_EQ(fresh.ProcessorType(), "Unknown Vendor");

    cpu->vendor(row.vendor);
    const bool intel = std::string(row.vendor) == "GenuineIntel";
    cpu->leaves[kExtendedCount] = {kExtendedSignature, 0, 0, 0};
    cpu->signature(intel ? 1 : kExtendedSignature, row.family, row.model, row.brand);
    cpu->signature(intel ? kExtendedSignature : 1, 0, 0);
    EXPECT_EQ(fresh.ProcessorType(), row.name ? row.name : "Unknown Vendor");
  }
  EXPECT_TRUE(m.boxTexts().empty());
}

TEST_F(Cpu, OtherVendorsReadLeafOneWhenThereAreNoExtendedLeaves) {
  cpu->vendor("AuthenticAMD");
  cpu->signature(1, 6, 3);
  cpu->signature(kExtendedSignature, 6, 4);  // present but not announced
  EXPECT_EQ(p->ProcessorType(), "AMD Duron\xE2\x84\xA2 Processor");

  cpu->leaves[kExtendedCount] = {kExtendedSignature, 0, 0, 0};
  EXPECT_EQ(p->ProcessorType(), "AMD Athlon\xE2\x84\xA2 Processor");
}

TEST_F(Cpu, WithoutLeafOneOrWithAFailingVendorRoutineTheNameStays) {
  cpu->vendor("GenuineIntel", 0);
  cpu->signature(1, 5, 4);
  EXPECT_EQ(p->ProcessorType(), "");
  EXPECT_TRUE(m.boxTexts().empty());

  cpu->vendor("GenuineIntel");
  cpu->signature(1, 5, 4);
  EXPECT_EQ(p->ProcessorType(), "Pentium MMX");
  cpu->leafOneFails = true;
  EXPECT_EQ(p->ProcessorType(), "Pentium MMX");
  EXPECT_EQ(m.boxTexts(), std::vector<std::string>{"5 Invalid procedure call or argument in Plinth.GetIntelCPU"});
}

TEST_F(Cpu, WithoutTheProcessorLibraryBothMethodsReportItAndReturnNothing) {
  platform->setProcessor(nullptr);
  EXPECT_EQ(p->ProcessorType(), "");
  EXPECT_EQ(p->GetCPUspeedX(), "");
  EXPECT_EQ(m.boxTexts(), (std::vector<std::string>{"53 File not found: TwSys32.dll in Plinth.ProcessorType",
                                                  "53 File not found: TwSys32.dll in Plinth.GetCPUSpeed"}));
}

}  // namespace
}  // namespace tw
