#include "user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace compat {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    return home;
  }
  std::vector<char> scratch(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  // No home at all (a stripped-down service account): keep the store out of the current folder.
  return "/tmp";
}

std::string DataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    return xdg;
  }
  return HomeFolder() + "/.local/share";
}

std::string FolderFromEnvironment(const char* variable, const char* defaultLeaf) {
  const char* chosen = std::getenv(variable);
  if (chosen != nullptr && chosen[0] != '\0') {
    return chosen;
  }
  return DataHome() + "/win32-compat/" + defaultLeaf;
}

}  // namespace

std::string RegistryFolder() {
  return FolderFromEnvironment("WIN32_COMPAT_REGISTRY_DIR", "registry");
}

std::string WindowsFolder() { return FolderFromEnvironment("WIN32_COMPAT_WINDOWS_DIR", "windows"); }

}  // namespace compat
