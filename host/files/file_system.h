#pragma once
// The scripting runtime's file-system object, on the machine being tuned:
// paths are Windows paths (ANSI, the machine's code page) on its C: drive.
// Failures raise the runtime errors the scripting object raises (53 File not
// found, 70 Permission denied, 68 Device unavailable, 5 Invalid procedure
// call), for the caller's error handler to report.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class Machine;
namespace sys {
class DiskMeter;
}

// A drive object: its figures are read again each time they are asked for,
// so one object kept for a program's life stays current.
class Drive {
 public:
  std::string Path() const { return letter_ + ":"; }     // "C:"
  // What Windows reports for the drive: "FAT32" or "FAT" for a FAT volume;
  // for a drive kept on any other host file system, which Windows 9x could
  // not start from, the file system the machine's description gives.
  std::string FileSystem() const;
  double TotalSize() const;                               // bytes
  double FreeSpace() const;                               // bytes

 private:
  friend class FileSystem;
  Drive(std::string letter, std::filesystem::path hostRoot, sys::DiskMeter* disks, std::string describedFileSystem)
      : letter_(std::move(letter)),
        hostRoot_(std::move(hostRoot)),
        disks_(disks),
        describedFileSystem_(std::move(describedFileSystem)) {}
  sys::DiskMeter& meter() const;

  std::string letter_;
  std::filesystem::path hostRoot_;
  sys::DiskMeter* disks_;
  std::string describedFileSystem_;
};

class FileSystem {
 public:
  // `disks` gives the drive figures; null means they cannot be had (every
  // drive property then raises Device unavailable).  Both must outlive this
  // object and every Drive it hands out.
  FileSystem(const Machine& machine, sys::DiskMeter* disks);

  // True for an existing file; a folder is not a file.
  bool FileExists(std::string_view path) const;
  // Deletes one file (the name is taken literally).  A read-only file is
  // deleted only with `force`.
  void DeleteFile(std::string_view path, bool force = false) const;
  // GetSpecialFolder(n).Path: 0 the Windows folder, 1 the System folder,
  // 2 the temporary folder.
  std::string GetSpecialFolder(int32_t which) const;
  // GetFile(path).Size in bytes.
  double FileSize(std::string_view path) const;
  // GetDrive: "C", "C:" or a path that starts with the drive ("C:\WINDOWS").
  // The machine has only its C: drive.
  Drive GetDrive(std::string_view driveSpec) const;
  // GetDriveName: the drive part of a path ("C:"), "" when it has none.
  static std::string GetDriveName(std::string_view path);

 private:
  // The host path of an existing file or folder, nullopt when there is none.
  std::optional<std::filesystem::path> existing(std::string_view path) const;
  // The same for the components of an absolute path on C:, through the folder cache.
  std::optional<std::filesystem::path> cached(const std::vector<std::string_view>& parts) const;

  const Machine& machine_;
  sys::DiskMeter* disks_;
};

}  // namespace tw
