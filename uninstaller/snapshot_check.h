#pragma once
// What the Uninstaller demands of Settings.1st beyond its form: every text
// it restores must be one the registry and the INI files hold and give back
// unchanged.

#include <array>
#include <string>

#include "app/settings/snapshot.h"

namespace tw::uninstaller {

// Throws SnapshotError (naming the item's line) for the first text item that
// holds a control character (a NUL, a line break, ...) or a byte that is not
// a character of the ANSI code page.  `items` are the reader's UTF-8 texts,
// one item per line.
void checkRestorable(const std::array<std::string, app::snapshot::kItems>& items);

// The message for a snapshot that cannot be restored: the file's Windows
// path, the line, what is wrong, and that nothing was restored.
std::string unreadableSnapshotText(const std::string& file, const app::snapshot::SnapshotError& e);

}  // namespace tw::uninstaller
