#pragma once
// The language runtime's per-user settings store: GetSetting, SaveSetting,
// DeleteSetting and GetAllSettings.  Settings live in the hive under
//
//   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>
//
// one REG_SZ value per key.  Names and texts cross this interface as UTF-8
// and are stored as ANSI bytes in the machine's code page, as the runtime's
// ANSI registry calls store them.
//
// Failures raise the runtime's errors, as the statements do:
// - 5 (invalid procedure call or argument) for an empty application, section
//   or key name, for a name the store cannot hold, and for deleting an
//   application, section or key that does not exist;
// - 75 (path/file access error) when the hive itself cannot be read or
//   written, so that an unreadable store is never mistaken for an empty one.
// Nothing is changed when an error is raised.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/registry/registry.h"
#include "host/runtime/codepage.h"

namespace tw {

class SettingsStore {
 public:
  // The key below HKEY_CURRENT_USER that holds every application's settings.
  static constexpr std::string_view kRootKey = "Software\\VB and VBA Program Settings";

  SettingsStore(reg::Registry& registry, const CodePage& codePage);

  // The text of the setting, or `defaultValue` when the application, section
  // or key does not exist (or the value there is not text).
  std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = "") const;

  // Creates the application and section keys as needed.  A REG_SZ value ends
  // at its first NUL, so `value` is stored up to its first NUL.
  void saveSetting(std::string_view app, std::string_view section, std::string_view key, std::string_view value);

  // Application only: the application's whole key.  With a section: that
  // section and every key in it.  With both: one key.  A key without a
  // section is an invalid call.
  void deleteSetting(std::string_view app, std::optional<std::string_view> section = std::nullopt,
                     std::optional<std::string_view> key = std::nullopt);

  // Every key of the section with its text, in the order the keys were
  // created; empty when the application or section does not exist.
  std::vector<std::pair<std::string, std::string>> getAllSettings(std::string_view app,
                                                                  std::string_view section) const;

 private:
  reg::Registry& registry_;
  CodePage codePage_;
};

}  // namespace tw
