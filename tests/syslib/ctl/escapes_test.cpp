// The escape decoder shared by plinthctl's arguments and the driver's
// quoted words: one escape at a time, and the faults named.

#include <gtest/gtest.h>

#include "syslib/ctl/escapes.h"

namespace tw {
namespace {

TEST(Escapes, EachEscapeDecodesAndTheNextIndexFollowsIt) {
  std::string out;
  EXPECT_EQ(ctl::decodeEscapeAt("a\\x4Fb", 1, out, nullptr), 5u);
  EXPECT_EQ(ctl::decodeEscapeAt("\\0", 0, out, nullptr), 2u);
  EXPECT_EQ(ctl::decodeEscapeAt("\\\"", 0, out, nullptr), 2u);
  EXPECT_EQ(out, std::string("O\0\"", 3));
  EXPECT_EQ(ctl::decodeEscapes("\\\\\\r\\n\\t", nullptr), "\\\r\n\t");
}

TEST(Escapes, BadEscapesAreRefusedWithTheirReasonAndLeaveTheOutputAlone) {
  std::string out = "kept", error;
  for (const auto& [text, reason] : {std::pair{"\\x4", "\\x needs two hexadecimal digits"},
                                     std::pair{"\\xg0", "\\x needs two hexadecimal digits"},
                                     std::pair{"\\", "a lone backslash ends the argument"},
                                     std::pair{"\\q", "unknown escape \\q"}}) {
    EXPECT_FALSE(ctl::decodeEscapeAt(text, 0, out, &error)) << text;
    EXPECT_EQ(error, reason) << text;
  }
  EXPECT_EQ(out, "kept");
  EXPECT_FALSE(ctl::isEscapeLetter('q'));
  EXPECT_TRUE(ctl::isEscapeLetter('x'));
}

}  // namespace
}  // namespace tw
