#include <gtest/gtest.h>

#include "uninstaller/split_command.h"

namespace tw::uninstaller {
namespace {

TEST(SplitCommand, QuotedStretchesKeepTheirBlanksAndLoseTheirQuotes) {
  EXPECT_EQ(splitCommand("C:\\WINDOWS\\ST6UNST.EXE -n \"C:\\Program Files\\T\\ST6UNST.LOG\""),
            (CommandWords{"C:\\WINDOWS\\ST6UNST.EXE", {"-n", "C:\\Program Files\\T\\ST6UNST.LOG"}}));
  EXPECT_EQ(splitCommand("\"C:\\Program Files\\U.exe\"  /a\t\"\"  b\"c d\"e \"say \"\"hi\"\"\""),
            (CommandWords{"C:\\Program Files\\U.exe", {"/a", "", "bc de", "say \"hi\""}}));
  EXPECT_EQ(splitCommand("   "), CommandWords{});
}

}  // namespace
}  // namespace tw::uninstaller
