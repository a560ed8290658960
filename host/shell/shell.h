#pragma once
// The shell: opening a document or web address with the desktop's default
// handler, and the system's restart dialog.
//
// Programs are always started from an argument vector, never through a
// command shell, so no text the user typed is ever parsed as a command.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {
class Dialogs;
class Machine;
}  // namespace tw

namespace tw::shell {

struct LaunchResult {
  enum class Status {
    NotStarted,  // the program could not be started (not installed, not executable)
    Running,     // started, and still running when the launcher stopped waiting
    Exited,      // started and ended with exitCode
  };
  Status status = Status::NotStarted;
  int exitCode = 0;
};

// How a started program is asked to show its window (the runtime's vbHide,
// vbNormalFocus, vbMinimizedFocus ...).
enum class WindowState {
  Hide = 0,
  NormalFocus = 1,
  MinimizedFocus = 2,
  MaximizedFocus = 3,
  NormalNoFocus = 4,
  MinimizedNoFocus = 6,
};

// Starts a program: argv[0] is looked up in PATH, the rest are its arguments.
class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual LaunchResult launch(const std::vector<std::string>& argv) = 0;
  // Starts a program that runs on its own, in the window state asked for.
  // A launcher that cannot place windows starts it as launch() does.
  virtual LaunchResult start(const std::vector<std::string>& argv, WindowState /*state*/) { return launch(argv); }
};

// posix_spawnp with the caller's environment, stdin from /dev/null and a
// process group of its own (so a Ctrl-C meant for the tuner does not reach
// the browser).  It waits up to `wait` for the program to end, because
// openers report a missing handler by failing at once; a program still
// running then counts as started and is reaped in the background when it
// ends, so it never lingers as a zombie.
class SpawnLauncher : public Launcher {
 public:
  explicit SpawnLauncher(std::chrono::milliseconds wait = std::chrono::milliseconds(3000));
  LaunchResult launch(const std::vector<std::string>& argv) override;
  // A started program is not waited for: one that cannot be executed is
  // already refused by the spawn itself.
  LaunchResult start(const std::vector<std::string>& argv, WindowState state) override;

 private:
  LaunchResult spawn(const std::vector<std::string>& argv, std::chrono::milliseconds wait);
  std::chrono::milliseconds wait_;
};

// ShellExecute's results: above 32 is success.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int SE_STARTED = 42;

// The program that opens documents and addresses with the desktop's default
// handler.
inline constexpr const char* kDocumentOpener = "xdg-open";

// ShellExecuteA with no owner window, no parameters and no directory:
// opens `file` (ANSI, the machine's code page) with the desktop's default
// handler.  A Windows path ("C:\...", "\...") names a file of the machine and
// is opened as that file (SE_ERR_FNF when it does not exist); anything else,
// such as a web address, is handed to the handler as it is.  The verbs
// "open" and "explore" (any case, or none) are known; another verb has no
// handler (SE_ERR_NOASSOC).  A null launcher cannot start anything.
int shellExecute(const Machine& machine, Launcher* launcher, std::string_view verb, std::string_view file);

// The restart dialog (RestartDialog): the reason text, then the question
// that fits `flags` (EWX_REBOOT 2: restart, EWX_SHUTDOWN 1 / EWX_POWEROFF 8:
// shut down, EWX_LOGOFF 0: log off), Yes and No.  Returns the answer (6 yes,
// 7 no).  Nothing is ever restarted: the answer is all the caller gets.
// The runtime's Shell: starts the program file `windowsPath` of the machine
// (ANSI, the machine's code page) with `args`, without waiting for it.
// Raises File not found (53) when the file does not exist and Invalid
// procedure call (5) when it exists but cannot be started (no launcher, not
// executable).  Returns the started program's task number (not 0).  A
// stand-in of one of this system's programs (own_programs.h) starts that
// program on the same machine and runtime folder (ownProgramCommand), then
// `args`.
int32_t startProgram(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                     const std::vector<std::string>& args, WindowState state);

int restartDialog(Dialogs& dialogs, std::string_view reasonText, uint32_t flags);

}  // namespace tw::shell
