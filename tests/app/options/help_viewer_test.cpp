// The Help tab on the models: the start page, the contents page after a
// failed navigation, the credit line, and which local page an online
// address names.

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/options/online_help.h"
#include "tests/app/tuner_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::MainWindow;

TEST_F(MainWindow, TheHelpTabShowsTheStartPageAndFallsBackToTheContents) {
  const std::string help = "C:\\Program Files\\Tunewell\\Help\\";
  tab(6);
  EXPECT_EQ(f.Web->pendingURL(), help + "Main.html");
  f.Web->navigationCompleted(f.Web->pendingURL());

  EXPECT_FALSE(f.Web->navigationFailed("http://www.brightfen.example/Twhelp/Tweaks.html", 0));
  EXPECT_EQ(f.Web->pendingURL(), help + "Contents.html") << "the failed navigation is not cancelled";
  // The contents page failing itself is not tried again and again.
  f.Web->navigationFailed(help + "Contents.html", 404);
  EXPECT_EQ(f.Web->pendingURL(), "");

  fs::remove(t.programFolder() / "Help" / "Contents.html");
  f.Web->navigationFailed("http://www.brightfen.example/Twhelp/Tweaks.html", 0);
  EXPECT_EQ(f.Web->pendingURL(), "") << "the browser keeps its own error page";

  // Without the start page the tab opens nothing.
  f.Web->navigationCompleted("about:blank");
  fs::remove(t.programFolder() / "Help" / "Main.html");
  tab(1);
  tab(6);
  EXPECT_FALSE(f.Web->busy());
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

TEST_F(MainWindow, TheCreditLineOpensOurPageInTheBrowser) {
  auto launcher = std::make_shared<test::RecordingLauncher>();
  t.platform->setLauncher(launcher);
  tab(6);
  ASSERT_TRUE(f.Label29->userClick());
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first, (std::vector<std::string>{"xdg-open", app::kCreditPage}));
}

TEST(OnlineHelpAddress, ThePageNameComesFromThePathAlone) {
  using app::helpPageName;
  EXPECT_EQ(helpPageName("http://h/Twhelp/Main.html"), "Main.html");
  EXPECT_EQ(helpPageName("http://h/Twhelp/sub/Tweaks.html?x=/../../y#top"), "Tweaks.html");
  EXPECT_EQ(helpPageName("http://h/Twhelp/My%20Page.html"), "My Page.html");
  EXPECT_EQ(helpPageName("http://h/Twhelp/100%.html"), "100%.html") << "a lone % is a character";
  for (const char* bad : {"http://h/Twhelp/", "http://h", "http://h/Twhelp/..", "http://h/Twhelp/%2e%2E",
                          "http://h/Twhelp/..%2F..%2Fx.html", "http://h/Twhelp/a%5Cb.html", "http://h/Twhelp/..\\x.html",
                          "http://h/Twhelp/C:x.html", "http://h/Twhelp/a%00b.html", "http://h/Twhelp/. .",
                          "http://h/Twhelp/x.html/"})
    EXPECT_EQ(helpPageName(bad), std::nullopt) << bad;
}

TEST(OnlineHelpAddress, TheBaseCanBeMovedForTests) {
  test::TestMachine m;
  unsetenv("TUNEWELL_HELP_URL");
  EXPECT_EQ(app::onlineHelpBase(m.host->machine()), app::kOnlineHelpBase);
  const fs::path description = m.root() / ".tunewell" / "machine.ini";
  test::writeFile(description, test::readFile(description) + "OnlineHelp=http://10.0.0.1/Twhelp/\r\n");
  EXPECT_EQ(app::onlineHelpBase(m.host->machine()), "http://10.0.0.1/Twhelp/");
  setenv("TUNEWELL_HELP_URL", "ftp://not-http/Twhelp/", 1);
  EXPECT_EQ(app::onlineHelpBase(m.host->machine()), "http://10.0.0.1/Twhelp/") << "an unusable override is passed over";
  setenv("TUNEWELL_HELP_URL", "http://127.0.0.1:8080/Twhelp/", 1);
  EXPECT_EQ(app::onlineHelpBase(m.host->machine()), "http://127.0.0.1:8080/Twhelp/");
  unsetenv("TUNEWELL_HELP_URL");
}

}  // namespace
}  // namespace tw
