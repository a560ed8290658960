// The ways out of the window: what the close box, the tray choices and the
// Restore command store, start and delete, and the first-run snapshot.

#include <gtest/gtest.h>

#include "app/settings/snapshot.h"
#include "host/shell/shell.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RecordingLauncher : shell::Launcher {
  std::vector<std::pair<std::vector<std::string>, shell::WindowState>> starts;
  shell::LaunchResult launch(const std::vector<std::string>& argv) override {
    return start(argv, shell::WindowState::Hide);
  }
  shell::LaunchResult start(const std::vector<std::string>& argv, shell::WindowState state) override {
    starts.emplace_back(argv, state);
    return {shell::LaunchResult::Status::Running, 0};
  }
};

struct Leaving : ::testing::Test {
  Leaving() {
    t.runProcedures = true;
    t.platform->setLauncher(launcher);
  }
  void SetUp() override { start(); }
  void start() {
    f = &t.start();
    f->show();
    ASSERT_TRUE(f->TabStrip1->userSelect(5));
    t.m.dialogs->clear();
  }
  Variant trayEntry() { return t.plinth.GetValue(HKEY_LOCAL_MACHINE, kRunKey, "CacheTrayUtil", Variant("(absent)")); }
  void setTrayEntry() { t.plinth.WriteValue(HKEY_LOCAL_MACHINE, kRunKey, "CacheTrayUtil", Variant("old"), reg_sz); }
  bool snapshotLeft() { return std::filesystem::exists(t.programFolder() / "Settings.tmp"); }
  std::string program(const char* name) { return (t.programFolder() / name).string(); }

  test::TunerMachine t;
  std::shared_ptr<RecordingLauncher> launcher = std::make_shared<RecordingLauncher>();
  test::WatchedForm1* f = nullptr;
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
  namespace cat = app::catalogue;
  t.plinth.DeleteValue(HKEY_LOCAL_MACHINE, cat::kTemplatesKey, "");
  t.plinth.WriteValue(HKEY_LOCAL_MACHINE, cat::kRunKey, "TaskMonitor", Variant("C:\\Task Mon\\tm.exe /run now"), reg_sz);
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
