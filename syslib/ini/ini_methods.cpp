// The INI methods of Plinth: wrappers over the private-profile functions.
// What is particular to them is the shape of the strings they return, which
// the callers rely on (a 260-character buffer, NUL-separated name lists).

#include <algorithm>

#include "host/host.h"
#include "host/runtime/guard.h"
#include "syslib/plinth.h"
#include "syslib/registry/registry_support.h"

namespace tw {
namespace {

constexpr uint32_t kBufferSize = 260;

// An argument as the ANSI function sees it: cut at its first NUL, or a null
// pointer for the null string.
class AnsiArg {
 public:
  AnsiArg(const BStr& s, const CodePage& cp) : text_(cString(cp.toAnsi(s.str()))), null_(s.isNull()) {}
  const char* get() const { return null_ ? nullptr : text_.c_str(); }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
  bool null_;
};

}  // namespace

std::string Plinth::INIRead(const BStr& AppName, const BStr& KeyName, const BStr& Default, const BStr& INIFilePath) {
  return reportErrors(host_.dialogs(), "Plinth.INIRead", std::string(), [&] {
    const auto& cp = host_.machine().codePage();
    std::string buffer(kBufferSize, '\0');
    host_.profile().GetPrivateProfileString(AnsiArg(AppName, cp).get(), AnsiArg(KeyName, cp).get(),
                                            AnsiArg(Default, cp).get(), buffer.data(), kBufferSize,
                                            AnsiArg(INIFilePath, cp).str());
    return wide(buffer);  // all 260 characters, NUL padding included
  });
}

void Plinth::INIWrite(const BStr& AppName, const BStr& KeyName, const BStr& Value, const BStr& INIFilePath) {
  reportErrors(host_.dialogs(), "Plinth.INIWrite", [&] {
    const auto& cp = host_.machine().codePage();
    host_.profile().WritePrivateProfileString(AnsiArg(AppName, cp).get(), AnsiArg(KeyName, cp).get(),
                                              AnsiArg(Value, cp).get(), AnsiArg(INIFilePath, cp).str());
  });
}

void Plinth::INISectionWrite(const BStr& AppName, const BStr& KeyName, const BStr& INIFilePath) {
  reportErrors(host_.dialogs(), "Plinth.INISectionWrite", [&] {
    const auto& cp = host_.machine().codePage();
    // The contents are a NUL-separated list, so they are converted whole; two
    // NULs after them end the list even when the caller forgot the final one.
    std::string contents = cp.toAnsi(KeyName.str());
    contents.append(2, '\0');
    host_.profile().WritePrivateProfileSection(AnsiArg(AppName, cp).get(), KeyName.isNull() ? nullptr : contents.c_str(),
                                               AnsiArg(INIFilePath, cp).str());
  });
}

std::string Plinth::INISectionRead(const BStr& Returnedstring, const BStr& INIFilePath) {
  return reportErrors(host_.dialogs(), "Plinth.INISectionRead", std::string(), [&] {
    if (Returnedstring.isNull()) return std::string();
    const auto& cp = host_.machine().codePage();
    std::string buffer = cp.toAnsi(Returnedstring.str());
    // The profile function is told the buffer holds 260 characters; a caller's
    // buffer shorter than that is not written past its end.
    const auto size = static_cast<uint32_t>(std::min<size_t>(kBufferSize, buffer.size()));
    if (size > 0)
      host_.profile().GetPrivateProfileSectionNames(buffer.data(), size, AnsiArg(INIFilePath, cp).str());
    return wide(buffer);
  });
}

}  // namespace tw
