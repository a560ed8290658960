// The Uninstaller's form and its load, where the command line is answered.

#include "uninstaller/uninst.h"

#include <array>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/registry/registry.h"
#include "host/runtime/codepage.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"
#include "uninstaller/names.h"

namespace tw::uninstaller {

namespace {

constexpr int kRestoreBoxStyle = MsgBoxStyle::OkCancel | MsgBoxStyle::Critical | 4096;  // system-modal: 4113
constexpr int kUninstallBoxStyle = MsgBoxStyle::OkCancel | MsgBoxStyle::Critical;      // 17
constexpr int kRefusalBoxStyle = MsgBoxStyle::OkOnly | MsgBoxStyle::Critical;          // 16

constexpr const char* kRestoreQuestion = "This will wipe out all Tunewell settings! Do you wish to continue?";
constexpr const char* kUninstallQuestion = "This will uninstall Tunewell! Do you wish to continue?";
constexpr const char* kRefusal =
    "Please uninstall through the Windows Add/Remove Programs, found in the Control Panel.";

// The restart prompt's operation: restart the computer.
constexpr int32_t EWX_REBOOT = 2;

}  // namespace

Uninst::Uninst(UninstContext context)
    : forms::Form("Uninst"),
      context_(std::move(context)),
      settings_(context_.host.registry(), context_.host.machine().codePage()) {
  Load.connect([this] { Form_Load(); });
  Unload.connect([this](bool&) { Form_Unload(); });
}

Uninst::~Uninst() = default;

Plinth& Uninst::plinth() {
  if (!plinth_) plinth_ = std::make_unique<Plinth>(host());
  return *plinth_;
}

FileSystem& Uninst::fso() {
  if (!fso_) fso_ = std::make_unique<FileSystem>(host().machine(), nullptr);
  return *fso_;
}

std::string Uninst::programFile(const std::string& name) const {
  return context_.host.machine().programFolder() + "\\" + name;
}

std::string Uninst::setting(const char* key, const char* absent) const {
  return settings_.getSetting(kAppName, kPrefsSection, key, absent);
}

void Uninst::End() {
  ended_ = true;
  plinth_.reset();
  fso_.reset();
}

void Uninst::Form_Load() {
  reportErrors(dialogs(), "Uninst.Form_Load", [&] {
    // Two Uninstallers must never interleave their writes on one machine, so
    // a second one ends before it asks or changes anything.
    if (context_.previousInstance) {
      End();
      return;
    }
    const std::string command = context_.commandLine;
    // The restores delete the settings key that holds it.
    savedUninstall_ = setting("Uninstall", kNoneSaved);

    if (command == "/Or") {
      if (dialogs().msgBox(kRestoreQuestion, kRestoreBoxStyle, "Tunewell Restore") != MsgBoxResult::Cancel) {
        RestoreWindowsDefaults();
        keepSavedUninstall();
        plinth().ExitWindowsMsgBox(EWX_REBOOT, 0, "");
      }
    } else if (command == "/Un") {
      if (dialogs().msgBox(kRestoreQuestion, kRestoreBoxStyle, "Tunewell Restore") != MsgBoxResult::Cancel) {
        RestoreSnapshot();
        keepSavedUninstall();
        plinth().ExitWindowsMsgBox(EWX_REBOOT, 0, "");
      }
    } else if (command == "/U") {
      if (dialogs().msgBox(kUninstallQuestion, kUninstallBoxStyle, "Tunewell Uninstall") != MsgBoxResult::Cancel) {
        RestoreWindowsDefaults();
        RemoveProgram();
        // The installer's command stayed until it had been run.
        skipErrors([&] { plinth().DeleteKey(HKEY_CURRENT_USER, kSettingsKey); });
      }
    } else {
      dialogs().msgBox(kRefusal, kRefusalBoxStyle, "Tunewell Pro Uninstall");
    }
  });
  unload();
}

void Uninst::keepSavedUninstall() {
  // The restores delete the tuner's settings, and with them the installer's
  // own uninstall command.  The tuner's next start cannot save it again (the
  // entry already names the Uninstaller), so without it a later "/U" could
  // never remove the program's files.  Nothing else is put back.
  if (savedUninstall_ == kNoneSaved) return;
  skipErrors([&] { settings_.saveSetting(kAppName, kPrefsSection, "Uninstall", savedUninstall_); });
}

// The tuner's settings go, but the installer's uninstall command is never
// absent from the hive, not even for a moment: a restore cut short (a kill,
// a power cut) between deleting the key and saving the command again would
// leave a program that "/U" can no longer remove.  The end is the same as
// deleting the whole key and saving the command again.
void Uninst::deleteSettings() {
  if (savedUninstall_ == kNoneSaved) {
    plinth().DeleteKey(HKEY_CURRENT_USER, kSettingsKey);
    return;
  }
  reg::Registry& registry = host().registry();
  std::vector<std::string> sections;
  reg::HKEY key = 0;
  if (registry.RegOpenKeyEx(reg::HKEY_CURRENT_USER, kSettingsKey, 0, reg::KEY_ALL_ACCESS, &key) == reg::ERROR_SUCCESS) {
    std::array<char, 256> name{};
    for (reg::DWORD i = 0;; ++i) {
      reg::DWORD length = static_cast<reg::DWORD>(name.size());
      if (registry.RegEnumKeyEx(key, i, name.data(), &length, nullptr, nullptr) != reg::ERROR_SUCCESS) break;
      // The store takes names as text; the registry gives them in ANSI.
      sections.push_back(host().machine().codePage().fromAnsi(std::string_view(name.data(), length)));
    }
    registry.RegCloseKey(key);
  }
  for (const std::string& section : sections)
    if (!ansiEqualNoCase(section, kPrefsSection)) settings_.deleteSetting(kAppName, section);
  for (const auto& [name, value] : settings_.getAllSettings(kAppName, kPrefsSection))
    if (!ansiEqualNoCase(name, "Uninstall")) settings_.deleteSetting(kAppName, kPrefsSection, name);
}

void Uninst::Form_Unload() {
  plinth_.reset();
  fso_.reset();
}

}  // namespace tw::uninstaller
