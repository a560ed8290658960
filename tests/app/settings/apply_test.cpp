// What "Ok" compares and what an apply writes by the catalogue's rules; then
// the ways out of the window: what the close box, the tray choices and the
// Restore command store, start and delete, and the first-run snapshot.

#include <gtest/gtest.h>

#include "app/settings/snapshot.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

namespace cat = app::catalogue;

struct Applying : test::RunningTuner {
  void SetUp() override { start(2); }
  size_t prompts() {
    size_t n = 0;
    for (const auto& box : t.m.dialogs->shown()) n += box.title == "System Settings Change";
    return n;
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
  t.setHklm(cat::kFileSystemKey, "NameCache", Variant(777), REG_BINARY);
  t.setHklm(std::string(cat::kAlwaysUnloadDllKey) + "\\Below", "", Variant("x"), reg_sz);
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

  EXPECT_EQ(t.hklm(cat::kBiosKey, "CPUPriority", true), Variant(1));
  EXPECT_EQ(t.hklm(cat::kPriorityControlKey, "Win32PrioritySeparation", true), Variant(2));
  EXPECT_EQ(t.ini("System.ini", "386Enh", "PageBuffers"), "32");
  EXPECT_EQ(t.ini("Win.ini", "Ports", "COM1:"), "115200,n,8,1,p");
  EXPECT_EQ(t.ini("Win.ini", "Ports", "COM3:"), "2400,e,7,1") << "a port the box does not stand for is kept";
  EXPECT_EQ(t.hklm(cat::kExplorerKey, "Max Cached Icons"), Variant("2048"));
  EXPECT_EQ(t.hklm(cat::kFileSystemKey, "PathCache", true), Variant(48));
  EXPECT_EQ(t.hklm(cat::kOwnTemplateKey, "PathCache", true), Variant(48));
  EXPECT_EQ(t.hklm(cat::kFileSystemKey, "NameCache", true), Variant(777)) << "a name cache of 0 leaves it alone";
  EXPECT_EQ(t.hklm(std::string(cat::kAlwaysUnloadDllKey) + "\\Below", ""), Variant("(absent)"));
  EXPECT_EQ(t.hklm(cat::kDefragmenterKey, "UseProfile", true), Variant(1));
  EXPECT_EQ(t.hklm(cat::kDefragmenterKey, "MaxApps", true), Variant(int32_t{f->PendingSettings.MaxApps}));
  EXPECT_EQ(t.hklm(cat::kRunKey, "TaskMonitor"), Variant("C:\\WINDOWS\\Taskmon.exe"));

  std::filesystem::remove(t.m.windows() / "TASKMON.EXE");
  f->ApplySets();
  EXPECT_EQ(t.hklm(cat::kRunKey, "TaskMonitor"), Variant(""));
  f->Check12->setValue(0);
  f->Check6->setValue(1);
  f->ApplySets();
  EXPECT_EQ(t.hklm(cat::kRunKey, "TaskMonitor"), Variant("(absent)"));
  EXPECT_EQ(t.hklm(cat::kDefragmenterKey, "MinLogSize", true), Variant("(absent)"));
  EXPECT_EQ(t.hklm(cat::kAlwaysUnloadDllKey, ""), Variant("1"));
  EXPECT_FALSE(f->Timer1->enabled());
}

TEST_F(Applying, TheTaskMonitorIsLookedForInTheWindowsFolderThenInSystem) {
  const auto system = t.m.windows() / "SYSTEM";
  std::filesystem::create_directories(system);
  test::writeFile(system / "TASKMON.EXE", "");
  EXPECT_EQ(f->FindTaskmon(), "C:\\WINDOWS\\Taskmon.exe");
  std::filesystem::remove(t.m.windows() / "TASKMON.EXE");
  EXPECT_EQ(f->FindTaskmon(), "C:\\WINDOWS\\SYSTEM\\Taskmon.exe");
  std::filesystem::remove(system / "TASKMON.EXE");
  EXPECT_EQ(f->FindTaskmon(), "");
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

TEST_F(Applying, ThePresetNameIsSavedByTheApplyAndThenByTheClose) {
  ASSERT_TRUE(f->Combo1->userSelect(f->Combo1->findExact("CD Writer")));
  f->Combo1->setText("");  // as a drag leaves it
  ASSERT_TRUE(f->Command1->userClick());
  EXPECT_EQ(prompts(), 1u);
  EXPECT_EQ(t.pref("Presets"), "CD Writer");
}

// ---- The ways out of the window --------------------------------------------

struct Leaving : test::RunningTuner {
  Leaving() { t.platform->setLauncher(launcher); }
  void SetUp() override { start(); }
  void start() {
    RunningTuner::start(5);
    t.m.dialogs->clear();
  }
  Variant trayEntry() { return t.hklm(cat::kRunKey, "CacheTrayUtil"); }
  void setTrayEntry() { t.setHklm(cat::kRunKey, "CacheTrayUtil", Variant("old"), reg_sz); }
  bool snapshotLeft() { return std::filesystem::exists(t.programFolder() / "Settings.tmp"); }
  std::string program(const char* name) { return (t.programFolder() / name).string(); }

  std::shared_ptr<test::RecordingLauncher> launcher = std::make_shared<test::RecordingLauncher>();
};

TEST_F(Leaving, TheCloseBoxAppliesNothingButStoresThePreferences) {
  const std::string before = test::readFile(t.m.windows() / "SYSTEM.INI");
  f->Slider1->setValue(4096);
  ASSERT_TRUE(f->Option2(3).userClick());
  ASSERT_TRUE(f->userClose());
  EXPECT_TRUE(t.m.dialogs->shown().empty());
  EXPECT_EQ(test::readFile(t.m.windows() / "SYSTEM.INI"), before);
  EXPECT_EQ(t.pref("Run"), "False");
  EXPECT_EQ(t.pref("Speed"), "2000");
  EXPECT_EQ(t.pref("View"), "0");
  EXPECT_FALSE(snapshotLeft());
}

TEST_F(Leaving, TheTrayUtilityIsEnteredStartedOrMissedAsChosen) {
  test::writeFile(t.programFolder() / "Plinth.exe", "");
  setTrayEntry();
  start();
  ASSERT_TRUE(f->Check8->userClick());
  ASSERT_TRUE(f->Check9->userClick());
  ASSERT_TRUE(f->cEx->userClick());
  EXPECT_EQ(trayEntry(), Variant("C:\\Program Files\\Tunewell\\Plinth.exe /Tray"));
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first, (std::vector<std::string>{program("Plinth.exe"), "/Tray"}));
  EXPECT_EQ(launcher->starts[0].second, shell::WindowState::MinimizedFocus);

  // "Load on startup" off removes the entry; the utility gone while the
  // window was open gets its message, and the exit still finishes.
  start();
  ASSERT_TRUE(f->Check9->userClick());
  std::filesystem::remove(t.programFolder() / "Plinth.exe");
  ASSERT_TRUE(f->cEx->userClick());
  EXPECT_EQ(trayEntry(), Variant("(absent)"));
  EXPECT_EQ(launcher->starts.size(), 1u);
  const std::vector<ShownBox> missing = {
      {"Tunewell system file missing! Please reinstall Tunewall.", 16, "Tunewell Error!"}};
  EXPECT_EQ(t.m.dialogs->shown(), missing);
  EXPECT_FALSE(snapshotLeft());
}

TEST_F(Leaving, RestoreHandsOverToTheUninstallerAndStoresNothing) {
  test::writeFile(t.programFolder() / "Plinth.exe", "");
  test::writeFile(t.programFolder() / "Uninstaller.exe", "");
  for (const char* option : {"/Or", "/Un"}) {
    setTrayEntry();
    start();
    const std::string run = t.pref("Run");
    const std::string speed = t.pref("Speed");
    ASSERT_TRUE(f->Check8->userClick());
    ASSERT_TRUE(f->Option2(4).userClick());
    ASSERT_TRUE((option == std::string("/Or") ? f->Option4 : f->Option3)->userClick());
    launcher->starts.clear();
    ASSERT_TRUE(f->Command3(1).userClick());

    ASSERT_EQ(launcher->starts.size(), 1u) << "the Uninstaller only, not the tray utility";
    EXPECT_EQ(launcher->starts[0].first, (std::vector<std::string>{program("Uninstaller.exe"), option}));
    EXPECT_EQ(launcher->starts[0].second, shell::WindowState::NormalFocus);
    EXPECT_FALSE(f->loaded());
    EXPECT_TRUE(t.m.dialogs->shown().empty());
    EXPECT_EQ(t.pref("Speed"), speed);
    EXPECT_EQ(t.pref("Run"), run);
    EXPECT_EQ(trayEntry(), Variant("old"));
    EXPECT_FALSE(snapshotLeft());
  }
}

TEST_F(Leaving, TheFirstRunSnapshotRecordsTheMachineItemForItem) {
  t.plinth.DeleteValue(HKEY_LOCAL_MACHINE, cat::kTemplatesKey, "");
  t.setHklm(cat::kRunKey, "TaskMonitor", Variant("C:\\Task Mon\\tm.exe /run now"), reg_sz);
  t.plinth.INIWrite("Ports", "COM2:", "115200,n,8,1,p", "Win.ini");
  std::filesystem::remove(t.programFolder() / "Settings.1st");
  start();
  EXPECT_TRUE(f->Option3->enabled());
  const auto& cp = t.m.host->machine().codePage();
  const auto first = app::snapshot::read(t.programFolder() / "Settings.1st", cp);
  EXPECT_EQ(first, app::snapshot::read(t.programFolder() / "Settings.tmp", cp));
  EXPECT_EQ(first[3], "");
  EXPECT_EQ(first[20], "115200,n,8,1,p");
  EXPECT_EQ(first[29], "C:\\Task Mon\\tm.exe /run now");

  // An ordinary start records Settings.tmp again and keeps Settings.1st.
  f->unload();
  const std::string recorded = test::readFile(t.programFolder() / "Settings.1st");
  t.plinth.INIWrite("vcache", "MaxFileCache", "2048", "System.ini");
  start();
  EXPECT_EQ(test::readFile(t.programFolder() / "Settings.1st"), recorded);
  EXPECT_EQ(app::snapshot::read(t.programFolder() / "Settings.tmp", cp)[1], "2048");
}

}  // namespace
}  // namespace tw
