// Files behind kernel handles: a descriptor per handle, opened the way CreateFileA's access and
// disposition ask.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <cerrno>
#include <mutex>

#include "file_replace.h"
#include "kernel_objects.h"
#include "native_path.h"
#include "system_error_code.h"

namespace compat {
namespace {

class FileObject : public KernelObject {
 public:
  FileObject(UniqueFd fd, bool canRead, bool canWrite)
      : fd_(std::move(fd)), canRead_(canRead), canWrite_(canWrite) {}

  int fd() const { return fd_.get(); }
  bool canRead() const { return canRead_; }
  bool canWrite() const { return canWrite_; }

 private:
  UniqueFd fd_;
  bool canRead_;
  bool canWrite_;
};

// The test control of files.h: how many bytes writes may still put out before the disk is "full".
struct WriteBudget {
  std::mutex lock;
  bool limited = false;
  std::size_t bytes = 0;

  // How many of `count` bytes may be written now.
  std::size_t Take(std::size_t count) {
    std::lock_guard<std::mutex> guard(lock);
    if (!limited) {
      return count;
    }
    std::size_t allowed = count < bytes ? count : bytes;
    bytes -= allowed;
    return allowed;
  }
};

WriteBudget& Budget() {
  static WriteBudget budget;
  return budget;
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// The Win32 error for a failed open or rename of `path`: a missing file in a missing folder is a
// missing path, as on Windows.
DWORD PathError(int error, const std::string& path) {
  if (error == ENOENT && !Exists(FolderOf(path))) {
    return ERROR_PATH_NOT_FOUND;
  }
  return Win32ErrorFromErrno(error);
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

std::shared_ptr<FileObject> FindFile(HANDLE handle) {
  return FindKernelObjectOf<FileObject>(handle);
}

}  // namespace

void FailWritesAfter(std::size_t bytes) {
  WriteBudget& budget = Budget();
  std::lock_guard<std::mutex> guard(budget.lock);
  budget.limited = true;
  budget.bytes = bytes;
}

void ClearWriteFailure() {
  WriteBudget& budget = Budget();
  std::lock_guard<std::mutex> guard(budget.lock);
  budget.limited = false;
}

}  // namespace compat

using compat::Fail;
using compat::FindFile;

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD /*shareMode*/, LPSECURITY_ATTRIBUTES,
                   DWORD disposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
  if (path == nullptr || *path == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const bool canRead = (access & GENERIC_READ) != 0;
  const bool canWrite = (access & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC | (canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY);
  int createFlags = 0;  // the flags that create the file when it does not exist yet
  switch (disposition) {
    case CREATE_NEW:
      createFlags = O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      createFlags = O_CREAT | O_EXCL;
      break;
    case OPEN_EXISTING:
      break;
    case TRUNCATE_EXISTING:
      if (!canWrite) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
      }
      flags |= O_TRUNC;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }

  const std::string native = compat::NativePath(path);
  DWORD lastError = ERROR_SUCCESS;
  int fd = -1;
  if (createFlags != 0) {
    fd = ::open(native.c_str(), flags | createFlags, 0666);
    if (fd < 0 && errno == EEXIST && disposition != CREATE_NEW) {
      // It exists: open it as it is, emptied for CREATE_ALWAYS, and say so.
      fd = ::open(native.c_str(), flags | (disposition == CREATE_ALWAYS ? O_TRUNC : 0));
      lastError = ERROR_ALREADY_EXISTS;
    }
  } else {
    fd = ::open(native.c_str(), flags);
  }
  if (fd < 0) {
    int error = errno;
    SetLastError(error == EEXIST ? ERROR_FILE_EXISTS : compat::PathError(error, native));
    return INVALID_HANDLE_VALUE;
  }
  compat::UniqueFd owned(fd);
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = compat::AddKernelObject(
      std::make_shared<compat::FileObject>(std::move(owned), canRead, canWrite));
  SetLastError(lastError);
  return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped) {
  if (read != nullptr) {
    *read = 0;
  }
  auto object = FindFile(file);
  if (object == nullptr) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (overlapped != nullptr || (buffer == nullptr && count != 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!object->canRead()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  DWORD done = 0;
  while (done < count) {
    ssize_t got = ::read(object->fd(), static_cast<char*>(buffer) + done, count - done);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail(compat::Win32ErrorFromErrno(errno));
    }
    if (got == 0) {
      break;
    }
    done += static_cast<DWORD>(got);
    if (read != nullptr) {
      *read = done;
    }
  }
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
  if (written != nullptr) {
    *written = 0;
  }
  auto object = FindFile(file);
  if (object == nullptr) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (overlapped != nullptr || (buffer == nullptr && count != 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (!object->canWrite()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  const DWORD allowed = static_cast<DWORD>(compat::Budget().Take(count));
  DWORD done = 0;
  while (done < allowed) {
    ssize_t put = ::write(object->fd(), static_cast<const char*>(buffer) + done, allowed - done);
    if (put < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail(compat::Win32ErrorFromErrno(errno));
    }
    done += static_cast<DWORD>(put);
    if (written != nullptr) {
      *written = done;
    }
  }
  return allowed == count ? TRUE : Fail(ERROR_DISK_FULL);
}

BOOL FlushFileBuffers(HANDLE file) {
  auto object = FindFile(file);
  if (object == nullptr) {
    return Fail(ERROR_INVALID_HANDLE);
  }
  if (!object->canWrite()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  return ::fsync(object->fd()) == 0 ? TRUE : Fail(compat::Win32ErrorFromErrno(errno));
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  auto object = FindFile(file);
  struct stat info;
  if (object == nullptr || ::fstat(object->fd(), &info) != 0) {
    SetLastError(object == nullptr ? ERROR_INVALID_HANDLE : compat::Win32ErrorFromErrno(errno));
    return INVALID_FILE_SIZE;
  }
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  if (sizeHigh != nullptr) {
    *sizeHigh = static_cast<DWORD>(size >> 32);
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

BOOL DeleteFileA(LPCSTR path) {
  if (path == nullptr || *path == '\0') {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string native = compat::NativePath(path);
  return ::unlink(native.c_str()) == 0 ? TRUE : Fail(compat::PathError(errno, native));
}

BOOL MoveFileExA(LPCSTR existingPath, LPCSTR newPath, DWORD flags) {
  if (existingPath == nullptr || *existingPath == '\0' || newPath == nullptr || *newPath == '\0') {
    return Fail(ERROR_PATH_NOT_FOUND);
  }
  const std::string from = compat::NativePath(existingPath);
  const std::string to = compat::NativePath(newPath);
  const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  int result = replace
                   ? ::rename(from.c_str(), to.c_str())
                   : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (result != 0) {
    int error = errno;
    if (error == EEXIST) {
      return Fail(ERROR_ALREADY_EXISTS);
    }
    if (error == EXDEV) {
      return Fail(ERROR_NOT_SAME_DEVICE);
    }
    return Fail(compat::PathError(error, compat::Exists(from) ? to : from));
  }
  if ((flags & MOVEFILE_WRITE_THROUGH) != 0) {
    compat::UniqueFd folder(
        ::open(compat::FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) {
      ::fsync(folder.get());
    }
  }
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  return compat::RemoveKernelObject(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}
