#include "config_path.h"

#include <windows.h>

const char kConfigFolderSuffix[] = "\\Quenby\\QVX7\\";

namespace {

constexpr DWORD kBaseBufferSize = 260;

bool IsAbsolute(const char* path) { return path[0] != '\0' && path[1] == ':'; }

// APPDATA followed by the suffix, or empty when that does not fit the buffer or APPDATA is unset.
std::string BaseFolder() {
  char value[kBaseBufferSize];
  const DWORD length = GetEnvironmentVariableA("APPDATA", value, kBaseBufferSize);
  // 0: unset or empty; not below the size: the value did not fit (the answer is the size needed).
  if (length == 0 || length >= kBaseBufferSize) {
    return std::string();
  }
  if (length + sizeof kConfigFolderSuffix > kBaseBufferSize) {
    return std::string();
  }
  return std::string(value, length) + kConfigFolderSuffix;
}

}  // namespace

std::string ResolveConfigPath(const char* path) {
  if (path == nullptr) {
    path = "";
  }
  if (IsAbsolute(path)) {
    return path;
  }
  const std::string base = BaseFolder();
  if (base.empty()) {
    return std::string();
  }
  return base + path;
}
