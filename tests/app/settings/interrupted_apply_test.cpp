// An apply killed between two of its writes: every INI file, the snapshot
// and the hive still open and read back, each value either as it was or as
// the apply meant it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/settings/snapshot.h"
#include "host/registry/regfile.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using namespace std::chrono_literals;

// The child: a tuner on the same machine applying two alternating sets of
// values for as long as it is let live.  It tells the parent when start-up
// is over, so that the kill falls among the writes of an apply.
[[noreturn]] void applyForever(const std::filesystem::path& root, int ready) {
  try {
    auto platform = std::make_shared<sys::Platform>();
    platform->setMemory(std::make_shared<test::FixedMemory>(64ull << 20));
    Host host(root, std::make_shared<ScriptedDialogs>(), platform);
    forms::ManualEnvironment env;
    app::Form1 form(app::TunerContext{host, &env, false, nullptr, ""});
    form.load();
    const char byte = 1;
    if (write(ready, &byte, 1) != 1) _exit(3);
    for (int32_t round = 0;; ++round) {
      form.PendingSettings.MinFileCache = round % 2 ? 4096 : 8192;
      form.PendingSettings.CPUPriority = round % 2 ? 1 : 3;
      form.PendingSettings.COM1 = round % 2 ? "115200,n,8,1,p" : "9600,n,8,1,x";
      form.ApplySets();
    }
  } catch (...) {
    _exit(2);
  }
}

TEST(InterruptedApply, EveryStoreReadsBackWhereverTheProcessDies) {
  test::TunerMachine t;
  t.runProcedures = true;
  t.start();
  t.form.reset();
  const std::filesystem::path root = t.m.root();
  const CodePage& cp = t.m.host->machine().codePage();

  for (int round = 0; round < 8; ++round) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      applyForever(root, pipeFds[1]);
    }
    close(pipeFds[1]);
    char byte = 0;
    ASSERT_EQ(read(pipeFds[0], &byte, 1), 1) << "the child did not start";
    close(pipeFds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(3 + 7 * round));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself, status " << status;

    // A new program on the machine: the hive opens, every setting reads.
    auto dialogs = std::make_shared<ScriptedDialogs>();
    Host host(root, dialogs, std::make_shared<sys::Platform>());
    Plinth plinth(host);
    app::PendingRecord record;
    for (const auto& s : app::catalogue::settings())
      EXPECT_NO_THROW(app::catalogue::read(plinth, s, record)) << s.field;
    // Absent until the first apply gets that far.
    EXPECT_TRUE(record.MinFileCache == 0 || record.MinFileCache == 4096 || record.MinFileCache == 8192)
        << record.MinFileCache;
    EXPECT_TRUE(record.CPUPriority == 1 || record.CPUPriority == 3) << record.CPUPriority;
    EXPECT_TRUE(record.COM1 == "115200,n,8,1,p" || record.COM1 == "9600,n,8,1,x") << record.COM1;
    EXPECT_NO_THROW(reg::exportRegText(host.registry(), "HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(dialogs->shown().empty()) << "the library reported a failure";

    // Whole files: each still ends its last line, and the snapshot reads.
    for (const char* file : {"SYSTEM.INI", "WIN.INI"}) {
      const std::string text = test::readFile(t.m.windows() / file);
      EXPECT_TRUE(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) << file;
    }
    EXPECT_NO_THROW(app::snapshot::read(t.programFolder() / "Settings.tmp", cp));
  }
}

}  // namespace
}  // namespace tw
