#include "host/dialogs/dialogs.h"

namespace tw {

std::optional<std::string> Dialogs::openFile(const OpenFileRequest&) { return std::nullopt; }

int defaultAnswer(int style) {
  const int buttons = style & 7;
  const int which = (style & MsgBoxStyle::DefaultButton3) ? 2 : (style & MsgBoxStyle::DefaultButton2) ? 1 : 0;
  static const int kButtons[6][3] = {
      {MsgBoxResult::Ok, MsgBoxResult::Ok, MsgBoxResult::Ok},
      {MsgBoxResult::Ok, MsgBoxResult::Cancel, MsgBoxResult::Cancel},
      {MsgBoxResult::Abort, MsgBoxResult::Retry, MsgBoxResult::Ignore},
      {MsgBoxResult::Yes, MsgBoxResult::No, MsgBoxResult::Cancel},
      {MsgBoxResult::Yes, MsgBoxResult::No, MsgBoxResult::No},
      {MsgBoxResult::Retry, MsgBoxResult::Cancel, MsgBoxResult::Cancel}};
  return buttons < 6 ? kButtons[buttons][which] : MsgBoxResult::Ok;
}

int ScriptedDialogs::msgBox(const std::string& text, int style, const std::string& title) {
  ShownBox box{text, style, title};
  shown_.push_back(box);
  if (observer_) observer_(box);
  if (!answers_.empty()) {
    const int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  if (strict_) throw UnexpectedDialog(box);
  return defaultAnswer(style);
}

std::optional<std::string> ScriptedDialogs::openFile(const OpenFileRequest&) {
  if (files_.empty()) return std::nullopt;
  auto f = files_.front();
  files_.pop_front();
  return f;
}

}  // namespace tw
