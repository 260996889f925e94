#include "file_replace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace compat {
namespace {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (written == 0) {
      return EIO;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// The file a write to `path` lands in: the target of a symbolic link, else `path` itself.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
      return resolved;
    }
  }
  return path;
}

// Deletes the temporary file unless the write got as far as renaming it into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!kept_) {
      ::unlink(path_.c_str());
    }
  }
  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// Creates a new, empty file beside the target with a name no one else uses. A dot name keeps it
// out of folder listings and clear of registry key names; `mode` less the umask applies.
UniqueFd CreateTemporaryFile(const std::string& folder, const std::string& leaf, mode_t mode,
                             std::string* name, int* error) {
  static std::atomic<unsigned> sequence{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%lx.%x", static_cast<long>(::getpid()),
                  static_cast<unsigned long>(now.tv_nsec), sequence.fetch_add(1));
    *name = folder + "/." + leaf + suffix;
    UniqueFd fd(::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd) {
      return fd;
    }
    if (errno != EEXIST) {
      break;
    }
  }
  *error = errno;
  return UniqueFd();
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

int ReadWholeFile(const std::string& path, std::string* contents) {
  contents->clear();
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    return errno;
  }
  char chunk[65536];
  for (;;) {
    ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (got == 0) {
      return 0;
    }
    contents->append(chunk, static_cast<size_t>(got));
  }
}

int ReplaceFileContents(const std::string& path, std::string_view contents, mode_t newFileMode) {
  const std::string target = ResolveTarget(path);
  const std::string folder = FolderOf(target);
  const size_t slash = target.find_last_of('/');
  const std::string leaf = slash == std::string::npos ? target : target.substr(slash + 1);

  std::string temporaryName;
  int error = 0;
  UniqueFd fd = CreateTemporaryFile(folder, leaf, newFileMode, &temporaryName, &error);
  if (!fd) {
    return error;
  }
  TemporaryFile temporary(temporaryName);

  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
      return errno;
    }
    // Only a privileged writer can give the file back to its owner; others keep their own.
    if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
      errno = 0;
    }
  }

  if (int error = WriteAll(fd.get(), contents)) {
    return error;
  }
  if (::fsync(fd.get()) != 0) {
    return errno;
  }
  // Closed here rather than by the owner: a delayed write error can surface only at close.
  if (::close(fd.release()) != 0) {
    return errno;
  }
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
    return errno;
  }
  temporary.Keep();

  // Make the rename itself durable; the data is already safe either way.
  UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd) {
    ::fsync(folderFd.get());
  }
  return 0;
}

int MakeFolders(const std::string& path, mode_t mode) {
  if (path.empty()) {
    return ENOENT;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
  }
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (int error = MakeFolders(path.substr(0, slash), mode)) {
      return error;
    }
  }
  if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST) {
    return errno;
  }
  return 0;
}

FolderLock::FolderLock(const std::string& folder)
    : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (folder_) {
    while (::flock(folder_.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }
}

}  // namespace compat
