// Owns one operating-system resource (a file descriptor, an open folder) and releases it when it
// goes out of scope, so that no code path has to remember to close it.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace compat {

// Traits give the value that means "nothing held" and the function that releases a held value.
template <typename Resource, typename Traits>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Resource resource) : resource_(resource) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : resource_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  Resource get() const { return resource_; }
  explicit operator bool() const { return resource_ != Traits::Invalid(); }

  Resource release() { return std::exchange(resource_, Traits::Invalid()); }
  void reset(Resource resource = Traits::Invalid()) {
    Resource old = std::exchange(resource_, resource);
    if (old != Traits::Invalid()) {
      Traits::Release(old);
    }
  }

 private:
  Resource resource_ = Traits::Invalid();
};

struct FileDescriptorTraits {
  static constexpr int Invalid() { return -1; }
  static void Release(int fd) { ::close(fd); }
};
using UniqueFd = UniqueResource<int, FileDescriptorTraits>;

struct FolderStreamTraits {
  static constexpr DIR* Invalid() { return nullptr; }
  static void Release(DIR* folder) { ::closedir(folder); }
};
using UniqueFolderStream = UniqueResource<DIR*, FolderStreamTraits>;

}  // namespace compat
