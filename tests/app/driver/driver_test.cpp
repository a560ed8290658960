// The scripted driver end to end: a script of user actions against the real
// tuner, the message boxes it answers or does not expect, and its command
// line.

#include <gtest/gtest.h>

#include <cstdio>

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
            "Label20 = \"Take control of your cache instead of it taking control of your memory!\"\n"
            "Timer1 = False\n"
            "Form1.Loaded = False\n");
}

TEST_F(ScriptedDriver, AnUnexpectedMessageBoxFailsTheRun) {
  WindowsVersion nt;
  nt.major = 5;
  nt.minor = 0;
  nt.platform = 2;
  platform->setVersion(nt);
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

}  // namespace
}  // namespace tw
