// Tools.txt's reader and writer: the quoted-field rules, damaged files, and
// what can be written so that it reads back the same.

#include <gtest/gtest.h>

#include "app/tools/tools_file.h"

namespace tw::app::tools_file {
namespace {

using Tools = std::vector<Tool>;

TEST(ToolsFile, QuotedAndUnquotedFieldsFollowTheirOwnRules) {
  // A quoted field keeps its commas and blanks and ends at its closing
  // quote; an unquoted one ends at a comma or the line end, trimmed.
  EXPECT_EQ(parse("\"Disk, Tools\",\"C:\\A B\\X.EXE\"\r\n"), (Tools{{"Disk, Tools", "C:\\A B\\X.EXE"}}));
  EXPECT_EQ(parse("  Scan Disk  ,  C:\\WINDOWS\\SCANDSKW.EXE  \r\n"),
            (Tools{{"Scan Disk", "C:\\WINDOWS\\SCANDSKW.EXE"}}));
  EXPECT_EQ(parse("\"  padded  \",x"), (Tools{{"  padded  ", "x"}})) << "no final line end";
  // Text after a closing quote is passed over up to the delimiter, and a
  // third field does not spill into the next line.
  EXPECT_EQ(parse("\"a\"junk,\"b\"more,third\r\n\"c\",\"d\"\r\n"), (Tools{{"a", "b"}, {"c", "d"}}));
  // A quote inside an unquoted field is an ordinary character.
  EXPECT_EQ(parse("ab\"c,d\r\n"), (Tools{{"ab\"c", "d"}}));
}

TEST(ToolsFile, LineEndsAndDamagedLinesNeverMergeOrLoseEntries) {
  EXPECT_EQ(parse("a,b\nc,d\re,f\r\n\r\n   \r\ng,h"), (Tools{{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}}));
  EXPECT_EQ(parse("only a name\r\nx,y\r\n"), (Tools{{"only a name", ""}, {"x", "y"}}));
  // A quoted field may run over a line end, as the runtime's reader lets
  // it; one left open takes the rest of the file and nothing more.
  EXPECT_EQ(parse("\"two\r\nlines\",p\r\n"), (Tools{{"two\r\nlines", "p"}}));
  EXPECT_EQ(parse("a,b\r\n\"open,c\r\nd,e"), (Tools{{"a", "b"}, {"open,c\r\nd,e", ""}}));
  EXPECT_TRUE(parse("").empty());
  const std::string binary("\x00\xff\x01,\x80\x00\r\n", 8);
  EXPECT_EQ(parse(binary), (Tools{{std::string("\x00\xff\x01", 3), std::string("\x80\x00", 2)}}));
  const std::string longName(200000, 'n');
  EXPECT_EQ(parse(longName + ",p"), (Tools{{longName, "p"}}));
}

TEST(ToolsFile, WhatCanBeHeldReadsBackAsWritten) {
  const Tools tools = {{"Registry Editor", "C:\\WINDOWS\\REGEDIT.EXE"},
                       {"a, b; $(touch /tmp/x) `id`", "C:\\odd dir\\x;y.exe"},
                       {"", ""}};
  EXPECT_EQ(format(tools), "\"Registry Editor\",\"C:\\WINDOWS\\REGEDIT.EXE\"\r\n"
                           "\"a, b; $(touch /tmp/x) `id`\",\"C:\\odd dir\\x;y.exe\"\r\n"
                           "\"\",\"\"\r\n");
  EXPECT_EQ(parse(format(tools)), tools);
  for (const char* bad : {"say \"hi\"", "two\nlines", "two\rlines"}) EXPECT_FALSE(canHold(bad)) << bad;
  EXPECT_FALSE(canHold(std::string("nul\0inside", 10)));
  EXPECT_TRUE(canHold("plain, with commas; and $(dollars)"));
}

}  // namespace
}  // namespace tw::app::tools_file
