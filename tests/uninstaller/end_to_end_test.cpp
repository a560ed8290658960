// The whole road on a fresh template machine: the tuner's first run through
// the scripted driver, many settings changed and applied, then the real
// tunewell-uninstall, started the way Windows starts it (by hand, as the
// Add/Remove Programs entry does) or through the tuner's "Restore" button
// and the program folder's stand-in.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <thread>

#include "host/registry/regfile.h"
#include "host/shell/own_programs.h"
#include "host/shell/shell.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/child_process.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

// Starts programs and waits for them to end, so that the test reads the
// machine after the Uninstaller has finished with it.
struct WaitingLauncher : shell::Launcher {
  shell::SpawnLauncher spawner{std::chrono::seconds(60)};
  std::vector<std::vector<std::string>> starts;
  shell::LaunchResult launch(const std::vector<std::string>& argv) override {
    starts.push_back(argv);
    return spawner.launch(argv);
  }
};

struct EndToEnd : test::DriverRun {
  std::shared_ptr<WaitingLauncher> launcher = std::make_shared<WaitingLauncher>();
  test::TempDir userRuntime;

  EndToEnd() {
    commandLine = "/Ns";
    platform->setLauncher(launcher);
    shell::setOwnProgramFolder(TW_PROGRAMS_DIR);
    // The Uninstaller's lock and the tray window it closes are looked for
    // here, never among the user's own programs.
    setenv("XDG_RUNTIME_DIR", userRuntime.path().c_str(), 1);
  }
  ~EndToEnd() override { shell::setOwnProgramFolder({}); }

  fs::path machine() const { return dir / "machine"; }
  fs::path programFolder() const { return machine() / "Program Files" / "Tunewell"; }

  // Runs the built Uninstaller by hand; returns what it printed.
  std::string uninstall(const std::string& args) {
    const std::string errFile = (dir / "uninstall.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(TW_UNINSTALL_EXE) +
                                "' --machine '" + machine().string() + "' " + args + " 2>'" + errFile + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return test::readFile(errFile);
  }

  // The stores the settings live in: both INI files byte for byte, and the
  // hive as REGEDIT4 (every key and value, one line each).
  struct Stores {
    std::string systemIni, winIni;
    std::set<std::string> hive;
  };
  Stores stores() { return storesOf(machine()); }
  static Stores storesOf(const fs::path& machine) {
    Host host(machine, std::make_shared<ScriptedDialogs>(), std::make_shared<sys::Platform>());
    Stores s{test::readFile(machine / "WINDOWS" / "SYSTEM.INI"), test::readFile(machine / "WINDOWS" / "WIN.INI"), {}};
    std::istringstream text(reg::exportRegText(host.registry(), ""));
    std::string key;
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line == "REGEDIT4") continue;
      if (line.front() == '[') {
        key = line;
        s.hive.insert(key);
      } else {
        s.hive.insert(key + " " + line);
      }
    }
    return s;
  }
  static std::vector<std::string> minus(const std::set<std::string>& a, const std::set<std::string>& b) {
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
  }

  // Starts the built Uninstaller on `machine` without waiting for it.
  static pid_t startUninstall(const fs::path& machine, const char* action) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::unsetenv("DISPLAY");
      ::unsetenv("WAYLAND_DISPLAY");
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, STDERR_FILENO);
      ::execl(TW_UNINSTALL_EXE, TW_UNINSTALL_EXE, "--machine", machine.c_str(), "--answer", "1", "--answer", "7",
              action, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }

  // A first run that changes nothing and leaves with "Ok".
  void firstRun() { ASSERT_EQ(run("click Command1\n"), app::drive::kOk) << err << out; }

  // Changes settings on every tab that has them and applies them.
  void tuneEverything() {
    ASSERT_EQ(run("tab 2\nscroll Slider1 8192\nscroll Slider5 40\n"
                  "tab 3\nclick Check1\nclick Check3\nclick Check4\nclick Check5\nclick Check6\nclick Check2\n"
                  "click Check11\nclick Check10(0)\nclick Check10(3)\n"
                  "scroll Slider6 5\nscroll Slider7 6\nscroll Slider8 256\nscroll Slider10 4\nscroll Slider11 3\n"
                  "tab 4\nscroll Slider9 4\nclick Check12\nselect Combo3(1) 2\n"
                  "answer no\nclick Command1\n"),
              app::drive::kOk)
        << err << out;
  }
};

TEST_F(EndToEnd, RestoringTheRecordedValuesLeavesOnlyWhatTheUninstallerItselfWrites) {
  firstRun();
  const Stores recorded = stores();
  tuneEverything();
  const Stores tuned = stores();
  ASSERT_NE(tuned.systemIni, recorded.systemIni);
  ASSERT_NE(tuned.winIni, recorded.winIni);

  EXPECT_EQ(uninstall("/Un"),
            "MsgBox \"Tunewell Restore\" 4113: \"This will wipe out all Tunewell settings! Do you wish to continue?\"\n"
            "MsgBox \"System Settings Change\" 36: \"Do you want to restart your computer now?\"\n");
  const Stores restored = stores();
  EXPECT_EQ(restored.systemIni, recorded.systemIni);
  EXPECT_EQ(restored.winIni, recorded.winIni);
  // What the restore writes or deletes whatever the record says: the
  // tuner's preferences go (HKEY_CURRENT_USER is .DEFAULT's), the priority
  // separation is written even where Windows had none, and the CD-ROM tuning
  // that applying adds outside the catalogue stays.
  const std::string prefs = "[HKEY_USERS\\.DEFAULT\\Software\\VB and VBA Program Settings\\Tunewell";
  std::vector<std::string> gone;
  for (const std::string& line : minus(recorded.hive, restored.hive))
    if (line.rfind(prefs, 0) != 0) gone.push_back(line);
  EXPECT_EQ(gone, std::vector<std::string>{}) << "removed beyond the preferences";
  // ... all but the installer's uninstall command, which a later "/U" runs.
  EXPECT_EQ(restored.hive.count(prefs + "\\Startup] \"Uninstall\"=\"C:\\\\WINDOWS\\\\ST6UNST.EXE -n "
                                        "\\\"C:\\\\Program Files\\\\Tunewell\\\\ST6UNST.LOG\\\"\""),
            1u);
  EXPECT_EQ(recorded.hive.count(prefs + "\\Startup] \"Run\"=\"False\""), 1u);
  EXPECT_EQ(restored.hive.count(prefs + "\\Startup] \"Run\"=\"False\""), 0u) << "the preferences are gone";
  const std::string cdRom = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\CD-ROM]";
  EXPECT_EQ(minus(restored.hive, recorded.hive),
            (std::vector<std::string>{
                cdRom,
                cdRom + " \"Desired Lru1 Percentage\"=hex:19,00,00,00",
                cdRom + " \"Required Pause Tolerance\"=hex:4d,01,00,00",
                "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\PriorityControl] "
                "\"Win32PrioritySeparation\"=dword:00000000",
            }));
}

// The Uninstaller is a program of its own: whatever becomes of the tuner
// that started it, it can itself be ended at any moment (a kill, a power
// cut).  Each store must then still open and hold every line that neither
// the tuned nor the restored state changes, and a later restore must finish
// the job.
TEST_F(EndToEnd, AnUninstallerKilledAtAnyMomentLeavesEveryStoreReadable) {
  firstRun();
  tuneEverything();
  const Stores tuned = stores();
  const fs::path whole = dir / "whole";
  fs::copy(machine(), whole, fs::copy_options::recursive);
  ASSERT_EQ(test::waitFor(startUninstall(whole, "/Un")), 0);
  const Stores restored = storesOf(whole);
  ASSERT_NE(restored.systemIni, tuned.systemIni);

  const auto lines = [](const std::string& text) {
    std::set<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) all.insert(line);
    return all;
  };
  const auto common = [](const std::set<std::string>& a, const std::set<std::string>& b) {
    std::vector<std::string> both;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
    return both;
  };
  const auto keptSystem = common(lines(tuned.systemIni), lines(restored.systemIni));
  const auto keptWin = common(lines(tuned.winIni), lines(restored.winIni));
  const auto keptHive = common(tuned.hive, restored.hive);
  for (const int ms : {1, 3, 8, 20, 50}) {
    SCOPED_TRACE(testing::Message() << "killed after " << ms << " ms");
    const pid_t pid = startUninstall(machine(), "/Un");
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    ::kill(pid, SIGKILL);
    test::waitFor(pid);
    Stores now;
    ASSERT_NO_THROW(now = stores());
    const auto system = lines(now.systemIni), win = lines(now.winIni);
    for (const auto& line : keptSystem) EXPECT_EQ(system.count(line), 1u) << "System.ini lost " << line;
    for (const auto& line : keptWin) EXPECT_EQ(win.count(line), 1u) << "Win.ini lost " << line;
    for (const auto& line : keptHive) EXPECT_EQ(now.hive.count(line), 1u) << "the hive lost " << line;
  }
  ASSERT_EQ(test::waitFor(startUninstall(machine(), "/Un")), 0);
  const Stores finished = stores();
  EXPECT_EQ(finished.systemIni, restored.systemIni);
  EXPECT_EQ(finished.winIni, restored.winIni);
  EXPECT_EQ(finished.hive, restored.hive);
}

TEST_F(EndToEnd, DefaultsUninstallCancelAndRefusalByHand) {
  firstRun();
  tuneEverything();
  const Stores tuned = stores();
  const std::string refused =
      "MsgBox \"Tunewell Pro Uninstall\" 16: \"Please uninstall through the Windows Add/Remove Programs, found in "
      "the Control Panel.\"\n";
  // Only "/Or", "/Un" and "/U" exactly, each a whole command line.
  for (const char* args : {"", "/or", "'/Un '", "/U /Or", "/u", "' /U'", "/Uninstall"})
    EXPECT_EQ(uninstall(args), refused) << args;
  // Cancelling the restores is the Uninstaller's own test.
  EXPECT_EQ(uninstall("--answer 2 /U"),
            "MsgBox \"Tunewell Uninstall\" 17: \"This will uninstall Tunewell! Do you wish to continue?\"\n");
  const Stores after = stores();
  EXPECT_EQ(after.systemIni, tuned.systemIni);
  EXPECT_EQ(after.winIni, tuned.winIni);
  EXPECT_EQ(after.hive, tuned.hive);

  // The Windows defaults: a tuner starting now reads every setting as a
  // machine that never had any of them, the fixed CD-ROM and port values
  // and the standard template aside.
  uninstall("/Or");
  {
    Host host(machine(), std::make_shared<ScriptedDialogs>(), std::make_shared<sys::Platform>());
    Plinth plinth(host);
    app::PendingRecord found;
    app::catalogue::readAll(plinth, found);
    app::PendingRecord windows;
    windows.TemplateName = "Desktop";
    for (const auto& s : app::catalogue::settings())
      EXPECT_EQ(app::catalogue::value(found, s), app::catalogue::value(windows, s)) << s.field;
  }

  // Uninstalling after the restore: no data files, no entry, no settings.
  ASSERT_EQ(run("click Command1\n"), app::drive::kOk) << err << out;
  ASSERT_TRUE(fs::exists(programFolder() / "Settings.1st"));
  EXPECT_EQ(uninstall("/U"),
            "MsgBox \"Tunewell Uninstall\" 17: \"This will uninstall Tunewell! Do you wish to continue?\"\n");
  for (const char* file : {"Cache.ini", "Settings.1st", "Settings.tmp"}) EXPECT_FALSE(fs::exists(programFolder() / file));
  for (const std::string& line : stores().hive) {
    EXPECT_EQ(line.find("VB and VBA Program Settings\\Tunewell"), std::string::npos) << line;
    EXPECT_EQ(line.find("ST6UNST #1"), std::string::npos) << line;
    EXPECT_EQ(line.find("CacheTrayUtil"), std::string::npos) << line;
  }
}

TEST_F(EndToEnd, TheRestoreButtonReachesTheUninstallerThroughItsStandIn) {
  firstRun();
  const Stores recorded = stores();
  tuneEverything();
  ASSERT_EQ(run("tab 5\nclick Option3\nclick Command3(1)\nprint Form1.Loaded\n"), app::drive::kOk) << err << out;
  EXPECT_EQ(out, "Form1.Loaded = False\n");
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0],
            (std::vector<std::string>{(fs::path(TW_PROGRAMS_DIR) / "tunewell-uninstall").string(), "--machine",
                                      fs::absolute(machine()).string(), "/Un"}));
  const Stores restored = stores();
  EXPECT_EQ(restored.systemIni, recorded.systemIni);
  EXPECT_EQ(restored.winIni, recorded.winIni);
  // The tuner stored no preferences on its way out: the Uninstaller's
  // removal of them stands, the installer's uninstall command aside.
  const std::string prefs = "[HKEY_USERS\\.DEFAULT\\Software\\VB and VBA Program Settings\\Tunewell";
  std::vector<std::string> kept;
  for (const std::string& line : restored.hive)
    if (line.rfind(prefs, 0) == 0) kept.push_back(line);
  EXPECT_EQ(kept, (std::vector<std::string>{
                      prefs + "\\Startup]",
                      prefs + "\\Startup] \"Uninstall\"=\"C:\\\\WINDOWS\\\\ST6UNST.EXE -n "
                              "\\\"C:\\\\Program Files\\\\Tunewell\\\\ST6UNST.LOG\\\"\"",
                      prefs + "]",
                  }));
}

}  // namespace
}  // namespace tw
