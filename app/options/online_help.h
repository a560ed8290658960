#pragma once
// The online edition of the help: its base address, and which local page
// an online address stands for.

#include <optional>
#include <string>
#include <string_view>

namespace tw {
class Machine;
}

namespace tw::app {

// Our own site's help; the path "/Twhelp/" is what marks an online page.
inline constexpr const char* kOnlineHelpBase = "http://www.brightfen.example/Twhelp/";
// The page the credit line opens.
inline constexpr const char* kCreditPage = "http://www.brightfen.example/";

// The base address in use: $TUNEWELL_HELP_URL, else the machine
// description's OnlineHelp= of [Machine], else kOnlineHelpBase.  An
// override that is not an http:// address ending in "/" is passed over.
std::string onlineHelpBase(const Machine& machine);

// The file name of the local page that an online address stands for: the
// last segment of the address's path, its %XX escapes decoded, without
// the query or fragment.  nullopt when there is none or when it could name
// anything but a file of the Help folder itself (a slash or backslash once
// decoded, ".", "..", a drive's colon, control characters).
std::optional<std::string> helpPageName(std::string_view url);

}  // namespace tw::app
