#pragma once
// An Uninstaller on the template machine: scripted boxes, a launcher that
// records what it starts, and a window registry of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/snapshot.h"
#include "host/registry/regfile.h"
#include "host/shell/shell.h"
#include "host/shell/windows.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/recording_launcher.h"
#include "uninstaller/uninst.h"

namespace tw::test {


struct Uninstalling : ::testing::Test {
  TestMachine m{false};
  std::shared_ptr<sys::Platform> platform = std::make_shared<sys::Platform>();
  std::shared_ptr<RecordingLauncher> launcher = std::make_shared<RecordingLauncher>();
  TempDir runtime;
  shell::WindowRegistry windows{runtime / "windows"};
  Plinth plinth{*m.host};  // for setting the machine up and reading it back

  Uninstalling() {
    platform->setLauncher(launcher);
    m.host->setPlatform(platform);
  }

  std::filesystem::path programFolder() const { return m.root() / "Program Files" / "Tunewell"; }

  // Runs the Uninstaller with `commandLine`, answering its boxes with
  // `answers` (then their default buttons).
  void run(const std::string& commandLine, std::vector<int> answers = {}, bool previousInstance = false) {
    m.dialogs->clear();
    for (int a : answers) m.dialogs->answerNext(a);
    uninstaller::Uninst form({*m.host, previousInstance, &windows, commandLine});
    form.load();
    EXPECT_FALSE(form.loaded());
  }

  std::vector<std::string> titles() const {
    std::vector<std::string> out;
    for (const ShownBox& b : m.dialogs->shown()) out.push_back(b.title);
    return out;
  }

  // Everything the Uninstaller may change: the hive and the two INI files,
  // byte for byte, and the program folder's files.
  std::string state() {
    std::string s = reg::exportRegText(m.host->registry(), "");
    s += readFile(m.windows() / "SYSTEM.INI");
    s += readFile(m.windows() / "WIN.INI");
    for (const auto& e : std::filesystem::directory_iterator(programFolder())) s += e.path().filename().string() + "\n";
    return s;
  }

  // What the tuner leaves after a first run and a normal exit.
  void tunerHasRun() {
    SettingsStore prefs(m.host->registry(), m.host->machine().codePage());
    prefs.saveSetting("Tunewell", "Startup", "Run", "False");
  }
  void setPref(const char* key, const std::string& value) {
    SettingsStore(m.host->registry(), m.host->machine().codePage()).saveSetting("Tunewell", "Startup", key, value);
  }
  bool settingsKeyExists() {
    return plinth.GetValue(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Tunewell\\Startup", "Run",
                           Variant("(absent)")) != Variant("(absent)");
  }
  Variant hklm(const std::string& key, const char* name) {
    return plinth.GetValue(HKEY_LOCAL_MACHINE, key, name, Variant("(absent)"), true);
  }
  std::string ini(const char* file, const char* section, const char* key) {
    std::string v = plinth.INIRead(section, key, "(absent)", file);
    return v.substr(0, v.find('\0'));
  }
  void writeSnapshot(const app::PendingRecord& record) {
    app::snapshot::write(programFolder() / "Settings.1st", record, m.host->machine().codePage());
  }
};

}  // namespace tw::test
