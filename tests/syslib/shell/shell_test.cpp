// The shell helpers: version names, the computer's name, opening a site and
// the restart prompt.

#include <gtest/gtest.h>

#include "host/shell/shell.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/recording_launcher.h"

namespace tw {
namespace {

class Shell : public ::testing::Test {
 protected:
  test::TestMachine m;
  std::shared_ptr<sys::Platform> platform = std::make_shared<sys::Platform>();
  std::shared_ptr<test::RecordingLauncher> launcher = std::make_shared<test::RecordingLauncher>();
  std::unique_ptr<Plinth> p;

  void SetUp() override {
    platform->setLauncher(launcher);
    m.host->setPlatform(platform);
    p = std::make_unique<Plinth>(*m.host);
  }

  const std::vector<ShownBox>& boxes() const { return m.dialogs->shown(); }
};

TEST_F(Shell, OnlyWindows9xVersionsAreSupported) {
  const std::pair<WindowsVersion, const char*> cases[] = {
      {{4, 0, 2222, 1, ""}, "Windows 95"}, {{4, 10, 2222, 1, ""}, "Windows 98"}, {{4, 90, 2222, 1, ""}, "Windows 98"},
      {{4, 0, 2222, 2, ""}, "Shutdown"},  {{5, 0, 2222, 2, ""}, "Shutdown"},    {{3, 10, 2222, 1, ""}, "Shutdown"},
  };
  for (const auto& [v, name] : cases) {
    platform->setVersion(v);
    EXPECT_EQ(p->OSVersion(), name) << v.major << "." << v.minor << " platform " << v.platform;
  }
}

TEST_F(Shell, TheComputerNameComesBackWithoutPadding) {
  platform->setComputerName("ABCDEFGHIJKLMNOPQRST");  // longer than a NetBIOS name
  EXPECT_EQ(p->GetPCname(), "ABCDEFGHIJKLMNO");
  platform->setComputerName("CAF\xC9");  // ANSI
  EXPECT_EQ(p->GetPCname(), "CAF\xC3\x89");
}

TEST_F(Shell, ASiteGoesToTheDesktopsOpenerAsOneArgumentAndAMachinePathAsTheMachinesFile) {
  p->OpenSite("http://example.org/a b;c&d");
  ASSERT_EQ(launcher->starts.size(), 1u);
  EXPECT_EQ(launcher->starts[0].first, (std::vector<std::string>{"xdg-open", "http://example.org/a b;c&d"}));
  EXPECT_TRUE(boxes().empty());

  // A machine path opens the machine's file.
  test::writeFile(m.windows() / "README.TXT", "x");
  p->OpenSite("C:\\Windows\\readme.txt");
  ASSERT_EQ(launcher->starts.size(), 2u);
  EXPECT_EQ(launcher->starts[1].first.at(1), (m.windows() / "README.TXT").string());

  // A file the machine does not have is not handed to the opener at all.
  p->OpenSite("C:\\WINDOWS\\missing.htm");
  EXPECT_EQ(launcher->starts.size(), 2u);
  ASSERT_EQ(boxes().size(), 1u);
}

TEST_F(Shell, ASiteThatCannotBeOpenedIsReportedOnce) {
  const ShownBox expected{"Error: site could not be opened", 48, "Plinth"};
  launcher->answer = {shell::LaunchResult::Status::Exited, 3};  // the opener found no handler
  p->OpenSite("foo://bar");
  EXPECT_EQ(boxes(), std::vector<ShownBox>{expected});

  launcher->answer = {shell::LaunchResult::Status::NotStarted, 0};  // no opener installed
  p->OpenSite("http://example.org/");
  EXPECT_EQ(boxes(), (std::vector<ShownBox>{expected, expected}));

  // An opener still busy after its grace period has started the browser.
  launcher->answer = {shell::LaunchResult::Status::Running, 0};
  p->OpenSite("http://example.org/");
  EXPECT_EQ(boxes().size(), 2u);
}

// The prompt's text, buttons and title are the tuner's and the Uninstaller's
// end-to-end tests'; here the reason put before it, which passes through the
// ANSI code page: the euro sign is there, the ideograph is not.
TEST_F(Shell, TheRestartPromptTakesItsReasonInTheCodePageAndReturnsTheAnswer) {
  m.dialogs->answerNext(6);
  EXPECT_EQ(p->ExitWindowsMsgBox(2, 0, "New settings \xE2\x82\xAC \xE4\xB8\x80. "), 6);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, "New settings \xE2\x82\xAC ?. Do you want to restart your computer now?");
}

}  // namespace
}  // namespace tw
