// Start-up on the template machine, on a machine without any of the
// settings, and on machines with unusual values: the pending values and the
// control states that result, the first-run bookkeeping, and the starts that
// must end at once.  Then the program as it starts: the splash window loads
// the main window, then shows its picture for three seconds or the main
// window at once; a second copy shows nothing.

#include <gtest/gtest.h>

#include "app/startup/program.h"
#include "host/shell/instance.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using test::TunerMachine;
using Kind = TunerMachine::Kind;

constexpr const char* kProgram = "C:\\Program Files\\Tunewell";
constexpr const char* kUninstallEntry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #1";
constexpr const char* kOriginalUninstall = "C:\\WINDOWS\\ST6UNST.EXE -n \"C:\\Program Files\\Tunewell\\ST6UNST.LOG\"";

std::string cacheSection(const char* name, int min, int max, int chunk, int names, int paths) {
  return std::string("[") + name + "]\r\nMinFileCache=" + std::to_string(min) + "\r\nMaxFileCache=" +
         std::to_string(max) + "\r\nChunksize=" + std::to_string(chunk) + "\r\nNameCache=" + std::to_string(names) +
         "\r\nPathCache=" + std::to_string(paths) + "\r\n";
}

Variant uninstallString(TunerMachine& t, const char* key = kUninstallEntry) { return t.hklm(key, "UninstallString"); }

TEST(TunerStartup, TemplateMachineReadsItsValuesAndFillsTheWindow) {
  TunerMachine t;
  auto& f = t.start();

  app::PendingRecord expected;
  expected.TemplateName = "Desktop";
  expected.TaskMonitor = "C:\\WINDOWS\\taskmon.exe";
  EXPECT_EQ(f.PendingSettings, expected);
  EXPECT_EQ(f.OsName, "Windows 98");
  EXPECT_EQ(f.WindowsFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(f.TotalMemoryKB, 65536);
  EXPECT_EQ(f.TotalMemoryMb, 64);

  // Cache sliders and their readouts.
  EXPECT_EQ((std::vector{f.Slider1->max(), f.Slider2->max(), f.Slider3->max()}), (std::vector{65536, 65536, 4096}));
  for (auto* readout : {f.text1, f.text2, f.text3, f.text4, f.text5}) EXPECT_EQ(readout->caption(), "Disabled");

  // Tweaks: nothing set, so every box is clear and the sliders show the defaults.
  for (auto* box : {f.Check1, f.Check2, f.Check3, f.Check4, f.Check5, f.Check6, f.Check11})
    EXPECT_EQ(box->value(), 0) << box->name();
  EXPECT_EQ(f.Slider8->value(), 512);
  EXPECT_EQ(f.Label16->caption(), "512 Kb");
  EXPECT_EQ(f.Label12->caption(), "Disabled");
  EXPECT_EQ(f.Label25->caption(), "Disabled");
  // Defragmenter: no profile, so the group is off but can be switched on.
  EXPECT_EQ(f.Check12->value(), 0);
  EXPECT_TRUE(f.Check12->enabled());

  // Options: the default icon and refresh.
  EXPECT_TRUE(f.Option1(3).value() && f.Option2(1).value());
  EXPECT_EQ(f.IconType, "Physical Memory");
  EXPECT_TRUE(f.Option4->value());
  EXPECT_FALSE(f.Option3->enabled()) << "no first-run snapshot exists yet";

  EXPECT_TRUE(f.Frame1->visible());
  for (auto* frame : {f.Frame4, f.Frame11, f.Frame12, f.Frame6, f.Frame10}) EXPECT_FALSE(frame->visible());

  // A first run: both sections of Cache.ini, the preferences, the
  // uninstall entry pointed at the Uninstaller and its old command kept.
  EXPECT_EQ(test::readFile(t.programFolder() / "Cache.ini"),
            cacheSection("Current Settings", 0, 0, 0, 0, 0) + cacheSection("Original Settings", 0, 0, 0, 0, 0));
  EXPECT_EQ(t.pref("Mem"), "65536");
  EXPECT_EQ(t.pref("Path"), kProgram);
  EXPECT_EQ(t.pref("Uninstall"), kOriginalUninstall);
  EXPECT_EQ(uninstallString(t), Variant(std::string(kProgram) + "\\Uninstaller.exe /U"));

  // The later parts are called in start-up's order.
  const std::vector<std::string> calls = {"GatherSystemInformation",
                                          "WritePresetTable 65536",
                                          std::string("SaveFirst ") + kProgram + "\\Settings.1st",
                                          "LoadConfigurations",
                                          "ShowPresetDescription",
                                          "LoadTools",
                                          std::string("SaveFirst ") + kProgram + "\\Settings.tmp",
                                          "UpdateGauges"};
  EXPECT_EQ(f.calls, calls);
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

TEST(TunerStartup, AMachineWithoutAnyOfTheValuesReadsTheirDefaults) {
  TunerMachine t(Kind::Empty);
  auto& f = t.start();

  // The defaults of every setting (pinned by the snapshot's exact bytes).
  EXPECT_EQ(f.PendingSettings, app::PendingRecord{});
  EXPECT_EQ(f.Check11->value(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.Check10(i).value(), 0);
  EXPECT_EQ(f.Combo4->text(), "4x");
  EXPECT_EQ(f.Slider10->value(), 1);
  // No uninstall entry names the program: nothing is redirected or saved.
  EXPECT_EQ(t.pref("Uninstall"), "(absent)");
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

struct TunerStartupValues : ::testing::Test {
  TunerMachine t;
  void defrag(int useProfile, int maxApps, int days, int minLog) {
    const char* key = app::catalogue::kDefragmenterKey;
    t.setHklm(key, "UseProfile", Variant(int32_t{useProfile}), REG_DWORD);
    if (maxApps) t.setHklm(key, "MaxApps", Variant(int32_t{maxApps}), REG_DWORD);
    if (days) t.setHklm(key, "MaxNoUseDays", Variant(int32_t{days}), REG_DWORD);
    if (minLog) t.setHklm(key, "MinLogSize", Variant(int32_t{minLog}), REG_DWORD);
  }
};

TEST(TunerStartupValue, SwapFileBuffersAndPortsCheckOnlyTheirExactValues) {
  // PageBuffers 16 leaves the box clear but keeps the value it does not stand for.
  for (const int32_t buffers : {16, 32}) {
    TunerMachine t;
    t.plinth.INIWrite("386Enh", "PageBuffers", std::to_string(buffers), "System.ini");
    t.plinth.INIWrite("Ports", "COM2:", "115200,n,8,1,p", "Win.ini");
    t.plinth.INIWrite("Ports", "COM3:", "115200,N,8,1,P", "Win.ini");
    auto& f = t.start();
    EXPECT_EQ(f.Check11->value(), buffers == 32);
    EXPECT_EQ(f.PendingSettings.PageBuffers, buffers);
    EXPECT_EQ((std::vector{f.Check10(0).value(), f.Check10(1).value(), f.Check10(2).value()}), (std::vector{0, 1, 0}));
    EXPECT_EQ(f.PendingSettings.COM2, "115200,n,8,1,p");
    EXPECT_EQ(f.PendingSettings.COM3, "115200,N,8,1,P");
  }
}

TEST_F(TunerStartupValues, DefragmenterListsSelectOnlyTheirOwnEntries) {
  // 8192 is not in its list (8190 is): it selects nothing and is kept.
  defrag(0, 50, 0, 8192);
  auto& f = t.start();
  EXPECT_EQ(f.Combo3(0).text(), "50 programs");
  EXPECT_EQ(f.Combo3(1).listIndex(), -1);
  EXPECT_EQ(f.Combo3(2).listIndex(), -1);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 8192);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.Combo3(i).enabled() || f.Label27(i).enabled()) << "greyed: no profile";
  EXPECT_EQ(f.Check12->value(), 0);
}

TEST_F(TunerStartupValues, AProfileSwitchesTheGroupOnAndFillsTheEmptyListsWithTheirDefaults) {
  defrag(1, 20, 0, 8192);
  auto& f = t.start();
  EXPECT_EQ(f.Check12->value(), 1);
  EXPECT_EQ(f.Combo3(0).text(), "20 programs");
  EXPECT_EQ(f.Combo3(1).text(), "90 days");
  EXPECT_EQ(f.Combo3(2).text(), "1024 bytes");
  EXPECT_EQ(f.PendingSettings.MaxApps, 20);
  EXPECT_EQ(f.PendingSettings.MaxNoUseDays, 90);
  EXPECT_EQ(f.PendingSettings.MinLogSize, 1024);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.Combo3(i).enabled());
}

TEST_F(TunerStartupValues, OnWindows95TheDefragmenterGroupIsOffWhateverIsStored) {
  t.setVersion(4, 0);
  defrag(1, 10, 7, 64);
  auto& f = t.start();
  EXPECT_EQ(f.OsName, "Windows 95");
  EXPECT_EQ(f.Check12->value(), 0);
  EXPECT_FALSE(f.Check12->enabled());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(f.Combo3(i).listIndex(), -1);
    EXPECT_FALSE(f.Combo3(i).enabled());
    EXPECT_FALSE(f.Label27(i).enabled());
  }
  EXPECT_EQ(f.PendingSettings.MaxApps, 10) << "nothing was selected, so the stored values stay";
}

TEST(TunerStartupValue, ReadAheadPositionsAndReadouts) {
  struct Case {
    int32_t stored;
    int32_t position;
    const char* readout;
  };
  // 1 is "Disabled"; 4194304 lies one past the slider's design maximum and
  // widens it; 5000 matches no position and leaves the slider alone.
  for (const Case c : {Case{1, 0, "Disabled"}, Case{65536, 5, "64 Kb"}, Case{4194304, 11, "4096 Kb"},
                       Case{5000, 0, "5 Kb"}}) {
    TunerMachine m;
    m.setHklm(app::catalogue::kFileSystemKey, "ReadAheadThreshold", Variant(c.stored), REG_BINARY);
    auto& f = m.start();
    EXPECT_EQ(f.Slider6->value(), c.position) << c.stored;
    EXPECT_EQ(f.Label10->caption(), c.readout) << c.stored;
    EXPECT_EQ(f.PendingSettings.ReadAheadThreshold, c.stored);
  }
}

TEST(TunerStartupValue, TrayIconAndRefreshChoices) {
  struct Case {
    const char* iconType;
    int option;  // -1: none selected
  };
  for (const Case c : {Case{"Page Size", 6}, Case{"Hard Drive", 5}, Case{"Hard Drive Use", 5}, Case{"Bogus", -1}}) {
    TunerMachine m;
    m.start();  // a first run wipes the preferences: set them for the second
    m.setPref("IconType", c.iconType);
    m.setPref("Speed", "2000");
    test::writeFile(m.programFolder() / "Settings.1st", "");
    auto& f = m.start();
    for (int i = 0; i < 7; ++i) EXPECT_EQ(f.Option1(i).value(), i == c.option) << c.iconType << " " << i;
    EXPECT_TRUE(f.Option2(3).value());
    EXPECT_EQ(f.Timer1->interval(), 2000);
    EXPECT_EQ(f.Speed, 2000);
  }
}

TEST_F(TunerStartupValues, CacheValuesOutsideTheSlidersAreShownAndRecordedAsFound) {
  // More disk cache than the 64 MB now fitted, and a chunk size of 512.
  t.plinth.INIWrite("vcache", "MinFileCache", "131072", "System.ini");
  t.plinth.INIWrite("vcache", "Chunksize", "512", "System.ini");
  auto& f = t.start();
  EXPECT_EQ(f.Slider1->value(), 131072);
  EXPECT_EQ(f.Slider1->max(), 131072);
  EXPECT_EQ(f.text1->caption(), "131072 Kb");
  EXPECT_EQ(f.text3->caption(), "512 Bytes");
  EXPECT_EQ(f.PendingSettings.MinFileCache, 131072);
  const std::string cache = test::readFile(t.programFolder() / "Cache.ini");
  EXPECT_EQ(cache.substr(0, cache.find("[Original")), cacheSection("Current Settings", 131072, 0, 512, 0, 0));
}

TEST_F(TunerStartupValues, StackPagesFollowTheirSlider) {
  t.plinth.INIWrite("386Enh", "MinSPs", "5", "System.ini");
  auto& f = t.start();
  // 5 / 2 = 2.5 rounds to the even 2, and the slider's change makes it 4.
  EXPECT_EQ(f.Slider10->value(), 2);
  EXPECT_EQ(f.Label24->caption(), "4 pages");
  EXPECT_EQ(f.PendingSettings.MinSPs, 4);
}

// ---- First run -------------------------------------------------------------

TEST(TunerFirstRun, WithoutTheSnapshotThePreferencesAreWipedAndTheStartIsAFirstRun) {
  TunerMachine t;
  t.setPref("Presets", "Mine");
  t.setPref("Run", "False");
  t.setPref("Tray", "1");
  auto& f = t.start();
  EXPECT_EQ(f.CurrentPreset, "");
  EXPECT_EQ(f.Tray, 0);
  EXPECT_EQ(t.pref("Presets"), "(absent)");
  EXPECT_EQ(t.pref("Run"), "(absent)");
  EXPECT_EQ(f.calls[2], std::string("SaveFirst ") + kProgram + "\\Settings.1st");
}

TEST(TunerFirstRun, AnOrdinaryStartKeepsThePreferencesAndTheRecordedValues) {
  TunerMachine t;
  t.start();
  test::writeFile(t.programFolder() / "Settings.1st", "recorded\r\n");
  test::writeFile(t.programFolder() / "Cache.ini", cacheSection("Mine", 1, 2, 3, 4, 5));
  t.setPref("Run", "False");
  t.setPref("Presets", "Mine");
  t.setHklm(kUninstallEntry, "UninstallString", Variant("elsewhere"), reg_sz);

  auto& f = t.start();
  EXPECT_EQ(f.CurrentPreset, "Mine");
  EXPECT_EQ(f.StartupPreset, "Mine");
  EXPECT_EQ(f.Combo1->text(), "Mine");
  EXPECT_TRUE(f.Option3->enabled());
  EXPECT_EQ(test::readFile(t.programFolder() / "Cache.ini"),
            cacheSection("Mine", 1, 2, 3, 4, 5) + cacheSection("Current Settings", 0, 0, 0, 0, 0));
  EXPECT_EQ(uninstallString(t), Variant("elsewhere")) << "only a first run redirects the entry";
  // Same memory as last time and Cache.ini there: no new presets.
  for (const auto& call : f.calls) EXPECT_EQ(call.find("WritePresetTable"), std::string::npos);
  EXPECT_EQ(f.calls.front(), "GatherSystemInformation");
}

TEST(TunerFirstRun, AnotherUserWithoutRunGetsAFirstRunAndNewPresetsAfterAMemoryChange) {
  TunerMachine t;
  test::writeFile(t.programFolder() / "Settings.1st", "recorded\r\n");
  test::writeFile(t.programFolder() / "Cache.ini", "");
  t.setPref("Mem", "32768");
  auto& f = t.start();
  EXPECT_EQ(f.calls[1], "WritePresetTable 65536");
  EXPECT_EQ(f.calls[2], std::string("SaveFirst ") + kProgram + "\\Settings.1st");
  EXPECT_NE(test::readFile(t.programFolder() / "Cache.ini").find("[Original Settings]"), std::string::npos);
}

TEST(TunerFirstRun, ARepeatedFirstRunNeverSavesTheUninstallersOwnCommand) {
  TunerMachine t;
  // The program's entry is the third; the first two belong to others.
  const char* ours = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #3";
  ASSERT_TRUE(t.plinth.DeleteKey(HKEY_LOCAL_MACHINE, kUninstallEntry));
  t.setHklm("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ST6UNST #2", "ApplicationName",
            Variant("TUNEWELL.EXE"), reg_sz);
  t.setHklm(ours, "ApplicationName", Variant("Tunewell.exe"), reg_sz);
  t.setHklm(ours, "UninstallString", Variant("setup -u"), reg_sz);
  t.start();
  EXPECT_EQ(t.pref("Uninstall"), "setup -u");
  EXPECT_EQ(uninstallString(t, ours), Variant(std::string(kProgram) + "\\Uninstaller.exe /U"));

  // The snapshot is gone again: another first run, and the entry already
  // names the Uninstaller.
  t.start();
  EXPECT_EQ(t.pref("Uninstall"), "(absent)") << "the Uninstaller would run itself as the old command";
  EXPECT_EQ(uninstallString(t, ours), Variant(std::string(kProgram) + "\\Uninstaller.exe /U"));
}

// ---- Starts that end at once -------------------------------------------------

TEST(TunerStartup, AnUnsupportedWindowsGetsOnlyItsMessage) {
  TunerMachine t;
  t.setVersion(5, 0, 2);
  t.setPref("Presets", "Mine");
  auto& f = t.start();
  ASSERT_EQ(t.m.dialogs->shown().size(), 1u);
  EXPECT_EQ(t.m.dialogs->shown()[0],
            (ShownBox{"This program will not run on this version of Windows.", 16, "Windows Version Error"}));
  EXPECT_TRUE(f.ended());
  EXPECT_FALSE(std::filesystem::exists(t.programFolder() / "Cache.ini"));
  EXPECT_EQ(t.pref("Presets"), "Mine") << "the preferences are not wiped";
  EXPECT_EQ(t.pref("Mem"), "(absent)");
  EXPECT_EQ(uninstallString(t), Variant(kOriginalUninstall));
  EXPECT_TRUE(f.calls.empty());
  EXPECT_FALSE(f.Timer1->enabled());
}

TEST(TunerStartup, TheTrayUtilityIsAskedToCloseExceptByASecondCopy) {
  TunerMachine t;
  std::vector<uint32_t> received;
  auto tray = t.windows->registerWindow("plinthexe", [&](uint32_t message, uint64_t wParam, int64_t lParam) {
    received.push_back(message);
    EXPECT_EQ(wParam, 0u);
    EXPECT_EQ(lParam, 0);
  });
  auto& second = t.start(/*previousInstance=*/true);
  EXPECT_TRUE(second.ended());
  EXPECT_TRUE(received.empty());
  EXPECT_EQ(second.OsName, "") << "Form_Load did not run";
  EXPECT_EQ(t.pref("Mem"), "(absent)");
  EXPECT_TRUE(t.m.dialogs->shown().empty());

  auto& f = t.start();
  EXPECT_FALSE(f.ended());
  EXPECT_EQ(received, std::vector<uint32_t>{shell::WM_CLOSE});
}

// ---- The program: splash picture, then the main window -------------------

struct TunerSplash : ::testing::Test {
  TunerMachine t;

  std::unique_ptr<app::TunerProgram> start(const std::string& commandLine) {
    auto program = std::make_unique<app::TunerProgram>(*t.m.host, t.env, commandLine, t.runtime.path());
    program->start();
    return program;
  }
};

TEST_F(TunerSplash, ThePictureShowsForThreeSecondsAfterStartUp) {
  auto p = start("/ns");  // another case is no switch
  EXPECT_TRUE(p->splash().visible());
  EXPECT_FALSE(p->main().visible());
  EXPECT_TRUE(p->main().loaded()) << "start-up has run before the picture shows";
  t.env.advance(2999);
  EXPECT_FALSE(p->main().visible());
  t.env.advance(1);
  EXPECT_TRUE(p->main().visible());
  EXPECT_FALSE(p->splash().loaded());
  EXPECT_FALSE(p->finished());
}

TEST_F(TunerSplash, TheSwitchAloneOrTheOptionShowTheMainWindowAtOnce) {
  auto p = start("/Ns x");  // among other arguments the switch does not count
  EXPECT_TRUE(p->splash().visible());
  EXPECT_FALSE(p->main().visible());
  p.reset();
  p = start("/Ns");
  EXPECT_TRUE(p->main().visible());
  EXPECT_FALSE(p->splash().loaded());
  p->main().cEx->userClick();
  EXPECT_TRUE(p->finished()) << "closing the main window finishes the program";

  // "Disable splash" was checked at the last exit; an unreadable View waits.
  test::writeFile(t.programFolder() / "Settings.1st", "");
  for (const char* view : {"1", "often"}) {
    t.setPref("View", view);
    p.reset();
    p = start("");
    if (view[0] == '1') {
      EXPECT_TRUE(p->main().visible());
      EXPECT_FALSE(p->splash().visible());
    }
    t.env.advance(3000);
    EXPECT_TRUE(p->main().visible()) << view;
  }
}

TEST_F(TunerSplash, ASecondCopyShowsNothingAndIsFinished) {
  shell::InstanceLock first(t.runtime.path(), shell::InstanceLock::nameFor("tunewell", t.m.root()));
  ASSERT_TRUE(first.held());
  auto p = start("");
  EXPECT_TRUE(p->finished());
  EXPECT_FALSE(p->main().visible());
  EXPECT_FALSE(p->splash().visible());
  t.env.advance(5000);
  EXPECT_FALSE(p->main().visible());
}

TEST(TunerProgramArgs, TheMachineOptionIsTakenOffTheCommandLine) {
  const auto a = app::takeProgramArgs({"/Ns", "--machine=/srv/win98", "more"});
  EXPECT_EQ(a.machineRoot, "/srv/win98");
  EXPECT_EQ(a.commandLine, "/Ns more");
}

}  // namespace
}  // namespace tw
