// The tools list: what LoadTools lists, Add and Remove rewriting Tools.txt,
// and Launch's rules, with the starts recorded instead of run.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "host/shell/shell.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

using test::RecordingLauncher;

// PATH for the test's length: a folder holding a stand-in "wine", or none.
struct ScopedPath {
  std::string old = std::getenv("PATH") ? std::getenv("PATH") : "";
  explicit ScopedPath(const fs::path& folder) { setenv("PATH", folder.c_str(), 1); }
  ~ScopedPath() { setenv("PATH", old.c_str(), 1); }
};

struct ToolsList : test::RunningTuner {
  std::shared_ptr<RecordingLauncher> launcher = std::make_shared<RecordingLauncher>();
  std::shared_ptr<ScriptedDialogs> dialogs = t.m.dialogs;
  test::TempDir bin;

  ToolsList() {
    t.platform->setLauncher(launcher);
    writeFile(bin / "wine", "#!/bin/sh\nexit 0\n");
    ::chmod((bin / "wine").c_str(), 0755);
  }
  fs::path toolsFile() const { return t.programFolder() / "Tools.txt"; }
  fs::path windows() const { return t.m.windows(); }
  std::vector<std::string> listed() const { return f->Combo2->items(); }
  std::vector<ShownBox> boxes() const { return dialogs->shown(); }
  void pick(int index) { ASSERT_TRUE(f->Combo2->userSelect(index)); }
  // Picks the entry and launches it; the boxes shown on the way.
  std::vector<ShownBox> launch(int index) {
    dialogs->clear();
    pick(index);
    EXPECT_TRUE(f->Command2->userClick());
    return boxes();
  }
};

const ShownBox kNotFound{"Program not found! Please check path.", MsgBoxStyle::Critical, "Tunewell Error"};
const ShownBox kAdded{"New tool added successfully.", MsgBoxStyle::Information, "Tunewell Tools"};
const ShownBox kRemoved{"Tool removed.", MsgBoxStyle::Information, "Tunewell Tools"};

TEST_F(ToolsList, OnlyToolsWhoseFileExistsAreListedAndRemoveDropsTheStaleOnes) {
  fs::remove(windows() / "DEFRAG.EXE");
  start(4);
  ASSERT_EQ(listed().size(), 11u);
  EXPECT_EQ(listed()[0], "ScanDisk");
  EXPECT_EQ(listed()[1], "Disk Cleanup") << "the defragmenter has gone";
  EXPECT_FALSE(f->Command2->enabled());
  EXPECT_FALSE(f->Command5->enabled());

  pick(0);
  EXPECT_TRUE(f->Command2->enabled());
  EXPECT_TRUE(f->Command5->enabled());
  ASSERT_TRUE(f->Command5->userClick());
  EXPECT_EQ(boxes(), std::vector<ShownBox>{kRemoved});
  EXPECT_FALSE(f->Command2->enabled());
  EXPECT_FALSE(f->Command5->enabled());
  const std::string file = readFile(toolsFile());
  EXPECT_EQ(file.find("ScanDisk"), std::string::npos);
  EXPECT_EQ(file.find("DEFRAG"), std::string::npos) << "rewritten from the list";
  EXPECT_EQ(file.substr(0, 42), "\"Disk Cleanup\",\"C:\\WINDOWS\\CLEANMGR.EXE\"\r\n");
  EXPECT_EQ(listed().size(), 10u);
}

TEST_F(ToolsList, AMissingFileIsReportedAndAddingATwiceThenRemovingRoundTrips) {
  fs::remove(toolsFile());
  start(4);
  EXPECT_EQ(boxes(), (std::vector<ShownBox>{{"Tools file not found.", MsgBoxStyle::Critical, "Tunewell Error"}}));
  EXPECT_TRUE(listed().empty());

  dialogs->clear();
  dialogs->openFileNext("C:\\WINDOWS\\REGEDIT.EXE");
  dialogs->openFileNext("C:\\WINDOWS\\REGEDIT.EXE");
  ASSERT_TRUE(f->Command4->userClick());
  const std::string one = "\"REGEDIT\",\"C:\\WINDOWS\\REGEDIT.EXE\"\r\n";
  EXPECT_EQ(readFile(toolsFile()), one) << "Add creates the file";
  ASSERT_TRUE(f->Command4->userClick());
  EXPECT_EQ(readFile(toolsFile()), one + one) << "the same program twice is two entries";
  EXPECT_EQ(boxes(), (std::vector<ShownBox>{kAdded, kAdded}));
  EXPECT_EQ(listed(), (std::vector<std::string>{"REGEDIT", "REGEDIT"}));

  pick(1);
  ASSERT_TRUE(f->Command5->userClick());
  EXPECT_EQ(readFile(toolsFile()), one);
  pick(0);
  ASSERT_TRUE(f->Command5->userClick());
  EXPECT_EQ(readFile(toolsFile()), "");
  EXPECT_TRUE(listed().empty());
}

TEST_F(ToolsList, AddKeepsTheFileWholeAndRefusesWhatItCannotHold) {
  writeFile(toolsFile(), "\"ScanDisk\",\"C:\\WINDOWS\\SCANDSKW.EXE\"");  // no final line end
  writeFile(windows() / "say \"hi\".exe", "MZ");
  start(4);
  const std::string before = readFile(toolsFile());

  dialogs->clear();
  ASSERT_TRUE(f->Command4->userClick());  // cancelled: nothing queued
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(readFile(toolsFile()), before);

  dialogs->openFileNext("C:\\WINDOWS\\say \"hi\".exe");
  ASSERT_TRUE(f->Command4->userClick());
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].title, "Tunewell Error");
  EXPECT_NE(boxes()[0].text.find("double quote"), std::string::npos) << boxes()[0].text;
  EXPECT_EQ(readFile(toolsFile()), before);

  dialogs->openFileNext("C:\\WINDOWS\\SYSTEM\\DESK.CPL");
  ASSERT_TRUE(f->Command4->userClick());
  EXPECT_EQ(readFile(toolsFile()), before + "\r\n\"DESK\",\"C:\\WINDOWS\\SYSTEM\\DESK.CPL\"\r\n");
  EXPECT_EQ(listed(), (std::vector<std::string>{"ScanDisk", "DESK"}));
  for (const auto& entry : fs::directory_iterator(t.programFolder()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary left behind: " << entry.path();
}

TEST_F(ToolsList, LaunchStartsRealProgramsThroughWineAsOneArgumentEach) {
  ScopedPath path(bin.path());
  writeFile(windows() / "REAL.Exe", std::string("MZ\x90\0", 4));
  writeFile(windows() / "SYSTEM" / "REAL.cpl", "MZ");
  writeFile(windows() / "$(touch x); `id` 'a b'.exe", "MZ");
  writeFile(windows() / "RUN.BAT", "@echo off\r\n");
  writeFile(toolsFile(),
            "\"Real\",\"C:\\WINDOWS\\REAL.Exe\"\r\n"
            "\"Applet\",\"c:\\windows\\system\\real.cpl\"\r\n"
            "\"Batch\",\"C:\\WINDOWS\\RUN.BAT\"\r\n"
            "\"Hostile\",\"C:\\WINDOWS\\$(touch x); `id` 'a b'.exe\"\r\n"
            "\"Stand-in\",\"C:\\WINDOWS\\REGEDIT.EXE\"\r\n"
            "\"\",\"C:\\WINDOWS\\REAL.Exe\"\r\n");
  start(4);
  ASSERT_EQ(listed().size(), 6u);
  const std::string prefix = "WINEPREFIX=" + (t.m.root() / ".tunewell" / "wine").string();
  const std::string wine = (bin / "wine").string();

  EXPECT_TRUE(launch(0).empty());
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first,
            (std::vector<std::string>{"env", prefix, "WINEDEBUG=-all", wine, "C:\\WINDOWS\\REAL.Exe"}));
  EXPECT_EQ(launcher->starts[0].second, shell::WindowState::NormalFocus);
  EXPECT_FALSE(f->Command2->enabled()) << "launching asks for a new pick";
  EXPECT_FALSE(f->Command5->enabled());
  EXPECT_EQ(f->Combo2->listIndex(), 0) << "the entry stays selected";

  EXPECT_TRUE(launch(1).empty());
  ASSERT_EQ(launcher->starts.size(), 2u);
  EXPECT_EQ(launcher->starts[1].first,
            (std::vector<std::string>{"env", prefix, "WINEDEBUG=-all", wine, "rundll32.exe",
                                      "shell32.dll,Control_RunDLL", "C:\\WINDOWS\\SYSTEM\\REAL.cpl"}));
  EXPECT_EQ(launcher->starts[1].second, shell::WindowState::MinimizedFocus);

  EXPECT_TRUE(launch(2).empty()) << "a batch file starts nothing";
  EXPECT_EQ(launcher->starts.size(), 2u);
  EXPECT_FALSE(f->Command2->enabled());

  EXPECT_TRUE(launch(3).empty());
  ASSERT_EQ(launcher->starts.size(), 3u);
  EXPECT_EQ(launcher->starts[2].first.back(), "C:\\WINDOWS\\$(touch x); `id` 'a b'.exe");

  EXPECT_EQ(launch(4), std::vector<ShownBox>{kNotFound}) << "a stand-in is not a Windows program";
  EXPECT_TRUE(f->Command2->enabled()) << "a failed launch leaves the buttons";
  EXPECT_TRUE(f->Command5->enabled());

  pick(5);  // no name: nothing to launch, but it can be removed
  EXPECT_FALSE(f->Command2->enabled());
  EXPECT_TRUE(f->Command5->enabled());

  fs::remove(windows() / "REAL.Exe");
  EXPECT_EQ(launch(0), std::vector<ShownBox>{kNotFound}) << "gone since the list was loaded";
  EXPECT_EQ(launcher->starts.size(), 3u);
}

TEST_F(ToolsList, WithoutWineARealProgramIsNotFound) {
  test::TempDir empty;
  ScopedPath path(empty.path());
  writeFile(windows() / "REAL.EXE", "MZ");
  writeFile(toolsFile(), "\"Real\",\"C:\\WINDOWS\\REAL.EXE\"\r\n");
  start(4);
  EXPECT_EQ(launch(0), std::vector<ShownBox>{kNotFound});
  EXPECT_TRUE(launcher->starts.empty());
}

TEST_F(ToolsList, HostileLinesAreListedAsTextOrLeftOut) {
  writeFile(windows() / "A.EXE", "MZ");
  const std::string hostile = std::string("junk \x01\xff\0,,\r\n", 11) +
                              "\"two\r\nlines\",\"C:\\WINDOWS\\A.EXE\"\r\n" +  // cannot be written back
                              "a \"quoted\" name,C:\\WINDOWS\\A.EXE\r\n" +    // neither can this
                              "\"C:\\WINDOWS\\A.EXE\"\r\n" +                   // no path
                              std::string(100000, 'x') + ",C:\\WINDOWS\\A.EXE\r\n" +
                              "\"$(touch /tmp/x)\",\"C:\\WINDOWS\\A.EXE\"";
  writeFile(toolsFile(), hostile);
  start(4);
  ASSERT_EQ(listed().size(), 2u);
  EXPECT_EQ(listed()[0], std::string(100000, 'x'));
  EXPECT_EQ(listed()[1], "$(touch /tmp/x)");
  EXPECT_TRUE(boxes().empty());
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

using test::DriverRun;

TEST_F(DriverRun, TheScriptAnswersTheOpenFileDialog) {
  ASSERT_EQ(run("tab 4\n"
                "choose cancel\n"
                "click Command4\n"
                "choose \"C:\\\\WINDOWS\\\\TASKMON.EXE\"\n"
                "answer ok\n"
                "click Command4\n"
                "print Combo2.ListCount Combo2.List\n"),
            0)
      << err;
  EXPECT_NE(out.find("MsgBox \"Tunewell Tools\" 64: \"New tool added successfully.\"\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Combo2.ListCount = 13\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\"Display Properties\", \"TASKMON\"\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace tw
