// tunewell-uninstall: the Uninstaller, as the machine's Uninstaller.exe.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>

#include "host/host.h"
#include "host/shell/instance.h"
#include "programs/command_line.h"
#include "syslib/ctl/escapes.h"
#include "ui/qt/look.h"
#include "ui/qt/qt_dialogs.h"
#include "uninstaller/program.h"

namespace {

constexpr const char* kUsage =
    "usage: tunewell-uninstall [--machine DIR] [--runtime DIR] [--answer N]... /Or|/Un|/U\n"
    "       tunewell-uninstall --help | --version\n"
    "The Uninstaller of the Windows 9x installation in DIR, else in $TUNEWELL_MACHINE,\n"
    "else in the default machine: /Or puts every setting back to the Windows default,\n"
    "/Un to what the tuner recorded at its first run, /U uninstalls Tunewell.  Any other\n"
    "command line is refused.  Every message box is printed on standard error as\n"
    "MsgBox \"<title>\" <style>: \"<text>\".  On a desktop the boxes are shown; without\n"
    "one, or with --answer, the next box is answered with button N (1 OK, 2 Cancel,\n"
    "6 Yes, 7 No) and boxes past the answers take their default button.  --runtime DIR\n"
    "puts the instance lock and the window registrations in DIR.\n";

const tw::programs::ProgramOptions kOptions{
    "tunewell-uninstall", kUsage, {{"--machine", true}, {"--runtime", true}, {"--answer", true}}};

bool hasValue(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Someone can answer a real box: there is a desktop, and Qt is not asked to
// draw off screen, where a box would wait for ever.
bool desktopPresent() {
  if (!hasValue("DISPLAY") && !hasValue("WAYLAND_DISPLAY")) return false;
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return platform == nullptr || (std::strcmp(platform, "offscreen") != 0 && std::strcmp(platform, "minimal") != 0);
}

void printBox(const tw::ShownBox& box) {
  std::cerr << "MsgBox " << tw::ctl::quote(box.title) << " " << box.style << ": " << tw::ctl::quote(box.text) << "\n";
}

// Real boxes, each also printed as the scripted ones are.
class PrintedQtDialogs : public tw::qt::QtDialogs {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override {
    printBox({text, style, title});
    return QtDialogs::msgBox(text, style, title);
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = tw::programs::answerCommonOptions(kOptions, args, std::cout, std::cerr)) return *status;

  const std::filesystem::path root = tw::Machine::chooseRoot(args);
  std::filesystem::path runtime;
  std::vector<int> answers;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--answer" && i + 1 < args.size()) {
      answers.push_back(std::atoi(args[++i].c_str()));
    } else if (args[i] == "--runtime" && i + 1 < args.size()) {
      runtime = args[++i];
    } else if (args[i].rfind("--runtime=", 0) == 0) {
      runtime = args[i].substr(10);
    } else if (args[i].rfind("--answer=", 0) == 0) {
      answers.push_back(std::atoi(args[i].substr(9).c_str()));
    } else {
      break;
    }
  }
  tw::shell::setRuntimeFolder(runtime);
  // Command$: what follows the options, joined by single blanks.
  std::string commandLine;
  for (size_t j = i; j < args.size(); ++j) commandLine += (j > i ? " " : "") + args[j];

  // Qt keeps a reference to its argument count for the application's life.
  int qtArgc = 1;
  std::unique_ptr<QApplication> app;
  std::shared_ptr<tw::Dialogs> dialogs;
  if (answers.empty() && desktopPresent()) {
    app = std::make_unique<QApplication>(qtArgc, argv);
    tw::qt::applyClassicStyle(false);
    dialogs = std::make_shared<PrintedQtDialogs>();
  } else {
    auto scripted = std::make_shared<tw::ScriptedDialogs>();
    for (int answer : answers) scripted->answerNext(answer);
    scripted->setObserver(printBox);
    dialogs = scripted;
  }

  try {
    tw::Host host(root, dialogs);
    tw::Host::setProcess(&host);
    tw::uninstaller::UninstallerProgram program(host, commandLine, runtime);
    program.run();
    tw::Host::setProcess(nullptr);
  } catch (const std::exception& e) {
    std::cerr << "tunewell-uninstall: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
