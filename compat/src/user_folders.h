// Where the stand-ins keep what Windows keeps in system places: the registry store and the
// Windows folder (home of profile files named without a folder). Both are per-user folders that
// an environment variable can move:
//
//   WIN32_COMPAT_REGISTRY_DIR  the registry store    default <data home>/win32-compat/registry
//   WIN32_COMPAT_WINDOWS_DIR   the Windows folder    default <data home>/win32-compat/windows
//
// <data home> is $XDG_DATA_HOME when set to an absolute path, else $HOME/.local/share (HOME from
// the password database when unset). The folders are read from the environment on every call.
#pragma once

#include <string>

namespace compat {

std::string RegistryFolder();
std::string WindowsFolder();

}  // namespace compat
