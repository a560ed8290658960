#include <gtest/gtest.h>

#include "host/runtime/codepage.h"

namespace tw {
namespace {

TEST(CodePage, RoundTripsEveryByteAndMarksWhatItCannotMap) {
  CodePage cp(1252);
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(cp.toAnsi(cp.fromAnsi(all)), all);
  EXPECT_EQ(cp.toAnsi("K6 \xC2\xAE \xE2\x84\xA2"), "K6 \xAE \x99");
  EXPECT_EQ(cp.toAnsi("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(cp.toAnsi("a\xFF" "b"), "a?b");    // not UTF-8
  EXPECT_EQ(cp.toAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, CaseRulesCoverTheUpperHalf) {
  EXPECT_TRUE(ansiEqualNoCase("caf\xE9", "CAF\xC9"));
  EXPECT_FALSE(ansiEqualNoCase("\xF7", "\xD7"));  // division and multiplication signs differ
  EXPECT_FALSE(ansiEqualNoCase("ab", "abc"));
}

}  // namespace
}  // namespace tw
