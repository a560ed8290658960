#include "host/shell/windows.h"

#include "host/files/atomic_file.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "host/runtime/codepage.h"
#include "host/shell/instance.h"

namespace tw::shell {

namespace fs = std::filesystem;

namespace {

constexpr int kSerialBits = 20;
constexpr int64_t kSerialMask = (int64_t{1} << kSerialBits) - 1;

// Handlers of this process's windows, by handle.
struct LocalWindows {
  std::mutex mutex;
  std::map<HWND, WindowRegistry::MessageHandler> handlers;
};
LocalWindows& localWindows() {
  static LocalWindows windows;
  return windows;
}

HWND nextHandle() {
  static std::atomic<int64_t> serial{0};
  int64_t s = (serial.fetch_add(1) % kSerialMask) + 1;
  return (static_cast<int64_t>(::getpid()) << kSerialBits) | s;
}

pid_t ownerOf(HWND window) { return static_cast<pid_t>(window >> kSerialBits); }

std::string fileNameOf(HWND window) {
  return std::to_string(ownerOf(window)) + "-" + std::to_string(window & kSerialMask) + ".window";
}

// "<pid>-<serial>.window" -> the handle; nullopt for any other name.
std::optional<HWND> handleOf(const std::string& name) {
  static constexpr std::string_view kSuffix = ".window";
  if (name.size() <= kSuffix.size() || name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
    return std::nullopt;
  const std::string stem = name.substr(0, name.size() - kSuffix.size());
  const auto dash = stem.find('-');
  if (dash == std::string::npos) return std::nullopt;
  int64_t pid = 0, serial = 0;
  const char* end = stem.data() + stem.size();
  auto r1 = std::from_chars(stem.data(), stem.data() + dash, pid);
  auto r2 = std::from_chars(stem.data() + dash + 1, end, serial);
  if (r1.ec != std::errc() || r1.ptr != stem.data() + dash || r2.ec != std::errc() || r2.ptr != end) return std::nullopt;
  if (pid <= 0 || serial <= 0 || serial > kSerialMask) return std::nullopt;
  return (pid << kSerialBits) | serial;
}

// The start time of a process in clock ticks since boot (field 22 of
// /proc/<pid>/stat), which tells a process from a later one that got the
// same id; nullopt when there is no such process.
std::optional<std::string> startTimeOf(pid_t pid) {
  std::optional<std::string> stat;
  try {
    stat = readFileBytes("/proc/" + std::to_string(pid) + "/stat");
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (!stat) return std::nullopt;
  // The command name in parentheses may itself hold blanks and parentheses.
  const auto close = stat->rfind(')');
  if (close == std::string::npos) return std::nullopt;
  size_t pos = close + 1;
  std::string field;
  for (int i = 3; i <= 22; ++i) {
    pos = stat->find_first_not_of(" \n", pos);
    if (pos == std::string::npos) return std::nullopt;
    const size_t end = std::min(stat->find_first_of(" \n", pos), stat->size());
    field = stat->substr(pos, end - pos);
    pos = end;
  }
  return field;
}

struct Registration {
  std::string startTime;
  std::string title;
};

std::optional<Registration> readRegistration(const fs::path& file) {
  std::optional<std::string> text;
  try {
    text = readFileBytes(file);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (!text) return std::nullopt;
  const auto first = text->find('\n');
  if (first == std::string::npos) return std::nullopt;
  Registration r;
  r.startTime = text->substr(0, first);
  const auto second = text->find('\n', first + 1);
  r.title = text->substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
  return r;
}

// The registration's owner is the very process that wrote it.
bool ownerAlive(HWND window, const Registration& r) {
  const auto started = startTimeOf(ownerOf(window));
  return started && *started == r.startTime;
}

bool sameTitle(std::string_view a, std::string_view b) {
  static const CodePage ansi(1252);
  return ansiEqualNoCase(ansi.toAnsi(a), ansi.toAnsi(b));
}

}  // namespace

WindowRegistry::WindowRegistry(fs::path folder) : folder_(std::move(folder)) { ensurePrivateFolder(folder_); }

fs::path WindowRegistry::defaultFolder() { return runtimeFolder() / "windows"; }

WindowRegistry::Window::Window(fs::path file, HWND handle, std::string title)
    : file_(std::move(file)), handle_(handle), title_(std::move(title)) {}

WindowRegistry::Window::~Window() {
  std::error_code ec;
  fs::remove(file_, ec);
  auto& local = localWindows();
  std::lock_guard lock(local.mutex);
  local.handlers.erase(handle_);
}

std::unique_ptr<WindowRegistry::Window> WindowRegistry::registerWindow(std::string title, MessageHandler handler) {
  // A title is one line of the registration.
  title = title.substr(0, title.find_first_of("\r\n"));
  const HWND handle = nextHandle();
  const auto started = startTimeOf(::getpid());
  if (!started) throw std::system_error(std::make_error_code(std::errc::no_such_process), "reading the process start time");
  const fs::path file = folder_ / fileNameOf(handle);
  // Written aside and renamed, so that a search never reads half a title.
  writeFileAtomically(file, *started + '\n' + title + '\n');
  {
    auto& local = localWindows();
    std::lock_guard lock(local.mutex);
    local.handlers[handle] = std::move(handler);
  }
  return std::unique_ptr<Window>(new Window(file, handle, std::move(title)));
}

HWND WindowRegistry::findWindow(std::string_view title) const {
  std::vector<std::pair<std::string, HWND>> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (auto handle = handleOf(name)) entries.emplace_back(name, *handle);
  }
  std::sort(entries.begin(), entries.end());
  for (const auto& [name, handle] : entries) {
    const fs::path file = folder_ / name;
    const auto registration = readRegistration(file);
    if (!registration) continue;
    if (!ownerAlive(handle, *registration)) {
      std::error_code ignored;
      fs::remove(file, ignored);
      continue;
    }
    if (sameTitle(registration->title, title)) return handle;
  }
  return 0;
}

bool WindowRegistry::postMessage(HWND window, uint32_t message, uint64_t wParam, int64_t lParam) const {
  if (window <= 0) return false;
  if (ownerOf(window) == ::getpid()) {
    MessageHandler handler;
    {
      auto& local = localWindows();
      std::lock_guard lock(local.mutex);
      const auto it = local.handlers.find(window);
      if (it == local.handlers.end()) return false;
      handler = it->second;
    }
    // Called outside the lock: the handler may well close its own window.
    if (handler) handler(message, wParam, lParam);
    return true;
  }
  if (message != WM_CLOSE) return false;
  const auto registration = readRegistration(folder_ / fileNameOf(window));
  if (!registration || !ownerAlive(window, *registration)) return false;
  return ::kill(ownerOf(window), SIGTERM) == 0;
}

}  // namespace tw::shell
