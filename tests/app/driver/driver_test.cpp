// The scripted driver end to end: a script of user actions against the real
// tuner, the message boxes it answers or does not expect, and its command
// line.

#include <gtest/gtest.h>

#include <cstdio>

#include "host/registry/regfile.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

struct ScriptedDriver : test::DriverRun {
  ScriptedDriver() { commandLine = ""; }
};

TEST_F(ScriptedDriver, AScriptWorksTheWindowAndPrintsWhatItAsks) {
  const int status = run(R"(# the Tweaks tab
tab 3
click Check1
scroll Slider7 6
print Check1 PendingSettings.CPUPriority Slider7 Frame11.Visible
tab 4
select Combo3(1) 2
click Check12
select Combo3(1) 2
print Combo3(1) PendingSettings.MaxNoUseDays Combo3(2).ListIndex Check12.Enabled
tab 2
type Combo1 "My setup"
hover Slider4
tick Timer1
print Combo1 Label20 Timer1
close
print Form1.Loaded
)");
  EXPECT_EQ(status, app::drive::kOk) << err;
  EXPECT_EQ(out,
            "Check1 = 1\n"
            "PendingSettings.CPUPriority = 1\n"
            "Slider7 = 8\n"
            "Frame11.Visible = True\n"
            "Ignored: select Combo3(1) 2\n"
            "Combo3(1) = \"10 days\"\n"
            "PendingSettings.MaxNoUseDays = 10\n"
            "Combo3(2).ListIndex = 4\n"
            "Check12.Enabled = True\n"
            "Ignored: tick Timer1\n"
            "Combo1 = \"My setup\"\n"
            "Label20 = \"This sets the number of recently accessed file names that Windows will store.\"\n"
            "Timer1 = False\n"
            "Form1.Loaded = False\n");
}

TEST_F(ScriptedDriver, HoverReachesOnlyWhatTheWindowShows) {
  EXPECT_EQ(run("tab 3\nhover Check10(2)\nprint Label20\nhover Slider1\nhover Form1\nprint Label20\n"),
            app::drive::kOk)
      << err;
  EXPECT_EQ(out,
            "Label20 = \"Optimize your COM port settings for better data exchange rates.\"\n"
            "Ignored: hover Slider1\n"
            "Label20 = \"Welcome to Tunewell Pro!\"\n");
}

TEST_F(ScriptedDriver, AnUnexpectedMessageBoxFailsTheRun) {
  platform->setVersion(WindowsVersion{5, 0, 2222, 2, ""});  // NT
  EXPECT_EQ(run("print Label20\n"), app::drive::kFailed);
  EXPECT_EQ(out, "MsgBox \"Windows Version Error\" 16: \"This program will not run on this version of Windows.\"\n");
  EXPECT_NE(err.find("did not answer"), std::string::npos) << err;

  EXPECT_EQ(run("answer ok\nprint Label20\n"), app::drive::kOk) << err;
  EXPECT_EQ(out,
            "MsgBox \"Windows Version Error\" 16: \"This program will not run on this version of Windows.\"\n"
            "End\n");
}

TEST_F(ScriptedDriver, AWrongScriptRunsNothing) {
  EXPECT_EQ(run("tab 3\nclick Check99\n"), app::drive::kScriptError);
  EXPECT_NE(err.find("line 2"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir / "machine" / "Program Files" / "Tunewell" / "Cache.ini"))
      << "start-up must not have run";
  EXPECT_EQ(run("tab\n"), app::drive::kScriptError);
  EXPECT_EQ(run("type Combo1 \"open\n"), app::drive::kScriptError);
  EXPECT_EQ(run("print Check1.Colour\n"), app::drive::kScriptError);
}

TEST_F(ScriptedDriver, TheCommandLineTakesTheMachineAndTheScript) {
  test::writeFile(dir / "script.txt", "print Label8 frmSplash.Loaded Form1.Visible\n");
  const std::string command = std::string(TW_DRIVE_EXE) + " --machine " + (dir / "machine").string() +
                              " --runtime " + (dir / "runtime").string() + " " + (dir / "script.txt").string() +
                              " /Ns 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string printed;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) printed.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_EQ(WEXITSTATUS(status), 0) << printed;
  EXPECT_EQ(printed, "Label8 = \"Version 1.0.0\"\nfrmSplash.Loaded = False\nForm1.Visible = True\n");
}

// ---- The typical road on a fresh template machine, and the other ways out --
// Drag "Min Disk Cache", press "Ok", answer the restart prompt; then
// "Cancel" and "Restore", as a user would take them, each read back by the
// next program on the machine.

struct DrivenExit : test::DriverRun {
  // The machine as the next program finds it.
  struct Opened {
    explicit Opened(const std::filesystem::path& root)
        : host(root, std::make_shared<ScriptedDialogs>(), std::make_shared<sys::Platform>()) {}
    std::string ini(const char* file, const char* section, const char* key) {
      return std::string(beforeNul(plinth.INIRead(section, key, "(absent)", file)));
    }
    std::string hive(const std::string& key) { return reg::exportRegText(host.registry(), "HKEY_LOCAL_MACHINE\\" + key); }
    std::string pref(const char* key) {
      return SettingsStore(host.registry(), host.machine().codePage())
          .getSetting(app::kAppName, app::kPrefsSection, key, "(absent)");
    }
    Host host;
    Plinth plinth{host};
  };
};

TEST_F(DrivenExit, DragMinDiskCacheOkAndAnswerTheRestartPrompt) {
  ASSERT_EQ(run("tab 2\n"
                "scroll Slider1 8192\n"
                "print text1 PendingSettings.MinFileCache Combo1 Label9\n"
                "answer no\n"
                "click Command1\n"
                "print Form1.Loaded\n"),
            app::drive::kOk)
      << err;
  EXPECT_EQ(out,
            "text1 = \"8192 Kb\"\n"
            "PendingSettings.MinFileCache = 8192\n"
            "Combo1 = \"\"\n"
            "Label9 = \"Custom configuration.\"\n"
            "MsgBox \"System Settings Change\" 36: \"Do you want to restart your computer now?\"\n"
            "Form1.Loaded = False\n");

  Opened m(dir / "machine");
  namespace cat = app::catalogue;
  EXPECT_EQ(m.ini("System.ini", "vcache", "MinFileCache"), "8192");
  EXPECT_EQ(m.ini("System.ini", "vcache", "MaxFileCache"), "8192") << "pushed along by the drag";
  EXPECT_EQ(m.ini("System.ini", "vcache", "Chunksize"), "(absent)");
  for (const char* port : {"COM1:", "COM2:", "COM3:", "COM4:"})
    EXPECT_EQ(m.ini("Win.ini", "Ports", port), "9600,n,8,1,x") << port;
  const std::string written = m.hive(cat::kFileSystemKey) + m.hive(cat::kCdRomKey);
  for (const char* line : {"\"ContigFileAllocSize\"=hex:00,02,00,00\r\n", "\"ReadAheadThreshold\"=hex:00,00,00,00\r\n",
                           "\"CacheSize\"=hex:6b,02,00,00\r\n", "\"Prefetch\"=hex:e4,00,00,00\r\n",
                           "\"Desired Lru1 Percentage\"=hex:19,00,00,00\r\n", "\"Required Pause Tolerance\"=hex:4d,01,00,00\r\n"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
  EXPECT_EQ(m.plinth.GetValue(HKEY_LOCAL_MACHINE, cat::kTemplatesKey, ""), Variant("Tunewell"));
  EXPECT_EQ(m.pref("Run"), "False");
  EXPECT_FALSE(std::filesystem::exists(dir / "machine" / "Program Files" / "Tunewell" / "Settings.tmp"));
}

TEST_F(DrivenExit, CancelAndRestoreEachLeaveWhatTheyShould) {
  // "Cancel" after a change: nothing applied, the preferences stored.
  ASSERT_EQ(run("tab 2\nscroll Slider1 4096\ntab 5\nclick Option2(0)\nclick cEx\n"), app::drive::kOk) << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(Opened(dir / "machine").ini("System.ini", "vcache", "MinFileCache"), "(absent)");
  EXPECT_EQ(Opened(dir / "machine").pref("Speed"), "250");

  // Restore without the Uninstaller (its stand-in deleted): the error, and
  // the window stays.
  std::filesystem::remove(dir / "machine" / "Program Files" / "Tunewell" / "Uninstaller.exe");
  ASSERT_EQ(run("tab 5\nclick Option2(4)\nanswer ok\nclick Command3(1)\nprint Form1.Loaded RestoreRequested\nclose\n"),
            app::drive::kOk)
      << err;
  EXPECT_EQ(out,
            "MsgBox \"Error\" 16: \"53 File not found in Form1.Command3_Click\"\n"
            "Form1.Loaded = True\n"
            "RestoreRequested = False\n");
  EXPECT_EQ(Opened(dir / "machine").pref("Speed"), "5000") << "closed the ordinary way afterwards";
}

// On a machine of 24 GB the formulas would propose several gigabytes of disk
// cache; Windows 98 cannot start with more than 524288 KB.
TEST_F(DrivenExit, ALargeMachineGetsADiskCacheWindowsCanStartWith) {
  platform->setMemory(std::make_shared<test::FixedMemory>(24576ull << 20));
  ASSERT_EQ(run("tab 2\nselect Combo1 2\nprint Combo1 Label32\nanswer no\nclick Command1\n"), app::drive::kOk) << err;
  EXPECT_EQ(out,
            "Combo1 = \"File Server\"\n"
            "Label32 = \"\"\n"
            "MsgBox \"System Settings Change\" 36: \"Do you want to restart your computer now?\"\n");
  EXPECT_EQ(Opened(dir / "machine").ini("System.ini", "vcache", "MaxFileCache"), "524288");

  ASSERT_EQ(run("tab 2\nscroll Slider2 1048576\nanswer yes\nanswer no\nclick Command1\n"), app::drive::kOk) << err;
  EXPECT_EQ(out.find("MsgBox \"Tunewell Tools\" 51: \"Windows 98 cannot start with a disk cache above 524288 Kb"), 0u)
      << out;
  EXPECT_NE(out.find("MsgBox \"System Settings Change\""), std::string::npos) << "applied after the answer";
  EXPECT_EQ(Opened(dir / "machine").ini("System.ini", "vcache", "MaxFileCache"), "524288");
}

}  // namespace
}  // namespace tw
