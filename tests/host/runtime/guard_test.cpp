#include <gtest/gtest.h>

#include "host/runtime/guard.h"

namespace tw {
namespace {

TEST(Guard, ErrorsOfEveryKindBecomeTheHandlersBoxAndTheEmptyResult) {
  ScriptedDialogs d;
  const int r = reportErrors(d, "Form1.ApplySets", -1, []() -> int { raise(ErrNo::DivisionByZero); });
  EXPECT_EQ(r, -1);
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
