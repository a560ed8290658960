// The typical road through the scripted driver on a fresh template machine:
// drag "Min Disk Cache", press "Ok", answer the restart prompt; and the
// other ways out, as a user would take them.

#include <gtest/gtest.h>

#include "host/registry/regfile.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

struct DrivenExit : test::DriverRun {
  // The machine as the next program finds it.
  struct Opened {
    explicit Opened(const std::filesystem::path& root)
        : host(root, std::make_shared<ScriptedDialogs>(), std::make_shared<sys::Platform>()), plinth(host) {}
    std::string ini(const char* file, const char* section, const char* key) {
      return std::string(beforeNul(plinth.INIRead(section, key, "(absent)", file)));
    }
    std::string hive(const std::string& key) { return reg::exportRegText(host.registry(), "HKEY_LOCAL_MACHINE\\" + key); }
    std::string pref(const char* key) {
      SettingsStore store(host.registry(), host.machine().codePage());
      return store.getSetting(app::kAppName, app::kPrefsSection, key, "(absent)");
    }
    Host host;
    Plinth plinth;
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

TEST_F(DrivenExit, OkUnchangedCancelAndRestoreEachLeaveWhatTheyShould) {
  // A first run, left with "Ok" and nothing changed: no prompt, no apply.
  ASSERT_EQ(run("click Command1\n"), app::drive::kOk) << err;
  EXPECT_EQ(out, "");
  {
    Opened m(dir / "machine");
    EXPECT_EQ(m.plinth.GetValue(HKEY_LOCAL_MACHINE, app::catalogue::kTemplatesKey, ""), Variant("Desktop"));
    EXPECT_EQ(m.pref("Run"), "False");
  }

  // "Cancel" after a change: nothing applied, the preferences stored.
  ASSERT_EQ(run("tab 2\nscroll Slider1 4096\ntab 5\nclick Option2(0)\nclick cEx\n"), app::drive::kOk) << err;
  EXPECT_EQ(out, "");
  {
    Opened m(dir / "machine");
    EXPECT_EQ(m.ini("System.ini", "vcache", "MinFileCache"), "(absent)");
    EXPECT_EQ(m.pref("Speed"), "250");
  }

  // Restore without the Uninstaller: the error, and the window stays.
  ASSERT_EQ(run("tab 5\nclick Option2(4)\nanswer ok\nclick Command3(1)\nprint Form1.Loaded RestoreRequested\nclose\n"),
            app::drive::kOk)
      << err;
  EXPECT_EQ(out,
            "MsgBox \"Error\" 16: \"53 File not found in Form1.Command3_Click\"\n"
            "Form1.Loaded = True\n"
            "RestoreRequested = False\n");
  {
    Opened m(dir / "machine");
    EXPECT_EQ(m.pref("Speed"), "5000") << "closed the ordinary way afterwards";
  }
}

}  // namespace
}  // namespace tw
