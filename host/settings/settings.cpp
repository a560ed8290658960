#include "host/settings/settings.h"

#include <algorithm>
#include <cstdint>

#include "host/runtime/errors.h"

namespace tw {

namespace {

using reg::DWORD;
using reg::HKEY;
using reg::LONG;

// A key opened for one call of the store and closed again on every way out of
// it, the error paths included.
class OpenKey {
 public:
  explicit OpenKey(reg::Registry& registry) : registry_(registry) {}
  ~OpenKey() {
    if (open_) registry_.RegCloseKey(handle_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  LONG open(std::string_view path, DWORD access) {
    const LONG rc = registry_.RegOpenKeyEx(reg::HKEY_CURRENT_USER, path, 0, access, &handle_);
    open_ = rc == reg::ERROR_SUCCESS;
    return rc;
  }

  LONG create(std::string_view path) {
    DWORD disposition = 0;
    const LONG rc = registry_.RegCreateKeyEx(reg::HKEY_CURRENT_USER, path, 0, "", 0, reg::KEY_ALL_ACCESS,
                                             &handle_, &disposition);
    open_ = rc == reg::ERROR_SUCCESS;
    return rc;
  }

  HKEY get() const { return handle_; }

 private:
  reg::Registry& registry_;
  HKEY handle_ = 0;
  bool open_ = false;
};

// A key that vanished under us (another program deleted it between two calls)
// is as missing as one that was never there.
bool isMissing(LONG rc) { return rc == reg::ERROR_FILE_NOT_FOUND || rc == reg::ERROR_KEY_DELETED; }

bool isText(DWORD type) { return type == reg::REG_SZ || type == reg::REG_EXPAND_SZ; }

// Missing things and names the hive refuses are the caller's fault (error 5,
// which is what the runtime raises); anything else means the hive could not be
// used, and saying so keeps an unreadable store from passing for an empty one.
[[noreturn]] void raiseFor(LONG rc) {
  if (isMissing(rc) || rc == reg::ERROR_INVALID_PARAMETER || rc == reg::ERROR_BADKEY)
    raise(ErrNo::InvalidProcedureCall);
  raise(ErrNo::PathFileAccessError);
}

// REG_SZ data ends at its first NUL.
std::string textOf(const uint8_t* data, DWORD size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

// The text of one value: nullopt when the value does not exist or is not text.
std::optional<std::string> readText(reg::Registry& registry, HKEY key, const std::string& name) {
  // The value may grow between asking its size and reading it, when another
  // program writes it at that moment; asking again settles it.
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = registry.RegQueryValueEx(key, name.c_str(), &type, nullptr, &size);
    if (isMissing(rc)) return std::nullopt;
    if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
    if (!isText(type)) return std::nullopt;

    std::vector<uint8_t> buffer(static_cast<size_t>(size) + 1);
    DWORD got = size;
    rc = registry.RegQueryValueEx(key, name.c_str(), &type, buffer.data(), &got);
    if (rc == reg::ERROR_MORE_DATA) continue;
    if (isMissing(rc)) return std::nullopt;
    if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
    if (!isText(type)) return std::nullopt;
    return textOf(buffer.data(), std::min(got, size));
  }
  raise(ErrNo::PathFileAccessError);
}

// One component of a key path in ANSI.  A backslash would make the name a path
// to some other key, and a NUL would cut it short, so both are refused rather
// than letting a section name reach a key that was not asked for.
std::string keyComponent(const CodePage& codePage, std::string_view utf8) {
  std::string ansi = codePage.toAnsi(utf8);
  if (ansi.empty() || ansi.find('\\') != std::string::npos || ansi.find('\0') != std::string::npos)
    raise(ErrNo::InvalidProcedureCall);
  return ansi;
}

// A value name.  Backslashes are legal in value names; an empty name would be
// the section key's default value, which is not a setting.
std::string valueName(const CodePage& codePage, std::string_view utf8) {
  std::string ansi = codePage.toAnsi(utf8);
  if (ansi.empty() || ansi.find('\0') != std::string::npos) raise(ErrNo::InvalidProcedureCall);
  return ansi;
}

std::string appPath(const CodePage& codePage, std::string_view app) {
  std::string path(SettingsStore::kRootKey);
  path += '\\';
  path += keyComponent(codePage, app);
  return path;
}

std::string sectionPath(const CodePage& codePage, std::string_view app, std::string_view section) {
  std::string path = appPath(codePage, app);
  path += '\\';
  path += keyComponent(codePage, section);
  return path;
}

}  // namespace

SettingsStore::SettingsStore(reg::Registry& registry, const CodePage& codePage)
    : registry_(registry), codePage_(codePage) {}

std::string SettingsStore::getSetting(std::string_view app, std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
  const std::string path = sectionPath(codePage_, app, section);
  const std::string name = valueName(codePage_, key);

  OpenKey sectionKey(registry_);
  const LONG rc = sectionKey.open(path, reg::KEY_QUERY_VALUE);
  if (isMissing(rc)) return std::string(defaultValue);
  if (rc != reg::ERROR_SUCCESS) raiseFor(rc);

  const std::optional<std::string> text = readText(registry_, sectionKey.get(), name);
  return text ? codePage_.fromAnsi(*text) : std::string(defaultValue);
}

void SettingsStore::saveSetting(std::string_view app, std::string_view section, std::string_view key,
                                std::string_view value) {
  const std::string path = sectionPath(codePage_, app, section);
  const std::string name = valueName(codePage_, key);
  std::string data = codePage_.toAnsi(value);
  data.resize(std::min(data.find('\0'), data.size()));
  data.push_back('\0');

  // Creating the keys and writing the value is one change: a failed write
  // leaves no empty application or section key behind.
  LONG failure = reg::ERROR_SUCCESS;
  const bool saved = registry_.transaction([&] {
    OpenKey sectionKey(registry_);
    failure = sectionKey.create(path);
    if (failure != reg::ERROR_SUCCESS) return false;
    failure = registry_.RegSetValueEx(sectionKey.get(), name.c_str(), 0, reg::REG_SZ,
                                      reinterpret_cast<const uint8_t*>(data.data()),
                                      static_cast<DWORD>(data.size()));
    return failure == reg::ERROR_SUCCESS;
  });
  if (!saved) raiseFor(failure != reg::ERROR_SUCCESS ? failure : reg::ERROR_REGISTRY_IO_FAILED);
}

void SettingsStore::deleteSetting(std::string_view app, std::optional<std::string_view> section,
                                  std::optional<std::string_view> key) {
  if (key && !section) raise(ErrNo::InvalidProcedureCall);
  const std::string path = section ? sectionPath(codePage_, app, *section) : appPath(codePage_, app);

  if (!key) {
    const LONG rc = registry_.RegDeleteKey(reg::HKEY_CURRENT_USER, path);
    if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
    return;
  }

  const std::string name = valueName(codePage_, *key);
  OpenKey sectionKey(registry_);
  LONG rc = sectionKey.open(path, reg::KEY_WRITE | reg::KEY_QUERY_VALUE);
  if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
  rc = registry_.RegDeleteValue(sectionKey.get(), name.c_str());
  if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
}

std::vector<std::pair<std::string, std::string>> SettingsStore::getAllSettings(std::string_view app,
                                                                               std::string_view section) const {
  const std::string path = sectionPath(codePage_, app, section);
  std::vector<std::pair<std::string, std::string>> settings;

  OpenKey sectionKey(registry_);
  LONG rc = sectionKey.open(path, reg::KEY_READ);
  if (isMissing(rc)) return settings;
  if (rc != reg::ERROR_SUCCESS) raiseFor(rc);

  // Value names hold at most 255 characters on Windows 9x and settings are
  // short, so these sizes nearly always do; they grow when a value is larger.
  constexpr size_t kLargest = size_t{1} << 26;
  std::vector<char> name(256);
  std::vector<uint8_t> data(1024);
  DWORD index = 0;
  for (;;) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    DWORD dataLen = static_cast<DWORD>(data.size());
    DWORD type = 0;
    rc = registry_.RegEnumValue(sectionKey.get(), index, name.data(), &nameLen, &type, data.data(), &dataLen);
    if (rc == reg::ERROR_NO_MORE_ITEMS) break;
    if (rc == reg::ERROR_MORE_DATA) {
      if (name.size() >= kLargest && data.size() >= kLargest) raise(ErrNo::PathFileAccessError);
      name.resize(std::min(name.size() * 2, kLargest));
      data.resize(std::min(std::max<size_t>(data.size() * 2, dataLen), kLargest));
      continue;
    }
    if (isMissing(rc)) return {};
    if (rc != reg::ERROR_SUCCESS) raiseFor(rc);
    ++index;
    if (!isText(type) || nameLen == 0) continue;
    settings.emplace_back(codePage_.fromAnsi(std::string_view(name.data(), nameLen)),
                          codePage_.fromAnsi(textOf(data.data(), std::min(dataLen, static_cast<DWORD>(data.size())))));
  }
  return settings;
}

}  // namespace tw
