// The online help keeping the local pages current, fetched with Qt Network
// from a server of the test's own on 127.0.0.1.

#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "app/startup/program.h"
#include "tests/support/fixed_platform.h"
#include "tests/support/machine_fixture.h"
#include "tests/ui/qt/local_http_server.h"
#include "tests/ui/qt/qt_app.h"
#include "ui/qt/qt_downloader.h"

namespace tw::qt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::readFile;

// Every file of the machine's drive with its contents, but the hive's folder.
std::map<std::string, std::string> driveFiles(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).string();
    if (rel.rfind(".tunewell", 0) == 0 || !e.is_regular_file()) continue;
    files[rel] = readFile(e.path());
  }
  return files;
}

struct OnlineHelp : ::testing::Test {
  QApplication& app = test::qtApp();
  test::TestMachine machine{false};
  test::TempDir runtime;
  QtEnvironment environment;
  QtDownloader downloader;
  std::unique_ptr<test::LocalHttpServer> server;
  std::unique_ptr<app::TunerProgram> program;
  app::Form1* f = nullptr;
  std::string base;

  void serve(std::map<std::string, std::string> pages, bool silent = false) {
    server = std::make_unique<test::LocalHttpServer>(std::move(pages), silent);
    base = server->origin() + "/Twhelp/";
    setenv("TUNEWELL_HELP_URL", base.c_str(), 1);
    machine.host->setPlatform(test::fixedPlatform(std::make_shared<test::FixedFigures>()));
    program = std::make_unique<app::TunerProgram>(*machine.host, environment, "/Ns", runtime.path());
    program->start();
    ASSERT_FALSE(program->finished());
    f = &program->main();
    f->Inet1.setDownloader(&downloader);
    f->AutoUpdate = 1;
    machine.dialogs->clear();
  }
  ~OnlineHelp() override { unsetenv("TUNEWELL_HELP_URL"); }

  fs::path help() const { return machine.root() / "Program Files" / "Tunewell" / "Help"; }
  // The browser has shown the page at `address`.
  void shown(const std::string& address) { f->Web->navigationCompleted(address); }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const ShownBox& b : machine.dialogs->shown()) texts.push_back(b.text + " | " + b.title);
    return texts;
  }
};

TEST_F(OnlineHelp, AMatchingPageReplacesTheLocalOneOnlyWhenAutoUpdateIsOn) {
  serve({{"/Twhelp/Main.html", "<html>new main</html>"}, {"/Twhelp/Other.html", "<html>other</html>"}});
  const auto before = driveFiles(machine.root());

  f->AutoUpdate = 0;
  shown(base + "Main.html");
  EXPECT_EQ(driveFiles(machine.root()), before) << "auto-update off writes nothing";

  f->AutoUpdate = 1;
  shown(base + "Other.html");
  shown(base.substr(0, base.size() - 7) + "TWHELP/Main.html");  // the path in other letters
  shown("HTTP" + base.substr(4) + "Main.html");                 // the scheme in other letters
  shown("http://elsewhere.invalid/x?from=" + base + "Main.html");  // holds the base, starts elsewhere
  EXPECT_EQ(driveFiles(machine.root()), before) << "no local page of that name, or not online help";
  EXPECT_TRUE(server->requests().empty()) << "nothing to replace: nothing is downloaded";

  shown(base + "Main.html");
  EXPECT_EQ(readFile(help() / "Main.html"), "<html>new main</html>");
  EXPECT_EQ(f->Inet1.url(), base + "Main.html");
  EXPECT_TRUE(boxTexts().empty());
  auto after = driveFiles(machine.root());
  after.erase("Program Files/Tunewell/Help/Main.html");
  auto expected = before;
  expected.erase("Program Files/Tunewell/Help/Main.html");
  EXPECT_EQ(after, expected) << "only the page was written, and no temporary is left";
}

TEST_F(OnlineHelp, NoAddressWritesOutsideTheHelpFolderOrAddsAFile) {
  serve({{"/Twhelp/..%2F..%2FTools.txt", "evil"},
         {"/Twhelp/..%2FTools.txt", "evil"},
         {"/Twhelp/%5C..%5CTools.txt", "evil"},
         {"/Twhelp/..\\Tools.txt", "evil"},
         {"/Twhelp/Main.html?x=/../../y", "<html>query</html>"},
         {"/Twhelp/..", "evil"},
         {"/Twhelp/%2E%2E", "evil"}});
  const auto before = driveFiles(machine.root());
  for (const char* path : {"..%2F..%2FTools.txt", "..%2FTools.txt", "%5C..%5CTools.txt", "..\\Tools.txt", "..",
                           "%2E%2E", "", "Main.html#../../Tools.txt/"})
    shown(base + path);
  EXPECT_EQ(driveFiles(machine.root()), before) << boxTexts().size();

  // The name comes from the path alone: the query does not lead anywhere.
  shown(base + "Main.html?x=/../../y");
  auto expected = before;
  expected["Program Files/Tunewell/Help/Main.html"] = "<html>query</html>";
  EXPECT_EQ(driveFiles(machine.root()), expected);
}

TEST_F(OnlineHelp, AFailedOrEmptyDownloadKeepsThePage) {
  serve({{"/Twhelp/Contents.html", ""}});
  const std::string main = readFile(help() / "Main.html");
  const std::string contents = readFile(help() / "Contents.html");
  shown(base + "Main.html");  // 404
  shown(base + "Contents.html");  // an empty answer
  EXPECT_EQ(readFile(help() / "Main.html"), main);
  EXPECT_EQ(readFile(help() / "Contents.html"), contents);
  EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                            "35765 The server answered with status 404 in Form1.Web_NavigateComplete2 | Error"}));
}

TEST_F(OnlineHelp, AServerThatNeverAnswersEndsAtTheTimeLimit) {
  serve({}, true);
  f->Inet1.setRequestTimeout(300ms);
  const std::string main = readFile(help() / "Main.html");
  shown(base + "Main.html");  // returns: the CTest time limit would catch a wait for ever
  EXPECT_EQ(boxTexts(), (std::vector<std::string>{"35761 Request timed out in Form1.Web_NavigateComplete2 | Error"}));
  EXPECT_EQ(readFile(help() / "Main.html"), main);
  EXPECT_EQ(server->requests().size(), 1u);
}

}  // namespace
}  // namespace tw::qt
