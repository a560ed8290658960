#pragma once
// The Windows 9x installation being tuned: a folder that is its C: drive, and
// the facts the platform reports about it (folders, version, computer name,
// code page).  The facts live in the machine's hidden folder, beside its hive:
//
//   <root>/                 the C: drive
//   <root>/.tunewell/machine.ini
//   <root>/.tunewell/hive.db
//
// A machine folder that does not exist yet is made from the template kept
// with the programs, so the first run finds a fresh Windows 98 SE with
// Tunewell installed.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/runtime/codepage.h"

namespace tw {

struct WindowsVersion {
  uint32_t major = 4;
  uint32_t minor = 10;
  uint32_t build = 2222;
  uint32_t platform = 1;     // 1: Windows 95/98/ME, 2: Windows NT
  std::string servicePack;   // the 128-character text of the version record, " A " on 98 SE
};

class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Machine {
 public:
  // Opens the machine in `root`, making it from the template first when the
  // folder does not exist.  Throws MachineError when the folder exists but is
  // not a usable machine.
  static Machine open(const std::filesystem::path& root);

  // Makes (or, with replace, remakes) the machine in `root` from the template.
  // The new machine appears whole or not at all.
  static void createFromTemplate(const std::filesystem::path& root, bool replace);

  // The command that makes the machine in `root` anew from the template, as
  // the way out of a machine that cannot be used.
  static std::string resetCommand(const std::filesystem::path& root);

  // $XDG_DATA_HOME/tunewell/machine, else ~/.local/share/tunewell/machine.
  static std::filesystem::path defaultRoot();
  // $TUNEWELL_TEMPLATE, else the template folder the build was configured with.
  static std::filesystem::path templateDir();
  // The machine folder a program uses: "--machine DIR" (or "--machine=DIR"),
  // taken off `args`, else $TUNEWELL_MACHINE, else defaultRoot().
  static std::filesystem::path chooseRoot(std::vector<std::string>& args);

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path metaDir() const { return root_ / ".tunewell"; }
  std::filesystem::path hiveFile() const { return metaDir() / "hive.db"; }

  // Windows paths as the platform reports them ("C:\\WINDOWS").
  const std::string& windowsFolder() const { return windowsFolder_; }
  const std::string& systemFolder() const { return systemFolder_; }
  const std::string& programFolder() const { return programFolder_; }
  const WindowsVersion& version() const { return version_; }
  const std::string& computerName() const { return computerName_; }
  const CodePage& codePage() const { return codePage_; }
  // The file system Windows reports for the C: drive ("FAT32" or "FAT")
  // when the drive's folder lies on a host file system Windows 9x cannot
  // have: the description's FileSystem, else "FAT32".
  const std::string& describedFileSystem() const { return fileSystem_; }

  // The host path of a Windows path (ANSI bytes).  Each existing component is
  // matched without regard to case, as Windows does; missing components are
  // kept as written, without the trailing dots and blanks that Windows drops
  // from a name.  A path without a drive or leading backslash is taken
  // relative to the Windows folder.  ".." never leaves the drive.  Drives
  // other than C: do not exist; their paths lie in a folder that is never made.
  //
  // The drive has walls: the hidden folder is not part of it, and neither is
  // anything a symbolic link leads to outside the machine.  A path through a
  // wall gives a host path in a folder that is never made, so that it reads
  // as a file that does not exist and cannot be written.
  std::filesystem::path toHost(std::string_view windowsPath) const;

  // Whether a host path below the root lies inside the walls: not in the
  // hidden folder (in any case), and, where a symbolic link is on the way,
  // really inside the machine.  For code that finds files by its own route.
  bool withinWalls(const std::string& hostPath) const;

  // The Windows path of a host path inside the machine ("C:\\WINDOWS\\X").
  std::string toWindows(const std::filesystem::path& hostPath) const;

 private:
  explicit Machine(std::filesystem::path root);
  void readDescription();
  std::string resolveNames(std::string_view windowsPath, bool& onDriveC) const;
  bool reallyWithinWalls(const std::string& hostPath) const;

  std::filesystem::path root_;
  std::string realRoot_;  // the root with every symbolic link on its way resolved
  std::string windowsFolder_ = "C:\\WINDOWS";
  std::string systemFolder_ = "C:\\WINDOWS\\SYSTEM";
  std::string programFolder_ = "C:\\Program Files\\Tunewell";
  WindowsVersion version_;
  std::string computerName_ = "TUNEWELL98";
  std::string fileSystem_ = "FAT32";
  CodePage codePage_{1252};
};

}  // namespace tw
