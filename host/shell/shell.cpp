#include "host/shell/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <optional>
#include <system_error>
#include <thread>

#include "host/dialogs/dialogs.h"
#include "host/machine/machine.h"
#include "host/runtime/codepage.h"
#include "host/runtime/errors.h"
#include "host/shell/own_programs.h"

extern char** environ;

namespace tw::shell {

namespace {

// Frees the spawn attributes and file actions on every path.
struct SpawnSetup {
  posix_spawnattr_t attr{};
  posix_spawn_file_actions_t actions{};
  bool attrOk = false;
  bool actionsOk = false;
  ~SpawnSetup() {
    if (actionsOk) posix_spawn_file_actions_destroy(&actions);
    if (attrOk) posix_spawnattr_destroy(&attr);
  }
};

void reapInBackground(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

bool isWindowsPath(std::string_view file) {
  if (file.size() >= 2 && std::isalpha(static_cast<unsigned char>(file[0])) && file[1] == ':') return true;
  // "\\server\share" is a network name, which the machine does not have;
  // a single leading backslash is the root of the current drive.
  return !file.empty() && file[0] == '\\' && !(file.size() >= 2 && file[1] == '\\');
}

bool knownVerb(std::string_view verb) {
  return verb.empty() || ansiEqualNoCase(verb, "open") || ansiEqualNoCase(verb, "explore");
}

}  // namespace

SpawnLauncher::SpawnLauncher(std::chrono::milliseconds wait) : wait_(wait) {}

LaunchResult SpawnLauncher::launch(const std::vector<std::string>& argv) { return spawn(argv, wait_); }

LaunchResult SpawnLauncher::start(const std::vector<std::string>& argv, WindowState /*state*/) {
  return spawn(argv, std::chrono::milliseconds(0));
}

LaunchResult SpawnLauncher::spawn(const std::vector<std::string>& argv, std::chrono::milliseconds wait) {
  if (argv.empty() || argv[0].empty()) return {};
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  SpawnSetup setup;
  if (posix_spawnattr_init(&setup.attr) != 0) return {};
  setup.attrOk = true;
  if (posix_spawn_file_actions_init(&setup.actions) != 0) return {};
  setup.actionsOk = true;

  // The child starts with default signal handling and nothing blocked,
  // whatever the tuner has set up for itself.
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &defaults);
  posix_spawnattr_setpgroup(&setup.attr, 0);
  posix_spawnattr_setflags(&setup.attr, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                           POSIX_SPAWN_SETPGROUP));
  posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], &setup.actions, &setup.attr, args.data(), environ) != 0) return {};

  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      LaunchResult out;
      out.status = LaunchResult::Status::Exited;
      out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
      return out;
    }
    if (r < 0 && errno != EINTR) {
      // Someone else reaped it (a SIGCHLD handler set to ignore); it did start.
      return {LaunchResult::Status::Running, 0};
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      reapInBackground(pid);
      return {LaunchResult::Status::Running, 0};
    }
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(20)) pause *= 2;
  }
}

int shellExecute(const Machine& machine, Launcher* launcher, std::string_view verb, std::string_view file) {
  if (!knownVerb(verb)) return SE_ERR_NOASSOC;
  std::string target;
  if (isWindowsPath(file)) {
    const std::filesystem::path host = machine.toHost(file);
    std::error_code ec;
    if (!std::filesystem::exists(host, ec)) return SE_ERR_FNF;
    target = host.string();
  } else {
    target = machine.codePage().fromAnsi(file);
  }
  if (!launcher) return SE_ERR_NOASSOC;
  const LaunchResult r = launcher->launch({kDocumentOpener, target});
  switch (r.status) {
    case LaunchResult::Status::NotStarted:
      return SE_ERR_NOASSOC;
    case LaunchResult::Status::Running:
      return SE_STARTED;
    case LaunchResult::Status::Exited:
      // The opener's own codes: 2 is a file that does not exist, every other
      // failure means no handler could take the document.
      if (r.exitCode == 0) return SE_STARTED;
      return r.exitCode == 2 ? SE_ERR_FNF : SE_ERR_NOASSOC;
  }
  return SE_ERR_NOASSOC;
}

int32_t startProgram(const Machine& machine, Launcher* launcher, std::string_view windowsPath,
                     const std::vector<std::string>& args, WindowState state) {
  const std::filesystem::path file = machine.toHost(windowsPath);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) raise(ErrNo::FileNotFound);
  if (!launcher) raise(ErrNo::InvalidProcedureCall);
  std::vector<std::string> argv;
  argv.reserve(args.size() + 3);
  if (const std::optional<std::string> own = standInFor(file)) {
    // One of this system's programs, on the same machine as its caller.
    argv = ownProgramCommand(*own, machine);
  } else {
    // An absolute path, so PATH is never searched for a program of the machine.
    argv.push_back(std::filesystem::absolute(file, ec).string());
  }
  for (const std::string& a : args) argv.push_back(machine.codePage().fromAnsi(a));
  const LaunchResult r = launcher->start(argv, state);
  if (r.status == LaunchResult::Status::NotStarted) raise(ErrNo::InvalidProcedureCall);
  static int32_t lastTask = 0;
  return ++lastTask;
}

int restartDialog(Dialogs& dialogs, std::string_view reasonText, uint32_t flags) {
  constexpr uint32_t EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_POWEROFF = 8;
  const char* question = (flags & EWX_REBOOT)                    ? "Do you want to restart your computer now?"
                         : (flags & (EWX_SHUTDOWN | EWX_POWEROFF)) ? "Do you want to shut down your computer now?"
                                                                   : "Do you want to log off now?";
  const int answer = dialogs.msgBox(std::string(reasonText) + question, MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                                    "System Settings Change");
  return answer == MsgBoxResult::Yes ? MsgBoxResult::Yes : MsgBoxResult::No;
}

}  // namespace tw::shell
