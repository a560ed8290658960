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

#include "host/files/read_file.h"

namespace tw {

// Replaces `file` with `bytes` atomically.  Throws std::system_error.  The
// temporary (".NAME.tmpNNN" beside the file) is locked by its writer for as
// long as it exists, so that a leftover of a killed write can be told from
// one that is being written.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Removes the temporaries in `folder` that were left by writes killed before
// they finished, and no others.  Call it only under the folder's
// FileUpdateLock; updateFileAtomically does so before each write.
void removeLeftoverTemporaries(const std::filesystem::path& folder);

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
  // The locked folder, open for reading.
  int folder() const { return fd_; }

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
