#pragma once
// Top-level windows as other programs can see them: FindWindowA with no
// class name, and PostMessageA of WM_CLOSE.  Nothing of the host's own
// window system is touched: a program that wants to be found registers its
// window title here, in a folder of the per-user runtime folder, and only
// such programs can be found and asked to close.
//
// A registration is one small file per window, "<pid>-<serial>.window",
// holding the owning process's start time and the title.  A process that
// died leaves its file behind; it is recognised (no process with that id,
// or one that started at another time, so a reused process id is never
// mistaken for the owner) and removed by the next search.  WM_CLOSE to a
// window of another process is delivered as SIGTERM to that process, and
// only after its registration has been checked the same way.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tw::shell {

// A window handle; 0 is no window.
using HWND = int64_t;
constexpr uint32_t WM_CLOSE = 16;

class WindowRegistry {
 public:
  // Receives a message posted to a window of this process.
  using MessageHandler = std::function<void(uint32_t message, uint64_t wParam, int64_t lParam)>;

  // Registrations live in `folder`, which is made (mode 0700) when missing.
  // Throws std::runtime_error when it cannot be made or is not private.
  explicit WindowRegistry(std::filesystem::path folder);
  // runtimeFolder() / "windows".
  static std::filesystem::path defaultFolder();

  const std::filesystem::path& folder() const noexcept { return folder_; }

  // A top-level window of this process, findable until it is destroyed.
  class Window {
   public:
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND handle() const noexcept { return handle_; }
    const std::string& title() const noexcept { return title_; }

   private:
    friend class WindowRegistry;
    Window(std::filesystem::path file, HWND handle, std::string title);
    std::filesystem::path file_;
    HWND handle_;
    std::string title_;
  };

  // Throws std::system_error when the registration cannot be written.
  std::unique_ptr<Window> registerWindow(std::string title, MessageHandler handler);

  // FindWindowA(NULL, title): a live window with that title, compared
  // without regard to case as Windows compares window names; 0 when none.
  HWND findWindow(std::string_view title) const;

  // PostMessageA: false when the window does not exist (any more).  A window
  // of this process gets the message through its handler, at once; a window
  // of another process can only be sent WM_CLOSE (other messages give false).
  bool postMessage(HWND window, uint32_t message, uint64_t wParam, int64_t lParam) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace tw::shell
