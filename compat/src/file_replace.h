// Whole-file reads and crash-safe whole-file writes: the storage rule of both file-backed stores
// (profile files and the registry). A write never leaves a truncated file in place of a good one.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "unique_resource.h"

namespace compat {

// Reads the whole file into `contents`. Returns 0, or the errno value that stopped the read
// (ENOENT for a missing file).
int ReadWholeFile(const std::string& path, std::string* contents);

// Replaces the file at `path`, or creates it, with exactly `contents`. The bytes go to a new
// temporary file in the same folder, which is flushed to disk and then renamed over `path`: a
// reader, a crash or a full disk sees the old file whole or the new one whole, never a mixture.
// An existing file keeps its permission bits and, where allowed, its owner; a new file gets
// `newFileMode` less the umask. A symbolic link is followed and its target replaced.
// Returns 0 or the errno value of the step that failed; then `path` is untouched and no
// temporary file is left behind.
int ReplaceFileContents(const std::string& path, std::string_view contents, mode_t newFileMode);

// Creates `path` and any missing parent folders with `mode`. Returns 0 or an errno value.
int MakeFolders(const std::string& path, mode_t mode);

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);

// An exclusive advisory lock on a folder, held while the object lives, so that writers doing a
// read-modify-write of files in that folder take turns. A folder that cannot be locked is not an
// error: the write still goes through, only without the turn-taking.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);

 private:
  UniqueFd folder_;
};

}  // namespace compat
