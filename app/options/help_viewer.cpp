// The Help tab: the local help pages in the browser, the online pages that
// keep them current, and the credit line.

#include <filesystem>
#include <optional>
#include <string>

#include "app/options/online_help.h"
#include "app/ui/form1.h"
#include "host/files/atomic_file.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"

namespace tw::app {

// With "Auto-update help" on, an online help page that the browser has
// shown replaces the local page of the same name.  Only an address that
// starts with the base address is online help: one that merely holds it
// (in its query, say) could come from any site.  The name comes from the
// address's path alone and must be a page already in the Help folder, so
// that no address writes anywhere else or adds a file; the download is
// made only then.  A failed or empty download keeps the local page.
void Form1::Web_NavigateComplete2(const std::string& url) {
  reportErrors(dialogs(), "Form1.Web_NavigateComplete2", [&] {
    if (AutoUpdate != 1) return;
    const std::string base = onlineHelpBase(host().machine());
    if (url.compare(0, base.size(), base) != 0) return;
    Inet1.setProtocol(forms::InternetTransfer::Protocol::HTTP);
    Inet1.setURL(url);
    const std::optional<std::string> name = helpPageName(url);
    if (!name) return;
    const std::string page = programFile("Help\\" + *name);
    const std::filesystem::path local = hostPath(page);
    if (!fso().FileExists(ansiPath(page)) || local.parent_path() != hostPath(programFile("Help"))) return;
    const std::string bytes = Inet1.openURL(url);
    if (bytes.empty()) return;
    writeFileAtomically(local, bytes);
  });
}

// An online page that cannot be had gives way to the local contents page
// (unless that page is what failed, which would only fail again).
void Form1::Web_NavigateError(const std::string& url, const std::string& /*frame*/, int /*statusCode*/,
                              bool& /*cancel*/) {
  reportErrors(dialogs(), "Form1.Web_NavigateError", [&] {
    const std::string contents = programFile("Help\\Contents.html");
    if (url == contents || !fso().FileExists(ansiPath(contents))) return;
    Web->navigate2(contents);
  });
}

void Form1::Label29_Click() {
  reportErrors(dialogs(), "Form1.Label29_Click", [&] { plinth().OpenSite(kCreditPage); });
}

}  // namespace tw::app
