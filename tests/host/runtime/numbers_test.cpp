#include <gtest/gtest.h>

#include "host/runtime/errors.h"
#include "host/runtime/vbconv.h"

namespace tw {
namespace {

TEST(Numbers, HalvesRoundToTheEvenNeighbourAndOverflowPastTheWidth) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(50.5), 50);
  EXPECT_EQ(roundHalfEven(2.5000001), 3);
  EXPECT_EQ(toLong(2147483647.4), 2147483647);
  EXPECT_EQ(toInteger(-32768.5), -32768);
  try {
    toInteger(32767.5);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.description(), "Overflow");
  }
  EXPECT_THROW(toLong(2147483647.5), RuntimeError);
}

TEST(Numbers, ValTakesTheLeadingNumber) {
  EXPECT_EQ(val(std::string("1024\0\0\0", 7)), 1024);
  EXPECT_EQ(val("abc"), 0);
  EXPECT_EQ(val("1 2 3"), 123);
  EXPECT_EQ(val("-.5x"), -0.5);
  EXPECT_EQ(val("2e"), 2);
  EXPECT_EQ(val("&HFFFF"), -1);
  EXPECT_EQ(val("&O17"), 15);
  EXPECT_EQ(val("9600,n,8,1,x"), 9600);
}

TEST(Numbers, TextOfNumbersAndSlices) {
  EXPECT_EQ(str(5), " 5");
  EXPECT_EQ(numberToText(0.1), "0.1");
  EXPECT_EQ(numberToText(1e20), "1E+20");
  EXPECT_EQ(numberToText(123456789012345.0), "123456789012345");
  EXPECT_EQ(left("abc", 9), "abc");
  EXPECT_THROW(left("abc", -1), RuntimeError);
  EXPECT_EQ(mid("abc", 9), "");
  EXPECT_THROW(mid("abc", 0), RuntimeError);
}

}  // namespace
}  // namespace tw
