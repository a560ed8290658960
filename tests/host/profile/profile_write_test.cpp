#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <string>

#include "tests/host/profile/profile_fixture.h"
#include "tests/support/child_process.h"

namespace tw::test {
namespace {

using namespace std::string_literals;

// Hand-made text with what a rewrite tends to lose: comments, odd spacing,
// LF-only and CR-only line ends, a NUL, no final newline.
const std::string kHandMade =
    "; top comment\r\n[386Enh]\ndevice=*vmm\r\n  Device = second \r\nPagingDrive=C:\r\r\n; leads on\r\n"
    "[vcache]\r\nMinFileCache=512\r\nodd\0byte=1\r\n[last]\r\nk=v"s;

TEST_F(ProfileTest, WritesTouchOnlyTheirOwnLine) {
  put(kHandMade);
  std::string expected = kHandMade;
  EXPECT_TRUE(profile_.WritePrivateProfileString("386enh", "DEVICE", "x.vxd", "TEST.INI"));
  expected.replace(expected.find("device=*vmm"), 11, "device=x.vxd");  // first match, spelling kept
  EXPECT_EQ(contents(), expected);

  // A new key follows the section's last key, before the lines that lead on.
  EXPECT_TRUE(profile_.WritePrivateProfileString("386Enh", "Added", "1", "TEST.INI"));
  expected.insert(expected.find("PagingDrive=C:\r") + 15, "Added=1\r\n");
  EXPECT_EQ(contents(), expected);

  EXPECT_TRUE(profile_.WritePrivateProfileString("last", "k", "w", "TEST.INI"));
  expected.back() = 'w';  // still no final newline
  EXPECT_EQ(contents(), expected);
  EXPECT_TRUE(profile_.WritePrivateProfileString("last", "k2", "2", "TEST.INI"));
  EXPECT_TRUE(profile_.WritePrivateProfileSection("new", "p=1\0q=2\0"s.c_str(), "TEST.INI"));
  EXPECT_EQ(contents(), expected + "\r\nk2=2\r\n[new]\r\np=1\r\nq=2\r\n");

  put(binaryJunk() + "\n[s]\nk=" + std::string(100000, 'z') + "\nx=1\n" + binaryJunk());
  EXPECT_TRUE(profile_.WritePrivateProfileString("s", "k", "short", "TEST.INI"));
  EXPECT_EQ(contents(), binaryJunk() + "\n[s]\nk=short\nx=1\n" + binaryJunk());
}

TEST_F(ProfileTest, WritingWhatIsThereLeavesTheFileAlone) {
  put("[s]\r\n  k =  same \r\n");
  struct stat before {}, after {};
  ::stat(file().c_str(), &before);
  EXPECT_TRUE(profile_.WritePrivateProfileString("s", "k", "same", "TEST.INI"));
  EXPECT_TRUE(profile_.WritePrivateProfileString("s", "gone", nullptr, "TEST.INI"));
  EXPECT_TRUE(profile_.WritePrivateProfileString("nothere", nullptr, nullptr, "TEST.INI"));
  ::stat(file().c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced
  EXPECT_TRUE(profile_.WritePrivateProfileString("s", nullptr, nullptr, "ABSENT.INI"));
  EXPECT_FALSE(std::filesystem::exists(file("ABSENT.INI")));
}

TEST_F(ProfileTest, DeletingKeysAndSections) {
  put("[A]\r\nk=1\r\nK=2\r\n[B]\r\nb=1\r\n\r\n[a]\r\nk=3\r\n[C]\r\nc=1");
  EXPECT_TRUE(profile_.WritePrivateProfileString("a", "k", nullptr, "TEST.INI"));
  EXPECT_EQ(contents(), "[A]\r\nK=2\r\n[B]\r\nb=1\r\n\r\n[a]\r\nk=3\r\n[C]\r\nc=1");
  // Every section of the name goes, so that the name leaves the list.
  EXPECT_TRUE(profile_.WritePrivateProfileString("A", nullptr, "ignored", "TEST.INI"));
  EXPECT_EQ(contents(), "[B]\r\nb=1\r\n\r\n[C]\r\nc=1");
  EXPECT_TRUE(profile_.WritePrivateProfileSection("c", nullptr, "TEST.INI"));
  EXPECT_EQ(contents(), "[B]\r\nb=1\r\n\r\n");
}

TEST_F(ProfileTest, WritingASectionReplacesItsLines) {
  put("[Pre]\r\nx=1\r\n[Custom]\r\nMin=1\r\n; note\r\nMax=2\r\n\r\n[Post]\r\ny=2\r\n");
  EXPECT_TRUE(profile_.WritePrivateProfileSection("custom", "Min=5\0Max=6\0"s.c_str(), "TEST.INI"));
  EXPECT_EQ(contents(), "[Pre]\r\nx=1\r\n[Custom]\r\nMin=5\r\nMax=6\r\n\r\n[Post]\r\ny=2\r\n");
  EXPECT_TRUE(profile_.WritePrivateProfileSection("Custom", "", "TEST.INI"));
  EXPECT_EQ(contents(), "[Pre]\r\nx=1\r\n[Custom]\r\n\r\n[Post]\r\ny=2\r\n");
  EXPECT_TRUE(profile_.WritePrivateProfileString("Custom", "k", "v", "TEST.INI"));  // right after the header
  EXPECT_EQ(contents(), "[Pre]\r\nx=1\r\n[Custom]\r\nk=v\r\n\r\n[Post]\r\ny=2\r\n");
  EXPECT_TRUE(profile_.WritePrivateProfileString("App", "key", "", "NEW.INI"));
  EXPECT_EQ(contents("NEW.INI"), "[App]\r\nkey=\r\n");
}

TEST_F(ProfileTest, RefusedWritesLeaveTheFileAsItWas) {
  put(kHandMade);
  EXPECT_FALSE(profile_.WritePrivateProfileString(nullptr, "k", "v", "TEST.INI"));
  // Text that would not read back as written, or would forge other lines.
  EXPECT_FALSE(profile_.WritePrivateProfileString("vcache", "k", "1\r\n[evil]\r\nx=1", "TEST.INI"));
  EXPECT_FALSE(profile_.WritePrivateProfileString("a]b", "k", "v", "TEST.INI"));
  EXPECT_FALSE(profile_.WritePrivateProfileString("vcache", "a=b", "v", "TEST.INI"));
  EXPECT_FALSE(profile_.WritePrivateProfileString("vcache", "[k", "]", "TEST.INI"));
  EXPECT_FALSE(profile_.WritePrivateProfileSection("vcache", "a=1\0[evil]\0"s.c_str(), "TEST.INI"));
  ::chmod(file().c_str(), 0444);
  EXPECT_FALSE(profile_.WritePrivateProfileString("vcache", "k", "v", "TEST.INI"));
  EXPECT_EQ(contents(), kHandMade);
  EXPECT_FALSE(profile_.WritePrivateProfileString("s", "k", "v", "C:\\NoSuchFolder\\X.INI"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "NoSuchFolder"));
}

TEST_F(ProfileTest, TwoProcessesWritingAtOnceLoseNothing) {
  put("[s]\r\n");
  auto key = [](int c, int i) { return "p" + std::to_string(c) + "k" + std::to_string(i); };
  auto writer = [&](int c) {
    return spawn([&, c] {
      bool ok = true;
      for (int i = 0; i < 200; ++i)
        ok = profile_.WritePrivateProfileString("s", key(c, i).c_str(), std::to_string(i).c_str(), "TEST.INI") && ok;
      return ok ? 0 : 1;
    });
  };
  const pid_t first = writer(0), second = writer(1);
  EXPECT_EQ(waitFor(first), 0);
  EXPECT_EQ(waitFor(second), 0);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 200; ++i) ASSERT_EQ(get("s", key(c, i).c_str(), "lost"), std::to_string(i)) << key(c, i);
}

TEST_F(ProfileTest, LeftoversOfKilledWritesAreClearedByTheNextWriteAndLiveOnesKept) {
  put("[s]\r\n");
  const auto leftover = file(".TEST.INI.tmp123456");
  writeFile(leftover, "[s]\r\nhalf");
  // Names that only look alike are somebody else's files.
  for (const char* name : {".TEST.INI.tmp", "TEST.INI.tmp7", ".notes.tmpx", ".tmp9"}) writeFile(file(name), "keep");

  // A writer in the middle of its write: it holds its temporary's lock.
  const auto live = file(".OTHER.INI.tmp42");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t writer = spawn([&] {
    const int fd = ::open(live.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(fd, "[o]", 3) != 3 || ::write(ready[1], "!", 1) != 1) return 1;
    ::pause();
    return 0;
  });
  // Only the writer holds the pipe's writing end, so a writer that fails
  // before it is ready ends the read instead of leaving it waiting.
  ::close(ready[1]);
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the writer failed: " << waitFor(writer);

  EXPECT_TRUE(profile_.WritePrivateProfileString("s", "k", "1", "TEST.INI"));
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_TRUE(std::filesystem::exists(live));
  for (const char* name : {".TEST.INI.tmp", "TEST.INI.tmp7", ".notes.tmpx", ".tmp9"}) EXPECT_EQ(contents(name), "keep");

  ::kill(writer, SIGKILL);
  ASSERT_EQ(waitFor(writer), 100 + SIGKILL);
  ::close(ready[0]);
  EXPECT_TRUE(profile_.WritePrivateProfileString("s", "k", "2", "TEST.INI"));
  EXPECT_FALSE(std::filesystem::exists(live));
  EXPECT_EQ(contents(), "[s]\r\nk=2\r\n");
}

}  // namespace
}  // namespace tw::test
