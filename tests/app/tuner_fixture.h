#pragma once
// A tuner on a throw-away machine: the template machine (or one with no
// settings at all), fixed system figures and Windows version, a manual clock, and a
// main window whose not-yet-built procedures record that start-up called
// them.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/driver/driver.h"
#include "app/ui/form1.h"
#include "host/runtime/vbconv.h"
#include "host/shell/windows.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "tests/support/fixed_platform.h"
#include "tests/support/machine_fixture.h"

namespace tw::test {

struct FixedMemory : sys::MemoryMeter {
  explicit FixedMemory(uint64_t bytes) : total(bytes) {}
  sys::MemoryStatus status() override { return {50, total, total / 2, total, total / 2, 1ull << 31, 1ull << 30}; }
  uint64_t total;
};

// Form1 with the later parts' procedures recording their calls.  With
// runProcedures set, the procedures that have been built also run.
class WatchedForm1 : public app::Form1 {
 public:
  using Form1::Form1;
  std::vector<std::string> calls;
  bool runProcedures = false;

  void WritePresetTable(double memoryKB) override {
    if (called("WritePresetTable " + numberToText(memoryKB))) Form1::WritePresetTable(memoryKB);
  }
  void LoadConfigurations() override { if (called("LoadConfigurations")) Form1::LoadConfigurations(); }
  void ShowPresetDescription() override { if (called("ShowPresetDescription")) Form1::ShowPresetDescription(); }
  void SaveFirst(const std::string& path) override { if (called("SaveFirst " + path)) Form1::SaveFirst(path); }
  void GatherSystemInformation() override { if (called("GatherSystemInformation")) Form1::GatherSystemInformation(); }
  void LoadTools() override { if (called("LoadTools")) Form1::LoadTools(); }
  void UpdateGauges() override { if (called("UpdateGauges")) Form1::UpdateGauges(); }

 private:
  // Records the call; whether the procedure itself runs too.
  bool called(std::string call) {
    calls.push_back(std::move(call));
    return runProcedures;
  }
};

inline void drag(forms::Slider& s, int32_t to) {
  ASSERT_TRUE(s.userBeginDrag());
  s.userDragTo(to);
  s.userEndDrag();
}

struct TunerMachine {
  enum class Kind { Template, Empty };

  // Empty: a machine with its folders and nothing else (no INI files, no
  // registry values), as a Windows on which none of the settings exists.
  explicit TunerMachine(Kind kind = Kind::Template) : m(kind == Kind::Empty) {
    m.host->setPlatform(platform);
    if (kind == Kind::Empty) std::filesystem::create_directories(programFolder());
    windows = std::make_unique<shell::WindowRegistry>(runtime / "windows");
  }

  void setVersion(uint32_t major, uint32_t minor, uint32_t platformId = 1) {
    platform->setVersion(WindowsVersion{major, minor, 2222, platformId, ""});
  }

  std::filesystem::path programFolder() const { return m.root() / "Program Files" / "Tunewell"; }

  // Creates the main window and runs its start-up (Form_Initialize, Form_Load).
  WatchedForm1& start(bool previousInstance = false) {
    form = std::make_unique<WatchedForm1>(app::TunerContext{*m.host, &env, previousInstance, windows.get(), ""});
    form->runProcedures = runProcedures;
    form->load();
    return *form;
  }

  // The preference, or "(absent)".
  std::string pref(const char* key) { return prefs().getSetting(app::kAppName, app::kPrefsSection, key, "(absent)"); }
  void setPref(const char* key, const std::string& value) {
    prefs().saveSetting(app::kAppName, app::kPrefsSection, key, value);
  }
  SettingsStore prefs() { return SettingsStore(m.host->registry(), m.host->machine().codePage()); }
  // A value of HKEY_LOCAL_MACHINE, or "(absent)".
  Variant hklm(const std::string& key, const char* name, bool translate = false) {
    return plinth.GetValue(HKEY_LOCAL_MACHINE, key, name, Variant("(absent)"), translate);
  }
  void setHklm(const std::string& key, const char* name, const Variant& value, lDataType type) {
    ASSERT_TRUE(plinth.WriteValue(HKEY_LOCAL_MACHINE, key, name, value, type)) << key << "\\" << name;
  }
  // A value of an INI file, or "(absent)".
  std::string ini(const char* file, const char* section, const char* key) {
    return std::string(beforeNul(plinth.INIRead(section, key, "(absent)", file)));
  }

  // Whether the procedures of the parts that have been built run as well as
  // being recorded.
  bool runProcedures = false;
  TestMachine m;
  std::shared_ptr<FixedFigures> figures = std::make_shared<FixedFigures>();
  std::shared_ptr<sys::Platform> platform = fixedPlatform(figures);
  forms::ManualEnvironment env;
  TempDir runtime;
  std::unique_ptr<shell::WindowRegistry> windows;
  Plinth plinth{*m.host};  // for setting the machine up
  std::unique_ptr<WatchedForm1> form;
};

// A tuner whose built procedures run as well, its window shown on a tab.
struct RunningTuner : ::testing::Test {
  TunerMachine t;
  WatchedForm1* f = nullptr;
  RunningTuner() { t.runProcedures = true; }
  void start(int tab) {
    f = &t.start();
    f->show();
    ASSERT_TRUE(f->TabStrip1->userSelect(tab));
  }
};

// The main window started on the template machine and shown.
struct MainWindow : ::testing::Test {
  TunerMachine t;
  WatchedForm1& f = t.start();
  void SetUp() override { f.show(); }
  void tab(int index) { ASSERT_TRUE(f.TabStrip1->userSelect(index)); }
};

// Runs scripts through the driver against a machine folder of its own.
struct DriverRun : ::testing::Test {
  TempDir dir;
  std::shared_ptr<FixedFigures> figures = std::make_shared<FixedFigures>();
  std::shared_ptr<sys::Platform> platform = fixedPlatform(figures);
  std::string commandLine = "/Ns", out, err;

  int run(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream o, e;
    const int status = app::drive::run(in, o, e, {dir / "machine", commandLine, dir / "runtime", platform});
    out = o.str();
    err = e.str();
    return status;
  }
};

}  // namespace tw::test
