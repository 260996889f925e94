#include "native_path.h"

#include <cstring>

#include "user_folders.h"

namespace compat {

std::string NativePath(const char* path) {
  std::string native = path != nullptr ? path : "";
  for (char& c : native) {
    if (c == '\\') {
      c = '/';
    }
  }
  return native;
}

bool IsInWindowsFolder(const char* fileName) {
  return fileName == nullptr || std::strpbrk(fileName, "/\\") == nullptr;
}

std::string ProfileFilePath(const char* fileName) {
  if (IsInWindowsFolder(fileName)) {
    return WindowsFolder() + "/" + (fileName != nullptr ? fileName : "win.ini");
  }
  return NativePath(fileName);
}

}  // namespace compat
