// What "Ok" compares and what an apply writes by the catalogue's rules.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

namespace cat = app::catalogue;

struct Applying : ::testing::Test {
  test::TunerMachine t;
  test::WatchedForm1* f = nullptr;

  Applying() { t.runProcedures = true; }
  void SetUp() override { f = &t.start(); }
  size_t prompts() {
    size_t n = 0;
    for (const auto& box : t.m.dialogs->shown()) n += box.title == "System Settings Change";
    return n;
  }
  std::string ini(const char* file, const char* section, const char* key) {
    return std::string(beforeNul(t.plinth.INIRead(section, key, "(absent)", file)));
  }
  Variant value(const std::string& key, const char* name, bool translate = true) {
    return t.plinth.GetValue(HKEY_LOCAL_MACHINE, key, name, Variant("(absent)"), translate);
  }
};

TEST_F(Applying, AnyComparedItemThatDiffersAppliesAndNothingElseDoes) {
  for (const auto& s : cat::settings()) {
    const app::PendingRecord saved = f->PendingSettings;
    const auto v = cat::value(f->PendingSettings, s);
    if (const auto* n = std::get_if<int32_t>(&v))
      cat::assignNumber(f->PendingSettings, s, *n + 1);
    else
      cat::assignText(f->PendingSettings, s, std::get<std::string>(v) + " ");
    const size_t before = prompts();
    f->ApplyIfChanged();
    EXPECT_EQ(prompts() - before, s.item == 3 || s.item == 23 ? 0u : 1u) << s.field;
    f->PendingSettings = saved;
  }
  const size_t before = prompts();
  f->ApplyIfChanged();
  EXPECT_EQ(prompts(), before);

  // Without a snapshot it can trust, it applies; the damaged file is kept.
  test::writeFile(t.programFolder() / "Settings.tmp", "0\r\n0\r\n");
  f->ApplyIfChanged();
  EXPECT_EQ(prompts(), before + 1);
  EXPECT_EQ(test::readFile(t.programFolder() / "Settings.tmp"), "0\r\n0\r\n");
  std::filesystem::remove(t.programFolder() / "Settings.tmp");
  f->ApplyIfChanged();
  EXPECT_EQ(prompts(), before + 2);
}

TEST_F(Applying, SettingsThatAreOnAreWrittenAndOffAreRemoved) {
  t.plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kFileSystemKey, "NameCache", Variant(777), REG_BINARY);
  t.plinth.WriteValue(HKEY_LOCAL_MACHINE, std::string(cat::kAlwaysUnloadDllKey) + "\\Below", "", Variant("x"), reg_sz);
  t.plinth.INIWrite("Ports", "COM3:", "2400,e,7,1", "Win.ini");
  f = &t.start();
  f->Check1->setValue(1);
  f->Check11->setValue(1);
  f->Check10(0).setValue(1);
  f->Slider4->setValue(0);
  f->Slider5->setValue(48);
  f->PendingSettings.MaxCachedIcons = 2048;
  f->Check12->setValue(1);
  f->ApplySets();

  EXPECT_EQ(value(cat::kBiosKey, "CPUPriority"), Variant(1));
  EXPECT_EQ(value(cat::kPriorityControlKey, "Win32PrioritySeparation"), Variant(2));
  EXPECT_EQ(ini("System.ini", "386Enh", "PageBuffers"), "32");
  EXPECT_EQ(ini("Win.ini", "Ports", "COM1:"), "115200,n,8,1,p");
  EXPECT_EQ(ini("Win.ini", "Ports", "COM3:"), "2400,e,7,1") << "a port the box does not stand for is kept";
  EXPECT_EQ(value(cat::kExplorerKey, "Max Cached Icons", false), Variant("2048"));
  EXPECT_EQ(value(cat::kFileSystemKey, "PathCache"), Variant(48));
  EXPECT_EQ(value(cat::kOwnTemplateKey, "PathCache"), Variant(48));
  EXPECT_EQ(value(cat::kFileSystemKey, "NameCache"), Variant(777)) << "a name cache of 0 leaves it alone";
  EXPECT_EQ(value(std::string(cat::kAlwaysUnloadDllKey) + "\\Below", "", false), Variant("(absent)"));
  EXPECT_EQ(value(cat::kDefragmenterKey, "UseProfile"), Variant(1));
  EXPECT_EQ(value(cat::kDefragmenterKey, "MaxApps"), Variant(int32_t{f->PendingSettings.MaxApps}));
  EXPECT_EQ(value(cat::kRunKey, "TaskMonitor", false), Variant("C:\\WINDOWS\\Taskmon.exe"));

  std::filesystem::remove(t.m.windows() / "TASKMON.EXE");
  f->ApplySets();
  EXPECT_EQ(value(cat::kRunKey, "TaskMonitor", false), Variant(""));
  f->Check12->setValue(0);
  f->Check6->setValue(1);
  f->ApplySets();
  EXPECT_EQ(value(cat::kRunKey, "TaskMonitor", false), Variant("(absent)"));
  EXPECT_EQ(value(cat::kDefragmenterKey, "MinLogSize"), Variant("(absent)"));
  EXPECT_EQ(value(cat::kAlwaysUnloadDllKey, "", false), Variant("1"));
  EXPECT_FALSE(f->Timer1->enabled());
}

TEST_F(Applying, ThePresetNameIsSavedByTheApplyAndThenByTheClose) {
  f->show();
  ASSERT_TRUE(f->TabStrip1->userSelect(2));
  ASSERT_TRUE(f->Combo1->userSelect(f->Combo1->findExact("CD Writer")));
  f->Combo1->setText("");  // as a drag leaves it
  ASSERT_TRUE(f->Command1->userClick());
  EXPECT_EQ(prompts(), 1u);
  EXPECT_EQ(t.pref("Presets"), "CD Writer");
}

}  // namespace
}  // namespace tw
