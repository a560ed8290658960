// Shell helpers of Plinth: the Windows version as a name, the computer's
// name, opening a web address and the restart prompt.

#include <algorithm>
#include <cstring>
#include <string>

#include "host/host.h"
#include "host/runtime/guard.h"
#include "host/shell/shell.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"
#include "syslib/registry/registry_support.h"

namespace tw {

void Plinth::GetVersionEx() {
  const WindowsVersion& v = host_.platform().version();
  OSInfo.dwOSVersionInfoSize = 148;
  OSInfo.dwMajorVersion = v.major;
  OSInfo.dwMinorVersion = v.minor;
  OSInfo.dwBuildNumber = v.build;
  OSInfo.dwPlatformId = v.platform;
  std::memset(OSInfo.szCSDVersion, 0, sizeof OSInfo.szCSDVersion);
  std::memcpy(OSInfo.szCSDVersion, v.servicePack.data(), std::min(v.servicePack.size(), sizeof OSInfo.szCSDVersion - 1));
}

// Only Windows 95, 98 and ME (version 4 outside the NT platform) are
// supported; "Shutdown" tells the caller to refuse to run.
std::string Plinth::OSVersion() {
  return reportErrors(host_.dialogs(), "Plinth.OSVersion", std::string(), [&]() -> std::string {
    constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;
    GetVersionEx();
    if (OSInfo.dwMajorVersion == 4 && OSInfo.dwPlatformId != VER_PLATFORM_WIN32_NT)
      return OSInfo.dwMinorVersion == 0 ? "Windows 95" : "Windows 98";
    return "Shutdown";
  });
}

std::string Plinth::GetPCname() {
  return reportErrors(host_.dialogs(), "Plinth.GEtPCname", std::string(), [&] {
    // The platform reports at most the 15 characters of a NetBIOS name, well
    // inside the 260-character buffer; no padding comes back.
    return wide(host_.platform().computerName());
  });
}

void Plinth::OpenSite(const BStr& strWebsite) {
  reportErrors(host_.dialogs(), "Plinth.OpenSite", [&] {
    const int rc = shell::shellExecute(host_.machine(), host_.platform().launcher(), "Open", cString(ansi(strWebsite.str())));
    if (rc < 33) host_.dialogs().msgBox("Error: site could not be opened", MsgBoxStyle::Exclamation, kLibraryTitle);
  });
}

// The owner window only places the dialog; this platform's dialogs need none.
int32_t Plinth::ExitWindowsMsgBox(int32_t Operation, int32_t /*hWndOwner*/, const BStr& ExtraText) {
  return reportErrors(host_.dialogs(), "Plinth.ExitWindowsMsgBox", int32_t{0}, [&] {
    // The dialog takes ANSI text: what the code page cannot hold shows as '?'.
    const std::string reason = wide(cString(ansi(ExtraText.str())));
    return static_cast<int32_t>(
        shell::restartDialog(host_.dialogs(), reason, static_cast<uint32_t>(Operation)));
  });
}

}  // namespace tw
