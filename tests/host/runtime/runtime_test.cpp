// The language runtime: rounding and number conversion, Variants, the ANSI
// code page, and the guard that turns errors into the handler's box.

#include <gtest/gtest.h>

#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"
#include "host/runtime/guard.h"
#include "host/runtime/variant.h"
#include "host/runtime/vbconv.h"
#include "tests/support/errors.h"

namespace tw {
namespace {

TEST(Variant, ConvertsLikeTheLanguageAndRaisesItsErrors) {
  EXPECT_EQ(Variant(" 42 ").toLong(), 42);
  EXPECT_EQ(Variant("2.5").toLong(), 2);  // halves go to the even side
  EXPECT_EQ(Variant("&H10").toInteger(), 16);
  EXPECT_EQ(Variant(true).toLong(), -1);
  EXPECT_EQ(Variant(false).toString(), "False");

  EXPECT_EQ(test::errorOf([] { (void)Variant("12abc").toLong(); }), 13);
  EXPECT_EQ(test::errorOf([] { (void)Variant("").toLong(); }), 13);
  EXPECT_EQ(test::errorOf([] { (void)Variant::null().toString(); }), 94);
  EXPECT_EQ(test::errorOf([] { (void)Variant("40000").toInteger(); }), 6);
  EXPECT_EQ(test::errorOf([] { (void)Variant::missing().toLong(); }), 13);
}

TEST(Numbers, HalvesRoundToTheEvenNeighbourAndOverflowPastTheWidth) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(2.5000001), 3);
  EXPECT_EQ(toLong(2147483647.4), 2147483647);
  EXPECT_EQ(toInteger(-32768.5), -32768);
  EXPECT_EQ(test::errorOf([] { toInteger(32767.5); }), 6);
  EXPECT_EQ(test::errorOf([] { toLong(2147483647.5); }), 6);
}

TEST(Numbers, ValTakesTheLeadingNumber) {
  EXPECT_EQ(val(std::string("1024\0\0\0", 7)), 1024);
  EXPECT_EQ(val("abc"), 0);
  EXPECT_EQ(val("1 2 3"), 123);
  EXPECT_EQ(val("-.5x"), -0.5);
  EXPECT_EQ(val("2e"), 2);
  EXPECT_EQ(val("&HFFFF"), -1);
  EXPECT_EQ(val("&O17"), 15);
}

TEST(Numbers, TextOfNumbersAndSlices) {
  EXPECT_EQ(str(5), " 5");
  EXPECT_EQ(numberToText(0.1), "0.1");
  EXPECT_EQ(numberToText(1e20), "1E+20");
  EXPECT_EQ(numberToText(123456789012345.0), "123456789012345");
  EXPECT_EQ(numberToText(-999999999999999.0), "-999999999999999");
  EXPECT_EQ(numberToText(1e15), "1E+15");
  EXPECT_EQ(numberToText(-2.5), "-2.5");
  EXPECT_EQ(left("abc", 9), "abc");
  EXPECT_THROW(left("abc", -1), RuntimeError);
  EXPECT_EQ(mid("abc", 9), "");
  EXPECT_THROW(mid("abc", 0), RuntimeError);
}

TEST(CodePage, RoundTripsEveryByteAndMarksWhatItCannotMap) {
  CodePage cp(1252);
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(cp.toAnsi(cp.fromAnsi(all)), all);
  EXPECT_EQ(cp.toAnsi("K6 \xC2\xAE \xE2\x84\xA2"), "K6 \xAE \x99");
  EXPECT_EQ(cp.toAnsi("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(cp.toAnsi("a\xFF" "b"), "a?b");    // not UTF-8
}

TEST(CodePage, CaseRulesCoverTheUpperHalf) {
  EXPECT_TRUE(ansiEqualNoCase("caf\xE9", "CAF\xC9"));
  EXPECT_FALSE(ansiEqualNoCase("\xF7", "\xD7"));  // division and multiplication signs differ
  EXPECT_FALSE(ansiEqualNoCase("ab", "abc"));
}

TEST(Guard, ErrorsOfEveryKindBecomeTheHandlersBoxAndTheEmptyResult) {
  ScriptedDialogs d;
  EXPECT_EQ(reportErrors(d, "Form1.ApplySets", -1, []() -> int { raise(ErrNo::DivisionByZero); }), -1);
  reportErrors(d, "Uninst.Form_Load", [] { throw std::runtime_error("disk gone"); });
  ASSERT_EQ(d.shown().size(), 2u);
  EXPECT_EQ(d.shown()[0], (ShownBox{"11 Division by zero in Form1.ApplySets", 16, "Error"}));
  EXPECT_EQ(d.shown()[1].text, "51 Internal error: disk gone in Uninst.Form_Load");
}

TEST(Dialogs, UnansweredBoxesTakeTheirDefaultButton) {
  ScriptedDialogs d;
  EXPECT_EQ(d.msgBox("?", MsgBoxStyle::YesNo | MsgBoxStyle::Question, "t"), MsgBoxResult::Yes);
  EXPECT_EQ(d.msgBox("?", MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2, "t"), MsgBoxResult::No);
  d.answerNext(MsgBoxResult::No);
  EXPECT_EQ(d.msgBox("?", MsgBoxStyle::YesNo, "t"), MsgBoxResult::No);
  d.setStrict(true);
  EXPECT_THROW(d.msgBox("!", 0, "t"), UnexpectedDialog);
}

}  // namespace
}  // namespace tw
