// The program as it starts: the splash window loads the main window, then
// shows its picture for three seconds or the main window at once; a second
// copy shows nothing.

#include <gtest/gtest.h>

#include "app/startup/program.h"
#include "host/shell/instance.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

struct TunerSplash : ::testing::Test {
  test::TunerMachine t;

  std::unique_ptr<app::TunerProgram> start(const std::string& commandLine) {
    auto program = std::make_unique<app::TunerProgram>(*t.m.host, t.env, commandLine, t.runtime.path());
    program->start();
    return program;
  }
};

TEST_F(TunerSplash, ThePictureShowsForThreeSecondsAfterStartUp) {
  auto p = start("/ns");  // another case is no switch
  EXPECT_TRUE(p->splash().visible());
  EXPECT_FALSE(p->main().visible());
  EXPECT_TRUE(p->main().loaded()) << "start-up has run before the picture shows";
  t.env.advance(2999);
  EXPECT_FALSE(p->main().visible());
  t.env.advance(1);
  EXPECT_TRUE(p->main().visible());
  EXPECT_FALSE(p->splash().loaded());
  EXPECT_FALSE(p->finished());
}

TEST_F(TunerSplash, TheSwitchAloneOrTheOptionShowTheMainWindowAtOnce) {
  auto p = start("/Ns x");  // among other arguments the switch does not count
  EXPECT_TRUE(p->splash().visible());
  EXPECT_FALSE(p->main().visible());
  p.reset();
  p = start("/Ns");
  EXPECT_TRUE(p->main().visible());
  EXPECT_FALSE(p->splash().loaded());
  p->main().cEx->userClick();
  EXPECT_TRUE(p->finished()) << "closing the main window finishes the program";

  // "Disable splash" was checked at the last exit; an unreadable View waits.
  test::writeFile(t.programFolder() / "Settings.1st", "");
  for (const char* view : {"1", "often"}) {
    t.setPref("View", view);
    p.reset();
    p = start("");
    if (view[0] == '1') {
      EXPECT_TRUE(p->main().visible());
      EXPECT_FALSE(p->splash().visible());
    }
    t.env.advance(3000);
    EXPECT_TRUE(p->main().visible()) << view;
  }
}

TEST_F(TunerSplash, ASecondCopyShowsNothingAndIsFinished) {
  shell::InstanceLock first(t.runtime.path(), shell::InstanceLock::nameFor("tunewell", t.m.root()));
  ASSERT_TRUE(first.held());
  auto p = start("");
  EXPECT_TRUE(p->finished());
  EXPECT_FALSE(p->main().visible());
  EXPECT_FALSE(p->splash().visible());
  t.env.advance(5000);
  EXPECT_FALSE(p->main().visible());
}

TEST(TunerProgramArgs, TheMachineOptionIsTakenOffTheCommandLine) {
  auto a = app::takeProgramArgs({"--machine", "/srv/win98", "/Ns"});
  EXPECT_EQ(a.machineRoot, "/srv/win98");
  EXPECT_EQ(a.commandLine, "/Ns");
  a = app::takeProgramArgs({"/Ns", "--machine=/srv/win98", "more"});
  EXPECT_EQ(a.machineRoot, "/srv/win98");
  EXPECT_EQ(a.commandLine, "/Ns more");
}

}  // namespace
}  // namespace tw
