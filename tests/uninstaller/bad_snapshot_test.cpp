// A Settings.1st that cannot be read whole restores nothing: the box says
// which file, which line and what is wrong, and every store and the file
// itself stay as they were.

#include <gtest/gtest.h>

#include "host/runtime/codepage.h"
#include "tests/uninstaller/uninstaller_fixture.h"

namespace tw {
namespace {

struct BadSnapshot : test::Uninstalling {
  std::string good;
  void SetUp() override {
    tunerHasRun();
    app::PendingRecord r;
    r.MinFileCache = 2048;
    good = app::snapshot::format(r, m.host->machine().codePage());
  }

  // Runs "/Un" on `bytes` and returns the text of the box that reports them.
  std::string restoreFrom(const std::string& bytes) {
    test::writeFile(programFolder() / "Settings.1st", bytes);
    const std::string before = state();
    run("/Un");
    EXPECT_EQ(state(), before);
    EXPECT_EQ(test::readFile(programFolder() / "Settings.1st"), bytes);
    EXPECT_EQ(titles(), (std::vector<std::string>{"Tunewell Restore", "Tunewell Restore", "System Settings Change"}));
    if (m.dialogs->shown().size() < 2) return "";
    EXPECT_EQ(m.dialogs->shown()[1].style, 16);
    return m.dialogs->shown()[1].text;
  }
};

const std::string kFile = "C:\\Program Files\\Tunewell\\Settings.1st";

std::string firstLines(const std::string& text, int n) {
  size_t at = 0;
  for (int i = 0; i < n; ++i) at = text.find("\r\n", at) + 2;
  return text.substr(0, at);
}

TEST_F(BadSnapshot, TooFewLinesAndACutOffFileAreReportedWithTheirLine) {
  EXPECT_EQ(restoreFrom(firstLines(good, 29)),
            kFile + ", line 30: the snapshot ends after 29 of its 30 items. Nothing was restored.");
  // Cut inside item 3's quoted text.
  const std::string cut = firstLines(good, 3) + "\"Ser";
  EXPECT_EQ(restoreFrom(cut), kFile + ", line 4: a quoted text is not closed. Nothing was restored.");
}

TEST_F(BadSnapshot, GarbageAndTextThatIsNotAnsiAreReported) {
  std::string garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 73 + 11) % 256);
  EXPECT_NE(restoreFrom(garbage).find(kFile + ", line "), std::string::npos);

  // The same snapshot in UTF-16: its first item is no number.
  std::string wide;
  for (char c : good) wide += std::string{c, '\0'};
  EXPECT_NE(restoreFrom("\xFF\xFE" + wide).find(kFile + ", line 1: item 0 (MinFileCache) is not a number"),
            std::string::npos);

  // A port text holding a byte the code page does not have, a NUL, a line
  // break: none of them could be read back from Win.ini as written.
  for (const std::string& bad : {std::string("96\x81") + "00", std::string("96\0" "00", 5), std::string("96\r\n00")}) {
    std::string text = good;
    const size_t com1 = text.find("\"9600,n,8,1,x\"");
    text.replace(com1 + 1, 4, bad);
    EXPECT_EQ(restoreFrom(text),
              kFile + ", line 20: item 19 (COM1) holds a character that is not ANSI text. Nothing was restored.");
  }
}

}  // namespace
}  // namespace tw
