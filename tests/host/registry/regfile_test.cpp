#include "host/registry/regfile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/host/registry/reg_helpers.h"
#include "tests/support/temp_dir.h"

namespace tw::reg {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::string crlf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class RegFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  Registry reg{dir / "hive.db"};

  void set(HKEY key, const std::string& sub, const char* name, DWORD type, const std::string& data) {
    const HKEY k = create(reg, key, sub);
    ASSERT_EQ(reg.RegSetValueEx(k, name, 0, type, bytes(data), static_cast<DWORD>(data.size())), 0);
    reg.RegCloseKey(k);
  }
  auto get(const std::string& sub, const char* name) { return queryValue(reg, HKEY_LOCAL_MACHINE, sub, name); }
};

TEST_F(RegFileTest, ExportIsWhatTheOldEditorWritesAndReadsBackExactly) {
  using namespace std::string_literals;
  const std::string sub = "SOFTWARE\\Test";
  set(HKEY_LOCAL_MACHINE, sub, "Path", REG_SZ, "C:\\Program Files\\\"Q\"\0"s);
  set(HKEY_LOCAL_MACHINE, sub, "", REG_SZ, "default\0"s);
  set(HKEY_LOCAL_MACHINE, sub, "Count", REG_DWORD, "\x10\x00\x00\x00"s);
  set(HKEY_LOCAL_MACHINE, sub, "Short dword", REG_DWORD, "\x01\x02"s);
  set(HKEY_LOCAL_MACHINE, sub, "Bin", REG_BINARY, std::string(40, '\xAB'));
  set(HKEY_LOCAL_MACHINE, sub, "Multi", REG_MULTI_SZ, "A\0B\0\0"s);
  set(HKEY_LOCAL_MACHINE, sub, "No NUL", REG_SZ, "abc"s);
  set(HKEY_LOCAL_MACHINE, sub, "Inner NUL", REG_SZ, "a\0b\0"s);
  set(HKEY_LOCAL_MACHINE, sub, "Two lines", REG_SZ, "a\r\nb\0"s);
  set(HKEY_LOCAL_MACHINE, sub, "Empty", REG_NONE, ""s);
  set(HKEY_LOCAL_MACHINE, sub, "\"Odd\\name\"", 0x2A, "\xE9\xFF"s);
  set(HKEY_LOCAL_MACHINE, sub + "\\Child \xC9t\xE9", "x", REG_SZ, "\xE9t\xE9\0"s);

  const std::string text = exportRegText(reg, "hkey_local_machine\\software\\TEST");
  const std::string bin =
      "\"Bin\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
      "  ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab\n";
  EXPECT_EQ(text, crlf("REGEDIT4\n\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                       "\"Path\"=\"C:\\\\Program Files\\\\\\\"Q\\\"\"\n"
                       "@=\"default\"\n"
                       "\"Count\"=dword:00000010\n"
                       "\"Short dword\"=hex(4):01,02\n" +
                       bin +
                       "\"Multi\"=hex(7):41,00,42,00,00\n"
                       "\"No NUL\"=hex(1):61,62,63\n"
                       "\"Inner NUL\"=hex(1):61,00,62,00\n"
                       "\"Two lines\"=hex(1):61,0d,0a,62,00\n"
                       "\"Empty\"=hex(0):\n"
                       "\"\\\"Odd\\\\name\\\"\"=hex(2a):e9,ff\n"
                       "\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Child \xC9t\xE9]\n"
                       "\"x\"=\"\xE9t\xE9\"\n"
                       "\n"));
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 81u) << line;  // 80 and the CR

  const auto file = dir / "out.reg";
  exportRegFile(reg, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test", file);
  EXPECT_EQ(readFile(file), text);

  // The export spells out every type and byte, so the same text back means
  // the same values back.
  Registry copy(dir / "copy.db");
  importRegFile(copy, file);
  EXPECT_EQ(exportRegText(copy, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test"), text);
}

TEST_F(RegFileTest, ImportUnderstandsTheWholeFormat) {
  set(HKEY_LOCAL_MACHINE, "Old\\Deep", "v", REG_SZ, std::string("1\0", 2));
  set(HKEY_LOCAL_MACHINE, "Keep", "gone", REG_SZ, std::string("1\0", 2));
  importRegText(reg,
                "REGEDIT4\n"
                "; a comment\n"
                "\n"
                "[-HKEY_LOCAL_MACHINE\\Old]\n"
                "[HKEY_LOCAL_MACHINE\\Keep]\n"
                "\"gone\"=-\n"
                "\"Esc\" = \"a\\\\b\\\"c\"\n"
                "@=\"def\"\n"
                "\"D\"=DWORD:1A\n"
                "\"Wrapped\"=hex(7):41,00,\\\n"
                "    42,00,\\\n"
                "  00\n"
                "[HKEY_CURRENT_USER\\Software\\X]\r\n"
                "\"crlf\"=\"yes\"\r\n");
  HKEY k = 0;
  EXPECT_EQ(reg.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Old", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(get("Keep", "gone"), std::nullopt);
  EXPECT_EQ(get("Keep", "Esc"), std::make_pair(REG_SZ, std::string("a\\b\"c\0", 6)));
  EXPECT_EQ(get("Keep", nullptr), std::make_pair(REG_SZ, std::string("def\0", 4)));
  EXPECT_EQ(get("Keep", "D"), std::make_pair(REG_DWORD, std::string("\x1A\0\0\0", 4)));
  EXPECT_EQ(get("Keep", "Wrapped"), std::make_pair(REG_MULTI_SZ, std::string("A\0B\0\0", 5)));
  EXPECT_EQ(querySz(reg, HKEY_USERS, ".DEFAULT\\Software\\X", "crlf"), "yes");
  EXPECT_EQ(reg.openHandleCount(), 0u);
}

TEST_F(RegFileTest, AMalformedFileNamesItsLineAndChangesNothing) {
  set(HKEY_LOCAL_MACHINE, "Before", "v", REG_SZ, std::string("1\0", 2));
  const std::string before = exportRegText(reg, "");
  const std::string good = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Before]\n\"v\"=\"changed\"\n[-HKEY_LOCAL_MACHINE\\Before]\n";
  struct Case {
    std::string text;
    int line;
    const char* says;
  };
  const Case cases[] = {
      {"Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A]\n", 1, "REGEDIT4"},
      {good + "[HKEY_NOWHERE\\A]\n", 6, "unknown root"},
      {good + "[HKEY_LOCAL_MACHINE\\A\n", 6, "]"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\nname=\"x\"\n", 7, "expected \"name\"=value"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"open\n", 7, "unterminated string"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"C:\\Windows\"\n", 7, "unknown escape"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:123456789\n", 7, "bad dword"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=hex:00,\\\n  01,zz\n", 8, "bad hex byte \"zz\""},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=hex:00,\\\n", 7, "past the end"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=text\n", 7, "expected a value"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"a\" b\n", 7, "after the closing quote"},
      {good + "\"x\"=\"orphan\"\n", 6, "value outside a key"},
      {good + "[HKEY_DYN_DATA\\A]\n", 6, "HKEY_DYN_DATA"},
      {good + "[-HKEY_LOCAL_MACHINE]\n", 6, "root key cannot be deleted"},
      {good + "[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 6, "empty key name"},
      // Names the hive cannot hold, or an export could not write back: cut
      // at the NUL, the first would delete all of HKLM\Software.
      {good + std::string("[-HKLM\\Software\0x]\n", 19), 6, "NUL"},
      {good + "[HKEY_LOCAL_MACHINE\\A\rB]\n", 6, "line break"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"x\ry\"=\"v\"\n", 7, "line break"},
      {good + "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n", 6, "longer than 255"},
      {good + "[HKEY_LOCAL_MACHINE\\A]\n\"" + std::string(256, 'v') + "\"=\"x\"\n", 7, "longer than 255"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const auto& text : {c.text, crlf(c.text)}) {
      try {
        importRegText(reg, text, "broken.reg");
        ADD_FAILURE() << "accepted";
      } catch (const RegFileError& e) {
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_EQ(e.file(), "broken.reg");
        EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.line)), std::string::npos) << e.what();
      }
    }
  }
  EXPECT_EQ(exportRegText(reg, ""), before);

  EXPECT_THROW(importRegFile(reg, dir / "missing.reg"), RegFileError);
  EXPECT_THROW(exportRegText(reg, "HKEY_LOCAL_MACHINE\\Nope"), RegFileError);
  EXPECT_EQ(reg.openHandleCount(), 0u);
}

}  // namespace
}  // namespace tw::reg
