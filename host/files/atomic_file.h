#pragma once
// Whole-file replacement that a crash cannot tear: the new contents go to a
// temporary file in the same folder, are flushed to disk, and replace the old
// file by rename.  Writers of one file take an exclusive lock on it first so
// that two programs updating the same file never lose each other's change.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// Reads a whole file as bytes; nullopt when it does not exist.  Throws
// std::system_error for other failures.
std::optional<std::string> readFileBytes(const std::filesystem::path& file);

// Replaces `file` with `bytes` atomically.  Throws std::system_error.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Holds an exclusive lock for updating one file.  The lock is taken on the
// file's folder, because the file itself is replaced by rename while the lock
// is held and may not exist yet; this leaves no lock files behind.  Readers
// need no lock: they see the old file or the new one, never a mix.
class FileUpdateLock {
 public:
  explicit FileUpdateLock(const std::filesystem::path& file);
  ~FileUpdateLock();
  FileUpdateLock(const FileUpdateLock&) = delete;
  FileUpdateLock& operator=(const FileUpdateLock&) = delete;

 private:
  int fd_ = -1;
};

// Read-modify-write under the lock: `update` gets the current contents
// (nullopt when the file does not exist) and returns the new contents, or
// nullopt to leave the file as it is.  Returns whether the file was written.
// `update` may be called twice (once before the lock is taken), so it must
// depend on the contents it is given and nothing else.
bool updateFileAtomically(const std::filesystem::path& file,
                          const std::function<std::optional<std::string>(const std::optional<std::string>&)>& update);

}  // namespace tw
