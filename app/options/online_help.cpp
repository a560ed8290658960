#include "app/options/online_help.h"

#include <cstdlib>

#include "host/files/read_file.h"
#include "host/machine/machine.h"
#include "host/profile/ini_text.h"
#include "host/runtime/codepage.h"

namespace tw::app {

namespace {

bool usableBase(std::string_view base) {
  return base.size() > 7 && base.substr(0, 7) == "http://" && base.back() == '/';
}

// OnlineHelp= of the machine's description, "" when it has none.
std::string describedBase(const Machine& machine) {
  std::optional<std::string> bytes;
  try {
    bytes = readFileBytes(machine.metaDir() / "machine.ini");
  } catch (const std::exception&) {
    return {};
  }
  if (!bytes) return {};
  std::string_view section;
  ini::LineReader reader(*bytes);
  ini::Line line;
  while (reader.next(line)) {
    if (line.kind == ini::LineKind::Section) section = line.name;
    if (line.kind == ini::LineKind::Key && ansiEqualNoCase(section, "Machine") &&
        ansiEqualNoCase(line.name, "OnlineHelp"))
      return std::string(ini::unquote(line.value));
  }
  return {};
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string onlineHelpBase(const Machine& machine) {
  if (const char* env = std::getenv("TUNEWELL_HELP_URL"); env != nullptr && usableBase(env)) return env;
  if (const std::string described = describedBase(machine); usableBase(described)) return described;
  return kOnlineHelpBase;
}

std::optional<std::string> helpPageName(std::string_view url) {
  // The path: after "scheme://host", up to the query or the fragment.
  const size_t scheme = url.find("://");
  if (scheme != std::string_view::npos) {
    const size_t pathStart = url.find('/', scheme + 3);
    url = pathStart == std::string_view::npos ? std::string_view() : url.substr(pathStart);
  }
  url = url.substr(0, url.find_first_of("?#"));
  const size_t slash = url.rfind('/');
  const std::string_view segment = slash == std::string_view::npos ? url : url.substr(slash + 1);

  std::string name;
  for (size_t i = 0; i < segment.size(); ++i) {
    if (segment[i] == '%' && i + 2 < segment.size() && hexDigit(segment[i + 1]) >= 0 &&
        hexDigit(segment[i + 2]) >= 0) {
      name += static_cast<char>(hexDigit(segment[i + 1]) * 16 + hexDigit(segment[i + 2]));
      i += 2;
    } else {
      name += segment[i];
    }
  }
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7f) return std::nullopt;
  }
  // Windows drops trailing dots and blanks from a name, so "..." or ". ."
  // would name the folder itself or the one above.
  if (name.find_first_not_of(". ") == std::string::npos) return std::nullopt;
  return name;
}

}  // namespace tw::app
