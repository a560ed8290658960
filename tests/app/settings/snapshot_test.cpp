// The snapshot file: its exact bytes, reading back item for item, and the
// refusal of a damaged file saying where and what.

#include <gtest/gtest.h>

#include "app/settings/snapshot.h"
#include "host/runtime/codepage.h"
#include "tests/support/temp_dir.h"

namespace tw {
namespace {

namespace snapshot = app::snapshot;
const CodePage kAnsi{1252};

TEST(SettingsSnapshot, WritesNumbersBareAndTextsQuotedAndReadsEveryItemBack) {
  const std::string defaults = snapshot::format(app::PendingRecord{}, kAnsi);
  EXPECT_EQ(defaults,
            "0\r\n0\r\n0\r\n\"\"\r\n0\r\n0\r\n3\r\n3\r\n3\r\n3\r\n0\r\n0\r\n512\r\n0\r\n0\r\n619\r\n228\r\n2\r\n4\r\n"
            "\"9600,n,8,1,x\"\r\n\"9600,n,8,1,x\"\r\n\"9600,n,8,1,x\"\r\n\"9600,n,8,1,x\"\r\n"
            "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\"0\"\r\n");

  app::PendingRecord r;
  r.ReadAheadThreshold = -1;
  r.COM3 = " 2400 , e,7,1 ";
  r.COM4 = "caf\xc3\xa9";  // one ANSI byte in the file
  r.TaskMonitor = "\"C:\\Program Files\\Task Mon\\tm.exe\" /q, /r";
  test::TempDir dir;
  snapshot::write(dir / "Settings.1st", r, kAnsi);
  EXPECT_NE(test::readFile(dir / "Settings.1st").find("\r\n\"caf\xe9\"\r\n"), std::string::npos);
  const auto items = snapshot::read(dir / "Settings.1st", kAnsi);
  for (const auto& s : app::catalogue::settings()) {
    const auto v = app::catalogue::value(r, s);
    const auto* n = std::get_if<int32_t>(&v);
    EXPECT_EQ(items[static_cast<size_t>(s.item)], n ? std::to_string(*n) : std::get<std::string>(v)) << s.field;
  }
}

TEST(SettingsSnapshot, ADamagedFileIsRefusedSayingWhereAndWhatAndIsKept) {
  const std::string good = snapshot::format(app::PendingRecord{}, kAnsi);
  auto withLine = [&](int line, const std::string& text) {
    size_t begin = 0;
    for (int i = 1; i < line; ++i) begin = good.find("\r\n", begin) + 2;
    return good.substr(0, begin) + text + good.substr(good.find("\r\n", begin));
  };
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {good.substr(0, good.find("\"9600")), 20, "the snapshot ends after 19 of its 30 items"},
      {withLine(13, "abc"), 13, "item 12 (ContigFileAllocSize) is not a number: \"abc\""},
      {withLine(1, ""), 1, "item 0 (MinFileCache) is not a number: \"\""},
      {withLine(20, "\"9600,n,8,1,x"), 20, "a quoted text is not closed"},
      {withLine(20, "\"9600\",n,8,1,x"), 20, "text after the closing quote"},
      {withLine(7, "3,3"), 7, "more than one item on the line of item 6"},
      {good + "0\r\n", 31, "more than 30 items"},
  };
  for (const auto& [text, line, problem] : cases) {
    try {
      snapshot::parse(text, kAnsi);
      ADD_FAILURE() << "accepted: " << problem;
    } catch (const snapshot::SnapshotError& e) {
      EXPECT_EQ(e.line(), line) << problem;
      EXPECT_EQ(e.problem(), problem);
    }
  }
  test::TempDir dir;
  test::writeFile(dir / "Settings.tmp", std::get<0>(cases[0]));
  try {
    snapshot::read(dir / "Settings.tmp", kAnsi);
    ADD_FAILURE() << "a cut file was read";
  } catch (const snapshot::SnapshotError& e) {
    EXPECT_STREQ(e.what(), "Settings.tmp, line 20: the snapshot ends after 19 of its 30 items");
  }
  EXPECT_EQ(test::readFile(dir / "Settings.tmp"), std::get<0>(cases[0]));
}

}  // namespace
}  // namespace tw
