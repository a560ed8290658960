// The Uninstaller's three commands on the template machine: what each
// restores or removes, what it asks, and what it refuses.

#include <gtest/gtest.h>

#include "app/settings/catalogue.h"
#include "tests/uninstaller/uninstaller_fixture.h"

namespace tw {
namespace {

namespace cat = app::catalogue;
using test::Uninstalling;

constexpr const char* kEntry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #1";

TEST_F(Uninstalling, CancelInTheFirstBoxChangesNothingAndAsksNothingMore) {
  tunerHasRun();
  writeSnapshot(app::PendingRecord{});
  const std::string before = state();
  for (const char* line : {"/Or", "/Un", "/U"}) {
    SCOPED_TRACE(line);
    run(line, {MsgBoxResult::Cancel});
    ASSERT_EQ(m.dialogs->shown().size(), 1u);
    EXPECT_EQ(m.dialogs->shown()[0].style, std::string(line) == "/U" ? 17 : 4113);
    EXPECT_EQ(state(), before);
  }
}

TEST_F(Uninstalling, WindowsDefaultsNeedATunerThatClosedNormally) {
  // Never closed: nothing is restored, and the restart prompt still comes.
  plinth.INIWrite("vcache", "MinFileCache", "4096", "System.ini");
  const std::string before = state();
  run("/Or");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Restore", "System Settings Change"}));
  EXPECT_EQ(state(), before);

  // What every catalogue setting reads afterwards is the end-to-end test's;
  // here, what lies outside the catalogue.
  tunerHasRun();
  setPref("Uninstall", "C:\\WINDOWS\\ST6UNST.EXE -n x");
  plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kRunKey, "CacheTrayUtil", Variant("x /Tray"), reg_sz);
  plinth.INIWrite("Ports", "COM2:", cat::kFastPort, "Win.ini");
  run("/Or");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Restore", "System Settings Change"}));
  EXPECT_EQ(ini("System.ini", "vcache", "MinFileCache"), "(absent)");
  for (const char* port : {"COM1:", "COM2:", "COM3:", "COM4:"}) EXPECT_EQ(ini("Win.ini", "Ports", port), cat::kSlowPort);
  EXPECT_EQ(hklm(cat::kRunKey, "CacheTrayUtil"), Variant("(absent)"));
  EXPECT_EQ(hklm(cat::kPriorityControlKey, "Win32PrioritySeparation"), Variant(int32_t{0}));
  // The tuner's settings are gone, but for the installer's command that a
  // later uninstall still needs.
  EXPECT_FALSE(settingsKeyExists());
  SettingsStore prefs(m.host->registry(), m.host->machine().codePage());
  EXPECT_EQ(prefs.getAllSettings("Tunewell", "Startup"),
            (std::vector<std::pair<std::string, std::string>>{{"Uninstall", "C:\\WINDOWS\\ST6UNST.EXE -n x"}}));
}

TEST_F(Uninstalling, TheRecordedValuesComeBackAsRecorded) {
  tunerHasRun();
  app::PendingRecord r;
  r.MinFileCache = 2048;
  r.Chunksize = 0;  // removed
  r.TemplateName = "Server";
  r.CPUPriority = 1;
  r.FastDRAM = 3;  // deleted
  r.AlwaysUnloadDLL = 1;
  r.ContigFileAllocSize = 1024;
  r.CDFSCacheSize = 1238;
  r.MinSPs = 8;
  r.COM2 = cat::kFastPort;
  r.Win32PrioritySeparation = 2;
  r.MaxCachedIcons = 2048;
  r.MaxApps = 500;
  r.TaskMonitor = "C:\\WINDOWS\\TASKMON.EXE /q \"C:\\Program Files\\x.log\"";
  writeSnapshot(r);
  plinth.INIWrite("vcache", "Chunksize", "512", "System.ini");
  plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kBiosKey, "FastDRAM", Variant(int32_t{1}), REG_DWORD);
  plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kFileSystemKey, "NameCache", Variant(int32_t{677}), REG_BINARY);

  run("/Un");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Restore", "System Settings Change"}));
  EXPECT_EQ(ini("System.ini", "vcache", "MinFileCache"), "2048");
  EXPECT_EQ(ini("System.ini", "vcache", "Chunksize"), "(absent)");
  EXPECT_EQ(ini("System.ini", "386Enh", "MinSPs"), "8");
  EXPECT_EQ(ini("Win.ini", "Ports", "COM2:"), cat::kFastPort);
  EXPECT_EQ(hklm(cat::kTemplatesKey, ""), Variant("Server"));
  EXPECT_EQ(hklm(cat::kBiosKey, "CPUPriority"), Variant(int32_t{1}));
  EXPECT_EQ(hklm(cat::kBiosKey, "FastDRAM"), Variant("(absent)"));
  EXPECT_EQ(hklm(cat::kFileSystemKey, "NameCache"), Variant("(absent)"));
  EXPECT_EQ(hklm(cat::kAlwaysUnloadDllKey, ""), Variant("1"));
  EXPECT_EQ(hklm(cat::kExplorerKey, "Max Cached Icons"), Variant("2048"));
  EXPECT_EQ(hklm(cat::kDefragmenterKey, "MaxApps"), Variant(int32_t{500}));
  EXPECT_EQ(hklm(cat::kDefragmenterKey, "UseProfile"), Variant("(absent)"));
  EXPECT_EQ(hklm(cat::kRunKey, "TaskMonitor"), Variant(r.TaskMonitor));
  EXPECT_EQ(hklm(cat::kPriorityControlKey, "Win32PrioritySeparation"), Variant(int32_t{2}));
  EXPECT_FALSE(settingsKeyExists());

  // The text "0" deletes the task monitor's entry.
  tunerHasRun();
  r.TaskMonitor = "0";
  writeSnapshot(r);
  run("/Un");
  EXPECT_EQ(hklm(cat::kRunKey, "TaskMonitor"), Variant("(absent)"));
}

TEST_F(Uninstalling, WithoutASnapshotNothingIsRestoredButTheRestartIsOffered) {
  tunerHasRun();
  const std::string before = state();
  run("/Un");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Restore", "System Settings Change"}));
  EXPECT_EQ(state(), before);
}

TEST_F(Uninstalling, UninstallRemovesTheTracesAndRunsTheInstallersCommand) {
  tunerHasRun();
  setPref("Uninstall", "C:\\WINDOWS\\ST6UNST.EXE -n \"C:\\Program Files\\Tunewell\\ST6UNST.LOG\"");
  plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kRunKey, "CacheTrayUtil", Variant("x /Tray"), reg_sz);
  for (const char* file : {"Cache.ini", "Settings.1st", "Settings.tmp"}) test::writeFile(programFolder() / file, "x");
  std::filesystem::permissions(programFolder() / "Settings.1st", std::filesystem::perms::owner_read);
  int closes = 0;
  auto tray = windows.registerWindow("PlinthExe", [&](uint32_t msg, uint64_t, int64_t) { closes += msg == shell::WM_CLOSE; });

  run("/U");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Uninstall"}));
  EXPECT_EQ(closes, 1);
  for (const char* file : {"Cache.ini", "Settings.1st", "Settings.tmp"})
    EXPECT_FALSE(std::filesystem::exists(programFolder() / file)) << file;
  EXPECT_EQ(hklm(kEntry, "ApplicationName"), Variant("(absent)"));
  EXPECT_EQ(hklm(cat::kRunKey, "CacheTrayUtil"), Variant("(absent)"));
  EXPECT_FALSE(settingsKeyExists());
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first,
            (std::vector<std::string>{(m.windows() / "ST6UNST.EXE").string(), "-n",
                                      "C:\\Program Files\\Tunewell\\ST6UNST.LOG"}));
  EXPECT_EQ(launcher->starts[0].second, shell::WindowState::MinimizedFocus);
}

TEST_F(Uninstalling, WithoutASavedCommandTheLastBoxNamesTheFolderAndOnlyOurEntryGoes) {
  // Our entry under another number, and a stranger's at number 1.
  plinth.WriteValue(HKEY_LOCAL_MACHINE, kEntry, "ApplicationName", Variant("Other.exe"), reg_sz);
  const std::string ours = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #50";
  plinth.WriteValue(HKEY_LOCAL_MACHINE, ours, "ApplicationName", Variant("Tunewell.exe"), reg_sz);
  run("/U");
  EXPECT_EQ(m.dialogs->shown().back(),
            (ShownBox{"Uninstall complete. Folder C:\\Program Files\\Tunewell could not be removed.", 64,
                      "Uninstalll Complete"}));
  EXPECT_EQ(hklm(ours, "ApplicationName"), Variant("(absent)"));
  EXPECT_EQ(hklm(kEntry, "ApplicationName"), Variant("Other.exe"));
  EXPECT_TRUE(launcher->starts.empty());

  // None of the fifty is ours: no entry is deleted, the rest still runs.
  test::writeFile(programFolder() / "Cache.ini", "x");
  run("/U");
  EXPECT_EQ(hklm(kEntry, "ApplicationName"), Variant("Other.exe"));
  EXPECT_FALSE(std::filesystem::exists(programFolder() / "Cache.ini"));
  EXPECT_EQ(titles().back(), "Uninstalll Complete");
}

TEST_F(Uninstalling, ASecondUninstallerEndsBeforeItAsksOrChangesAnything) {
  tunerHasRun();
  const std::string before = state();
  for (const char* line : {"/Or", "/Un", "/U", "/x"}) {
    run(line, {}, true);
    EXPECT_TRUE(m.dialogs->shown().empty());
    EXPECT_EQ(state(), before);
  }
}

}  // namespace
}  // namespace tw
