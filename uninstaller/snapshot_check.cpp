#include "uninstaller/snapshot_check.h"

#include "app/settings/catalogue.h"

namespace tw::uninstaller {

namespace {

// The reader gives UTF-8.  Control characters are below 0x20 and 0x7F; the
// code page's unassigned bytes come out as C1 controls (U+0080..U+009F,
// "\xC2\x80".."\xC2\x9F"), which no ANSI text holds.
bool restorableText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c == 0xC2 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9F) return false;
    }
  }
  return true;
}

}  // namespace

void checkRestorable(const std::array<std::string, app::snapshot::kItems>& items) {
  for (const auto& s : app::catalogue::settings()) {
    if (s.width != app::catalogue::Width::String) continue;
    const std::string& text = items[static_cast<size_t>(s.item)];
    if (!restorableText(text))
      throw app::snapshot::SnapshotError("", s.item + 1,
                                         "item " + std::to_string(s.item) + " (" + std::string(s.field) +
                                             ") holds a character that is not ANSI text");
  }
}

std::string unreadableSnapshotText(const std::string& file, const app::snapshot::SnapshotError& e) {
  return file + ", line " + std::to_string(e.line()) + ": " + e.problem() + ". Nothing was restored.";
}

}  // namespace tw::uninstaller
