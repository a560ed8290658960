#include <sys/stat.h>

#include <string>

#include "tests/host/profile/profile_fixture.h"

namespace tw::test {
namespace {

using namespace std::string_literals;

TEST_F(ProfileTest, ReadsKeysTheWayWindowsParsesLines) {
  put("orphan=before any section\r\n"
      "[ vcache ]  ; trailing text\r\n"
      "  MinFileCache = 1024  \r\n"
      "; MaxFileCache=9\r\n"
      "NoEqualsHere\r\n"
      "Quoted=\"a b \"\r\n"
      "Single='x'\r\n"
      "Lone=\"\r\n"
      "Url=http://h/?a=b\r\n"
      "minfilecache=second\r\n"
      "[VCACHE]\r\n"
      "Other=from duplicate section\r\n"
      "[Mac]\rkey=cr only\rnext=2\r"
      "[Nul]\nv=ab\0cd\n"
      "[Long]\nv="s + std::string(300, 'v') + "\n");
  EXPECT_EQ(get("  VCache ", " minfilecache "), "1024");
  EXPECT_EQ(get("vcache", "MaxFileCache", "none"), "none");  // comment
  EXPECT_EQ(get("vcache", "NoEqualsHere", "none"), "none");  // not a key
  EXPECT_EQ(get("vcache", "Quoted"), "a b ");
  EXPECT_EQ(get("vcache", "Single"), "x");
  EXPECT_EQ(get("vcache", "Lone"), "\"");
  EXPECT_EQ(get("vcache", "Url"), "http://h/?a=b");
  EXPECT_EQ(get("vcache", "Other", "none"), "none");  // only the first section counts
  EXPECT_EQ(get("", "orphan", "none"), "none");       // lines before any section
  EXPECT_EQ(get("Mac", "next"), "2");
  EXPECT_EQ(get("Nul", "v"), "ab");
  EXPECT_EQ(get("missing", "k", "zero  "), "zero");  // trailing blanks of the default go
  EXPECT_EQ(get("vcache", "missing", nullptr), "");

  std::string buf(260, '#');
  EXPECT_EQ(profile_.GetPrivateProfileString("Long", "v", "", buf.data(), 260, "test.ini"), 259u);
  EXPECT_EQ(buf, std::string(259, 'v') + '\0');
  EXPECT_EQ(profile_.GetPrivateProfileString("Long", "v", "", buf.data(), 0, "test.ini"), 0u);
  EXPECT_EQ(buf[0], 'v');  // size 0 writes nothing
}

TEST_F(ProfileTest, ListsAreCutSoTheyStillEndInTwoNuls) {
  put("[section1]\r\nname1=val1\r\nname2=\"q\"\r\nname3\r\n;c=1\r\n\r\nname4=a\r\n[]\r\n[ section2 ]\r\n[section3]\r\n");
  std::string buf;
  auto names = [&](uint32_t size) {
    buf.assign(40, '#');
    return profile_.GetPrivateProfileSectionNames(buf.data(), size, "test.ini");
  };
  EXPECT_EQ(names(29), 27u);
  EXPECT_EQ(buf, "section1\0section2\0section3\0\0"s + std::string(12, '#'));  // the rest is left alone
  EXPECT_EQ(names(28), 26u);                                                  // an exact fit counts as cut
  EXPECT_EQ(buf.substr(0, 29), "section1\0section2\0section3\0\0#"s);
  EXPECT_EQ(names(16), 14u);
  EXPECT_EQ(buf.substr(0, 17), "section1\0secti\0\0#"s);
  EXPECT_EQ(profile_.GetPrivateProfileString(nullptr, "x", "d", buf.data(), 16, "test.ini"), 14u);
  EXPECT_EQ(profile_.GetPrivateProfileSectionNames(buf.data(), 10, "absent.ini"), 0u);
  EXPECT_EQ(buf.substr(0, 2), "\0e"s);  // an empty list is one NUL

  // The key and entry lists are cut as the names are; here what goes in them.
  EXPECT_EQ(profile_.GetPrivateProfileString("section1", nullptr, "", buf.data(), 40, "test.ini"), 18u);
  EXPECT_EQ(buf.substr(0, 19), "name1\0name2\0name4\0\0"s);
  EXPECT_EQ(get("section3", nullptr, "dflt"), "dflt");

  buf.assign(40, '#');
  EXPECT_EQ(profile_.GetPrivateProfileSection("section1", buf.data(), 40, "test.ini"), 35u);
  EXPECT_EQ(buf.substr(0, 37), "name1=val1\0name2=\"q\"\0name3\0name4=a\0\0#"s);

  // A buffer of one character holds only the terminating NUL, whatever the list.
  for (const char* section : {"section1", "absent"}) {
    buf.assign(4, '#');
    EXPECT_EQ(profile_.GetPrivateProfileString(section, nullptr, "dflt", buf.data(), 1, "test.ini"), 0u);
    EXPECT_EQ(profile_.GetPrivateProfileSection(section, buf.data(), 1, "test.ini"), 0u);
    EXPECT_EQ(buf, "\0###"s);
  }
}

TEST_F(ProfileTest, HostileFilesReadWithoutHarm) {
  put(binaryJunk() + "\n[big]\nk=" + std::string(100000, 'z') + "\n[" + std::string(100000, 'n') + "]\nx=1");
  EXPECT_EQ(get("big", "k"), std::string(259, 'z'));
  EXPECT_EQ(get(std::string(100000, 'n').c_str(), "x"), "1");
  std::string names(260, '#');
  EXPECT_EQ(profile_.GetPrivateProfileSectionNames(names.data(), 260, "test.ini"), 258u);

  // A folder or a pipe where the file should be reads as a missing file and
  // is not waited on.
  std::filesystem::create_directories(file("DIR.INI"));
  ASSERT_EQ(::mkfifo(file("PIPE.INI").c_str(), 0644), 0);
  for (const char* name : {"dir.ini", "pipe.ini"}) {
    EXPECT_EQ(get("a", "b", "d", 260, name), "d");
    EXPECT_FALSE(profile_.WritePrivateProfileString("a", "b", "c", name));
  }
}

}  // namespace
}  // namespace tw::test
