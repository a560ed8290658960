#pragma once
// REGEDIT4 files, the text form that the registry editor of Windows 9x reads
// and writes: import into a hive and export a tree of it.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\FileSystem]
//   "NameCache"=hex:00,08,00,00
//   "Name"="text with \"quotes\" and \\ backslashes"
//   "Count"=dword:00000010
//   @="default value"
//   "Other"=hex(7):41,00,00
//   [-HKEY_LOCAL_MACHINE\Key\To\Delete]
//   "Value"=-
//
// Files are ANSI bytes with CR LF line ends; lines may continue with a
// trailing backslash in hex data.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/registry/registry.h"

namespace tw::reg {

class RegFileError : public std::runtime_error {
 public:
  RegFileError(std::string file, int line, const std::string& message);
  const std::string& file() const { return file_; }
  int line() const { return line_; }  // 1-based; 0 when not about one line

 private:
  std::string file_;
  int line_;
};

// Reads the whole file first; any error throws RegFileError with the line
// number and leaves the hive untouched.  Otherwise every change is applied in
// one transaction.
void importRegFile(Registry& registry, const std::filesystem::path& file);
void importRegText(Registry& registry, std::string_view text, const std::string& sourceName = "<text>");

// Writes the tree below `keyPath` ("HKEY_LOCAL_MACHINE\\Software" or a bare
// root name; "" exports every stored root) to `file`, replacing it atomically.
void exportRegFile(Registry& registry, std::string_view keyPath, const std::filesystem::path& file);
std::string exportRegText(Registry& registry, std::string_view keyPath);

}  // namespace tw::reg
