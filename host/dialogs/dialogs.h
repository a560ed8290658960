#pragma once
// Message boxes and the open-file dialog behind one interface: the programs
// show real boxes through Qt, tests and the command line answer them from a
// script and record what was shown.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// The message-box style bits and answers, with the platform's values.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
}  // namespace MsgBoxStyle

namespace MsgBoxResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace MsgBoxResult

struct OpenFileRequest {
  std::string title;
  std::string filter;       // "Programs (*.exe)|*.exe|All files|*.*"
  std::string initialDir;   // a Windows path
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a message box and returns the button pressed (MsgBoxResult).
  virtual int msgBox(const std::string& text, int style, const std::string& title) = 0;
  // The open-file dialog; nullopt when the user cancels.  Returns a Windows path.
  virtual std::optional<std::string> openFile(const OpenFileRequest& request);
};

// The button a box answers with when nobody chooses: its default button.
int defaultAnswer(int style);

// A record of one box that was shown.
struct ShownBox {
  std::string text;
  int style = 0;
  std::string title;
  bool operator==(const ShownBox&) const = default;
};

// Answers boxes from a queue (or with their default button when the queue is
// empty, unless strict) and keeps every box shown.
class ScriptedDialogs : public Dialogs {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;

  void answerNext(int answer) { answers_.push_back(answer); }
  void openFileNext(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  // In strict mode a box with no queued answer throws UnexpectedDialog.
  void setStrict(bool strict) { strict_ = strict; }
  // Called for each box as it is shown (the command line prints it).
  void setObserver(std::function<void(const ShownBox&)> observer) { observer_ = std::move(observer); }

  const std::vector<ShownBox>& shown() const { return shown_; }
  void clear() { shown_.clear(); }

 private:
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> files_;
  std::vector<ShownBox> shown_;
  std::function<void(const ShownBox&)> observer_;
  bool strict_ = false;
};

struct UnexpectedDialog : std::exception {
  explicit UnexpectedDialog(ShownBox b) : box(std::move(b)) {}
  const char* what() const noexcept override { return "unexpected message box"; }
  ShownBox box;
};

}  // namespace tw
