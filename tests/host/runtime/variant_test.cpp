#include <gtest/gtest.h>

#include "host/runtime/errors.h"
#include "host/runtime/variant.h"

namespace tw {
namespace {

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(Variant, ConvertsLikeTheLanguageAndRaisesItsErrors) {
  EXPECT_EQ(Variant(" 42 ").toLong(), 42);
  EXPECT_EQ(Variant("2.5").toLong(), 2);  // halves go to the even side
  EXPECT_EQ(Variant("&H10").toInteger(), 16);
  EXPECT_EQ(Variant(true).toLong(), -1);
  EXPECT_EQ(Variant(false).toString(), "False");

  EXPECT_EQ(errorOf([] { (void)Variant("12abc").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { (void)Variant("").toLong(); }), 13);
  EXPECT_EQ(errorOf([] { (void)Variant::null().toString(); }), 94);
  EXPECT_EQ(errorOf([] { (void)Variant("40000").toInteger(); }), 6);
  EXPECT_EQ(errorOf([] { (void)Variant::missing().toLong(); }), 13);
}

}  // namespace
}  // namespace tw
